#pragma once
// What the student tables and the school template share: tables of three
// texts (id, comp_name, value) written row by row from TDataRecord lists.
#include "store/CppSQLite3.h"
#include "store/Records.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Called after each stored row with the rows stored so far and the total,
// so a wait window can move its bar.
using TProgress = std::function<void(std::size_t done, std::size_t total)>;

// "create table `<table>`( id TEXT, comp_name TEXT, value TEXT )"
std::string strFunDataTableCreate(std::string_view table);

// Runs insert(record) for every record in list order and reports progress.
// Returns the first statement that changed no row, or nothing when every
// row went in.
std::optional<std::string> optFunInsertRows(CppSQLite3DB& db, const std::vector<TDataRecord>& list,
                                            const std::function<std::string(const TDataRecord&)>& insert,
                                            const TProgress& progress);
