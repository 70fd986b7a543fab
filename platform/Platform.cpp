#include "Platform.h"

#include "Cp1250.h"
#include "NativeFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <atomic>
#include <map>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

thread_local int tLastError = 0;

bool fail(int code) {
  tLastError = code;
  return false;
}

std::string sys(const std::string& path) { return cp1250ToUtf8(path); }

std::mutex gMutex;  // guards the two overrides below
std::optional<std::string> gProgramFolder;
std::function<UtcTime()> gClock;

std::string envText(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

// mkdir -p on a UTF-8 path.
bool makePath(const std::string& utf8) {
  if (utf8.empty()) return fail(ENOENT);
  struct stat st {};
  if (::stat(utf8.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? true : fail(ENOTDIR);
  const auto slash = utf8.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !makePath(utf8.substr(0, slash))) return false;
  if (::mkdir(utf8.c_str(), 0777) != 0 && errno != EEXIST) return fail(errno);
  return true;
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Puts a finished file under a name that must not exist yet: a name that
// appeared meanwhile is kept (EEXIST). The file is gone from its own name.
int placeNew(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // A file system without that kind of rename: a second name, then the first goes.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

}  // namespace

int lastError() { return tLastError; }

bool commonDataFolder(std::string& folder) {
  std::string base = envText("TARVEK_COMMON_DATA_DIR");
  if (base.empty()) {
    base = envText("XDG_DATA_HOME");
    if (base.empty() || base[0] != '/') {
      std::string home = envText("HOME");
      if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir) home = pw->pw_dir;
      }
      if (home.empty()) return fail(ENOENT);
      base = home + "/.local/share";
    }
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  // The program keeps paths in Windows-1250: a folder whose name that code
  // page cannot spell is refused rather than turned into another path.
  std::string text = cp1250FromUtf8(base);
  if (cp1250ToUtf8(text) != base) return fail(EILSEQ);
  if (!makePath(base)) return false;
  folder = std::move(text);
  return true;
}

std::string programFolder() {
  {
    std::lock_guard lock(gMutex);
    if (gProgramFolder) return *gProgramFolder;
  }
  std::vector<char> buf(PATH_MAX + 1);
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  std::string exe(buf.data(), static_cast<size_t>(n));
  const auto slash = exe.find_last_of('/');
  return cp1250FromUtf8(slash == std::string::npos || slash == 0 ? std::string("/") : exe.substr(0, slash));
}

void setProgramFolder(std::optional<std::string> folder) {
  std::lock_guard lock(gMutex);
  gProgramFolder = std::move(folder);
}

std::string userName() {
  std::string n = envText("TARVEK_USER_NAME");
  if (n.empty()) {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) n = pw->pw_name;
  }
  if (n.empty()) n = envText("USER");
  if (n.empty()) n = std::to_string(::geteuid());
  for (char& c : n)
    if (c == '/') c = '_';
  return cp1250FromUtf8(n);
}

bool fileExists(const std::string& path) {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(sys(path).c_str(), &st) == 0;
}

bool directoryExists(const std::string& path) {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(sys(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createDirectory(const std::string& path) {
  if (path.empty()) return fail(ENOENT);
  if (::mkdir(sys(path).c_str(), 0777) != 0) return fail(errno);
  return true;
}

bool createPrivateDirectory(const std::string& path) {
  if (path.empty()) return fail(ENOENT);
  if (::mkdir(sys(path).c_str(), 0700) != 0) return fail(errno);
  return true;
}

bool folderAccess(const std::string& path, FolderAccess& access) {
  access = FolderAccess {};
  if (path.empty()) return fail(ENOENT);
  const std::string p = sys(path);
  struct stat own {};
  if (::lstat(p.c_str(), &own) != 0) return fail(errno);
  access.link = S_ISLNK(own.st_mode);
  access.linkOwnedByUser = access.link && own.st_uid == ::geteuid();
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return fail(errno);
  access.folder = S_ISDIR(st.st_mode);
  access.ownedByUser = st.st_uid == ::geteuid();
  access.mode = st.st_mode & 07777;
  if (const passwd* pw = ::getpwuid(st.st_uid); pw && pw->pw_name)
    access.owner = cp1250FromUtf8(pw->pw_name);
  else
    access.owner = std::to_string(st.st_uid);
  return true;
}

bool restrictToUser(const std::string& path) {
  if (path.empty()) return fail(ENOENT);
  struct stat st {};
  const std::string p = sys(path);
  if (::stat(p.c_str(), &st) != 0) return fail(errno);
  if (::chmod(p.c_str(), st.st_mode & 07700) != 0) return fail(errno);
  return true;
}

bool deleteFile(const std::string& path) {
  if (path.empty()) return fail(ENOENT);
  struct stat st {};
  const std::string p = sys(path);
  if (::lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return fail(EISDIR);
  if (::unlink(p.c_str()) != 0) return fail(errno);
  return true;
}

bool resetAttributes(const std::string& path) {
  if (path.empty()) return fail(ENOENT);
  return native::resetAttributes(sys(path));
}

bool copyFile(const std::string& source, const std::string& target, bool failIfExists) {
  if (source.empty() || target.empty()) return fail(ENOENT);
  return copyFile(TSystemPath::fromText(source), TSystemPath::fromText(target), failIfExists);
}

bool fileExists(const TSystemPath& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool copyFile(const TSystemPath& source, const TSystemPath& target, bool failIfExists) {
  if (source.empty() || target.empty()) return fail(ENOENT);
  const std::string& src = source.bytes();
  const std::string& dst = target.bytes();

  const int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return fail(errno);
  struct stat st {};
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(in);
    return fail(e);
  }
  struct stat tst {};
  const bool targetExists = ::stat(dst.c_str(), &tst) == 0;
  if (targetExists) {
    if (failIfExists) { ::close(in); return fail(EEXIST); }
    if (S_ISDIR(tst.st_mode)) { ::close(in); return fail(EISDIR); }
    if (tst.st_dev == st.st_dev && tst.st_ino == st.st_ino) { ::close(in); return fail(EINVAL); }
    // A file the user made read-only stays protected, as the system copy does.
    if (::access(dst.c_str(), W_OK) != 0) { ::close(in); return fail(errno); }
  }

  // The copy is written beside the target, flushed, and put in place in one
  // step, so an old file stays whole and no half-written file is ever left
  // under the target's name, even when the program is killed meanwhile.
  std::vector<char> tmpl(dst.begin(), dst.end());
  const std::string suffix = ".XXXXXX";
  tmpl.insert(tmpl.end(), suffix.begin(), suffix.end());
  tmpl.push_back('\0');
  const int out = ::mkostemp(tmpl.data(), O_CLOEXEC);
  const std::string out_path(tmpl.data());
  if (out < 0) { const int e = errno; ::close(in); return fail(e); }

  int err = 0;
  std::vector<char> buf(1 << 16);
  for (;;) {
    const ssize_t n = ::read(in, buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    if (!writeAll(out, buf.data(), static_cast<size_t>(n))) { err = errno; break; }
  }
  ::close(in);
  // The copy keeps the mode mkostemp gave it (0600): the files copied here
  // are the user's own working files, whatever the source's mode.
  if (err == 0 && ::fsync(out) != 0) err = errno;
  if (::close(out) != 0 && err == 0) err = errno;
  if (err == 0) err = failIfExists ? placeNew(out_path, dst) : (::rename(out_path.c_str(), dst.c_str()) == 0 ? 0 : errno);
  if (err != 0) ::unlink(out_path.c_str());
  return err == 0 ? true : fail(err);
}

bool createEmptyFile(const std::string& path) {
  if (path.empty()) return fail(ENOENT);
  const int fd = ::open(sys(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return fail(errno);
  ::close(fd);
  return true;
}

UtcTime utcNow() {
  {
    std::lock_guard lock(gMutex);
    if (gClock) return gClock();
  }
  const std::time_t now = std::time(nullptr);
  std::tm tm {};
  ::gmtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

void setUtcClock(std::function<UtcTime()> clock) {
  std::lock_guard lock(gMutex);
  gClock = std::move(clock);
}

void ignoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

namespace native {

namespace {

// The one rule for a file system that keeps no Unix modes or owners (a FAT
// stick): changing them answers ENOSYS or EOPNOTSUPP, or EPERM on a file of
// this user's own (which a Unix file system always lets its owner change).
// There the work goes on without them. Any other answer (EACCES, EROFS, EIO,
// EPERM on someone else's file) stays a failure, so a file that must be
// private never stays readable on a file system that could make it so.
bool keepsNoModes(int error, const struct stat& file) {
  return error == ENOSYS || error == EOPNOTSUPP || (error == EPERM && file.st_uid == ::geteuid());
}

bool modeSet(int result, const std::string& path) {
  if (result == 0) return true;
  const int error = errno;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && keepsNoModes(error, st)) return true;
  // Where every file is the mount's (a FAT stick mounted for one user), no
  // file is anybody's to change: the file keeps what the stick shows.
  return error == EPERM && folderTraits(path).noOwners ? true : fail(error);
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool syncFolderOf(const std::string& path) {
  const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL;  // some file systems cannot flush a folder
  const int e = errno;
  ::close(fd);
  return ok ? true : fail(e);
}

}  // namespace

bool exists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

TPickedFile::TPickedFile(const std::string& path) {
  if (path.empty()) {
    error_ = ENOENT;
    return;
  }
  // A named pipe or a device is refused by its name alone where it can be,
  // so that none is even opened.
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0) {
    error_ = errno;
    return;
  }
  if (!S_ISREG(before.st_mode)) {
    error_ = S_ISDIR(before.st_mode) ? EISDIR : EINVAL;
    return;
  }
  // What decides is the descriptor: the name may have changed since.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0)
    error_ = errno;
  else if (S_ISDIR(st.st_mode))
    error_ = EISDIR;
  else if (!S_ISREG(st.st_mode))
    error_ = EINVAL;
  if (error_ != 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  size_ = st.st_size;
}

TPickedFile::~TPickedFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool TPickedFile::readAll(std::string& bytes) const {
  bytes.clear();
  if (fd_ < 0) return fail(error_ != 0 ? error_ : EBADF);
  std::vector<char> buffer(1 << 16);
  for (off_t at = 0;;) {
    const ssize_t got = ::pread(fd_, buffer.data(), buffer.size(), at);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fail(errno);
    if (got == 0) return true;
    bytes.append(buffer.data(), static_cast<size_t>(got));
    at += got;
  }
}

int readableFileError(const std::string& path) { return TPickedFile(path).error(); }

std::string linkTarget(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size() - 1);
    if (n <= 0) return current;
    std::string next(buf.data(), static_cast<size_t>(n));
    // A relative link is read from the folder of the link itself.
    current = next[0] == '/' ? next : folderOf(current) + "/" + next;
  }
  return current;
}

bool folderTakesNewFiles(const std::string& path) {
  return ::access(folderOf(path).c_str(), W_OK | X_OK) == 0 ? true : fail(errno);
}

bool fileWritable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0 ? true : fail(errno); }

namespace {

bool lockless(int error) { return error == ENOLCK || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL; }

// A file of this process's own in the folder, for a look at what the file
// system does with it: unnamed where the file system makes such files, else
// made under a name nobody uses and unnamed at once. -1 where the folder
// takes no new file.
int ownProbeFile(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0 || errno == EACCES || errno == EROFS || errno == ENOENT) return fd;
  static std::atomic<unsigned> made {0};
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name = folder + "/.tarvek-proba." + std::to_string(::getpid()) + "." +
                             std::to_string(made++) + "." + std::to_string(std::rand());
    fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::unlink(name.c_str());
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

TFolderTraits probeFolder(const std::string& folder) {
  TFolderTraits traits;
  const int fd = ownProbeFile(folder);
  if (fd >= 0) {
    struct stat st {};
    traits.noOwners = ::fstat(fd, &st) == 0 && st.st_uid != ::geteuid();
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_len = 1;
    int error = 0;
    // A kernel short of lock records answers ENOLCK for a while too: asked
    // again before the file system is taken for one without locks.
    for (int attempt = 0; attempt < 5; ++attempt) {
      error = ::fcntl(fd, F_OFD_SETLK, &lock) == 0 ? 0 : errno;
      if (error != ENOLCK) break;
      ::usleep(2000);
    }
    traits.noLocks = lockless(error);
    ::close(fd);
    return traits;
  }
  // A folder that takes no new file is asked itself; asking whether a lock
  // would be granted takes no lock record, so no shortage answers for the
  // file system.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return traits;
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  traits.noLocks = ::fcntl(dir, F_OFD_GETLK, &lock) != 0 && lockless(errno);
  ::close(dir);
  return traits;
}

std::mutex gTraitsMutex;
std::map<std::pair<dev_t, ino_t>, TFolderTraits> gTraits;
std::function<void(const std::string&)> gNoLocksNotice;

}  // namespace

TFolderTraits folderTraits(const std::string& path) {
  const std::string folder = folderOf(path);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return {};
  const auto key = std::make_pair(st.st_dev, st.st_ino);
  {
    const std::lock_guard<std::mutex> guard(gTraitsMutex);
    if (const auto known = gTraits.find(key); known != gTraits.end()) return known->second;
  }
  const TFolderTraits traits = probeFolder(folder);
  std::function<void(const std::string&)> notice;
  {
    const std::lock_guard<std::mutex> guard(gTraitsMutex);
    if (gTraits.emplace(key, traits).second && traits.noLocks) notice = gNoLocksNotice;
  }
  if (notice) notice(folder);
  return traits;
}

bool offersNoLocks(const std::string& path) { return folderTraits(path).noLocks; }

void setNoLocksNotice(std::function<void(const std::string& folder)> notice) {
  const std::lock_guard<std::mutex> guard(gTraitsMutex);
  gNoLocksNotice = std::move(notice);
}

bool removeFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
  return fail(errno);
}

bool replaceFile(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return fail(errno);
  return syncFolderOf(to);
}

bool syncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  const bool ok = ::fsync(fd) == 0;
  const int e = errno;
  ::close(fd);
  return ok ? true : fail(e);
}

int createPrivateFile(const std::string& path, int flags) {
  // The umask can only narrow 0600; the file is never someone else's to read.
  const int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
  if (fd < 0) fail(errno);
  return fd;
}

bool makePrivateFile(const std::string& path) {
  const int fd = createPrivateFile(path, O_WRONLY);
  if (fd >= 0) return ::close(fd) == 0 ? true : fail(errno);
  return errno == EEXIST ? true : fail(errno);
}

bool giveNewFileMode(const std::string& path) {
  // What SQLite gives a database it makes: 0644 less the umask, read where
  // the kernel reports it (changing the umask to learn it is not safe while
  // another thread makes files).
  mode_t mask = 022;
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status))
      if (std::strncmp(line, "Umask:", 6) == 0) mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
    std::fclose(status);
  }
  return setMode(path, 0644 & ~mask);
}

bool setMode(const std::string& path, mode_t mode) { return modeSet(::chmod(path.c_str(), mode), path); }

bool setModeOf(int fd, mode_t mode) {
  if (::fchmod(fd, mode) == 0) return true;
  const int error = errno;
  struct stat st {};
  return ::fstat(fd, &st) == 0 && keepsNoModes(error, st) ? true : fail(error);
}

long long freeBytes(const std::string& path) {
  struct statvfs fs {};
  if (::statvfs(path.c_str(), &fs) != 0) return -1;
  return static_cast<long long>(fs.f_bavail) * static_cast<long long>(fs.f_frsize);
}

bool ownershipCopyable(const std::string& from) {
  struct stat st {};
  if (::stat(from.c_str(), &st) != 0) return false;
  const uid_t user = ::geteuid();
  if (user == 0) return true;
  if (st.st_uid != user) return false;
  if (st.st_gid == ::getegid()) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  const int got = ::getgroups(count, groups.data());
  for (int i = 0; i < got; ++i)
    if (groups[static_cast<size_t>(i)] == st.st_gid) return true;
  return false;
}

bool copyOwnership(const std::string& from, const std::string& to) {
  struct stat st {};
  if (::stat(from.c_str(), &st) != 0) return fail(errno);
  if (!setMode(to, st.st_mode & 07777)) return false;
  // The owner goes along where the system allows it (the superuser); the
  // group wherever this user belongs to it.
  if (::chown(to.c_str(), st.st_uid, st.st_gid) != 0 &&
      !modeSet(::chown(to.c_str(), static_cast<uid_t>(-1), st.st_gid), to) && lastError() != EPERM)
    return false;
  // chown may clear set-id bits: set the mode again.
  return setMode(to, st.st_mode & 07777);
}

bool resetAttributes(const std::string& path) {
  if (path.empty()) return fail(ENOENT);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return fail(errno);
  // Someone else's file that this user may already read and write (in a
  // shared folder, say) needs nothing reset; only its owner could.
  if (st.st_uid != ::geteuid() && ::access(path.c_str(), R_OK | W_OK) == 0) return true;
  // Nothing to reset is left alone: a change of mode is a change of the
  // file (its change time moves), which would have "Zapisz" sum it up anew.
  // A file system that keeps no modes has none to reset (the save then
  // tells whether the file can be written).
  const mode_t mode = (st.st_mode & 07777) | S_IRUSR | S_IWUSR;
  return mode == (st.st_mode & 07777) ? true : setMode(path, mode);
}

}  // namespace native

}  // namespace platform
