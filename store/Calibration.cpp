#include "Calibration.h"

#include "store/Folders.h"
#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"

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
