#pragma once
// How documents are held against other programs and other saves while they
// are read or written: a hold over SQLite's lock bytes, taken on a
// descriptor of the document itself. SQLite never opens a document where it
// lies (it would apply whatever lies beside it); it works only on the
// program's private copies. Only for the files of store/ that handle
// documents.
#include "store/FileFailures.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

class CppSQLite3DB;

namespace docfiles {

// Opens one of the program's private copies of a document: a writer of
// this program's that holds it makes the open fail within a moment.
void openDocument(CppSQLite3DB& db, const std::string& path, int flags);

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
  // whoever holds it; another holder makes it fail with `inUse`. Only on a
  // file system that keeps no locks (native::folderTraits, found with a file
  // of the program's own there) is the file opened unheld and the work goes
  // on; elsewhere a lock the system refuses (ENOLCK while the kernel is
  // short of lock records) is asked for again within the wait and then
  // fails with the system's reason.
  bool take(const std::string& path, int waitMs, TFileFailure& why);
  // The same for a save that puts a new file in the document's place: only
  // SQLite's reserved byte, which every writer takes first (another save of
  // the document here or elsewhere, a writer through SQLite), so readers go
  // on reading the old file meanwhile. A document this user may only read
  // (its own, read-only) is held by a read lock of that byte, which keeps
  // every writer through SQLite off it but not another save of its owner's.
  bool takeToReplace(const std::string& path, int waitMs, TFileFailure& why);
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
