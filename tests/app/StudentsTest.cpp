#include "StudentFixture.h"

#include "app/StudentOrder.h"
#include "app/WaitUnit.h"
#include "forms/DocumentForms.h"
#include "forms/FormUnits.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>

#include <algorithm>
#include <set>

namespace fs = std::filesystem;

// ------------------------------------------------------------------ order

TEST(StudentOrder, KeysAreCapitalsWithPolishLettersFolded) {
  const std::pair<const char*, const char*> cases[] = {
      {"Łukasiewicz Jan", "LUKASIEWICZ JAN"}, {"Lis Anna", "LIS ANNA"},
      {"Łabędź Ewa", "LABEDZ EWA"},           {"Érdi Anna", "ÉRDI ANNA"},
      {"żółć Ąś", "ZOLC AS"},                 {"Źdźbło 3b", "ZDZBLO 3B"},
  };
  for (const auto& [name, key] : cases) EXPECT_EQ(strFunStudentSortKey(cp1250(name)), cp1250(key)) << name;
}

TEST(StudentOrder, SortsByKeyAndKeepsTheListOrderOfEqualKeys) {
  const std::vector<std::string> names = {cp1250("Łukasiewicz Jan"), "Lis Anna", cp1250("Łabędź Ewa"),
                                          cp1250("Érdi Anna"), "lis anna", "Lis Ann"};
  EXPECT_EQ(vFunStudentOrder(names), (std::vector<std::size_t> {2, 5, 1, 4, 0, 3}));
  EXPECT_TRUE(vFunStudentOrder({}).empty());
}

// ------------------------------------------------------------------ tree

TEST_F(StudentTest, AnOpenedFileShowsItsStudentsSortedWithTheirDocuments) {
  open(makeDocumentFile({{"1", personalRows(cp1250("Łukasiewicz"), "Jan", "1")},
                         {"2", personalRows("Lis", "Anna", "2")},
                         {"3", personalRows(cp1250("Łabędź"), "Ewa", "3")},
                         {"4", personalRows(cp1250("Érdi"), "Anna", "4")}}));
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), documentPath());
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("Łabędź Ewa"), "Lis Anna", cp1250("Łukasiewicz Jan"),
                                                 cp1250("Érdi Anna")}));
  QTreeWidgetItem* student = FGlowna->TreeView->topLevelItem(0);
  // The documents the reference table offers in the tree, in its order, and
  // one child without a document.
  std::vector<std::string> documents = referenceTreeDocuments();
  documents.push_back("");
  ASSERT_EQ(student->childCount(), static_cast<int>(documents.size()));
  for (int i = 0; i < student->childCount(); ++i)
    EXPECT_EQ(student->child(i)->text(0), QString::fromStdString(documents[static_cast<std::size_t>(i)])) << i;
  EXPECT_EQ(FGlowna->TreeView->currentItem(), nullptr);
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(StudentTest, SelectingANodeLoadsItsStudentIntoEveryHolder) {
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ola", "1")}, {"2", personalRows("Baran", "Piotr", "2")}}));
  select(1, documentlessChild());  // the child with no document selects the student alone
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Baran");
  EXPECT_EQ(FGlowna->strFunNazwaZDrzewa(1), "Baran Piotr");
  EXPECT_EQ(FGlowna->strFunNazwaZDrzewa(0), "");
  select(0, 3);
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Adamska");
  EXPECT_EQ(FGlowna->strFunNazwaZDrzewa(0), cp1250("MEN-I/21a-w/2 świad. klasa II wyr."));
  EXPECT_TRUE(FGlowna->findComponentAs<QAction>("Edytujwybranewiadectwo1")->isEnabled());

  FGlowna->EdytujSwiadectwoToolButtonClick();  // the shipped settings still offer the template first
  select(1, documentlessChild());
  script.boxes.clear();
  script.answers = {IDNO};
  FGlowna->EdytujSwiadectwoToolButtonClick();
  EXPECT_EQ(script.boxes.back(), (TShownBox {cp1250("Nie wybrano świadectwa z listy"), "Brak wyboru", 48}));
}

TEST_F(StudentTest, NamesakesAreTwoStudentsAndDeletingOneKeepsTheOther) {
  open(makeDocumentFile({{"111", personalRows("Nowak", "Jan", "111")}, {"222", personalRows("Nowak", "Jan", "222")}}));
  ASSERT_EQ(roots(), (std::vector<std::string> {"Nowak Jan", "Nowak Jan"}));
  select(1);
  EXPECT_EQ(text(FDaneUcznia->NrPesel_DATA_EDIT), "222");
  script.answers = {IDYES};
  FGlowna->UsunUczniaToolButtonClick();
  EXPECT_EQ(script.boxes.back(), (TShownBox {cp1250("Czy na pewno chcesz skasować dane ucznia: \nNowak Jan (PESEL: 222)"),
                                             cp1250("Usuń"), MB_YESNO | MB_ICONWARNING}));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL111"}));
  EXPECT_TRUE(FGlowna->bDataModified);
}

TEST_F(StudentTest, DeleteAnsweredNoKeepsTheStudentAndClearsTheSelection) {
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ola", "1")}}));
  select(0);
  script.answers = {IDNO};
  FGlowna->UsunUczniaToolButtonClick();
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
  EXPECT_EQ(FGlowna->TreeView->currentItem(), nullptr);
}

TEST_F(StudentTest, CommandsWithoutASelectionSayWhatIsMissing) {
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ola", "1")}}));
  const TShownBox noStudent {"Nie wybrano ucznia z listy", "Brak wyboru", MB_OK | MB_ICONWARNING};
  FGlowna->EdytujDaneUczniaToolButtonClick();
  FGlowna->UsunUczniaToolButtonClick();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {noStudent, noStudent}));
  EXPECT_TRUE(script.modalRuns.empty());
}

// ------------------------------------------------------------------ holders

// The name of the field a holder gets of its own, named after its class so
// that it does not hang on the holder's place among the others.
std::string ownField(const TDocumentForm* form) {
  return "ZMIENNA_Test" + std::string(form->Identity.className + 2) + "_STR1_DATA_EDIT";
}

// Every holder gets one field of its own (and a line-row page a memo), so a
// student's rows travel through all of them.
class HoldersTest : public StudentTest {
 protected:
  Rows expected;
  void SetUp() override {
    StudentTest::SetUp();
    expected = personalRows("Zieba", "Iga", "5");
    for (TDocumentForm* form : vFunDocumentForms()) {
      const std::string name = ownField(form);
      form->Make<QLineEdit>(QString::fromStdString(name), form);
      expected.push_back({form->strFunTag(), name, "it's " + std::string(form->Identity.className)});
      if (form != FArkuszStr2b) continue;
      form->Make<QPlainTextEdit>("ZMIENNA_Uwagi_DATA_MEMO", form);
      for (const char* line : {"01", "02", "03"})
        expected.push_back({form->strFunTag(), std::string("ZMIENNA_Uwagi_DATA_MEMO") + line,
                            std::string("linia ") + line});
    }
  }
};

// True when every row of part stands in whole, in the same order.
bool inOrder(const Rows& part, const Rows& whole) {
  std::size_t at = 0;
  for (const auto& row : whole)
    if (at < part.size() && row == part[at]) ++at;
  return at == part.size();
}

TEST_F(HoldersTest, AStudentSavedAndLoadedAgainGivesTheSameRowsInTheSameOrder) {
  Rows file = expected;
  file.push_back({"KLASA I TARVEK", "ZMIENNA_Usuniete_STR1_DATA_EDIT", "a field the form no longer has"});
  file.push_back({"KLASA Ia TARVEK", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", "Liceum"});
  open(makeDocumentFile({{"5", file}}));
  select(0);
  EXPECT_EQ(text(FKlasa2a->findComponentAs<QLineEdit>(ownField(FKlasa2a))), "it's TFKlasa2a");
  EXPECT_EQ(strFunGetText(FKlasa2a->findComponent(ownField(FKlasa2a))), "it's TFKlasa2a");

  ASSERT_TRUE(FGlowna->bFunZapiszDaneUcznia());
  const Rows saved = stored("PESEL5");
  EXPECT_TRUE(inOrder(expected, saved));
  EXPECT_TRUE(inOrder({{"KLASA Ia TARVEK", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", "Liceum"}}, saved));
  for (const auto& row : saved) EXPECT_NE(row[1], "ZMIENNA_Usuniete_STR1_DATA_EDIT");  // not written back
  EXPECT_EQ(FWait->ProgressBar->maximum(), static_cast<int>(saved.size()));
  EXPECT_EQ(FWait->ProgressBar->value(), static_cast<int>(saved.size()));
  EXPECT_FALSE(FWait->isVisible());

  // Loaded again and saved again: the very same rows.
  select(0);
  ASSERT_TRUE(FGlowna->bFunZapiszDaneUcznia());
  EXPECT_EQ(stored("PESEL5"), saved);
}

// The rows of a holder as the protocol's common frame describes them: each
// component in creation order under the name Qt holds for it, each marker in
// that name tested on its own, the component looked up by the name, and its
// text or, on line-row holders, its lines read.
std::vector<TDataRecord> rowsByTheFrame(const TComponentRegistry& form, const std::string& tag, bool lineRows) {
  std::vector<TDataRecord> rows;
  auto row = [&](const std::string& name, const std::string& value) {
    TDataRecord r;
    r.id = tag;
    r.comp_name = name;
    r.value = value;
    rows.push_back(r);
  };
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const std::string name = form.ComponentName(i).toStdString();
    for (const char* marker : {"_DATA_EDIT", "_DATA_COMBOBOX", "_DATA_MEMO"}) {
      if (name.find(marker) == std::string::npos) continue;
      QObject* component = form.findComponent(name);
      if (!component) continue;
      if (std::string_view(marker) != "_DATA_MEMO" || !lineRows) {
        row(name, strFunGetText(component));
        continue;
      }
      const std::vector<std::string> lines = vFunGetLines(component);
      for (std::size_t n = 0; n < lines.size(); ++n) {
        char number[24];
        std::snprintf(number, sizeof number, "%02zu", n + 1);
        row(name + number, lines[n]);
      }
    }
  }
  return rows;
}

TEST_F(HoldersTest, TheSaveCollectsFromEveryHolderTheRowsTheFrameGives) {
  open(makeDocumentFile({{"5", expected}}));
  select(0);
  bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, cp1250("Źdźbło-Łęcka"));
  bFunSetText(FDaneUcznia->Imie_DATA_EDIT, cp1250("Żaneta"));
  bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, "5");
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunFillSampleData();
  // Line rows with letters of the code page, an empty line and a quote.
  vFunSetLines(FArkuszStr2b->findComponent("ZMIENNA_Uwagi_DATA_MEMO"),
               {cp1250("pierwsza: ąćęłńóśźż"), "", "it's"});
  bFunSetText(FKlasa2a->findComponent(ownField(FKlasa2a)), cp1250("\"Żółw\" – 'ó'"));
  // A field made, deleted and made again under its name gives one row, in
  // the place of the living one.
  delete FKlasa1->Make<QLineEdit>("ZMIENNA_Znikniete_STR1_DATA_EDIT", FKlasa1);
  bFunSetText(FKlasa1->Make<QLineEdit>("ZMIENNA_Znikniete_STR1_DATA_EDIT", FKlasa1), "nowe");

  std::vector<TDataRecord> byTheFrame = rowsByTheFrame(*FDaneUcznia, "DANE UCZNIA", false);
  for (TDocumentForm* form : vFunDocumentForms())
    for (TDataRecord& r : rowsByTheFrame(*form, form->strFunTag(), form->Identity.lineRows))
      byTheFrame.push_back(std::move(r));
  ASSERT_GT(byTheFrame.size(), 1705u);

  std::vector<TDataRecord> collected;
  FDaneUcznia->vFunFormDataToList(collected);
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunFormDataToList(collected);
  ASSERT_EQ(collected.size(), byTheFrame.size());
  for (std::size_t i = 0; i < collected.size(); ++i) {
    EXPECT_EQ(collected[i].id.str(), byTheFrame[i].id.str()) << i;
    EXPECT_EQ(collected[i].comp_name.str(), byTheFrame[i].comp_name.str()) << i;
    EXPECT_EQ(collected[i].value.str(), byTheFrame[i].value.str()) << i << " " << collected[i].comp_name.str();
  }
  auto has = [&](const Rows& part) {
    Rows whole;
    for (const TDataRecord& r : collected) whole.push_back({r.id.str(), r.comp_name.str(), r.value.str()});
    return inOrder(part, whole);
  };
  const std::string sheet = FArkuszStr2b->strFunTag();
  EXPECT_TRUE(has({{"DANE UCZNIA", "Nazwisko_DATA_EDIT", cp1250("Źdźbło-Łęcka")},
                   {sheet, "ZMIENNA_Uwagi_DATA_MEMO01", cp1250("pierwsza: ąćęłńóśźż")},
                   {sheet, "ZMIENNA_Uwagi_DATA_MEMO02", ""},
                   {sheet, "ZMIENNA_Uwagi_DATA_MEMO03", "it's"}}));
  EXPECT_TRUE(has({{FKlasa1->strFunTag(), "ZMIENNA_Znikniete_STR1_DATA_EDIT", "nowe"}}));

  // The save stores exactly these rows, in this order.
  ASSERT_TRUE(FGlowna->bFunZapiszDaneUcznia());
  Rows stored = this->stored("PESEL5"), rows;
  for (const TDataRecord& r : byTheFrame) rows.push_back({r.id.str(), r.comp_name.str(), r.value.str()});
  EXPECT_EQ(stored, rows);
}

TEST_F(HoldersTest, TheClassTwoFormsKeepTheTagsStoredFilesCarry) {
  EXPECT_EQ(FKlasa2a->strFunTag(), "KLASA IIa WYR. TARVEK");
  EXPECT_EQ(FKlasa2awyr->strFunTag(), "KLASA IIa TARVEK");
  open(makeDocumentFile({{"5", expected}}));
  select(0);
  EXPECT_EQ(strFunGetText(FKlasa2awyr->findComponent(ownField(FKlasa2awyr))), "it's TFKlasa2awyr");
}

TEST_F(HoldersTest, AStudentWithoutADocumentsRowsLeavesThatFormEmpty) {
  open(makeDocumentFile({{"5", expected}, {"6", personalRows("Zych", "Ala", "6")}}));
  select(0);
  select(1);
  // Only what the forms copy from the student-data dialog is filled.
  for (TDocumentForm* form : vFunDocumentForms()) {
    std::set<std::string> personal;
    for (int p = 0; form->Spec && p < form->Spec->personalCount; ++p) personal.insert(form->Spec->personal[p].field);
    for (int i = 0; i < form->ComponentCount(); ++i) {
      auto* edit = qobject_cast<QLineEdit*>(form->Components(i));
      if (edit && !personal.count(edit->objectName().toStdString())) {
        EXPECT_EQ(text(edit), "") << form->Identity.className << " " << edit->objectName().toStdString();
      }
    }
  }
}

TEST_F(HoldersTest, AFailedLoadKeepsWhatTheHoldersShowed) {
  open(makeDocumentFile({{"5", expected}, {"6", personalRows("Zych", "Ala", "6")}}));
  select(0);
  sqlExec(tmp(), "drop table `PESEL6`");
  select(1);
  EXPECT_EQ(script.boxes.back().text, cp1250("Błąd podczas próby wczytania danych.\n\nTablica nie istnieje: \nPESEL6"));
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Zieba");
}

// ------------------------------------------------------------------ student-data dialog

TEST_F(StudentTest, TheDialogChecksItsFieldsInOrder) {
  struct Case {
    const char* surname;
    const char* name;
    int sex;
    const char* pesel;
    const char* message;  // nullptr: the student is saved
  };
  const Case cases[] = {
      {"", "", -1, "x y", "Nazwisko ucznia jest wymagane"},
      {"Nowak", "", -1, "", "Imię ucznia jest wymagane"},
      {"Nowak", "Jan", -1, "", "Płeć ucznia jest wymagana"},
      {"Nowak", "Jan", 1, "9001-01", "Numer PESEL nie jest prawidłowy lub zawiera nie dozwolone znaki"},
      {"Nowak", "Jan", 1, "ąę", "Numer PESEL nie jest prawidłowy lub zawiera nie dozwolone znaki"},
      {"Nowak", "Jan", 1, "12 3", "Numer PESEL nie jest prawidłowy lub zawiera nie dozwolone znaki"},
      {"Nowak", "Jan", 1, "90010112345AbZ", nullptr},
      {"Nowak", "Jan", 0, "", nullptr},  // no number at all: the table is "PESEL"
  };
  FDaneUcznia->bEditMode = false;
  for (const Case& c : cases) {
    script.boxes.clear();
    bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, cp1250(c.surname));
    bFunSetText(FDaneUcznia->Imie_DATA_EDIT, cp1250(c.name));
    FDaneUcznia->Plec_DATA_COMBOBOX->setCurrentIndex(c.sex);
    bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, cp1250(c.pesel));
    FDaneUcznia->setResult(mrNone);
    FDaneUcznia->OKButtonClick();
    if (c.message) {
      EXPECT_EQ(script.boxes, (std::vector<TShownBox> {{cp1250(c.message), "Brak danych", MB_OK | MB_ICONWARNING}}))
          << c.pesel;
      EXPECT_EQ(FDaneUcznia->result(), mrNone);
    } else {
      EXPECT_TRUE(script.boxes.empty()) << c.pesel;
      EXPECT_EQ(FDaneUcznia->result(), mrOk);
      const std::vector<std::string> all = tables();
      EXPECT_NE(std::find(all.begin(), all.end(), "PESEL" + std::string(c.pesel)), all.end());
    }
  }
}

TEST_F(StudentTest, ANewStudentIsSavedWithCapitalsAndItsTownIsRemembered) {
  script.onShowModal = [](QDialog*) {
    bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, cp1250("łoś"));
    bFunSetText(FDaneUcznia->Imie_DATA_EDIT, "jan");
    FDaneUcznia->Plec_DATA_COMBOBOX->setCurrentIndex(1);
    bFunSetText(FDaneUcznia->UrodzonyMiasto_DATA_COMBOBOX, "Nowe Miasteczko");
    bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, "01");
    FDaneUcznia->OKButtonClick();
    return FDaneUcznia->result();
  };
  FGlowna->DodajUczniaToolButtonClick();
  EXPECT_EQ(script.modalRuns, (std::vector<QDialog*> {FDaneUcznia}));
  EXPECT_EQ(roots(), (std::vector<std::string> {cp1250("łoś Jan")}));
  const Rows rows = stored("PESEL01");
  ASSERT_GE(rows.size(), 9u);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row[0] == "DANE UCZNIA"; }), 9);
  EXPECT_EQ(rows[2], (std::vector<std::string> {"DANE UCZNIA", "Plec_DATA_COMBOBOX", cp1250("mężczyzna")}));
  EXPECT_EQ(rows[7][2], cp1250("łoś"));
  EXPECT_EQ(sqlRows(settingsFile(), "select count(*) from city where name='Nowe Miasteczko'"), (Rows {{"1"}}));
  EXPECT_TRUE(FGlowna->bDataModified);
}

TEST_F(StudentTest, ARefusedOkStillRemembersThePlaces) {
  bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, "");
  bFunSetText(FDaneUcznia->UrodzonyMiasto_DATA_COMBOBOX, "Wola");
  bFunSetText(FDaneUcznia->UrodzonyWoj_DATA_COMBOBOX, "");
  FDaneUcznia->OKButtonClick();
  EXPECT_EQ(sqlRows(settingsFile(), "select count(*) from city where name='Wola'"), (Rows {{"1"}}));
  EXPECT_EQ(sqlRows(settingsFile(), "select count(*) from province where name=''"), (Rows {{"1"}}));
}

TEST_F(StudentTest, AStoredNumberIsOverwrittenOnlyWithConsent) {
  open(makeDocumentFile({{"7", personalRows("Stary", "Adam", "7")}}));
  FDaneUcznia->bEditMode = false;
  bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, "Nowy");
  bFunSetText(FDaneUcznia->Imie_DATA_EDIT, "Ewa");
  FDaneUcznia->Plec_DATA_COMBOBOX->setCurrentIndex(0);
  bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, "7");
  const TShownBox question {cp1250("Uczeń o tym numerze PESEL już istnieje, czy chcesz nadpisać dane tego ucznia ?"),
                            "Zapis", MB_YESNO | MB_ICONWARNING};
  script.answers = {IDNO, IDYES};
  FDaneUcznia->setResult(mrNone);
  FDaneUcznia->OKButtonClick();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {question}));
  EXPECT_EQ(FDaneUcznia->result(), mrNone);
  EXPECT_EQ(stored("PESEL7")[7][2], "Stary");
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Nowy");
  FDaneUcznia->OKButtonClick();
  EXPECT_EQ(stored("PESEL7")[7][2], "Nowy");
  EXPECT_EQ(FDaneUcznia->result(), mrOk);
}

TEST_F(StudentTest, EditingTheNumberMovesTheStudentToItsNewTable) {
  open(makeDocumentFile({{"7", personalRows("Stary", "Adam", "7")}, {"8", personalRows("Inny", "Olek", "8")}}));
  select(1);  // Stary Adam
  ASSERT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Stary");
  script.onShowModal = [](QDialog*) {
    bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, "70");
    FDaneUcznia->OKButtonClick();
    return FDaneUcznia->result();
  };
  FGlowna->EdytujDaneUczniaToolButtonClick();
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL70", "PESEL8"}));
  EXPECT_EQ(stored("PESEL70")[8][2], "70");
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(StudentTest, EditingTheNumberToAnotherStudentsAsksFirst) {
  open(makeDocumentFile({{"7", personalRows("Stary", "Adam", "7")}, {"8", personalRows("Inny", "Olek", "8")}}));
  select(1);
  script.answers = {IDNO};
  script.onShowModal = [](QDialog*) {
    bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, "8");
    FDaneUcznia->OKButtonClick();
    return FDaneUcznia->result() == mrOk ? mrOk : mrCancel;
  };
  FGlowna->EdytujDaneUczniaToolButtonClick();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].caption, "Zapis");
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL7", "PESEL8"}));
  EXPECT_EQ(stored("PESEL8")[7][2], "Inny");
}

TEST_F(StudentTest, AFailedSaveTellsTheUserAndKeepsTheStoredRows) {
  open(makeDocumentFile({{"7", personalRows("Stary", "Adam", "7")}}));
  sqlExec(tmp(), "create view `PESEL99` as select 1");  // a name the new table cannot take
  select(0);
  script.onShowModal = [](QDialog*) {
    bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, "Zmieniony");
    bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, "99");
    FDaneUcznia->OKButtonClick();
    return FDaneUcznia->result() == mrOk ? mrOk : mrCancel;
  };
  FGlowna->EdytujDaneUczniaToolButtonClick();
  ASSERT_FALSE(script.boxes.empty());
  EXPECT_EQ(script.boxes[0], (TShownBox {cp1250("Błąd zapisu danych.\n\nKod błędu: 1"),
                                         cp1250("Błąd"), MB_OK | MB_ICONSTOP}));
  EXPECT_EQ(stored("PESEL7"), personalRows("Stary", "Adam", "7"));
  // Cancelled after the failure: the dialog shows the stored student again.
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Stary");
}

TEST_F(StudentTest, CancelledEditsAreNotSavedByALaterOk) {
  open(makeDocumentFile({{"7", personalRows("Stary", "Adam", "7")}}));
  select(0, 0);
  script.onShowModal = [](QDialog*) {
    bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, "Przypadkowy");
    return mrCancel;
  };
  FGlowna->EdytujDaneUczniaToolButtonClick();
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Stary");
  ASSERT_TRUE(FGlowna->bFunZapiszDaneUcznia());
  EXPECT_EQ(stored("PESEL7")[7][2], "Stary");
}

TEST_F(StudentTest, ClearKeepsTheClassDetailsAndLoadingMapsTheSex) {
  // Any stored sex but "mężczyzna" exactly, an empty one included, is "kobieta".
  const std::pair<const char*, int> sexes[] = {{"mężczyzna", 1}, {"Mężczyzna", 0}, {"", 0}, {"kobieta", 0}};
  for (const auto& [value, index] : sexes) {
    std::vector<TDataRecord> rows;
    for (const auto& r : personalRows("A", "B", "1", cp1250(value))) {
      TDataRecord record;
      record.id = r[0];
      record.comp_name = r[1];
      record.value = r[2];
      rows.push_back(record);
    }
    FDaneUcznia->vFunFormDataFromList(rows);
    EXPECT_EQ(FDaneUcznia->Plec_DATA_COMBOBOX->currentIndex(), index) << value;
  }
  FDaneUcznia->Plec_DATA_COMBOBOX->setCurrentIndex(1);
  FDaneUcznia->vFunClearFormData();
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "");
  EXPECT_EQ(text(FDaneUcznia->NrPesel_DATA_EDIT), "");
  EXPECT_EQ(text(FDaneUcznia->UrodzonyRok_DATA_COMBOBOX), "2001 r.");
  EXPECT_EQ(text(FDaneUcznia->UrodzonyMiasto_DATA_COMBOBOX), cp1250("Kraków"));
  EXPECT_EQ(text(FDaneUcznia->UrodzonyWoj_DATA_COMBOBOX), cp1250("małopolskie"));
  EXPECT_EQ(FDaneUcznia->Plec_DATA_COMBOBOX->currentIndex(), 1);
}

TEST_F(StudentTest, TheDialogOffersTheStoredPlacesAtEveryShow) {
  bFunStudentDataAddCity(&FGlowna->DataStore, "Zakopane");
  script.onShowModal = [](QDialog*) { return mrCancel; };
  bFunSetText(FDaneUcznia->UrodzonyMiasto_DATA_COMBOBOX, "wpisane");
  FDaneUcznia->ShowModal();
  EXPECT_GE(FDaneUcznia->UrodzonyMiasto_DATA_COMBOBOX->findText("Zakopane"), 0);
  EXPECT_EQ(FDaneUcznia->UrodzonyWoj_DATA_COMBOBOX->count(), 16);
  EXPECT_EQ(text(FDaneUcznia->UrodzonyMiasto_DATA_COMBOBOX), "wpisane");
}

TEST_F(StudentTest, EditingAStudentWhoseRowsCannotBeReadTouchesNoTable) {
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ola", "1")}, {"2", personalRows("Baran", "Piotr", "2")}}));
  select(0);
  sqlExec(tmp(), "drop table `PESEL2`");
  select(1);  // fails: the holders still show Adamska
  script.boxes.clear();
  script.answers = {IDYES, IDYES};
  script.onShowModal = [](QDialog*) {
    FDaneUcznia->OKButtonClick();
    return FDaneUcznia->result();
  };
  FGlowna->EdytujDaneUczniaToolButtonClick();
  EXPECT_TRUE(script.modalRuns.empty());
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, cp1250("Błąd podczas próby wczytania danych.\n\nTablica nie istnieje: \nPESEL2"));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1"}));
}

TEST_F(HoldersTest, ADocumentEditedAndCancelledIsSelectedAgainWithItsStoredValues) {
  open(makeDocumentFile({{"6", personalRows("Zych", "Ala", "6")}, {"5", expected}}));
  select(0, 2);  // Zieba Iga, "MEN-I/21a/2 świad. klasa II"
  auto* field = FKlasa2a->findComponentAs<QLineEdit>(ownField(FKlasa2a));
  script.answers = {IDNO};  // no school template now
  script.onShowModal = [field](QDialog* dialog) {
    EXPECT_EQ(dialog, FKlasa2a);
    bFunSetText(field, "typed and cancelled");
    return mrCancel;
  };
  FGlowna->EdytujSwiadectwoToolButtonClick();
  ASSERT_NE(FGlowna->TreeView->currentItem(), nullptr);
  EXPECT_EQ(FGlowna->strFunNazwaZDrzewa(1), "Zieba Iga");
  EXPECT_EQ(FGlowna->strFunNazwaZDrzewa(0), cp1250("MEN-I/21a/2 świad. klasa II"));
  EXPECT_EQ(text(field), "it's TFKlasa2a");
  EXPECT_EQ(stored("PESEL5"), expected);
}

TEST_F(StudentTest, TheTemplateOfferComesBeforeTheMissingDocument) {
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ola", "1")}}));
  select(0);
  script.answers = {IDNO};
  FGlowna->EdytujSwiadectwoToolButtonClick();
  EXPECT_EQ(script.boxes,
            (std::vector<TShownBox> {
                {cp1250("Szablon danych szkoły nie został jeszcze utworzony.\nCzy chcesz utworzyć szablon teraz ?"),
                 "Szablon", MB_YESNO | MB_ICONQUESTION},
                {cp1250("Nie wybrano świadectwa z listy"), "Brak wyboru", MB_OK | MB_ICONWARNING}}));
  EXPECT_TRUE(FGlowna->bDataModified);
}

TEST_F(StudentTest, ANewStudentKeepsTheClassDetailsAndStartsTheEndings) {
  open(makeDocumentFile({{"1", personalRows("Adamski", "Olek", "1", cp1250("mężczyzna"))}}));
  select(0);
  auto* noEnding = FKlasa1awyr->findComponentAs<QLineEdit>("ZMIENNA_OtrzymalA_STR1_DATA_EDIT");
  ASSERT_NE(noEnding, nullptr);
  bFunSetText(noEnding, "x");
  script.onShowModal = [](QDialog*) { return mrCancel; };
  FGlowna->DodajUczniaToolButtonClick();
  // The certificates without distinction after classes I and II start with
  // the ending of "promocję"; those with distinction have no such field.
  for (TDocumentForm* form : std::vector<TDocumentForm*> {FKlasa1a, FKlasa2a})
    EXPECT_EQ(strFunGetText(form->findComponent("ZMIENNA_PromocjiE_STR1_DATA_EDIT")), cp1250("ę"));
  EXPECT_EQ(FKlasa1awyr->findComponent("ZMIENNA_PromocjiE_STR1_DATA_EDIT"), nullptr);
  EXPECT_EQ(text(noEnding), "");
  EXPECT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "");
  EXPECT_EQ(FDaneUcznia->Plec_DATA_COMBOBOX->currentIndex(), 1);
  EXPECT_EQ(text(FDaneUcznia->UrodzonyRok_DATA_COMBOBOX), "2001 r.");
  EXPECT_FALSE(FDaneUcznia->bEditMode);
}

// ------------------------------------------------------------------ the tree after a save

// All the tree shows: each node's text, student and state, what is current
// and selected, where it is scrolled; and the student list behind it.
struct TTreeView {
  std::vector<std::string> nodes;
  std::vector<std::pair<std::string, std::string>> list;
  bool operator==(const TTreeView&) const = default;
};

TTreeView treeView() {
  TTreeView view;
  QTreeWidget* tree = FGlowna->TreeView;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* student = tree->topLevelItem(i);
    view.nodes.push_back(student->text(0).toStdString() + " | " + student->data(0, Qt::UserRole).toByteArray().toStdString() +
                         (student->isExpanded() ? " | expanded" : "") + (student->isSelected() ? " | selected" : ""));
    for (int c = 0; c < student->childCount(); ++c)
      view.nodes.push_back("  " + student->child(c)->text(0).toStdString() +
                           (student->child(c)->isSelected() ? " | selected" : ""));
  }
  view.nodes.push_back("current: " + (tree->currentItem() ? tree->currentItem()->text(0).toStdString() : "none"));
  view.nodes.push_back("scrolled: " + std::to_string(tree->verticalScrollBar()->value()));
  for (const TStudentListRecord& s : FGlowna->StudentsList) view.list.emplace_back(s.DisplayName.str(), s.TableName.str());
  return view;
}

// A save shows the tree a reload of the whole working copy would show: the
// saved student in its place by its (new) name, after its namesakes, its
// former table gone, nothing selected or expanded, at the top.
TEST_F(StudentTest, AfterASaveTheTreeIsTheOneAWholeReloadShows) {
  struct TCase {
    const char* what;
    int student;  // in the tree's order before the save
    const char* surname;
    const char* pesel;
    bool newStudent;
    std::vector<const char*> order;  // the tree's students afterwards
  };
  const TCase cases[] = {
      {"saved as it was, after its namesake of an equal key", 0, "Labedz", "2", false,
       {"Łabędź Ewa", "Labedz Ewa", "Lis Anna", "Wolny Jan", "Zych Ala", "Érdi Anna"}},
      {"renamed, moving to the top", 4, "Adamska", "1", false,
       {"Adamska Ala", "Labedz Ewa", "Łabędź Ewa", "Lis Anna", "Wolny Jan", "Érdi Anna"}},
      {"renamed, moving down", 0, "Żak", "2", false,
       {"Łabędź Ewa", "Lis Anna", "Wolny Jan", "Żak Ewa", "Zych Ala", "Érdi Anna"}},
      {"a new PESEL number", 2, "Lis", "77", false,
       {"Labedz Ewa", "Łabędź Ewa", "Lis Anna", "Wolny Jan", "Zych Ala", "Érdi Anna"}},
      {"a new student between the others", 0, "Łukasik", "55", true,
       {"Labedz Ewa", "Łabędź Ewa", "Lis Anna", "Łukasik Olga", "Wolny Jan", "Zych Ala", "Érdi Anna"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    open(makeDocumentFile({{"1", personalRows("Zych", "Ala", "1")},
                           {"2", personalRows("Labedz", "Ewa", "2")},
                           {"3", personalRows(cp1250("Łabędź"), "Ewa", "3")},
                           {"4", personalRows("Lis", "Anna", "4")},
                           {"9", personalRows("Wolny", "Jan", "9")},
                           {"5", personalRows(cp1250("Érdi"), "Anna", "5")}},
                          std::string("klasa ") + std::to_string(&c - cases) + ".sqtvk"));
    ASSERT_EQ(roots(), (std::vector<std::string> {cp1250("Labedz Ewa"), cp1250("Łabędź Ewa"), "Lis Anna",
                                                   "Wolny Jan", "Zych Ala", cp1250("Érdi Anna")}));
    script.boxes.clear();  // the offer to save the document before
    // The user has looked around: nodes open, one selected.
    FGlowna->TreeView->topLevelItem(3)->setExpanded(true);
    FGlowna->TreeView->topLevelItem(5)->setExpanded(true);
    select(c.student, 2);
    TTreeView saved;
    std::vector<std::string> savedRoots;
    script.onShowModal = [&](QDialog*) {
      if (c.newStudent) bFunSetText(FDaneUcznia->Imie_DATA_EDIT, "Olga");
      bFunSetText(FDaneUcznia->Nazwisko_DATA_EDIT, cp1250(c.surname));
      bFunSetText(FDaneUcznia->NrPesel_DATA_EDIT, c.pesel);
      if (c.newStudent) FDaneUcznia->Plec_DATA_COMBOBOX->setCurrentIndex(0);
      FDaneUcznia->OKButtonClick();
      saved = treeView();
      savedRoots = roots();
      return FDaneUcznia->result();
    };
    if (c.newStudent)
      FGlowna->DodajUczniaToolButtonClick();
    else
      FGlowna->EdytujDaneUczniaToolButtonClick();
    ASSERT_EQ(FDaneUcznia->result(), mrOk);
    std::vector<std::string> order;
    for (const char* name : c.order) order.push_back(cp1250(name));
    EXPECT_EQ(savedRoots, order);
    ASSERT_TRUE(FGlowna->bFunWczytajListeUczniow());
    EXPECT_EQ(saved, treeView());
    EXPECT_TRUE(script.boxes.empty());
  }
}

TEST_F(HoldersTest, AStudentLoadedAfterAnotherShowsWhatItShowsLoadedAlone) {
  Rows other = personalRows("Zych", "Ala", "6", cp1250("mężczyzna"));
  for (const auto& row : expected)
    if (row[0] != "DANE UCZNIA") other.push_back({row[0], row[1], row[1].find("Uwagi") != std::string::npos ? "inna" : row[2]});
  open(makeDocumentFile({{"5", expected}, {"6", other}}));
  // Every component of the holders: its text, and where an edit's or a
  // memo's cursor stands, whether it is modified or has anything to undo.
  auto shown = [] {
    std::vector<std::string> fields;
    auto add = [&](const TComponentRegistry& form) {
      for (int i = 0; i < form.ComponentCount(); ++i) {
        QObject* o = form.Components(i);
        std::string state = form.ComponentName(i).toStdString() + "=" + strFunGetText(o);
        if (auto* edit = qobject_cast<QLineEdit*>(o))
          state += " @" + std::to_string(edit->cursorPosition()) + (edit->isModified() ? " modified" : "") +
                   (edit->isUndoAvailable() ? " undo" : "") + (edit->hasSelectedText() ? " selection" : "");
        if (auto* combo = qobject_cast<QComboBox*>(o)) state += " #" + std::to_string(combo->currentIndex());
        if (auto* memo = qobject_cast<QPlainTextEdit*>(o))
          state += " @" + std::to_string(memo->textCursor().position()) +
                   (memo->document()->isUndoAvailable() ? " undo" : "");
        fields.push_back(state);
      }
    };
    add(*FDaneUcznia);
    for (TDocumentForm* form : vFunDocumentForms()) add(*form);
    return fields;
  };
  auto loadedAlone = [&](int student) {
    FDaneUcznia->vFunClearFormData();
    for (TDocumentForm* form : vFunDocumentForms()) form->vFunClearFormData();
    FGlowna->TreeView->setCurrentItem(nullptr);
    select(student);
    return shown();
  };
  const auto zieba = loadedAlone(0), zych = loadedAlone(1);
  ASSERT_NE(zieba, zych);
  // One after the other, with the cursor moved in a field both share.
  select(0);
  auto* edit = FKlasa2a->findComponentAs<QLineEdit>(ownField(FKlasa2a));
  ASSERT_NE(edit, nullptr);
  edit->setCursorPosition(0);
  select(1);
  EXPECT_EQ(shown(), zych);
  select(0);
  EXPECT_EQ(shown(), zieba);
}
