#include "platform/Platform.h"
#include "platform/Desktop.h"

#include "platform/Cp1250.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

class PlatformTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  std::string at(const std::string& name) const { return dirs.root() + "/" + name; }
};

TEST_F(PlatformTest, CommonFolderComesFromTheOverrideAndIsMade) {
  const std::string wanted = at("deep/common/share");
  ::setenv("TARVEK_COMMON_DATA_DIR", wanted.c_str(), 1);
  std::string folder;
  ASSERT_TRUE(platform::commonDataFolder(folder));
  EXPECT_EQ(folder, wanted);
  EXPECT_TRUE(fs::is_directory(wanted));
}

TEST_F(PlatformTest, CommonFolderFallsBackToTheXdgDataHome) {
  ::unsetenv("TARVEK_COMMON_DATA_DIR");
  const std::string xdg = at("xdg");
  ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  std::string folder;
  ASSERT_TRUE(platform::commonDataFolder(folder));
  EXPECT_EQ(folder, xdg);

  ::unsetenv("XDG_DATA_HOME");
  const char* oldHome = std::getenv("HOME");
  const std::string keepHome = oldHome ? oldHome : "";
  ::setenv("HOME", at("home").c_str(), 1);
  ASSERT_TRUE(platform::commonDataFolder(folder));
  EXPECT_EQ(folder, at("home") + "/.local/share");
  ::setenv("HOME", keepHome.c_str(), 1);
}

TEST_F(PlatformTest, CommonFolderUnderAFileCannotBeHad) {
  writeText(at("plain"), "x");
  ::setenv("TARVEK_COMMON_DATA_DIR", at("plain/below").c_str(), 1);
  std::string folder = "unchanged";
  EXPECT_FALSE(platform::commonDataFolder(folder));
  EXPECT_EQ(platform::lastError(), ENOTDIR);
  EXPECT_EQ(folder, "unchanged");
}

TEST_F(PlatformTest, ACommonFolderTheCodePageCannotSpellIsRefused) {
  ::setenv("TARVEK_COMMON_DATA_DIR", at("Иван").c_str(), 1);
  std::string folder = "unchanged";
  EXPECT_FALSE(platform::commonDataFolder(folder));
  EXPECT_EQ(platform::lastError(), EILSEQ);
  EXPECT_EQ(folder, "unchanged");
  ::setenv("TARVEK_COMMON_DATA_DIR", at("Łódź").c_str(), 1);
  EXPECT_TRUE(platform::commonDataFolder(folder));
  EXPECT_EQ(folder, cp1250FromUtf8(at("Łódź")));
}

TEST_F(PlatformTest, UserNameOverrideIsWindows1250AndOneFolderLevel) {
  ::setenv("TARVEK_USER_NAME", "Księgowość", 1);
  EXPECT_EQ(platform::userName(), cp1250("Księgowość"));
  ::setenv("TARVEK_USER_NAME", "a/b", 1);
  EXPECT_EQ(platform::userName(), "a_b");
  ::unsetenv("TARVEK_USER_NAME");
  EXPECT_FALSE(platform::userName().empty());
}

TEST_F(PlatformTest, ProgramFolderIsTheExecutablesFolderUnlessSet) {
  platform::setProgramFolder(std::nullopt);
  EXPECT_EQ(platform::programFolder(), cp1250FromUtf8(fs::canonical("/proc/self/exe").parent_path().string()));
  platform::setProgramFolder("/somewhere");
  EXPECT_EQ(platform::programFolder(), "/somewhere");
}

TEST_F(PlatformTest, CreateDirectoryMakesOneLevelOnly) {
  EXPECT_TRUE(platform::createDirectory(at("one")));
  EXPECT_TRUE(platform::directoryExists(at("one")));
  EXPECT_FALSE(platform::createDirectory(at("two/three")));
  EXPECT_EQ(platform::lastError(), ENOENT);
  EXPECT_FALSE(platform::createDirectory(at("one")));
  EXPECT_EQ(platform::lastError(), EEXIST);
}

TEST_F(PlatformTest, PathsWithPolishLettersReachTheFileSystemAsUtf8) {
  const std::string name = cp1250("źródło.txt");
  writeText(at("źródło.txt"), "dane");
  EXPECT_TRUE(platform::fileExists(cp1250FromUtf8(dirs.root()) + "/" + name));
}

TEST_F(PlatformTest, EmptyPathsAreMissingFiles) {
  EXPECT_FALSE(platform::fileExists(""));
  EXPECT_FALSE(platform::deleteFile(""));
  EXPECT_FALSE(platform::resetAttributes(""));
  EXPECT_FALSE(platform::copyFile("", at("x"), false));
  EXPECT_FALSE(fs::exists(at("x")));
}

// The copies are the user's own working files (the shipped files installed
// into the data folder, the calibration brought back): only the user may
// read them, whatever the source's mode.
TEST_F(PlatformTest, CopyReplacesWholeAndIsTheUsersAloneWhateverTheSourcesMode) {
  writeText(at("src"), std::string(200000, 'a'));
  ::chmod(at("src").c_str(), 0644);
  writeText(at("dst"), "old");
  ASSERT_TRUE(platform::copyFile(at("src"), at("dst"), false));
  EXPECT_EQ(readText(at("dst")), std::string(200000, 'a'));
  EXPECT_EQ(fs::status(at("dst")).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  // No temporary file is left beside the target.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dirs.root())) ++entries;
  EXPECT_EQ(entries, 4);  // program, common, src, dst
}

TEST_F(PlatformTest, CopyWithFailIfExistsKeepsTheTarget) {
  writeText(at("src"), "new");
  writeText(at("dst"), "old");
  EXPECT_FALSE(platform::copyFile(at("src"), at("dst"), true));
  EXPECT_EQ(platform::lastError(), EEXIST);
  EXPECT_EQ(readText(at("dst")), "old");
  EXPECT_TRUE(platform::copyFile(at("src"), at("fresh"), true));
  EXPECT_EQ(readText(at("fresh")), "new");
  int entries = 0;  // nothing written beside the targets stays behind
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dirs.root())) ++entries;
  EXPECT_EQ(entries, 5);  // program, common, src, dst, fresh
}

TEST_F(PlatformTest, FailedCopiesLeaveNothingBehind) {
  EXPECT_FALSE(platform::copyFile(at("missing"), at("dst"), false));
  EXPECT_EQ(platform::lastError(), ENOENT);
  fs::create_directory(at("folder"));
  writeText(at("src"), "x");
  EXPECT_FALSE(platform::copyFile(at("src"), at("folder"), false));
  EXPECT_EQ(platform::lastError(), EISDIR);
  EXPECT_FALSE(platform::copyFile(at("src"), at("nowhere/dst"), false));
  EXPECT_EQ(platform::lastError(), ENOENT);
  EXPECT_FALSE(platform::copyFile(at("src"), at("src"), false));
  EXPECT_EQ(readText(at("src")), "x");
}

TEST_F(PlatformTest, DeleteAndResetAttributes) {
  writeText(at("f"), "x");
  ::chmod(at("f").c_str(), 0);
  EXPECT_TRUE(platform::resetAttributes(at("f")));
  EXPECT_EQ(fs::status(at("f")).permissions() & fs::perms::owner_all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(platform::deleteFile(at("f")));
  EXPECT_FALSE(platform::fileExists(at("f")));
  EXPECT_FALSE(platform::deleteFile(at("f")));
  EXPECT_EQ(platform::lastError(), ENOENT);
  EXPECT_FALSE(platform::resetAttributes(at("f")));
  fs::create_directory(at("d"));
  EXPECT_FALSE(platform::deleteFile(at("d")));
  EXPECT_EQ(platform::lastError(), EISDIR);
}

TEST_F(PlatformTest, ClockCanBeReplaced) {
  platform::setUtcClock([] { return platform::UtcTime {2011, 3, 7, 9, 5, 0}; });
  EXPECT_EQ(platform::utcNow().year, 2011);
  platform::setUtcClock({});
  EXPECT_GE(platform::utcNow().year, 2024);
}

TEST(DesktopOpen, WithoutAnOpenerOnThePathNothingIsStarted) {
  TempFolders dirs;
  const char* was = std::getenv("PATH");
  const std::string saved = was ? was : "";
  ::setenv("PATH", dirs.root().c_str(), 1);
  const bool opened = platform::openWithDesktop(dirs.root() + "/pomoc.html");
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_FALSE(opened);
}
