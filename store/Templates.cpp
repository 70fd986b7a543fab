#include "Templates.h"

#include "store/DataRows.h"
#include "store/Folders.h"
#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <cerrno>
#include <optional>

namespace {

// What stopped a change of the file, in words the user can act on.
std::string reasonOf(const CppSQLite3Exception& e, const CppSQLite3DB& db) {
  const int primary = e.code() & 0xff;
  const int system = db.systemError();
  std::string reason;
  if (primary == SQLITE_FULL || system == ENOSPC || system == EDQUOT || system == EFBIG)
    reason = "Brak miejsca na dysku. Zwolnij miejsce na dysku i spróbuj ponownie.";
  else if (primary == SQLITE_READONLY || primary == SQLITE_PERM || system == EACCES || system == EROFS)
    reason = "Plik jest tylko do odczytu albo program nie ma prawa go zmienić.";
  else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
    reason = "Plik jest używany przez inny program. Zamknij go i spróbuj ponownie.";
  else
    reason = std::string("Przyczyna: ") + sqlite3_errstr(e.code()) + ".";
  return cp1250(reason) + " (" + CppSQLite3Exception::codeName(primary) +
         (system != 0 ? cp1250(", kod błędu ") + std::to_string(system) : std::string()) + ")";
}

std::string templateInsert(const std::string& table, const TDataRecord& r) {
  return "insert into " + sqlTable(table) + "( `id`, `comp_name`, `value` ) values( '" + sqlQuoted(r.id) + "', '" +
         sqlQuoted(r.comp_name) + "', '" + sqlQuoted(r.value) + "')";
}

}  // namespace

TSystemPath strFunGetTemplatesFilePath(TDataStore* DataStore) {
  const TSystemPath folder = strFunGetMainDirPath(DataStore);
  if (folder.empty()) return {};
  const TSystemPath path = folder / "szablony.sqset";
  if (!platform::fileExists(path)) {
    try {
      CppSQLite3DB db;
      db.openFile(path);
      db.closeFile();
    } catch (const CppSQLite3Exception&) {
      // The path is still given; the read or write that follows reports the missing file.
    }
  }
  return path;
}

bool bFunSqlTemplateWriteData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                              const std::vector<TDataRecord>& list) {
  const std::string fun = "bFunSqlTemplateWriteData()";
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje.\n\n", fun)) return false;
  return bFunRunOnDatabase(DataStore, file, "SqlException\n", fun, [&](CppSQLite3DB& db) {
    TTransaction transaction(db);
    try {
      if (db.hasTable(table)) db.runStatement("drop table " + sqlTable(table));
    } catch (const CppSQLite3Exception& e) {
      vFunReportError(DataStore, cp1250("Błąd podczas próby kasowania tablicy \"") + table + "\"\n" + reasonOf(e, db),
                      fun);
      return false;
    }
    db.runStatement(strFunDataTableCreate(table));
    const std::optional<std::string> failed =
        optFunInsertRows(db, list, [&](const TDataRecord& r) { return templateInsert(table, r); }, {});
    if (failed) {
      vFunReportError(DataStore, cp1250("Błąd zapisu danych.\n\n") + *failed, fun);
      return false;
    }
    transaction.commit();
    return true;
  });
}

bool bFunSqlTemplateReadData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                             std::vector<TDataRecord>& list) {
  const std::string fun = "bFunSqlTemplateReadData()";
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje.\n", fun)) return false;
  list.clear();
  return bFunRunOnDatabase(DataStore, file, "SqlException\n", fun, [&](CppSQLite3DB& db) {
    if (!db.hasTable(table)) return true;
    CppSQLite3Query q = db.runQuery("select * from " + sqlTable(table) + " order by rowid");
    while (!q.atEnd()) {
      TDataRecord r;
      r.id = q.textByName("id");
      r.comp_name = q.textByName("comp_name");
      r.value = q.textByName("value");
      list.push_back(std::move(r));
      q.step();
    }
    q.release();
    return true;
  });
}
