#include "LayoutSource.h"

#include "platform/Cp1250.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void sourceFault(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": error: " + what);
}

int wholeNumber(const std::string& text, const std::string& where) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) sourceFault(where, "not a whole number: \"" + text + "\"");
  return value;
}

namespace {

std::vector<TLayoutRow> readLayoutFrom(const std::filesystem::path& source, const std::string& namedAt, int depth) {
  if (depth > 8) sourceFault(source.string() + ":1", "\"@base\" goes round in a circle");
  std::error_code error;
  if (!namedAt.empty() && !std::filesystem::exists(source, error) && !error)
    sourceFault(namedAt, "no layout file " + source.filename().string() + " in " + source.parent_path().string());
  std::ifstream in(source, std::ios::binary);
  if (!in) sourceFault(source.string() + ":1", "cannot read the file");
  std::vector<TLayoutRow> rows;
  std::set<std::string> names;  // named by this file itself
  std::string line;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const std::string where = source.string() + ":" + std::to_string(lineNo);
    if (line[0] == '@') {
      const auto blank = line.find(' ');
      const std::string word = line.substr(0, blank);
      const std::string arg = blank == std::string::npos ? "" : trimmed(line.substr(blank));
      if (word == "@base") {
        if (!rows.empty()) sourceFault(where, "\"@base\" must come before every row");
        rows = readLayoutFrom(source.parent_path() / arg, where, depth + 1);
      } else if (word == "@remove") {
        const std::string name = cp1250FromUtf8(arg);
        const auto before = rows.size();
        std::erase_if(rows, [&](const TLayoutRow& r) { return r.name == name; });
        if (rows.size() == before) sourceFault(where, "\"" + arg + "\" is not in the base layout");
      } else {
        sourceFault(where, "unknown statement \"" + word + "\"");
      }
      continue;
    }
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ';');) cells.push_back(trimmed(cell));
    if (cells.size() != 12)
      sourceFault(where, "12 columns expected, found " + std::to_string(cells.size()));
    TLayoutRow r;
    r.where = where;
    r.name = cp1250FromUtf8(cells[0]);
    r.font = cp1250FromUtf8(cells[5]);
    int* numbers[] = {nullptr,  &r.x1,    &r.x2,   &r.y1,     &r.y2,      nullptr,
                      &r.size, &r.align, &r.bold, &r.italic, &r.underline, &r.strike};
    for (std::size_t i = 1; i < cells.size(); ++i)
      if (numbers[i]) *numbers[i] = wholeNumber(cells[i], where);
    if (r.name.empty() || r.name.size() > 255)
      sourceFault(where, "a name of 1 to 255 characters expected");
    if (r.font.size() > 99) sourceFault(where, "a font name of at most 99 characters expected");
    if (!names.insert(r.name).second) sourceFault(where, "\"" + cells[0] + "\" is named twice");
    bool replaced = false;
    for (TLayoutRow& old : rows)
      if (old.name == r.name) {
        old = r;
        replaced = true;
      }
    if (!replaced) rows.push_back(r);
  }
  return rows;
}

}  // namespace

std::vector<TLayoutRow> readLayout(const std::filesystem::path& source, const std::string& namedAt) {
  return readLayoutFrom(source, namedAt, 0);
}
