#include "support/ProgramProcess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ProgramProcess::ProgramProcess(const TProgramStart& start) {
  std::vector<std::string> env = start.environment;
  const auto overridden = [&](const std::string& entry) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    for (const std::string& own : start.environment)
      if (own.rfind(name, 0) == 0) return true;
    return false;
  };
  for (char** e = environ; *e; ++e)
    if (!overridden(*e)) env.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  std::vector<std::string> words = {start.program};
  words.insert(words.end(), start.arguments.begin(), start.arguments.end());
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!start.folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, start.folder.c_str());
  if (!start.output.empty())
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, start.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
  if (posix_spawn(&pid_, start.program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

ProgramProcess::~ProgramProcess() {
  if (pid_ > 0 && running()) crash();
}

bool ProgramProcess::running() {
  if (exited_ || pid_ <= 0) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) {
    exited_ = true;
    status_ = status;
  }
  return !exited_;
}

bool ProgramProcess::waitForExit(std::chrono::seconds deadline) {
  return waitFor([this] { return !running(); }, deadline);
}

void ProgramProcess::crash() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  waitForExit();
}

int ProgramProcess::exitCode() const { return exited_ && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
