// The certificates of the earlier blanks inside the running program: their
// rows through load and save, the student's data they copy, a new student,
// the empty document's preview, their layouts and the school template.
#include "StudentFixture.h"

#include "app/DaneSzkoly.h"
#include "forms/DocumentForms.h"
#include "forms/FormUnits.h"

#include <QImage>

#include <map>
#include <string>
#include <vector>

namespace {

bool has(const std::string& name, const char* part) { return name.find(part) != std::string::npos; }

std::vector<TDocumentForm*> earlier() { return {FKlasa1, FKlasa1wyr, FKlasa2, FKlasa2wyr, FKoniec, FKoniecwyr}; }

bool leaving(const TDocumentForm* form) { return form == FKoniec || form == FKoniecwyr; }

// What a load writes into a certificate from the student-data dialog of
// personalRows(surname, name, pesel, sex).
std::map<std::string, std::string> personalCopy(const TDocumentForm* form, const std::string& surname,
                                                const std::string& name, const std::string& pesel,
                                                const std::string& ending) {
  std::map<std::string, std::string> copy = {
      {"ZMIENNA_ImieNazwisko_STR1_DATA_EDIT", name + " " + surname},
      {"ZMIENNA_DataUrodzenia_STR1_DATA_EDIT", "1 maja 2001 2001 r."},
      {"ZMIENNA_MiejsceUrodzenia_STR1_DATA_EDIT", cp1250("Kraków")},
      {"ZMIENNA_RealizowalA_STR1_DATA_EDIT", ending},
      {"ZMIENNA_NrNaSwiadectwie_STR1_DATA_EDIT", "12"},
      {"ZMIENNA_NumerPESEL_STR1_DATA_EDIT", pesel}};
  for (const char* verb : leaving(form) ? std::vector<const char*> {"UkonczylA"}
                                        : std::vector<const char*> {"UczeszczalA", "OtrzymalA"})
    copy[std::string("ZMIENNA_") + verb + "_STR1_DATA_EDIT"] = ending;
  return copy;
}

class EarlierCertificatesTest : public StudentTest {
 protected:
  // One row per value field of each of the six, in their order: a value of
  // its own, or what the load copies from the student's data.
  Rows certificateRows() const {
    Rows rows;
    for (TDocumentForm* form : earlier()) {
      const auto copy = personalCopy(form, "Zieba", "Iga", "5", "a");
      for (int i = 0; i < form->ComponentCount(); ++i) {
        const std::string name = form->ComponentName(i).toStdString();
        if (!has(name, "_DATA_EDIT") && !has(name, "_DATA_COMBOBOX")) continue;
        const auto personal = copy.find(name);
        rows.push_back({form->strFunTag(), name,
                        personal != copy.end() ? personal->second
                                               : cp1250("wartość ") + std::to_string(rows.size())});
      }
    }
    return rows;
  }
  static Rows ofTags(const Rows& rows) {
    Rows mine;
    for (const auto& row : rows)
      for (TDocumentForm* form : earlier())
        if (row[0] == form->strFunTag()) mine.push_back(row);
    return mine;
  }
};

TEST_F(EarlierCertificatesTest, TheirRowsSurviveLoadAndSaveAndASaveFromACurrentCertificate) {
  const Rows mine = certificateRows();
  ASSERT_EQ(mine.size(), 84u + 82u + 84u + 82u + 79u + 79u);
  Rows file = personalRows("Zieba", "Iga", "5");
  file.insert(file.end(), mine.begin(), mine.end());
  open(makeDocumentFile({{"5", file}}));
  select(0);
  EXPECT_EQ(strFunGetText(FKoniec->findComponent("ZMIENNA_UkonczylA_STR1_DATA_EDIT")), "a");

  ASSERT_TRUE(FGlowna->bFunZapiszDaneUcznia());
  EXPECT_EQ(ofTags(stored("PESEL5")), mine);

  // Edited and saved from a certificate of the current blanks.
  select(0);
  bFunSetText(FKlasa1a->findComponent("ZMIENNA_Tarvek1_STR1_DATA_EDIT"), "Liceum");
  FKlasa1a->OKButtonClick();
  const Rows saved = stored("PESEL5");
  EXPECT_EQ(ofTags(saved), mine);
  const Rows expectedCurrent = {{"KLASA Ia TARVEK", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", "Liceum"}};
  EXPECT_NE(std::find(saved.begin(), saved.end(), expectedCurrent[0]), saved.end());
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(EarlierCertificatesTest, ALoadCopiesTheStudentsDataWithTheEndingsOfTheirSex) {
  struct Case {
    const char* sex;
    const char* ending;
  };
  // Any stored sex but "mężczyzna" exactly, an empty one included, is "kobieta".
  const Case cases[] = {{"mężczyzna", ""}, {"kobieta", "a"}, {"", "a"}, {"Mężczyzna", "a"}};
  int n = 0;
  for (const Case& c : cases) {
    Rows file = personalRows("Nowak", "Ola", "77", cp1250(c.sex));
    // A stored value of a copied field gives way to the student's data.
    file.push_back({"KLASA I TARVEK", "ZMIENNA_ImieNazwisko_STR1_DATA_EDIT", "stare"});
    file.push_back({"KONIEC TARVEK", "ZMIENNA_UkonczylA_STR1_DATA_EDIT", "x"});
    open(makeDocumentFile({{"77", file}}, "plec" + std::to_string(n++) + ".sqtvk"));
    select(0);
    for (TDocumentForm* form : earlier())
      for (const auto& [field, value] : personalCopy(form, "Nowak", "Ola", "77", c.ending))
        EXPECT_EQ(strFunGetText(form->findComponent(field)), value) << c.sex << " " << field;
  }
  // Empty names and birth data still get the joining blank.
  open(makeDocumentFile({{"1", {{"DANE UCZNIA", "NrPesel_DATA_EDIT", "1"}}}}, "bez_nazwiska.sqtvk"));
  select(0);
  for (TDocumentForm* form : earlier()) {
    EXPECT_EQ(strFunGetText(form->findComponent("ZMIENNA_ImieNazwisko_STR1_DATA_EDIT")), " ");
    EXPECT_EQ(strFunGetText(form->findComponent("ZMIENNA_NumerPESEL_STR1_DATA_EDIT")), "1");
  }
}

TEST_F(EarlierCertificatesTest, ANewStudentStartsThePromotionEndingWhereTheBlankHasIt) {
  script.onShowModal = [](QDialog*) { return mrCancel; };
  FGlowna->DodajUczniaToolButtonClick();
  for (TDocumentForm* form : earlier()) {
    QObject* ending = form->findComponent("ZMIENNA_PromocjiE_STR1_DATA_EDIT");
    const bool withEnding = form == FKlasa1 || form == FKlasa2;
    ASSERT_EQ(ending != nullptr, withEnding) << form->Identity.className;
    if (ending) {
      EXPECT_EQ(strFunGetText(ending), cp1250("ę"));
    }
    EXPECT_EQ(strFunGetText(form->findComponent("ZMIENNA_Tarvek1_STR1_DATA_EDIT")), "");
  }
}

// A new document has nothing selected: the forms are empty and the
// previews show the empty first certificate (no page of the former student).
TEST_F(EarlierCertificatesTest, ANewDocumentEmptiesTheFormsAndPreviewsTheEmptyFirstCertificate) {
  open(makeDocumentFile({{"1", personalRows("Lis", "Anna", "1")}}));
  select(0, 0);
  script.boxes.clear();
  FGlowna->vFunNowyPlikSwiadectw();
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_EQ(strFunGetText(FKlasa1->findComponent("ZMIENNA_ImieNazwisko_STR1_DATA_EDIT")), "");
  EXPECT_FALSE(FGlowna->Image1->Picture().isNull());
  EXPECT_FALSE(FGlowna->Image2->Picture().isNull());
  EXPECT_FALSE(FGlowna->bPrintMode);
  EXPECT_EQ(FGlowna->CalibDataList.empty(), false);
}

// Whether a preview page holds dark ink (the sample texts) anywhere.
bool inked(const QImage& page) {
  for (int y = 0; y < page.height(); y += 2)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 60) return true;
  return false;
}

TEST_F(EarlierCertificatesTest, EachLayoutPreviewsBothSidesWithTheSamples) {
  const std::pair<TDocumentForm*, TDocKind> kinds[] = {{FKlasa1, dkKlasaI},     {FKlasa1wyr, dkKlasaIWyr},
                                                       {FKlasa2, dkKlasaII},    {FKlasa2wyr, dkKlasaIIWyr},
                                                       {FKoniec, dkKoniec},     {FKoniecwyr, dkKoniecWyr}};
  for (const auto& [form, kind] : kinds) {
    form->vFunClearFormData();
    ASSERT_TRUE(FGlowna->vFunRysujSwiadectwo(form, false, kind, 2));
    const QImage empty1 = FGlowna->Image1->Picture(), empty2 = FGlowna->Image2->Picture();
    form->vFunFillSampleData();
    ASSERT_TRUE(FGlowna->vFunRysujSwiadectwo(form, false, kind, 2));
    EXPECT_NE(FGlowna->Image1->Picture(), empty1) << form->Identity.className;
    EXPECT_NE(FGlowna->Image2->Picture(), empty2) << form->Identity.className;
    EXPECT_TRUE(inked(FGlowna->Image2->Picture())) << form->Identity.className;
  }
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(EarlierCertificatesTest, TheSchoolTemplateFillsAndTakesTheSchoolFields) {
  // Every school edit of the template with a text of its own.
  const std::vector<std::string> dialogEdits = {
      "ZMIENNA_RokSzkolny1_DATA_EDIT",     "ZMIENNA_RokSzkolny2_DATA_EDIT",     "ZMIENNA_Klasa_DATA_EDIT",
      "ZMIENNA_Tarvek1_DATA_EDIT",         "ZMIENNA_Tarvek2_DATA_EDIT",         "ZMIENNA_NrTarvek_DATA_EDIT",
      "ZMIENNA_TarvekImienia1_DATA_EDIT",  "ZMIENNA_TarvekImienia2_DATA_EDIT",  "ZMIENNA_SzkolaWE_DATA_EDIT",
      "ZMIENNA_SzkolaMiasto_DATA_EDIT",    "ZMIENNA_SzkolaWoj_DATA_EDIT",       "ZMIENNA_Przedmiot1_STR1_DATA_EDIT",
      "ZMIENNA_Przedmiot2_STR1_DATA_EDIT", "ZMIENNA_Przedmiot3_STR1_DATA_EDIT", "ZMIENNA_Przedmiot4_STR1_DATA_EDIT",
      "ZMIENNA_PromocjaDoKlasy_DATA_EDIT", "ZMIENNA_Miejscowosc_DATA_EDIT",     "ZMIENNA_MiejscowoscDnia_DATA_EDIT",
      "ZMIENNA_MiejscowoscRok_DATA_EDIT",  "ZMIENNA_JObcy1_DATA_EDIT",          "ZMIENNA_JObcy2_DATA_EDIT",
      "ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", "ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", "ZMIENNA_ObowiazkoweEdu3_DATA_EDIT",
      "ZMIENNA_DodatkoweEdu1_DATA_EDIT",   "ZMIENNA_DodatkoweEdu2_DATA_EDIT",   "ZMIENNA_DodatkoweEdu3_DATA_EDIT"};
  const std::string file = dirs.data() + "/szablony.sqset";
  sqlExec(file, "create table `school_data`( id TEXT, comp_name TEXT, value TEXT )");
  for (const std::string& name : dialogEdits)
    sqlExec(file, "insert into `school_data` values('DANE SZKOLY', '" + name + "', 't:" + name + "')");
  sqlExec(file, "update `school_data` set value='" + std::string(72, 'L') +
                    "' where comp_name='ZMIENNA_Tarvek2_DATA_EDIT'");

  for (TDocumentForm* form : earlier()) {
    bFunSetText(form->findComponent("ZMIENNA_JPolskiOcn_STR2_DATA_COMBOBOX"), "dobry");
    form->LoadSchoolDataButtonClick();
    for (int i = 0; i < form->Spec->templateCount; ++i) {
      const TTemplatePair& p = form->Spec->templatePairs[i];
      const std::string expected =
          std::string(p.dialogField) == "ZMIENNA_Tarvek2_DATA_EDIT" ? std::string(72, 'L') : "t:" + std::string(p.dialogField);
      EXPECT_EQ(strFunGetText(form->findComponent(p.formField)), expected) << form->Identity.className;
    }
    EXPECT_EQ(form->Spec->templateCount, leaving(form) ? 25 : 27);
    EXPECT_EQ(strFunGetText(form->findComponent("ZMIENNA_JPolskiOcn_STR2_DATA_COMBOBOX")), "dobry");

    // Back into the template: the class is never taken, the school-leaving
    // certificates take no promotion either.
    for (const std::string& name : dialogEdits) bFunSetText(FDaneSzkoly->findComponent(name), "before");
    bFunSetText(form->findComponent("ZMIENNA_ImieSzkoly1_STR1_DATA_EDIT"), "patron");
    form->vFunSchoolDataToTemplate();
    EXPECT_EQ(strFunGetText(FDaneSzkoly->findComponent("ZMIENNA_TarvekImienia1_DATA_EDIT")), "patron");
    EXPECT_EQ(strFunGetText(FDaneSzkoly->findComponent("ZMIENNA_Klasa_DATA_EDIT")), "before");
    EXPECT_EQ(strFunGetText(FDaneSzkoly->findComponent("ZMIENNA_PromocjaDoKlasy_DATA_EDIT")),
              leaving(form) ? "before" : "t:ZMIENNA_PromocjaDoKlasy_DATA_EDIT");
    EXPECT_EQ(strFunGetText(FDaneSzkoly->findComponent("ZMIENNA_DodatkoweEdu3_DATA_EDIT")),
              "t:ZMIENNA_DodatkoweEdu3_DATA_EDIT");
  }
  EXPECT_TRUE(script.boxes.empty());
}

}  // namespace
