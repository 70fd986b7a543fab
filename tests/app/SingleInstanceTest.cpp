// Two real copies of the program: the second must tell the user and end
// while the first keeps running.
#include "app/Startup.h"
#include "platform/Cp1250.h"
#include "toolkit/Dialogs.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kNotice =
    "48||UWAGA !!!\\n\\nNastąpiła zmiana w plikach przechowujących dane. Stare pliki można wczytać poprzez funkcję "
    "import w menu plik.\n";

// The program copied into the test's program folder with its shipped files,
// so it runs from there; its message boxes go to a log file.
class ProgramProcess {
 public:
  ProgramProcess(const TempFolders& dirs, const std::string& log) : log_(log) {
    const std::string program = dirs.program() + "/tarvek";
    std::vector<std::string> env = {"TARVEK_DIALOG_LOG=" + log, "QT_QPA_PLATFORM=offscreen"};
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("TARVEK_DIALOG_LOG=", 0) != 0 && std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0)
        env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) pid_ = -1;
  }
  ~ProgramProcess() {
    if (pid_ > 0 && running()) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool running() {
    if (exited_) return false;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      exited_ = true;
      status_ = status;
    }
    return !exited_;
  }
  // Waits (up to a generous deadline) until the condition holds.
  template <class Condition>
  static bool waitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }
  bool waitForExit() { return waitFor([this] { return !running(); }); }
  bool waitForBoxes(const std::string& expected) {
    return waitFor([&] { return readText(log_) == expected || !running(); }) && readText(log_) == expected;
  }
  void crash() {
    ::kill(pid_, SIGKILL);
    waitForExit();
  }
  int exitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  pid_t pid() const { return pid_; }

 private:
  std::string log_;
  pid_t pid_ = -1;
  bool exited_ = false;
  int status_ = 0;
};

}  // namespace

TEST(SingleInstanceTest, ASecondCopyTellsTheUserAndEndsWhileTheFirstRuns) {
  TempFolders dirs;
  dirs.shipProgramFolder();
  const std::string log1 = dirs.root() + "/first.log", log2 = dirs.root() + "/second.log";

  ProgramProcess first(dirs, log1);
  ASSERT_GT(first.pid(), 0);
  // The notice of the first start proves the first copy is past its lock.
  ASSERT_TRUE(first.waitForBoxes(kNotice));

  ProgramProcess second(dirs, log2);
  ASSERT_TRUE(second.waitForExit());
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(readText(log2), "16|Kopia|Ten program jest już uruchomiony.\n");
  EXPECT_TRUE(first.running());

  // A copy that dies leaves no lock behind: the next start runs normally.
  first.crash();
  sqlExec(dirs.data() + "/ustawienia.sqset", "update settings set int_value=1 where name='import_alert'");
  const std::string log3 = dirs.root() + "/third.log";
  ProgramProcess third(dirs, log3);
  EXPECT_TRUE(third.waitForBoxes(kNotice));
  EXPECT_TRUE(third.running());
}

// "Łukasz" and "Lukasz" work in one data folder, so they are one program.
TEST(SingleInstanceTest, NamesThatFoldAlikeShareOneLock) {
  TempFolders dirs("Łukasz");
  TScriptedDialogs script;
  EXPECT_FALSE(bFunProgramJuzUruchomiony());
  ::setenv("TARVEK_USER_NAME", "Lukasz", 1);
  EXPECT_TRUE(bFunProgramJuzUruchomiony());
  ::setenv("TARVEK_USER_NAME", "Marek", 1);
  EXPECT_FALSE(bFunProgramJuzUruchomiony());
  EXPECT_EQ(script.boxes,
            (std::vector<TShownBox> {{cp1250("Ten program jest już uruchomiony."), "Kopia", MB_OK | MB_ICONSTOP}}));
}
