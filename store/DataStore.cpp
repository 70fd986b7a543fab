#include "DataStore.h"

#include "store/CppSQLite3.h"
#include "store/Operation.h"
#include "store/Folders.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <exception>

// ---------------------------------------------------------------- error text

void TErrorStream::clear() {
  std::lock_guard lock(mutex_);
  text_.clear();
}

TErrorStream& TErrorStream::operator<<(std::string_view text) {
  std::lock_guard lock(mutex_);
  text_ += text;
  return *this;
}

TErrorStream& TErrorStream::operator<<(long long number) { return *this << std::string_view(std::to_string(number)); }

std::string TErrorStream::str() const {
  std::lock_guard lock(mutex_);
  return text_;
}

bool TErrorStream::empty() const {
  std::lock_guard lock(mutex_);
  return text_.empty();
}

// ---------------------------------------------------------------- log

std::string strFunLogTime() {
  const platform::UtcTime t = platform::utcNow();
  return std::to_string(t.year) + "." + std::to_string(t.month) + "." + std::to_string(t.day) + " " +
         std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" + std::to_string(t.second);
}

namespace {

void writeLogEntry(const std::string& fun, const std::string& message, int kind) {
  const char* table = kind == 0 ? "error" : kind == 1 ? "info" : nullptr;
  if (!table) return;
  TSystemPath folder;
  std::string ignored;
  if (!bFunFindMainDir(folder, ignored)) return;  // no folder, no entry; never reported again
  const TSystemPath path = folder / "logs.sqdb";
  const std::string when = strFunLogTime();
  try {
    CppSQLite3DB db;
    db.openFile(path);
    if (!db.hasTable(table))
      db.runStatement(std::string("create table `") + table + "`( datetime TEXT, fun TEXT, info TEXT )");
    db.runStatement(std::string("insert into `") + table + "`( datetime, fun, info ) values( '" + sqlQuoted(when) +
                    "', '" + sqlQuoted(fun) + "', '" + sqlQuoted(message) + "' )");
    db.closeFile();
  } catch (const CppSQLite3Exception&) {
    // The entry is lost; the caller's own failure is what it reports.
  } catch (const std::exception&) {
  }
}

}  // namespace

void vFunSqlLogWrite(TDataStore* DataStore, const std::string& fun, int kind) {
  std::lock_guard lock(DataStore->ReportMutex);
  writeLogEntry(fun, DataStore->ErrorStream.str(), kind);
}

void vFunSqlLogNote(TDataStore* DataStore, const std::string& fun, const std::string& text) {
  std::lock_guard lock(DataStore->ReportMutex);
  writeLogEntry(fun, text, 1);
}

void vFunReportError(TDataStore* DataStore, std::string_view message, const std::string& fun) {
  std::lock_guard lock(DataStore->ReportMutex);
  DataStore->ErrorStream.clear();
  DataStore->ErrorStream << message;
  if (!fun.empty()) writeLogEntry(fun, std::string(message), 0);
}

bool bFunSqlGetLogsData(TDataStore* DataStore, std::vector<TLogRecord>& list) {
  TSystemPath folder;
  std::string ignored;
  if (!bFunFindMainDir(folder, ignored)) return false;
  const TSystemPath path = folder / "logs.sqdb";
  if (!platform::fileExists(path)) return false;

  return bFunRunOnDatabase(DataStore, path, "Sql exception: ", "bFunSqlGetLogsData()", [&](CppSQLite3DB& db) {
    CppSQLite3Query q = db.runQuery("select * from `error`");
    while (!q.atEnd()) {
      TLogRecord r;
      r.datetime = q.textOrDefaultByName("datetime", "");
      r.fun = q.textOrDefaultByName("fun", "");
      r.info = q.textOrDefaultByName("info", "");
      list.push_back(std::move(r));
      q.step();
    }
    q.release();
    return true;
  });
}
