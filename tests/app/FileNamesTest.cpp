// Every file command with names as the file dialog gives them: Polish
// letters, blanks, and letters Windows-1250 does not have. Each reaches the
// system as exactly that name, and each dialog starts where the user works.
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
  std::string shownBoxes() const {
    std::string all;
    for (const TShownBox& box : script.boxes) all += cp1250ToUtf8(box.text) + "\n";
    return all;
  }
};

}  // namespace

TEST_F(FileNamesTest, EveryFileCommandUsesTheNameTheDialogGivesExactly) {
  const std::string model = cp1250ToUtf8(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
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
    // Every dialog after the first open started in the document's folder.
    ASSERT_EQ(script.fileDialogs.size(), 5u);
    for (std::size_t i = 1; i < script.fileDialogs.size(); ++i)
      EXPECT_EQ(script.fileDialogs[i].folder, TSystemPath(folder)) << script.fileDialogs[i].title;
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
