#include "DocumentLocks.h"

#include "store/CppSQLite3.h"
#include "store/DocumentFiles.h"
#include "store/DocumentFileParts.h"
#include "store/Temporaries.h"
#include "platform/NativeFiles.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace native = platform::native;

namespace docfiles {

void openDocument(CppSQLite3DB& db, const std::string& path, int flags) {
  db.setBusyWait(kDocumentBusyWaitMs);
  db.openSystemPath(path, flags);
}

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

bool TDocumentHold::take(const std::string& path, int waitMs, TFileFailure& why) {
  return lock(path, O_RDWR, F_WRLCK, kPendingByte, kLockBytes, waitMs, why);
}

bool TDocumentHold::takeShared(const std::string& path, int waitMs, TFileFailure& why) {
  return lock(path, O_RDONLY, F_RDLCK, kPendingByte + 2, kLockBytes - 2, waitMs, why);
}

bool TDocumentHold::lock(const std::string& path, int flags, short type, off_t start, off_t length, int waitMs,
                         TFileFailure& why) {
  fd_ = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) return fromErrno(why, errno);
  if (::fstat(fd_, &file_) != 0) return fromErrno(why, errno);
  if (!S_ISREG(file_.st_mode)) return fromErrno(why, EINVAL);
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = length;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (::fcntl(fd_, kLockCommand, &lock) != 0) {
    // A file system without such locks (a network share without its lock
    // service, a FUSE file system that refuses them) holds nothing: the work
    // goes on unlocked, as its only user's.
    if (errno == ENOLCK || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL) break;
    if (errno != EAGAIN && errno != EACCES && errno != EINTR) return fromErrno(why, errno);
    if (std::chrono::steady_clock::now() >= until) return busy(why);
    ::usleep(2000);
  }
  // The name may have gone to another file (a save beside it) meanwhile.
  struct stat now {};
  if (::lstat(path.c_str(), &now) != 0 || now.st_dev != file_.st_dev || now.st_ino != file_.st_ino)
    return busy(why);
  return true;
}

bool TDocumentHold::heldElsewhere(int fd) {
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = kPendingByte;
  lock.l_len = kLockBytes;
#ifdef F_OFD_GETLK
  const int command = F_OFD_GETLK;
#else
  const int command = F_GETLK;
#endif
  return ::fcntl(fd, command, &lock) == 0 && lock.l_type != F_UNLCK;
}

bool TDocumentHold::busy(TFileFailure& why) {
  why.inUse = true;
  why.sqliteCode = SQLITE_BUSY;
  return false;
}

void removeUnheldLeftover(const std::string& target) {
  const std::string stem = strFunSaveInProgressPath(target);
  iFunRemoveUnheldTemporaries(stem);
  // The one name an earlier version wrote: its save held the document.
  if (!native::exists(stem)) return;
  TDocumentHold held;
  TFileFailure ignored;
  if (held.take(target, 0, ignored)) bFunRemoveUnheldTemporary(stem);
}

}  // namespace docfiles
