#pragma once
// The one data-store object, the error convention of the data-store
// operations, and the error log "logs.sqdb".
#include "store/Records.h"

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class QPicture;
class QPainter;

// The last error message of the data store (Windows-1250). Guarded, so a
// worker thread's failure report cannot interleave with the GUI thread's.
class TErrorStream {
 public:
  void clear();
  TErrorStream& operator<<(std::string_view text);
  TErrorStream& operator<<(long long number);
  TErrorStream& operator<<(int number) { return *this << static_cast<long long>(number); }
  std::string str() const;
  bool empty() const;

 private:
  mutable std::recursive_mutex mutex_;
  std::string text_;
};

class TDataStore {
 public:
  TErrorStream ErrorStream;
  // The two page pictures and their canvases: made, drawn and owned by the
  // drawing side; absent until it makes them.
  QPicture* Page1Metafile = nullptr;
  QPicture* Page2Metafile = nullptr;
  QPainter* Page1Canvas = nullptr;
  QPainter* Page2Canvas = nullptr;
  bool bCalibMode = false;

  // Held across "rewrite the error text, then log it" so two threads'
  // reports never mix; recursive, so a report may nest inside a caller's.
  std::recursive_mutex ReportMutex;
};

// Appends one entry whose text is the current content of ErrorStream:
// kind 0 into table `error`, kind 1 into `info`. Never fails towards the
// caller and never touches ErrorStream.
void vFunSqlLogWrite(TDataStore* DataStore, const std::string& fun, int kind);

// Appends `text` (Windows-1250) to table `info` under `fun`, as
// vFunSqlLogWrite does, without the error text.
void vFunSqlLogNote(TDataStore* DataStore, const std::string& fun, const std::string& text);

// Appends one record per row of table `error`, in stored order. A log that
// does not exist gives false and leaves ErrorStream untouched.
bool bFunSqlGetLogsData(TDataStore* DataStore, std::vector<TLogRecord>& list);

// The failure step of every operation: ErrorStream becomes the message, an
// entry is logged under `fun` (unless `fun` is empty), as one guarded step.
void vFunReportError(TDataStore* DataStore, std::string_view message, const std::string& fun);

// "year.month.day hour:minute:second" of the injectable UTC clock, no leading zeros.
std::string strFunLogTime();
