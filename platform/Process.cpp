#include "Process.h"

#include "Cp1250.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <utility>

namespace platform {
namespace {

// Starts texts[0] with the rest as its arguments; `search` looks a bare
// name up on PATH (and lets the C library run a file that is no program of
// this system through the shell), otherwise exactly that file is run.
bool start(std::vector<std::string> texts, bool search) {
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);

  // The grandchild reports a failed exec through this pipe; a successful
  // exec closes it unread.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;

  const pid_t child = ::fork();
  if (child < 0) {
    const int e = errno;
    ::close(report[0]);
    ::close(report[1]);
    errno = e;
    return false;
  }
  if (child == 0) {
    // A second fork, so the started program is nobody's child here and
    // leaves no zombie; its own session, so it outlives this program.
    ::close(report[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) {
      const int e = errno;
      (void)!::write(report[1], &e, sizeof e);
      ::_exit(1);
    }
    if (grandchild == 0) {
      if (search)
        ::execvp(argv[0], argv.data());
      else
        ::execv(argv[0], argv.data());
      const int e = errno;
      (void)!::write(report[1], &e, sizeof e);
      ::_exit(127);
    }
    ::_exit(0);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int failure = 0;
  ssize_t got;
  while ((got = ::read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  if (got == static_cast<ssize_t>(sizeof failure)) {
    errno = failure;
    return false;
  }
  return true;
}

}  // namespace

bool startProcess(const std::string& program, const std::vector<std::string>& arguments) {
  if (program.empty()) {
    errno = ENOENT;
    return false;
  }
  // Everything the child needs is made before the fork: after it, in a
  // process with threads, only async-signal-safe calls may run.
  std::vector<std::string> texts;
  texts.push_back(cp1250ToUtf8(program));
  for (const std::string& argument : arguments) texts.push_back(cp1250ToUtf8(argument));
  return start(std::move(texts), true);
}

bool startProgramFile(const TSystemPath& file) {
  if (file.empty()) {
    errno = ENOENT;
    return false;
  }
  return start({file.bytes()}, false);
}

bool sendMail(const std::string& subject, const std::string& recipient, const std::string& body,
              const std::string& attachmentPath) {
  return startProcess("xdg-email", {"--subject", subject, "--body", body, "--attach", attachmentPath, recipient});
}

}  // namespace platform
