#pragma once
// Reading a layout source ("<table>.csv"): one row per printed object,
//   name; x1; x2; y1; y2; font; size; align; bold; italic; underline; strikeout
// in page units, UTF-8 text kept as Windows-1250. A layout that differs little
// from another starts with "@base <other>.csv" and then names only what
// differs: "@remove NAME" leaves a row out, a row of a name the base has
// replaces that row in its place, a row of a new name is added at the end.
// A fault throws std::runtime_error naming the file and line (a missing base
// at the "@base" line that names it).
#include <filesystem>
#include <string>
#include <vector>

struct TLayoutRow {
  std::string name;  // Windows-1250
  int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  std::string font;  // Windows-1250
  int size = 0, align = 0, bold = 0, italic = 0, underline = 0, strike = 0;
  std::string where;  // "path:line" of the row, for messages
};

// namedAt: "path:line" of the statement that names the layout; a file that
// is not there is told there ("no layout file <name> in <folder>"), not at a
// line of a file that does not exist.
std::vector<TLayoutRow> readLayout(const std::filesystem::path& source, const std::string& namedAt = {});

// Helpers shared by the generators.
// A fault in a source: "path:line: error: what", the form editors and
// build logs jump to.
[[noreturn]] void sourceFault(const std::string& where, const std::string& what);
std::string trimmed(const std::string& text);
int wholeNumber(const std::string& text, const std::string& where);
