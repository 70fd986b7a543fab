#include "Temporaries.h"

#include "platform/NativeFiles.h"

#include <atomic>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::atomic<unsigned> gNumber {0};

// Files SQLite may keep beside a database written as a temporary.
const char* const kCompanions[] = {"", "-journal", "-wal", "-shm"};

bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Removes what a record names, when it is a file of this user's (never
// through a symbolic link, never a folder).
int removeNamed(const std::string& temporary) {
  int removed = 0;
  for (const char* companion : kCompanions) {
    const std::string path = temporary + companion;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (::unlink(path.c_str()) == 0 && *companion == '\0') ++removed;
  }
  return removed;
}

}  // namespace

std::string strFunTemporaryRecordsFolder(const std::string& dataFolder) { return dataFolder + "/pliki-tymczasowe"; }

TTemporaryRecord::TTemporaryRecord(const std::string& dataFolder, const std::string& temporary) {
  if (dataFolder.empty()) return;
  const std::string folder = strFunTemporaryRecordsFolder(dataFolder);
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    // The folder is there only while it holds records.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return;
    const std::string name =
        folder + "/" + std::to_string(::getpid()) + "-" + std::to_string(gNumber.fetch_add(1)) + ".rekord";
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST || errno == ENOENT) continue;  // a name in use, or the folder just went
      return;
    }
    // Held until the record goes: a start that finds it held leaves the
    // temporary to the process at work on it.
    struct stat st {};
    if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &st) != 0) {
      ::unlink(name.c_str());
      ::close(fd);
      return;
    }
    if (st.st_nlink == 0) {  // a start took it for a dead one's before it was held
      ::close(fd);
      continue;
    }
    if (!writeAll(fd, temporary) || ::fsync(fd) != 0) {
      ::unlink(name.c_str());
      ::close(fd);
      return;
    }
    syncFolder(folder);
    record_ = name;
    fd_ = fd;
  }
}

TTemporaryRecord::~TTemporaryRecord() {
  if (fd_ < 0) return;
  ::unlink(record_.c_str());
  ::close(fd_);
  ::rmdir(record_.substr(0, record_.rfind('/')).c_str());  // fails while other records are there
}

int iFunRemoveLeftTemporaries(const std::string& dataFolder) {
  if (dataFolder.empty()) return 0;
  const std::string folder = strFunTemporaryRecordsFolder(dataFolder);
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  int removed = 0;
  for (const std::string& name : names) {
    const std::string record = folder + "/" + name;
    const int fd = ::open(record.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // A record someone else put here names nothing of this user's; one
    // that a running process holds names a temporary still at work.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      continue;
    }
    std::string temporary;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) temporary.append(buffer, static_cast<std::size_t>(n));
    if (!temporary.empty() && temporary.find('\0') == std::string::npos) removed += removeNamed(temporary);
    ::unlink(record.c_str());
    ::close(fd);
  }
  ::rmdir(folder.c_str());
  return removed;
}
