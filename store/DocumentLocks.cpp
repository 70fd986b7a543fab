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

bool TDocumentHold::take(const std::string& path, int waitMs, TFileFailure& why) {
  return lock(path, O_RDWR, F_WRLCK, kPendingByte, kLockBytes, waitMs, why);
}

bool TDocumentHold::takeToReplace(const std::string& path, int waitMs, TFileFailure& why) {
  if (::access(path.c_str(), W_OK) == 0 || errno != EACCES)
    return lock(path, O_RDWR, F_WRLCK, kPendingByte + 1, 1, waitMs, why);
  return lock(path, O_RDONLY, F_RDLCK, kPendingByte + 1, 1, waitMs, why);
}

bool TDocumentHold::takeShared(const std::string& path, int waitMs, TFileFailure& why) {
  return lock(path, O_RDONLY, F_RDLCK, kPendingByte + 2, kLockBytes - 2, waitMs, why);
}

bool TDocumentHold::lock(const std::string& path, int flags, short type, off_t start, off_t length, int waitMs,
                         TFileFailure& why) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0) return fromErrno(why, errno);
    if (::fstat(fd_, &file_) != 0) return fromErrno(why, errno);
    if (!S_ISREG(file_.st_mode)) return fromErrno(why, EINVAL);
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    while (::fcntl(fd_, kLockCommand, &lock) != 0) {
      const int error = errno;
      const bool refused = error == ENOLCK || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL;
      // A file system without locks holds nothing: the work goes on unheld,
      // as its only user's.
      if (refused && native::offersNoLocks(path)) break;
      if (!refused && error != EAGAIN && error != EACCES && error != EINTR) return fromErrno(why, error);
      if (std::chrono::steady_clock::now() >= until) return refused ? fromErrno(why, error) : busy(why);
      ::usleep(2000);
    }
    // The name may have gone to another file meanwhile (a save beside it
    // that held it renamed its new file there): that file is held instead,
    // so the caller sees the document as it is now.
    struct stat now {};
    if (::lstat(path.c_str(), &now) == 0 && now.st_dev == file_.st_dev && now.st_ino == file_.st_ino) return true;
    if (std::chrono::steady_clock::now() >= until) return busy(why);
  }
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
