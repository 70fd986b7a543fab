#include "Calibration.h"

#include "store/DocumentFiles.h"

#include "store/Folders.h"
#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <sqlite3.h>

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

std::string copyFailure(const std::string& fun, const std::string& from, const std::string& to) {
  const int code = platform::lastError();
  return "Funkcja: " + fun + "\n\n" + cp1250("Błąd podczas próby kopiowania pliku\nz\n") + from + "\ndo\n" + to +
         "\n" + strFunSystemErrorAdvice(code) + cp1250("Kod błędu: ") + std::to_string(code) +
         cp1250("\n\nDane nie zostały zapisane.");
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
  if (platform::copyFile(TSystemPath::fromText(calib), target, false)) return true;
  vFunReportError(DataStore, copyFailure(fun, calib, target.text()), fun);
  return false;
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
  if (platform::copyFile(source, TSystemPath::fromText(calib), false)) return true;
  vFunReportError(DataStore, copyFailure(fun, source.text(), calib), fun);
  return false;
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
