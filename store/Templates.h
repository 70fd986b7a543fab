#pragma once
// The school template "szablony.sqset" of the data folder: one table of
// rows tagged "DANE SZKOLY", replaced whole on every write.
#include "store/DataStore.h"
#include "store/Records.h"
#include "platform/SystemPath.h"

#include <string>
#include <vector>

// The template file's path; makes the file, empty, when it is missing.
// Empty while the data folder cannot be had.
TSystemPath strFunGetTemplatesFilePath(TDataStore* DataStore);

// The table becomes exactly the list's rows, in list order, in one
// transaction: a failure leaves the former template in place.
bool bFunSqlTemplateWriteData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                              const std::vector<TDataRecord>& list);

// The list becomes the table's rows in stored order; a missing table gives
// an empty list and true.
bool bFunSqlTemplateReadData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                             std::vector<TDataRecord>& list);
