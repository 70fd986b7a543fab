#include "Desktop.h"

#include "Cp1250.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
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

// The byte that tells how the opener ended.
unsigned char endByte(int status) {
  if (WIFEXITED(status)) return static_cast<unsigned char>(std::min(WEXITSTATUS(status), 255));
  return 255;
}

bool launch(const std::string& target, int* statusFd) {
  const std::string opener = findOnPath("xdg-open");
  if (opener.empty()) return fail(ENOENT);
  const std::string argument = cp1250ToUtf8(target);

  // The opener's end travels through a pipe whose ends no other program
  // inherits.
  int ends[2] = {-1, -1};
  if (statusFd && ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return fail(errno);
  const int readEnd = ends[0], writeEnd = ends[1];

  // Two forks: the middle process ends at once and is reaped here, so the
  // process below it belongs to no one of ours and leaves no zombie behind.
  // That process waits for the opener and writes how it ended.
  const pid_t middle = ::fork();
  if (middle < 0) {
    const int error = errno;
    if (statusFd) {
      ::close(readEnd);
      ::close(writeEnd);
    }
    return fail(error);
  }
  if (middle == 0) {
    ::setsid();
    const pid_t watcher = ::fork();
    if (watcher == 0) {
      const pid_t opener_pid = ::fork();
      if (opener_pid == 0) {
        ::execl(opener.c_str(), opener.c_str(), argument.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
      }
      if (writeEnd < 0) ::_exit(0);
      ::signal(SIGPIPE, SIG_IGN);  // the program may have ended meanwhile
      int status = 0;
      unsigned char end = 255;
      if (opener_pid > 0) {
        pid_t waited;
        while ((waited = ::waitpid(opener_pid, &status, 0)) < 0 && errno == EINTR) {
        }
        end = waited == opener_pid ? endByte(status) : 255;
      }
      while (::write(writeEnd, &end, 1) < 0 && errno == EINTR) {
      }
      ::_exit(0);
    }
    ::_exit(watcher < 0 ? 1 : 0);
  }
  if (statusFd) ::close(writeEnd);
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    if (statusFd) ::close(readEnd);
    return fail(ECHILD);
  }
  if (statusFd) *statusFd = readEnd;
  return true;
}

}  // namespace

bool openWithDesktop(const std::string& target, int* statusFd) {
  if (statusFd) *statusFd = -1;
  std::function<bool(const std::string&)> opener;
  {
    std::lock_guard lock(gMutex);
    opener = gOpener;
  }
  return opener ? opener(target) : launch(target, statusFd);
}

void setDesktopOpener(std::function<bool(const std::string&)> opener) {
  std::lock_guard lock(gMutex);
  gOpener = std::move(opener);
}

}  // namespace platform
