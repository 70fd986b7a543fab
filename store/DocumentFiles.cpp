#include "DocumentFiles.h"

#include "store/CppSQLite3.h"
#include "store/SqlText.h"
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace native = platform::native;

namespace {

// Files SQLite may keep beside a database.
const char* const kCompanions[] = {"-journal", "-wal", "-shm"};

bool fromSystem(TFileFailure& why) {
  why.systemError = platform::lastError();
  return false;
}

bool fromSqlite(TFileFailure& why, const CppSQLite3Exception& e, const CppSQLite3DB* db = nullptr) {
  return bFunSqliteFailure(why, e, db);
}

bool fromErrno(TFileFailure& why, int error) {
  why.systemError = error;
  return false;
}

// Opens a document file of the user's: another program that holds it makes
// the open or the save fail within a moment instead of a minute.
void openDocument(CppSQLite3DB& db, const std::string& path, int flags) {
  db.setBusyWait(kDocumentBusyWaitMs);
  db.openSystemPath(path, flags);
}

// Writes the bytes of one file over another in place (making it only when
// it is missing), cuts it to their length and flushes it.
bool overwriteWithBytes(const std::string& from, const std::string& to, TFileFailure& why) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return fromErrno(why, errno);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
  if (out < 0) {
    const int e = errno;
    ::close(in);
    return fromErrno(why, e);
  }
  int error = 0;
  struct stat st {};
  if (::fstat(out, &st) != 0)
    error = errno;
  else if (!S_ISREG(st.st_mode))
    error = EINVAL;
  std::vector<char> buffer(1 << 16);
  off_t at = 0;
  while (error == 0) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) error = errno;
    if (got <= 0) break;
    for (ssize_t done = 0; done < got && error == 0;) {
      const ssize_t put = ::pwrite(out, buffer.data() + done, static_cast<size_t>(got - done), at);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) error = errno;
      if (put > 0) {
        done += put;
        at += put;
      }
    }
  }
  if (error == 0 && ::ftruncate(out, at) != 0) error = errno;
  if (error == 0 && ::fsync(out) != 0) error = errno;
  if (::close(out) != 0 && error == 0) error = errno;
  ::close(in);
  return error == 0 ? true : fromErrno(why, error);
}

// The marker names the document whose old state is kept; it appears in one
// step (written aside, flushed, renamed) once the kept state is on the disk.
bool writeMarker(const std::string& marker, const std::string& document, TFileFailure& why) {
  const std::string next = marker + ".nowy";
  const int fd = ::open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return fromErrno(why, errno);
  int error = 0;
  if (::write(fd, document.data(), document.size()) != static_cast<ssize_t>(document.size()))
    error = errno != 0 ? errno : EIO;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  ::close(fd);
  if (error == 0 && !native::replaceFile(next, marker)) error = platform::lastError();
  if (error != 0) native::removeFile(next);
  return error == 0 ? true : fromErrno(why, error);
}

// Drops the marker first (durably), then the kept state it pointed at.
bool forgetOldState(const std::string& workingCopy) {
  const std::string marker = strFunOldStateMarkerPath(workingCopy);
  if (!native::removeFile(marker)) return false;
  const int fd = ::open(marker.substr(0, marker.rfind('/') + 1).append(".").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return native::removeFile(strFunOldStatePath(workingCopy));
}

void removeQuietly(const std::string& path) {
  TFileFailure ignored;
  bFunDeleteDatabaseFiles(path, ignored);
}

// A student table exactly as this program makes it: the columns `id`,
// `comp_name`, `value` in this order, each declared TEXT, none generated,
// hidden, a key, NOT NULL or with a default. Without a key column the table
// has its rowid (a table without one must have a key). A virtual table
// fails here too: its module is not there, or it shows other columns.
bool plainStudentTable(CppSQLite3DB& db, const std::string& table) {
  static const char* const kColumns[] = {"id", "comp_name", "value"};
  CppSQLite3Query columns = db.runQuery("pragma table_xinfo(" + sqlTable(table) + ")");
  int count = 0;
  bool plain = true;
  for (; !columns.atEnd(); columns.step(), ++count) {
    plain = plain && count < 3 && columns.textByName("name") == kColumns[count] &&
            strcasecmp(columns.textByName("type").c_str(), "TEXT") == 0 && columns.intByName("notnull") == 0 &&
            columns.columnType(columns.columnIndex("dflt_value")) == SQLITE_NULL && columns.intByName("pk") == 0 &&
            columns.intByName("hidden") == 0;
  }
  columns.release();
  return plain && count == 3;
}

// Every row of the table read through its three columns.
void readStudentTable(CppSQLite3DB& db, const std::string& table) {
  CppSQLite3Query rows = db.runQuery("select `id`, `comp_name`, `value` from " + sqlTable(table));
  while (!rows.atEnd()) rows.step();
  rows.release();
}

}  // namespace

TFileFailure TFileFailure::ofPickedFile(int error) {
  TFileFailure why;
  // A named pipe or a device has no error of the system's to show.
  if (error == EINVAL)
    why.notRegular = true;
  else
    why.systemError = error;
  return why;
}

bool bFunSqliteFailure(TFileFailure& why, const CppSQLite3Exception& e, const CppSQLite3DB* db) {
  why.sqliteCode = e.code();
  why.systemError = db ? db->systemError() : 0;
  const int primary = e.code() & 0xFF;
  why.inUse = primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
  why.notDocument = primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT ||
                    primary == SQLITE_ERROR;
  return false;
}

std::string strFunFailureLines(const TFileFailure& why) {
  const std::string code = why.strFunCode();
  std::string lines = why.strFunAdvice();
  if (!code.empty()) lines += cp1250("Kod błędu: ") + code;
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  return lines;
}

std::string TFileFailure::strFunCode() const {
  if (systemError != 0) return std::to_string(systemError);
  return sqliteCode != 0 ? std::to_string(sqliteCode) : std::string();
}

std::string strFunSystemErrorAdvice(int systemError) {
  switch (systemError) {
    case ENOSPC:
    case EDQUOT: return cp1250("Na dysku zabrakło miejsca. Zwolnij miejsce na dysku i spróbuj ponownie.\n");
    case EACCES:
    case EPERM:
    case EROFS:
      return cp1250("Brak uprawnień do tego pliku lub katalogu. Wybierz inny katalog albo poproś administratora o "
                    "uprawnienia.\n");
    case EFBIG:
      return cp1250("Plik przekroczył największy rozmiar, na jaki system pozwala. Poproś administratora o "
                    "zwiększenie tego limitu albo zapisz dane na innym dysku.\n");
    case EISDIR: return cp1250("Wybrana nazwa jest nazwą katalogu, a nie pliku. Wybierz plik.\n");
    default: return {};
  }
}

std::string TFileFailure::strFunAdvice() const {
  if (notRegular)
    return cp1250("Wybrana nazwa nie jest zwykłym plikiem, tylko potokiem, urządzeniem albo gniazdem. Wybierz "
                  "plik.\n");
  if (const std::string advice = strFunSystemErrorAdvice(systemError); !advice.empty()) return advice;
  switch (sqliteCode & 0xFF) {
    case SQLITE_FULL: return strFunSystemErrorAdvice(ENOSPC);
    case SQLITE_READONLY:
    case SQLITE_PERM: return strFunSystemErrorAdvice(EACCES);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return cp1250("Wybrany plik nie jest plikiem świadectw tego programu.\n");
    default: return {};
  }
}

std::string strFunSaveInProgressPath(const std::string& document) { return document + ".zapis-tmp"; }

bool bFunDeleteDatabaseFiles(const std::string& path, TFileFailure& why) {
  if (!native::removeFile(path)) return fromSystem(why);
  for (const char* companion : kCompanions)
    if (!native::removeFile(path + companion)) return fromSystem(why);
  return true;
}

bool bFunCheckDocument(const std::string& path, int& tables, TFileFailure& why) {
  if (const int e = native::readableFileError(path)) {
    why = TFileFailure::ofPickedFile(e);
    why.notDocument = why.notRegular;
    return false;
  }
  CppSQLite3DB db;
  try {
    // Read-write where it can be, so a hot journal of its own is rolled back.
    db.openSystemPath(path, native::fileWritable(path) ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    // What the file holds is looked at first, before any row is read: a
    // generated column, an index or a check would run the file's own
    // expressions in every read below.
    db.runStatement("pragma ignore_check_constraints=ON");
    std::vector<std::string> names;
    CppSQLite3Query objects = db.runQuery("select type, name from sqlite_master");
    bool onlyTables = true;
    while (!objects.atEnd()) {
      const std::string name = objects.textAt(1);
      // SQLite's own tables (sqlite_sequence, sqlite_stat1) hold no student.
      if (objects.textAt(0) != "table")
        onlyTables = false;
      else if (name.compare(0, 7, "sqlite_") != 0)
        names.push_back(name);
      objects.step();
    }
    objects.release();
    for (std::size_t i = 0; onlyTables && i < names.size(); ++i) onlyTables = plainStudentTable(db, names[i]);
    if (!onlyTables) {
      why.notDocument = true;
      return false;
    }
    CppSQLite3Query check = db.runQuery("pragma quick_check");
    const bool whole = !check.atEnd() && check.textAt(0) == "ok";
    check.release();
    if (!whole) {
      why.notDocument = true;
      why.sqliteCode = SQLITE_CORRUPT;
      return false;
    }
    for (const std::string& name : names) readStudentTable(db, name);
    db.closeFile();
    tables = static_cast<int>(names.size());
    return true;
  } catch (const CppSQLite3Exception& e) {
    return fromSqlite(why, e, &db);
  }
}

bool bFunLoadDocument(const std::string& document, const std::string& workingCopy, TFileFailure& why) {
  const native::TPickedFile picked(document);
  if (picked.error() != 0) {
    // A named pipe or a device is no document; it is never read.
    why = TFileFailure::ofPickedFile(picked.error());
    why.notDocument = why.notRegular;
    return false;
  }
  const std::string next = workingCopy + ".wczytywany";
  removeQuietly(next);
  {
    CppSQLite3DB source, copy;
    try {
      // Read-write where it can be, so a hot journal of the document is
      // rolled back (opening a pipe for writing never waits); else the very
      // file that was checked is read, never its name again.
      std::string bytes;
      if (native::fileWritable(document))
        openDocument(source, document, SQLITE_OPEN_READWRITE);
      else if (picked.readAll(bytes))
        source.openBytes(bytes);
      else
        return fromSystem(why);  // nothing is made yet
      copy.openSystemPath(next, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
      copy.runStatement("pragma journal_mode=OFF");
      copy.copyDatabaseFrom(source);
      copy.closeFile();
      source.closeFile();
    } catch (const CppSQLite3Exception& e) {
      fromSqlite(why, e, copy.systemError() != 0 ? &copy : &source);
      removeQuietly(next);
      return false;
    }
  }
  int tables = 0;
  if (!bFunCheckDocument(next, tables, why)) {
    // What SQLite could copy but not read is no document.
    why.notDocument = why.notDocument || why.systemError == 0;
    removeQuietly(next);
    return false;
  }
  // The old working copy's journal goes before the new copy takes its name,
  // so no journal of the old one is ever rolled back into the new one.
  for (const char* companion : kCompanions)
    if (!native::removeFile(workingCopy + companion)) {
      removeQuietly(next);
      return fromSystem(why);
    }
  if (!native::syncFile(next) || !native::replaceFile(next, workingCopy)) {
    fromSystem(why);
    removeQuietly(next);
    return false;
  }
  removeQuietly(strFunSaveInProgressPath(native::linkTarget(document)));
  return true;
}

namespace {

// Keeps another program from writing the document while a save reads it;
// fails at once (inUse) when another program holds it. A file that is no
// database yet takes no lock and is no failure.
bool holdDocument(CppSQLite3DB& guard, const std::string& target, TFileFailure& why) {
  if (!native::exists(target) || !native::fileWritable(target) || native::readableFileError(target) != 0) return true;
  try {
    openDocument(guard, target, SQLITE_OPEN_READWRITE);
    guard.runStatement("begin immediate");
  } catch (const CppSQLite3Exception& e) {
    TFileFailure failure;
    fromSqlite(failure, e, &guard);
    try {
      guard.closeFile();
    } catch (const CppSQLite3Exception&) {
    }
    if (!failure.inUse) return true;
    why = failure;
    why.notDocument = false;
    return false;
  }
  return true;
}

// The save into the document itself, for a folder that takes no new file:
// no journal can be made beside the document, so its old state is kept
// beside the working copy before the first byte of it changes.
bool saveInPlace(const std::string& workingCopy, const std::string& target, TFileFailure& why) {
  const std::string keep = strFunOldStatePath(workingCopy), marker = strFunOldStateMarkerPath(workingCopy);
  // The old state of an earlier save that did not finish goes back first:
  // it must not be lost under this save's.
  std::string earlier, kept;
  if (iFunRestoreInterruptedSave(workingCopy, earlier, kept, why) < 0) return false;

  {
    CppSQLite3DB guard;
    if (!holdDocument(guard, target, why)) return false;
    removeQuietly(keep);
    const bool keptOld = overwriteWithBytes(target, keep, why) && writeMarker(marker, target, why);
    try {
      guard.closeFile();  // the lock ends; nothing was written
    } catch (const CppSQLite3Exception&) {
    }
    if (!keptOld) {
      why.notDocument = false;
      removeQuietly(keep);
      return false;
    }
  }

  CppSQLite3DB source, copy;
  try {
    source.openSystemPath(workingCopy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    openDocument(copy, target, SQLITE_OPEN_READWRITE);
    copy.runStatement("pragma journal_mode=MEMORY");
    copy.copyDatabaseFrom(source);
    copy.closeFile();
    source.closeFile();
    if (!native::syncFile(target)) throw CppSQLite3Exception(SQLITE_IOERR_FSYNC, "fsync");
  } catch (const CppSQLite3Exception& e) {
    fromSqlite(why, e, copy.systemError() != 0 ? &copy : &source);
    if (why.systemError == 0 && e.code() == SQLITE_IOERR_FSYNC) why.systemError = platform::lastError();
    why.notDocument = false;
    try {
      copy.closeFile();
    } catch (const CppSQLite3Exception&) {
    }
    // Whatever SQLite left of the document, the kept state goes back now;
    // when even that fails, the marker stays for the next start or open.
    TFileFailure restoring;
    if (overwriteWithBytes(keep, target, restoring)) forgetOldState(workingCopy);
    return false;
  }
  forgetOldState(workingCopy);
  return true;
}

}  // namespace

std::string strFunOldStatePath(const std::string& workingCopy) { return workingCopy + ".przed-zapisem"; }

std::string strFunOldStateMarkerPath(const std::string& workingCopy) { return workingCopy + ".przed-zapisem.plik"; }

int iFunRestoreInterruptedSave(const std::string& workingCopy, std::string& document, std::string& keptCopy,
                               TFileFailure& why) {
  const std::string marker = strFunOldStateMarkerPath(workingCopy);
  keptCopy = strFunOldStatePath(workingCopy);
  native::removeFile(marker + ".nowy");  // a marker never finished names nothing
  if (!native::exists(marker)) {
    // A kept state without its marker belongs to a save that never began.
    native::removeFile(keptCopy);
    return 0;
  }
  {
    std::ifstream in(marker, std::ios::binary);
    document.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (document.empty() || !native::exists(keptCopy)) {
    forgetOldState(workingCopy);
    return 0;
  }
  if (!overwriteWithBytes(keptCopy, document, why)) return -1;
  forgetOldState(workingCopy);
  return 1;
}

bool bFunSaveDocument(const std::string& workingCopy, const std::string& document, TFileFailure& why) {
  const std::string target = native::linkTarget(document);
  if (native::isDirectory(target)) {
    why.systemError = EISDIR;
    return false;
  }
  if (native::exists(target) && native::readableFileError(target) == EINVAL) {
    why.systemError = EINVAL;  // a pipe or a device is never written into
    return false;
  }
  const std::string temp = strFunSaveInProgressPath(target);
  removeQuietly(temp);

  // A file put in its place is this user's: where the document is someone
  // else's (a shared folder), or in a group the user is not in, it is written
  // where it is, so its owner and the group's access stay.
  const bool beside = native::folderTakesNewFiles(target) &&
                      (!native::exists(target) || native::ownershipCopyable(target));
  if (!beside && !(native::exists(target) && native::fileWritable(target))) {
    why.systemError = EACCES;
    return false;
  }
  if (!beside) return saveInPlace(workingCopy, target, why);

  CppSQLite3DB guard;
  if (!holdDocument(guard, target, why)) return false;
  CppSQLite3DB source, copy;
  try {
    // Read-write, so a hot journal of the working copy is rolled back and
    // only its committed state is copied.
    source.openSystemPath(workingCopy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    copy.openSystemPath(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    copy.runStatement("pragma journal_mode=OFF");
    copy.copyDatabaseFrom(source);
    copy.closeFile();
    source.closeFile();
  } catch (const CppSQLite3Exception& e) {
    fromSqlite(why, e, copy.systemError() != 0 ? &copy : &source);
    why.notDocument = false;
    why.inUse = false;
    removeQuietly(temp);
    return false;
  }

  const bool placed = native::syncFile(temp) && (!native::exists(target) || native::copyOwnership(target, temp)) &&
                      native::replaceFile(temp, target);
  if (placed) return true;
  fromSystem(why);
  removeQuietly(temp);
  return false;
}
