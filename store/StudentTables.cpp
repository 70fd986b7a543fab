#include "StudentTables.h"

#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <algorithm>
#include <optional>

namespace {

std::function<void(std::size_t)>& nameReadHook() {
  static std::function<void(std::size_t)> hook;
  return hook;
}

const char kTablesOnly[] =
    "select * from sqlite_master where type='table' and name not like 'sqlite\\_%' escape '\\'";

std::vector<std::string> tableNames(CppSQLite3DB& db) {
  std::vector<std::string> names;
  CppSQLite3Query q = db.runQuery(kTablesOnly);
  while (!q.atEnd()) {
    names.push_back(q.textByName("name"));
    q.step();
  }
  q.release();
  return names;
}

// Of a name, no more than a stored value holds is read: a longer value (a
// file made elsewhere) is never read whole from the file.
constexpr std::size_t kNameBytes = decltype(TDataRecord::value)::capacity;

// The name in the query's current row (rowid, its value unless text or
// blob, the value's type), as textAt reads a text: up to a zero byte.
std::string nameIn(CppSQLite3DB& db, const std::string& table, CppSQLite3Query& q) {
  const std::string type = q.textAt(3);
  std::string value = type == "text" || type == "blob" ? db.readValueStart(table, "value", q.int64At(1), kNameBytes)
                                                       : q.textAt(2);
  if (nameReadHook()) nameReadHook()(value.size());
  value.resize(std::min(value.find('\0'), value.size()));
  return value;
}

// "<surname> <first name>": the values of the first "DANE UCZNIA" rows of
// "Nazwisko_DATA_EDIT" and "Imie_DATA_EDIT" ("" for a name without a row),
// read with one query that stops as soon as it has both: the step past the
// second would go on through every later row of the table in search of
// another match. The query never reads a text or blob value itself (typeof
// does not), nameIn reads its start.
std::string displayName(CppSQLite3DB& db, const std::string& table) {
  CppSQLite3Query q = db.runQuery(
      "select `comp_name`, rowid, case when typeof(`value`) in ('text', 'blob') then null else `value` end, "
      "typeof(`value`) from " + sqlTable(table) +
      " where `id`='DANE UCZNIA' AND `comp_name` in ('Nazwisko_DATA_EDIT', 'Imie_DATA_EDIT') order by rowid");
  std::optional<std::string> surname, name;
  while (!q.atEnd()) {
    std::optional<std::string>& value = q.textAt(0) == "Nazwisko_DATA_EDIT" ? surname : name;
    if (!value) value = nameIn(db, table, q);
    if (surname && name) break;
    q.step();
  }
  q.release();
  return surname.value_or("") + " " + name.value_or("");
}

// The list entry of a table; false for a name that does not fit an entry.
bool studentEntry(CppSQLite3DB& db, const std::string& table, TStudentListRecord& entry) {
  if (table.size() > decltype(TStudentListRecord::TableName)::capacity) return false;
  entry.DisplayName = displayName(db, table);
  entry.TableName = table;
  return true;
}

std::string studentInsert(const std::string& table, const TDataRecord& r) {
  return "insert into " + sqlTable(table) + "( id, comp_name, value ) values( '" + sqlQuoted(r.id) + "', '" +
         sqlQuoted(r.comp_name) + "', '" + bFunSqlEscapeValue(r.value) + "' )";
}

std::optional<std::string> storeRows(CppSQLite3DB& db, const std::string& table, const std::vector<TDataRecord>& list,
                                     const TProgress& progress) {
  return optFunInsertRows(db, list, [&](const TDataRecord& r) { return studentInsert(table, r); }, progress);
}

const char kFileMissing[] = "Plik nie istnieje: \n";

std::string insertFailed(const std::string& statement) {
  return cp1250("Błąd dodania wpisu do bazy:\n") + statement;
}

}  // namespace

std::string bFunSqlEscapeValue(std::string_view value) { return sqlQuoted(value); }

void vFunSetStudentNameReadHook(std::function<void(std::size_t bytes)> hook) { nameReadHook() = std::move(hook); }

int iFunCheckIsStudentExists(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                             bool create) {
  const std::string fun = "iFunCheckIsStudentExists";
  const std::string prefix = "SQLite exception: \n";
  if (create && !platform::fileExists(file) &&
      !bFunRunOnDatabase(DataStore, file, prefix, fun, [](CppSQLite3DB&) { return true; }))
    return -1;
  if (!bFunRequireFile(DataStore, file, kFileMissing, fun)) return -1;
  int result = 0;
  if (!bFunRunOnDatabase(DataStore, file, prefix, fun, [&](CppSQLite3DB& db) {
        result = db.hasTable(table) ? 1 : 0;
        return true;
      }))
    return -1;
  return result;
}

bool bFunGetTableList(TDataStore* DataStore, const TSystemPath& file, std::vector<std::string>& list) {
  const std::string fun = "bFunGetTableList";
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje: \n:", fun)) return false;
  return bFunRunOnDatabase(DataStore, file, "SQL exception: \n", fun, [&](CppSQLite3DB& db) {
    for (std::string& name : tableNames(db)) list.push_back(std::move(name));
    return true;
  });
}

bool bFunGetStudentsList(TDataStore* DataStore, const TSystemPath& file, std::vector<TStudentListRecord>& list) {
  // A missing file is reported as the table list reports it.
  if (!bFunRequireFile(DataStore, file, "Plik nie istnieje: \n:", "bFunGetTableList")) return false;
  return bFunRunOnDatabase(DataStore, file, "SQL exception: \n", "bFunGetStudentsList", [&](CppSQLite3DB& db) {
    for (const std::string& name : tableNames(db)) {
      TStudentListRecord entry;
      if (studentEntry(db, name, entry)) list.push_back(std::move(entry));
    }
    return true;
  });
}

bool bFunGetValue(TDataStore* DataStore, CppSQLite3Query& query, const std::string& column, std::string& value) {
  try {
    value = query.textByName(column);
    return true;
  } catch (const CppSQLite3Exception& e) {
    vFunReportError(DataStore, std::string("SQL exception: \n") + CppSQLite3Exception::codeName(e.code()),
                    "bFunGetValue");
    return false;
  }
}

bool bFunLoadCertData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                      std::vector<TDataRecord>& list) {
  if (!bFunRequireFile(DataStore, file, kFileMissing, "bFunLoadCertData")) return false;
  return bFunRunOnDatabase(DataStore, file, "SQL exception: \n", "bFunLoadCertData()", [&](CppSQLite3DB& db) {
    if (!db.hasTable(table)) {
      vFunReportError(DataStore, "Tablica nie istnieje: \n" + table, "bFunLoadCertData");
      return false;
    }
    CppSQLite3Query q = db.runQuery("select * from " + sqlTable(table) + " where 1 order by rowid");
    while (!q.atEnd()) {
      // A column that cannot be read leaves its field empty; the load goes on.
      TDataRecord record;
      std::string text;
      if (bFunGetValue(DataStore, q, "id", text)) record.id = text;
      text.clear();
      if (bFunGetValue(DataStore, q, "comp_name", text)) record.comp_name = text;
      text.clear();
      if (bFunGetValue(DataStore, q, "value", text)) record.value = text;
      list.push_back(std::move(record));
      q.step();
    }
    q.release();
    return true;
  });
}

bool bFunDeleteTable(TDataStore* DataStore, const TSystemPath& file, const std::string& table) {
  if (!bFunRequireFile(DataStore, file, kFileMissing, "bFunDeleteTable")) return false;
  return bFunRunOnDatabase(DataStore, file, "SQL exception: \n", "bFunDeleteTable()", [&](CppSQLite3DB& db) {
    if (db.hasTable(table)) db.runStatement("drop table " + sqlTable(table));
    return true;
  });
}

bool bFunSaveCertData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                      const std::vector<TDataRecord>& list, const TProgress& progress) {
  const std::string fun = "bFunSaveCertData()";
  if (!bFunRequireFile(DataStore, file, kFileMissing, fun)) return false;
  return bFunRunOnDatabase(DataStore, file, "SQLite exception: ", fun, [&](CppSQLite3DB& db) {
    if (db.hasTable(table)) {
      vFunReportError(DataStore, cp1250("Tablica już istnieje: ") + table, fun);
      return false;
    }
    db.runStatement(strFunDataTableCreate(table));
    TTransaction transaction(db);
    const std::optional<std::string> failed = storeRows(db, table, list, progress);
    transaction.commit();
    if (failed) {
      vFunReportError(DataStore, insertFailed(*failed), "");  // the rows before it stay; not logged
      return false;
    }
    return true;
  });
}

bool bFunReplaceStudent(TDataStore* DataStore, const TSystemPath& file, const std::string& formerTable,
                        const std::string& table, const std::vector<TDataRecord>& list,
                        const TProgress& progress) {
  TStudentListRecord entry;
  bool listed = false;
  return bFunReplaceStudent(DataStore, file, formerTable, table, list, progress, entry, listed);
}

bool bFunReplaceStudent(TDataStore* DataStore, const TSystemPath& file, const std::string& formerTable,
                        const std::string& table, const std::vector<TDataRecord>& list, const TProgress& progress,
                        TStudentListRecord& entry, bool& listed) {
  const std::string fun = "bFunReplaceStudent()";
  if (!bFunRequireFile(DataStore, file, kFileMissing, fun)) return false;
  return bFunWriteOnDatabase(DataStore, file, fun, [&](CppSQLite3DB& db) {
    TTransaction transaction(db);
    for (const std::string& old : {formerTable, table})
      if (!old.empty() && db.hasTable(old)) db.runStatement("drop table " + sqlTable(old));
    db.runStatement(strFunDataTableCreate(table));
    if (const std::optional<std::string> failed = storeRows(db, table, list, progress)) {
      vFunReportError(DataStore, insertFailed(*failed), fun);
      return false;  // rolled back: the former rows stay
    }
    transaction.commit();
    // The stored name, on the connection that stored it.
    listed = studentEntry(db, table, entry);
    return true;
  });
}
