#include "SqlText.h"

namespace {
std::string doubled(std::string_view text, char quote) {
  std::string out;
  out.reserve(text.size() + 2);
  for (char c : text) {
    out += c;
    if (c == quote) out += quote;
  }
  return out;
}
}  // namespace

std::string sqlQuoted(std::string_view text) { return doubled(text, '\''); }
std::string sqlName(std::string_view name) { return doubled(name, '`'); }
std::string sqlTable(std::string_view name) { return "`" + sqlName(name) + "`"; }
