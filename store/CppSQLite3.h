#pragma once
// Thin access layer over the SQLite C library. Every failure is thrown as a
// CppSQLite3Exception; the data-store operations catch it and turn it into a
// false result with a message.
#include <sqlite3.h>

#include "platform/SystemPath.h"

#include <cstddef>
#include <string>

// The layer's own result code, named "CPPSQLITE_ERROR".
constexpr int CPPSQLITE_ERROR = 1000;

class CppSQLite3Exception {
 public:
  // The text becomes "<code name>[<code>]: <message>". When the message came
  // from sqlite3_exec it is handed over with deleteMessage set and freed here.
  CppSQLite3Exception(int errCode, const char* errMessage, bool deleteMessage = false);
  CppSQLite3Exception(const CppSQLite3Exception& other);
  CppSQLite3Exception& operator=(const CppSQLite3Exception& other);
  virtual ~CppSQLite3Exception();

  int code() const { return mnErrCode; }
  const char* message() const { return mpszErrMess ? mpszErrMess : ""; }

  // SQLite's symbolic name of a primary result code; 1000 is "CPPSQLITE_ERROR";
  // anything else (26 and every extended code too) is "UNKNOWN_ERROR".
  static const char* codeName(int code);

 private:
  int mnErrCode;
  char* mpszErrMess;
};

// The error code of the operating system behind the last failure of the
// connection: SQLite's own note of it, else what the main database file's
// last failed call left (a write refused by the file-size limit, whose
// note later calls of the rollback overwrite); 0 when none.
int sqlite3SystemErrno(sqlite3* db);

// A read-only connection to a database held in memory, a copy of `bytes`;
// nullptr when SQLite cannot take it. The caller closes it.
sqlite3* sqlite3OpenBytes(const std::string& bytes);

class CppSQLite3Query {
 public:
  CppSQLite3Query();
  CppSQLite3Query(sqlite3* db, sqlite3_stmt* vm, bool eof, bool ownVM = true);
  CppSQLite3Query(CppSQLite3Query&& other) noexcept;
  // Releases this query's own statement (failures swallowed), then takes
  // over the other's; the other is left without a statement.
  CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;
  CppSQLite3Query(const CppSQLite3Query&) = delete;
  CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
  virtual ~CppSQLite3Query();

  bool atEnd();
  void step();
  void release();
  int columnCount();
  int columnIndex(const std::string& name);
  int columnType(int index);

  // NULL reads as the empty text.
  std::string textByName(const std::string& name);
  std::string textAt(int index, const std::string& nullValue = "");
  std::string textOrDefaultByName(const std::string& name, const std::string& nullValue = "");
  int intAt(int index, int nullValue = 0);
  int intByName(const std::string& name, int nullValue = 0);
  sqlite3_int64 int64At(int index);

  void requireStatement() const;

 private:
  void finalizeQuietly() noexcept;

  sqlite3* mpDB;
  sqlite3_stmt* mpVM;
  bool mbEof;
  int mnCols;
  bool mbOwnVM;
};

// The SQLite VFS to open a file with (a path as the system names it):
// SQLite's own, or, on a file system that offers no locks, its VFS without
// locking ("unix-none"), where SQLite's locks would only ever say "database
// is locked". Such a file is worked on unlocked, as its only user's.
const char* sqliteVfsFor(const std::string& systemPath);

class CppSQLite3DB {
 public:
  CppSQLite3DB();
  CppSQLite3DB(const CppSQLite3DB&) = delete;
  CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;
  virtual ~CppSQLite3DB();  // closes; a failing close is swallowed

  // Opens (creating when missing) the database at the path.
  void openFile(const TSystemPath& path);
  // Opens the database at a path as the system names it (UTF-8 bytes, not
  // Windows-1250) with SQLite's open flags (SQLITE_OPEN_READONLY, ...), and
  // the VFS sqliteVfsFor gives.
  void openSystemPath(const std::string& path, int flags);
  // Opens a read-only database held in memory, a copy of `bytes` (a file's
  // content as read through its descriptor): no file is opened by name.
  void openBytes(const std::string& bytes);
  void closeFile();
  void setBusyWait(int milliseconds);
  bool hasTable(const std::string& table);
  int runStatement(const std::string& sql);
  CppSQLite3Query runQuery(const std::string& sql);
  int runIntQuery(const std::string& sql, int nullValue = 0);
  // The first `most` bytes (at most) of the text or blob in `column` of the
  // row `rowid` of `table`, as stored, read through SQLite's incremental
  // I/O: of a longer value no more is read from the file nor held in memory.
  std::string readValueStart(const std::string& table, const std::string& column, sqlite3_int64 rowid,
                             std::size_t most);
  sqlite3_stmt* prepare(const std::string& sql);
  void requireOpen() const;

  bool isOpen() const { return mpDB != nullptr; }
  // Copies the whole committed state of source's main database into this
  // one in one transaction (SQLite's online backup); a hot journal of the
  // source is rolled back first, as for any reader.
  void copyDatabaseFrom(CppSQLite3DB& source);
  // The error code of the operating system behind the last failure (0 when none).
  int systemError() const { return sqlite3SystemErrno(mpDB); }

 private:
  sqlite3* mpDB;
  int mnBusyTimeoutMs;
};
