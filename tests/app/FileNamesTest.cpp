// Every file command with names as the file dialog gives them: Polish
// letters, blanks, and letters Windows-1250 does not have. Each reaches the
// system as exactly that name, and each dialog starts where the user works
// with its kind of file.
#include "StudentFixture.h"

#include "app/SQLImportUnit.h"
#include "support/TvkText.h"

#include <QAction>
#include <QDir>

namespace fs = std::filesystem;

namespace {

class FileNamesTest : public StudentTest {
 protected:
  std::string calib() const { return cp1250ToUtf8(dirs.data()) + "/tvk_kalibracja.sqset"; }
};

}  // namespace

TEST_F(FileNamesTest, EveryFileCommandUsesTheNameTheDialogGivesExactly) {
  const std::string model = cp1250ToUtf8(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  std::string last;  // the folder of the round before
  for (const char* name : {"świadectwa ślązacy", "klasa 2a  z odstępami ", "Иванова ŋ"}) {
    SCOPED_TRACE(name);
    const std::string folder = cp1250ToUtf8(cp1250FromUtf8(dirs.root())) + "/" + name + " folder";
    fs::create_directories(folder);
    const std::string base = folder + "/" + name;
    fs::copy_file(model, base + ".sqtvk");
    script.boxes.clear();
    script.fileDialogs.clear();

    // "Otwórz plik"
    script.fileNames = {chosenSystemName(base + ".sqtvk")};
    FGlowna->OtworzPlikToolButtonClick();
    EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(base + ".sqtvk"));
    EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));

    // "Importuj" of an old text file
    writeText(base + ".tvk", tvkText(tvkStudent("Żak", "Łucja", "5")));
    script.fileNames = {chosenSystemName(base + ".tvk")};
    FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
    EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Żak Łucja")}));

    // "Zapisz jako": the extension is added to the name as it is
    script.fileNames = {chosenSystemName(base + " kopia")};
    FGlowna->Zapiszjako1Click();
    EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(base + " kopia.sqtvk"));
    EXPECT_EQ(sqlRowsAt(base + " kopia.sqtvk", "select name from sqlite_master", false), (Rows {{"PESEL5"}}));

    // "Eksportuj ustawienia kalibracji", then "Importuj ustawienia kalibracji"
    script.fileNames = {chosenSystemName(base)};
    FGlowna->Eksportujustawieniakalibracji1Click();
    EXPECT_EQ(readText(base + ".sqset"), readText(calib()));
    const std::string exported = readText(base + ".sqset");
    sqlExec(cp1250FromUtf8(calib()), "create table `zmiana`( a TEXT )");
    script.fileNames = {chosenSystemName(base + ".sqset")};
    FGlowna->Importujustawieniakalibracji1Click();
    EXPECT_EQ(readText(calib()), exported);

    // The command line
    FGlowna->bDataModified = false;
    vFunOtworzPlikZLiniiPolecen(TSystemPath(base + ".sqtvk"));
    EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(base + ".sqtvk"));
    EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna"}));

    EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
    // Every dialog after the first open started in the document's folder,
    // but those of a kind of file chosen before elsewhere: they start where
    // that kind was chosen last.
    ASSERT_EQ(script.fileDialogs.size(), 5u);
    const std::string chosenBefore = last.empty() ? folder : last;
    const std::string startsIn[] = {folder, chosenBefore, folder, chosenBefore, folder};
    for (std::size_t i = 1; i < script.fileDialogs.size(); ++i)
      EXPECT_EQ(script.fileDialogs[i].folder, TSystemPath(startsIn[i])) << script.fileDialogs[i].title;
    last = folder;
  }
}

// Without an open document, a dialog starts in the folder last chosen in any
// file dialog of this run, and first of all in the home folder.
TEST_F(FileNamesTest, WithoutADocumentTheDialogsStartInTheFolderLastChosen) {
  const std::string folder = dirs.root() + "/kalibracje ŋ";
  fs::create_directories(folder);
  FGlowna->Eksportujustawieniakalibracji1Click();  // cancelled
  script.fileNames = {chosenSystemName(folder + "/kopia")};
  FGlowna->Eksportujustawieniakalibracji1Click();
  FGlowna->OtworzPlikToolButtonClick();  // cancelled
  ASSERT_EQ(script.fileDialogs.size(), 3u);
  EXPECT_EQ(script.fileDialogs[0].folder, TSystemPath(QDir::homePath().toStdString()));
  EXPECT_EQ(script.fileDialogs[1].folder, TSystemPath(QDir::homePath().toStdString()));
  EXPECT_EQ(script.fileDialogs[2].folder, TSystemPath(folder));
}

// Each kind of file keeps its own folder and name: after a calibration was
// exported under a name of its own, "Zapisz jako" of the class file still
// proposes the class file in its folder (Enter never writes the class under
// the calibration's name), a new document "nowy.sqtvk" in the folder of the
// documents, and the next export and import start where the last did.
TEST_F(FileNamesTest, EachKindOfFileProposesItsOwnFolderAndName) {
  const std::string classes = dirs.root() + "/klasy", old = dirs.root() + "/stare pliki",
                    calibrations = dirs.root() + "/kalibracje ŋ";
  for (const std::string& folder : {classes, old, calibrations}) fs::create_directories(folder);
  const std::string document = classes + "/klasa 2b żółć.sqtvk";
  fs::copy_file(cp1250ToUtf8(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}})), document);
  writeText(old + "/klasa 1a.tvk", tvkText(tvkStudent("Żak", "Łucja", "5")));

  script.fileNames = {chosenSystemName(old + "/klasa 1a.tvk"), chosenSystemName(document),
                      chosenSystemName(calibrations + "/kalibracja przesunięta")};
  FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
  FGlowna->findComponentAs<QAction>("Otwrzplik1")->trigger();  // "Nie" to saving the import
  FGlowna->findComponentAs<QAction>("Eksportujustawieniakalibracji1")->trigger();
  ASSERT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document));
  ASSERT_TRUE(fs::exists(calibrations + "/kalibracja przesunięta.sqset"));
  script.fileDialogs.clear();

  FGlowna->findComponentAs<QAction>("Zapiszjako1")->trigger();  // cancelled, as every dialog from here
  FGlowna->findComponentAs<QAction>("Eksportujustawieniakalibracji1")->trigger();
  FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
  FGlowna->bDataModified = false;
  FGlowna->findComponentAs<QAction>("Nowyplik1")->trigger();
  FGlowna->findComponentAs<QAction>("Zapisz1")->trigger();  // a new document: "Zapisz" asks for its file
  FGlowna->findComponentAs<QAction>("Otwrzplik1")->trigger();
  struct Expected {
    const char* title;
    std::string folder, proposed;
  };
  const Expected expected[] = {
      {"Zapisz", classes, "klasa 2b żółć.sqtvk"},
      {"Zapisz plik kalibracji", calibrations, "kalibracja przesunięta.sqset"},
      {"Import danych", old, ""},
      {"Zapisz", classes, "nowy.sqtvk"},
      {"Wczytaj plik", classes, ""},
  };
  ASSERT_EQ(script.fileDialogs.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(script.fileDialogs[i].title, expected[i].title);
    EXPECT_EQ(script.fileDialogs[i].folder, TSystemPath(expected[i].folder));
    EXPECT_EQ(script.fileDialogs[i].proposed, expected[i].proposed);
  }
}
