// The preview pages show only what belongs to the selected node of the open
// file's tree: whatever replaces the document (another file, an import) or
// rebuilds the tree leaves them showing nothing; a new document shows the
// empty first certificate on its blank.
#include "StudentFixture.h"

#include "forms/DocumentForms.h"
#include "render/RecordingDevice.h"
#include "support/TvkText.h"

#include <QAction>
#include <QPicture>
#include <QTabWidget>

#include <fstream>
#include <functional>

namespace {

class PreviewsTest : public StudentTest {
 protected:
  // Both pages show nothing but the grey of their boxes.
  static void expectNothingShown(const std::string& after) {
    for (TImage* image : {FGlowna->Image1, FGlowna->Image2}) {
      EXPECT_TRUE(image->Picture().isNull()) << after;
      EXPECT_EQ(image->size(), QSize(0, 0)) << after;
    }
  }
  // Nowak's class I certificate (the first document of the tree) in the preview.
  void previewNowak(const std::string& file) {
    open(makeDocumentFile({{"90010112345", personalRows("Nowak", "Anna", "90010112345")}}, file));
    select(0, 0);
    ASSERT_FALSE(FGlowna->Image1->Picture().isNull());
    ASSERT_GT(FGlowna->Image1->width(), 0);
    FGlowna->bDataModified = false;
    script.boxes.clear();
  }
};

}  // namespace

TEST_F(PreviewsTest, ReplacingTheDocumentLeavesNothingOfThePreviousStudentInThePreview) {
  const std::string other =
      makeDocumentFile({{"2", personalRows(cp1250("Żółć"), cp1250("Łucja"), "2")}}, cp1250("inna klasa ąę.sqtvk"));
  const std::string source = documentPath(cp1250("uczniowie ślązacy.tvk"));
  {
    std::ofstream out(cp1250ToUtf8(source), std::ios::binary);
    out << tvkText(tvkStudent("Adamski", "Jan", "6"));
  }
  const struct {
    const char* command;
    std::function<void()> run;
    bool emptyCertificate;  // the empty first certificate in place of nothing
  } cases[] = {
      {"Otwórz plik",
       [&] {
         script.fileNames.push_back(chosenName(other));
         FGlowna->OtworzPlikToolButtonClick();
       },
       false},
      {"Nowy plik", [&] { FGlowna->NowyPlikToolButtonClick(); }, true},
      {"Importuj",
       [&] {
         script.fileNames.push_back(chosenName(source));
         FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
       },
       false},
  };
  int n = 0;
  for (const auto& c : cases) {
    previewNowak("klasa" + std::to_string(++n) + ".sqtvk");
    c.run();
    EXPECT_TRUE(script.boxes.empty()) << c.command;
    EXPECT_EQ(FGlowna->TreeView->currentItem(), nullptr) << c.command;
    if (!c.emptyCertificate) {
      expectNothingShown(c.command);
      continue;
    }
    // Both sides of the empty "MEN-I/21/2" certificate: what its own render
    // of the cleared form shows, nothing of Nowak's.
    const QImage side1 = FGlowna->Image1->Picture(), side2 = FGlowna->Image2->Picture();
    ASSERT_FALSE(side1.isNull()) << c.command;
    ASSERT_FALSE(side2.isNull()) << c.command;
    EXPECT_TRUE(FGlowna->PageControl->isTabVisible(FGlowna->PageControl->indexOf(FGlowna->TabSheet2)));
    TDocumentForm* first = frmFunFormOfKind(dkKlasaI);
    first->vFunClearFormData();
    ASSERT_TRUE(FGlowna->vFunRysujSwiadectwo(first, false, dkKlasaI, 2));
    EXPECT_EQ(FGlowna->Image1->Picture(), side1) << c.command;
    EXPECT_EQ(FGlowna->Image2->Picture(), side2) << c.command;
  }
}

TEST_F(PreviewsTest, AStudentNodeShowsNoOtherStudentsDocument) {
  open(makeDocumentFile({{"1", personalRows("Adamska", "Ewa", "1")}, {"2", personalRows("Bielska", "Ola", "2")}}));
  select(0, 0);
  const QImage adamska = FGlowna->Image1->Picture();
  ASSERT_FALSE(adamska.isNull());
  select(0);  // her own node: her certificate stays in view
  EXPECT_EQ(FGlowna->Image1->Picture(), adamska);
  select(1, documentlessChild());  // the other student's child without a document
  expectNothingShown("another student's node");
  select(1, 0);
  EXPECT_FALSE(FGlowna->Image1->Picture().isNull());
}

// A student whose rows hold no birth data and no sex (as an old-format
// import gives them) shows none of the student selected before: not in
// "Dane ucznia", not in the forms nor in the rows their OK would store, not
// in the preview of his certificate. With no sex chosen the words that
// follow the sex take the ending of "kobieta", on every form.
TEST_F(PreviewsTest, AStudentWithoutBirthDataShowsNoneOfThePreviousStudents) {
  // 1 maja 2001, Kraków: his words have no ending ("y" on the title pages).
  const Rows first = personalRows(cp1250("Żółkowski"), cp1250("Łukasz"), "1", cp1250("mężczyzna"));
  const Rows second = {{"DANE UCZNIA", "Nazwisko_DATA_EDIT", "Adamski"},
                       {"DANE UCZNIA", "Imie_DATA_EDIT", "Jan"},
                       {"DANE UCZNIA", "NrPesel_DATA_EDIT", "6"}};
  const std::string source = documentPath(cp1250("uczniowie ślązacy.tvk"));
  writeText(cp1250ToUtf8(source), tvkText(tvkStudent("Adamski", "Jan", "6")));
  const char* const firsts[] = {"2001", "Krak", "opolskie", "maja"};
  // The endings of the words that follow the sex, on every form.
  const std::string endings[] = {"UczeszczalA", "OtrzymalA", "RealizowalA", "UkonczylA", "UrodzonyA", "PrzyjetyA",
                                 "WpisanyA"};
  auto preview = [] {
    TRecordingDevice page;
    page.play(*FGlowna->DataStore.Page1Metafile);
    return page.textsDrawn();
  };
  const struct {
    const char* route;
    std::function<void()> toSecond;
  } routes[] = {
      {"another stored student",
       [&] {
         open(makeDocumentFile({{"1", first}, {"6", second}}, "klasa1.sqtvk"));
         select(1, 0);
         const QStringList shown = preview();
         ASSERT_TRUE(shown.contains(QString::fromUtf8("Kraków")));  // his, as the fixture means
         ASSERT_FALSE(shown.contains("a"));
         select(0, 0);
       }},
      {"a student imported from an old file",
       [&] {
         open(makeDocumentFile({{"1", first}}, "klasa2.sqtvk"));
         select(0, 0);
         script.fileNames.push_back(chosenName(source));
         FGlowna->findComponentAs<QAction>("Importuj1")->trigger();
         select(0, 0);
       }},
  };
  for (const auto& r : routes) {
    SCOPED_TRACE(r.route);
    r.toSecond();
    ASSERT_EQ(text(FDaneUcznia->Nazwisko_DATA_EDIT), "Adamski");
    for (QWidget* field : std::initializer_list<QWidget*> {
             FDaneUcznia->UrodzonyDnia_DATA_EDIT, FDaneUcznia->UrodzonyRok_DATA_COMBOBOX,
             FDaneUcznia->UrodzonyMiasto_DATA_COMBOBOX, FDaneUcznia->UrodzonyWoj_DATA_COMBOBOX,
             FDaneUcznia->NrDziennika_DATA_EDIT})
      EXPECT_EQ(text(field), "") << field->objectName().toStdString();
    EXPECT_EQ(FDaneUcznia->Plec_DATA_COMBOBOX->currentIndex(), -1);

    std::vector<TDataRecord> rows;
    FDaneUcznia->vFunFormDataToList(rows);
    for (TDocumentForm* form : vFunDocumentForms()) form->vFunFormDataToList(rows);
    for (const TDataRecord& row : rows) {
      const std::string& name = row.comp_name.str();
      for (const char* value : firsts) EXPECT_EQ(row.value.str().find(value), std::string::npos) << name;
      for (const std::string& ending : endings)
        if (name.starts_with("ZMIENNA_" + ending + "_")) {
          EXPECT_EQ(row.value.str(), "a") << row.id.str() << " " << name;
        }
      if (name.starts_with("ZMIENNA_NrNaSwiadectwie_")) {
        EXPECT_EQ(row.value.str(), "") << row.id.str() << " " << name;
      }
    }

    const QStringList shown = preview();
    EXPECT_TRUE(shown.contains("Jan Adamski"));
    for (const char* value : firsts) EXPECT_TRUE(shown.filter(value).isEmpty()) << value;
    EXPECT_TRUE(shown.contains("a"));  // "uczęszczał(a)"
  }
}

// The words that follow the sex end as the sex "Dane ucznia" shows: the
// certificates' "uczęszczał", "ukończył" ... with no ending for "mężczyzna"
// and "a" for any other sex, the title pages' "Urodzon", "Przyjęt", "Wpisan"
// with "y" and "a"; no sex chosen is no exception.
TEST_F(PreviewsTest, TheWordsThatFollowTheSexEndAsTheSexOfDaneUcznia) {
  struct Case {
    const char* stored;  // nullptr: the student has no sex row
    int shown;           // the item "Dane ucznia" shows: 0 "kobieta", 1 "mężczyzna", -1 none
    const char* certificate;
    const char* titlePage;
  };
  const Case cases[] = {{"mężczyzna", 1, "", "y"}, {"kobieta", 0, "a", "a"}, {"", 0, "a", "a"},
                        {"Mężczyzna", 0, "a", "a"}, {nullptr, -1, "a", "a"}};
  const struct {
    const char* cls;
    bool titlePage;
    std::vector<const char*> words;
  } forms[] = {
      {"TFKlasa1a", false, {"UczeszczalA", "OtrzymalA", "RealizowalA"}},
      {"TFKonieca", false, {"UkonczylA", "RealizowalA"}},
      {"TFKlasa2", false, {"UczeszczalA", "OtrzymalA", "RealizowalA"}},
      {"TFKoniecwyr", false, {"UkonczylA", "RealizowalA"}},
      {"TFArkuszStr1", true, {"UrodzonyA", "PrzyjetyA", "WpisanyA"}},
      {"TFArkuszStr1b", true, {"UrodzonyA", "PrzyjetyA", "WpisanyA"}},
  };
  auto preview = [] {
    TRecordingDevice page;
    page.play(*FGlowna->DataStore.Page1Metafile);
    return page.textsDrawn();
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "no sex row");
    Rows rows = personalRows("Nowak", "Ola", "5", c.stored ? cp1250(c.stored) : "");
    if (!c.stored) std::erase_if(rows, [](const auto& row) { return row[1] == "Plec_DATA_COMBOBOX"; });
    open(makeDocumentFile({{"5", rows}}, "plec" + std::to_string(++n) + ".sqtvk"));
    for (const auto& form : forms) {
      const std::string ending = form.titlePage ? c.titlePage : c.certificate;
      // The forms the tree offers, as their previews print them.
      if (const int tree = referenceOf(form.cls)->tree; tree > 0) {
        select(0, tree - 1);
        const QStringList shown = preview();
        EXPECT_EQ(shown.contains("a"), ending == "a") << form.cls;
        EXPECT_EQ(shown.contains("y"), ending == "y") << form.cls;
      }
      const TDocumentForm* f = frmFunFormOfClass(form.cls);
      for (const char* word : form.words) {
        const std::string name = "ZMIENNA_" + std::string(word) + (form.titlePage ? "_DATA_EDIT" : "_STR1_DATA_EDIT");
        EXPECT_EQ(strFunGetText(f->findComponent(name)), ending) << form.cls << " " << name;
      }
    }
    // What "Edytuj dane ucznia" shows of the student.
    runShown([] { FGlowna->EdytujDaneUczniaToolButtonClick(); },
             [&](QDialog*) { EXPECT_EQ(FDaneUcznia->Plec_DATA_COMBOBOX->currentIndex(), c.shown); });
  }
}
