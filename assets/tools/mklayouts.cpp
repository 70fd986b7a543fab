// Writes the shipped calibration file from the layout sources.
//   tarvek_mklayouts <output database> <layout.csv>...
// Each source "<table>.csv" becomes the table of that name; a certificate
// layout also gives its twin for printing without dotted lines (the table
// the kinds table names for it, the same rows less the dotted lines). The
// sources are UTF-8; the file keeps its text as Windows-1250. Every document
// kind needs its source. Every fault is told, as "path:line: error: what",
// and any of them writes no file; the output is made anew on every run.
#include "LayoutSource.h"
#include "render/DocumentKinds.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

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

// The kind whose layout the source is: a source must be one.
const TDocKindInfo& kindOfSource(const std::filesystem::path& source) {
  const std::string table = source.stem().string();
  for (const TDocKindInfo& info : kDocKinds)
    if (table == info.table) return info;
  sourceFault(source.string() + ":1", "no document kind is drawn by the layout \"" + table + "\"");
}

// "path:line" of the kind's own line in the kinds' header.
std::string whereKindIs(const TDocKindInfo& info) {
  const std::string header = TARVEK_DOC_KINDS_HEADER;
  std::ifstream in(header);
  const std::string own = std::string("X(") + info.name + ",";
  int lineNo = 1;
  for (std::string line; std::getline(in, line); ++lineNo)
    if (line.find(own) != std::string::npos) return header + ":" + std::to_string(lineNo);
  return header + ":1";
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
  // Every fault of the sources is told; any of them writes no file.
  std::vector<std::string> faults;
  sqlite3* db = nullptr;
  try {
    if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create " + tmp);
    check(sqlite3_exec(db, "begin transaction", nullptr, nullptr, nullptr), db, "begin");
    std::set<std::string> drawn;
    for (int i = 2; i < argc; ++i) {
      const std::filesystem::path source(argv[i]);
      try {
        const TDocKindInfo& kind = kindOfSource(source);
        drawn.insert(kind.table);
        const std::vector<TLayoutRow> rows = readLayout(source);
        writeTable(db, kind.table, rows, true);
        if (kind.tableNoDots) writeTable(db, kind.tableNoDots, rows, false);
      } catch (const std::runtime_error& fault) {
        // A twin's base read again would tell its fault again.
        if (std::find(faults.begin(), faults.end(), fault.what()) == faults.end()) faults.push_back(fault.what());
      }
    }
    // Every kind is drawn by its layout: the program looks its table up.
    const std::filesystem::path folder = argc > 2 ? std::filesystem::path(argv[2]).parent_path() : ".";
    for (const TDocKindInfo& info : kDocKinds)
      if (!drawn.count(info.table))
        faults.push_back(whereKindIs(info) + ": error: the document kind " + info.name + " has no layout: " +
                         (folder / (std::string(info.table) + ".csv")).string() + " is missing");
    if (!faults.empty()) throw std::runtime_error(std::to_string(faults.size()) + " fault(s) in the layout sources");
    check(sqlite3_exec(db, "commit transaction", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
  } catch (const std::exception& e) {
    for (const std::string& fault : faults) std::fprintf(stderr, "%s\n", fault.c_str());
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
