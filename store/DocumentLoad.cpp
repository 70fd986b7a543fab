#include "DocumentFiles.h"

#include "store/CppSQLite3.h"
#include "store/DocumentFileParts.h"
#include "store/DocumentLocks.h"
#include "store/OpenedFile.h"
#include "store/SqlText.h"
#include "store/Temporaries.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <future>
#include <iterator>
#include <sys/stat.h>
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
  bool copied = copyAllBytes(from, out, why);
  if (::close(out) != 0 && copied) copied = fromErrno(why, errno);
  return copied;
}

bool sameState(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// The document at `target` (no link) as it stands, held against writers
// while it is read. When its owner left no journal or WAL beside it and it
// keeps none in its header, its bytes are all there is to it: they go
// straight into `next`, the working copy to be (`asIs`). Otherwise they go
// into `aside`, with that journal and WAL beside that copy, for SQLite to
// apply there. `read` is the document as its bytes were read, for "Zapisz"
// to check later (its checksum is the copy's to take); no identity when it
// changed while it was read.
bool copyAside(const std::string& target, const std::string& next, const std::string& aside, bool& asIs,
               TOpenedFile& read, TFileFailure& why) {
  TDocumentHold held;
  if (!held.takeShared(target, kDocumentBusyWaitMs, why)) return false;
  // One that a save into it left half-written is not read at all; looked at
  // under the hold, so a save that was at work a moment ago has either
  // finished or left its mark.
  if (refusedAsMarked(held.fd(), why)) return false;
  // The owner's journal and WAL, opened while the document is held.
  struct TCompanions {
    int fd[std::size(kCompanions)];
    TCompanions() { std::fill(std::begin(fd), std::end(fd), -1); }
    ~TCompanions() {
      for (const int each : fd)
        if (each >= 0) ::close(each);
    }
  } companions;
  bool none = true;
  for (std::size_t i = 0; i < std::size(kCompanions); ++i) {
    companions.fd[i] = openOwnCompanion(target, kCompanions[i]);
    none = none && companions.fd[i] < 0;
  }
  // Bytes 18 and 19 of the header say 2 for a database that keeps a WAL.
  unsigned char versions[2] = {};
  asIs = none && ::pread(held.fd(), versions, sizeof versions, 18) == 2 && versions[0] == 1 && versions[1] == 1;
  struct stat before {}, after {};
  if (::fstat(held.fd(), &before) != 0) return fromSystem(why);
  if (!copyInto(held.fd(), asIs ? next : aside, why)) return false;
  if (::fstat(held.fd(), &after) != 0) return fromSystem(why);
  for (std::size_t i = 0; i < std::size(kCompanions); ++i)
    if (companions.fd[i] >= 0 && !copyInto(companions.fd[i], aside + kCompanions[i], why)) return false;
  read = TOpenedFile();
  if (S_ISREG(before.st_mode) && sameState(before, after)) {
    vFunTakeIdentity(before, read);
    read.size = before.st_size;
  }
  return true;
}

// The checksum of the copied bytes into `read`, for a document that stood
// still while it was read and has as many bytes as were copied.
void summedUp(const std::string& copy, TOpenedFile& read) {
  const TFile file(copy, O_RDONLY);
  long long size = -1;
  std::uint64_t sum = 0;
  if (read.inode != 0 && file.fd >= 0 && bFunChecksumOf(file.fd, size, sum) && size == read.size)
    read.sum = sum;
  else
    read = TOpenedFile();
}

}  // namespace

bool docfiles::bFunCheckDocument(const std::string& path, int& tables, TFileFailure& why,
                                 const TWhileChecked& whileChecked) {
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
    // The check reads the copy through SQLite's own small page cache, not
    // mapped: every page of a mapping it reads stays resident until the
    // check ends, as much memory as the document is large (300 MB for a
    // school of 2000 students). Read page by page, it takes a little longer.
    db.runStatement("pragma mmap_size=0");
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
    auto wholeFile = [&db] {
      CppSQLite3Query check = db.runQuery("pragma quick_check");
      const bool ok = !check.atEnd() && check.textAt(0) == "ok";
      check.release();
      return ok;
    };
    bool whole = false;
    if (whileChecked) {
      // The connection is the other thread's alone until it is done.
      auto checked = runAside(wholeFile);
      whileChecked(path);
      whole = checked.get();
    } else {
      whole = wholeFile();
    }
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

bool docfiles::bFunLoadDocument(const std::string& document, const std::string& workingCopy, TFileFailure& why,
                                TOpenedFile* read, const TWhileChecked& whileChecked) {
  const native::TPickedFile picked(document);
  if (picked.error() != 0) {
    // A named pipe or a device is no document; it is never read.
    why = TFileFailure::ofPickedFile(picked.error());
    why.notDocument = why.notRegular;
    return false;
  }
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
  bool asIs = false;
  TOpenedFile opened;
  if (!copyAside(native::linkTarget(document), next, original, asIs, opened, why)) {
    removeQuietly(next);
    return false;
  }
  // While the copy is checked, its checksum is taken and it goes to the
  // disk: it must outlive a crash of the machine once it is the working copy.
  std::future<int> flushed;
  if (asIs) {
    flushed = runAside([&next, &opened] {
      summedUp(next, opened);
      return native::syncFile(next) ? 0 : platform::lastError();
    });
  } else {
    // SQLite applies the owner's journal or WAL to the copy aside (after
    // its checksum is taken), and what the document then holds is copied
    // into the working copy to be.
    summedUp(original, opened);
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
    flushed = runAside([&next] { return native::syncFile(next) ? 0 : platform::lastError(); });
  }
  int tables = 0;
  const bool checked = bFunCheckDocument(next, tables, why, whileChecked);
  const int flushError = flushed.get();
  if (!checked) {
    // What SQLite could copy but not read is no document.
    why.notDocument = why.notDocument || why.systemError == 0;
    removeQuietly(next);
    return false;
  }
  if (flushError != 0) {
    fromErrno(why, flushError);
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
  if (!native::replaceFile(next, workingCopy)) {
    fromSystem(why);
    removeQuietly(next);
    return false;
  }
  removeUnheldLeftover(native::linkTarget(document));
  if (read) {
    // Changed while it was read: no identity, so "Zapisz" asks first.
    *read = opened;
    read->path = document;
  }
  return true;
}
