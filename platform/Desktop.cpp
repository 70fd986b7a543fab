#include "Desktop.h"

#include "Cp1250.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {
namespace {

std::mutex gMutex;
std::function<bool(const std::string&)> gOpener;

// The opener's full path, searched along PATH; empty when there is none.
std::string findOnPath(const char* name) {
  const char* path = std::getenv("PATH");
  const std::string list = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    // An empty entry is the current folder.
    std::string candidate = end > start ? list.substr(start, end - start) : std::string(1, '.');
    candidate.push_back('/');
    candidate.append(name);
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (end == list.size()) return {};
    start = end + 1;
  }
}

bool fail(int code) {
  errno = code;
  return false;
}

bool launch(const std::string& target) {
  const std::string opener = findOnPath("xdg-open");
  if (opener.empty()) return fail(ENOENT);
  const std::string argument = cp1250ToUtf8(target);

  // Two forks: the middle process ends at once and is reaped here, so the
  // opener belongs to no one of ours and leaves no zombie behind.
  const pid_t middle = ::fork();
  if (middle < 0) return fail(errno);
  if (middle == 0) {
    ::setsid();
    const pid_t opener_pid = ::fork();
    if (opener_pid == 0) {
      ::execl(opener.c_str(), opener.c_str(), argument.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::_exit(opener_pid < 0 ? 1 : 0);
  }
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return fail(ECHILD);
  return true;
}

}  // namespace

bool openWithDesktop(const std::string& target) {
  std::function<bool(const std::string&)> opener;
  {
    std::lock_guard lock(gMutex);
    opener = gOpener;
  }
  return opener ? opener(target) : launch(target);
}

void setDesktopOpener(std::function<bool(const std::string&)> opener) {
  std::lock_guard lock(gMutex);
  gOpener = std::move(opener);
}

}  // namespace platform
