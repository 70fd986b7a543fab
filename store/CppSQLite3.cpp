#include "CppSQLite3.h"

#include "SqlText.h"
#include "platform/NativeFiles.h"

#include <algorithm>
#include <cstring>

namespace {

const char* kNames[] = {
    "SQLITE_OK",     "SQLITE_ERROR",  "SQLITE_INTERNAL", "SQLITE_PERM",     "SQLITE_ABORT",
    "SQLITE_BUSY",   "SQLITE_LOCKED", "SQLITE_NOMEM",    "SQLITE_READONLY", "SQLITE_INTERRUPT",
    "SQLITE_IOERR",  "SQLITE_CORRUPT", "SQLITE_NOTFOUND", "SQLITE_FULL",    "SQLITE_CANTOPEN",
    "SQLITE_PROTOCOL", "SQLITE_EMPTY", "SQLITE_SCHEMA",   "SQLITE_TOOBIG",  "SQLITE_CONSTRAINT",
    "SQLITE_MISMATCH", "SQLITE_MISUSE", "SQLITE_NOLFS",   "SQLITE_AUTH",    "SQLITE_FORMAT",
    "SQLITE_RANGE",
};

}  // namespace

// ---------------------------------------------------------------- exception

CppSQLite3Exception::CppSQLite3Exception(int errCode, const char* errMessage, bool deleteMessage)
    : mnErrCode(errCode),
      mpszErrMess(sqlite3_mprintf("%s[%d]: %s", codeName(errCode), errCode, errMessage ? errMessage : "")) {
  if (deleteMessage && errMessage) sqlite3_free(const_cast<char*>(errMessage));
}

CppSQLite3Exception::CppSQLite3Exception(const CppSQLite3Exception& other)
    : mnErrCode(other.mnErrCode), mpszErrMess(other.mpszErrMess ? sqlite3_mprintf("%s", other.mpszErrMess) : nullptr) {}

CppSQLite3Exception& CppSQLite3Exception::operator=(const CppSQLite3Exception& other) {
  if (this != &other) {
    char* copy = other.mpszErrMess ? sqlite3_mprintf("%s", other.mpszErrMess) : nullptr;
    sqlite3_free(mpszErrMess);
    mpszErrMess = copy;
    mnErrCode = other.mnErrCode;
  }
  return *this;
}

CppSQLite3Exception::~CppSQLite3Exception() { sqlite3_free(mpszErrMess); }

const char* CppSQLite3Exception::codeName(int code) {
  if (code >= 0 && code <= 25) return kNames[code];
  switch (code) {
    case SQLITE_ROW: return "SQLITE_ROW";
    case SQLITE_DONE: return "SQLITE_DONE";
    case CPPSQLITE_ERROR: return "CPPSQLITE_ERROR";
    default: return "UNKNOWN_ERROR";
  }
}

// ---------------------------------------------------------------- query

CppSQLite3Query::CppSQLite3Query() : mpDB(nullptr), mpVM(nullptr), mbEof(true), mnCols(0), mbOwnVM(false) {}

CppSQLite3Query::CppSQLite3Query(sqlite3* db, sqlite3_stmt* vm, bool eof, bool ownVM)
    : mpDB(db), mpVM(vm), mbEof(eof), mnCols(sqlite3_column_count(vm)), mbOwnVM(ownVM) {}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept
    : mpDB(other.mpDB), mpVM(other.mpVM), mbEof(other.mbEof), mnCols(other.mnCols), mbOwnVM(other.mbOwnVM) {
  other.mpVM = nullptr;
}

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept {
  if (this != &other) {
    finalizeQuietly();
    mpVM = other.mpVM;
    mbEof = other.mbEof;
    mnCols = other.mnCols;
    mbOwnVM = other.mbOwnVM;
    mpDB = other.mpDB;
    other.mpVM = nullptr;
  }
  return *this;
}

CppSQLite3Query::~CppSQLite3Query() { finalizeQuietly(); }

void CppSQLite3Query::finalizeQuietly() noexcept {
  if (mpVM && mbOwnVM) sqlite3_finalize(mpVM);
  mpVM = nullptr;
}

void CppSQLite3Query::requireStatement() const {
  if (!mpVM) throw CppSQLite3Exception(CPPSQLITE_ERROR, "Null Virtual Machine pointer");
}

bool CppSQLite3Query::atEnd() {
  requireStatement();
  return mbEof;
}

int CppSQLite3Query::columnCount() {
  requireStatement();
  return mnCols;
}

void CppSQLite3Query::step() {
  requireStatement();
  const int rc = sqlite3_step(mpVM);
  if (rc == SQLITE_DONE) {
    mbEof = true;
  } else if (rc != SQLITE_ROW) {
    const int frc = sqlite3_finalize(mpVM);
    mpVM = nullptr;
    throw CppSQLite3Exception(frc, sqlite3_errmsg(mpDB));
  }
}

void CppSQLite3Query::release() {
  if (mpVM && mbOwnVM) {
    const int rc = sqlite3_finalize(mpVM);
    mpVM = nullptr;
    if (rc != SQLITE_OK) throw CppSQLite3Exception(rc, sqlite3_errmsg(mpDB));
  }
}

int CppSQLite3Query::columnIndex(const std::string& name) {
  requireStatement();
  for (int i = 0; i < mnCols; ++i) {
    const char* col = sqlite3_column_name(mpVM, i);
    if (col && name == col) return i;
  }
  throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid field name requested");
}

int CppSQLite3Query::columnType(int index) {
  requireStatement();
  if (index < 0 || index > mnCols - 1) throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid field index requested");
  return sqlite3_column_type(mpVM, index);
}

std::string CppSQLite3Query::textByName(const std::string& name) {
  const int i = columnIndex(name);
  const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(mpVM, i));
  return t ? std::string(t) : std::string();
}

std::string CppSQLite3Query::textAt(int index, const std::string& nullValue) {
  if (columnType(index) == SQLITE_NULL) return nullValue;
  const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(mpVM, index));
  return t ? std::string(t) : std::string();
}

std::string CppSQLite3Query::textOrDefaultByName(const std::string& name, const std::string& nullValue) {
  return textAt(columnIndex(name), nullValue);
}

int CppSQLite3Query::intAt(int index, int nullValue) {
  if (columnType(index) == SQLITE_NULL) return nullValue;
  return sqlite3_column_int(mpVM, index);
}

int CppSQLite3Query::intByName(const std::string& name, int nullValue) { return intAt(columnIndex(name), nullValue); }

sqlite3_int64 CppSQLite3Query::int64At(int index) {
  requireStatement();
  return sqlite3_column_int64(mpVM, index);
}

// ---------------------------------------------------------------- database

CppSQLite3DB::CppSQLite3DB() : mpDB(nullptr), mnBusyTimeoutMs(60000) {}

CppSQLite3DB::~CppSQLite3DB() {
  if (mpDB) sqlite3_close(mpDB);
  mpDB = nullptr;
}

void CppSQLite3DB::openFile(const TSystemPath& path) {
  const std::string& utf8 = path.bytes();
  // The program's own files (working copy, settings, log, ...) hold
  // students' data: one that is made here is the user's alone.
  platform::native::makePrivateFile(utf8);
  const int rc = sqlite3_open(utf8.c_str(), &mpDB);
  if (rc != SQLITE_OK) {
    const std::string msg = mpDB ? sqlite3_errmsg(mpDB) : "";
    if (mpDB) sqlite3_close(mpDB);
    mpDB = nullptr;
    throw CppSQLite3Exception(rc, msg.c_str());
  }
  setBusyWait(mnBusyTimeoutMs);
}

const char* sqliteVfsFor(const std::string& systemPath) {
  return platform::native::offersNoLocks(systemPath) ? "unix-none" : nullptr;
}

void CppSQLite3DB::openSystemPath(const std::string& path, int flags) {
  if (mpDB) closeFile();
  const int rc = sqlite3_open_v2(path.c_str(), &mpDB, flags, sqliteVfsFor(path));
  if (rc != SQLITE_OK) {
    const std::string msg = mpDB ? sqlite3_errmsg(mpDB) : "";
    if (mpDB) sqlite3_close(mpDB);
    mpDB = nullptr;
    throw CppSQLite3Exception(rc, msg.c_str());
  }
  sqlite3_extended_result_codes(mpDB, 1);
  setBusyWait(mnBusyTimeoutMs);
}

void CppSQLite3DB::copyDatabaseFrom(CppSQLite3DB& source) {
  requireOpen();
  source.requireOpen();
  sqlite3_backup* backup = sqlite3_backup_init(mpDB, "main", source.mpDB, "main");
  if (!backup) throw CppSQLite3Exception(sqlite3_extended_errcode(mpDB), sqlite3_errmsg(mpDB));
  const int rc = sqlite3_backup_step(backup, -1);
  const int finished = sqlite3_backup_finish(backup);
  if (rc != SQLITE_DONE) {
    // The failing side carries the message: a source that is no database, or a full target.
    const bool sourceFailed = sqlite3_extended_errcode(source.mpDB) == rc;
    throw CppSQLite3Exception(rc, sqlite3_errmsg(sourceFailed ? source.mpDB : mpDB));
  }
  if (finished != SQLITE_OK) throw CppSQLite3Exception(finished, sqlite3_errmsg(mpDB));
}

int sqlite3SystemErrno(sqlite3* db) {
  if (!db) return 0;
  if (const int e = sqlite3_system_errno(db)) return e;
  int last = 0;
  return sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &last) == SQLITE_OK ? last : 0;
}

sqlite3* sqlite3OpenBytes(const std::string& bytes) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size() + 1));
  if (copy) std::memcpy(copy, bytes.data(), bytes.size());
  if (!copy || sqlite3_deserialize(db, "main", copy, static_cast<sqlite3_int64>(bytes.size()),
                                   static_cast<sqlite3_int64>(bytes.size()) + 1,
                                   SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) != SQLITE_OK) {
    sqlite3_close(db);  // SQLite freed the copy, or it was never made
    return nullptr;
  }
  return db;
}

void CppSQLite3DB::openBytes(const std::string& bytes) {
  if (mpDB) closeFile();
  mpDB = sqlite3OpenBytes(bytes);
  if (!mpDB) throw CppSQLite3Exception(SQLITE_NOMEM, "deserialize");
  sqlite3_extended_result_codes(mpDB, 1);
}

void CppSQLite3DB::closeFile() {
  if (mpDB) {
    if (sqlite3_close(mpDB) != SQLITE_OK) throw CppSQLite3Exception(CPPSQLITE_ERROR, "Unable to close database");
    mpDB = nullptr;
  }
}

void CppSQLite3DB::setBusyWait(int milliseconds) {
  mnBusyTimeoutMs = milliseconds;
  if (mpDB) sqlite3_busy_timeout(mpDB, mnBusyTimeoutMs);
}

void CppSQLite3DB::requireOpen() const {
  if (!mpDB) throw CppSQLite3Exception(CPPSQLITE_ERROR, "Database not open");
}

bool CppSQLite3DB::hasTable(const std::string& table) {
  return runIntQuery("select count(*) from sqlite_master where type='table' and name='" + sqlQuoted(table) + "'", 0) > 0;
}

int CppSQLite3DB::runStatement(const std::string& sql) {
  requireOpen();
  char* err = nullptr;
  const int rc = sqlite3_exec(mpDB, sql.c_str(), nullptr, nullptr, &err);
  if (rc != SQLITE_OK) throw CppSQLite3Exception(rc, err, true);
  return sqlite3_changes(mpDB);
}

sqlite3_stmt* CppSQLite3DB::prepare(const std::string& sql) {
  requireOpen();
  sqlite3_stmt* vm = nullptr;
  const int rc = sqlite3_prepare_v2(mpDB, sql.c_str(), -1, &vm, nullptr);
  if (rc != SQLITE_OK) throw CppSQLite3Exception(rc, sqlite3_errmsg(mpDB));
  return vm;
}

CppSQLite3Query CppSQLite3DB::runQuery(const std::string& sql) {
  sqlite3_stmt* vm = prepare(sql);
  if (!vm) throw CppSQLite3Exception(SQLITE_MISUSE, "No statement in query");
  const int rc = sqlite3_step(vm);
  if (rc == SQLITE_DONE) return CppSQLite3Query(mpDB, vm, true);
  if (rc == SQLITE_ROW) return CppSQLite3Query(mpDB, vm, false);
  const int frc = sqlite3_finalize(vm);
  throw CppSQLite3Exception(frc, sqlite3_errmsg(mpDB));
}

std::string CppSQLite3DB::readValueStart(const std::string& table, const std::string& column, sqlite3_int64 rowid,
                                         std::size_t most) {
  requireOpen();
  sqlite3_blob* blob = nullptr;
  int rc = sqlite3_blob_open(mpDB, "main", table.c_str(), column.c_str(), rowid, 0, &blob);
  std::string bytes;
  if (rc == SQLITE_OK) {
    bytes.resize(std::min(most, static_cast<std::size_t>(sqlite3_blob_bytes(blob))));
    rc = sqlite3_blob_read(blob, bytes.data(), static_cast<int>(bytes.size()), 0);
  }
  if (rc != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(mpDB);
    sqlite3_blob_close(blob);
    throw CppSQLite3Exception(rc, message.c_str());
  }
  sqlite3_blob_close(blob);
  return bytes;
}

int CppSQLite3DB::runIntQuery(const std::string& sql, int nullValue) {
  CppSQLite3Query q = runQuery(sql);
  if (q.atEnd() || q.columnCount() < 1) throw CppSQLite3Exception(CPPSQLITE_ERROR, "Invalid scalar query");
  const int v = q.intAt(0, nullValue);
  q.release();
  return v;
}
