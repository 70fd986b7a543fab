// Two real copies of the program: the second must tell the user and end
// while the first keeps running.
#include "app/Startup.h"
#include "platform/Cp1250.h"
#include "toolkit/Dialogs.h"
#include "support/ProgramProcess.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kNotice =
    "48||UWAGA !!!\\n\\nNastąpiła zmiana w plikach przechowujących dane. Stare pliki można wczytać poprzez funkcję "
    "import w menu plik.\n";

// The program copied into the test's program folder with its shipped files,
// so it runs from there; its message boxes go to a log file.
class ShippedProgram : public ProgramProcess {
 public:
  ShippedProgram(const TempFolders& dirs, const std::string& log)
      : ProgramProcess({.program = dirs.program() + "/tarvek",
                        .environment = {"TARVEK_DIALOG_LOG=" + log, "QT_QPA_PLATFORM=offscreen"}}),
        log_(log) {}
  bool waitForBoxes(const std::string& expected) {
    return waitFor([&] { return readText(log_) == expected || !running(); }) && readText(log_) == expected;
  }

 private:
  std::string log_;
};

// The names in a folder, none when it is not there.
std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
    names.push_back(it->path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(SingleInstanceTest, ASecondCopyTellsTheUserAndEndsWhileTheFirstRuns) {
  TempFolders dirs;
  dirs.shipProgramFolder();
  const std::string log1 = dirs.root() + "/first.log", log2 = dirs.root() + "/second.log";

  ShippedProgram first(dirs, log1);
  ASSERT_GT(first.pid(), 0);
  // The notice of the first start proves the first copy is past its lock.
  ASSERT_TRUE(first.waitForBoxes(kNotice));

  ShippedProgram second(dirs, log2);
  ASSERT_TRUE(second.waitForExit());
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(readText(log2), "16|Kopia|Ten program jest już uruchomiony.\n");
  EXPECT_TRUE(first.running());

  // A copy that dies leaves no lock behind: the next start runs normally.
  first.crash();
  sqlExec(dirs.data() + "/ustawienia.sqset", "update settings set int_value=1 where name='import_alert'");
  const std::string log3 = dirs.root() + "/third.log";
  ShippedProgram third(dirs, log3);
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

// The lock file lies in the user's runtime folder, one per data folder, and
// where that folder is missing or not the user's alone, in the data folder:
// never loose in the common folder.
TEST(SingleInstanceTest, TheLockLiesInTheRuntimeFolderElseInTheDataFolder) {
  struct Case {
    const char* runtime;  // nullptr: unset; "private": a folder of the test's (0700)
    unsigned mode;
    bool inRuntime;
  };
  const Case cases[] = {
      {"private", 0700, true},
      {nullptr, 0, false},
      {"private", 0755, false},  // others may look in
      {"run", 0700, false},      // not an absolute path
  };
  const char* before = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = before ? before : "";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.runtime ? c.runtime : "unset") + " " + std::to_string(c.mode));
    TempFolders dirs;
    TScriptedDialogs script;
    const fs::path runtime = fs::path(dirs.root()) / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, static_cast<fs::perms>(c.mode));
    if (!c.runtime)
      ::unsetenv("XDG_RUNTIME_DIR");
    else
      ::setenv("XDG_RUNTIME_DIR", std::string(c.runtime) == "private" ? runtime.c_str() : c.runtime, 1);

    EXPECT_FALSE(bFunProgramJuzUruchomiony());
    EXPECT_TRUE(bFunProgramJuzUruchomiony());
    const std::vector<std::string> inRuntime = namesIn(runtime), inData = namesIn(cp1250ToUtf8(dirs.data()));
    if (c.inRuntime) {
      ASSERT_EQ(inRuntime.size(), 1u);
      EXPECT_TRUE(inRuntime[0].starts_with("KESTAL-TARVEK.") && inRuntime[0].ends_with(".lock")) << inRuntime[0];
      EXPECT_TRUE(inData.empty());
    } else {
      EXPECT_TRUE(inRuntime.empty());
      EXPECT_EQ(inData, std::vector<std::string> {"KESTAL-TARVEK.lock"});
    }
    // The common folder holds the program's folder and nothing loose.
    EXPECT_EQ(namesIn(dirs.common()), std::vector<std::string> {"Kestal-Tarvek"});

    // Another data folder under the same runtime folder runs a copy of its own.
    ::setenv("TARVEK_COMMON_DATA_DIR", (dirs.root() + "/other").c_str(), 1);
    EXPECT_FALSE(bFunProgramJuzUruchomiony());
  }
  if (before)
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  else
    ::unsetenv("XDG_RUNTIME_DIR");
}
