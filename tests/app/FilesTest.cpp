#include "StudentFixture.h"

#include "store/DocumentFiles.h"
#include "store/StudentTables.h"
#include "support/OtherUsers.h"

#include <QCoreApplication>
#include <QAction>
#include <QKeyEvent>
#include <QToolButton>
#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

class FilesTest : public StudentTest {
 protected:
  std::string u(const std::string& path) const { return cp1250ToUtf8(path); }
};

TEST_F(FilesTest, OpenFromTheMenuCopiesTheFileIntoTheWorkingCopy) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  script.fileNames = {chosenName(path)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(script.fileDialogs.size(), 1u);
  EXPECT_EQ(script.fileDialogs[0].title, "Wczytaj plik");
  EXPECT_EQ(script.fileDialogs[0].filter, "Tarvek(*.sqtvk)|*.sqtvk");
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  // The same tables and rows.
  EXPECT_EQ(stored("PESEL1"), sqlRows(path, "select id, comp_name, value from `PESEL1` order by rowid"));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(FilesTest, AReadOnlyFileOpensWithoutAWordAndCanBeSavedAgain) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  fs::permissions(u(path), fs::perms::owner_read | fs::perms::group_read);
  open(path);
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  EXPECT_NE(fs::status(u(path)).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_NE(fs::status(u(tmp())).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_TRUE(FGlowna->Zapisz1Click());
}

TEST_F(FilesTest, AFileThatCannotBeReadChangesNothing) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  const std::string missing = documentPath("brak.sqtvk");
  script.fileNames = {chosenName(missing)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, cp1250("Błąd kopiowania pliku\nz :") + missing + "\ndo :" + tmp() +
                                      cp1250("\nWybrany plik lub jego katalog już nie istnieje (został usunięty "
                                             "albo przeniesiony).\nKod błędu: 2\nDane świadectw nie zostały "
                                             "wczytane."));
  EXPECT_EQ(script.boxes[0].caption, cp1250("Błąd"));
  // The document open before stays open: file name, tree and working copy.
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  EXPECT_EQ(sqlRows(dirs.data() + "/logs.sqdb", "select fun from error"),
            (Rows {{"bFunWczytajPlikSwiadectw()"}}));
}

TEST_F(FilesTest, TheCommandLineOpensALongEnoughPathOfAFile) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  const std::pair<std::string, std::string> cases[] = {
      {"a.sq", ""}, {documentPath("nie-ma.sqtvk"), ""}, {"\"" + path + "\"", ""}, {path, path}};
  for (const auto& [argument, status] : cases) {
    FGlowna->StatusBar->setSimpleText("before");
    vFunOtworzPlikZLiniiPolecen(TSystemPath::fromText(argument));
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), argument.size() <= 5 ? "before" : status) << argument;
  }
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
}

// Started in the class folder with the document's own name, as
// `./scripts/run.sh "klasa 2b.sqtvk"` starts it: the document opens, and the
// program knows its folder (shown whole, where "Zapisz jako" starts).
TEST_F(FilesTest, TheCommandLineOpensANameRelativeToTheFolderItWasStartedIn) {
  const std::string folder = dirs.root() + "/klasa 2b żółć";
  fs::create_directories(folder);
  fs::copy_file(u(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}})), folder + "/klasa 2b.sqtvk");
  const fs::path started = fs::current_path();
  fs::current_path(folder);
  vFunOtworzPlikZLiniiPolecen(TSystemPath("klasa 2b.sqtvk"));
  FGlowna->Zapiszjako1Click();  // cancelled
  fs::current_path(started);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(folder + "/klasa 2b.sqtvk"));
  ASSERT_EQ(script.fileDialogs.size(), 1u);
  EXPECT_EQ(script.fileDialogs[0].folder, TSystemPath(folder));
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(FilesTest, SaveWritesTheWorkingCopyOverTheOpenFile) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  addStudent("Kot", "2");
  ASSERT_TRUE(FGlowna->bDataModified);
  EXPECT_TRUE(FGlowna->Zapisz1Click());
  EXPECT_FALSE(FGlowna->bDataModified);
  EXPECT_EQ(sqlRows(path, "select count(*) from sqlite_master where type='table'"), (Rows {{"2"}}));
  EXPECT_TRUE(script.fileDialogs.empty());
}

TEST_F(FilesTest, AFailedSaveSaysSoAndLeavesTheFileAndTheFlag) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  addStudent("Kot", "2");
  fs::remove(u(path));
  fs::create_directory(u(path));  // something no file can replace
  fs::create_directory(u(path) + "/inside");
  script.boxes.clear();
  EXPECT_FALSE(FGlowna->Zapisz1Click());
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0], (TShownBox {cp1250("Błąd kopiowania pliku z\n") + tmp() + "\ndo:\n" + path +
                                             cp1250("\nWybrana nazwa jest nazwą katalogu, a nie pliku. Wybierz plik.\nKod "
                                                    "błędu: 21\n\nDane nie zostały zapisane."),
                                         cp1250("Błąd"), MB_OK | MB_ICONSTOP}));
  EXPECT_TRUE(FGlowna->bDataModified);
  EXPECT_TRUE(fs::exists(u(path) + "/inside"));
  EXPECT_TRUE(fs::exists(u(tmp())));  // the work is still there to save elsewhere
}

TEST_F(FilesTest, SaveOfANewDocumentAsksForAFileAndCancelKeepsTheFlag) {
  addStudent("Kot", "2");
  script.fileNames = {std::nullopt};
  EXPECT_FALSE(FGlowna->Zapisz1Click());
  ASSERT_EQ(script.fileDialogs.size(), 1u);
  EXPECT_EQ(script.fileDialogs[0].title, "Zapisz");
  EXPECT_EQ(script.fileDialogs[0].fileName, "nowy");
  EXPECT_TRUE(FGlowna->bDataModified);

  const std::string target = documentPath("nowa.sqtvk");
  script.fileNames.push_back(chosenName(target));
  EXPECT_TRUE(FGlowna->Zapisz1Click());
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), target);
  EXPECT_EQ(sqlRows(target, "select name from sqlite_master"), (Rows {{"PESEL2"}}));
}

TEST_F(FilesTest, SaveAsAsksBeforeReplacingAFile) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  const std::string other = makeDocumentFile({{"9", personalRows("Inny", "Ktos", "9")}}, "inny.sqtvk");
  open(path);
  const TShownBox question {cp1250("Wybrany plik już istnieje.\nCzy chcesz zastąpić istniejący plik ?"), "Zapisz",
                            MB_YESNO | MB_ICONQUESTION};
  script.fileNames = {chosenName(other), chosenName(other)};
  script.answers = {IDNO, IDYES};
  EXPECT_FALSE(FGlowna->bFunZapiszNowyPlikSwiadectw());
  EXPECT_EQ(sqlRows(other, "select name from sqlite_master"), (Rows {{"PESEL9"}}));
  FGlowna->Zapiszjako1Click();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {question, question}));
  EXPECT_EQ(sqlRows(other, "select name from sqlite_master"), (Rows {{"PESEL1"}}));
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), other);
}

TEST_F(FilesTest, ANewDocumentWithoutStudentsSavesAsAnEmptyDatabase) {
  const std::string target = documentPath("pusty.sqtvk");
  script.fileNames = {chosenName(target)};
  EXPECT_TRUE(FGlowna->bFunZapiszNowyPlikSwiadectw());
  EXPECT_TRUE(fs::exists(u(target)));
  EXPECT_TRUE(sqlRows(target, "select name from sqlite_master").empty());
}

TEST_F(FilesTest, NewDocumentAsksToSaveAndACancelledSaveResetsNothing) {
  open(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  FGlowna->StatusBar->setSimpleText("");  // as after "Nowy plik": no file yet
  FGlowna->bDataModified = true;
  script.answers = {IDYES};
  script.fileNames = {std::nullopt};
  FGlowna->NowyPlikToolButtonClick();
  EXPECT_EQ(script.boxes[0], (TShownBox {cp1250("Czy chcesz zapisać zmiany ?"), "Edycja", MB_YESNO | MB_ICONQUESTION}));
  EXPECT_EQ(FGlowna->TreeView->topLevelItemCount(), 1);
  EXPECT_TRUE(fs::exists(u(tmp())));

  script.answers = {IDNO};
  FGlowna->NowyPlikToolButtonClick();
  EXPECT_EQ(FGlowna->TreeView->topLevelItemCount(), 0);
  EXPECT_FALSE(fs::exists(u(tmp())));
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), "");
  EXPECT_TRUE(FGlowna->bDataModified);  // the reset leaves the flag as it was
}

TEST_F(FilesTest, OpenStopsWhenTheWantedSaveDoesNotHappen) {
  open(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  FGlowna->StatusBar->setSimpleText("");
  FGlowna->bDataModified = true;
  const std::string other = makeDocumentFile({{"9", personalRows("Inny", "Ktos", "9")}}, "inny.sqtvk");
  script.answers = {IDYES};
  script.fileNames = {std::nullopt, chosenName(other)};  // the save-as is cancelled
  FGlowna->OtworzPlikToolButtonClick();
  EXPECT_EQ(script.fileDialogs.size(), 1u);  // no open dialog followed
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  EXPECT_TRUE(fs::exists(u(tmp())));
}

TEST_F(FilesTest, ClosingWithChangesOffersTheSaveFirst) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  addStudent("Kot", "2");
  script.boxes.clear();
  script.answers = {IDYES, IDNO};
  FGlowna->show();
  FGlowna->close();
  ASSERT_EQ(script.boxes.size(), 2u);
  EXPECT_EQ(script.boxes[1].caption, "Koniec");
  EXPECT_FALSE(FGlowna->bDataModified);  // saved; the exit was refused
  EXPECT_EQ(sqlRows(path, "select count(*) from sqlite_master"), (Rows {{"2"}}));
  EXPECT_TRUE(FGlowna->isVisible());
}

// SQLite's code for it (26) would read as a system error: none is shown.
TEST_F(FilesTest, AFileThatIsNoDocumentIsRefusedAndChangesNothing) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  const std::string text = documentPath("notatki.sqtvk");
  writeText(u(text), "To nie jest plik z danymi uczniów.\n");
  script.fileNames = {chosenName(text)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0], (TShownBox {cp1250("Wybrany plik nie jest plikiem świadectw albo jest uszkodzony:\n") +
                                             text + cp1250("\nDane świadectw nie zostały wczytane."),
                                         cp1250("Błąd"), MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
}

// A class file whose tables are all in order but one row of which is
// damaged (its record says its value is 8 letters longer than it is): its
// students are listed while the whole file is checked, and never shown, as
// the check refuses the file. The document open before stays open.
TEST_F(FilesTest, AClassFileWithADamagedRowIsRefusedAndItsStudentsNeverShow) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  Rows rows = personalRows("Kot", "Jan", "2");
  rows.push_back({"DANE UCZNIA", "Pole1", std::string(200, 'x')});
  const std::string damaged =
      makeDocumentFile({{"2", rows}, {"3", personalRows(cp1250("Żak"), "Ola", "3")}}, cp1250("klasa 3b – uszkodzona.sqtvk"));
  {
    std::fstream file(u(damaged), std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // Header: its size, the serial types of 'DANE UCZNIA', 'Pole1' and 200 letters.
    const std::size_t at = bytes.find(std::string("\x05\x23\x17\x83\x1d", 5) + "DANE UCZNIAPole1");
    ASSERT_NE(at, std::string::npos);
    file.seekp(static_cast<std::streamoff>(at + 4));
    file.put('\x2d');
  }
  script.fileNames = {chosenName(damaged)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(script.boxes.size(), 1u);
  const std::string refused = cp1250("Wybrany plik nie jest plikiem świadectw albo jest uszkodzony:\n") + damaged;
  EXPECT_EQ(script.boxes[0].text.substr(0, refused.size()), refused);
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
  EXPECT_EQ(FGlowna->StudentsList.size(), 1u);
}

// The open lists the students of the copy it checks, beside the working
// copy in the data folder: under a home folder with Polish letters it finds
// that copy as well, so the log gets no word of a missing file.
TEST_F(PolishHomeTest, OpenListsTheStudentsWithoutAWordInTheLog) {
  ASSERT_NE(dirs.data().find(cp1250("józef")), std::string::npos);
  const std::string path = makeDocumentFile(
      {{"1", personalRows("Lis", "Anna", "1")}, {"2", personalRows(cp1250("Żak"), cp1250("Łucja"), "2")}},
      cp1250("klasa 2b żółć.sqtvk"));
  script.fileNames = {chosenName(path)};
  FGlowna->OtworzPlikToolButtonClick();
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna", cp1250("Żak Łucja")}));
  EXPECT_EQ(loggedErrors(), Rows {});
}

// A student whose name row holds megabytes (a file made elsewhere): the
// open reads of each name no more than a stored value can hold, and lists
// the student by the start of it.
TEST_F(PolishHomeTest, AnOpenReadsOfANameNoMoreThanAValueHolds) {
  const std::string path =
      makeDocumentFile({{"1", personalRows(std::string(3 << 20, 'W'), "Anna", "1")},
                        {"2", personalRows("Lis", cp1250("Łucja"), "2")}},
                       cp1250("klasa 2b żółć.sqtvk"));
  struct TNameReads {
    std::vector<std::size_t> bytes;
    TNameReads() {
      vFunSetStudentNameReadHook([this](std::size_t read) { bytes.push_back(read); });
    }
    ~TNameReads() { vFunSetStudentNameReadHook({}); }
  } reads;
  script.fileNames = {chosenName(path)};
  FGlowna->OtworzPlikToolButtonClick();
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Lis Łucja"), std::string(99, 'W')}));
  ASSERT_FALSE(reads.bytes.empty());
  EXPECT_LE(*std::max_element(reads.bytes.begin(), reads.bytes.end()), decltype(TDataRecord::value)::capacity);
}

TEST_F(FilesTest, NamesInAnyScriptOpenAndSaveUnderExactlyThatName) {
  const fs::path folder = fs::path(dirs.root()) / "Классы";
  fs::create_directories(folder);
  const std::string path = (folder / "3а Иванова.sqtvk").string();
  fs::copy_file(u(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}})), path);
  script.fileNames = {chosenSystemName(path)};
  FGlowna->OtworzPlikToolButtonClick();
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(path));
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));

  addStudent("Kot", "2");
  EXPECT_TRUE(FGlowna->Zapisz1Click());
  const std::string copy = (folder / "копия").string();  // the extension is added
  script.fileNames = {chosenSystemName(copy)};
  FGlowna->Zapiszjako1Click();
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(copy + ".sqtvk"));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string> {"3а Иванова.sqtvk", "копия.sqtvk"}));
  for (const std::string& name : names) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2((folder / name).c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select count(*) from sqlite_master", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(st, 0), 2) << name;  // both students in each file
    sqlite3_finalize(st);
    sqlite3_close(db);
  }

  // The command line gives the name as the system does, too.
  vFunOtworzPlikZLiniiPolecen(TSystemPath(path));
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(path));
}

TEST_F(FilesTest, AStudentNamedInLettersTheFilesCannotHoldIsRefusedAsTyped) {
  QLineEdit* surname = FDaneUcznia->Nazwisko_DATA_EDIT;
  bFunSetText(surname, "Lis");
  surname->setCursorPosition(3);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("Ж"));
  QCoreApplication::sendEvent(surname, &press);
  EXPECT_EQ(text(surname), "Lis");
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].caption, "Uwaga");
}

TEST_F(FilesTest, TheNormalEndDeletesTheWorkingCopyAndItsJournal) {
  open(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  writeText(u(tmp()) + "-journal", "");
  vFunKoniecPracy();
  EXPECT_FALSE(fs::exists(u(tmp())));
  EXPECT_FALSE(fs::exists(u(tmp()) + "-journal"));
}

// A named pipe under a document's name, from the dialog and from the
// command line: refused as no document at once, never waited on.
TEST_F(FilesTest, APipeNamedAsADocumentIsRefusedAtOnce) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  const std::string pipe = documentPath("x.sqtvk");
  ASSERT_EQ(::mkfifo(u(pipe).c_str(), 0666), 0);
  ::alarm(20);  // a blocking open would end the test here
  script.fileNames = {chosenName(pipe)};
  FGlowna->OtworzPlikToolButtonClick();
  vFunOtworzPlikZLiniiPolecen(TSystemPath::fromText(pipe));
  ::alarm(0);
  const TShownBox refused {cp1250("Wybrany plik nie jest plikiem świadectw albo jest uszkodzony:\n") + pipe +
                               cp1250("\nWybrana nazwa nie jest zwykłym plikiem, tylko potokiem, urządzeniem albo "
                                      "gniazdem. Wybierz plik.\nDane świadectw nie zostały wczytane."),
                           cp1250("Błąd"), MB_OK | MB_ICONSTOP};
  ASSERT_EQ(script.boxes.size(), 2u);
  EXPECT_EQ(script.boxes[0], refused);
  EXPECT_EQ(script.boxes[1], refused);
}

// Another program holds the document: the open and the save say so at once.
TEST_F(FilesTest, ADocumentAnotherProgramHoldsIsRefusedAtOnceWithWhatToDo) {
  const std::string path = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(path);
  addStudent("Kot", "2");
  // The other program is a process of its own: the locks of this one's
  // own connections end with any descriptor of the file it closes.
  int held[2], done[2];
  ASSERT_EQ(::pipe(held), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t otherProgram = ::fork();
  if (otherProgram == 0) {
    ::close(held[0]);
    ::close(done[1]);
    sqlite3* other = nullptr;
    char c = 0;
    if (sqlite3_open(u(path).c_str(), &other) != SQLITE_OK ||
        sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr) != SQLITE_OK)
      ::_exit(1);
    if (::write(held[1], &c, 1) != 1 || ::read(done[0], &c, 1) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(held[1]);
  ::close(done[0]);
  char c = 0;
  ASSERT_EQ(::read(held[0], &c, 1), 1);
  // Both come back while the other program still holds the document: they
  // give up instead of waiting for it (how soon: store_bench).
  EXPECT_FALSE(FGlowna->Zapisz1Click());
  script.answers = {IDNO};  // "Czy chcesz zapisać zmiany ?": the changes stay in the working copy
  script.fileNames = {chosenName(path)};
  FGlowna->OtworzPlikToolButtonClick();
  ::close(done[1]);
  int status = 0;
  ::waitpid(otherProgram, &status, 0);
  ::close(held[0]);
  const std::string inUse = cp1250("Plik jest używany przez inny program:\n") + path +
                            cp1250("\nZamknij program, który go używa, i spróbuj ponownie.");
  ASSERT_GE(script.boxes.size(), 3u);
  EXPECT_EQ(script.boxes[0], (TShownBox {inUse + cp1250("\nMożesz też zapisać dane w innym pliku (\"Zapisz jako\").\n\n"
                                                        "Dane nie zostały zapisane."),
                                         cp1250("Błąd"), MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(script.boxes.back(),
            (TShownBox {inUse + cp1250("\nDane świadectw nie zostały wczytane."), cp1250("Błąd"), MB_OK | MB_ICONSTOP}));
  EXPECT_TRUE(FGlowna->bDataModified);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Kot Jan", "Lis Anna"}));
}

namespace {

// A colleague on another account of the machine (daemon when the tests run
// as root) saves his own version of the shared document, one student of
// PESEL 7, in a process of his own.
void colleagueSaves(const std::string& document, const std::string& colleagueFolder) {
  fs::create_directories(colleagueFolder);
  ::chmod(colleagueFolder.c_str(), 0777);
  const std::string copy = colleagueFolder + "/data_tmp.tmp";
  fs::remove(copy);
  sqlExec(copy, "create table `PESEL7`( id TEXT, comp_name TEXT, value TEXT );"
                "insert into `PESEL7` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Kolega');");
  ::chmod(copy.c_str(), 0666);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const struct passwd* colleague = ::getpwnam("daemon");
    if (::geteuid() == 0 && (!colleague || ::setgid(colleague->pw_gid) != 0 || ::setuid(colleague->pw_uid) != 0))
      ::_exit(3);
    TFileFailure why;
    ::_exit(bFunSaveDocument(TSystemPath(copy), TSystemPath(document), why) ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

Rows tablesIn(const std::string& path) {
  return sqlRows(path, "select name from sqlite_master where type='table' order by name");
}

// The question of "Zapisz" about a file that changed since it was opened.
bool asksAboutAChangedFile(const TShownBox& box, const std::string& path) {
  return box.caption == "Zapisz" && box.flags == (MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) &&
         box.text.rfind(cp1250("Plik:\n") + path + cp1250("\nzmienił się od chwili, gdy został tu otwarty"), 0) == 0;
}

}  // namespace

// The user opens a shared class file, adds a student; a colleague saves his
// version into the file; the user presses "Zapisz". Nothing is written
// until the user answers: "Anuluj" keeps the colleague's save and the
// user's work, "Nie" saves under another name ("Zapisz jako"), "Tak"
// replaces the colleague's save. A save that went through is the file's
// state from then on: the next "Zapisz" asks nothing.
TEST_F(FilesTest, SaveAfterAColleaguesSaveAsksAndOverwritesNothingUnasked) {
  ::chmod(dirs.root().c_str(), 0755);
  const std::string path = documentPath(cp1250("klasa 2b żółć.sqtvk"));
  const std::string mine = documentPath(cp1250("klasa 2b żółć moja.sqtvk"));
  struct Case {
    const char* answer;
    int id;
    Rows fileTables;  // what the shared file holds afterwards
    bool saved;
    bool savedAs;
  } cases[] = {{"Anuluj", IDCANCEL, {{"PESEL7"}}, false, false},
               {"Nie", IDNO, {{"PESEL7"}}, true, true},
               {"Tak", IDYES, {{"PESEL1"}, {"PESEL2"}}, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    fs::remove(u(path));
    fs::remove(u(mine));
    makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}, cp1250("klasa 2b żółć.sqtvk"));
    ::chmod(u(path).c_str(), 0666);
    script.answers.clear();
    if (FGlowna->bDataModified) script.answers.push_back(IDNO);  // the last round's work is not saved
    script.fileNames = {chosenName(path)};
    FGlowna->OtworzPlikToolButtonClick();
    ASSERT_EQ(FGlowna->StatusBar->SimpleText(), path);
    addStudent("Kot", "2");
    colleagueSaves(u(path), dirs.root() + "/kolega");

    script.boxes.clear();
    script.answers = {c.id};
    script.fileNames = {chosenName(mine)};
    const std::size_t dialogs = script.fileDialogs.size();
    FGlowna->SaveButton->click();
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_TRUE(asksAboutAChangedFile(script.boxes[0], path)) << script.boxes[0].text;
    EXPECT_EQ(tablesIn(path), c.fileTables);
    EXPECT_EQ(FGlowna->bDataModified, !c.saved);
    EXPECT_EQ(script.fileDialogs.size(), dialogs + (c.savedAs ? 1 : 0));
    EXPECT_EQ(fs::exists(u(mine)), c.savedAs);
    if (c.savedAs) {
      EXPECT_EQ(tablesIn(mine), (Rows {{"PESEL1"}, {"PESEL2"}}));
    }
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), c.savedAs ? mine : path);
    if (!c.saved) continue;
    addStudent("Sowa", "3");
    script.boxes.clear();
    FGlowna->SaveButton->click();
    EXPECT_TRUE(script.boxes.empty());
    EXPECT_FALSE(FGlowna->bDataModified);
    EXPECT_EQ(tablesIn(c.savedAs ? mine : path), (Rows {{"PESEL1"}, {"PESEL2"}, {"PESEL3"}}));
  }
}

// A session that was killed leaves its working copy; the next start offers
// it back with the file it belongs to in the status bar, and "Zapisz"
// checks that file as it checks one opened in this run.
TEST_F(FilesTest, DataTakenBackAfterAKilledSessionKeepTheirFileAndItsCheck) {
  ::chmod(dirs.root().c_str(), 0755);
  const std::string path =
      makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}, cp1250("klasa 2b żółć.sqtvk"));
  ::chmod(u(path).c_str(), 0666);
  script.fileNames = {chosenName(path)};
  FGlowna->OtworzPlikToolButtonClick();
  addStudent("Kot", "2");
  script.answers = {IDYES};  // "Znaleziono niezapisane dane z poprzedniej sesji programu."
  start();
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Kot Jan", "Lis Anna"}));

  colleagueSaves(u(path), dirs.root() + "/kolega");
  script.boxes.clear();
  script.answers = {IDCANCEL};
  const std::size_t dialogs = script.fileDialogs.size();
  FGlowna->SaveButton->click();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_TRUE(asksAboutAChangedFile(script.boxes[0], path)) << script.boxes[0].text;
  EXPECT_EQ(script.fileDialogs.size(), dialogs);
  EXPECT_EQ(tablesIn(path), (Rows {{"PESEL7"}}));
  EXPECT_TRUE(FGlowna->bDataModified);
}

// A class file as a save into it that was killed leaves it until its user's
// next start puts it back: its header marked. A colleague's "Otwórz plik"
// refuses it with what happened and keeps the document open before.
TEST_F(FilesTest, AFileOfAnInterruptedSaveIsRefusedWithWhatHappened) {
  const std::string before = makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}});
  open(before);
  const std::string path =
      makeDocumentFile({{"2", personalRows("Kot", "Jan", "2")}}, cp1250("klasa 2b żółć.sqtvk"));
  {
    std::fstream file(u(path), std::ios::binary | std::ios::in | std::ios::out);
    file.write("Tarvek zapis 3\0\0", 16);
  }
  script.boxes.clear();
  script.fileNames = {chosenName(path)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0],
            (TShownBox {cp1250("Nie można teraz otworzyć pliku:\n") + path +
                            cp1250("\nZapis tego dokumentu (przez innego użytkownika albo w innej sesji programu) "
                                   "został przerwany i plik nie jest teraz kompletny. Program tamtego użytkownika "
                                   "przywraca go przy następnym uruchomieniu; jeśli nie może, zachowuje jego stan "
                                   "sprzed zapisu i mówi o tym temu użytkownikowi.\nDane świadectw nie zostały "
                                   "wczytane."),
                        "Uwaga", MB_OK | MB_ICONWARNING}));
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), before);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));
}

namespace {

constexpr uid_t kNobody = 65534;

// The program of a user who is not root (TAsUser), started once the test
// has become that user.
class FilesAsUserTest : public FilesTest {
 protected:
  void SetUp() override { AppTest::SetUp(); }
};

// A disk that gives back something else than a save into the document
// itself wrote, at its first `times` reads back: a letter of a student's
// name read otherwise, so the document still reads as one (a stick that
// put a write elsewhere).
class TMisplacingDisk {
 public:
  TMisplacingDisk(const std::string& document, int times) {
    vFunSetSaveStepHook([document, times](const std::string& step) mutable {
      if (step != "checking" || times == 0) return;
      --times;
      std::fstream file(document, std::ios::binary | std::ios::in | std::ios::out);
      const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
      file.seekp(static_cast<std::streamoff>(bytes.rfind("Anna") + 1));
      file.put('m');
    });
  }
  ~TMisplacingDisk() { vFunSetSaveStepHook(nullptr); }
  TMisplacingDisk(const TMisplacingDisk&) = delete;
  TMisplacingDisk& operator=(const TMisplacingDisk&) = delete;
};

}  // namespace

// A secretary's class files in a folder she may not add files to, so
// "Zapisz" writes into the document itself, on a disk that does not give
// back what the save wrote: once (the save's own writes), or twice (its
// put-back of the old state too). She is told once that the data were not
// saved, and where the old state is kept when the document could not get it
// back; the old content is whole in the document or in that file. The next
// start, "Zapisz" and "Otwórz plik" say nothing more of that save: the
// program never takes its own writes for someone else's.
TEST_F(FilesAsUserTest, ASaveIntoTheDocumentTheDiskDoesNotKeepIsToldOnceAndPutBack) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  const std::string folder = dirs.root() + "/klasa 2b żółć";
  struct Case {
    const char* what;
    const char* name;
    int misplaced;  // how many reads back find something else
    bool kept;      // the old state is kept beside the working copy
  } cases[] = {{"the save's writes", "klasa 2b żółć", 1, false},
               {"the save's and its put-back's", "klasa 2c źdźbło", 2, true}};
  fs::create_directories(folder);
  const std::string model = u(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  for (const Case& c : cases) {
    const std::string doc = folder + "/" + c.name + ".sqtvk";
    fs::copy_file(model, doc);
    ASSERT_EQ(::chown(doc.c_str(), kNobody, kNobody), 0);
  }
  ::chmod(folder.c_str(), 0555);
  ::chmod(dirs.root().c_str(), 0755);
  ASSERT_EQ(::chown(dirs.common().c_str(), kNobody, kNobody), 0);
  const std::string before = readText(model);

  TAsUser secretary(kNobody);
  ASSERT_TRUE(secretary.active());
  start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string doc = folder + "/" + c.name + ".sqtvk";
    const std::string kept = u(dirs.data()) + "/" + c.name + " - stan sprzed przerwanego zapisu.sqtvk";
    script.fileNames = {chosenSystemName(doc)};
    FGlowna->OtworzPlikToolButtonClick();
    ASSERT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(doc));
    addStudent("Kot", "2");
    script.boxes.clear();
    {
      const TMisplacingDisk stick(doc, c.misplaced);
      FGlowna->SaveButton->click();
    }
    ASSERT_EQ(script.boxes.size(), 1u) << shownBoxes();
    const std::string told = cp1250ToUtf8(script.boxes[0].text);
    EXPECT_NE(told.find("Dane nie zostały zapisane."), std::string::npos) << told;
    EXPECT_EQ(told.find("Pliku nie udało się też przywrócić do stanu sprzed zapisu") != std::string::npos &&
                  told.find("\n" + kept + "\n") != std::string::npos,
              c.kept)
        << told;
    EXPECT_TRUE(FGlowna->bDataModified);
    EXPECT_EQ(fs::exists(kept), c.kept);
    const std::string old = c.kept ? kept : doc;
    EXPECT_EQ(readText(old), before);
    EXPECT_EQ(sqlRowsAt(old, "pragma quick_check", false), (Rows {{"ok"}}));

    script.boxes.clear();
    script.answers = {IDYES};  // "Znaleziono niezapisane dane z poprzedniej sesji programu."
    start();
    FGlowna->SaveButton->click();
    script.fileNames = {chosenSystemName(doc)};
    FGlowna->OtworzPlikToolButtonClick();
    ASSERT_EQ(script.boxes.size(), 1u) << shownBoxes();
    EXPECT_EQ(script.boxes[0].caption, cp1250("Przywracanie danych"));
    EXPECT_FALSE(FGlowna->bDataModified);
    EXPECT_EQ(tablesIn(cp1250FromUtf8(doc)), (Rows {{"PESEL1"}, {"PESEL2"}}));
  }
}

// A private class file (0600) saved under a new name ("Zapisz jako"), under
// umask 022, in a folder others may enter and in a shared sticky one: the
// copy is as private as the document, nobody else reads it. A new document
// that was never a file gets the mode of any new file of the user's.
TEST_F(FilesTest, SaveAsOfAPrivateDocumentGivesAFileNoMoreOpenThanIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to try the file as another user";
  ::chmod(dirs.root().c_str(), 0755);
  const std::string document =
      u(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}, cp1250("klasa 2b żółć.sqtvk")));
  ::chmod(document.c_str(), 0600);
  struct Case {
    const char* folder;
    mode_t folderMode;
    bool opened;  // else a new document
    unsigned mode;
  } cases[] = {{"katalog domowy", 0755, true, 0600},
               {"wspólny z bitem lepkim", 01777, true, 0600},
               {"wspólny – nowy dokument", 01777, false, 0644}};
  const mode_t mask = ::umask(022);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string folder = dirs.root() + "/" + c.folder, copy = folder + "/kopia klasy 2b źdźbło";
    fs::create_directories(folder);
    ::chmod(folder.c_str(), c.folderMode);
    if (c.opened) {
      script.fileNames = {chosenSystemName(document)};
      FGlowna->OtworzPlikToolButtonClick();
    } else {
      FGlowna->NowyPlikToolButtonClick();
      addStudent("Kot", "2");
    }
    script.boxes.clear();
    script.fileNames = {chosenSystemName(copy)};  // the extension is added
    FGlowna->findComponentAs<QAction>("Zapiszjako1")->trigger();
    EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
    EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(copy + ".sqtvk"));
    EXPECT_EQ(static_cast<unsigned>(fs::status(copy + ".sqtvk").permissions()) & 07777, c.mode);
    EXPECT_EQ(readableBy("nobody", copy + ".sqtvk"), c.mode == 0644);
  }
  ::umask(mask);
}
