#include "Settings.h"

#include "store/Folders.h"
#include "store/Operation.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"

namespace {

bool writeSetting(TDataStore* DataStore, const std::string& name, const std::string& column,
                  const std::string& value) {
  const std::string fun = "bFunSqlSettingWriteValue()";
  const TSystemPath path = strFunGetSettingsFilePath(DataStore, false);
  if (!bFunRequireFile(DataStore, path, "Plik nie istnieje.\n\n", fun)) return false;
  // An access-layer failure of the write is reported but not logged.
  return bFunRunOnDatabase(DataStore, path, "SQLite exception: ", "", [&](CppSQLite3DB& db) {
    if (db.runStatement("update `settings` set `" + column + "`='" + sqlQuoted(value) + "' where `name`='" +
                        sqlQuoted(name) + "'") > 0)
      return true;
    return db.runStatement("insert into `settings`(`name`, `" + column + "`) values( '" + sqlQuoted(name) + "', '" +
                           sqlQuoted(value) + "')") > 0;
  });
}

template <class Value, class Read>
bool readSetting(TDataStore* DataStore, const std::string& name, Value& value, Read read) {
  const std::string fun = "bFunSqlGetSettingsValue()";
  const TSystemPath path = strFunGetSettingsFilePath(DataStore, false);
  if (!bFunRequireFile(DataStore, path, "Plik nie istnieje:\n", fun)) return false;
  return bFunRunOnDatabase(DataStore, path, "SqlException:\n\n", fun, [&](CppSQLite3DB& db) {
    CppSQLite3Query q = db.runQuery("select * from `settings` where `name`='" + sqlQuoted(name) + "'");
    Value result {};
    if (!q.atEnd()) result = read(q);
    q.release();
    value = result;
    return true;
  });
}

bool loadPlaces(TDataStore* DataStore, const std::string& table, const std::string& fun,
                std::vector<std::string>& items) {
  const TSystemPath path = strFunGetSettingsFilePath(DataStore, false);
  if (!bFunRequireFile(DataStore, path, "Plik nie istnieje.\n", fun)) return false;
  return bFunRunOnDatabase(DataStore, path, "Sql exception: ", fun, [&](CppSQLite3DB& db) {
    CppSQLite3Query q = db.runQuery("select * from `" + table + "` order by `name` ASC");
    std::vector<std::string> names;
    while (!q.atEnd()) {
      names.push_back(q.textByName("name"));
      q.step();
    }
    q.release();
    items = std::move(names);
    return true;
  });
}

bool addPlace(TDataStore* DataStore, const std::string& table, const std::string& fun, const std::string& name) {
  const TSystemPath path = strFunGetSettingsFilePath(DataStore, false);
  if (!bFunRequireFile(DataStore, path, "Plik nie istnieje.\n", fun)) return false;
  const std::string quoted = sqlQuoted(name);
  return bFunRunOnDatabase(DataStore, path, "Sql exception: ", fun, [&](CppSQLite3DB& db) {
    if (db.runStatement("update `" + table + "` set `name`='" + quoted + "' where `name`='" + quoted + "'") > 0)
      return true;
    return db.runStatement("insert into `" + table + "`( `name` ) values( '" + quoted + "' )") > 0;
  });
}

}  // namespace

bool bFunSqlSettingWriteValue(TDataStore* DataStore, const std::string& name, const std::string& value) {
  return writeSetting(DataStore, name, "text_value", value);
}

bool bFunSqlSettingWriteValue(TDataStore* DataStore, const std::string& name, int value) {
  return writeSetting(DataStore, name, "int_value", std::to_string(value));
}

bool bFunSqlGetSettingsValue(TDataStore* DataStore, const std::string& name, std::string& value) {
  return readSetting(DataStore, name, value, [](CppSQLite3Query& q) { return q.textByName("text_value"); });
}

bool bFunSqlGetSettingsValue(TDataStore* DataStore, const std::string& name, int& value) {
  return readSetting(DataStore, name, value, [](CppSQLite3Query& q) { return q.intByName("int_value", 0); });
}

bool bFunStudentDataLoadCityList(TDataStore* DataStore, std::vector<std::string>& items) {
  return loadPlaces(DataStore, "city", "bFunStudentDataLoadCityList()", items);
}

bool bFunStudentDataLoadProvinceList(TDataStore* DataStore, std::vector<std::string>& items) {
  return loadPlaces(DataStore, "province", "bFunStudentDataLoadProvinceList()", items);
}

bool bFunStudentDataAddCity(TDataStore* DataStore, const std::string& name) {
  return addPlace(DataStore, "city", "bFunStudentDataAddCity()", name);
}

bool bFunStudentDataAddProvince(TDataStore* DataStore, const std::string& name) {
  return addPlace(DataStore, "province", "bFunStudentDataAddProvince()", name);
}
