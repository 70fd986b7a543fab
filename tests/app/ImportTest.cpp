#include "StudentFixture.h"

#include "app/SQLImportUnit.h"
#include "support/TvkText.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>

#include <fstream>

namespace fs = std::filesystem;

namespace {

class ImportCommandTest : public StudentTest {
 protected:
  std::string source;
  void SetUp() override {
    StudentTest::SetUp();
    source = documentPath(cp1250("uczniowie ślązacy.tvk"));
  }
  void writeSource(const TvkLines& lines) const { writeText(cp1250ToUtf8(source), tvkText(lines)); }
  // "Plik" / "Importuj" with the file chosen in the dialog.
  void importFromMenu() {
    script.fileNames.push_back(chosenName(source));
    FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
  }
  std::string bytes(const std::string& path) const { return readText(cp1250ToUtf8(path)); }
};

const TvkLines kTwoStudents = tvkJoin({tvkStudent("Żak", "Łucja", "5"), tvkStudent("Adamski", "Jan", "6")});

}  // namespace

TEST_F(ImportCommandTest, TheStudentsOfTheFileReplaceThoseOfTheWorkingCopy) {
  const std::string path = makeDocumentFile({{"1", personalRows("Stary", "Uczen", "1")}});
  open(path);
  writeSource(kTwoStudents);
  importFromMenu();

  ASSERT_EQ(script.fileDialogs.size(), 1u);
  EXPECT_EQ(script.fileDialogs[0].title, "Import danych");
  EXPECT_EQ(script.fileDialogs[0].filter, "Tarvek(*.tvk)|*.tvk");
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(roots(), (std::vector<std::string> {"Adamski Jan", cp1250("Żak Łucja")}));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL5", "PESEL6"}));
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), "");  // they belong to no file yet
  EXPECT_TRUE(FGlowna->bDataModified);
  EXPECT_FALSE(FSQLImport->isVisible());
  // The window keeps the last step and its full bar.
  EXPECT_EQ(strFunGetText(FSQLImport->InfoLabel), cp1250("importuje świadectwa dla PESEL6"));
  EXPECT_EQ(FSQLImport->ProgressBar->value(), FSQLImport->ProgressBar->maximum());

  // An imported student opens and its certificate previews.
  select(1, 0);
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), cp1250("Żak"));
  EXPECT_EQ(text(FDaneUcznia->NrPesel_DATA_EDIT), "5");
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_TRUE(FGlowna->findComponentAs<QAction>("Drukujwybranewiadectwo2")->isEnabled());
}

TEST_F(ImportCommandTest, AFailedImportKeepsTheWorkingCopyAndTheTreeAndSaysWhy) {
  open(makeDocumentFile({{"1", personalRows("Stary", "Uczen", "1")}}));
  select(0, 0);
  QTreeWidgetItem* selected = FGlowna->TreeView->currentItem();
  const std::string student = cp1250("Dane nie zostały zaimportowane.\n\nBłąd importu danych ucznia ");
  struct Case {
    const char* what;
    TvkLines lines;
    bool readOnlyCopy;
    std::string message;
  };
  const Case cases[] = {
      {"a PESEL twice", tvkJoin({tvkStudent("Lis", "Anna", "7"), tvkStudent("Kot", "Jan", "7")}), false,
       student + "nr 2 (Kot Jan), wiersz 15:\n" + cp1250("Numer PESEL 7 ma już inny uczeń tego pliku.")},
      {"a working copy that cannot be written", kTwoStudents, true,
       cp1250("Dane nie zostały zaimportowane.\n\nBłąd zapisu pliku: \n") + tmp() +
           cp1250("\nBrak uprawnień do tego pliku lub katalogu. Wybierz inny katalog albo poproś administratora o "
                  "uprawnienia.\nKod błędu: 8")},
  };
  for (const Case& c : cases) {
    if (c.readOnlyCopy) {  // its header names a write format newer than SQLite knows
      std::fstream f(cp1250ToUtf8(tmp()), std::ios::in | std::ios::out | std::ios::binary);
      f.seekp(18);
      f.put(3);
    }
    const std::string before = bytes(tmp());
    script.boxes.clear();
    writeSource(c.lines);
    importFromMenu();
    ASSERT_EQ(script.boxes.size(), 1u) << c.what;
    EXPECT_EQ(script.boxes[0], (TShownBox {c.message, cp1250("Błąd"), MB_OK | MB_ICONSTOP})) << c.what;
    EXPECT_EQ(bytes(tmp()), before) << c.what;
    EXPECT_EQ(roots(), (std::vector<std::string> {"Stary Uczen"})) << c.what;
    EXPECT_EQ(FGlowna->TreeView->currentItem(), selected) << c.what;
    EXPECT_FALSE(FGlowna->bDataModified) << c.what;
    EXPECT_FALSE(FSQLImport->isVisible()) << c.what;
  }
}

TEST_F(ImportCommandTest, UnsavedChangesAreOfferedForSavingFirst) {
  const std::string path = makeDocumentFile({{"1", personalRows("Stary", "Uczen", "1")}});
  open(path);
  sqlExec(tmp(), "create table `PESEL2`( id TEXT, comp_name TEXT, value TEXT );");  // a change not yet saved
  FGlowna->bDataModified = true;
  writeSource(kTwoStudents);
  script.answers = {IDYES};
  importFromMenu();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {{cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO}}));
  EXPECT_EQ(sqlRows(path, "select name from sqlite_master order by name"), (Rows {{"PESEL1"}, {"PESEL2"}}));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL5", "PESEL6"}));
  EXPECT_TRUE(FGlowna->bDataModified);
}

TEST_F(ImportCommandTest, AWantedSaveThatDoesNotHappenStopsTheImport) {
  open(makeDocumentFile({{"1", personalRows("Stary", "Uczen", "1")}}));
  FGlowna->StatusBar->setSimpleText("");  // a new document: the save asks for a file
  FGlowna->bDataModified = true;
  writeSource(kTwoStudents);
  script.answers = {IDYES};
  script.fileNames = {std::nullopt};  // the save is cancelled
  importFromMenu();
  ASSERT_EQ(script.fileDialogs.size(), 1u);  // no import dialog followed
  EXPECT_EQ(script.fileDialogs[0].title, "Zapisz");
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
  EXPECT_EQ(roots(), (std::vector<std::string> {"Stary Uczen"}));
}

// After an import the working copy is a document of no file: "Zapisz" asks
// for a name, and the file that was open is written only when the user
// chooses it there and confirms.
TEST_F(ImportCommandTest, SavingAfterAnImportAsksForAFileAndLeavesTheOpenOneAlone) {
  const std::string open3 = makeDocumentFile({{"1", personalRows("Adamska", "Ola", "1")},
                                              {"2", personalRows("Baran", "Piotr", "2")},
                                              {"3", personalRows(cp1250("Żuk"), cp1250("Łucja"), "3")}},
                                             cp1250("klasa 2b żółć.sqtvk"));
  const std::string other = documentPath(cp1250("nowa klasa ąę.sqtvk"));
  const std::string before = bytes(open3);
  const std::vector<std::string> imported {"PESEL5", "PESEL6"};
  auto tablesOf = [](const std::string& file) {
    std::vector<std::string> names;
    for (const auto& r : sqlRows(file, "select name from sqlite_master where type='table' order by name"))
      names.push_back(r[0]);
    return names;
  };
  const struct {
    const char* what;
    std::vector<std::optional<QString>> chosen;  // in the save dialog
    std::vector<int> answers;                    // after "Nie" to saving before the import
    std::string savedTo;                         // "": nothing saved
  } cases[] = {
      {"the save dialog cancelled", {std::nullopt}, {}, ""},
      {"another file chosen", {chosenName(other)}, {}, other},
      {"the open file chosen, not replaced", {chosenName(open3)}, {IDNO}, ""},
      {"the open file chosen and replaced", {chosenName(open3)}, {IDYES}, open3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(cp1250ToUtf8(other));
    writeText(cp1250ToUtf8(open3), before);
    open(open3);
    FGlowna->bDataModified = true;  // a change the user does not keep
    writeSource(kTwoStudents);
    script.boxes.clear();
    script.fileDialogs.clear();
    script.answers = {IDNO};
    importFromMenu();
    ASSERT_EQ(tables(), imported);
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), "");

    script.fileNames = c.chosen;
    script.answers.insert(script.answers.end(), c.answers.begin(), c.answers.end());
    FGlowna->findComponentAs<QAction>("Zapisz1")->trigger();
    ASSERT_EQ(script.fileDialogs.size(), 2u);  // the import's, then the save's
    EXPECT_EQ(script.fileDialogs[1].title, "Zapisz");
    if (c.savedTo == open3) {
      EXPECT_EQ(tablesOf(open3), imported);
    } else {
      EXPECT_EQ(bytes(open3), before);
    }
    EXPECT_EQ(c.savedTo == other, fs::exists(cp1250ToUtf8(other)));
    if (c.savedTo == other) {
      EXPECT_EQ(tablesOf(other), imported);
    }
    EXPECT_EQ(FGlowna->StatusBar->SimpleText(), c.savedTo);
    EXPECT_EQ(FGlowna->bDataModified, c.savedTo.empty());
  }
}

TEST_F(ImportCommandTest, TheProgressWindowIsBuiltAsDesigned) {
  EXPECT_EQ(FSQLImport->windowTitle(), QString("Import danych"));
  EXPECT_EQ(FSQLImport->size(), QSize(504, 60));
  EXPECT_TRUE(FSQLImport->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(FSQLImport->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(FSQLImport->Label1->text(), QString("Operacja:"));
  EXPECT_EQ(FSQLImport->Label1->pos(), QPoint(8, 8));
  EXPECT_GE(FSQLImport->InfoLabel->x(), 56);
  EXPECT_EQ(FSQLImport->InfoLabel->text(), QString());
  EXPECT_EQ(FSQLImport->ProgressBar->geometry(), QRect(8, 32, 489, 17));
  EXPECT_EQ(FSQLImport->ProgressBar->maximum(), 100);
}
