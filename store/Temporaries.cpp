#include "Temporaries.h"

#include "platform/NativeFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <random>
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

// The hold of a temporary (TOwnTemporary): a lock of the open file
// description on the file's first byte. Its maker takes it for writing; a
// cleanup takes it for reading, so it gets it only while nobody works on
// the file, and keeps it while it removes the file.
bool takeHold(int fd, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 1;
  while (::fcntl(fd, F_OFD_SETLK, &lock) != 0)
    if (errno != EINTR) return false;
  return true;
}

// Still linked under `path`, as the very file of the descriptor.
bool stillNamed(const std::string& path, int fd) {
  struct stat opened {}, named {};
  return ::fstat(fd, &opened) == 0 && opened.st_nlink > 0 && ::lstat(path.c_str(), &named) == 0 &&
         named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

// A regular file (a symbolic link is never followed) opened for reading
// without waiting, or -1.
int openRegular(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Removes what a record names, when it is a file of this user's (never
// through a symbolic link, never a folder) that no process holds: a name
// that another process made anew after the record's process died is left
// to it.
int removeNamed(const std::string& temporary) {
  const int fd = openRegular(temporary);
  if (fd >= 0 && !takeHold(fd, F_RDLCK) && (errno == EAGAIN || errno == EACCES)) {
    ::close(fd);
    return 0;
  }
  int removed = 0;
  for (const char* companion : kCompanions) {
    const std::string path = temporary + companion;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
    if (::unlink(path.c_str()) == 0 && *companion == '\0') ++removed;
  }
  if (fd >= 0) ::close(fd);
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
    // Not flushed: after a crash of the machine a temporary whose record
    // the disk lost is removed by the next open or save of its document.
    if (!writeAll(fd, temporary)) {
      ::unlink(name.c_str());
      ::close(fd);
      return;
    }
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

int iFunRemoveLeftTemporaries(const TSystemPath& dataFolder) {
  if (dataFolder.empty()) return 0;
  const std::string folder = strFunTemporaryRecordsFolder(dataFolder.bytes());
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

int iFunRemoveUnfinishedRecords(const TSystemPath& dataFolder) {
  static constexpr std::string_view kAside = ".nowy";
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(dataFolder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name.size() > kAside.size() && name.substr(name.size() - kAside.size()) == kAside)
        names.emplace_back(name);
    }
    ::closedir(dir);
  }
  int removed = 0;
  for (const std::string& name : names) removed += removeNamed((dataFolder / name).bytes());
  return removed;
}

TOwnTemporary::TOwnTemporary(const std::string& dataFolder, const std::string& stem) {
  std::random_device random;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    char part[17];
    std::snprintf(part, sizeof part, "%08x%08x", static_cast<unsigned>(random()), static_cast<unsigned>(random()));
    const std::string path = stem + "." + std::to_string(::getpid()) + "." + part;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) continue;  // another process's
    // Recorded before it is made, for a name nobody had: the record never
    // names another process's file for long.
    record_.reset();
    record_.emplace(dataFolder, path);
    const int fd = platform::native::createPrivateFile(path, O_RDWR);
    if (fd < 0) {
      error_ = errno;
      record_.reset();
      if (errno == EEXIST) continue;
      return;
    }
    // Held before a byte is written. A cleanup that took the empty file for
    // a leftover in the moment before holds it or has removed it: it is
    // left to that cleanup and another name is made. A file system without
    // such locks keeps the file unheld (a cleanup then never removes it;
    // the next start does, by its record).
    if (!takeHold(fd, F_WRLCK) && (errno == EAGAIN || errno == EACCES)) {
      ::close(fd);
      continue;
    }
    if (!stillNamed(path, fd)) {
      ::close(fd);
      continue;
    }
    path_ = path;
    fd_ = fd;
    error_ = 0;
  }
  if (fd_ < 0) record_.reset();
  if (fd_ < 0 && error_ == 0) error_ = EEXIST;
}

TOwnTemporary::~TOwnTemporary() {
  if (fd_ >= 0) ::close(fd_);
}

bool bFunIsOwnTemporaryOf(const std::string& stem, const std::string& path) {
  if (path.size() <= stem.size() + 1 || path.compare(0, stem.size(), stem) != 0 || path[stem.size()] != '.')
    return false;
  const std::string rest = path.substr(stem.size() + 1);
  const auto dot = rest.find('.');
  return dot != std::string::npos && dot > 0 && dot + 1 < rest.size() &&
         rest.find_first_not_of("0123456789") == dot &&
         rest.find_first_not_of("0123456789abcdef", dot + 1) == std::string::npos;
}

bool bFunRemoveUnheldTemporary(const std::string& path) {
  const int fd = openRegular(path);
  if (fd < 0) return false;
  const bool removed = takeHold(fd, F_RDLCK) && stillNamed(path, fd) && ::unlink(path.c_str()) == 0;
  ::close(fd);
  if (removed)
    for (const char* companion : kCompanions) {
      struct stat st {};
      const std::string other = path + companion;
      if (*companion != '\0' && ::lstat(other.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(other.c_str());
    }
  return removed;
}

int iFunRemoveUnheldTemporaries(const std::string& stem) {
  const auto slash = stem.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : stem.substr(0, slash);
  const std::string prefix = slash == std::string::npos ? std::string() : stem.substr(0, slash + 1);
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir))
      if (bFunIsOwnTemporaryOf(stem, prefix + entry->d_name)) names.push_back(prefix + entry->d_name);
    ::closedir(dir);
  }
  int removed = 0;
  for (const std::string& name : names) removed += bFunRemoveUnheldTemporary(name) ? 1 : 0;
  return removed;
}
