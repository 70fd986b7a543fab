#pragma once
// The frame every data-store operation shares: check the file, open one
// connection for this call only, run the statements, close; a failure of
// the access layer becomes "<prefix><code name>" in ErrorStream plus a log
// entry, and a false result.
#include "store/CppSQLite3.h"
#include "store/DataStore.h"
#include "store/DocumentFiles.h"
#include "platform/Platform.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

// False, with message + path reported under fun, when no file is at path.
inline bool bFunRequireFile(TDataStore* DataStore, const TSystemPath& path, std::string_view message,
                            const std::string& fun) {
  if (platform::fileExists(path)) return true;
  vFunReportError(DataStore, std::string(message) + path.text(), fun);
  return false;
}

// Runs body(db) on a connection to path. The queries the body makes end
// with it, before the connection is closed. An access-layer exception is
// reported as describe(exception, connection), once the connection is
// closed, under logFun (not logged when logFun is empty). The body reports
// its own failures and returns false for them.
template <class Describe, class Body>
bool bFunRunOnDatabaseTold(TDataStore* DataStore, const TSystemPath& path, const std::string& logFun,
                           Describe&& describe, Body&& body) {
  std::string message;
  {
    CppSQLite3DB db;
    try {
      db.openFile(path);
      const bool ok = body(db);
      db.closeFile();
      return ok;
    } catch (const CppSQLite3Exception& e) {
      message = describe(e, db);
    }
  }
  vFunReportError(DataStore, message, logFun);
  return false;
}

// The same, an exception told as sqlPrefix + code name.
template <class Body>
bool bFunRunOnDatabase(TDataStore* DataStore, const TSystemPath& path, std::string_view sqlPrefix,
                       const std::string& logFun, Body&& body) {
  return bFunRunOnDatabaseTold(
      DataStore, path, logFun,
      [sqlPrefix](const CppSQLite3Exception& e, const CppSQLite3DB&) {
        return std::string(sqlPrefix) + CppSQLite3Exception::codeName(e.code());
      },
      std::forward<Body>(body));
}

// The same for a write the user waits on: an exception is told as every
// file failure is (strFunFailureLines), a plain sentence where the cause has
// one (a full disk, no permission) and "Kod błędu: " with the number.
template <class Body>
bool bFunWriteOnDatabase(TDataStore* DataStore, const TSystemPath& path, const std::string& logFun, Body&& body) {
  return bFunRunOnDatabaseTold(
      DataStore, path, logFun,
      [](const CppSQLite3Exception& e, const CppSQLite3DB& db) {
        TFileFailure why;
        bFunSqliteFailure(why, e, &db);
        return strFunFailureLines(why);
      },
      std::forward<Body>(body));
}

// Integer columns of the query's current row into the record's members:
// each pair names a column and the member it fills; NULL reads as 0.
template <class Record>
using TIntColumn = std::pair<const char*, int Record::*>;

template <class Record, std::size_t N>
void vFunReadIntColumns(CppSQLite3Query& query, Record& record, const TIntColumn<Record> (&columns)[N]) {
  for (const auto& [column, member] : columns) record.*member = query.intByName(column, 0);
}

// One transaction on an open connection: begun on construction, rolled back
// on destruction unless commit() succeeded, so every early return and every
// exception leaves the file as it was before.
class TTransaction {
 public:
  explicit TTransaction(CppSQLite3DB& db) : db_(db) { db_.runStatement("begin transaction;"); }
  ~TTransaction() {
    if (!open_) return;
    try {
      db_.runStatement("rollback transaction;");
    } catch (const CppSQLite3Exception&) {
      // Closing the connection rolls the transaction back as well.
    }
  }
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;

  void commit() {
    db_.runStatement("commit transaction;");
    open_ = false;
  }

 private:
  CppSQLite3DB& db_;
  bool open_ = true;
};
