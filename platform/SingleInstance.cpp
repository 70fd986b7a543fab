#include "platform/SingleInstance.h"

#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

std::string singleInstanceLockPath(const std::string& name, const std::string& key) {
  std::string folder;
  if (!commonDataFolder(folder)) folder = "/tmp";
  std::string part = key;
  for (char& c : part)
    if (c == '/') c = '_';
  return folder + "/" + name + "." + part + ".lock";
}

bool takeSingleInstanceLock(const std::string& name, const std::string& key) {
  const std::string path = cp1250ToUtf8(singleInstanceLockPath(name, key));
  // Kept open (and locked) until the process ends; not handed to children.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  const bool heldElsewhere = errno == EWOULDBLOCK;
  ::close(fd);
  return !heldElsewhere;
}

}  // namespace platform
