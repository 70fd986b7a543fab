#pragma once
// The settings file "ustawienia.sqset" of the data folder: named settings
// and the place names offered by the student-data dialog.
#include "store/DataStore.h"

#include <string>
#include <vector>

bool bFunSqlSettingWriteValue(TDataStore* DataStore, const std::string& name, const std::string& value);
bool bFunSqlSettingWriteValue(TDataStore* DataStore, const std::string& name, int value);
// A missing row or a NULL column reads as "" / 0 and is still a success.
// The out value is left as it was when the read fails.
bool bFunSqlGetSettingsValue(TDataStore* DataStore, const std::string& name, std::string& value);
bool bFunSqlGetSettingsValue(TDataStore* DataStore, const std::string& name, int& value);

// The items of a combo box become the names of `city` / `province`, sorted by
// their bytes. The items are replaced only once the query has run.
bool bFunStudentDataLoadCityList(TDataStore* DataStore, std::vector<std::string>& items);
bool bFunStudentDataLoadProvinceList(TDataStore* DataStore, std::vector<std::string>& items);
// Adds the name unless a row of that name exists.
bool bFunStudentDataAddCity(TDataStore* DataStore, const std::string& name);
bool bFunStudentDataAddProvince(TDataStore* DataStore, const std::string& name);
