// The school-template dialog: its edits, the stored template it shows,
// stores and keeps, and the ways the main window opens it.
#include "AppFixture.h"
#include "support/FormReference.h"

#include "app/DaneSzkoly.h"
#include "forms/DocumentForm.h"
#include "forms/DocumentForms.h"
#include "platform/Platform.h"
#include "toolkit/Components.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

// The dialog's edits as the stored rows name them, in creation order, with
// the number of characters the user can type into each (0: no limit).
const std::pair<const char*, int> kEdits[] = {
    {"ZMIENNA_SzkolaWoj_DATA_EDIT", 32},           {"ZMIENNA_SzkolaWE_DATA_EDIT", 30},
    {"ZMIENNA_SzkolaMiasto_DATA_EDIT", 30},        {"ZMIENNA_RokSzkolny2_DATA_EDIT", 4},
    {"ZMIENNA_RokSzkolny1_DATA_EDIT", 4},          {"ZMIENNA_PrzedUz3_DATA_EDIT", 40},
    {"ZMIENNA_PrzedUz2_DATA_EDIT", 40},            {"ZMIENNA_PrzedUz1_DATA_EDIT", 40},
    {"ZMIENNA_Przedmiot4_STR1_DATA_EDIT", 31},     {"ZMIENNA_Przedmiot3_STR1_DATA_EDIT", 32},
    {"ZMIENNA_Przedmiot2_STR1_DATA_EDIT", 31},     {"ZMIENNA_Przedmiot1_STR1_DATA_EDIT", 32},
    {"ZMIENNA_PromocjaDoKlasy_DATA_EDIT", 32},     {"ZMIENNA_ObowiazkoweEdu3_DATA_EDIT", 40},
    {"ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", 40},     {"ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", 40},
    {"ZMIENNA_NrTarvek_DATA_EDIT", 57},            {"ZMIENNA_MiejscowoscRok_DATA_EDIT", 4},
    {"ZMIENNA_MiejscowoscDnia_DATA_EDIT", 20},     {"ZMIENNA_Miejscowosc_DATA_EDIT", 34},
    {"ZMIENNA_TarvekImienia2_DATA_EDIT", 57},      {"ZMIENNA_TarvekImienia1_DATA_EDIT", 57},
    {"ZMIENNA_Tarvek2_DATA_EDIT", 72},             {"ZMIENNA_Tarvek1_DATA_EDIT", 64},
    {"ZMIENNA_Klasa_DATA_EDIT", 18},               {"ZMIENNA_JObcy2_DATA_EDIT", 35},
    {"ZMIENNA_JObcy1_DATA_EDIT", 35},              {"ZMIENNA_DodatkoweEdu3_DATA_EDIT", 40},
    {"ZMIENNA_DodatkoweEdu2_DATA_EDIT", 40},       {"ZMIENNA_DodatkoweEdu1_DATA_EDIT", 40},
    {"ZMIENNA_SzkolaNiepubliczna3_DATA_EDIT", 0},  {"ZMIENNA_SzkolaNiepubliczna2_DATA_EDIT", 0},
    {"ZMIENNA_NazwaSzkoly1_DATA_EDIT", 0},         {"ZMIENNA_NazwaSzkoly2_DATA_EDIT", 0},
    {"ZMIENNA_NazwaSzkoly3_DATA_EDIT", 0},         {"ZMIENNA_SzkolaNiepubliczna1_DATA_EDIT", 0},
    {"ZMIENNA_SzkolaNiepubliczna4_DATA_EDIT", 0},  {"ZMIENNA_SzkolaNiepubliczna5_DATA_EDIT", 0},
    {"ZMIENNA_SzkolaNiepubliczna6_DATA_EDIT", 0},
};
constexpr int kFirstTabEdits = 30;

void type(QWidget* widget, int count) {
  for (int i = 0; i < count; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(widget, &press);
  }
}

class SchoolTemplateTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    platform::setUtcClock([] {
      platform::UtcTime t;
      t.year = 2031;
      t.month = 1;
      t.day = 1;  // just past the new year, the earliest moment of 2031
      return t;
    });
    start();
    script.boxes.clear();
  }
  void TearDown() override {
    platform::setUtcClock({});
    AppTest::TearDown();
  }

  std::string templateFile() const { return dirs.data() + "/szablony.sqset"; }
  QObject* edit(const std::string& name) const { return FDaneSzkoly->findComponent(name); }
  std::string text(const std::string& name) const { return strFunGetText(edit(name)); }
  void set(const std::string& name, const std::string& value) const { bFunSetText(edit(name), value); }
  int offerSetting() const {
    return std::stoi(
        sqlRows(settingsFile(), "select int_value from settings where name = 'create_school_data_template'").at(0).at(0));
  }
  // Shows the dialog as a modal run does and answers it with what `act` does.
  int show(const std::function<void()>& act) {
    script.onShowModal = [&](QDialog* d) {
      d->setResult(mrNone);
      act();
      return d->result();
    };
    const int result = FDaneSzkoly->ShowModal();
    script.onShowModal = nullptr;
    return result;
  }
  // A template file with these rows (id, comp_name, value) in this order.
  void storeRows(const std::vector<std::vector<std::string>>& rows) const {
    sqlExec(templateFile(), "create table `school_data`( id TEXT, comp_name TEXT, value TEXT )");
    for (const auto& r : rows)
      sqlExec(templateFile(), "insert into `school_data` values('" + r[0] + "', '" + r[1] + "', '" + r[2] + "')");
  }
  std::vector<std::vector<std::string>> storedRows() const {
    return sqlRows(templateFile(), "select id, comp_name, value from `school_data` order by rowid");
  }
};

}  // namespace

TEST_F(SchoolTemplateTest, TheEditsAreMadeInTheirOrderWithTheirTypingLimitsOnTheirTabs) {
  std::vector<std::string> made;
  for (int i = 0; i < FDaneSzkoly->ComponentCount(); ++i)
    if (FDaneSzkoly->ComponentName(i).contains("_DATA_")) made.push_back(FDaneSzkoly->ComponentName(i).toStdString());
  std::vector<std::string> expected;
  for (const auto& [name, limit] : kEdits) expected.push_back(name);
  EXPECT_EQ(made, expected);

  int index = 0;
  for (const auto& [name, limit] : kEdits) {
    auto* e = qobject_cast<QLineEdit*>(edit(name));
    ASSERT_NE(e, nullptr) << name;
    type(e, 80);
    EXPECT_EQ(e->text().size(), limit ? limit : 80) << name;
    QWidget* tab = index++ < kFirstTabEdits ? FDaneSzkoly->TabSheet1 : FDaneSzkoly->TabSheet2;
    EXPECT_TRUE(tab->isAncestorOf(e)) << name;
  }
}

TEST_F(SchoolTemplateTest, TheWindowItsTabsAndTheDocumentList) {
  EXPECT_EQ(FDaneSzkoly->windowTitle(), q("Szablon danych"));
  EXPECT_EQ(FDaneSzkoly->size(), QSize(672, 685));
  ASSERT_EQ(FDaneSzkoly->PageControl1->count(), 2);
  EXPECT_EQ(FDaneSzkoly->PageControl1->tabText(0), q("Szablon danych szkoły"));
  EXPECT_EQ(FDaneSzkoly->PageControl1->tabText(1), q("Szablon strony głównej arkusza ocen"));
  EXPECT_EQ(FDaneSzkoly->PageControl1->currentWidget(), FDaneSzkoly->TabSheet2);
  EXPECT_EQ(FDaneSzkoly->OKButton->text(), q("OK"));
  EXPECT_EQ(FDaneSzkoly->AnulujButton->text(), q("Anuluj"));
  EXPECT_EQ(FDaneSzkoly->LoadTemplateButton->text(), q("Wczytaj dane ze świadectwa / arkusza"));
  EXPECT_FALSE(FDaneSzkoly->Image1->Picture().isNull());
  EXPECT_FALSE(FDaneSzkoly->Image2->Picture().isNull());

  // Each item takes the school data of one form: the forms the reference
  // table offers, in protocol order, under their document names.
  std::vector<const TFormReference*> items;
  for (const TFormReference& r : kFormReference)
    if (r.schoolTemplate) items.push_back(&r);
  const int count = static_cast<int>(items.size());
  QComboBox* list = FDaneSzkoly->DocTypeComboBox;
  EXPECT_FALSE(list->isEditable());
  ASSERT_EQ(list->count(), count);
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(list->itemText(i), q(items[i]->documentName)) << i;
    TDocumentForm* form = TFDaneSzkoly::frmFunTemplateSource(i);
    ASSERT_NE(form, nullptr) << i;
    EXPECT_STREQ(form->Identity.className, items[i]->className) << i;
  }
  EXPECT_EQ(TFDaneSzkoly::frmFunTemplateSource(-1), nullptr);
  EXPECT_EQ(TFDaneSzkoly::frmFunTemplateSource(count), nullptr);

  // With no item chosen the button takes nothing.
  set("ZMIENNA_Klasa_DATA_EDIT", "3c");
  list->setCurrentIndex(-1);
  FDaneSzkoly->LoadTemplateButtonClick();
  EXPECT_EQ(text("ZMIENNA_Klasa_DATA_EDIT"), "3c");
}

TEST_F(SchoolTemplateTest, TheFirstShowGivesTheSchoolYearOfTheClockAndStopsTheOffer) {
  ASSERT_EQ(offerSetting(), 1);
  FDaneSzkoly->DocTypeComboBox->setCurrentIndex(5);
  set("ZMIENNA_Tarvek1_DATA_EDIT", "typed before");
  EXPECT_EQ(show([] { FDaneSzkoly->AnulujButtonClick(); }), mrCancel);

  EXPECT_TRUE(script.boxes.empty());  // a new template file has no table yet, which is no error
  for (const auto& [name, limit] : kEdits) {
    const std::string expected = std::string(name) == "ZMIENNA_RokSzkolny1_DATA_EDIT"   ? "2030"
                                 : std::string(name) == "ZMIENNA_RokSzkolny2_DATA_EDIT" ? "2031"
                                                                                        : "";
    EXPECT_EQ(text(name), expected) << name;
  }
  EXPECT_EQ(FDaneSzkoly->DocTypeComboBox->currentIndex(), 0);
  EXPECT_EQ(offerSetting(), 0);
  EXPECT_TRUE(sqlRows(templateFile(), "select name from sqlite_master").empty());  // Anuluj stores nothing
}

TEST_F(SchoolTemplateTest, OkStoresEveryEditAndTheNextShowBringsItBack) {
  const std::string polish = cp1250("Zespół Szkół im. Ś. O'Briena");
  EXPECT_EQ(show([&] {
              set("ZMIENNA_Tarvek1_DATA_EDIT", polish);
              set("ZMIENNA_RokSzkolny1_DATA_EDIT", "1999");
              set("ZMIENNA_NazwaSzkoly3_DATA_EDIT", "third line");
              FDaneSzkoly->OKButtonClick();
            }),
            mrOk);
  EXPECT_TRUE(script.boxes.empty());

  std::vector<std::vector<std::string>> expected;
  for (const auto& [name, limit] : kEdits) {
    const std::string n = name;
    const std::string value = n == "ZMIENNA_Tarvek1_DATA_EDIT"       ? polish
                              : n == "ZMIENNA_RokSzkolny1_DATA_EDIT" ? "1999"
                              : n == "ZMIENNA_RokSzkolny2_DATA_EDIT" ? "2031"
                              : n == "ZMIENNA_NazwaSzkoly3_DATA_EDIT" ? "third line"
                                                                     : "";
    expected.push_back({"DANE SZKOLY", n, value});
  }
  EXPECT_EQ(storedRows(), expected);

  // The next show: typed and cancelled is gone, the stored template is back,
  // and a stored year is kept.
  show([&] {
    set("ZMIENNA_Tarvek1_DATA_EDIT", "typed");
    FDaneSzkoly->AnulujButtonClick();
  });
  show([] {});
  EXPECT_EQ(text("ZMIENNA_Tarvek1_DATA_EDIT"), polish);
  EXPECT_EQ(text("ZMIENNA_RokSzkolny1_DATA_EDIT"), "1999");
  EXPECT_EQ(text("ZMIENNA_NazwaSzkoly3_DATA_EDIT"), "third line");
  EXPECT_EQ(storedRows(), expected);
}

TEST_F(SchoolTemplateTest, LoadingMatchesRowsByNameAloneAndEmptyYearsGetTheirDefaults) {
  storeRows({{"DANE SZKOLY", "ZMIENNA_RokSzkolny1_DATA_EDIT", ""},
             {"DANE SZKOLY", "ZMIENNA_RokSzkolny2_DATA_EDIT", "2017"},
             {"INNY", "zmienna_klasa_data_edit", "2b"},  // any tag; names ignore letter case
             {"DANE SZKOLY", "ZMIENNA_Nieznane_DATA_EDIT", "nowhere"},
             {"DANE SZKOLY", "OKButton", "not an edit"}});
  show([] {});
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(text("ZMIENNA_RokSzkolny1_DATA_EDIT"), "2030");
  EXPECT_EQ(text("ZMIENNA_RokSzkolny2_DATA_EDIT"), "2017");
  EXPECT_EQ(text("ZMIENNA_Klasa_DATA_EDIT"), "2b");
  EXPECT_EQ(FDaneSzkoly->OKButton->text(), q("OK"));

  // A load into the hidden dialog, as a form's fill does it: edits that no
  // row names keep their text.
  set("ZMIENNA_Tarvek1_DATA_EDIT", "kept");
  EXPECT_TRUE(FDaneSzkoly->bFunLoadTemplate());
  EXPECT_EQ(text("ZMIENNA_Tarvek1_DATA_EDIT"), "kept");
  EXPECT_EQ(text("ZMIENNA_RokSzkolny1_DATA_EDIT"), "");
}

TEST_F(SchoolTemplateTest, AnUnreadableTemplateIsReportedAndChangesNoEdit) {
  writeText(utf8(templateFile()), std::string(4096, 'x'));  // not an SQLite file
  set("ZMIENNA_Tarvek1_DATA_EDIT", "kept");
  EXPECT_FALSE(FDaneSzkoly->bFunLoadTemplate());
  EXPECT_EQ(text("ZMIENNA_Tarvek1_DATA_EDIT"), "kept");
  ASSERT_EQ(script.boxes.size(), 1u);
  const TShownBox& box = script.boxes[0];
  EXPECT_EQ(box.text, cp1250("Błąd podczas odczytu danych.\n\n") + FGlowna->DataStore.ErrorStream.str());
  EXPECT_EQ(FGlowna->DataStore.ErrorStream.str().rfind("SqlException\n", 0), 0u);
  EXPECT_EQ(box.caption, cp1250("Błąd"));
  EXPECT_EQ(box.flags, MB_OK | MB_ICONSTOP);

  // At show the edits are empty and the years take their defaults.
  script.boxes.clear();
  show([] {});
  EXPECT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(text("ZMIENNA_Tarvek1_DATA_EDIT"), "");
  EXPECT_EQ(text("ZMIENNA_RokSzkolny1_DATA_EDIT"), "2030");
  EXPECT_EQ(offerSetting(), 0);
}

TEST_F(SchoolTemplateTest, AnOkThatCannotStoreKeepsTheDialogOpenWithWhatWasTyped) {
  writeText(utf8(templateFile()), std::string(4096, 'x'));
  const int result = show([&] {
    script.boxes.clear();
    set("ZMIENNA_Klasa_DATA_EDIT", "1a");
    FDaneSzkoly->OKButtonClick();
  });
  EXPECT_EQ(result, mrNone);
  EXPECT_EQ(text("ZMIENNA_Klasa_DATA_EDIT"), "1a");
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text,
            cp1250("Błąd podczas próby zapisania danych do pliku.\n\n") + FGlowna->DataStore.ErrorStream.str());
  EXPECT_FALSE(FGlowna->DataStore.ErrorStream.str().empty());
  EXPECT_EQ(script.boxes[0].caption, cp1250("Błąd"));
  EXPECT_EQ(script.boxes[0].flags, MB_OK | MB_ICONSTOP);
}

TEST_F(SchoolTemplateTest, TheMenuCommandAndTheToolButtonShowTheDialog) {
  script.onShowModal = [](QDialog*) { return mrCancel; };
  FGlowna->findComponentAs<QAction>("Szablondanychszkoy1")->trigger();
  FGlowna->ToolButton11->click();
  EXPECT_EQ(script.modalRuns, (std::vector<QDialog*> {FDaneSzkoly, FDaneSzkoly}));
}

TEST_F(SchoolTemplateTest, TheOfferBeforeEditingADocumentOpensTheDialogOnce) {
  script.onShowModal = [](QDialog*) { return mrCancel; };
  const TShownBox offer {
      cp1250("Szablon danych szkoły nie został jeszcze utworzony.\nCzy chcesz utworzyć szablon teraz ?"), "Szablon",
      MB_YESNO | MB_ICONQUESTION};
  const TShownBox noDocument {cp1250("Nie wybrano świadectwa z listy"), cp1250("Brak wyboru"),
                              MB_OK | MB_ICONWARNING};
  script.answers = {IDYES};
  FGlowna->EdytujSwiadectwoToolButtonClick();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {offer, noDocument}));
  EXPECT_EQ(script.modalRuns, (std::vector<QDialog*> {FDaneSzkoly}));
  EXPECT_EQ(offerSetting(), 0);

  // Once the dialog has been shown, even cancelled, the offer is not made again.
  script.boxes.clear();
  FGlowna->EdytujSwiadectwoToolButtonClick();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {noDocument}));
  EXPECT_EQ(script.modalRuns.size(), 1u);
}

// The forms' template buttons read the stored template through the hidden
// dialog: the record sheet's title page empties the dialog first, the meeting
// sheet reads over what the dialog holds, so a field the stored template
// lacks keeps the dialog's text there and nothing is emptied.
TEST_F(SchoolTemplateTest, TheMeetingSheetsTemplateButtonEmptiesNothingBeforeTheRead) {
  storeRows({{"DANE SZKOLY", "ZMIENNA_Klasa_DATA_EDIT", "2b"},
             {"DANE SZKOLY", "ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", "etyka"},
             {"DANE SZKOLY", "ZMIENNA_NazwaSzkoly1_DATA_EDIT", "Liceum"}});
  set("ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", cp1250("muzyka ćwiczenia"));  // no row: the dialog's text
  set("ZMIENNA_NazwaSzkoly2_DATA_EDIT", "im. Kopernika");

  TDocumentForm* sheet = frmFunFormOfClass("TFWywiadowka");
  ASSERT_NE(sheet, nullptr);
  bFunSetText(sheet->findComponent("ZMIENNA_Dodatkowy2_DATA_EDIT"), "typed");
  qobject_cast<QPushButton*>(sheet->findComponent("SzablonButton"))->click();
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(strFunGetText(sheet->findComponent("ZMIENNA_Klasa_DATA_EDIT")), "2b");
  EXPECT_EQ(strFunGetText(sheet->findComponent("ZMIENNA_Dodatkowy1_DATA_EDIT")), "etyka");
  EXPECT_EQ(strFunGetText(sheet->findComponent("ZMIENNA_Dodatkowy2_DATA_EDIT")), cp1250("muzyka ćwiczenia"));
  EXPECT_EQ(text("ZMIENNA_NazwaSzkoly2_DATA_EDIT"), "im. Kopernika");

  // The title page's button empties the dialog first: the line the template
  // lacks comes out empty.
  TDocumentForm* title = frmFunFormOfClass("TFArkuszStr1b");
  ASSERT_NE(title, nullptr);
  qobject_cast<QPushButton*>(title->findComponent("WczytajSzablonButton"))->click();
  EXPECT_EQ(strFunGetText(title->findComponent("ZMIENNA_NazwaSzkoly1_DATA_EDIT")), "Liceum");
  EXPECT_EQ(strFunGetText(title->findComponent("ZMIENNA_NazwaSzkoly2_DATA_EDIT")), "");
  EXPECT_EQ(text("ZMIENNA_ObowiazkoweEdu2_DATA_EDIT"), "");
}

// The blank's words beside the edits, as the template's fields name them.
TEST_F(SchoolTemplateTest, TheBlanksWordsStandBesideTheEdits) {
  std::vector<std::string> shown;
  for (QLabel* label : FDaneSzkoly->findChildren<QLabel*>()) shown.push_back(label->text().toStdString());
  const char* words[] = {"woj.", "nr", "im.", "do klasy", "język", "uczęszczała/uczęszczał w roku szkolnym",
                         "otrzymała/otrzymał promocję do klasy", "i realizował(a) przedmioty:",
                         "Obowiązkowe zajęcia edukacyjne:", "Dodatkowe zajęcia edukacyjne:",
                         "Przedmioty uzupełniające:", "( nazwa tarvek ogólnokształcącego )", "(miejscowość)",
                         "dnia", "r", "(nazwa szkoły)", "pod nr", "decyzją nr", "z dnia",
                         "Szkoła jest wpisana do ewidencji szkół niepublicznych prowadzonej przez"};
  for (const char* word : words)
    EXPECT_NE(std::find(shown.begin(), shown.end(), std::string(word)), shown.end()) << word;
  for (const char* wrong : {"( miejscowość )", "( nazwa szkoły )", ", dnia", "r."})
    EXPECT_EQ(std::find(shown.begin(), shown.end(), std::string(wrong)), shown.end()) << wrong;
}
