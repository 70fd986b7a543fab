#pragma once
// How documents are held against other programs and other saves while they
// are read or written: SQLite's own locks where SQLite opens the file, and a
// hold over SQLite's lock bytes where its bytes are copied here. Only for
// the files of store/ that handle documents.
#include "store/FileFailures.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

class CppSQLite3DB;

namespace docfiles {

// Opens a document file of the user's: another program that holds it makes
// the open or the save fail within a moment instead of a minute.
void openDocument(CppSQLite3DB& db, const std::string& path, int flags);

// Keeps another program from writing the document while a save reads it;
// fails at once (inUse) when another program holds it. A file that is no
// database yet takes no lock and is no failure, nor is a file system that
// offers no locks: the save goes on unlocked.
bool holdDocument(CppSQLite3DB& guard, const std::string& target, TFileFailure& why);

// Removes what interrupted saves beside the document left, unless a save
// is at work on it (it holds its own file).
void removeUnheldLeftover(const std::string& target);

// A document held against every other user of SQLite's locks while its
// bytes are read or written here: a write lock over SQLite's lock bytes (the
// pending byte, the reserved byte and the shared range of its file format),
// taken on a descriptor of the file itself. The lock belongs to the open
// file description, so no other descriptor of the file closed in this
// process lets go of it; it ends when the object goes.
class TDocumentHold {
 public:
  TDocumentHold() = default;
  TDocumentHold(const TDocumentHold&) = delete;
  TDocumentHold& operator=(const TDocumentHold&) = delete;
  ~TDocumentHold() {
    if (fd_ >= 0) ::close(fd_);
  }

  // Opens the regular file at `path` for writing (never through a symbolic
  // link, never making it) and takes the lock, waiting up to `waitMs` for
  // whoever holds it; another holder makes it fail with `inUse`. On a file
  // system that offers no such locks (ENOLCK, ENOSYS, EOPNOTSUPP, EINVAL)
  // the file is opened unheld and the work goes on.
  bool take(const std::string& path, int waitMs, TFileFailure& why);
  // The same as a reader: the file opened for reading, a read lock over
  // SQLite's shared range, so that no writer of SQLite's (nor a save here)
  // changes it while it is read, and readers share it.
  bool takeShared(const std::string& path, int waitMs, TFileFailure& why);
  int fd() const { return fd_; }
  const struct stat& file() const { return file_; }
  // True when another open of the file (a save, a put-back, a writer
  // through SQLite) holds a write lock that this hold would wait for.
  static bool heldElsewhere(int fd);

 private:
  static constexpr off_t kPendingByte = 0x40000000;
  static constexpr off_t kLockBytes = 2 + 510;  // pending, reserved, shared range
#ifdef F_OFD_SETLK
  static constexpr int kLockCommand = F_OFD_SETLK;
#else
  static constexpr int kLockCommand = F_SETLK;
#endif
  static bool busy(TFileFailure& why);
  bool lock(const std::string& path, int flags, short type, off_t start, off_t length, int waitMs, TFileFailure& why);
  int fd_ = -1;
  struct stat file_ {};
};

}  // namespace docfiles
