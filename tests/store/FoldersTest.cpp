#include "store/Folders.h"

#include "store/Calibration.h"

#include "platform/Cp1250.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string u(const std::string& cp) { return cp1250ToUtf8(cp); }
}  // namespace

TEST(Folding, PolishLettersBecomePlainAndNothingElseChanges) {
  const std::pair<const char*, const char*> cases[] = {
      {"Księgowość", "Ksiegowosc"},
      {"ŻÓŁW ŹRÓDŁA", "ZOLW ZRODLA"},
      {"Büro", "Büro"},
      {"ĄĆĘŁŃÓŚŹŻąćęłńóśźż", "ACELNOSZZacelnoszz"},
      {"Šárka", "Šárka"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(strFunFoldPolishLetters(cp1250(in)), cp1250(out)) << in;
}

TEST(Folding, ReplaceAllScansFromTheStart) {
  std::string s = "aaa";
  vFunReplaceAll(s, "a", "aa");
  EXPECT_EQ(s, "aaaaaa");
  vFunReplaceAll(s, "", "x");
  EXPECT_EQ(s, "aaaaaa");
}

class FoldersTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  TDataStore ds;
  std::string log() const { return u(dirs.data()) + "/logs.sqdb"; }
  std::vector<std::vector<std::string>> logged() const {
    return fs::exists(log()) ? sqlRows(cp1250FromUtf8(log()), "select fun, info from `error`")
                             : std::vector<std::vector<std::string>> {};
  }
};

TEST_F(FoldersTest, DataFolderIsMadeLevelByLevelWithTheFoldedName) {
  TempFolders polish("Księgowość");
  const std::string expected = cp1250FromUtf8(polish.common()) + "/Kestal-Tarvek/Ksiegowosc";
  EXPECT_FALSE(fs::exists(polish.common() + "/Kestal-Tarvek"));
  EXPECT_EQ(strFunGetMainDirPath(&ds).text(), expected);
  EXPECT_TRUE(fs::is_directory(u(expected)));
  EXPECT_EQ(strFunGetMainDirPath(&ds).text(), expected);  // later calls find it
  EXPECT_TRUE(ds.ErrorStream.empty());
}

TEST_F(FoldersTest, PathsAreFolderSlashName) {
  const std::string d = dirs.data(), p = cp1250FromUtf8(dirs.program());
  EXPECT_EQ(strFunGetProgramDirPath(&ds).text(), p);
  EXPECT_EQ(strFunGetTmpFilePath(&ds).text(), d + "/data_tmp.tmp");
  EXPECT_EQ(strFunGetSettingsFilePath(&ds, true).text(), p + "/ustawienia.sqset");
  EXPECT_EQ(strFunGetSettingsFilePath(&ds, false).text(), d + "/ustawienia.sqset");
  EXPECT_EQ(strFunGetCalibFilePath(&ds, true).text(), p + "/tvk_kalibracja.sqset");
  EXPECT_EQ(strFunGetCalibFilePath(&ds, false).text(), d + "/tvk_kalibracja.sqset");
}

TEST_F(FoldersTest, WithoutADataFolderItsPathsAreEmpty) {
  writeText(dirs.root() + "/file", "x");
  ::setenv("TARVEK_COMMON_DATA_DIR", (dirs.root() + "/file/below").c_str(), 1);
  EXPECT_EQ(strFunGetMainDirPath(&ds).text(), "");
  EXPECT_EQ(ds.ErrorStream.str(), cp1250("Błąd uzyskania ścieżki głównego katalagu.\nKod błędu: 20"));
  EXPECT_EQ(strFunGetTmpFilePath(&ds).text(), "");
  EXPECT_EQ(strFunGetSettingsFilePath(&ds, false).text(), "");
  EXPECT_EQ(strFunGetCalibFilePath(&ds, false).text(), "");
  EXPECT_NE(strFunGetSettingsFilePath(&ds, true).text(), "");
  EXPECT_TRUE(bFunDeleteTmpFile(&ds));  // nothing there to delete
  EXPECT_FALSE(fs::exists("/data_tmp.tmp"));
}

TEST_F(FoldersTest, ALevelThatCannotBeMadeIsReported) {
  writeText(dirs.common() + "/Kestal-Tarvek", "a file in the way");
  EXPECT_EQ(strFunGetMainDirPath(&ds).text(), "");
  EXPECT_EQ(ds.ErrorStream.str(), cp1250("Błąd podczas tworzenia katalogu:\n") + cp1250FromUtf8(dirs.common()) +
                                      cp1250("/Kestal-Tarvek\nKod błędu: 17"));
}

TEST_F(FoldersTest, CreateDirReportsUnderTheDataFolderRoutine) {
  const std::string d = strFunGetMainDirPath(&ds).text();
  EXPECT_TRUE(bFunCreateDir(&ds, TSystemPath::fromText(d + "/grafika")));
  EXPECT_TRUE(bFunCreateDir(&ds, TSystemPath::fromText(d + "/grafika")));
  EXPECT_FALSE(bFunCreateDir(&ds, TSystemPath::fromText(d + "/a/b")));
  EXPECT_EQ(ds.ErrorStream.str(), cp1250("Błąd podczas tworzenia katalogu:\n") + d + cp1250("/a/b\nKod błędu: 2"));
  EXPECT_EQ(logged().back()[0], "strFunGetMainDirPath()");
}

TEST_F(FoldersTest, DeleteTmpFile) {
  ds.ErrorStream << "before";
  EXPECT_TRUE(bFunDeleteTmpFile(&ds));
  EXPECT_EQ(ds.ErrorStream.str(), "before");
  const std::string tmp = strFunGetTmpFilePath(&ds).text();
  writeText(u(tmp), "x");
  EXPECT_TRUE(bFunDeleteTmpFile(&ds));
  EXPECT_FALSE(fs::exists(u(tmp)));

  fs::create_directories(u(tmp) + "/inside");  // something that cannot be deleted as a file
  EXPECT_FALSE(bFunDeleteTmpFile(&ds));
  EXPECT_EQ(ds.ErrorStream.str(), cp1250("Błąd podczas próby kasowania pliku\n") + tmp + cp1250("\nKod błędu: 21"));
  EXPECT_EQ(logged().back()[0], "bFunDeleteTmpFile()");
}

TEST_F(FoldersTest, ClearAttributesOfAMissingFileSaysNothing) {
  strFunGetMainDirPath(&ds);
  ds.ErrorStream << "before";
  EXPECT_FALSE(bFunClearFileAttributes(&ds, TSystemPath::fromText(dirs.data() + "/missing")));
  EXPECT_EQ(ds.ErrorStream.str(), "before");
  EXPECT_TRUE(logged().empty());
  const std::string f = dirs.data() + "/f";
  writeText(u(f), "x");
  fs::permissions(u(f), fs::perms::none);
  EXPECT_TRUE(bFunClearFileAttributes(&ds, TSystemPath::fromText(f)));
  EXPECT_TRUE((fs::status(u(f)).permissions() & fs::perms::owner_write) != fs::perms::none);
}

TEST_F(FoldersTest, CopyFailureNamesBothFilesAndTheCode) {
  const std::string d = strFunGetMainDirPath(&ds).text();
  writeText(u(d) + "/a", "new");
  writeText(u(d) + "/b", "old");
  EXPECT_FALSE(bFunCopyFile(&ds, TSystemPath::fromText(d + "/a"), TSystemPath::fromText(d + "/b"), true));
  EXPECT_EQ(ds.ErrorStream.str(),
            cp1250("Błąd podczas kopiowania pliku.\n\nZ: ") + d + "/a\ndo: " + d + cp1250("/b\n\n Kod błędu: 17"));
  EXPECT_EQ(logged().back()[0], "bFunCopyFile()");
  EXPECT_EQ(readText(u(d) + "/b"), "old");
  EXPECT_TRUE(bFunCopyFile(&ds, TSystemPath::fromText(d + "/a"), TSystemPath::fromText(d + "/b"), false));
  EXPECT_EQ(readText(u(d) + "/b"), "new");
}

// ------------------------------------------------------------ installation

class InstallTest : public FoldersTest {
 protected:
  std::string list() const { return cp1250FromUtf8(dirs.program()) + "/pliki_kat.sqset"; }
  void makeList(const std::string& rows) {
    sqlExec(list(), "create table `dir`( name TEXT ); create table `files`( name TEXT, `update` INTEGER );" + rows);
  }
  void ship(const std::string& name, const std::string& text) { writeText(dirs.program() + "/" + name, text); }
  std::string installed(const std::string& name) const { return readText(u(dirs.data()) + "/" + name); }
  std::vector<std::vector<std::string>> flags() const { return sqlRows(list(), "select name, `update` from `files`"); }
};

TEST_F(InstallTest, MissingListIsReported) {
  EXPECT_FALSE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(ds.ErrorStream.str(),
            cp1250("Błąd podczas próby sprawdzenia wymaganych plików / katalogów.\nPlik nie istnieje: ") + list());
  EXPECT_EQ(logged().back()[0], "bFunCheckFilesDir()");
}

TEST_F(InstallTest, FlaggedRowOverwritesOnceThenOnlyMissingCopiesComeBack) {
  makeList("insert into `dir` values('grafika'); insert into `dir` values('grafika/male');"
           "insert into `files` values('ustawienia.sqset', 1);"
           "insert into `files` values('grafika/orzel.bmp', NULL);");
  fs::create_directories(dirs.program() + "/grafika");
  ship("ustawienia.sqset", "v2");
  ship("grafika/orzel.bmp", "eagle");
  fs::create_directories(u(dirs.data()));
  writeText(u(dirs.data()) + "/ustawienia.sqset", "v1 with the user's changes");
  const auto shippedFlags = flags();

  ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
  EXPECT_TRUE(fs::is_directory(u(dirs.data()) + "/grafika/male"));
  EXPECT_EQ(installed("ustawienia.sqset"), "v2");
  EXPECT_EQ(installed("grafika/orzel.bmp"), "eagle");
  EXPECT_EQ(flags(), shippedFlags);  // the program folder is only read

  writeText(u(dirs.data()) + "/ustawienia.sqset", "changed again");
  fs::remove(u(dirs.data()) + "/grafika/orzel.bmp");
  ASSERT_TRUE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(installed("ustawienia.sqset"), "changed again");
  EXPECT_EQ(installed("grafika/orzel.bmp"), "eagle");

  // A deleted flagged file comes back; a new version of it is installed once.
  fs::remove(u(dirs.data()) + "/ustawienia.sqset");
  ASSERT_TRUE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(installed("ustawienia.sqset"), "v2");
  ship("ustawienia.sqset", "v3");
  writeText(u(dirs.data()) + "/ustawienia.sqset", "the user's own");
  ASSERT_TRUE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(installed("ustawienia.sqset"), "v3");
  writeText(u(dirs.data()) + "/ustawienia.sqset", "the user's own again");
  ASSERT_TRUE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(installed("ustawienia.sqset"), "the user's own again");
  EXPECT_EQ(flags(), shippedFlags);
}

// One program folder, installed for everyone: each user gets the flagged
// file once, whoever started first, and keeps their own copy afterwards.
TEST_F(InstallTest, EveryUserGetsAFlaggedFileOnceFromAProgramFolderThatIsNeverWritten) {
  makeList("insert into `files` values('tvk_kalibracja.sqset', 1);"
           "create trigger no_writes before update on `files` begin select raise(abort, 'read only'); end;");
  ship("tvk_kalibracja.sqset", "shipped");
  const std::string listBytes = readText(u(list()));
  for (const char* user : {"Księgowość", "nauczyciel 2a"}) {
    SCOPED_TRACE(user);
    ::setenv("TARVEK_USER_NAME", user, 1);
    const std::string calib = strFunGetMainDirPath(&ds).bytes() + "/tvk_kalibracja.sqset";
    writeText(calib, "of an earlier version");
    ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
    EXPECT_EQ(readText(calib), "shipped");
    writeText(calib, "the user's calibration");
    ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
    EXPECT_EQ(readText(calib), "the user's calibration");
  }
  ::setenv("TARVEK_USER_NAME", "nauczyciel", 1);
  EXPECT_EQ(readText(u(list())), listBytes);
  EXPECT_TRUE(logged().empty());
}

TEST_F(InstallTest, FileInAFolderNoRowMakesFailsWithTheCopyMessage) {
  makeList("insert into `files` values('brak/plik.txt', 0);");
  fs::create_directories(dirs.program() + "/brak");
  ship("brak/plik.txt", "x");
  EXPECT_FALSE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(ds.ErrorStream.str().rfind(cp1250("Błąd podczas kopiowania pliku.\n\nZ: "), 0), 0u);
  EXPECT_NE(ds.ErrorStream.str().find(cp1250("\n\n Kod błędu: 2")), std::string::npos);
}

TEST_F(InstallTest, AFolderThatCannotBeMadeStopsTheInstallation) {
  makeList("insert into `dir` values('a/b');");
  EXPECT_FALSE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(ds.ErrorStream.str().rfind(cp1250("Błąd podczas tworzenia katalogu:\n"), 0), 0u);
}

TEST_F(InstallTest, ListWithoutItsTablesIsAnSqlFailure) {
  sqlExec(list(), "create table `dir`( name TEXT );");
  EXPECT_FALSE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(ds.ErrorStream.str(), "Sql exception: SQLITE_ERROR");
}

TEST_F(InstallTest, NamesWithQuotesAreRecordedAsThemselves) {
  makeList("insert into `files` values('it''s.txt', 1); insert into `files` values('other.txt', 1);");
  ship("it's.txt", "q");
  ship("other.txt", "o");
  ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
  EXPECT_EQ(installed("it's.txt"), "q");
  writeText(u(dirs.data()) + "/it's.txt", "mine");
  writeText(u(dirs.data()) + "/other.txt", "mine too");
  ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
  EXPECT_EQ(installed("it's.txt"), "mine");
  EXPECT_EQ(installed("other.txt"), "mine too");
}

TEST_F(InstallTest, TheBuiltListInstallsEveryShippedFile) {
  dirs.shipFromBuild("pliki_kat.sqset");
  const auto rows = sqlRows(list(), "select `name` from `files`");
  ASSERT_GE(rows.size(), 2u);
  for (const auto& row : rows) dirs.shipFromBuild(row[0]);
  ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
  EXPECT_TRUE(fs::is_directory(u(dirs.data()) + "/grafika"));
  EXPECT_TRUE(fs::is_directory(u(dirs.data()) + "/aktualizacja"));
  for (const auto& row : rows) EXPECT_EQ(installed(row[0]), readText(dirs.program() + "/" + row[0])) << row[0];
}

// The shipped settings and calibration are readable by all in the program
// folder; the user's copies, installed or brought back, are the user's alone.
TEST_F(InstallTest, TheUsersSettingsAndCalibrationAreClosedToOthersWhateverTheShippedMode) {
  makeList("insert into `files` values('ustawienia.sqset', 1); insert into `files` values('tvk_kalibracja.sqset', 1);");
  for (const char* name : {"ustawienia.sqset", "tvk_kalibracja.sqset"}) {
    ship(name, name);
    fs::permissions(dirs.program() + "/" + name, fs::perms(0644));
  }
  ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
  for (const char* name : {"ustawienia.sqset", "tvk_kalibracja.sqset"})
    EXPECT_EQ(static_cast<unsigned>(fs::status(u(dirs.data()) + "/" + name).permissions()) & 07777, 0600u) << name;
  fs::permissions(strFunGetCalibFilePath(&ds, false).bytes(), fs::perms(0644));
  ASSERT_TRUE(bFunPrzywrocPlikKalibracji(&ds)) << ds.ErrorStream.str();
  EXPECT_EQ(static_cast<unsigned>(fs::status(strFunGetCalibFilePath(&ds, false).bytes()).permissions()) & 07777, 0600u);
}

// ------------------------------------------------------- whose folder it is

namespace {
unsigned modeOf(const std::string& path) { return static_cast<unsigned>(fs::status(path).permissions()) & 07777; }
}  // namespace

// The user's own folder is closed to everyone else (an earlier version's,
// open for reading, too); a folder that others may write, or that belongs
// to someone else, is refused with a sentence that says why; the common
// level may be shared, but then only as /tmp is (others' entries are theirs).
TEST_F(FoldersTest, TheDataFolderIsTheUsersAloneAndOneOthersMayChangeIsRefused) {
  const std::string data = u(dirs.data()), app = dirs.common() + "/Kestal-Tarvek";
  const std::string refused = cp1250("Program nie będzie go używał: ktoś inny mógłby podłożyć w nim pliki");
  struct Case {
    const char* what;
    std::function<void()> prepare;
    std::string said;  // "" when the folder is taken
  };
  const Case cases[] = {
      {"made afresh", [] {}, ""},
      {"an earlier version's, readable by all", [&] { fs::create_directories(data); ::chmod(data.c_str(), 0755); }, ""},
      {"open to all", [&] { fs::create_directories(data); ::chmod(data.c_str(), 0777); },
       cp1250("\nmogą zmieniać także inni użytkownicy (uprawnienia 777).\n")},
      {"open to its group", [&] { fs::create_directories(data); ::chmod(data.c_str(), 0770); },
       cp1250("\nmogą zmieniać także inni użytkownicy (uprawnienia 770).\n")},
      {"someone else's",
       [&] {
         fs::create_directories(data);
         ::chmod(data.c_str(), 0700);
         EXPECT_EQ(::chown(data.c_str(), 65534, 65534), 0);
       },
       cp1250("\nnależy do innego użytkownika (")},
      {"a shared level as /tmp is", [&] { fs::create_directories(app); ::chmod(app.c_str(), 01777); }, ""},
      {"a shared level anyone may empty", [&] { fs::create_directories(app); ::chmod(app.c_str(), 0777); },
       cp1250("\nmogą zmieniać także inni użytkownicy (uprawnienia 777), a nie chroni on katalogów")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (std::string(c.what) == "someone else's" && ::geteuid() != 0) continue;  // only root can give it away
    fs::remove_all(app);
    c.prepare();
    const std::string path = strFunGetMainDirPath(&ds).text();
    if (c.said.empty()) {
      EXPECT_EQ(path, dirs.data());
      EXPECT_EQ(modeOf(data), 0700u);
      EXPECT_TRUE(ds.ErrorStream.empty()) << ds.ErrorStream.str();
    } else {
      EXPECT_EQ(path, "");
      EXPECT_NE(ds.ErrorStream.str().find(c.said), std::string::npos) << cp1250ToUtf8(ds.ErrorStream.str());
      EXPECT_NE(ds.ErrorStream.str().find(refused), std::string::npos);
      EXPECT_EQ(strFunGetTmpFilePath(&ds).text(), "");  // nothing is read or written there
    }
    ds.ErrorStream.clear();
  }
}

// The record of what was installed is written only when it changes, so a
// start writes nothing; a record that cannot be read keeps the user's own
// copies of flagged files (a calibration made since) and is made afresh.
TEST_F(InstallTest, TheRecordIsWrittenOnlyWhenItChangesAndAnUnreadableOneKeepsTheUsersFiles) {
  makeList("insert into `dir` values('grafika'); insert into `files` values('tvk_kalibracja.sqset', 1);");
  ship("tvk_kalibracja.sqset", "shipped");
  ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
  const std::string record = u(dirs.data()) + "/pliki_kat.sqset";
  const auto inode = [&] {
    struct stat st {};
    return ::stat(record.c_str(), &st) == 0 ? static_cast<long>(st.st_ino) : -1L;
  };
  const long first = inode();
  ASSERT_NE(first, -1L);
  ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
  EXPECT_EQ(inode(), first);  // nothing changed: not written again

  writeText(u(dirs.data()) + "/tvk_kalibracja.sqset", "the user's calibration");
  for (const char* broken : {"not a database at all", ""}) {
    SCOPED_TRACE(broken);
    writeText(record, broken);
    ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
    EXPECT_EQ(installed("tvk_kalibracja.sqset"), "the user's calibration");
    EXPECT_EQ(sqlRows(dirs.data() + "/pliki_kat.sqset", "select count(*) from `files`"),
              (std::vector<std::vector<std::string>> {{"1"}}));  // made afresh
  }
  // A later shipped version is still installed once.
  ship("tvk_kalibracja.sqset", "shipped, version 2");
  ASSERT_TRUE(bFunCheckFilesDir(&ds));
  EXPECT_EQ(installed("tvk_kalibracja.sqset"), "shipped, version 2");
}
