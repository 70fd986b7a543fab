// Writes the shipped calibration file from the layout sources.
//   tarvek_mklayouts <output database> <layout.csv>...
// Each source "<table>.csv" becomes the table of that name; a certificate
// layout also gives its twin for printing without dotted lines (the table
// the kinds table names for it, the same rows less the dotted lines). The
// sources are UTF-8; the file keeps its text as Windows-1250. The output is
// made anew on every run.
#include "platform/Cp1250.h"
#include "render/DocumentKinds.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct TLayoutRow {
  std::string name;
  int x1, x2, y1, y2;
  std::string font;
  int size, align, bold, italic, underline, strike;
};

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

int number(const std::string& text, const std::string& where) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) throw std::runtime_error(where + ": not a whole number: \"" + text + "\"");
  return value;
}

std::vector<TLayoutRow> readLayout(const std::filesystem::path& source) {
  std::ifstream in(source, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + source.string());
  std::vector<TLayoutRow> rows;
  std::set<std::string> names;
  std::string line;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const std::string where = source.filename().string() + ":" + std::to_string(lineNo);
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ';');) cells.push_back(trimmed(cell));
    if (cells.size() != 12)
      throw std::runtime_error(where + ": 12 columns expected, found " + std::to_string(cells.size()));
    TLayoutRow r;
    r.name = cp1250FromUtf8(cells[0]);
    r.font = cp1250FromUtf8(cells[5]);
    int* numbers[] = {nullptr,  &r.x1,    &r.x2,   &r.y1,     &r.y2,      nullptr,
                      &r.size, &r.align, &r.bold, &r.italic, &r.underline, &r.strike};
    for (std::size_t i = 1; i < cells.size(); ++i)
      if (numbers[i]) *numbers[i] = number(cells[i], where);
    if (r.name.empty() || r.name.size() > 255)
      throw std::runtime_error(where + ": a name of 1 to 255 characters expected");
    if (r.font.size() > 99) throw std::runtime_error(where + ": a font name of at most 99 characters expected");
    if (!names.insert(r.name).second) throw std::runtime_error(where + ": \"" + cells[0] + "\" is named twice");
    rows.push_back(r);
  }
  return rows;
}

void check(int rc, sqlite3* db, const std::string& what) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE) throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

void writeTable(sqlite3* db, const std::string& table, const std::vector<TLayoutRow>& rows, bool withDots) {
  check(sqlite3_exec(db,
                     ("create table `" + table +
                      "`( `name` TEXT, `x1` INTEGER, `y1` INTEGER, `x2` INTEGER, `y2` INTEGER, `font_name` TEXT, "
                      "`font_size` INTEGER, `font_align` INTEGER, `font_style_bold` INTEGER, `font_style_italic` "
                      "INTEGER, `font_style_underline` INTEGER, `font_style_strike` INTEGER )")
                         .c_str(),
                     nullptr, nullptr, nullptr),
        db, table);
  sqlite3_stmt* insert = nullptr;
  check(sqlite3_prepare_v2(db,
                           ("insert into `" + table + "` values( ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ? )").c_str(), -1,
                           &insert, nullptr),
        db, table);
  for (const TLayoutRow& r : rows) {
    if (!withDots && r.name.find("_LINIA_Z_KROPEK") != std::string::npos) continue;
    sqlite3_bind_text(insert, 1, r.name.c_str(), -1, SQLITE_TRANSIENT);
    const int numbers[] = {r.x1, r.y1, r.x2, r.y2};
    for (int i = 0; i < 4; ++i) sqlite3_bind_int(insert, 2 + i, numbers[i]);
    sqlite3_bind_text(insert, 6, r.font.c_str(), -1, SQLITE_TRANSIENT);
    const int style[] = {r.size, r.align, r.bold, r.italic, r.underline, r.strike};
    for (int i = 0; i < 6; ++i) sqlite3_bind_int(insert, 7 + i, style[i]);
    check(sqlite3_step(insert), db, table);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
}

// The kind whose layout the table is: a source must be one.
const TDocKindInfo& kindOfTable(const std::string& table) {
  for (const TDocKindInfo& info : kDocKinds)
    if (table == info.table) return info;
  throw std::runtime_error("no document kind is drawn by the layout \"" + table + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output> <layout.csv>...\n", argv[0]);
    return 2;
  }
  const std::string out = argv[1];
  const std::string tmp = out + ".new";
  std::remove(tmp.c_str());
  sqlite3* db = nullptr;
  try {
    if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + tmp);
    check(sqlite3_exec(db, "begin transaction", nullptr, nullptr, nullptr), db, "begin");
    for (int i = 2; i < argc; ++i) {
      const std::filesystem::path source(argv[i]);
      const std::string table = source.stem().string();
      const TDocKindInfo& kind = kindOfTable(table);
      const std::vector<TLayoutRow> rows = readLayout(source);
      writeTable(db, table, rows, true);
      if (kind.tableNoDots) writeTable(db, kind.tableNoDots, rows, false);
    }
    check(sqlite3_exec(db, "commit transaction", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    sqlite3_close(db);
    std::remove(tmp.c_str());
    return 1;
  }
  if (std::rename(tmp.c_str(), out.c_str()) != 0) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
