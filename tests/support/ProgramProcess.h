#pragma once
// The program started for real, in a process of its own, as a user starts
// it: its own arguments, folder and environment; the test waits for it,
// reads what it wrote, and kills it when it is still running at the end.
#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

struct TProgramStart {
  std::string program {};                   // path of the executable
  std::vector<std::string> arguments {};    // after the program's own name
  std::vector<std::string> environment {};  // "NAME=value", over this process's own
  std::string folder {};                    // the folder it starts in; empty: this process's
  std::string output {};                    // file of its standard output; empty: this process's
};

class ProgramProcess {
 public:
  explicit ProgramProcess(const TProgramStart& start);
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool running();
  // Waits (up to the deadline) until the condition holds.
  template <class Condition>
  static bool waitFor(Condition condition, std::chrono::seconds deadline = std::chrono::seconds(60));
  bool waitForExit(std::chrono::seconds deadline = std::chrono::seconds(60));
  void crash();
  // The exit code of a program that ended by itself, otherwise -1.
  int exitCode() const;

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
};

template <class Condition>
bool ProgramProcess::waitFor(Condition condition, std::chrono::seconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
