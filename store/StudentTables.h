#pragma once
// The student tables of a document file: one table per student, named
// "PESEL" + the student's PESEL number, holding the student's rows as
// "create table `<name>`( id TEXT, comp_name TEXT, value TEXT )".
// Rows come back in the order in which they were stored. The document file
// is named as the system names it; tables, tags and values are text.
#include "store/CppSQLite3.h"
#include "store/DataRows.h"
#include "store/DataStore.h"
#include "store/Records.h"
#include "platform/SystemPath.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// 1 when the table exists, 0 when not, -1 on failure. With create set, a
// missing file is first made as an empty database.
int iFunCheckIsStudentExists(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                             bool create);

// Appends the names of the file's tables (indexes, views and SQLite's own
// tables are not listed).
bool bFunGetTableList(TDataStore* DataStore, const TSystemPath& file, std::vector<std::string>& list);

// Appends one entry per student table: "<surname> <first name>" from the
// rows "Nazwisko_DATA_EDIT" and "Imie_DATA_EDIT" tagged "DANE UCZNIA".
// A table whose name does not fit an entry is no student's and is left out.
bool bFunGetStudentsList(TDataStore* DataStore, const TSystemPath& file, std::vector<TStudentListRecord>& list);

// For tests: called with the number of bytes the student listing reads of
// each name from the file.
void vFunSetStudentNameReadHook(std::function<void(std::size_t bytes)> hook);

// The named column of the query's current row (NULL reads as empty) into
// value; value keeps its content when the column cannot be read.
bool bFunGetValue(TDataStore* DataStore, CppSQLite3Query& query, const std::string& column, std::string& value);

// Appends one record per row of the table, in the order the rows were stored.
bool bFunLoadCertData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                      std::vector<TDataRecord>& list);

// Drops the table when it exists; a missing table is no failure.
bool bFunDeleteTable(TDataStore* DataStore, const TSystemPath& file, const std::string& table);

// Creates the table (which must not exist) and stores every record in one
// transaction. When an insert stores no row, the rows before it stay.
bool bFunSaveCertData(TDataStore* DataStore, const TSystemPath& file, const std::string& table,
                      const std::vector<TDataRecord>& list, const TProgress& progress = {});

// Replaces a student's rows as one transaction on one connection: drops
// formerTable (the student's table under an earlier PESEL number; empty
// when it has not changed) and table where they exist, creates table and
// stores every record. Any failure rolls all of it back, so the student's
// former rows stay as they were; a failure of the file (a full disk) is told
// with its sentence and number (strFunFailureLines).
bool bFunReplaceStudent(TDataStore* DataStore, const TSystemPath& file, const std::string& formerTable,
                        const std::string& table, const std::vector<TDataRecord>& list,
                        const TProgress& progress = {});

// The same, and then the student list's entry of the stored table, as
// bFunGetStudentsList makes it (listed false when the list has none).
bool bFunReplaceStudent(TDataStore* DataStore, const TSystemPath& file, const std::string& formerTable,
                        const std::string& table, const std::vector<TDataRecord>& list, const TProgress& progress,
                        TStudentListRecord& entry, bool& listed);

// The value with every single quote doubled, ready to stand between quotes
// in a statement; the value itself is left alone.
std::string bFunSqlEscapeValue(std::string_view value);
