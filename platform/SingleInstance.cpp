#include "platform/SingleInstance.h"

#include "platform/Cp1250.h"
#include "platform/Platform.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

std::string singleInstanceLockPath(const std::string& name) {
  std::string folder;
  if (!commonDataFolder(folder)) folder = "/tmp";
  std::string user = userName();
  for (char& c : user)
    if (c == '/') c = '_';
  return folder + "/" + name + "." + user + ".lock";
}

bool takeSingleInstanceLock(const std::string& name) {
  const std::string path = cp1250ToUtf8(singleInstanceLockPath(name));
  // Kept open (and locked) until the process ends; not handed to children.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  const bool heldElsewhere = errno == EWOULDBLOCK;
  ::close(fd);
  return !heldElsewhere;
}

}  // namespace platform
