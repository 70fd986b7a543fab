#include "Margins.h"

#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"

namespace {

const char kFileMissing[] = "Plik nie istnieje.\n";

// The edges in the order of the columns of `margin` and of its inserts.
const TIntColumn<TMarginRecord> kEdges[] = {
    {"Page1X1", &TMarginRecord::Page1X1}, {"Page1Y1", &TMarginRecord::Page1Y1},
    {"Page1X2", &TMarginRecord::Page1X2}, {"Page1Y2", &TMarginRecord::Page1Y2},
    {"Page2X1", &TMarginRecord::Page2X1}, {"Page2Y1", &TMarginRecord::Page2Y1},
    {"Page2X2", &TMarginRecord::Page2X2}, {"Page2Y2", &TMarginRecord::Page2Y2},
};

TMarginRecord marginFromRow(CppSQLite3Query& q) {
  TMarginRecord r;
  r.name = q.textByName("name");
  vFunReadIntColumns(q, r, kEdges);
  return r;
}

// Appends every set of `margin`, in stored order.
void appendSets(CppSQLite3DB& db, std::vector<TMarginRecord>& sets) {
  CppSQLite3Query q = db.runQuery("select * from `margin`");
  while (!q.atEnd()) {
    sets.push_back(marginFromRow(q));
    q.step();
  }
  q.release();
}

// The values of an insert: "'<name>', '<Page1X1>', ... '<Page2Y2>' )".
std::string marginValues(const TMarginRecord& r) {
  std::string text = "'" + sqlQuoted(r.name) + "'";
  for (const auto& edge : kEdges) text += ", '" + std::to_string(r.*edge.second) + "'";
  return text + " )";
}

const char kMarginInsert[] =
    "insert into `margin`( `name`, `Page1X1`, `Page1Y1`, `Page1X2`, `Page1Y2`, `Page2X1`, `Page2Y1`, `Page2X2`, "
    "`Page2Y2` ) ";

}  // namespace

bool bFunMarginReadData(TDataStore* DataStore, const TSystemPath& file, std::vector<TMarginRecord>& list) {
  const std::string fun = "bFunMarginReadData()";
  if (!bFunRequireFile(DataStore, file, kFileMissing, fun)) return false;
  list.clear();
  return bFunRunOnDatabase(DataStore, file, "SqlException\n", fun, [&](CppSQLite3DB& db) {
    appendSets(db, list);
    return true;
  });
}

bool bFunMarginDeleteSettings(TDataStore* DataStore, const TSystemPath& file, const std::string& name) {
  const std::string fun = "bFunMarginDeleteSettings()";
  if (!bFunRequireFile(DataStore, file, kFileMissing, fun)) return false;
  return bFunRunOnDatabase(DataStore, file, "SqlException\n", fun, [&](CppSQLite3DB& db) {
    if (db.runStatement("delete from `margin` where `name`='" + sqlQuoted(name) + "'") > 0) return true;
    vFunReportError(DataStore, cp1250("Błąd podczas próby skasowania ustawień ") + name, fun);
    return false;
  });
}

bool bFunMarginWriteNewSettings(TDataStore* DataStore, const TSystemPath& file, const TMarginRecord& record) {
  const std::string fun = "bFunMarginWriteNewSettings()";
  if (!bFunRequireFile(DataStore, file, kFileMissing, fun)) return false;
  return bFunRunOnDatabase(DataStore, file, "Sql exception: ", fun, [&](CppSQLite3DB& db) {
    if (db.runStatement(std::string(kMarginInsert) + "values( " + marginValues(record)) > 0) return true;
    vFunReportError(DataStore, cp1250("Bład podczas próby dodania wpisu."), fun);
    return false;
  });
}

bool bFunMarginRestoreOriginal(TDataStore* DataStore, const TSystemPath& source, const TSystemPath& target) {
  const std::string fun = "bFunMarginRestoreOriginal()";
  if (!bFunRequireFile(DataStore, source, kFileMissing, fun)) return false;
  if (!bFunRequireFile(DataStore, target, kFileMissing, fun)) return false;
  // The shipped sets are read whole before the target is touched, so the
  // target's transaction never waits on a reader of the source.
  std::vector<TMarginRecord> shipped;
  if (!bFunRunOnDatabase(DataStore, source, "Sql exception: ", fun, [&](CppSQLite3DB& db) {
        appendSets(db, shipped);
        return true;
      }))
    return false;
  return bFunRunOnDatabase(DataStore, target, "Sql exception: ", fun, [&](CppSQLite3DB& db) {
    TTransaction transaction(db);
    db.runStatement("delete from `margin` where 1");
    for (const TMarginRecord& set : shipped) db.runStatement(std::string(kMarginInsert) + "values (" + marginValues(set));
    transaction.commit();
    return true;
  });
}
