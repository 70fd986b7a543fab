#include "DataRows.h"

#include "store/SqlText.h"

std::string strFunDataTableCreate(std::string_view table) {
  return "create table " + sqlTable(table) + "( id TEXT, comp_name TEXT, value TEXT )";
}

std::optional<std::string> optFunInsertRows(CppSQLite3DB& db, const std::vector<TDataRecord>& list,
                                            const std::function<std::string(const TDataRecord&)>& insert,
                                            const TProgress& progress) {
  std::size_t done = 0;
  for (const TDataRecord& record : list) {
    std::string statement = insert(record);
    if (db.runStatement(statement) == 0) return statement;
    ++done;
    if (progress) progress(done, list.size());
  }
  return std::nullopt;
}
