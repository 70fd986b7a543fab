#include "platform/Desktop.h"
#include "platform/Process.h"

#include "platform/Cp1250.h"
#include "support/StartedPrograms.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <poll.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A started program runs on its own; its result is awaited with a deadline.
std::string awaitFile(const std::string& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!fs::exists(path) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::yield();
  return fs::exists(path) ? readText(path) : std::string("<not written>");
}

// A program that writes its arguments, one a line, to `out` (renamed into
// place, so the file is whole when it appears).
void writeRecorder(const std::string& path, const std::string& out) {
  writeText(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out + ".tmp'\n/bin/mv '" + out +
                      ".tmp' '" + out + "'\n");
  fs::permissions(path, fs::perms::owner_all);
}

class ProcessTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  std::string bin() const { return dirs.root() + "/bin"; }
  std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  void SetUp() override { fs::create_directories(bin()); }
  void TearDown() override { ::setenv("PATH", savedPath.c_str(), 1); }
  // Only the test's own folder is searched for programs.
  void onlyOwnPrograms() { ::setenv("PATH", bin().c_str(), 1); }
};

}  // namespace

TEST_F(ProcessTest, AProgramStartsWithItsArgumentsInTheSystemsText) {
  const std::string out = dirs.root() + "/args.txt";
  writeRecorder(bin() + "/rec", out);
  ASSERT_TRUE(platform::startProcess(bin() + "/rec", {"one two", cp1250("żółw"), ""}));
  EXPECT_EQ(awaitFile(out), "one two\nżółw\n\n");
}

TEST_F(ProcessTest, AProgramThatCannotRunIsReported) {
  writeText(bin() + "/plain", "#!/bin/sh\n");
  fs::permissions(bin() + "/plain", fs::perms::owner_read | fs::perms::owner_write);
  struct Case {
    std::string program;
    int error;
  } cases[] = {{bin() + "/missing", ENOENT}, {bin() + "/plain", EACCES}, {"", ENOENT}};
  for (const Case& c : cases) {
    errno = 0;
    EXPECT_FALSE(platform::startProcess(c.program, {})) << c.program;
    EXPECT_EQ(errno, c.error) << c.program;
  }
}

// The downloaded installer: exactly that file, as a program of this
// system; never a name looked up on PATH, never a text run by a shell.
TEST_F(ProcessTest, AProgramFileStartsOnlyAsItselfAndNeverThroughAShell) {
  onlyOwnPrograms();
  const std::string out = dirs.root() + "/ran.txt";
  writeRecorder(bin() + "/rec", out);
  writeText(bin() + "/polecenia", "echo ran > '" + out + "'\n");  // no "#!" line
  fs::permissions(bin() + "/polecenia", fs::perms::owner_all);
  writeText(bin() + "/pusty", "");
  fs::permissions(bin() + "/pusty", fs::perms::owner_all);
  struct Case {
    std::string file;
    int error;
  } cases[] = {{"rec", ENOENT}, {bin() + "/polecenia", ENOEXEC}, {bin() + "/pusty", ENOEXEC}, {"", ENOENT}};
  TStartedPrograms started;
  for (const Case& c : cases) {
    errno = 0;
    EXPECT_FALSE(platform::startProgramFile(TSystemPath(c.file))) << c.file;
    EXPECT_EQ(errno, c.error) << c.file;
  }
  // A shell that ran the commands would have written before it ended.
  ASSERT_TRUE(started.bFunAwaitAllEnded());
  EXPECT_FALSE(fs::exists(out));
  ASSERT_TRUE(platform::startProgramFile(TSystemPath(bin() + "/rec")));
  EXPECT_EQ(awaitFile(out), "");  // run, with no arguments
}

TEST_F(ProcessTest, MailAndDesktopGoThroughTheDesktopsTools) {
  onlyOwnPrograms();
  EXPECT_FALSE(platform::sendMail("Logi", "a@b.pl", "note", "/x/logs.sqdb"));
  EXPECT_FALSE(platform::openWithDesktop("https://example.invalid/"));

  writeRecorder(bin() + "/xdg-email", dirs.root() + "/mail.txt");
  writeRecorder(bin() + "/xdg-open", dirs.root() + "/open.txt");
  ASSERT_TRUE(platform::sendMail("Logi", "a@b.pl", cp1250("Logi programu ł"), "/x/logs.sqdb"));
  EXPECT_EQ(awaitFile(dirs.root() + "/mail.txt"),
            "--subject\nLogi\n--body\nLogi programu ł\n--attach\n/x/logs.sqdb\na@b.pl\n");
  ASSERT_TRUE(platform::openWithDesktop("https://example.invalid/?a=1"));
  EXPECT_EQ(awaitFile(dirs.root() + "/open.txt"), "https://example.invalid/?a=1\n");
}

TEST_F(ProcessTest, TheDesktopOpenerTellsHowItEnded) {
  onlyOwnPrograms();
  const struct {
    const char* script;
    int end;
  } cases[] = {{"exit 0", 0}, {"echo 'xdg-open: no method available' >&2; exit 3", 3}, {"kill -9 $$", 255}};
  for (const auto& c : cases) {
    writeText(bin() + "/xdg-open", std::string("#!/bin/sh\n") + c.script + "\n");
    fs::permissions(bin() + "/xdg-open", fs::perms::owner_all);
    int fd = -1;
    ASSERT_TRUE(platform::openWithDesktop("https://example.invalid/", &fd)) << c.script;
    ASSERT_GE(fd, 0) << c.script;
    pollfd ready {fd, POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 20000), 1) << c.script;  // the opener has ended
    unsigned char end = 0;
    EXPECT_EQ(::read(fd, &end, 1), 1) << c.script;
    EXPECT_EQ(end, c.end) << c.script;
    ::close(fd);
  }
  // Without an opener there is nothing to wait for.
  fs::remove(bin() + "/xdg-open");
  int fd = 7;
  EXPECT_FALSE(platform::openWithDesktop("https://example.invalid/", &fd));
  EXPECT_EQ(fd, -1);
}
