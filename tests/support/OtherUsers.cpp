#include "OtherUsers.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

bool runAs(const char* user, std::vector<std::string> command, const std::string& output) {
  command.insert(command.begin(), {"runuser", "-u", user, "--"});
  std::vector<char*> argv;
  for (std::string& word : command) argv.push_back(word.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int out = output.empty() ? ::open("/dev/null", O_WRONLY)
                                   : ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool readableBy(const char* user, const std::string& path) { return runAs(user, {"cat", path}); }

TAsUser::TAsUser(uid_t uid) {
  const gid_t group = uid;
  active_ = ::setgroups(1, &group) == 0 && ::setresgid(group, group, 0) == 0 && ::setresuid(uid, uid, 0) == 0;
}

TAsUser::~TAsUser() {
  const gid_t root = 0;
  if (::setresuid(0, 0, 0) == 0 && ::setresgid(0, 0, 0) == 0) ::setgroups(1, &root);
}
