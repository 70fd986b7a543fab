#include "platform/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// $XDG_RUNTIME_DIR when it is what it must be: an absolute path of a
// folder of this user's that nobody else may enter. Empty otherwise.
std::string runtimeFolder() {
  const char* value = std::getenv("XDG_RUNTIME_DIR");
  if (!value || value[0] != '/') return {};
  struct stat st {};
  if (::stat(value, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 0077) != 0)
    return {};
  return value;
}

}  // namespace

TSystemPath singleInstanceLockPath(const std::string& name, const TSystemPath& own) {
  struct stat st {};
  if (::stat(own.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  const std::string runtime = runtimeFolder();
  if (runtime.empty()) return own / (name + ".lock");
  return TSystemPath(runtime) / (name + "." + std::to_string(st.st_dev) + "." + std::to_string(st.st_ino) + ".lock");
}

bool takeSingleInstanceLock(const std::string& name, const TSystemPath& folder) {
  const TSystemPath path = singleInstanceLockPath(name, folder);
  if (path.empty()) return true;
  // Kept open (and locked) until the process ends; not handed to children.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  const bool heldElsewhere = errno == EWOULDBLOCK;
  ::close(fd);
  return !heldElsewhere;
}

}  // namespace platform
