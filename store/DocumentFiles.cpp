#include "DocumentFiles.h"

#include "store/DocumentFileParts.h"
#include "platform/NativeFiles.h"
#include "platform/Platform.h"

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
