// Document files and the working copy as SQLite databases: what an open, a
// save and a deletion leave behind after bad files, crashes, full disks,
// file-size limits, links, permissions and names in any script.
#include "platform/Cp1250.h"
#include "platform/NativeFiles.h"
#include "store/DocumentFiles.h"
#include "store/OpenedFile.h"
#include "store/Temporaries.h"
#include "store/StudentTables.h"
#include "support/OtherUsers.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <fcntl.h>
#include <grp.h>
#include <iterator>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

namespace {

// Runs SQL on a UTF-8 path, read-write, as any later reader would: a hot
// journal beside the file is rolled back into it first.
Rows query(const std::string& path, const std::string& sql) { return sqlRowsAt(path, sql, true); }

void exec(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  char* err = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err);
  const std::string msg = err ? err : "";
  sqlite3_free(err);
  sqlite3_close(db);
  if (rc != SQLITE_OK) throw std::runtime_error(sql + ": " + msg);
}

// A document of students, each with `rows` rows of a long value.
void makeDocument(const std::string& path, const std::vector<std::string>& pesels, int rows = 3) {
  std::string sql = "begin;";
  for (const std::string& p : pesels) {
    sql += "create table `PESEL" + p + "`( id TEXT, comp_name TEXT, value TEXT );";
    for (int i = 0; i < rows; ++i)
      sql += "insert into `PESEL" + p + "` values('DANE UCZNIA', 'Pole" + std::to_string(i) + "', '" +
             std::string(200, 'a' + static_cast<char>(i % 26)) + "');";
  }
  exec(path, sql + "commit;");
}

Rows tablesOf(const std::string& path) {
  return query(path, "select name from sqlite_master where type='table' order by name");
}

// Runs work in a child process and gives its exit status.
int inChild(const std::function<int()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(work());
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// A journal left hot beside the database: a child writes more than its
// cache holds inside a transaction and dies before the commit.
void leaveHotJournal(const std::string& path) {
  const int status = inChild([&] {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "pragma cache_size=2; begin; delete from `PESEL1`;", nullptr, nullptr, nullptr);
    for (int i = 0; i < 200; ++i)
      sqlite3_exec(db, ("create table `PESELX" + std::to_string(i) + "`(id TEXT, comp_name TEXT, value TEXT);").c_str(),
                   nullptr, nullptr, nullptr);
    ::_exit(0);  // killed mid-transaction: nothing is committed or rolled back
    return 0;
  });
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_TRUE(fs::exists(path + "-journal"));
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The files that saves beside a document write (or left) in the folder.
std::vector<std::string> savesFilesIn(const std::string& folder) {
  std::vector<std::string> found;
  for (const std::string& name : filesIn(folder))
    if (name.find(".zapis-tmp") != std::string::npos) found.push_back(name);
  return found;
}

class DocumentFilesTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  const std::string work = dirs.root() + "/dane";
  const std::string docs = dirs.root() + "/dokumenty";
  const std::string wc = work + "/data_tmp.tmp";

  void SetUp() override {
    fs::create_directories(work);
    fs::create_directories(docs);
    makeDocument(wc, {"1", "2"});
  }

  // The owner (an ordinary user) may work in the data folder and reach the
  // documents; a journal crafted to write other values into a document of
  // student "9" lies ready for a colleague to plant. Gives its path.
  std::string readyToPlant();
  // A shared folder of that mode made anew, holding the owner's class file
  // of student "9" (nobody's, 0644). Gives the file's path.
  std::string ownersSharedClass(mode_t folderMode) {
    const std::string folder = docs + "/wspólny klasy", doc = folder + "/klasa 2b żółć.sqtvk";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ::chmod(folder.c_str(), folderMode);
    makeDocument(doc, {"9"});
    if (::chown(doc.c_str(), 65534, 65534) != 0) throw std::runtime_error("chown " + doc);
    ::chmod(doc.c_str(), 0644);
    return doc;
  }
};

// A colleague's command with "{doc}" at the start of a word standing for
// the document's path.
std::vector<std::string> naming(std::vector<std::string> command, const std::string& doc) {
  for (std::string& word : command)
    if (word.rfind("{doc}", 0) == 0) word = doc + word.substr(5);
  return command;
}

}  // namespace

TEST_F(DocumentFilesTest, AnOpenCopiesTheDocumentIntoTheWorkingCopy) {
  const std::string doc = docs + "/klasa.sqtvk";
  makeDocument(doc, {"7"}, 40);
  TFileFailure why;
  ASSERT_TRUE(bFunLoadDocument(TSystemPath(doc), TSystemPath(wc), why));
  EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL7"}}));
  EXPECT_EQ(query(wc, "select * from PESEL7"), query(doc, "select * from PESEL7"));
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
  // The students' data in it is the user's alone, whatever the umask.
  EXPECT_EQ(static_cast<unsigned>(fs::status(wc).permissions()) & 0777, 0600u);
}

TEST_F(DocumentFilesTest, AFileThatIsNoDocumentFailsAndLeavesTheWorkingCopy) {
  const std::string truncated = docs + "/obciety.sqtvk";
  makeDocument(truncated, {"7", "8", "9"}, 60);
  fs::resize_file(truncated, fs::file_size(truncated) / 2);
  const std::string otherTables = docs + "/ustawienia.sqtvk";
  exec(otherTables, "create table settings( name TEXT, int_value INTEGER ); insert into settings values('a', 1);");
  const std::string noColumns = docs + "/kolumny.sqtvk";
  exec(noColumns, "create table `PESEL5`( a TEXT );");
  const std::string view = docs + "/widok.sqtvk";
  makeDocument(view, {"5"});
  exec(view, "create view v as select * from PESEL5;");
  const std::string text = docs + "/tekst.sqtvk";
  std::ofstream(text) << "To nie jest plik świadectw.\n";
  const std::string folder = docs + "/katalog.sqtvk";
  fs::create_directory(folder);
  // One row's record says its value is 8 letters longer than the row holds.
  const std::string damagedRow = docs + "/uszkodzony wiersz.sqtvk";
  makeDocument(damagedRow, {"7", "8"});
  {
    std::fstream file(damagedRow, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // Header: its size, the serial types of 'DANE UCZNIA', 'Pole1' and 200 letters.
    const std::string record = std::string("\x05\x23\x17\x83\x1d", 5) + "DANE UCZNIAPole1";
    const std::size_t at = bytes.find(record);
    ASSERT_NE(at, std::string::npos);
    file.seekp(static_cast<std::streamoff>(at + 4));
    file.put('\x2d');
  }

  struct Case {
    std::string path;
    bool notDocument;
    int systemError;
  };
  const Case cases[] = {
      {text, true, 0},       {truncated, true, 0}, {otherTables, true, 0},      {noColumns, true, 0},
      {view, true, 0},       {folder, false, EISDIR}, {docs + "/brak.sqtvk", false, ENOENT},
      {damagedRow, true, 0},
  };
  const Rows before = query(wc, "select * from PESEL1");
  for (const Case& c : cases) {
    TFileFailure why;
    EXPECT_FALSE(bFunLoadDocument(TSystemPath(c.path), TSystemPath(wc), why)) << c.path;
    EXPECT_EQ(why.notDocument, c.notDocument) << c.path;
    EXPECT_EQ(why.systemError, c.systemError) << c.path;
    EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL1"}, {"PESEL2"}})) << c.path;
    EXPECT_EQ(query(wc, "select * from PESEL1"), before);
    EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"})) << c.path;
  }
}

TEST_F(DocumentFilesTest, AnEmptyDatabaseOpensAsAnEmptyDocument) {
  const std::string empty = docs + "/pusty.sqtvk";
  std::ofstream(empty).flush();  // what a save of a document without students may leave
  TFileFailure why;
  ASSERT_TRUE(bFunLoadDocument(TSystemPath(empty), TSystemPath(wc), why));
  EXPECT_TRUE(tablesOf(wc).empty());
}

TEST_F(DocumentFilesTest, TheJournalOfAKilledStudentSaveIsNeverRolledIntoTheNextDocument) {
  leaveHotJournal(wc);
  const std::string other = docs + "/inny.sqtvk";
  makeDocument(other, {"9"});
  TFileFailure why;
  ASSERT_TRUE(bFunLoadDocument(TSystemPath(other), TSystemPath(wc), why));
  EXPECT_FALSE(fs::exists(wc + "-journal"));
  // The old journal, rolled into this file, would have brought PESEL1 and PESEL2 back.
  EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL9"}}));
  EXPECT_EQ(query(wc, "pragma integrity_check"), (Rows {{"ok"}}));
}

TEST_F(DocumentFilesTest, ASaveAfterAKilledStudentSaveWritesTheCommittedState) {
  leaveHotJournal(wc);
  const std::string doc = docs + "/klasa.sqtvk";
  TFileFailure why;
  ASSERT_TRUE(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why));
  EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(query(doc, "select count(*) from PESEL1"), (Rows {{"3"}}));
  EXPECT_EQ(query(doc, "pragma integrity_check"), (Rows {{"ok"}}));
}

TEST_F(DocumentFilesTest, AStudentSaveOverTheFileSizeLimitLeavesNothingToMixUp) {
  // The student save fails at the limit, in a process that ignores the signal.
  const int status = inChild([&] {
    platform::ignoreFileSizeSignal();
    const rlimit limit {8192, 8192};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TDataStore ds;
    std::vector<TDataRecord> rows;
    for (int i = 0; i < 200; ++i) {
      TDataRecord r;
      r.id = "DANE UCZNIA";
      r.comp_name = "Pole" + std::to_string(i);
      r.value = std::string(500, 'x');
      rows.push_back(r);
    }
    return bFunReplaceStudent(&ds, TSystemPath(cp1250FromUtf8(wc)), "", "PESEL1", rows) ? 1 : 0;
  });
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);  // the save failed and said so

  const std::string doc = docs + "/klasa.sqtvk";
  TFileFailure why;
  ASSERT_TRUE(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why));
  EXPECT_EQ(query(doc, "select count(*) from PESEL1"), (Rows {{"3"}}));
  const std::string other = docs + "/inny.sqtvk";
  makeDocument(other, {"9"});
  ASSERT_TRUE(bFunLoadDocument(TSystemPath(other), TSystemPath(wc), why));
  EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL9"}}));
}

TEST_F(DocumentFilesTest, ASaveOverTheFileSizeLimitFailsWithItsErrorAndLeavesTheOldFile) {
  makeDocument(wc, {"3", "4", "5", "6"}, 100);  // far more than the limit
  const std::string doc = docs + "/klasa.sqtvk";
  makeDocument(doc, {"9"});
  const int status = inChild([&] {
    platform::ignoreFileSizeSignal();
    const rlimit limit {16384, 16384};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TFileFailure why;
    if (bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why)) return 1;
    return why.systemError == EFBIG ? 0 : 2;
  });
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL9"}}));
  EXPECT_EQ(filesIn(docs), (std::vector<std::string> {"klasa.sqtvk"}));
}

TEST_F(DocumentFilesTest, TheLeftoverOfAKilledSaveIsRemovedByTheNextOpenAndSave) {
  const std::string doc = docs + "/klasa.sqtvk";
  makeDocument(doc, {"9"});
  for (int round = 0; round < 2; ++round) {
    std::ofstream(strFunSaveInProgressPath(TSystemPath(doc)).bytes()) << "half a save";
    std::ofstream(strFunSaveInProgressPath(TSystemPath(doc)).bytes() + "-journal") << "its journal";
    TFileFailure why;
    ASSERT_TRUE(round == 0 ? bFunLoadDocument(TSystemPath(doc), TSystemPath(wc), why)
                           : bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why));
    EXPECT_EQ(filesIn(docs), (std::vector<std::string> {"klasa.sqtvk"}));
  }
}

TEST_F(DocumentFilesTest, ASaveThroughASymbolicLinkWritesTheFileItPointsTo) {
  fs::create_directories(docs + "/prawdziwe");
  const std::string real = docs + "/prawdziwe/klasa.sqtvk";
  makeDocument(real, {"9"});
  const std::string link = docs + "/skrot.sqtvk";
  fs::create_symlink("prawdziwe/klasa.sqtvk", link);
  TFileFailure why;
  ASSERT_TRUE(bFunSaveDocument(TSystemPath(wc), TSystemPath(link), why));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(tablesOf(real), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(filesIn(docs + "/prawdziwe"), (std::vector<std::string> {"klasa.sqtvk"}));
}

TEST_F(DocumentFilesTest, ASaveKeepsTheFilesPermissionBitsAndGroup) {
  const std::string doc = docs + "/klasa.sqtvk";
  makeDocument(doc, {"9"});
  ::chmod(doc.c_str(), 0640);
  // A group of the user's own (root may take any): the save must keep it.
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
  gid_t wanted = ::getegid();
  if (::geteuid() == 0) wanted = 100;
  for (gid_t g : groups)
    if (g != ::getegid()) wanted = g;
  const bool groupSet = ::chown(doc.c_str(), static_cast<uid_t>(-1), wanted) == 0;
  TFileFailure why;
  ASSERT_TRUE(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why));
  struct stat st {};
  ASSERT_EQ(::stat(doc.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (groupSet) {
    EXPECT_EQ(st.st_gid, wanted);
  }
  EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
}

TEST_F(DocumentFilesTest, AWritableFileInAFolderThatTakesNoNewFileIsSavedInPlace) {
  // Run as an ordinary user: root writes into any folder.
  const std::string locked = docs + "/zamkniety";
  fs::create_directories(locked);
  const std::string writable = locked + "/klasa.sqtvk", readOnly = locked + "/tylko.sqtvk";
  makeDocument(writable, {"9"});
  makeDocument(readOnly, {"8"});
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(work.c_str(), 0777);
  ::chmod(wc.c_str(), 0666);
  ::chmod(docs.c_str(), 0755);
  ::chmod(writable.c_str(), 0666);
  ::chmod(readOnly.c_str(), 0444);
  ::chmod(locked.c_str(), 0555);
  const int status = inChild([&] {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 3;
    TFileFailure why;
    if (!bFunSaveDocument(TSystemPath(wc), TSystemPath(writable), why)) return 1;
    if (bFunSaveDocument(TSystemPath(wc), TSystemPath(readOnly), why) || why.systemError != EACCES) return 2;
    return 0;
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(tablesOf(writable), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(query(writable, "pragma integrity_check"), (Rows {{"ok"}}));
  EXPECT_EQ(tablesOf(readOnly), (Rows {{"PESEL8"}}));
  EXPECT_EQ(filesIn(locked), (std::vector<std::string> {"klasa.sqtvk", "tylko.sqtvk"}));
}

// A class folder shared by the staff: the document belongs to the teacher
// who made it and its group; another teacher may read and write it. That
// user has nothing to reset (no warning), and the save keeps the file's
// owner and group, whether or not the folder takes new files.
TEST_F(DocumentFilesTest, SomeoneElsesWritableFileInASharedFolderKeepsItsOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file to another user";
  const std::string open = docs + "/wspólny 2a", closed = docs + "/wspólny 3b";
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(work.c_str(), 0777);
  ::chmod(wc.c_str(), 0666);
  ::chmod(docs.c_str(), 0755);
  struct Case {
    std::string folder;
    mode_t folderMode;
  } cases[] = {{open, 0777}, {closed, 0755}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    fs::create_directories(c.folder);
    ::chmod(c.folder.c_str(), c.folderMode);
    const std::string doc = c.folder + "/świadectwa ślązacy.sqtvk";
    makeDocument(doc, {"9"});
    ASSERT_EQ(::chown(doc.c_str(), 0, 100), 0);
    ::chmod(doc.c_str(), 0666);
    const int status = inChild([&] {
      if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) return 3;
      if (!platform::native::resetAttributes(doc)) return 1;  // the open and the save warn on false
      TFileFailure why;
      return bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why) ? 0 : 2;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    struct stat st {};
    ASSERT_EQ(::stat(doc.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_gid, 100u);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
    EXPECT_EQ(filesIn(c.folder), (std::vector<std::string> {"świadectwa ślązacy.sqtvk"}));
  }
}

TEST_F(DocumentFilesTest, NamesInAnyScriptOpenAndSaveAsExactlyThemselves) {
  const std::string folder = docs + "/Иванов Пётр";
  fs::create_directories(folder);
  const std::string doc = folder + "/класс 3а ąę.sqtvk";
  makeDocument(doc, {"9"});
  TFileFailure why;
  ASSERT_TRUE(bFunLoadDocument(TSystemPath(doc), TSystemPath(wc), why));
  EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL9"}}));
  exec(wc, "drop table PESEL9; create table PESEL4( id TEXT, comp_name TEXT, value TEXT );");
  ASSERT_TRUE(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why));
  EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL4"}}));
  EXPECT_EQ(filesIn(folder), (std::vector<std::string> {"класс 3а ąę.sqtvk"}));
}

TEST_F(DocumentFilesTest, DeletingTheWorkingCopyTakesItsJournalAlong) {
  leaveHotJournal(wc);
  TFileFailure why;
  ASSERT_TRUE(bFunDeleteDatabaseFiles(TSystemPath(wc), why));
  EXPECT_TRUE(filesIn(work).empty());
  ASSERT_TRUE(bFunDeleteDatabaseFiles(TSystemPath(wc), why));  // nothing there: no failure
}

TEST_F(DocumentFilesTest, TheCheckCountsTheStudentTablesOfAReadableDocument) {
  int tables = -1;
  TFileFailure why;
  ASSERT_TRUE(bFunCheckDocument(TSystemPath(wc), tables, why));
  EXPECT_EQ(tables, 2);
  std::ofstream(docs + "/tekst") << "tekst";
  EXPECT_FALSE(bFunCheckDocument(TSystemPath(docs + "/tekst"), tables, why));
  EXPECT_TRUE(why.notDocument);
  EXPECT_EQ(why.sqliteCode, SQLITE_NOTADB);
  EXPECT_EQ(why.strFunCode(), "");  // SQLite's 26 would read as a system error: no code is shown
}

// What the user reads after "Kod błędu: ": a number, never SQLite's English
// text, and before it a sentence that says what to do where the cause has a
// plainer name.
TEST(FileFailureTest, TheCodeIsANumberAfterASentenceThatSaysWhatToDo) {
  const std::string full = cp1250("Na dysku zabrakło miejsca. Zwolnij miejsce na dysku i spróbuj ponownie.\n");
  const std::string denied = cp1250(
      "Brak uprawnień do tego pliku lub katalogu. Wybierz inny katalog albo poproś administratora o uprawnienia.\n");
  const std::string gone = cp1250("Wybrany plik lub jego katalog już nie istnieje (został usunięty albo przeniesiony).\n");
  const std::string unsupported =
      cp1250("System plików tego dysku nie pozwala na tę operację. Zapisz dane na innym dysku.\n");
  const std::string readOnly = cp1250("Ten dysk lub katalog jest tylko do odczytu (na przykład pendrive z włączoną "
                                      "blokadą zapisu). Zapisz dane na innym dysku albo w innym katalogu.\n");
  const std::string loop = cp1250("Nazwa prowadzi przez zbyt wiele dowiązań symbolicznych (albo przez dowiązanie, "
                                  "które wskazuje samo na siebie). Wybierz sam plik.\n");
  struct Case {
    int systemError, sqliteCode;
    const char* code;
    std::string advice;
  } cases[] = {
      {ENOSPC, SQLITE_FULL, "28", full},   {0, SQLITE_FULL, "13", full},         {EDQUOT, 0, "122", full},
      {EACCES, SQLITE_CANTOPEN, "13", denied}, {EROFS, SQLITE_READONLY, "30", readOnly}, {0, SQLITE_READONLY, "8", denied},
      // SQLite's code for a file that holds no document reads as a system
      // error (26, a busy text file): none is shown.
      {0, SQLITE_NOTADB, "", cp1250("Wybrany plik nie jest plikiem świadectw tego programu.\n")},
      {0, SQLITE_CORRUPT, "", cp1250("Wybrany plik nie jest plikiem świadectw tego programu.\n")},
      {ENOENT, 0, "2", gone},              {ENOSYS, 0, "38", unsupported},      {EOPNOTSUPP, 0, "95", unsupported},
      {ELOOP, 0, "40", loop},              {0, SQLITE_IOERR, "10", ""},          {0, 0, "", ""},
  };
  for (const Case& c : cases) {
    TFileFailure why;
    why.systemError = c.systemError;
    why.sqliteCode = c.sqliteCode;
    EXPECT_EQ(why.strFunCode(), c.code) << c.systemError << "/" << c.sqliteCode;
    EXPECT_EQ(why.strFunAdvice(), c.advice) << c.systemError << "/" << c.sqliteCode;
  }
}

// The causes the file commands meet besides a full disk and a permission:
// each has its sentence, and strFunFailureLines puts the number after it.
TEST(FileFailureTest, AFileSizeLimitAFolderAndAPipeHaveTheirSentences) {
  TFileFailure limit;
  limit.systemError = EFBIG;
  const std::pair<TFileFailure, std::string> cases[] = {
      {limit, cp1250("Plik przekroczył największy rozmiar, na jaki system pozwala. Poproś administratora o "
                     "zwiększenie tego limitu albo zapisz dane na innym dysku.\nKod błędu: 27")},
      {TFileFailure::ofPickedFile(EISDIR),
       cp1250("Wybrana nazwa jest nazwą katalogu, a nie pliku. Wybierz plik.\nKod błędu: 21")},
      {TFileFailure::ofPickedFile(EINVAL), cp1250("Wybrana nazwa nie jest zwykłym plikiem, tylko potokiem, "
                                                  "urządzeniem albo gniazdem. Wybierz plik.")},
      {TFileFailure {}, ""},
  };
  for (const auto& [why, lines] : cases) EXPECT_EQ(strFunFailureLines(why), lines);
}

// A student table that is not exactly as this program makes it is no
// document's: refused before any of its rows is read, so none of the file's
// own expressions runs (the first generated column fails with SQLITE_TOOBIG
// when it runs, the check below with an overflow).
TEST_F(DocumentFilesTest, AStudentTableNotAsTheProgramMakesItIsRefusedBeforeARowIsRead) {
  const std::string row = "insert into `PESEL5`( id, comp_name ) values('DANE UCZNIA', 'Nazwisko_DATA_EDIT');";
  const std::string failing = "pragma writable_schema=ON; update sqlite_master set sql=replace(sql, '''x''', "
                              "'zeroblob(2000000000)') where name='PESEL5';";
  const std::pair<const char*, std::string> refused[] = {
      {"kolumna wyliczana", "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT AS ('x') );" + row + failing},
      {"kolumna zapisana", "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT AS ('x') STORED );" + row},
      {"bez rowid", "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT, primary key( id, comp_name ) ) "
                    "without rowid;" + row},
      {"klucz", "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT primary key );"},
      {"cztery kolumny", "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT, uwagi TEXT );"},
      {"dwie kolumny", "create table `PESEL5`( id TEXT, value TEXT );"},
      {"liczby", "create table `PESEL5`( id TEXT, comp_name TEXT, value INTEGER );"},
      {"domyslna", "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT default (hex(zeroblob(9))) );"},
      {"wirtualna", "create virtual table `PESEL5` using fts5( id, comp_name, value );"},
  };
  for (const auto& [name, sql] : refused) {
    SCOPED_TRACE(name);
    const std::string doc = docs + "/" + name + " ąę.sqtvk";
    exec(doc, sql);
    TFileFailure why;
    EXPECT_FALSE(bFunLoadDocument(TSystemPath(doc), TSystemPath(wc), why));
    EXPECT_TRUE(why.notDocument);
    EXPECT_EQ(why.sqliteCode, 0);  // refused by how it is made, not by a failed read
    EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL1"}, {"PESEL2"}}));
  }
  // A check of the file's own is never run by the reading either: the
  // document opens (its next save makes the table anew, without it).
  const std::string checked = docs + "/sprawdzenie.sqtvk";
  exec(checked, "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT check (abs(-9223372036854775808)) );"
                "pragma ignore_check_constraints=ON;" + row);
  TFileFailure why;
  EXPECT_TRUE(bFunLoadDocument(TSystemPath(checked), TSystemPath(wc), why)) << why.sqliteCode;
  EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL5"}}));
}

// A save refused by the system, as a user who may not write the folder
// meets it: the code is the system's number.
TEST_F(DocumentFilesTest, ASaveThatIsNotAllowedGivesTheSystemsNumber) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as another user";
  const std::string locked = docs + "/cudze";
  fs::create_directories(locked);
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(work.c_str(), 0777);
  ::chmod(wc.c_str(), 0666);
  ::chmod(docs.c_str(), 0755);
  ::chmod(locked.c_str(), 0755);
  const int status = inChild([&] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) return 3;
    TFileFailure why;
    if (bFunSaveDocument(TSystemPath(wc), TSystemPath(locked + "/nowy.sqtvk"), why)) return 1;
    return why.strFunCode() == std::to_string(EACCES) && !why.strFunAdvice().empty() ? 0 : 2;
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

namespace {

// A folder that takes no new file, holding a document its user may write,
// with a data folder beside it that the user may write: the save goes into
// the document itself. The children below run as an ordinary user (root
// writes into any folder).
struct SharedFolder {
  std::string folder, doc;
  SharedFolder(const TempFolders& dirs, const std::string& work, const std::string& wc, const std::string& docs) {
    folder = docs + "/wspólny folder";
    fs::create_directories(folder);
    doc = folder + "/klasa 3a.sqtvk";
    makeDocument(doc, {"9"});
    ::chmod(dirs.root().c_str(), 0755);
    ::chmod(work.c_str(), 0777);
    ::chmod(wc.c_str(), 0666);
    ::chmod(docs.c_str(), 0755);
    ::chmod(doc.c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
  }
};

// A colleague's data folder, which an ordinary user may write, with the
// colleague's working copy of one student in it.
struct ColleagueCopy {
  std::string folder, copy;
  explicit ColleagueCopy(const TempFolders& dirs) : folder(dirs.root() + "/dane kolegi"), copy(folder + "/data_tmp.tmp") {
    fs::create_directories(folder);
    makeDocument(copy, {"7"});
    ::chmod(folder.c_str(), 0777);
    ::chmod(copy.c_str(), 0666);
  }
};

bool asOrdinaryUser() { return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0); }

}  // namespace


namespace {

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A journal that, rolled back into a document of one student "9" made by
// makeDocument, writes the planted values into it: the pages of a copy
// holding those values, journaled by a write that died before its commit.
std::string craftedJournal(const std::string& folder) {
  const std::string copy = folder + "/podmieniony.sqtvk";
  makeDocument(copy, {"9"});
  exec(copy, "update `PESEL9` set value = substr('PODMIENIONE Anna' || value, 1, 200)");
  leaveHotJournal(copy);
  const std::string journal = bytesOf(copy + "-journal");
  fs::remove(copy);
  fs::remove(copy + "-journal");
  return journal;
}

}  // namespace

std::string DocumentFilesTest::readyToPlant() {
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(docs.c_str(), 0755);
  ::chmod(work.c_str(), 0777);
  ::chmod(wc.c_str(), 0666);
  const std::string planted = dirs.root() + "/zasiew";
  std::ofstream(planted, std::ios::binary) << craftedJournal(docs);
  ::chmod(planted.c_str(), 0644);
  return planted;
}

namespace {

}  // namespace

namespace {

// A save in a child process of its own that stops at one of its steps:
// held there until finish() lets it go on, or killed there as a user's
// "kill -9" would end it. `save` gives the child's exit code.
class StoppedSave {
 public:
  StoppedSave(const std::string& step, bool killThere, const std::function<int()>& save) {
    if (::pipe(reached_) != 0 || ::pipe(go_) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(reached_[0]);
      ::close(go_[1]);
      vFunSetSaveStepHook([&](const std::string& now) {
        if (now != step) return;
        if (killThere) ::kill(::getpid(), SIGKILL);
        char c = 1;
        if (::write(reached_[1], &c, 1) != 1 || ::read(go_[0], &c, 1) < 0) ::_exit(5);
      });
      ::_exit(save());
    }
    ::close(reached_[1]);
    ::close(go_[0]);
  }
  ~StoppedSave() {
    if (pid_ > 0) finish();
  }
  // True once the save stands at its step; false when it ended first.
  bool standing() {
    char c = 0;
    return ::read(reached_[0], &c, 1) == 1;
  }
  // Lets a held save go on and gives how its process ended.
  int finish() {
    ::close(go_[1]);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    ::close(reached_[0]);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int reached_[2] {-1, -1}, go_[2] {-1, -1};
};

// The save of a working copy into a document, as an ordinary user: 0 when
// it went through, 1 when it failed, 2 when it failed because someone held
// the document.
int saveAsOrdinaryUser(const std::string& workingCopy, const std::string& doc) {
  if (!asOrdinaryUser()) return 3;
  TFileFailure why;
  if (bFunSaveDocument(TSystemPath(workingCopy), TSystemPath(doc), why)) return 0;
  return why.inUse ? 2 : 1;
}

int exitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status); }

}  // namespace

// The next start after a save into the document itself was killed: the
// document is put back only from what that save left, and nothing of it
// stays beside the working copy. A save killed after it wrote everything
// stands as saved. A document still under that save's mark was written by
// nobody else: a part of it that is neither state's (what a stick made of
// one of the save's writes) is the save's too, and is put back.
TEST_F(DocumentFilesTest, ASaveIntoTheDocumentItselfThatIsKilledIsPutBackAtTheNextStart) {
  SharedFolder shared(dirs, work, wc, docs);
  makeDocument(wc, {"3", "4", "5", "6"}, 100);
  const Rows before {{"PESEL9"}}, saved {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}, {"PESEL4"}, {"PESEL5"}, {"PESEL6"}};
  struct Case {
    const char* step;
    bool damaged;  // a byte the save wrote reads otherwise
    int result;
    Rows tables;
  } cases[] = {{"kept", false, 1, before},
               {"writing", false, 1, before},
               {"writing", true, 1, before},
               {"written", false, 0, saved}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.step) + (c.damaged ? ", damaged" : ""));
    fs::remove(shared.doc);
    makeDocument(shared.doc, {"9"});
    ::chmod(shared.doc.c_str(), 0666);
    StoppedSave killed(c.step, true, [&] { return saveAsOrdinaryUser(wc, shared.doc); });
    ASSERT_EQ(exitCode(killed.finish()), 100 + SIGKILL);
    if (c.damaged) {
      // Past the old state's end, in the first part the save wrote.
      ASSERT_GT(fs::file_size(shared.doc), 20000u);
      std::fstream file(shared.doc, std::ios::binary | std::ios::in | std::ios::out);
      file.seekg(20000);
      const char was = static_cast<char>(file.get());
      file.seekp(20000);
      file.put(static_cast<char>(was ^ 0x20));
    }
    ASSERT_TRUE(fs::exists(strFunOldStateMarkerPath(TSystemPath(wc)).bytes()));
    // The document's kept old state is the user's alone, like the working copy.
    EXPECT_EQ(static_cast<unsigned>(fs::status(strFunOldStatePath(TSystemPath(wc)).bytes()).permissions()) & 0777,
              0600u);

    TSystemPath document, kept;
    TFileFailure why;
    EXPECT_EQ(iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why), c.result);
    EXPECT_EQ(document.bytes(), shared.doc);
    EXPECT_EQ(tablesOf(shared.doc), c.tables);
    EXPECT_EQ(query(shared.doc, "pragma integrity_check"), (Rows {{"ok"}}));
    EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
    EXPECT_EQ(filesIn(shared.folder), (std::vector<std::string> {"klasa 3a.sqtvk"}));
    EXPECT_EQ(iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why), 0);  // done once only
  }
}

// Two users save the shared document in place at once: the second finds it
// held and fails at once without touching it or writing anything of its own,
// and no open reads it half-written; the first save completes whole.
TEST_F(DocumentFilesTest, TwoSavesIntoTheDocumentItselfNeverRunAtOnce) {
  SharedFolder shared(dirs, work, wc, docs);
  makeDocument(wc, {"3", "4", "5", "6"}, 100);
  const ColleagueCopy other(dirs);
  struct Case {
    const char* step;
    Rows saved;
  } cases[] = {{"kept", {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}, {"PESEL4"}, {"PESEL5"}, {"PESEL6"}}},
               {"writing", {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}, {"PESEL4"}, {"PESEL5"}}}};
  for (const Case& c : cases) {
    const char* step = c.step;
    SCOPED_TRACE(step);
    if (step == std::string("writing")) exec(wc, "drop table PESEL6");
    StoppedSave first(step, false, [&] { return saveAsOrdinaryUser(wc, shared.doc); });
    ASSERT_TRUE(first.standing());
    const int second = inChild([&] { return saveAsOrdinaryUser(other.copy, shared.doc); });
    EXPECT_EQ(exitCode(second), 2);
    const int opening = inChild([&] {
      if (!asOrdinaryUser()) return 3;
      TFileFailure why;
      return bFunLoadDocument(TSystemPath(shared.doc), TSystemPath(other.copy), why) ? 0 : why.inUse ? 2 : 1;
    });
    EXPECT_EQ(exitCode(opening), 2);
    EXPECT_EQ(filesIn(other.folder), (std::vector<std::string> {"data_tmp.tmp"}));
    EXPECT_EQ(exitCode(first.finish()), 0);
    EXPECT_EQ(tablesOf(shared.doc), c.saved);
    EXPECT_EQ(query(shared.doc, "pragma integrity_check"), (Rows {{"ok"}}));
    EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
  }
  EXPECT_EQ(tablesOf(other.copy), (Rows {{"PESEL7"}}));
}

namespace {

// A second local user of the machine (daemon when the tests run as root),
// as a colleague who shares the folder; false when that cannot be.
bool asColleague() {
  if (::geteuid() != 0) return true;
  const struct passwd* colleague = ::getpwnam("daemon");
  return colleague && ::setgid(colleague->pw_gid) == 0 && ::setuid(colleague->pw_uid) == 0;
}

// How a document reads: "old" when every student holds the old values,
// "new" when every one holds the saved values, "mixed" otherwise.
std::string versionIn(const std::string& path) {
  const Rows counts = query(path, "select (select count(*) from `PESEL1` where value like 'NOWE%') + "
                                  "(select count(*) from `PESEL6` where value like 'NOWE%'), "
                                  "(select count(*) from `PESEL1`) + (select count(*) from `PESEL6`)");
  return counts[0][0] == "0" ? "old" : counts[0][0] == counts[0][1] ? "new" : "mixed";
}

// The colleague's "Otwórz plik" of the document in a process of its own:
// "refused" when the open says that a save of it was interrupted, else
// what the colleague's working copy then holds ("failed" when the open
// failed otherwise).
std::string colleagueOpens(const std::string& doc, const std::string& colleagueCopy) {
  const int status = inChild([&] {
    if (!asColleague()) return 3;
    TFileFailure why;
    if (bFunLoadDocument(TSystemPath(doc), TSystemPath(colleagueCopy), why)) return 0;
    const bool told = why.interruptedSave &&
                      strFunFailureLines(why).find(cp1250("Zapis tego dokumentu (przez innego użytkownika albo w innej "
                                                          "sesji programu) został przerwany")) == 0;
    return told ? 1 : why.inUse ? 4 : 2;
  });
  const int code = exitCode(status);
  return code == 0   ? versionIn(colleagueCopy)
         : code == 1 ? "refused"
         : code == 4 ? "in use"
                     : "failed " + std::to_string(code);
}

}  // namespace

// A save into the shared document itself is killed at each of its steps; a
// colleague opens the document before the user's next start and again after
// it. From the save's first write to its last the document is refused with
// what happened (by any program that reads it through SQLite too); the
// put-back at the user's next start gives the old version back, and nobody
// ever opens a mix.
TEST_F(DocumentFilesTest, AColleagueNeverOpensAnInterruptedSaveIntoTheDocumentItself) {
  SharedFolder shared(dirs, work, wc, docs);
  const ColleagueCopy other(dirs);
  const std::vector<std::string> pesels {"1", "2", "3", "4", "5", "6"};
  struct Case {
    const char* step;
    const char* before;  // what the colleague opens before the user's next start
    const char* after;   // and after it
  } cases[] = {{"kept", "old", "old"}, {"writing", "refused", "old"}, {"written", "new", "new"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    fs::remove(shared.doc);
    makeDocument(shared.doc, pesels, 100);
    ::chmod(shared.doc.c_str(), 0666);
    fs::remove(wc);
    makeDocument(wc, pesels, 100);
    ::chmod(wc.c_str(), 0666);
    exec(wc, "update `PESEL1` set value = 'NOWE ' || value; update `PESEL6` set value = 'NOWE ' || value;");
    StoppedSave killed(c.step, true, [&] { return saveAsOrdinaryUser(wc, shared.doc); });
    ASSERT_EQ(exitCode(killed.finish()), 100 + SIGKILL);

    EXPECT_EQ(colleagueOpens(shared.doc, other.copy), c.before);
    if (c.before == std::string("refused")) {
      // Another program reading it through SQLite is refused too, never given a mix.
      sqlite3* db = nullptr;
      sqlite3_open_v2(shared.doc.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
      EXPECT_EQ(sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr), SQLITE_NOTADB);
      sqlite3_close(db);
    }
    TSystemPath document, kept;
    TFileFailure why;
    iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why);
    EXPECT_EQ(colleagueOpens(shared.doc, other.copy), c.after);
    EXPECT_EQ(versionIn(shared.doc), c.after);
    EXPECT_EQ(query(shared.doc, "pragma integrity_check"), (Rows {{"ok"}}));
  }
}

// A colleague opens the shared document while the user's save into it
// holds it, before its first write; the save then writes its mark and is
// killed. The open, which waited for the save, finds the mark under its own
// hold and tells what happened, never "not a document".
TEST_F(DocumentFilesTest, AnOpenThatWaitedForASaveThatWasKilledSaysTheSaveWasInterrupted) {
  SharedFolder shared(dirs, work, wc, docs);
  const ColleagueCopy other(dirs);
  // A machine too busy to write the mark within the open's wait has the
  // open told "in use" instead, which is true too: that round is tried again.
  std::string told = "in use";
  for (int round = 0; round < 5 && told == "in use"; ++round) {
    TSystemPath document, kept;
    TFileFailure ignored;
    iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, ignored);
    fs::remove(shared.doc);
    makeDocument(shared.doc, {"1", "2", "3"}, 100);
    ::chmod(shared.doc.c_str(), 0666);
    exec(wc, "update `PESEL1` set value = 'NOWE ' || value");
    int reached[2], go[2];
    ASSERT_EQ(::pipe(reached), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t saver = ::fork();
    if (saver == 0) {
      vFunSetSaveStepHook([&](const std::string& step) {
        char c = 1;
        if (step == "kept" && (::write(reached[1], &c, 1) != 1 || ::read(go[0], &c, 1) != 1)) ::_exit(5);
        if (step == "writing") ::kill(::getpid(), SIGKILL);
      });
      ::_exit(saveAsOrdinaryUser(wc, shared.doc));
    }
    char c = 0;
    ASSERT_EQ(::read(reached[0], &c, 1), 1);
    // The colleague's open begins while the document is held and unmarked.
    std::thread opening([&] { told = colleagueOpens(shared.doc, other.copy); });
    ::usleep(60 * 1000);
    ASSERT_EQ(::write(go[1], &c, 1), 1);
    int status = 0;
    ::waitpid(saver, &status, 0);
    opening.join();
    EXPECT_EQ(exitCode(status), 100 + SIGKILL);
    for (const int fd : {reached[0], reached[1], go[0], go[1]}) ::close(fd);
  }
  EXPECT_EQ(told, "refused");
}

// The user's own save into the shared document is killed half-way and put
// back at the next start: the document holds what the user opened again,
// so "Zapisz" writes into it without asking.
TEST_F(DocumentFilesTest, AfterAPutBackTheOpenFileIsStillTheOneTheUserOpened) {
  SharedFolder shared(dirs, work, wc, docs);
  makeDocument(shared.doc, {"1", "2", "3", "4", "5", "6"}, 100);
  const auto opens = [&] {
    if (!asOrdinaryUser()) return 3;
    TFileFailure why;
    TOpenedFile read;
    return bFunLoadDocument(TSystemPath(shared.doc), TSystemPath(wc), why, &read) &&
                   bFunRecordOpenedFile(TSystemPath(wc), read)
               ? 0
               : 1;
  };
  ASSERT_EQ(exitCode(inChild(opens)), 0);
  exec(wc, "update `PESEL1` set value = 'NOWE ' || value; update `PESEL6` set value = 'NOWE ' || value;");
  StoppedSave killed("writing", true, [&] { return saveAsOrdinaryUser(wc, shared.doc); });
  ASSERT_EQ(exitCode(killed.finish()), 100 + SIGKILL);
  const int saved = inChild([&] {
    if (!asOrdinaryUser()) return 3;
    TSystemPath document, kept;
    TFileFailure why;
    if (iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why) != 1) return 7;
    TOpenedFile opened;
    if (!bFunOpenedFileOf(TSystemPath(wc), opened)) return 5;
    if (bFunSaveDocument(TSystemPath(wc), TSystemPath(shared.doc), why, &opened)) return 0;
    return why.changedSinceOpened ? 4 : 1;
  });
  EXPECT_EQ(exitCode(saved), 0);
  EXPECT_EQ(versionIn(shared.doc), "new");
}

// Two users, each with the shared document open, save it at the same
// moment, beside it (two processes of one user) and into the document
// itself (two users, a folder that takes no new file). One save wins; the
// other finds the file is no longer the one it opened, writes nothing and
// says so, so nothing is lost unasked. Afterwards the winner saves again
// without a word: the file is still the one it last saved.
TEST_F(DocumentFilesTest, TwoSavesOfTheOpenFileAtOnceOneWinsTheOtherIsAsked) {
  SharedFolder shared(dirs, work, wc, docs);
  const ColleagueCopy other(dirs);
  const std::string besideDoc = docs + "/klasa 2b żółć.sqtvk";
  // A folder that a third account may write too, which leaves its own file
  // under the name of the document's journal: a read-only one, or a link.
  const std::string everyone = docs + "/wspólny dla wszystkich", plantedDoc = everyone + "/klasa 2c ąę.sqtvk";
  fs::create_directories(everyone);
  ::chmod(everyone.c_str(), 0777);
  const std::string planted = dirs.root() + "/cudzy dziennik";
  std::ofstream(planted, std::ios::binary) << craftedJournal(docs);
  ::chmod(planted.c_str(), 0644);
  struct Case {
    const char* where;
    std::string doc;
    const char* holdAt;  // where the first save waits while the second starts
    bool asUsers;        // the two savers are two local users
    std::vector<std::string> plant;  // run as that third account first
  } cases[] = {
      {"beside", besideDoc, "copied", false, {}},
      {"in place", shared.doc, "kept", true, {}},
      {"beside, a read-only journal planted", plantedDoc, "copied", false,
       {"sh", "-c", "cp \"$0\" \"$1-journal\" && chmod 0444 \"$1-journal\"", planted, plantedDoc}},
      {"beside, a link planted as its journal", plantedDoc, "copied", false,
       {"ln", "-s", planted, plantedDoc + "-journal"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    fs::remove(c.doc);
    fs::remove(c.doc + "-journal");
    makeDocument(c.doc, {"9"});
    ::chmod(c.doc.c_str(), 0666);
    if (!c.plant.empty()) {
      if (::geteuid() != 0) continue;
      ASSERT_TRUE(runAs("daemon", c.plant));
    }
    // As the program does it: the file read at the open is recorded for the
    // working copy, and "Zapisz" writes only while the file is still that
    // one, recording it anew once it is saved.
    const auto checkedSave = [&](const std::string& copy, bool colleague) {
      return [&, copy, colleague] {
        if (c.asUsers && !(colleague ? asColleague() : asOrdinaryUser())) return 3;
        TFileFailure why;
        TOpenedFile opened, saved;
        if (!bFunOpenedFileOf(TSystemPath(copy), opened)) return 5;
        if (bFunSaveDocument(TSystemPath(copy), TSystemPath(c.doc), why, &opened, &saved))
          return bFunRecordOpenedFile(TSystemPath(copy), saved) ? 0 : 6;
        return why.changedSinceOpened ? 4 : why.inUse ? 2 : 1;
      };
    };
    const auto opens = [&](const std::string& copy, bool colleague) {
      return exitCode(inChild([&] {
        if (c.asUsers && !(colleague ? asColleague() : asOrdinaryUser())) return 3;
        TFileFailure why;
        TOpenedFile read;
        return bFunLoadDocument(TSystemPath(c.doc), TSystemPath(copy), why, &read) && read.path == c.doc &&
                       bFunRecordOpenedFile(TSystemPath(copy), read)
                   ? 0
                   : 1;
      }));
    };
    ASSERT_EQ(opens(wc, false), 0);
    ASSERT_EQ(opens(other.copy, true), 0);
    exec(wc, "create table `PESEL10`( id TEXT, comp_name TEXT, value TEXT )");
    exec(other.copy, "create table `PESEL20`( id TEXT, comp_name TEXT, value TEXT )");

    StoppedSave first(c.holdAt, false, checkedSave(wc, false));
    ASSERT_TRUE(first.standing());
    const pid_t second = ::fork();
    if (second == 0) ::_exit(checkedSave(other.copy, true)());
    EXPECT_EQ(exitCode(first.finish()), 0);
    int status = 0;
    ::waitpid(second, &status, 0);
    // Told: the file changed since it was opened, or (when the first save
    // took longer than the wait) that a save holds it.
    EXPECT_TRUE(exitCode(status) == 4 || exitCode(status) == 2) << exitCode(status);
    // Read from a copy: SQLite itself refuses a database whose journal it
    // cannot open, as it should.
    const std::string reading = dirs.root() + "/odczyt.sqtvk";
    const auto tablesNow = [&] {
      fs::copy_file(c.doc, reading, fs::copy_options::overwrite_existing);
      return tablesOf(reading);
    };
    EXPECT_EQ(tablesNow(), (Rows {{"PESEL10"}, {"PESEL9"}}));
    EXPECT_EQ(query(reading, "pragma integrity_check"), (Rows {{"ok"}}));
    // Tried again, the colleague's save is asked about, never written.
    EXPECT_EQ(exitCode(inChild(checkedSave(other.copy, true))), 4);
    EXPECT_EQ(tablesNow(), (Rows {{"PESEL10"}, {"PESEL9"}}));

    exec(wc, "create table `PESEL11`( id TEXT, comp_name TEXT, value TEXT )");
    EXPECT_EQ(exitCode(inChild(checkedSave(wc, false))), 0);
    EXPECT_EQ(tablesNow(), (Rows {{"PESEL10"}, {"PESEL11"}, {"PESEL9"}}));
    EXPECT_EQ(savesFilesIn(docs), std::vector<std::string> {});
    EXPECT_EQ(savesFilesIn(everyone), std::vector<std::string> {});
    EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp", "data_tmp.tmp.otwarty-plik"}));
    EXPECT_EQ(filesIn(other.folder), (std::vector<std::string> {"data_tmp.tmp", "data_tmp.tmp.otwarty-plik"}));
    exec(wc, "drop table `PESEL10`; drop table `PESEL11`");
  }
}

// The file as the open read it is what "Zapisz" checks: another file put
// under the name since, or the same file with other content (even with its
// time set back), fails the check and stays as it is. The record of it
// beside the working copy gives it back; a working copy made anew (an
// import) belongs to no file.
TEST_F(DocumentFilesTest, ASaveIntoTheOpenFileWritesOnlyWhileItIsTheFileThatWasOpened) {
  const std::string doc = docs + "/klasa 2b żółć.sqtvk";
  struct Case {
    const char* change;
    std::function<void()> make;
    bool saved;
  } cases[] = {
      {"nothing", [] {}, true},
      {"a row changed and its time set back", [&] {
         struct stat was {};
         ::stat(doc.c_str(), &was);
         exec(doc, "update `PESEL9` set value = 'kolega'");
         const struct timespec times[2] = {was.st_atim, was.st_mtim};
         ::utimensat(AT_FDCWD, doc.c_str(), times, 0);
       }, false},
      {"a row changed in place", [&] { exec(doc, "update `PESEL9` set value = 'kolega'"); }, false},
      {"another file under its name", [&] {
         makeDocument(doc + ".inny", {"9"});
         fs::rename(doc + ".inny", doc);
       }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    fs::remove(doc);
    makeDocument(doc, {"9"});
    TFileFailure why;
    TOpenedFile opened, recorded;
    ASSERT_TRUE(bFunLoadDocument(TSystemPath(doc), TSystemPath(wc), why, &opened));
    EXPECT_EQ(opened.path, doc);
    ASSERT_TRUE(bFunRecordOpenedFile(TSystemPath(wc), opened));
    ASSERT_TRUE(bFunOpenedFileOf(TSystemPath(wc), recorded));
    EXPECT_EQ(recorded.path, doc);
    c.make();
    const Rows was = query(doc, "select value from `PESEL9`");
    exec(wc, "create table `PESEL10`( id TEXT, comp_name TEXT, value TEXT )");
    EXPECT_EQ(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why, &recorded), c.saved);
    EXPECT_EQ(why.changedSinceOpened, !c.saved);
    EXPECT_EQ(tablesOf(doc), c.saved ? (Rows {{"PESEL10"}, {"PESEL9"}}) : (Rows {{"PESEL9"}}));
    if (!c.saved) {
      EXPECT_EQ(query(doc, "select value from `PESEL9`"), was);
    }
    EXPECT_EQ(savesFilesIn(docs), std::vector<std::string> {});
  }
  // The working copy made anew belongs to no file.
  fs::rename(wc, wc + ".stary");
  makeDocument(wc, {"1"});
  TOpenedFile none;
  EXPECT_FALSE(bFunOpenedFileOf(TSystemPath(wc), none));
  TFileFailure why;
  EXPECT_FALSE(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why, &none));
  EXPECT_TRUE(why.changedSinceOpened);
}

namespace {

// The old state of the shared document, as the put-back keeps it aside.
std::string keptAside(const std::string& work, int number = 1) {
  return work + "/klasa 3a - stan sprzed przerwanego zapisu" +
         (number > 1 ? " (" + std::to_string(number) + ")" : std::string()) + ".sqtvk";
}

}  // namespace

// A user's save into the shared document is killed after its old state was
// kept; a colleague then saves the document, in place or as a new file. The
// user's next start leaves the colleague's save alone and keeps the old
// state where the user can open it.

// The checksum "Zapisz" compares: the same however the file's bytes are cut
// into reads, and another for a byte changed, two words of one lane or of
// two lanes swapped, a byte more or less (a colleague's save of one value
// keeps the size and, on a FAT stick, often the time).
TEST(DocumentChecksumTest, TheSumIsOfTheBytesWhateverTheReadsAndChangesWithAnyOfThem) {
  std::string bytes(100003, '\0');
  std::uint64_t seed = 88172645463325252ull;
  for (char& byte : bytes) {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    byte = static_cast<char>(seed);
  }
  const auto sumOf = [](const std::string& data, std::size_t cut) {
    TChecksum sum;
    for (std::size_t at = 0; at < data.size(); at += cut) sum.add(data.data() + at, std::min(cut, data.size() - at));
    return sum.value();
  };
  const std::uint64_t whole = sumOf(bytes, bytes.size());
  for (const std::size_t cut : {1, 7, 8, 31, 32, 33, 4096, 65536, 100002})
    EXPECT_EQ(sumOf(bytes, cut), whole) << "read in pieces of " << cut;

  std::string oneByte = bytes, oneLane = bytes, twoLanes = bytes;
  oneByte[50001] = static_cast<char>(oneByte[50001] ^ 1);
  std::swap_ranges(oneLane.begin(), oneLane.begin() + 8, oneLane.begin() + 32);
  std::swap_ranges(twoLanes.begin(), twoLanes.begin() + 8, twoLanes.begin() + 8);
  const std::vector<std::string> changed = {oneByte, oneLane, twoLanes, bytes + '\0', bytes.substr(0, bytes.size() - 1),
                                            std::string(bytes.size(), '\0')};
  std::vector<std::uint64_t> sums = {whole};
  for (const std::string& other : changed) sums.push_back(sumOf(other, 4096));
  std::sort(sums.begin(), sums.end());
  EXPECT_EQ(std::adjacent_find(sums.begin(), sums.end()), sums.end()) << "two contents with one sum";
  EXPECT_NE(sumOf(std::string(), 1), sumOf(std::string(1, '\0'), 1));
}

TEST_F(DocumentFilesTest, APutBackNeverUndoesAColleaguesLaterSave) {
  SharedFolder shared(dirs, work, wc, docs);
  const ColleagueCopy other(dirs);
  struct Case {
    const char* colleague;
    bool inPlace;
  } cases[] = {{"in place", true}, {"as a new file", false}};
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colleague);
    StoppedSave killed("kept", true, [&] { return saveAsOrdinaryUser(wc, shared.doc); });
    ASSERT_EQ(exitCode(killed.finish()), 100 + SIGKILL);
    struct stat was {};
    ::stat(shared.doc.c_str(), &was);
    // The superuser writes the folder: the colleague's save renames a new file into place.
    const int status = inChild([&] {
      TFileFailure why;
      return c.inPlace ? saveAsOrdinaryUser(other.copy, shared.doc)
             : bFunSaveDocument(TSystemPath(other.copy), TSystemPath(shared.doc), why) ? 0
                                                                                       : 1;
    });
    ASSERT_EQ(exitCode(status), 0);
    struct stat now {};
    ::stat(shared.doc.c_str(), &now);
    ASSERT_EQ(now.st_ino == was.st_ino, c.inPlace);

    TSystemPath document, kept;
    TFileFailure why;
    EXPECT_EQ(iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why), 2);
    EXPECT_EQ(document.bytes(), shared.doc);
    EXPECT_EQ(tablesOf(shared.doc), (Rows {{"PESEL7"}}));
    EXPECT_EQ(kept.bytes(), keptAside(work, ++round));
    EXPECT_EQ(tablesOf(kept.bytes()), (Rows {{"PESEL9"}}));
    EXPECT_EQ(iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why), 0);
    exec(shared.doc, "drop table PESEL7; create table PESEL9(id TEXT, comp_name TEXT, value TEXT);");
  }
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp", "klasa 3a - stan sprzed przerwanego zapisu (2).sqtvk",
                                                      "klasa 3a - stan sprzed przerwanego zapisu.sqtvk"}));
}

// What stands under the document's name at the next start is not the file
// the killed save wrote: a symbolic link to another file of the user's, or
// nothing at all (in a folder that takes new files, or not). The put-back
// writes nothing, makes nothing, clears its marker and keeps the old state
// for the user; the next save into another shared document goes on.
TEST_F(DocumentFilesTest, APutBackNeverWritesThroughALinkNorMakesAGoneDocumentAgain) {
  SharedFolder shared(dirs, work, wc, docs);
  const std::string settings = docs + "/moje ustawienia", otherFolder = docs + "/inny folder",
                    otherDoc = otherFolder + "/klasa 3b.sqtvk";
  writeText(settings, "export PATH=$HOME/bin:$PATH\n");
  ::chmod(settings.c_str(), 0666);
  fs::create_directories(otherFolder);
  makeDocument(otherDoc, {"8"});
  ::chmod(otherDoc.c_str(), 0666);
  ::chmod(otherFolder.c_str(), 0555);
  struct Case {
    const char* what;
    const char* step;
    mode_t folderMode;
    int result;
  } cases[] = {{"a link", "writing", 0555, 2}, {"gone, the folder takes new files", "kept", 0777, 3},
               {"gone, the folder takes none", "kept", 0555, 3}};
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(shared.doc);
    makeDocument(shared.doc, {"9"});
    ::chmod(shared.doc.c_str(), 0666);
    StoppedSave killed(c.step, true, [&] { return saveAsOrdinaryUser(wc, shared.doc); });
    ASSERT_EQ(exitCode(killed.finish()), 100 + SIGKILL);
    fs::remove(shared.doc);
    if (c.result == 2) fs::create_symlink(settings, shared.doc);
    ::chmod(shared.folder.c_str(), c.folderMode);
    const int status = inChild([&] {
      if (!asOrdinaryUser()) return 3;
      TSystemPath document, kept;
      TFileFailure why;
      if (iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why) != c.result) return 1;
      if (kept.bytes() != keptAside(work, round + 1) || fs::exists(strFunOldStateMarkerPath(TSystemPath(wc)).bytes()))
        return 2;
      return saveAsOrdinaryUser(wc, otherDoc) == 0 ? 0 : 4;
    });
    ++round;
    EXPECT_EQ(exitCode(status), 0);
    EXPECT_EQ(readText(settings), "export PATH=$HOME/bin:$PATH\n");
    EXPECT_EQ(fs::is_symlink(shared.doc), c.result == 2);
    EXPECT_EQ(fs::exists(fs::symlink_status(shared.doc)), c.result == 2);
    EXPECT_EQ(tablesOf(keptAside(work, round)), (Rows {{"PESEL9"}}));
    EXPECT_EQ(tablesOf(otherDoc), (Rows {{"PESEL1"}, {"PESEL2"}}));
    fs::remove(shared.doc);
    ::chmod(shared.folder.c_str(), 0555);
  }
}

// A marker of an earlier version names the document alone: whether the
// document changed since cannot be told, so it is not written; the old state
// is kept for the user.
TEST_F(DocumentFilesTest, AMarkerThatRecordsNoStateNeverPutsBackBlindly) {
  SharedFolder shared(dirs, work, wc, docs);
  makeDocument(strFunOldStatePath(TSystemPath(wc)).bytes(), {"5"});
  writeText(strFunOldStateMarkerPath(TSystemPath(wc)).bytes(), shared.doc);
  TSystemPath document, kept;
  TFileFailure why;
  EXPECT_EQ(iFunRestoreInterruptedSave(TSystemPath(wc), document, kept, why), 4);
  EXPECT_EQ(document.bytes(), shared.doc);
  EXPECT_EQ(tablesOf(shared.doc), (Rows {{"PESEL9"}}));
  EXPECT_EQ(kept.bytes(), keptAside(work));
  EXPECT_EQ(tablesOf(kept.bytes()), (Rows {{"PESEL5"}}));
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp", "klasa 3a - stan sprzed przerwanego zapisu.sqtvk"}));
}

// The owner saves the shared document as a new file renamed into place; a
// colleague opens the document meanwhile. The owner's file is left alone and
// the save goes through.
TEST_F(DocumentFilesTest, AnOpenDuringASaveBesideTheDocumentLeavesTheSavesFileAlone) {
  const std::string folder = docs + "/wspólny folder", doc = folder + "/klasa 3a.sqtvk";
  const ColleagueCopy other(dirs);
  fs::create_directories(folder);
  makeDocument(doc, {"9"});
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(docs.c_str(), 0755);
  ::chmod(folder.c_str(), 0777);
  ::chmod(doc.c_str(), 0666);
  StoppedSave owner("copied", false, [&] {
    TFileFailure why;
    return bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why) ? 0 : 1;
  });
  ASSERT_TRUE(owner.standing());
  ASSERT_EQ(savesFilesIn(folder).size(), 1u);
  const int opening = inChild([&] {
    if (!asOrdinaryUser()) return 3;
    TFileFailure why;
    return bFunLoadDocument(TSystemPath(doc), TSystemPath(other.copy), why) ? 0 : 1;
  });
  EXPECT_EQ(exitCode(opening), 0);
  EXPECT_EQ(savesFilesIn(folder).size(), 1u);
  EXPECT_EQ(exitCode(owner.finish()), 0);
  EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(tablesOf(other.copy), (Rows {{"PESEL9"}}));
  EXPECT_EQ(filesIn(folder), (std::vector<std::string> {"klasa 3a.sqtvk"}));
}

namespace {

// A folder the user chose for "Zapisz jako" that others may write too.
struct ChosenFolder {
  std::string folder, doc;
  ChosenFolder(const TempFolders& dirs, const std::string& docs) {
    folder = docs + "/Świadectwa 2025 – klasy drugie";
    doc = folder + "/klasa 2b żółć.sqtvk";
    fs::create_directories(folder);
    ::chmod(dirs.root().c_str(), 0755);
    ::chmod(docs.c_str(), 0755);
    ::chmod(folder.c_str(), 0777);
  }
};

int saveAs(const std::string& workingCopy, const std::string& doc) {
  TFileFailure why;
  return bFunSaveDocument(TSystemPath(workingCopy), TSystemPath(doc), why) ? 0 : 1;
}

}  // namespace

// Two saves onto the same new name, by another process of the user or by a
// colleague, the first held just before its rename while the second runs
// through and the new document is opened: neither touches the other's
// file, both end with a whole document (the last rename wins) and nothing
// of theirs is left.
TEST_F(DocumentFilesTest, TwoSavesOntoTheSameNewNameEachWriteAFileOfTheirOwn) {
  const ChosenFolder chosen(dirs, docs);
  const ColleagueCopy other(dirs);
  for (const bool colleague : {false, true}) {
    SCOPED_TRACE(colleague ? "a colleague" : "another process");
    fs::remove(chosen.doc);
    ::chmod(other.copy.c_str(), 0666);
    auto asTheOther = [&](const std::function<int()>& what) {
      return exitCode(inChild([&] { return colleague && !asOrdinaryUser() ? 3 : what(); }));
    };
    StoppedSave first("copied", false, [&] { return saveAs(wc, chosen.doc); });
    ASSERT_TRUE(first.standing());
    ASSERT_EQ(savesFilesIn(chosen.folder).size(), 1u);
    EXPECT_EQ(asTheOther([&] { return saveAs(other.copy, chosen.doc); }), 0);
    EXPECT_EQ(tablesOf(chosen.doc), (Rows {{"PESEL7"}}));
    EXPECT_EQ(asTheOther([&] {
                TFileFailure why;
                return bFunLoadDocument(TSystemPath(chosen.doc), TSystemPath(other.copy), why) ? 0 : 1;
              }),
              0);
    EXPECT_EQ(savesFilesIn(chosen.folder).size(), 1u);  // the first save's, still at work

    EXPECT_EQ(exitCode(first.finish()), 0);
    EXPECT_EQ(tablesOf(chosen.doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
    EXPECT_EQ(query(chosen.doc, "pragma integrity_check"), (Rows {{"ok"}}));
    EXPECT_EQ(filesIn(chosen.folder), (std::vector<std::string> {"klasa 2b żółć.sqtvk"}));
    EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
    EXPECT_EQ(filesIn(other.folder), (std::vector<std::string> {"data_tmp.tmp"}));
  }
}

// A save beside a document killed just before its rename leaves its file,
// recorded in the data folder: the next open of the document removes it,
// and the next start does (a "Zapisz jako" onto a new name leaves no
// document to open). A record left by a killed process never removes a
// file that a save at work holds.
TEST_F(DocumentFilesTest, WhatAKilledSaveBesideADocumentLeftGoesAtTheNextOpenOrStart) {
  const ChosenFolder chosen(dirs, docs);
  for (const bool byOpen : {true, false}) {
    SCOPED_TRACE(byOpen ? "the next open" : "the next start");
    fs::remove(chosen.doc);
    if (byOpen) makeDocument(chosen.doc, {"9"});
    StoppedSave killed("copied", true, [&] { return saveAs(wc, chosen.doc); });
    ASSERT_EQ(exitCode(killed.finish()), 100 + SIGKILL);
    ASSERT_EQ(savesFilesIn(chosen.folder).size(), 1u);
    TFileFailure why;
    if (byOpen) {
      ASSERT_TRUE(bFunLoadDocument(TSystemPath(chosen.doc), TSystemPath(wc), why));
    }
    EXPECT_EQ(iFunRemoveLeftTemporaries(TSystemPath(work)), byOpen ? 0 : 1);
    EXPECT_EQ(savesFilesIn(chosen.folder), std::vector<std::string> {});
    EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
  }

  StoppedSave working("copied", false, [&] { return saveAs(wc, chosen.doc); });
  ASSERT_TRUE(working.standing());
  const std::vector<std::string> own = savesFilesIn(chosen.folder);
  ASSERT_EQ(own.size(), 1u);
  const int recording = inChild([&] {
    TTemporaryRecord record(work, chosen.folder + "/" + own[0]);
    ::raise(SIGKILL);
    return 1;
  });
  ASSERT_TRUE(WIFSIGNALED(recording));
  EXPECT_EQ(iFunRemoveLeftTemporaries(TSystemPath(work)), 0);
  EXPECT_EQ(savesFilesIn(chosen.folder), own);
  EXPECT_EQ(exitCode(working.finish()), 0);
  EXPECT_EQ(tablesOf(chosen.doc), (Rows {{"PESEL9"}}));
  EXPECT_EQ(filesIn(chosen.folder), (std::vector<std::string> {"klasa 2b żółć.sqtvk"}));
}

TEST_F(DocumentFilesTest, ASaveIntoTheDocumentItselfOnAFullDiskFailsAndLeavesItAsItWas) {
  SharedFolder shared(dirs, work, wc, docs);
  makeDocument(wc, {"3", "4", "5", "6"}, 100);
  const int status = inChild([&] {
    if (!asOrdinaryUser()) return 3;
    platform::ignoreFileSizeSignal();
    const rlimit limit {48 * 1024, 48 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    TFileFailure why;
    if (bFunSaveDocument(TSystemPath(wc), TSystemPath(shared.doc), why)) return 1;
    return why.systemError == EFBIG || (why.sqliteCode & 0xff) == SQLITE_FULL ? 0 : 2;
  });
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(tablesOf(shared.doc), (Rows {{"PESEL9"}}));
  EXPECT_EQ(query(shared.doc, "pragma integrity_check"), (Rows {{"ok"}}));
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
  // Without the limit the same save goes through.
  const int again = inChild([&] {
    if (!asOrdinaryUser()) return 3;
    TFileFailure why;
    return bFunSaveDocument(TSystemPath(wc), TSystemPath(shared.doc), why) ? 0 : 1;
  });
  ASSERT_TRUE(WIFEXITED(again));
  EXPECT_EQ(WEXITSTATUS(again), 0);
  EXPECT_EQ(tablesOf(shared.doc), (Rows {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}, {"PESEL4"}, {"PESEL5"}, {"PESEL6"}}));
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
}

// A real full disk: the document's folder is a small file system of its
// own (made only where the test may mount one), filled up to the last block.
TEST_F(DocumentFilesTest, ASaveIntoTheDocumentItselfOnAFilledUpFileSystemLeavesItAsItWas) {
  const std::string mounted = docs + "/pełny dysk";
  fs::create_directories(mounted);
  if (::geteuid() != 0 || ::mount("tarvek-test", mounted.c_str(), "tmpfs", 0, "size=1m") != 0)
    GTEST_SKIP() << "no small file system can be mounted here";
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount {mounted};
  const std::string doc = mounted + "/klasa.sqtvk";
  makeDocument(doc, {"9"}, 20);
  {
    // Full but for a few blocks: the document grows a little, then the disk ends.
    std::ofstream filler(mounted + "/wypełnienie", std::ios::binary);
    const std::string block(4096, '\0');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  }
  fs::resize_file(mounted + "/wypełnienie", fs::file_size(mounted + "/wypełnienie") - 10 * 4096);
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(docs.c_str(), 0755);
  ::chmod(work.c_str(), 0777);
  ::chmod(wc.c_str(), 0666);
  ::chmod(doc.c_str(), 0666);
  ::chmod(mounted.c_str(), 0555);
  // Far more than the disk holds, and more than SQLite's cache: pages go
  // into the document before the end of the transaction.
  std::vector<std::string> many;
  for (int p = 100; p < 220; ++p) many.push_back(std::to_string(p));
  makeDocument(wc, many, 100);
  const int status = inChild([&] {
    if (!asOrdinaryUser()) return 3;
    TFileFailure why;
    if (bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why)) return 1;
    if (why.systemError == ENOSPC || (why.sqliteCode & 0xff) == SQLITE_FULL) return 0;
    std::fprintf(stderr, "save failed with %d/%d\n", why.systemError, why.sqliteCode);
    return 2;
  });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(query(doc, "pragma integrity_check"), (Rows {{"ok"}}));
  EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL9"}}));
  EXPECT_EQ(query(doc, "select count(*) from PESEL9"), (Rows {{"20"}}));
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
}

TEST_F(DocumentFilesTest, ADocumentAnotherProgramHoldsFailsAtOnceAndStaysAsItWas) {
  SharedFolder shared(dirs, work, wc, docs);
  const std::string beside = docs + "/klasa.sqtvk";
  makeDocument(beside, {"8"});
  for (const std::string& doc : {beside, shared.doc}) {
    // Another program holds the document: a process of its own, as its
    // locks would not be another process's in this one.
    int ready[2], done[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(done), 0);
    const pid_t other = ::fork();
    if (other == 0) {
      ::close(done[1]);
      ::close(ready[0]);
      sqlite3* db = nullptr;
      char c = sqlite3_open(doc.c_str(), &db) == SQLITE_OK &&
               sqlite3_exec(db, "begin exclusive", nullptr, nullptr, nullptr) == SQLITE_OK;
      if (::write(ready[1], &c, 1) != 1 || ::read(done[0], &c, 1) < 0) ::_exit(1);
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(done[0]);
    char holds = 0;
    ASSERT_EQ(::read(ready[0], &holds, 1), 1);
    ASSERT_EQ(holds, 1);
    // The open and the save come back while the other still holds it: they
    // give up instead of waiting for it (how soon: store_bench).
    TFileFailure opening;
    EXPECT_FALSE(bFunLoadDocument(TSystemPath(doc), TSystemPath(wc), opening)) << doc;
    EXPECT_TRUE(opening.inUse) << doc;
    const int status = inChild([&] {
      if (doc == shared.doc && !asOrdinaryUser()) return 3;
      TFileFailure saving;
      if (bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), saving)) return 1;
      return saving.inUse ? 0 : 2;
    });
    ::close(done[1]);
    ::close(ready[0]);
    ::waitpid(other, nullptr, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << doc;
    EXPECT_EQ(tablesOf(doc).size(), 1u) << doc;
    EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL1"}, {"PESEL2"}}));
    EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
  }
}

TEST_F(DocumentFilesTest, APipeOrADeviceNamedAsADocumentIsRefusedWithoutWaiting) {
  const std::string pipe = docs + "/potok ąę.sqtvk";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
  const std::string device = docs + "/urządzenie.sqtvk";
  fs::create_symlink("/dev/zero", device);
  // In a child that an alarm ends, so a blocking open cannot hang the test.
  const int status = inChild([&] {
    ::alarm(5);
    for (const std::string& path : {pipe, device}) {
      TFileFailure why;
      if (bFunLoadDocument(TSystemPath(path), TSystemPath(wc), why) || !why.notDocument) return 1;
      int tables = 0;
      if (bFunCheckDocument(TSystemPath(path), tables, why)) return 2;
      if (path == pipe && bFunSaveDocument(TSystemPath(wc), TSystemPath(path), why)) return 3;  // never written into
    }
    return 0;
  });
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
}

// ------------------------------------------------ temporaries of killed work

// A temporary is recorded in the data folder while a process works on it:
// a start removes those whose process is gone, and never one that a running
// process still writes, nor a file of someone else's, nor what a symbolic
// link points to.
TEST_F(DocumentFilesTest, ATemporaryOfAProcessThatIsGoneIsRemovedAndNothingElse) {
  const std::string chosen = docs + "/Moje dokumenty";
  fs::create_directories(chosen);
  const std::string dead = chosen + "/klasa 3a – świadectwa.sqtvk.zapis-tmp";
  const std::string running = chosen + "/klasa 3b.sqtvk.zapis-tmp";
  const std::string foreign = chosen + "/cudzy.sqtvk.zapis-tmp";
  const std::string victim = dirs.root() + "/.profile", linked = chosen + "/link.sqtvk.zapis-tmp";
  writeText(victim, "export PATH\n");
  fs::create_symlink(victim, linked);
  // Each recorded by a process that then dies as a kill ends it.
  for (const std::string& temporary : {dead, foreign, linked}) {
    const int status = inChild([&] {
      TTemporaryRecord record(work, temporary);
      if (!record.recorded()) return 1;
      if (temporary != linked) std::ofstream(temporary) << "students' data";
      ::raise(SIGKILL);
      return 2;
    });
    ASSERT_TRUE(WIFSIGNALED(status));
  }
  std::ofstream(dead + "-journal") << "its journal";
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
  }
  // One whose process still works on it.
  int ready[2], finish[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(finish), 0);
  const pid_t worker = ::fork();
  if (worker == 0) {
    TTemporaryRecord record(work, running);
    std::ofstream(running) << "being written";
    char c = 1;
    (void)!::write(ready[1], &c, 1);
    (void)!::read(finish[0], &c, 1);
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);

  EXPECT_EQ(iFunRemoveLeftTemporaries(TSystemPath(work)), ::geteuid() == 0 ? 1 : 2);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_FALSE(fs::exists(dead + "-journal"));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_EQ(fs::exists(foreign), ::geteuid() == 0);  // another user's file stays
  EXPECT_TRUE(fs::is_symlink(linked));
  EXPECT_EQ(readText(victim), "export PATH\n");

  // Once that process is gone too (ended without tidying up), its
  // temporary goes at the next start.
  (void)!::write(finish[1], &c, 1);
  int status = 0;
  ::waitpid(worker, &status, 0);
  EXPECT_EQ(iFunRemoveLeftTemporaries(TSystemPath(work)), 1);
  EXPECT_FALSE(fs::exists(running));
  EXPECT_FALSE(fs::exists(strFunTemporaryRecordsFolder(work)));  // every record gone
  EXPECT_EQ(filesIn(work), (std::vector<std::string> {"data_tmp.tmp"}));
}

// What a kill left of a record written aside goes at the start with its
// journal; a link under such a name goes without what it points to, and
// whatever is no file of the user's stays.
TEST_F(DocumentFilesTest, ARecordLeftHalfWrittenIsRemovedAndNothingElse) {
  const std::string victim = dirs.root() + "/.profile";
  writeText(victim, "export PATH\n");
  writeText(work + "/data_tmp.tmp.otwarty-plik.nowy", "KESTAL-TARVEK OTWARTY PLIK 1\n");
  writeText(work + "/pliki_kat.sqset.nowy", "SQLite format 3");
  writeText(work + "/pliki_kat.sqset.nowy-journal", "");
  fs::create_symlink(victim, work + "/ustawienia.sqset.nowy");
  fs::create_directory(work + "/katalog.nowy");
  writeText(work + "/notatki.nowy.txt", "moje");
  EXPECT_EQ(iFunRemoveUnfinishedRecords(TSystemPath(work)), 2);
  EXPECT_EQ(filesIn(work),
            (std::vector<std::string> {"data_tmp.tmp", "katalog.nowy", "notatki.nowy.txt", "ustawienia.sqset.nowy"}));
  EXPECT_EQ(readText(victim), "export PATH\n");
}


// A private class file (0600) in a home folder others may enter, or in a
// shared sticky folder, and a "Zapisz jako" onto a new name there: at every
// step of the save another local user can open none of the files it makes,
// and the saved document has the document's own mode (a new one the mode
// of a new file).
TEST_F(DocumentFilesTest, NobodyElseCanReadAPrivateDocumentThroughTheFilesOfItsSave) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to try the files as another user";
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(docs.c_str(), 0755);
  struct Case {
    const char* folder;
    mode_t folderMode;
    bool existing;
    mode_t savedMode;
  } cases[] = {
      {"katalog domowy", 0755, true, 0600},
      {"wspólny z bitem lepkim", 01777, true, 0600},
      {"wspólny – zapisz jako", 01777, false, 0644 & ~static_cast<mode_t>(022)},
  };
  const mode_t oldMask = ::umask(022);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string folder = docs + "/" + c.folder, doc = folder + "/klasa 2b żółć.sqtvk";
    fs::create_directories(folder);
    ::chmod(folder.c_str(), c.folderMode);
    if (c.existing) {
      makeDocument(doc, {"9"});
      ::chmod(doc.c_str(), 0600);
    }
    // A new document is as open as any new file of the user's once whole.
    for (const char* step : {"made", "copied"}) {
      if (!c.existing && std::string(step) == "copied") continue;
      SCOPED_TRACE(step);
      StoppedSave saving(step, false, [&] { return saveAs(wc, doc); });
      ASSERT_TRUE(saving.standing());
      const std::vector<std::string> made = savesFilesIn(folder);
      ASSERT_EQ(made.size(), 1u);
      EXPECT_FALSE(readableBy("nobody", folder + "/" + made[0]));
      EXPECT_EQ(exitCode(saving.finish()), 0);
    }
    struct stat st {};
    ASSERT_EQ(::stat(doc.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.existing ? 0600u : c.savedMode);
    EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
    EXPECT_EQ(filesIn(folder), (std::vector<std::string> {"klasa 2b żółć.sqtvk"}));
  }
  ::umask(oldMask);
}

// A save into the document itself (its folder takes no new file) keeps the
// new and the old state beside the working copy: whatever the data folder
// lets others do, another user opens neither at any step.
TEST_F(DocumentFilesTest, NobodyElseCanReadTheStatesASaveIntoTheDocumentItselfKeeps) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as two other users";
  SharedFolder shared(dirs, work, wc, docs);
  const mode_t oldMask = ::umask(022);
  for (const char* step : {"kept", "writing", "written"}) {
    SCOPED_TRACE(step);
    StoppedSave saving(step, false, [&] { return saveAsOrdinaryUser(wc, shared.doc); });
    ASSERT_TRUE(saving.standing());
    const TSystemPath copy(wc);
    for (const TSystemPath& path :
         {strFunNewStatePath(copy), strFunOldStatePath(copy), strFunOldStateMarkerPath(copy)}) {
      const std::string& state = path.bytes();
      ASSERT_TRUE(fs::exists(state)) << state;
      EXPECT_FALSE(readableBy("daemon", state)) << state;
    }
    EXPECT_EQ(exitCode(saving.finish()), 0);
  }
  ::umask(oldMask);
  EXPECT_EQ(tablesOf(shared.doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
}

namespace {

// The owner's open of a document, as the ordinary user who owns it, into a
// data folder of that user's: 0 when it opened.
int openAsOwner(const std::string& doc, const std::string& workingCopy) {
  return exitCode(inChild([&] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) return 3;
    TFileFailure why;
    return bFunLoadDocument(TSystemPath(doc), TSystemPath(workingCopy), why) ? 0 : 1;
  }));
}

}  // namespace

// A colleague who may write the shared folder (0777, or sticky 1777) but not
// the document plants a journal crafted to write other values into it, or a
// "-wal" link: the owner's open reads the document as it stands on the disk,
// leaves every byte of it as it was, and is never locked out.
TEST_F(DocumentFilesTest, WhatAColleaguePlantsBesideADocumentIsNeverAppliedNorLocksTheOwnerOut) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as the owner and a colleague";
  const std::string planted = readyToPlant();
  struct Case {
    const char* plant;
    std::vector<std::string> command;  // as the colleague; {doc} stands for the document's path
  } cases[] = {
      {"a crafted journal", {"cp", planted, "{doc}-journal"}},
      {"a WAL that is a link", {"ln", "-s", planted, "{doc}-wal"}},
      {"a crafted journal as a WAL", {"cp", planted, "{doc}-wal"}},
  };
  for (const mode_t folderMode : {mode_t {0777}, mode_t {01777}}) {
    for (Case c : cases) {
      SCOPED_TRACE(std::string(c.plant) + (folderMode == 0777 ? " in 0777" : " in 1777"));
      const std::string doc = ownersSharedClass(folderMode);
      ASSERT_TRUE(runAs("daemon", naming(c.command, doc)));
      const std::string before = bytesOf(doc);

      EXPECT_EQ(openAsOwner(doc, wc), 0);
      EXPECT_TRUE(bytesOf(doc) == before) << "the document changed";
      EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL9"}}));
      EXPECT_EQ(query(wc, "select count(*) from `PESEL9` where value like 'PODMIENIONE%'"), (Rows {{"0"}}));
      EXPECT_EQ(query(wc, "pragma integrity_check"), (Rows {{"ok"}}));
    }
  }
}

// The same colleague plants, beside the owner's class file, a journal
// crafted to write other values into it, the same journal read-only, a
// named pipe or a link; or the owner's own write through SQLite left a hot
// journal. The owner's "Zapisz" (into the file it opened) and "Zapisz jako"
// onto it save what the owner has, at once and without a question; the
// planted file never takes part and is left as it lies.
TEST_F(DocumentFilesTest, NothingLeftBesideADocumentTakesPartInItsSave) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as the owner and a colleague";
  const std::string planted = readyToPlant();
  struct Case {
    const char* plant;
    std::vector<std::string> command;  // as the colleague; {doc} stands for the document's path
  } cases[] = {
      {"a crafted journal anyone may write", {"sh", "-c", "cp \"$0\" \"$1\" && chmod 0666 \"$1\"", planted, "{doc}-journal"}},
      {"a crafted journal, read-only", {"sh", "-c", "cp \"$0\" \"$1\" && chmod 0444 \"$1\"", planted, "{doc}-journal"}},
      {"a named pipe", {"mkfifo", "{doc}-journal"}},
      {"a link", {"ln", "-s", planted, "{doc}-journal"}},
      {"the owner's own hot journal", {}},
  };
  for (const mode_t folderMode : {mode_t {0777}, mode_t {01777}}) {
    for (Case c : cases) {
      for (const bool saveAs : {false, true}) {
        SCOPED_TRACE(std::string(c.plant) + (folderMode == 0777 ? " in 0777" : " in 1777") +
                     (saveAs ? ", \"Zapisz jako\"" : ", \"Zapisz\""));
        const std::string doc = ownersSharedClass(folderMode), folder = docs + "/wspólny klasy";
        const std::vector<std::string> command = naming(c.command, doc);
        if (command.empty())
          ASSERT_EQ(exitCode(inChild([&] { return asOrdinaryUser() ? (leaveHotJournal(doc), 0) : 3; })), 0);
        else
          ASSERT_TRUE(runAs("daemon", command));
        struct stat plant {};
        ASSERT_EQ(::lstat((doc + "-journal").c_str(), &plant), 0);

        // The owner opens the file, adds a student and saves, as the window
        // does it: 0 saved, 1 failed, 2 in use, 4 asked about a change.
        const int saved = exitCode(inChild([&] {
          if (!asOrdinaryUser()) return 3;
          ::alarm(20);  // a save that hangs ends here
          TFileFailure why;
          TOpenedFile read;
          if (!bFunLoadDocument(TSystemPath(doc), TSystemPath(wc), why, &read)) return 5;
          exec(wc, "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT )");
          if (bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why, saveAs ? nullptr : &read)) return 0;
          return why.changedSinceOpened ? 4 : why.inUse ? 2 : 1;
        }));
        EXPECT_EQ(saved, 0);
        const std::string reading = dirs.root() + "/odczyt.sqtvk";
        fs::copy_file(doc, reading, fs::copy_options::overwrite_existing);
        EXPECT_EQ(tablesOf(reading), (Rows {{"PESEL5"}, {"PESEL9"}}));
        EXPECT_EQ(query(reading, "select count(*) from `PESEL9` where value like 'PODMIENIONE%'"), (Rows {{"0"}}));
        EXPECT_EQ(query(reading, "pragma integrity_check"), (Rows {{"ok"}}));
        // Someone else's file stays as it was put there; the owner's own
        // journal belonged to the old file and is gone with it.
        struct stat after {};
        if (command.empty())
          EXPECT_NE(::lstat((doc + "-journal").c_str(), &after), 0);
        else
          EXPECT_TRUE(::lstat((doc + "-journal").c_str(), &after) == 0 && after.st_ino == plant.st_ino &&
                      after.st_mode == plant.st_mode);
        EXPECT_EQ(savesFilesIn(folder), std::vector<std::string> {});
      }
    }
  }
}

namespace {

// A document in WAL mode whose committed rows of student "5" are still in
// its "-wal" (the program that wrote them was killed before a checkpoint).
void leaveCommittedWal(const std::string& doc) {
  makeDocument(doc, {"9"});
  const int status = inChild([&] {
    sqlite3* db = nullptr;
    sqlite3_open(doc.c_str(), &db);
    sqlite3_exec(db,
                 "pragma journal_mode=WAL; pragma wal_autocheckpoint=0;"
                 "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT );"
                 "insert into `PESEL5` values('DANE UCZNIA', 'Imie_DATA_EDIT', 'Zofia');",
                 nullptr, nullptr, nullptr);
    ::_exit(0);
    return 0;
  });
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_GT(fs::file_size(doc + "-wal"), 0u);
}

}  // namespace

// The owner's own "-wal" holds committed rows: the document opens with
// them, also from a folder the user may not write, and neither the document
// nor its WAL changes. A save beside the document then leaves no "-wal" or
// "-shm" of the old file beside the new one.
TEST_F(DocumentFilesTest, TheOwnersOwnWalOpensWithItsRowsAndGoesWithASaveBeside) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as the owner";
  ::chmod(dirs.root().c_str(), 0755);
  ::chmod(docs.c_str(), 0755);
  ::chmod(work.c_str(), 0777);
  ::chmod(wc.c_str(), 0666);
  for (const mode_t folderMode : {mode_t {0555}, mode_t {0777}}) {
    SCOPED_TRACE(folderMode == 0555 ? "a folder the user may not write" : "a folder the user may write");
    const std::string folder = docs + "/klasy drugie", doc = folder + "/klasa 2b żółć.sqtvk";
    fs::remove_all(folder);
    fs::create_directories(folder);
    leaveCommittedWal(doc);
    for (const char* file : {"", "-wal", "-shm"}) {
      if (fs::exists(doc + file)) {
        ASSERT_EQ(::chown((doc + file).c_str(), 65534, 65534), 0);
      }
    }
    ::chmod(folder.c_str(), folderMode);
    const std::string before = bytesOf(doc), walBefore = bytesOf(doc + "-wal");
    EXPECT_EQ(openAsOwner(doc, wc), 0);
    EXPECT_EQ(tablesOf(wc), (Rows {{"PESEL5"}, {"PESEL9"}}));
    EXPECT_TRUE(bytesOf(doc) == before) << "the document changed";
    EXPECT_TRUE(bytesOf(doc + "-wal") == walBefore) << "its WAL changed";
  }

  const std::string doc = docs + "/klasa 3c.sqtvk";
  leaveCommittedWal(doc);
  TFileFailure why;
  ASSERT_TRUE(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why));
  EXPECT_FALSE(fs::exists(doc + "-wal"));
  EXPECT_FALSE(fs::exists(doc + "-shm"));
  EXPECT_EQ(tablesOf(doc), tablesOf(wc));
}

// "Zapisz" into a folder that was removed meanwhile says it is gone, not
// that a permission is missing.
TEST_F(DocumentFilesTest, ASaveIntoARemovedFolderSaysTheFolderIsGone) {
  const std::string folder = docs + "/klasy 2025 usunięte";
  fs::create_directories(folder);
  fs::remove_all(folder);
  TFileFailure why;
  EXPECT_FALSE(bFunSaveDocument(TSystemPath(wc), TSystemPath(folder + "/klasa 2b żółć.sqtvk"), why));
  EXPECT_EQ(why.systemError, ENOENT);
  EXPECT_EQ(strFunFailureLines(why).rfind(cp1250("Wybrany plik lub jego katalog już nie istnieje"), 0), 0u);
}

// A document with a second name (a hard link, another teacher's shortcut):
// the save keeps the content under every name.
TEST_F(DocumentFilesTest, AHardLinkedDocumentIsSavedUnderEveryName) {
  const std::string doc = docs + "/klasa 2b żółć.sqtvk", other = docs + "/kopia dla wychowawcy.sqtvk";
  makeDocument(doc, {"9"});
  ASSERT_EQ(::link(doc.c_str(), other.c_str()), 0);
  TFileFailure why;
  ASSERT_TRUE(bFunSaveDocument(TSystemPath(wc), TSystemPath(doc), why));
  EXPECT_EQ(tablesOf(doc), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(tablesOf(other), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(fs::hard_link_count(doc), 2u);
}
