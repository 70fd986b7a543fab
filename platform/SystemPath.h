#pragma once
// A path as the operating system names a file: the bytes that the file
// dialog or the command line gave (UTF-8 here). It is a type of its own so
// that it cannot be taken for the program's Windows-1250 text, nor that
// text for a path: the two meet only through the named conversions below.
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

class TSystemPath {
 public:
  TSystemPath() = default;
  // The system's own bytes, as given.
  explicit TSystemPath(std::string bytes) : bytes_(std::move(bytes)) {}
  // A path the program built from its own Windows-1250 folder texts (the
  // data and program folders).
  static TSystemPath fromText(std::string_view cp1250Text);

  const std::string& bytes() const { return bytes_; }
  const char* c_str() const { return bytes_.c_str(); }
  bool empty() const { return bytes_.empty(); }
  // Windows-1250 text for a message or a shown name; a letter the code page
  // lacks shows as "?". Never open a file under it.
  std::string text() const;
  // The folder the path lies in ("/" for a file at the root, empty for a
  // bare name), and the last part of the path.
  TSystemPath folder() const;
  std::string name() const;
  // folder / name
  TSystemPath operator/(std::string_view name) const;

  friend bool operator==(const TSystemPath&, const TSystemPath&) = default;
  friend std::ostream& operator<<(std::ostream& out, const TSystemPath& path) { return out << path.bytes_; }

 private:
  std::string bytes_;
};
