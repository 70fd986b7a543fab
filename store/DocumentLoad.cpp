#include "DocumentFiles.h"

#include "store/CppSQLite3.h"
#include "store/DocumentFileParts.h"
#include "store/DocumentLocks.h"
#include "store/SqlText.h"
#include "store/Temporaries.h"
#include "platform/NativeFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace native = platform::native;
using namespace docfiles;

namespace {

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

// Writes everything that can be read from `from` into a new private file.
bool copyInto(int from, const std::string& to, TFileFailure& why) {
  const int out = native::createPrivateFile(to, O_WRONLY);
  if (out < 0) return fromSystem(why);
  std::vector<char> buffer(1 << 16);
  int error = 0;
  for (off_t at = 0; error == 0;) {
    const ssize_t got = ::pread(from, buffer.data(), buffer.size(), at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      error = got < 0 ? errno : 0;
      break;
    }
    for (ssize_t put = 0; put < got && error == 0;) {
      const ssize_t n = ::write(out, buffer.data() + put, static_cast<size_t>(got - put));
      if (n < 0 && errno != EINTR) error = errno;
      if (n > 0) put += n;
    }
    at += got;
  }
  if (::close(out) != 0 && error == 0) error = errno;
  return error == 0 ? true : fromErrno(why, error);
}

// The document at `target` (no link) as it stands, held against writers
// while it is read, into `aside`, with the journal and WAL of its owner's
// beside that copy.
bool copyAside(const std::string& target, const std::string& aside, TFileFailure& why) {
  TDocumentHold held;
  if (!held.takeShared(target, kDocumentBusyWaitMs, why)) return false;
  if (!copyInto(held.fd(), aside, why)) return false;
  for (const char* companion : kCompanions) {
    const int fd = openOwnCompanion(target, companion);
    if (fd < 0) continue;
    const bool copied = copyInto(fd, aside + companion, why);
    ::close(fd);
    if (!copied) return false;
  }
  return true;
}

}  // namespace

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
    // One pass over the whole file reads every page and every row's record
    // (its header against its content, overflow pages and all), so no row
    // needs reading again.
    CppSQLite3Query check = db.runQuery("pragma quick_check");
    const bool whole = !check.atEnd() && check.textAt(0) == "ok";
    check.release();
    if (!whole) {
      why.notDocument = true;
      why.sqliteCode = SQLITE_CORRUPT;
      return false;
    }
    db.closeFile();
    tables = static_cast<int>(names.size());
    return true;
  } catch (const CppSQLite3Exception& e) {
    return fromSqlite(why, e, &db);
  }
}

bool bFunLoadDocument(const std::string& document, const std::string& workingCopy, TFileFailure& why,
                      TOpenedFile* read) {
  const native::TPickedFile picked(document);
  if (picked.error() != 0) {
    // A named pipe or a device is no document; it is never read.
    why = TFileFailure::ofPickedFile(picked.error());
    why.notDocument = why.notRegular;
    return false;
  }
  // The file as it stands before it is read, for "Zapisz" to check later;
  // one that a save into it left half-written is not read at all.
  const TFile file(native::linkTarget(document), O_RDONLY | O_NONBLOCK | O_NOCTTY);
  TOpenedFile before;
  const bool known = file.fd >= 0 && bFunFileNow(file.fd, before);
  if (file.fd >= 0 && refusedAsMarked(file.fd, why)) return false;
  const std::string next = workingCopy + ".wczytywany", original = workingCopy + ".dokument";
  removeQuietly(next);
  removeQuietly(original);
  const TTemporaryRecord record(dataFolderOf(workingCopy), next), originalRecord(dataFolderOf(workingCopy), original);
  // The document is never opened through SQLite, which would write into it
  // (roll a journal back, checkpoint a WAL): its bytes, as they stand on the
  // disk, and the companions of its own owner go into a private copy beside
  // the working copy, and that copy is read. Nothing the open does changes a
  // byte of the document, and a companion planted by someone else is never
  // applied.
  struct TRemoved {
    const std::string& path;
    ~TRemoved() { removeQuietly(path); }
  } originalGoes {original};
  if (!copyAside(native::linkTarget(document), original, why)) return false;
  {
    CppSQLite3DB source, copy;
    try {
      openDocument(source, original, SQLITE_OPEN_READWRITE);
      native::makePrivateFile(next);  // the working copy is the user's alone
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
  removeUnheldLeftover(native::linkTarget(document));
  if (read) {
    // Changed while it was read: no identity, so "Zapisz" asks first.
    *read = known && bFunSameFile(file.fd, before) ? before : TOpenedFile();
    read->path = document;
  }
  return true;
}
