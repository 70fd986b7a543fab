// The program as installed for every user of the machine: a program folder
// that belongs to root and that this user may not write, and a document in
// a shared class folder that belongs to someone else. Run by the install
// test (tests/install) as an unprivileged user with
//   TARVEK_INSTALLED_PROGRAM_DIR  the installed program folder
//   TARVEK_SHARED_DOCUMENT        the shared document
//   TARVEK_PDF_OUT                where the printed pages go
// and skipped when those are not given.
#include "AppFixture.h"

#include "app/DaneUczniaUnit.h"
#include "render/Drukowanie.h"
#include "store/Calibration.h"
#include "platform/Platform.h"
#include "store/Folders.h"
#include "toolkit/Components.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <cstdlib>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// An error or a warning, but for the notice of a first start about the
// changed data files.
bool anyError(const std::vector<TShownBox>& boxes) {
  for (const TShownBox& box : boxes)
    if (((box.flags & 0xF0) == MB_ICONSTOP || (box.flags & 0xF0) == MB_ICONWARNING) &&
        box.text.rfind("UWAGA !!!", 0) != 0)
      return true;
  return false;
}

std::string shown(const std::vector<TShownBox>& boxes) {
  std::string all;
  for (const TShownBox& box : boxes) all += cp1250ToUtf8(box.caption) + ": " + cp1250ToUtf8(box.text) + "\n";
  return all;
}

}  // namespace

TEST(InstalledProgramTest, AnotherUserStartsSavesPrintsAndRestoresTheCalibration) {
  const std::string program = env("TARVEK_INSTALLED_PROGRAM_DIR"), document = env("TARVEK_SHARED_DOCUMENT"),
                    pdf = env("TARVEK_PDF_OUT");
  if (program.empty() || document.empty() || pdf.empty()) GTEST_SKIP() << "run by the install test";
  ASSERT_NE(::access(program.c_str(), W_OK), 0) << "the program folder must be read-only for this user";

  TempFolders dirs("nauczyciel 2b");
  platform::setProgramFolder(cp1250FromUtf8(program));
  TScriptedDialogs script;
  vFunUtworzOkna();
  FGlowna->vFunInicjalizacja();
  ASSERT_FALSE(FGlowna->bFunClosed()) << shown(script.boxes);
  EXPECT_FALSE(anyError(script.boxes)) << shown(script.boxes);
  script.boxes.clear();

  // The shared document opens without a word about its attributes.
  vFunOtworzPlikZLiniiPolecen(TSystemPath(document));
  EXPECT_EQ(FGlowna->StatusBar->SimplePath(), TSystemPath(document));
  EXPECT_TRUE(script.boxes.empty()) << shown(script.boxes);

  // A student added through the dialog and saved into it.
  script.onShowModal = [](QDialog*) {
    bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, cp1250("Żak"));
    bFunSetText(FDaneUcznia->Imie_DATA_EDIT, cp1250("Łucja"));
    FDaneUcznia->Plec_DATA_COMBOBOX->setCurrentIndex(1);
    bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, "77");
    FDaneUcznia->OKButtonClick();
    return FDaneUcznia->result();
  };
  FGlowna->DodajUczniaToolButtonClick();
  script.onShowModal = nullptr;
  EXPECT_TRUE(FGlowna->Zapisz1Click());
  EXPECT_TRUE(script.boxes.empty()) << shown(script.boxes);

  // Its certificate printed to a PDF file.
  ASSERT_GE(FGlowna->TreeView->topLevelItemCount(), 1);
  QTreeWidgetItem* student = FGlowna->TreeView->topLevelItem(FGlowna->TreeView->topLevelItemCount() - 1);
  ASSERT_GE(student->childCount(), 1);
  FGlowna->TreeView->setCurrentItem(student->child(0));
  script.fileNames = {QString::fromStdString(pdf)};
  script.onShowModal = [](QDialog* dialog) {
    if (dialog != FDrukuj) return 2;
    FDrukuj->DrukarkiComboBox->setCurrentIndex(
        FDrukuj->DrukarkiComboBox->findText(QString::fromUtf8(TFDrukuj::kPdfEntry)));
    FDrukuj->DuplexComboBox->setCurrentIndex(1);
    FDrukuj->DrukujButton->click();
    return FDrukuj->result();
  };
  FGlowna->DrukujToolButtonClick();
  script.onShowModal = nullptr;
  EXPECT_TRUE(fs::exists(pdf));
  EXPECT_FALSE(anyError(script.boxes)) << shown(script.boxes);

  // The calibration comes back from the read-only program folder.
  TDataStore& ds = FGlowna->DataStore;
  const std::string calib = strFunGetCalibFilePath(&ds, false).bytes();
  writeText(calib, "zepsuta kalibracja");
  EXPECT_TRUE(bFunPrzywrocPlikKalibracji(&ds)) << ds.ErrorStream.str();
  EXPECT_EQ(readText(calib), readText(program + "/tvk_kalibracja.sqset"));
  vFunZwolnijOkna();
}
