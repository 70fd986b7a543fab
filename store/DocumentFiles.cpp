#include "DocumentFiles.h"

#include "store/DocumentFileParts.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

int openOwnCompanion(const std::string& document, const char* companion) {
  if (std::strcmp(companion, "-shm") == 0) return -1;
  struct stat doc {};
  if (::stat(document.c_str(), &doc) != 0) return -1;
  const int fd = ::open((document + companion).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != doc.st_uid) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void removeQuietly(const std::string& path) {
  TFileFailure ignored;
  bFunDeleteDatabaseFiles(path, ignored);
}

}  // namespace docfiles

using namespace docfiles;

std::string strFunSaveInProgressPath(const std::string& document) { return document + ".zapis-tmp"; }

bool bFunDeleteDatabaseFiles(const std::string& path, TFileFailure& why) {
  if (!native::removeFile(path)) return fromSystem(why);
  for (const char* companion : kCompanions)
    if (!native::removeFile(path + companion)) return fromSystem(why);
  return true;
}
