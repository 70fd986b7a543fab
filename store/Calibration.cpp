#include "Calibration.h"

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

// The columns every layout table has.
const char* const kCalibColumns[] = {"name",      "x1",          "y1",         "x2",
                                     "y2",        "font_name",   "font_size",  "font_align",
                                     "font_style_bold", "font_style_italic", "font_style_underline",
                                     "font_style_strike"};

std::string copyFailure(const std::string& fun, const std::string& from, const std::string& to,
                        int code = platform::lastError()) {
  return "Funkcja: " + fun + "\n\n" + cp1250("Błąd podczas próby kopiowania pliku\nz\n") + from + "\ndo\n" + to +
         "\n" + strFunSystemErrorAdvice(code) + cp1250("Kod błędu: ") + std::to_string(code) +
         cp1250("\n\nDane nie zostały zapisane.");
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

// Copies only what a calibration file is, the rows of its layout tables in
// their columns, into a fresh file that then takes the target's place in one
// step: no trigger, view, index or other table of the source comes along,
// and nothing of the source runs. Paths as the system names them; the fresh
// file is recorded in the data folder while it is written. Gives 0,
// or the system's error code of the failure (EINVAL for a source without
// layouts, ENOSPC for a full disk where SQLite names no other).
int copyLayouts(TDataStore* DataStore, const std::string& source, const std::string& target) {
  const std::string fresh = target + ".nowy";
  platform::native::removeFile(fresh);
  // A kill before the rename leaves the fresh file: the next start removes it.
  const TTemporaryRecord record(cp1250ToUtf8(strFunGetMainDirPath(DataStore)), fresh);
  sqlite3* from = nullptr;
  sqlite3* to = nullptr;
  int rc = sqlite3_open_v2(source.c_str(), &from, SQLITE_OPEN_READONLY, nullptr);
  std::vector<std::string> tables;
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(from, 300);
    tables = layoutTables(from);
    if (tables.empty()) rc = SQLITE_NOTADB;
  }
  if (rc == SQLITE_OK) rc = sqlite3_open_v2(fresh.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
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
  const int systemError = to ? sqlite3_system_errno(to) : 0;
  sqlite3_close(from);
  if (to && sqlite3_close(to) != SQLITE_OK && rc == SQLITE_OK) rc = SQLITE_IOERR;
  if (rc == SQLITE_OK && platform::native::syncFile(fresh) && platform::native::replaceFile(fresh, target)) return 0;
  const int error = rc == SQLITE_OK ? platform::lastError()
                    : systemError != 0 ? systemError
                    : (rc & 0xff) == SQLITE_FULL ? ENOSPC
                    : (rc & 0xff) == SQLITE_NOTADB ? EINVAL
                                                   : EIO;
  platform::native::removeFile(fresh);
  platform::native::removeFile(fresh + "-journal");
  return error != 0 ? error : EIO;
}

}  // namespace

bool bFunCalibLoadData(TDataStore* DataStore, const std::string& file, const std::string& table,
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

bool bFunSqlCalibUpdateValue(TDataStore* DataStore, const std::string& file, const std::string& table,
                             const TCalibRecord& record) {
  const std::string fun = "bFunSqlCalibUpdateValue()";
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje.\n", fun)) return false;
  const std::string statement = calibUpdate(table, record);
  return bFunRunOnDatabase(DataStore, file, "SqlException\n", fun, [&](CppSQLite3DB& db) {
    if (db.runStatement(statement) > 0) return true;
    vFunReportError(DataStore, cp1250("Błąd aktualizacji wpisu kalibracji.\n\n") + statement, fun);
    return false;
  });
}

bool bFunCalibLoadCertList(TDataStore* DataStore, std::vector<std::string>& items) {
  const std::string fun = "bFunCalibLoadCertList()";
  items.clear();
  const std::string file = strFunGetCalibFilePath(DataStore, false);
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
  if (!platform::fileExists(path)) return false;
  sqlite3* db = nullptr;
  const std::string& utf8 = path.bytes();
  if (sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  // Collects the rows of a statement's first column; false when the
  // statement cannot run (not a database, say).
  auto column = [db](const std::string& sql, int index, std::vector<std::string>& out) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
      sqlite3_finalize(statement);
      return false;
    }
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(statement, index);
      out.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_DONE;
  };
  bool found = false;
  std::vector<std::string> tables;
  if (column("SELECT name FROM sqlite_master WHERE type='table'", 0, tables)) {
    for (const std::string& table : tables) {
      std::vector<std::string> names;
      if (!column("pragma table_info(" + sqlTable(table) + ")", 1, names)) continue;
      const std::set<std::string> have(names.begin(), names.end());
      bool all = true;
      for (const char* wanted : kCalibColumns) all = all && have.count(wanted) > 0;
      if (all) {
        found = true;
        break;
      }
    }
  }
  sqlite3_close(db);
  return found;
}

bool bFunEksportujPlikKalibracji(TDataStore* DataStore, const TSystemPath& target) {
  const std::string fun = "EksportujPlikKalibracji()";
  const std::string calib = strFunGetCalibFilePath(DataStore, false);
  if (const int code = copyLayouts(DataStore, TSystemPath::fromText(calib).bytes(), target.bytes()); code != 0) {
    vFunReportError(DataStore, copyFailure(fun, calib, target.text(), code), fun);
    return false;
  }
  return true;
}

bool bFunImportujPlikKalibracji(TDataStore* DataStore, const TSystemPath& source) {
  const std::string fun = "ImportujPlikKalibracji()";
  const std::string calib = strFunGetCalibFilePath(DataStore, false);
  if (!bFunCalibFileHasLayouts(source)) {
    vFunReportError(DataStore,
                    "Funkcja: " + fun + "\n\n" +
                        cp1250("Wybrany plik nie jest plikiem kalibracji (bazą danych z tablicami formatowania):\n") +
                        source.text() + cp1250("\n\nUstawienia kalibracji nie zostały zmienione."),
                    fun);
    return false;
  }
  if (const int code = copyLayouts(DataStore, source.bytes(), TSystemPath::fromText(calib).bytes()); code != 0) {
    vFunReportError(DataStore, copyFailure(fun, source.text(), calib, code), fun);
    return false;
  }
  return true;
}

bool bFunPrzywrocPlikKalibracji(TDataStore* DataStore) {
  const std::string source = strFunGetCalibFilePath(DataStore, true);
  const std::string target = strFunGetCalibFilePath(DataStore, false);
  if (platform::copyFile(source, target, false)) return true;
  vFunReportError(DataStore,
                  cp1250("Błąd podczas próby przywrócenia oryginalnego pliku kalibracji.\nŹródło: ") + source +
                      "\nCel: " + target,
                  "PrzywrocUstawieniaButtonClick()");
  return false;
}
