#include "DocumentFiles.h"

#include "store/DocumentFileParts.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace native = platform::native;

namespace docfiles {

bool fromSystem(TFileFailure& why) {
  why.systemError = platform::lastError();
  return false;
}

bool fromSqlite(TFileFailure& why, const CppSQLite3Exception& e, const CppSQLite3DB* db) {
  return bFunSqliteFailure(why, e, db);
}

bool fromErrno(TFileFailure& why, int error) {
  why.systemError = error;
  return false;
}

std::string dataFolderOf(const std::string& workingCopy) {
  const auto slash = workingCopy.rfind('/');
  return slash == std::string::npos ? std::string(".") : workingCopy.substr(0, slash);
}

namespace {

// The one rule of what lies beside a document: a companion counts only when
// it is a regular file of the document's own owner.
bool counts(const struct stat& document, const struct stat& companion) {
  return S_ISREG(companion.st_mode) && companion.st_uid == document.st_uid;
}

}  // namespace

int openOwnCompanion(const std::string& document, const char* companion) {
  if (std::strcmp(companion, "-shm") == 0) return -1;
  struct stat doc {};
  if (::stat(document.c_str(), &doc) != 0) return -1;
  const int fd = ::open((document + companion).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !counts(doc, st)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool removeOwnCompanions(const std::string& document, TFileFailure& why) {
  struct stat doc {};
  if (::stat(document.c_str(), &doc) != 0) return fromSystem(why);
  for (const char* companion : kCompanions) {
    const std::string path = document + companion;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && counts(doc, st) && !native::removeFile(path)) return fromSystem(why);
  }
  return true;
}

bool copyAllBytes(int from, int to, TFileFailure& why) {
  int error = 0;
  loff_t at = 0;
  for (;;) {
    const ssize_t n = ::copy_file_range(from, &at, to, nullptr, std::size_t {1} << 30, 0);
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    // The rest (all of it where the kernel does not copy, as between two
    // file systems) goes through the buffer; an end told too early as well.
    if (n < 0 && errno != EXDEV && errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL && errno != EBADF)
      error = errno;
    break;
  }
  std::vector<char> buffer(1 << 20);
  while (error == 0) {
    const ssize_t got = ::pread(from, buffer.data(), buffer.size(), at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      error = got < 0 ? errno : 0;
      break;
    }
    for (ssize_t put = 0; put < got && error == 0;) {
      const ssize_t n = ::write(to, buffer.data() + put, static_cast<size_t>(got - put));
      if (n < 0 && errno != EINTR) error = errno;
      if (n == 0) error = EIO;
      if (n > 0) put += n;
    }
    at += got;
  }
  return error == 0 ? true : fromErrno(why, error);
}

void removeQuietly(const std::string& path) {
  TFileFailure ignored;
  bFunDeleteDatabaseFiles(TSystemPath(path), ignored);
}

std::string strFunSaveInProgressPath(const std::string& document) { return document + ".zapis-tmp"; }

}  // namespace docfiles

using namespace docfiles;

namespace {

// The check's call on the way, given the path as the caller named it.
docfiles::TWhileChecked bytesOf(const ::TWhileChecked& whileChecked) {
  if (!whileChecked) return {};
  return [&whileChecked](const std::string& path) { whileChecked(TSystemPath(path)); };
}

}  // namespace

bool bFunDeleteDatabaseFiles(const TSystemPath& path, TFileFailure& why) {
  if (!native::removeFile(path.bytes())) return fromSystem(why);
  for (const char* companion : kCompanions)
    if (!native::removeFile(path.bytes() + companion)) return fromSystem(why);
  return true;
}

bool bFunCheckDocument(const TSystemPath& path, int& tables, TFileFailure& why,
                       const ::TWhileChecked& whileChecked) {
  return docfiles::bFunCheckDocument(path.bytes(), tables, why, bytesOf(whileChecked));
}

bool bFunLoadDocument(const TSystemPath& document, const TSystemPath& workingCopy, TFileFailure& why,
                      TOpenedFile* read, const ::TWhileChecked& whileChecked) {
  return docfiles::bFunLoadDocument(document.bytes(), workingCopy.bytes(), why, read, bytesOf(whileChecked));
}

bool bFunSaveDocument(const TSystemPath& workingCopy, const TSystemPath& document, TFileFailure& why,
                      const TOpenedFile* expected, TOpenedFile* written) {
  return docfiles::bFunSaveDocument(workingCopy.bytes(), document.bytes(), why, expected, written);
}

int iFunRestoreInterruptedSave(const TSystemPath& workingCopy, TSystemPath& document, TSystemPath& keptCopy,
                               TFileFailure& why) {
  std::string documentBytes = document.bytes(), keptBytes = keptCopy.bytes();
  const int result = docfiles::iFunRestoreInterruptedSave(workingCopy.bytes(), documentBytes, keptBytes, why);
  document = TSystemPath(documentBytes);
  keptCopy = TSystemPath(keptBytes);
  return result;
}

TSystemPath strFunOldStatePath(const TSystemPath& workingCopy) {
  return TSystemPath(docfiles::strFunOldStatePath(workingCopy.bytes()));
}

TSystemPath strFunOldStateMarkerPath(const TSystemPath& workingCopy) {
  return TSystemPath(docfiles::strFunOldStateMarkerPath(workingCopy.bytes()));
}

TSystemPath strFunNewStatePath(const TSystemPath& workingCopy) {
  return TSystemPath(docfiles::strFunNewStatePath(workingCopy.bytes()));
}

TSystemPath strFunSaveInProgressPath(const TSystemPath& document) {
  return TSystemPath(docfiles::strFunSaveInProgressPath(document.bytes()));
}
