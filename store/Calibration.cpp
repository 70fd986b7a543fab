#include "Calibration.h"

#include "store/CppSQLite3.h"
#include "store/DocumentFiles.h"

#include "store/Folders.h"
#include "store/Operation.h"
#include "store/SqlText.h"
#include "store/Temporaries.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <sqlite3.h>

#include <cerrno>
#include <iterator>
#include <map>
#include <set>

namespace {

const TIntColumn<TCalibRecord> kCalibNumbers[] = {
    {"x1", &TCalibRecord::x1},
    {"y1", &TCalibRecord::y1},
    {"x2", &TCalibRecord::x2},
    {"y2", &TCalibRecord::y2},
    {"font_size", &TCalibRecord::font_size},
    {"font_align", &TCalibRecord::font_align},
    {"font_style_bold", &TCalibRecord::font_style_bold},
    {"font_style_italic", &TCalibRecord::font_style_italic},
    {"font_style_underline", &TCalibRecord::font_style_underline},
    {"font_style_strike", &TCalibRecord::font_style_strike},
};

TCalibRecord calibFromRow(CppSQLite3Query& q) {
  TCalibRecord r;
  r.name = q.textByName("name");
  r.font_name = q.textByName("font_name");
  vFunReadIntColumns(q, r, kCalibNumbers);
  return r;
}

std::string quotedNumber(int value) { return "'" + std::to_string(value) + "'"; }

std::string calibUpdate(const std::string& table, const TCalibRecord& r) {
  return "update " + sqlTable(table) + " set `x1`=" + quotedNumber(r.x1) + ", `y1`=" + quotedNumber(r.y1) +
         ", `x2`=" + quotedNumber(r.x2) + ", `y2`=" + quotedNumber(r.y2) + ", `font_name`='" +
         sqlQuoted(r.font_name) + "', `font_size`=" + quotedNumber(r.font_size) +
         ", `font_align`=" + quotedNumber(r.font_align) + ", `font_style_bold`=" + quotedNumber(r.font_style_bold) +
         ", `font_style_italic`=" + quotedNumber(r.font_style_italic) +
         ", `font_style_underline`=" + quotedNumber(r.font_style_underline) +
         ", `font_style_strike`=" + quotedNumber(r.font_style_strike) + " where `name`='" + sqlQuoted(r.name) + "'";
}

// A calibration file is a few hundred kilobytes; a file far larger than
// any is not read into memory to find that out.
constexpr long long kLargestCalibration = 256LL << 20;

// The columns every layout table has.
const char* const kCalibColumns[] = {"name",      "x1",          "y1",         "x2",
                                     "y2",        "font_name",   "font_size",  "font_align",
                                     "font_style_bold", "font_style_italic", "font_style_underline",
                                     "font_style_strike"};

std::string copyFailure(const std::string& fun, const std::string& from, const std::string& to,
                        const TFileFailure& why) {
  return "Funkcja: " + fun + "\n\n" + cp1250("Błąd podczas próby kopiowania pliku\nz\n") + from + "\ndo\n" + to +
         "\n" + strFunFailureLines(why) + cp1250("\n\nDane nie zostały zapisane.");
}

// The names of the layout tables of an open database: ordinary tables
// (no virtual ones) that have every column of a calibration row.
std::vector<std::string> layoutTables(sqlite3* db) {
  std::vector<std::string> tables, layouts;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db,
                         "select name from sqlite_master where type='table' and name not like 'sqlite\\_%' escape "
                         "'\\' and upper(ltrim(sql)) not like 'CREATE VIRTUAL%' order by rowid",
                         -1, &st, nullptr) == SQLITE_OK)
    while (sqlite3_step(st) == SQLITE_ROW)
      tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  for (const std::string& table : tables) {
    std::set<std::string> have;
    if (sqlite3_prepare_v2(db, ("pragma table_info(" + sqlTable(table) + ")").c_str(), -1, &st, nullptr) == SQLITE_OK)
      while (sqlite3_step(st) == SQLITE_ROW)
        if (const unsigned char* name = sqlite3_column_text(st, 1)) have.insert(reinterpret_cast<const char*>(name));
    sqlite3_finalize(st);
    bool all = true;
    for (const char* wanted : kCalibColumns) all = all && have.count(wanted) > 0;
    if (all) layouts.push_back(table);
  }
  return layouts;
}

// A read-only connection to a calibration file at a path as the system
// names it, closed with this object; db is null when it cannot be opened.
struct TCalibSource {
  sqlite3* db = nullptr;
  explicit TCalibSource(sqlite3* opened) : db(opened) {}
  explicit TCalibSource(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      db = nullptr;
    }
    if (db) sqlite3_busy_timeout(db, 300);
  }
  ~TCalibSource() { sqlite3_close(db); }
  TCalibSource(const TCalibSource&) = delete;
  TCalibSource& operator=(const TCalibSource&) = delete;
};

// The names of the rows of every layout table; empty when there is none.
std::map<std::string, std::set<std::string>> layoutRows(sqlite3* db) {
  std::map<std::string, std::set<std::string>> rows;
  if (!db) return rows;
  for (const std::string& table : layoutTables(db)) {
    std::set<std::string>& names = rows[table];
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, ("select `name` from " + sqlTable(table)).c_str(), -1, &st, nullptr) == SQLITE_OK)
      while (sqlite3_step(st) == SQLITE_ROW)
        if (const unsigned char* name = sqlite3_column_text(st, 0)) names.insert(reinterpret_cast<const char*>(name));
    sqlite3_finalize(st);
  }
  return rows;
}

// "a, b, c" of at most `shown` names, then how many more there are.
std::string someNames(const std::vector<std::string>& names, std::size_t shown) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < shown; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > shown) text += cp1250(" i jeszcze ") + std::to_string(names.size() - shown);
  return text;
}

// What the file `source` lacks of the program's layouts (`program`): the
// layout tables, and the rows of those it has, one line each; empty when
// it holds them all.
std::string missingLayouts(const std::map<std::string, std::set<std::string>>& program,
                           const std::map<std::string, std::set<std::string>>& source) {
  std::vector<std::string> tables;
  std::vector<std::string> rowLines;
  for (const auto& [table, names] : program) {
    const auto found = source.find(table);
    if (found == source.end()) {
      tables.push_back(table);
      continue;
    }
    std::vector<std::string> rows;
    for (const std::string& name : names)
      if (!found->second.count(name)) rows.push_back(name);
    if (!rows.empty())
      rowLines.push_back(cp1250("Brak wierszy (") + std::to_string(rows.size()) + ") w tablicy " + table + ": " +
                         someNames(rows, 5) + ".");
  }
  std::string text;
  if (!tables.empty())
    text += cp1250("Brak tablic formatowania (") + std::to_string(tables.size()) + " z " +
            std::to_string(program.size()) + "): " + someNames(tables, 5) + ".\n";
  const std::size_t shownLines = 5;
  for (std::size_t i = 0; i < rowLines.size() && i < shownLines; ++i) text += rowLines[i] + "\n";
  if (rowLines.size() > shownLines)
    text += cp1250("Brak wierszy także w ") + std::to_string(rowLines.size() - shownLines) + cp1250(" innych tablicach.\n");
  if (!text.empty()) text.pop_back();
  return text;
}

// Copies only what a calibration file is, the rows of its layout tables in
// their columns, into a fresh file that then takes the target's place in one
// step: no trigger, view, index or other table of the source comes along,
// and nothing of the source runs. Paths as the system names them; the fresh
// file is recorded in the data folder while it is written, and is the
// user's alone until it is complete; a file made for the user (`forTheUser`,
// an export) then gets the mode of any file of the user's. False with why it
// failed (EINVAL for a source without layouts).
bool copyLayouts(TDataStore* DataStore, sqlite3* from, const std::string& target, bool forTheUser,
                 TFileFailure& why) {
  const std::string fresh = target + ".nowy";
  platform::native::removeFile(fresh);
  // A kill before the rename leaves the fresh file: the next start removes it.
  const TTemporaryRecord record(strFunGetMainDirPath(DataStore).bytes(), fresh);
  platform::native::makePrivateFile(fresh);
  sqlite3* to = nullptr;
  int rc = from ? SQLITE_OK : SQLITE_CANTOPEN;
  std::vector<std::string> tables;
  if (rc == SQLITE_OK) {
    tables = layoutTables(from);
    if (tables.empty()) rc = SQLITE_NOTADB;
  }
  if (rc == SQLITE_OK) rc = sqlite3_open_v2(fresh.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, sqliteVfsFor(fresh));
  if (rc == SQLITE_OK) rc = sqlite3_exec(to, "pragma journal_mode=OFF; begin;", nullptr, nullptr, nullptr);
  std::string columns, marks, declared;
  for (const char* column : kCalibColumns) {
    const bool text = std::string(column) == "name" || std::string(column) == "font_name";
    columns += std::string(columns.empty() ? "" : ", ") + "`" + column + "`";
    marks += marks.empty() ? "?" : ", ?";
    declared += std::string(declared.empty() ? "" : ", ") + "`" + column + "` " + (text ? "TEXT" : "INTEGER");
  }
  for (const std::string& table : tables) {
    if (rc != SQLITE_OK) break;
    rc = sqlite3_exec(to, ("create table " + sqlTable(table) + "( " + declared + " );").c_str(), nullptr, nullptr,
                      nullptr);
    if (rc != SQLITE_OK) break;
    sqlite3_stmt* read = nullptr;
    sqlite3_stmt* write = nullptr;
    // Stored order where the table has one; a table without rowid keeps its own.
    rc = sqlite3_prepare_v2(from, ("select " + columns + " from " + sqlTable(table) + " order by rowid").c_str(), -1,
                            &read, nullptr);
    if (rc != SQLITE_OK)
      rc = sqlite3_prepare_v2(from, ("select " + columns + " from " + sqlTable(table)).c_str(), -1, &read, nullptr);
    if (rc == SQLITE_OK)
      rc = sqlite3_prepare_v2(to, ("insert into " + sqlTable(table) + "( " + columns + " ) values( " + marks + " )").c_str(),
                              -1, &write, nullptr);
    while (rc == SQLITE_OK) {
      const int step = sqlite3_step(read);
      if (step == SQLITE_DONE) break;
      if (step != SQLITE_ROW) {
        rc = step;
        break;
      }
      for (int i = 0; i < static_cast<int>(std::size(kCalibColumns)); ++i)
        sqlite3_bind_value(write, i + 1, sqlite3_column_value(read, i));
      if ((rc = sqlite3_step(write)) == SQLITE_DONE) rc = SQLITE_OK;
      sqlite3_reset(write);
    }
    sqlite3_finalize(read);
    sqlite3_finalize(write);
  }
  if (rc == SQLITE_OK) rc = sqlite3_exec(to, "commit;", nullptr, nullptr, nullptr);
  const int systemError = sqlite3SystemErrno(to);
  if (to && sqlite3_close(to) != SQLITE_OK && rc == SQLITE_OK) rc = SQLITE_IOERR;
  // The user's calibration stays private; an exported file gets the mode of
  // the file it replaces, or of any new file of the user's.
  if (rc == SQLITE_OK && platform::native::syncFile(fresh) &&
      (!forTheUser || (platform::native::exists(target) ? platform::native::copyOwnership(target, fresh)
                                                        : platform::native::giveNewFileMode(fresh))) &&
      platform::native::replaceFile(fresh, target))
    return true;
  if (rc == SQLITE_OK)
    why.systemError = platform::lastError();
  else if ((rc & 0xff) == SQLITE_NOTADB)
    why.systemError = EINVAL;
  else {
    why.sqliteCode = rc;
    why.systemError = systemError;
  }
  platform::native::removeFile(fresh);
  platform::native::removeFile(fresh + "-journal");
  return false;
}

}  // namespace

bool bFunCalibLoadData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                       std::vector<TCalibRecord>& list) {
  const std::string fun = "bFunCalibLoadData()";
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje: \n", fun)) return false;
  return bFunRunOnDatabase(DataStore, file, "SQLite exception: \n", fun, [&](CppSQLite3DB& db) {
    if (!db.hasTable(table)) {
      vFunReportError(DataStore, "Tablica nie istnieje: \n" + table, fun);
      return false;
    }
    list.clear();
    // Stored order: memo lines and the drawing order follow it.
    CppSQLite3Query q = db.runQuery("select * from " + sqlTable(table) + " order by rowid");
    while (!q.atEnd()) {
      list.push_back(calibFromRow(q));
      q.step();
    }
    q.release();
    return true;
  });
}

bool bFunSqlCalibUpdateValue(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                             const TCalibRecord& record) {
  const std::string fun = "bFunSqlCalibUpdateValue()";
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje.\n", fun)) return false;
  const std::string statement = calibUpdate(table, record);
  // The code's name, then the sentence every file failure gets (a full disk).
  const auto describe = [](const CppSQLite3Exception& e, const CppSQLite3DB& db) {
    TFileFailure why;
    bFunSqliteFailure(why, e, &db);
    const std::string advice = why.strFunAdvice();
    return std::string("SqlException\n") + CppSQLite3Exception::codeName(e.code()) +
           (advice.empty() ? "" : "\n" + advice.substr(0, advice.size() - 1));
  };
  return bFunRunOnDatabaseTold(DataStore, file, fun, describe, [&](CppSQLite3DB& db) {
    if (db.runStatement(statement) > 0) return true;
    vFunReportError(DataStore, cp1250("Błąd aktualizacji wpisu kalibracji.\n\n") + statement, fun);
    return false;
  });
}

bool bFunCalibLoadCertList(TDataStore* DataStore, std::vector<std::string>& items) {
  const std::string fun = "bFunCalibLoadCertList()";
  items.clear();
  const TSystemPath file = strFunGetCalibFilePath(DataStore, false);
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje: \n", fun)) return false;
  return bFunRunOnDatabase(DataStore, file, "Sql exception: ", fun, [&](CppSQLite3DB& db) {
    CppSQLite3Query q = db.runQuery("SELECT * FROM sqlite_master WHERE type='table'");
    while (!q.atEnd()) {
      items.push_back(q.textByName("name"));
      q.step();
    }
    q.release();
    return true;
  });
}

bool bFunCalibFileHasLayouts(const TSystemPath& path) {
  return platform::fileExists(path) && !layoutRows(TCalibSource(path.bytes()).db).empty();
}

bool bFunEksportujPlikKalibracji(TDataStore* DataStore, const TSystemPath& target) {
  const std::string fun = "EksportujPlikKalibracji()";
  const TSystemPath calib = strFunGetCalibFilePath(DataStore, false);
  const TCalibSource source(calib.bytes());
  if (TFileFailure why; !copyLayouts(DataStore, source.db, target.bytes(), true, why)) {
    vFunReportError(DataStore, copyFailure(fun, calib.text(), target.text(), why), fun);
    return false;
  }
  return true;
}

bool bFunImportujPlikKalibracji(TDataStore* DataStore, const TSystemPath& source) {
  const std::string fun = "ImportujPlikKalibracji()";
  const TSystemPath calib = strFunGetCalibFilePath(DataStore, false);
  const auto refuse = [&](const std::string& what, const std::string& why) {
    vFunReportError(DataStore,
                    "Funkcja: " + fun + "\n\n" + what + source.text() + (why.empty() ? "" : "\n" + why) +
                        cp1250("\n\nUstawienia kalibracji nie zostały zmienione."),
                    fun);
    return false;
  };
  const std::string notCalibration =
      cp1250("Wybrany plik nie jest plikiem kalibracji (bazą danych z tablicami formatowania):\n");
  // Read as it is checked: a folder, a pipe or a device is never waited on,
  // and SQLite reads the very file that was checked, a copy in memory.
  const platform::native::TPickedFile picked(source.bytes());
  std::string bytes;
  if (picked.error() != 0)
    return refuse(notCalibration, strFunFailureLines(TFileFailure::ofPickedFile(picked.error())));
  if (picked.size() > kLargestCalibration) return refuse(notCalibration, "");
  if (!picked.readAll(bytes))
    return refuse(notCalibration, strFunFailureLines(TFileFailure::ofPickedFile(platform::lastError())));
  const TCalibSource file(sqlite3OpenBytes(bytes));
  const auto given = layoutRows(file.db);
  if (given.empty()) return refuse(notCalibration, "");
  // Every layout the program draws, with every row of it, as shipped (or,
  // without a shipped file, as the calibration holds them now).
  auto program = layoutRows(TCalibSource(strFunGetCalibFilePath(DataStore, true).bytes()).db);
  if (program.empty()) program = layoutRows(TCalibSource(calib.bytes()).db);
  if (const std::string missing = missingLayouts(program, given); !missing.empty())
    return refuse(cp1250("Wybrany plik kalibracji nie zawiera wszystkich ustawień programu:\n"), missing);
  if (TFileFailure why; !copyLayouts(DataStore, file.db, calib.bytes(), false, why)) {
    vFunReportError(DataStore, copyFailure(fun, source.text(), calib.text(), why), fun);
    return false;
  }
  return true;
}

bool bFunPrzywrocPlikKalibracji(TDataStore* DataStore) {
  const TSystemPath source = strFunGetCalibFilePath(DataStore, true);
  const TSystemPath target = strFunGetCalibFilePath(DataStore, false);
  if (platform::copyFile(source, target, false)) return true;
  vFunReportError(DataStore,
                  cp1250("Błąd podczas próby przywrócenia oryginalnego pliku kalibracji.\nŹródło: ") +
                      source.text() + "\nCel: " + target.text(),
                  "PrzywrocUstawieniaButtonClick()");
  return false;
}
