#include "SystemPath.h"

#include "Cp1250.h"

TSystemPath TSystemPath::fromText(std::string_view cp1250Text) { return TSystemPath(cp1250ToUtf8(cp1250Text)); }

std::string TSystemPath::text() const { return cp1250FromUtf8(bytes_); }

TSystemPath TSystemPath::folder() const {
  const auto slash = bytes_.find_last_of('/');
  if (slash == std::string::npos) return {};
  return TSystemPath(slash == 0 ? std::string("/") : bytes_.substr(0, slash));
}

std::string TSystemPath::name() const {
  const auto slash = bytes_.find_last_of('/');
  return slash == std::string::npos ? bytes_ : bytes_.substr(slash + 1);
}

TSystemPath TSystemPath::operator/(std::string_view name) const {
  if (bytes_.empty()) return TSystemPath(std::string(name));
  return TSystemPath(bytes_ + (bytes_.back() == '/' ? "" : "/") + std::string(name));
}
