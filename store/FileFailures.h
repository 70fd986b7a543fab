#pragma once
// How a failed file operation is told to the user: the cause (the system's
// error code, SQLite's result code, or what the file turned out to be) and
// the Polish sentence that says what to do about it.
#include <string>

class CppSQLite3DB;
class CppSQLite3Exception;

// Why a file operation failed.
struct TFileFailure {
  int systemError = 0;       // the operating system's error code, 0 when none
  int sqliteCode = 0;        // SQLite's result code, 0 when SQLite did not fail
  bool notDocument = false;  // the file is readable but holds no document
  bool inUse = false;        // another program holds the document locked
  bool notRegular = false;   // a named pipe, a device or a socket, no file
  // "Zapisz" found the file no longer the one opened or last saved (a
  // colleague saved it, another file took its name): nothing was written.
  bool changedSinceOpened = false;
  // A save into the document itself was interrupted and has not been put
  // back yet: the document is refused until that user's next start.
  bool interruptedSave = false;
  // A save into the document itself failed and not even the document's old
  // state could be put back (the disk does not keep what it is given): that
  // state is kept in `keptCopy`, a document file beside the working copy.
  bool notPutBack = false;
  std::string keptCopy;
  // The failure of a file the user picked, from platform::native::TPickedFile.
  static TFileFailure ofPickedFile(int error);
  // The number shown after "Kod błędu: ": the system's error code, else
  // SQLite's; "" when there is no code to show.
  std::string strFunCode() const;
  // A Polish sentence (Windows-1250, ending in "\n") that tells the user
  // what to do about the cause, or "" when the code says nothing plainer.
  std::string strFunAdvice() const;
};

// The sentence of TFileFailure::strFunAdvice for a system error code alone.
std::string strFunSystemErrorAdvice(int systemError);

// How every file failure is told to the user: the sentence that says what
// to do (where the cause has a plainer name), then "Kod błędu: " and the
// number (where there is one). Windows-1250, no line break at either end.
std::string strFunFailureLines(const TFileFailure& why);

// A failure of the access layer on a connection, as a file failure: SQLite's
// code and the system's error behind it. Always false.
bool bFunSqliteFailure(TFileFailure& why, const CppSQLite3Exception& e, const CppSQLite3DB* db = nullptr);
