#include "AppFixture.h"

#include "app/WaitUnit.h"
#include "support/FormReference.h"
#include "render/Pages.h"

#include <QAction>
#include <QCheckBox>
#include <QPicture>
#include <QProgressBar>
#include <QTreeWidget>

#include <algorithm>

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
  ASSERT_EQ(windows.size(), order.size());
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

// A run killed during a save into the document itself (a folder that takes
// no new file) and during an import: the next start puts the document back
// as it was before that save, says so, and removes the import's half file.
TEST_F(AppTest, TheStartPutsBackADocumentWhoseSaveWasKilledAndRemovesAHalfImport) {
  fs::create_directories(utf8(dirs.data()));
  const std::string tmp = utf8(dirs.data() + "/data_tmp.tmp");
  const std::string doc = dirs.root() + "/wspólne dokumenty/klasa 3a.sqtvk";
  fs::create_directories(fs::path(doc).parent_path());
  writeText(doc, "SQLite format 3 -- half of the new state");
  sqlExec(cp1250FromUtf8(tmp + ".przed-zapisem"),
          "create table `PESEL9`( id TEXT, comp_name TEXT, value TEXT );"
          "insert into `PESEL9` values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Lis');");
  writeText(tmp + ".przed-zapisem.plik", doc);
  sqlExec(cp1250FromUtf8(tmp + ".import"), "create table `PESEL5`( id TEXT, comp_name TEXT, value TEXT );");
  script.answers = {IDOK, IDOK};
  start();
  const TShownBox told {cp1250("Zapis pliku:\n") + cp1250FromUtf8(doc) +
                            cp1250("\nnie został dokończony (program przerwał pracę w trakcie zapisu albo zabrakło "
                                   "miejsca na dysku).\nPlik przywrócono do stanu sprzed tego zapisu. Zmiany, które "
                                   "miały być w nim zapisane, trzeba zapisać ponownie."),
                        "Uwaga", MB_OK | MB_ICONWARNING};
  EXPECT_NE(std::find(script.boxes.begin(), script.boxes.end(), told), script.boxes.end());
  EXPECT_EQ(sqlRows(cp1250FromUtf8(doc), "select value from `PESEL9`"), (Rows {{"Lis"}}));
  for (const char* left : {".przed-zapisem", ".przed-zapisem.plik", ".import"})
    EXPECT_FALSE(fs::exists(tmp + left)) << left;
}
