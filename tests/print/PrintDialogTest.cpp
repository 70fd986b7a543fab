// The print dialog: its components, the margin-set commands, the nudges, and
// what a print writes when no printer is installed (Qt's PDF output).
#include "PrintSupport.h"
#include "platform/Cp1250.h"
#include "render/Drukowanie.h"
#include "render/Pages.h"
#include "support/TempFolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace {

using TEight = std::array<int, 8>;  // page 1 left, top, right, bottom, then page 2

QString utf8(const char* text) { return QString::fromUtf8(text); }

class PrintDialogTest : public ::testing::Test {
 protected:
  TempFolders dirs;
  TScriptedDialogs script;
  TDataStore ds;
  std::unique_ptr<TFDrukuj> dialog;

  void SetUp() override {
    dirs.shipProgramFolder();
    ASSERT_TRUE(bFunCheckFilesDir(&ds)) << ds.ErrorStream.str();
    vFunCreatePages(&ds);
    dialog = std::make_unique<TFDrukuj>();
    dialog->DataStore = &ds;
  }
  void TearDown() override {
    dialog.reset();
    vFunDeletePages(&ds);
  }

  std::string settings() { return strFunGetSettingsFilePath(&ds, false).text(); }
  std::vector<QLineEdit*> edits() const {
    return {dialog->Strona1LewyEdit, dialog->Strona1GornyEdit, dialog->Strona1PrawyEdit, dialog->Strona1DolnyEdit,
            dialog->Strona2LewyEdit, dialog->Strona2GornyEdit, dialog->Strona2PrawyEdit, dialog->Strona2DolnyEdit};
  }
  TEight values() const {
    TEight v {};
    for (int k = 0; k < 8; ++k) v[k] = edits()[k]->text().toInt();
    return v;
  }
  void setValues(const TEight& v) {
    for (int k = 0; k < 8; ++k) edits()[k]->setText(QString::number(v[k]));
  }
  std::vector<std::string> setNames() const {
    std::vector<std::string> names;
    for (int k = 0; k < dialog->MarginesyComboBox->count(); ++k)
      names.push_back(cp1250FromUtf8(dialog->MarginesyComboBox->itemText(k).toStdString()));
    return names;
  }
  std::vector<std::vector<std::string>> storedSets() { return sqlRows(settings(), "select * from `margin`"); }
  std::string pdf(const char* name) const { return dirs.root() + "/" + name; }
};

// ---- Components -----------------------------------------------------------------

TEST_F(PrintDialogTest, ComponentsComeInTheirOrderWithTheirCaptions) {
  std::vector<std::string> expected = {"DrukarkiComboBox", "DuplexComboBox", "cbRotateSecondPage",
                                       "MarginesyComboBox"};
  for (const char* side : {"Strona1", "Strona2"})
    for (const char* edge : {"LewyEdit", "GornyEdit", "PrawyEdit", "DolnyEdit"})
      expected.push_back(std::string(side) + edge);
  for (int b = 1; b <= 16; ++b) expected.push_back("SpeedButton" + std::to_string(b));
  for (const char* name : {"DrukujButton", "AnulujButton", "PomocButton", "BitBtn1", "SaveNewButton", "DeleteButton",
                           "ResetButton", "PrinterSetupDialog"})
    expected.push_back(name);
  std::vector<std::string> made;
  for (int k = 0; k < dialog->ComponentCount(); ++k) {
    const std::string name = dialog->ComponentName(k).toStdString();
    if (std::find(expected.begin(), expected.end(), name) != expected.end()) made.push_back(name);
  }
  EXPECT_EQ(made, expected);

  EXPECT_EQ(dialog->windowTitle(), utf8("Drukowanie"));
  const std::pair<const char*, const char*> captions[] = {
      {"DrukujButton", "Drukuj"},
      {"AnulujButton", "Anuluj"},
      {"PomocButton", "Pomoc"},
      {"BitBtn1", "Ustawienia"},
      {"SaveNewButton", "Zapisz jako nowe ustawienia"},
      {"DeleteButton", "Usuń ustawienia"},
      {"ResetButton", "Przywróć oryginalne ustawienia"},
      {"cbRotateSecondPage", "obróć drugą stronę o 180 stopni"},
  };
  for (const auto& [name, caption] : captions)
    EXPECT_EQ(dialog->findComponentAs<QAbstractButton>(name)->text(), utf8(caption)) << name;
  std::vector<QString> groups, labels;
  for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) groups.push_back(group->title());
  for (const QLabel* label : dialog->findChildren<QLabel*>()) labels.push_back(label->text());
  for (const char* title : {" Pozycjonowanie wydruku str 1 ", " Pozycjonowanie wydruku str 2 ",
                            " Szerokość / wysokość wydruku str 1", " Szerokość / wysokość wydruku str 2"})
    EXPECT_NE(std::find(groups.begin(), groups.end(), utf8(title)), groups.end()) << title;
  for (const char* text : {"Nazwa drukarki:", "Tryb druku ( duplex )", "Ustawienia wydruku", "Szerokość", "Wysokość"})
    EXPECT_NE(std::find(labels.begin(), labels.end(), utf8(text)), labels.end()) << text;

  EXPECT_EQ(dialog->DuplexComboBox->count(), 3);
  EXPECT_EQ(dialog->DuplexComboBox->itemText(0), utf8("Wyłączony"));
  EXPECT_EQ(dialog->DuplexComboBox->itemText(1), utf8("Duplex pionowo"));
  EXPECT_EQ(dialog->DuplexComboBox->itemText(2), utf8("Duplex poziomo"));
  EXPECT_EQ(dialog->DuplexComboBox->currentIndex(), -1);
  EXPECT_FALSE(dialog->cbRotateSecondPage->isChecked());
  for (const QLineEdit* edit : edits()) {
    EXPECT_EQ(edit->text(), "0");
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_FALSE(edit->isEnabled());
  }
}

TEST_F(PrintDialogTest, ShowingWithoutPrintersOffersPdfAndTheFirstShippedSet) {
  dialog->FormShow();
  ASSERT_EQ(dialog->DrukarkiComboBox->count(), 1);
  EXPECT_EQ(dialog->DrukarkiComboBox->currentText(), utf8(TFDrukuj::kPdfEntry));
  EXPECT_EQ(dialog->Printer().outputFormat(), QPrinter::PdfFormat);
  // A file holds both sides as pages, so the duplex controls stay usable.
  EXPECT_TRUE(dialog->DuplexComboBox->isEnabled());
  EXPECT_TRUE(dialog->cbRotateSecondPage->isEnabled());
  EXPECT_EQ(setNames(), (std::vector<std::string> {cp1250("Domyślne A4"), cp1250("A4 - margines drukarki 5 mm"),
                                                   cp1250("A4 - druga strona 2 mm wyżej")}));
  EXPECT_EQ(values(), (TEight {0, 0, 210, 297, 0, 0, 210, 297}));
  dialog->MarginesyComboBox->setCurrentIndex(2);
  dialog->MarginesyComboBoxChange();
  EXPECT_EQ(values(), (TEight {0, 0, 210, 297, 0, -2, 210, 295}));
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(PrintDialogTest, PrinterSetUpSetsTheDuplexControlsByWhatThePrinterCan) {
  dialog->FormShow();
  for (const int answer : {mrCancel, mrOk}) {
    dialog->DuplexComboBox->setEnabled(false);
    dialog->cbRotateSecondPage->setEnabled(false);
    TScriptedDialogs answers;
    answers.onShowModal = [answer](QDialog*) { return answer; };
    dialog->BitBtn1->click();
    ASSERT_EQ(answers.modalRuns.size(), 1u);
    // Confirmed: a PDF file takes both sides; cancelled: nothing changes.
    EXPECT_EQ(dialog->DuplexComboBox->isEnabled(), answer == mrOk);
    EXPECT_EQ(dialog->cbRotateSecondPage->isEnabled(), answer == mrOk);
  }
}

// ---- Nudges -----------------------------------------------------------------------

struct TNudgeCase {
  int button;
  TEight before, after;
};

TEST_F(PrintDialogTest, NudgesMoveTheEditsByOneMillimetreAndStopAtOne) {
  const TEight base {10, 20, 200, 280, 11, 21, 201, 281};
  const TNudgeCase cases[] = {
      {1, base, {10, 19, 200, 279, 11, 21, 201, 281}},
      {2, base, {9, 20, 199, 280, 11, 21, 201, 281}},
      {3, base, {10, 21, 200, 281, 11, 21, 201, 281}},
      {4, base, {11, 20, 201, 280, 11, 21, 201, 281}},
      {5, base, {10, 20, 200, 280, 11, 20, 201, 280}},
      {6, base, {10, 20, 200, 280, 10, 21, 200, 281}},
      {7, base, {10, 20, 200, 280, 11, 22, 201, 282}},
      {8, base, {10, 20, 200, 280, 12, 21, 202, 281}},
      {9, base, {9, 20, 201, 280, 11, 21, 201, 281}},
      {10, base, {11, 20, 199, 280, 11, 21, 201, 281}},
      {11, base, {10, 19, 200, 281, 11, 21, 201, 281}},
      {12, base, {10, 21, 200, 279, 11, 21, 201, 281}},
      {13, base, {10, 20, 200, 280, 10, 21, 202, 281}},
      {14, base, {10, 20, 200, 280, 12, 21, 200, 281}},
      {15, base, {10, 20, 200, 280, 11, 22, 201, 280}},
      {16, base, {10, 20, 200, 280, 11, 20, 201, 282}},
      // The stops.
      {1, {0, 1, 0, 5, 0, 0, 0, 0}, {0, 1, 0, 5, 0, 0, 0, 0}},
      {1, {0, 0, 0, 5, 0, 0, 0, 0}, {0, -1, 0, 4, 0, 0, 0, 0}},
      {2, {5, 0, 1, 0, 0, 0, 0, 0}, {4, 0, 1, 0, 0, 0, 0, 0}},
      {2, {1, 0, 9, 0, 0, 0, 0, 0}, {1, 0, 9, 0, 0, 0, 0, 0}},
      {6, {0, 0, 0, 0, 5, 0, 1, 0}, {0, 0, 0, 0, 4, 0, 0, 0}},
      {10, {5, 0, 1, 0, 0, 0, 0, 0}, {5, 0, 1, 0, 0, 0, 0, 0}},
      {12, {0, 3, 0, 1, 0, 0, 0, 0}, {0, 4, 0, 1, 0, 0, 0, 0}},
      {15, {0, 0, 0, 0, 0, 3, 0, 1}, {0, 0, 0, 0, 0, 4, 0, 0}},
      {16, {0, 0, 0, 0, 0, 1, 0, 7}, {0, 0, 0, 0, 0, 1, 0, 7}},
  };
  for (const auto& c : cases) {
    setValues(c.before);
    dialog->SpeedButton[c.button]->click();
    EXPECT_EQ(values(), c.after) << "SpeedButton" << c.button;
  }
  EXPECT_EQ(storedSets().size(), 3u);  // nudges never touch a stored set
}

// ---- Margin-set commands ----------------------------------------------------------

TEST_F(PrintDialogTest, SavingStoresTheEditsUnderANewNameAndShowsTheFirstSet) {
  dialog->FormShow();
  setValues({1, 2, 3, 4, 5, 6, 7, 8});
  script.inputs = {std::string("Moja drukarka")};
  dialog->SaveNewButton->click();
  ASSERT_EQ(script.prompts.size(), 1u);
  EXPECT_EQ(script.prompts[0].caption, "Nazwa");
  EXPECT_EQ(script.prompts[0].prompt, cp1250("Proszę podać nazwę ustawień"));
  EXPECT_EQ(script.prompts[0].value, "nowa nazwa");
  EXPECT_EQ(storedSets().back(),
            (std::vector<std::string> {"Moja drukarka", "1", "2", "3", "4", "5", "6", "7", "8"}));
  EXPECT_EQ(setNames().back(), "Moja drukarka");
  EXPECT_EQ(dialog->MarginesyComboBox->currentIndex(), 0);
  EXPECT_EQ(values(), (TEight {0, 0, 210, 297, 0, 0, 210, 297}));
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(PrintDialogTest, SavingRefusesANameListedLetterForLetter) {
  dialog->FormShow();
  const TShownBox duplicate {cp1250("Ustawienia pod tą nazwą już istnieją"), "Duplikat", 48};
  const TShownBox tooLong {cp1250("Nazwa ustawień może mieć najwyżej 255 znaków."), "Nazwa", 48};
  struct TCase {
    std::optional<std::string> typed;
    std::optional<TShownBox> refused;
    std::size_t setsAfter;
  };
  const std::string longest = cp1250("ś") + std::string(254, 'x');  // 255 characters
  const TCase cases[] = {
      {cp1250("Domyślne A4"), duplicate, 3},
      {cp1250("domyślne a4"), std::nullopt, 4},  // letter case makes it another name
      {std::string(), std::nullopt, 5},          // an empty name is a name
      {std::nullopt, std::nullopt, 5},           // cancelled
      {longest + "y", tooLong, 5},               // never cut to fit: refused with a word
      {longest, std::nullopt, 6},
  };
  for (const auto& c : cases) {
    TScriptedDialogs answers;  // answers this case alone
    answers.inputs = {c.typed};
    dialog->SaveNewButton->click();
    if (c.refused)
      EXPECT_EQ(answers.boxes, (std::vector<TShownBox> {*c.refused}));
    else
      EXPECT_TRUE(answers.boxes.empty());
    EXPECT_EQ(storedSets().size(), c.setsAfter);
    EXPECT_EQ(dialog->MarginList.size(), c.setsAfter);
  }
  EXPECT_EQ(storedSets().back().front(), longest);
}

TEST_F(PrintDialogTest, DeletingAsksFirstAndReloads) {
  dialog->FormShow();
  dialog->MarginesyComboBox->setCurrentIndex(1);
  script.answers = {IDNO, IDYES};
  dialog->DeleteButton->click();
  EXPECT_EQ(storedSets().size(), 3u);
  dialog->DeleteButton->click();
  const std::string name = cp1250("A4 - margines drukarki 5 mm");
  const TShownBox question {cp1250("Czy na pewno chcesz skasować ustawienia: ") + name + " ?", "Kasowanie", 36};
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {question, question}));
  EXPECT_EQ(setNames(), (std::vector<std::string> {cp1250("Domyślne A4"), cp1250("A4 - druga strona 2 mm wyżej")}));
  EXPECT_EQ(dialog->MarginesyComboBox->currentIndex(), 0);
}

TEST_F(PrintDialogTest, DeletingWithNoSetsAsksAboutAnEmptyNameAndReportsTheFailure) {
  sqlExec(settings(), "delete from `margin`");
  dialog->FormShow();
  script.answers = {IDYES};
  dialog->DeleteButton->click();
  EXPECT_EQ(script.boxes,
            (std::vector<TShownBox> {{cp1250("Czy na pewno chcesz skasować ustawienia:  ?"), "Kasowanie", 36},
                                     {cp1250("Błąd podczas próby kasowania ustawień marginesów."), cp1250("Błąd"), 16}}));
  EXPECT_TRUE(dialog->MarginList.empty());
}

TEST_F(PrintDialogTest, RestoringBringsBackTheShippedSets) {
  dialog->FormShow();
  script.inputs = {std::string("Moje")};
  dialog->SaveNewButton->click();
  sqlExec(settings(), cp1250("delete from `margin` where `name`='Domyślne A4'"));
  script.answers = {IDNO, IDYES};
  dialog->ResetButton->click();
  EXPECT_EQ(storedSets().size(), 3u);  // "No" left the user's sets
  dialog->ResetButton->click();
  const TShownBox question {cp1250("Czy na pewno chcesz przywrócić oryginalne ustawienia ?"), "Przywracanie", 36};
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {question, question}));
  EXPECT_EQ(storedSets(), sqlRows(strFunGetSettingsFilePath(&ds, true), "select * from `margin`"));
  EXPECT_EQ(setNames().size(), 3u);
  EXPECT_EQ(values(), (TEight {0, 0, 210, 297, 0, 0, 210, 297}));
}

TEST_F(PrintDialogTest, FailuresOfTheSetsAreReportedWithTheStoresReason) {
  dialog->FormShow();
  const auto before = setNames();
  // Restore: the program folder's copy is gone; the list is not reloaded.
  const TSystemPath shipped = strFunGetSettingsFilePath(&ds, true);
  std::filesystem::remove(shipped.bytes());
  script.answers = {IDYES};
  dialog->ResetButton->click();
  ASSERT_EQ(script.boxes.size(), 2u);
  EXPECT_EQ(script.boxes[1], (TShownBox {cp1250("Błąd podczas próby przywrócenia ustawień dmyślnych.\n\n") +
                                             "Plik nie istnieje.\n" + shipped.text(),
                                         cp1250("Błąd"), 16}));
  // Saving and reading: the data folder's file has no table of sets.
  sqlExec(settings(), "drop table `margin`");
  script.boxes.clear();
  script.inputs = {std::string("Nowe")};
  dialog->SaveNewButton->click();
  EXPECT_FALSE(dialog->bFunLoadMarginList());
  ASSERT_EQ(script.boxes.size(), 2u);
  EXPECT_EQ(script.boxes[0], (TShownBox {cp1250("Błąd podczas próby zapisania nowych ustawień marginesów.\n\n") +
                                             "Sql exception: SQLITE_ERROR",
                                         cp1250("Błąd"), 16}));
  EXPECT_EQ(script.boxes[1], (TShownBox {cp1250("Błąd podczas próby uzyskania listy ustawień.\n\n") +
                                             "SqlException\nSQLITE_ERROR",
                                         cp1250("Błąd"), 16}));
  EXPECT_EQ(setNames(), before);  // the list keeps its entries
}

// ---- Printing to a PDF file -------------------------------------------------------

// Draws a named field on each side, as a print render leaves the pages.
void drawSides(TDataStore& ds) {
  for (QPicture* page : {ds.Page1Metafile, ds.Page2Metafile}) {
    QPainter canvas(page);
    vFunDrawField(canvas, page == ds.Page1Metafile ? "Strona1" : "Strona2", QRect(120, 300, 300, 30));
  }
}

// "Ustawienia" shows the settings of the printer chosen in the list (with
// no printer installed, the PDF file's page set-up); what the user confirms
// there is what the next prints use, and cancelling changes nothing.
TEST_F(PrintDialogTest, TheSettingsConfirmedForThePrinterAreWhatItPrintsWith) {
  drawSides(ds);
  dialog->FormShow();
  dialog->iPageCount = 1;
  struct Case {
    int answer;
    QSize printedMm;  // as the page stands
  } cases[] = {{mrCancel, {210, 297}}, {mrOk, {210, 148}}};
  int run = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer == mrOk ? "confirmed" : "cancelled");
    QPrinter* shownFor = nullptr;
    TScriptedDialogs answers;
    answers.onShowModal = [&](QDialog* shown) {
      auto* setup = qobject_cast<QPageSetupDialog*>(shown);
      if (!setup) return int(mrCancel);
      shownFor = setup->printer();
      // What the user picks there: A5, landscape; the real dialog writes it
      // into its printer when it is confirmed.
      if (c.answer == mrOk) {
        shownFor->setPageSize(QPageSize(QPageSize::A5));
        shownFor->setPageOrientation(QPageLayout::Landscape);
      }
      return c.answer;
    };
    dialog->BitBtn1->click();
    ASSERT_EQ(shownFor, &dialog->Printer()) << "the settings of the printer the dialog prints on";
    EXPECT_EQ(shownFor->outputFormat(), QPrinter::PdfFormat);

    const std::string file = pdf(("settings" + std::to_string(run++) + ".pdf").c_str());
    answers.fileNames = {QString::fromStdString(file)};
    dialog->DrukujButton->click();
    ASSERT_EQ(iFunPdfPages(file), 1);
    EXPECT_EQ(sizeFunPdfPageMm(file, 1), c.printedMm);
  }
  // They stay for the next showing of the dialog.
  dialog->FormShow();
  const std::string again = pdf("again.pdf");
  script.fileNames = {QString::fromStdString(again)};
  dialog->DrukujButton->click();
  EXPECT_EQ(sizeFunPdfPageMm(again, 1), QSize(210, 148));
}

struct TPathCase {
  int pageCount;
  int duplexIndex;
  std::vector<int> pagesPerFile;  // one entry per job
};

TEST_F(PrintDialogTest, ThePageCountAndTheDuplexListDecideTheJobs) {
  const TPathCase cases[] = {
      {2, 1, {2}},     // both sides in one job
      {2, 2, {2}},
      {2, 0, {1, 1}},  // "Wyłączony": two jobs
      {2, -1, {1, 1}}, // nothing chosen: two jobs
      {1, 1, {1}},     // one side, whatever the list says
      {0, 1, {}},
      {3, 1, {}},
  };
  drawSides(ds);
  dialog->FormShow();
  int run = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE("pages " + std::to_string(c.pageCount) + ", duplex " + std::to_string(c.duplexIndex));
    const std::string first = pdf(("a" + std::to_string(run) + ".pdf").c_str());
    const std::string second = pdf(("b" + std::to_string(run) + ".pdf").c_str());
    ++run;
    TScriptedDialogs answers;
    answers.fileNames = {QString::fromStdString(first), QString::fromStdString(second)};
    dialog->setResult(mrNone);
    dialog->DuplexComboBox->setCurrentIndex(c.duplexIndex);
    dialog->iPageCount = c.pageCount;
    dialog->DrukujButton->click();
    EXPECT_EQ(dialog->result(), mrOk);
    ASSERT_EQ(answers.fileDialogs.size(), c.pagesPerFile.size());
    for (std::size_t job = 0; job < c.pagesPerFile.size(); ++job)
      EXPECT_EQ(iFunPdfPages(job == 0 ? first : second), c.pagesPerFile[job]) << "job " << job + 1;
    if (c.pagesPerFile.size() == 2) {
      EXPECT_TRUE(optFunWordBox(first, 1, "Strona1"));
      EXPECT_TRUE(optFunWordBox(second, 1, "Strona2"));
    }
    EXPECT_TRUE(answers.boxes.empty());  // a file needs no turning over
    if (answers.fileDialogs.size() == 2) {  // the second side is offered under a name of its own
      const std::string offered = answers.fileDialogs[1].fileName;
      EXPECT_EQ(offered, first.substr(0, first.size() - 4) + "_strona2.pdf");
    }
    for (const auto& shown : answers.fileDialogs) {
      EXPECT_EQ(shown.kind, TFileDialog::TKind::Save);
      EXPECT_EQ(shown.filter, "Dokument PDF (*.pdf)|*.pdf");
    }
  }
}

TEST_F(PrintDialogTest, CancellingTheFileKeepsTheDialogOpenAndWritesNothing) {
  drawSides(ds);
  dialog->FormShow();
  dialog->iPageCount = 1;
  dialog->setResult(mrNone);
  script.fileNames = {std::nullopt};
  dialog->DrukujButton->click();
  EXPECT_EQ(script.fileDialogs.size(), 1u);
  EXPECT_EQ(dialog->result(), mrNone);
  for (const auto& entry : std::filesystem::directory_iterator(dirs.root()))
    EXPECT_NE(entry.path().extension(), ".pdf") << entry.path();
}

struct TTurnCase {
  int duplexIndex;
  bool ticked;
  bool turned;
};

TEST_F(PrintDialogTest, SideTwoIsTurnedOnlyInADuplexJobWithTheBoxTicked) {
  const TTurnCase cases[] = {{1, true, true}, {1, false, false}, {0, true, false}};
  sqlExec(settings(), "update `margin` set `Page2X1`=10, `Page2Y1`=15, `Page2X2`=200, `Page2Y2`=287");
  dialog->FormShow();
  for (const auto& c : cases) {
    SCOPED_TRACE("duplex " + std::to_string(c.duplexIndex) + (c.ticked ? ", ticked" : ""));
    vFunCreatePages(&ds);  // the render before every print
    drawSides(ds);
    const std::string first = pdf("first.pdf"), second = pdf("second.pdf");
    TScriptedDialogs answers;
    answers.fileNames = {QString::fromStdString(first), QString::fromStdString(second)};
    dialog->DuplexComboBox->setCurrentIndex(c.duplexIndex);
    dialog->cbRotateSecondPage->setChecked(c.ticked);
    dialog->iPageCount = 2;
    dialog->DrukujButton->click();
    const auto word = c.duplexIndex > 0 ? optFunWordBox(first, 2, "Strona2") : optFunWordBox(second, 1, "Strona2");
    ASSERT_TRUE(word);
    const double sx = 190.0 / kPageWidth, sy = 272.0 / kPageHeight;
    if (c.turned) {
      EXPECT_NEAR(word->right(), 10 + (879 - 120) * sx, 0.5);
      EXPECT_NEAR(word->bottom(), 15 + (1299 - 300) * sy, 0.5);
    } else {
      EXPECT_NEAR(word->left(), 10 + 120 * sx, 0.5);
      EXPECT_NEAR(word->top(), 15 + 300 * sy, 0.5);
    }
  }
}

}  // namespace
