// The six certificates of the earlier blanks: what each window holds, in
// which order its values travel, how the twins differ from the certificate
// after class I, their samples and their OK.
#include "forms/FormUnits.h"
#include "platform/Cp1250.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

bool has(const std::string& name, const char* part) { return name.find(part) != std::string::npos; }

std::string edit1(const std::string& middle) { return "ZMIENNA_" + middle + "_STR1_DATA_EDIT"; }
std::string edit2(const std::string& middle) { return "ZMIENNA_" + middle + "_STR2_DATA_EDIT"; }
std::string combo2(const std::string& middle) { return "ZMIENNA_" + middle + "_STR2_DATA_COMBOBOX"; }

// ---- The tables of the blanks ----------------------------------------------

const Names kSide1Class = {"ImieNazwisko", "DataUrodzenia", "RokSzkolny1", "RokSzkolny2", "Klasa",
                           "Tarvek1", "Tarvek2", "ImieSzkoly1", "ImieSzkoly2", "SzkolaMiasto",
                           "SzkolaWoj", "Miejscowosc", "MiejscowoscDnia", "MiejscowoscRok", "NrNaSwiadectwie",
                           "UczeszczalA", "RealizowalA", "Przedmiot1", "Przedmiot3", "Przedmiot2",
                           "Przedmiot4", "SzkolaWE", "MiejsceUrodzenia", "NumerPESEL", "NrTarvek",
                           "NieOtrzymalProm", "OtrzymalA", "PromocjiE", "PromDoKlasy"};
const Names kSide1Leaving = {"ImieNazwisko", "DataUrodzenia", "RokSzkolny1", "RokSzkolny2", "Tarvek1",
                             "Tarvek2", "ImieSzkoly1", "ImieSzkoly2", "SzkolaMiasto", "SzkolaWoj",
                             "Miejscowosc", "MiejscowoscDnia", "MiejscowoscRok", "NrNaSwiadectwie", "UkonczylA",
                             "RealizowalA", "Przedmiot1", "Przedmiot3", "Przedmiot2", "Przedmiot4",
                             "SzkolaWE", "MiejsceUrodzenia", "NumerPESEL", "NrTarvek"};

// Side 2 up to the extended-scope boxes; "c:" marks a combo box.
const Names kSide2 = {"JObcyOpis2", "Dodatkowy1", "Dodatkowy2", "Dodatkowy3", "DodEdukacyjne1",
                      "DodEdukacyjne2", "DodEdukacyjne3", "Indywidualny1", "Indywidualny2", "Indywidualny3",
                      "c:ZachowanieOcn", "c:ReligiaOcn", "c:JPolskiOcn", "c:HistoriaOcn", "c:WosOcn",
                      "c:JObcyOcn1", "c:MatematykaOcn", "c:WokOcn", "c:JObcyOcn2", "c:FizykaOcn",
                      "c:ChemiaOcn", "c:BiologiaOcn", "c:GeografiaOcn", "c:PoOcn", "c:TechInfOcn",
                      "c:WfOcn", "c:DodatkowyOcn1", "c:DodatkowyOcn2", "c:DodatkowyOcn3", "c:DodEdukacyjneOcn1",
                      "c:DodEdukacyjneOcn2", "c:DodEdukacyjneOcn3", "Szczegolne1", "Szczegolne2", "Szczegolne3",
                      "c:PodstPrzedOcn", "JObcyOpis1"};
const std::vector<int> kScopeClassOne = {1, 2, 3, 4, 6, 5, 7, 8, 9, 10, 11, 12, 18, 17, 16, 15, 14, 13};
const std::vector<int> kScopeDown = {18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};

Names valueOrder(const Names& side1, const std::vector<int>& scope) {
  Names out;
  for (const std::string& m : side1) out.push_back(edit1(m));
  for (const std::string& m : kSide2) out.push_back(m.rfind("c:", 0) == 0 ? combo2(m.substr(2)) : edit2(m));
  for (int row : scope) out.push_back(edit2("ZakRoz" + std::to_string(row)));
  return out;
}

Names without(Names names, const Names& gone) {
  std::erase_if(names, [&](const std::string& n) {
    return std::find(gone.begin(), gone.end(), n.substr(8, n.find("_STR") - 8)) != gone.end();
  });
  return names;
}

struct Member {
  const char* className;
  const char* tag;
  TDocKind kind;
  const char* caption;
  int width, height;
  const char* blank;     // the blank's designation at the bottom of side 1
  const char* picture1;  // side 1 picture
  Names values;
  int edits, combos;
};

const std::vector<Member>& members() {
  static const std::vector<Member> all = {
      {"TFKlasa1", "KLASA I TARVEK", dkKlasaI, "Świadectwo ukończenia klasy I tarvek ogólnokształcącego", 745, 732,
       "MEN-I/21/2", "blanki/swiadectwo_str1.jpg", valueOrder(kSide1Class, kScopeClassOne), 61, 23},
      {"TFKlasa1wyr", "KLASA I Z WYR. TARVEK", dkKlasaIWyr, "Świadectwo ukończenia klasy I tarvek z wyróżnieniem",
       746, 732, "MEN-I/21-w/2", "blanki/swiadectwo_str1_wyr.jpg",
       without(valueOrder(kSide1Class, kScopeDown), {"NieOtrzymalProm", "PromocjiE"}), 59, 23},
      {"TFKlasa2", "KLASA II TARVEK", dkKlasaII, "Świadectwo ukończenia klasy II tarvek ogólnokształcącego", 745, 732,
       "MEN-I/21/2", "blanki/swiadectwo_str1.jpg", valueOrder(kSide1Class, kScopeDown), 61, 23},
      {"TFKlasa2wyr", "KLASA II Z WYR. TARVEK", dkKlasaIIWyr, "Świadectwo ukończenia klasy II tarvek z wyróżnieniem",
       746, 732, "MEN-I/21-w/2", "blanki/swiadectwo_str1_wyr.jpg",
       without(valueOrder(kSide1Class, kScopeDown), {"NieOtrzymalProm", "PromocjiE"}), 59, 23},
      {"TFKoniec", "KONIEC TARVEK", dkKoniec, "Świadectwo ukończenia tarvek", 743, 723, "MEN-I/23/2",
       "blanki/swiadectwo_str1.jpg", valueOrder(kSide1Leaving, kScopeDown), 56, 23},
      {"TFKoniecwyr", "KONIEC Z WYR. TARVEK", dkKoniecWyr, "Świadectwo ukończenia tarvek z wyróżnieniem", 745, 732,
       "MEN-I/23-w/2", "blanki/swiadectwo_str1_wyr.jpg", valueOrder(kSide1Leaving, kScopeDown), 56, 23},
  };
  return all;
}

std::unique_ptr<TDocumentForm> make(const std::string& className) {
  if (className == "TFKlasa1") return std::make_unique<TFKlasa1>();
  if (className == "TFKlasa1wyr") return std::make_unique<TFKlasa1wyr>();
  if (className == "TFKlasa2") return std::make_unique<TFKlasa2>();
  if (className == "TFKlasa2wyr") return std::make_unique<TFKlasa2wyr>();
  if (className == "TFKoniec") return std::make_unique<TFKoniec>();
  return std::make_unique<TFKoniecwyr>();
}

Names valueFields(const TDocumentForm& form) {
  Names names;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const std::string name = form.ComponentName(i).toStdString();
    if (has(name, "_DATA_EDIT") || has(name, "_DATA_COMBOBOX")) names.push_back(name);
  }
  return names;
}

const TComponentSpec* specOf(const TDocumentForm& form, const std::string& name) {
  for (int i = 0; i < form.Spec->componentCount; ++i)
    if (form.Spec->components[i].name == name) return &form.Spec->components[i];
  return nullptr;
}

std::string text(const TDocumentForm& form, const std::string& name) {
  return cp1250ToUtf8(strFunGetText(form.findComponent(name)));
}

// ---- Tests -------------------------------------------------------------------

TEST(EarlierCertificates, EachHoldsItsValueFieldsInTheOrderOfItsRows) {
  for (const Member& m : members()) {
    const auto form = make(m.className);
    const Names values = valueFields(*form);
    EXPECT_EQ(values, m.values) << m.className;
    const auto combos = std::count_if(values.begin(), values.end(), [](const std::string& n) {
      return has(n, "_DATA_COMBOBOX");
    });
    EXPECT_EQ(static_cast<int>(values.size()) - combos, m.edits) << m.className;
    EXPECT_EQ(combos, m.combos) << m.className;
    // Collected from a fresh clear: one empty row per value field, with the tag.
    form->vFunClearFormData();
    std::vector<TDataRecord> rows;
    EXPECT_TRUE(form->vFunFormDataToList(rows));
    ASSERT_EQ(rows.size(), m.values.size()) << m.className;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].id.str(), m.tag);
      EXPECT_EQ(rows[i].comp_name.str(), m.values[i]);
      EXPECT_EQ(rows[i].value.str(), "");
    }
  }
}

TEST(EarlierCertificates, TheWindowsAndTheirSides) {
  for (const Member& m : members()) {
    const auto form = make(m.className);
    const TFormSpec& desc = *form->Spec;
    EXPECT_EQ(desc.identity.tag, std::string(m.tag));
    EXPECT_EQ(desc.identity.kind, m.kind);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8(m.caption));
    EXPECT_EQ(desc.width, m.width) << m.className;
    EXPECT_EQ(desc.height, m.height) << m.className;
    EXPECT_EQ(desc.show, TShowRule::Certificate);
    ASSERT_EQ(desc.sideCount, 2);
    EXPECT_EQ(desc.sides[0].picture, std::string(m.picture1));
    EXPECT_EQ(desc.sides[1].picture, std::string("blanki/swiadectwo_str2.jpg"));
    for (int s = 0; s < 2; ++s) {
      EXPECT_EQ(desc.sides[s].width, 717);
      EXPECT_EQ(desc.sides[s].height, 1053);
    }
    auto* tabs = form->findComponentAs<QTabWidget>("PageControl1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), "Strona 1");
    EXPECT_EQ(tabs->tabText(1), "Strona2");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(text(*form, "STALY_MENiS_STR1_DATA_LABEL"), m.blank) << m.className;
    for (const char* button : {"LoadSchoolDataButton", "OKButton", "CancelButton"})
      EXPECT_NE(form->findComponent(button), nullptr) << button;
  }
}

// Limits, states and texts at creation of the value fields (UTF-8 texts).
struct Field {
  std::string name;
  int max;
  bool disabled, readOnly;
  const char* atCreation;
};

std::vector<Field> fieldStates() {
  return {{edit1("ImieNazwisko"), 43, true, true, "Imie i Nazwisko"},
          {edit1("DataUrodzenia"), 28, true, true, "data urodzenia"},
          {edit1("RokSzkolny1"), 4, false, false, "2002"},
          {edit1("RokSzkolny2"), 4, false, false, "2003"},
          {edit1("Klasa"), 15, false, false, "klasa"},
          {edit1("Tarvek1"), 72, false, false, "ZMIENNA_Tarvek1_STR1_DATA_EDIT"},
          {edit1("Tarvek2"), 12, false, false, "ZMIENNA_Tarvek2_STR1_DATA_EDIT"},
          {edit1("ImieSzkoly1"), 69, false, false, "imie szkoly"},
          {edit1("ImieSzkoly2"), 72, false, false, "imie szkoly cd"},
          {edit1("SzkolaMiasto"), 32, false, false, "miasto szkoly"},
          {edit1("SzkolaWoj"), 32, false, false, "woj szkoly"},
          {edit1("Miejscowosc"), 33, false, false, "miejscowosc"},
          {edit1("MiejscowoscDnia"), 23, false, false, "dnia"},
          {edit1("MiejscowoscRok"), 4, false, false, "1980"},
          {edit1("NrNaSwiadectwie"), 11, false, true, "12345"},
          {edit1("UczeszczalA"), 1, true, false, "a"},
          {edit1("UkonczylA"), 1, true, false, "a"},
          {edit1("RealizowalA"), 1, true, false, "a"},
          {edit1("Przedmiot1"), 32, false, false, "Przedmiot1"},
          {edit1("Przedmiot3"), 32, false, false, "Przedmiot3"},
          {edit1("Przedmiot2"), 31, false, false, "Przedmiot2"},
          {edit1("Przedmiot4"), 31, false, false, "Przedmiot4"},
          {edit1("SzkolaWE"), 1, false, false, "a"},
          {edit1("MiejsceUrodzenia"), 28, true, true, "miejsce urodzenia"},
          {edit1("NumerPESEL"), 28, true, true, "pesel"},
          {edit1("NrTarvek"), 69, false, false, "nr szkoly"},
          {edit1("NieOtrzymalProm"), 69, false, false, "imie szkoly"},
          {edit1("OtrzymalA"), 69, true, false, "imie szkoly"},
          {edit1("PromocjiE"), 69, false, false, "imie szkoly"},
          {edit1("PromDoKlasy"), 69, false, false, "imie szkoly"},
          {edit2("JObcyOpis1"), 36, false, false, "obcy"},
          {edit2("JObcyOpis2"), 36, false, false, "obcy"},
          {edit2("Dodatkowy1"), 42, false, false, "dod.1 przedmiot"},
          {edit2("Dodatkowy3"), 42, false, false, "dod.3 przedmiot"},
          {edit2("DodEdukacyjne2"), 42, false, false, "dod zaj edukacyjne 2"},
          {edit2("Indywidualny3"), 77, false, false, "indyw 3"},
          {edit2("Szczegolne1"), 100, false, false, "Szczegolne1"},
          {edit2("ZakRoz1"), 0, false, false, "zakres rozszerzony"},
          {edit2("ZakRoz18"), 0, false, false, "zakres rozszerzony"}};
}

TEST(EarlierCertificates, SharedFieldsHaveTheSameLimitsStatesAndTextsAtCreation) {
  for (const Member& m : members()) {
    const auto form = make(m.className);
    for (const Field& f : fieldStates()) {
      const TComponentSpec* desc = specOf(*form, f.name);
      auto* edit = form->findComponentAs<QLineEdit>(f.name);
      const bool expected = std::find(m.values.begin(), m.values.end(), f.name) != m.values.end();
      ASSERT_EQ(edit != nullptr, expected) << m.className << " " << f.name;
      if (!edit) continue;
      ASSERT_NE(desc, nullptr);
      EXPECT_EQ(desc->maxLength, f.max) << m.className << " " << f.name;
      EXPECT_EQ(!edit->isEnabled(), f.disabled) << m.className << " " << f.name;
      EXPECT_EQ(edit->isReadOnly(), f.readOnly) << m.className << " " << f.name;
      EXPECT_EQ(edit->text(), QString::fromUtf8(f.atCreation)) << m.className << " " << f.name;
    }
  }
}

void typeInto(QLineEdit* edit, int count) {
  edit->setFocus();
  for (int i = 0; i < count; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(edit, &press);
  }
}

TEST(EarlierCertificates, LimitsBindTypingOnlyAndTheExtendedScopeHasNone) {
  TFKlasa1 form;
  auto* second = form.findComponentAs<QLineEdit>("ZMIENNA_Tarvek2_STR1_DATA_EDIT");
  auto* scope = form.findComponentAs<QLineEdit>("ZMIENNA_ZakRoz7_STR2_DATA_EDIT");
  second->clear();
  typeInto(second, 20);
  EXPECT_EQ(second->text().size(), 12);  // as wide as the first line, 12 typed characters
  scope->clear();
  typeInto(scope, 150);
  EXPECT_EQ(scope->text().size(), 150);
  bFunSetText(second, std::string(72, 'y'));  // the template's 72 characters stand whole
  EXPECT_EQ(second->text().size(), 72);
}

TEST(EarlierCertificates, TheDropDownsOfferTheirListsAndTakeFreeText) {
  const std::vector<std::string> grades = {"celujący", "bardzo dobry", "dobry", "dostateczny", "dopuszczający",
                                           "niedostateczny"};
  auto plus = [&](std::vector<std::string> more) {
    more.insert(more.begin(), grades.begin(), grades.end());
    return more;
  };
  const std::map<std::string, std::vector<std::string>> special = {
      {"ZachowanieOcn", {"wzorowe", "bardzo dobre", "dobre", "poprawne", "nieodpowiednie", "naganne"}},
      {"ReligiaOcn", plus({"nie uczęszczała", "nie uczestniczyła", "nie uczęszczał", "nie uczestniczył"})},
      {"WfOcn", plus({"zwolniona", "zwolniony"})},
  };
  const std::vector<std::string> attendance =
      plus({"uczęszczała", "nie uczęszczała", "uczęszczał", "nie uczęszczał", "uczestniczyła", "nie uczestniczyła",
            "uczestniczył ", "nie uczestniczył"});
  for (const Member& m : members()) {
    const auto form = make(m.className);
    for (const std::string& name : m.values) {
      auto* combo = form->findComponentAs<QComboBox>(name);
      if (!has(name, "_DATA_COMBOBOX")) continue;
      ASSERT_NE(combo, nullptr) << name;
      const std::string middle = name.substr(8, name.find("_STR") - 8);
      const auto it = special.find(middle);
      const std::vector<std::string>& items = it != special.end() ? it->second
                                              : has(middle, "DodatkowyOcn") || has(middle, "DodEdukacyjneOcn")
                                                  ? attendance
                                                  : grades;
      std::vector<std::string> shown;
      for (int i = 0; i < combo->count(); ++i) shown.push_back(combo->itemText(i).toStdString());
      EXPECT_EQ(shown, items) << m.className << " " << name;
      EXPECT_TRUE(combo->isEditable());
      EXPECT_EQ(combo->currentIndex(), -1);
      EXPECT_EQ(combo->currentText(), "");
      EXPECT_EQ(specOf(*form, name)->maxLength, 31);
    }
  }
  TFKlasa2 form;
  auto* grade = form.findComponent("ZMIENNA_DodatkowyOcn2_STR2_DATA_COMBOBOX");
  static_cast<QComboBox*>(grade)->setCurrentIndex(12);
  EXPECT_EQ(strFunGetText(grade), cp1250("uczestniczył "));
  bFunSetText(grade, "zaliczone");
  EXPECT_EQ(strFunGetText(grade), "zaliczone");
}

// The fixed texts in creation order: "dots" stands for a row of dots.
TEST(EarlierCertificates, TheFixedTextsOfTheFirstBlankInTheirOrder) {
  const std::vector<std::pair<std::string, std::string>> side1 = {
      {"SwiadectwoSzkolne", "ŚWIADECTWO SZKOLNE"},
      {"ImieNazwisko", "imię (imiona) i nazwisko"},
      {"Uczeszczal", "uczęszczał"},
      {"WRokuSzkolnym", "w roku szkolnym"},
      {"Slash", "/"},
      {"DoKlasy", "do klasy"},
      {"Im", "im."},
      {"SzkolaW", "w"},
      {"SzkolaWoj", "woj."},
      {"MiejscowoscDnia", ", dnia"},
      {"MiejscowoscRok", "r."},
      {"NrNaSwiadectwie", "Nr"},
      {"IRealizowal", "Realizował"},
      {"Przedmioty", "przedmioty:"},
      {"MENiS", "MEN-I/21/2"},
      {"Miejscowosc", "( miejscowość )"},
      {"PieczecIPodpisDyrektora", "( pieczęć i podpis dyrektora )"},
      {"Label56", "dots"},
      {"UjeteWPodstawie", "ujęte w podstawie programowej w zakresie rozszerzonym"},
      {"DataUrodzenia", "data urodzenia"},
      {"MiejsceUrodzenia", "miejsce urodzenia"},
      {"NumerPESEL", "numer PESEL"},
      {"NazwaTarvek", "( nazwa tarvek ogólnokształcącego )"},
      {"NrTarvek", "nr"},
      {"IOtrzymal", "i"},
      {"Otrzymal", "otrzymał"},
      {"Promocji", "promocj"},
      {"PromDoKlasy", "do klasy"}};
  std::vector<std::pair<std::string, std::string>> side2 = {
      {"WynikiKlasyfikacjiRocznej", "WYNIKI KLASYFIKACJI ROCZNEJ"},
      {"Zachowanie", "zachowanie"},
      {"Religia", "religia/etyka"},
      {"ObowiazkoweZajEdu", "Obowiązkowe zajęcia edukacyjne"},
      {"JPolski", "język polski"},
      {"Historia", "historia"},
      {"Wos", "wiedza o społeczeństwie"},
      {"JObcy2", "język"},
      {"Matematyka", "matematyka"},
      {"Fizyka", "fizyka i astronomia"},
      {"Wok", "wiedza o kulturze"},
      {"Po", "przysposobienie obronne"},
      {"Geografia", "geografia"},
      {"Biologia", "biologia"},
      {"JObcy1", "język"},
      {"Chemia", "chemia"},
      {"TechInf", "technologia informacyjna"},
      {"Wf", "wychowanie fizyczne"},
      {"DodatkoweZajeciaEdu", "Dodatkowe zajęcia edukacyjne"},
      {"IndywidualnyProgram", "Indywidualny program lub tok nauki"},
      {"SzczegolneOsiagniecia", "Szczególne osiągnięcia"},
      {"SkalaOcen1", "Skala ocen:"},
      {"SkalaOcen2", "1) zachowanie: wzorowe, bardzo dobre, dobre, poprawne,"},
      {"SkalaOcen3", "nieodpowiednie, naganne;"},
      {"SkalaOcen4", "2) zajęcia edukacyjne, religia/etyka: celujący, bardzo dobry,"},
      {"SkalaOcen5", "dobry, dostateczny, dopuszczający, niedostateczny."},
      {"PodstPrzed", "podstawy przedsiębiorczości"},
      {"WychowawcaKlasy", "WYCHOWAWCA KLASY"},
      {"Label58", "dots"}};
  for (int n = 1; n <= 13; ++n) side2.push_back({"Label" + std::to_string(n), "dots"});

  TFKlasa1 form;
  std::vector<std::pair<std::string, std::string>> shown1, shown2;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const std::string name = form.ComponentName(i).toStdString();
    auto* label = qobject_cast<QLabel*>(form.Components(i));
    if (!label || !(has(name, "_DATA_LABEL") || name.rfind("Label", 0) == 0)) continue;
    const bool dots = !has(name, "_DATA_LABEL");
    const std::string caption = dots ? "dots" : label->text().toStdString();
    if (dots) {
      const std::string run = label->text().toStdString();
      EXPECT_TRUE(std::all_of(run.begin(), run.end(), [](char c) { return c == '.'; })) << name;
      EXPECT_GE(label->text().size(), 10) << name;
    }
    const std::string middle = dots ? name : name.substr(6, name.find("_STR") - 6);
    const bool first = has(name, "_STR1_") || name == "Label56";
    (first ? shown1 : shown2).push_back({middle, dots ? "dots" : label->text().toStdString()});
  }
  EXPECT_EQ(shown1, side1);
  EXPECT_EQ(shown2, side2);
  EXPECT_EQ(form.findComponentAs<QLabel>("STALY_SwiadectwoSzkolne_STR1_DATA_LABEL")->font().pixelSize(), 29);
  EXPECT_EQ(form.findComponentAs<QLabel>("STALY_NazwaTarvek_STR1_DATA_LABEL")->font().pixelSize(), 11);
  EXPECT_EQ(form.findComponentAs<QLabel>("STALY_Im_STR1_DATA_LABEL")->font().pixelSize(), 16);
  EXPECT_TRUE(form.findComponentAs<QLabel>("STALY_SzczegolneOsiagniecia_STR2_DATA_LABEL")->font().bold());
}

TEST(EarlierCertificates, TheTwinsFixedTextsDifferOnlyWhereTheirBlanksDo) {
  struct Caption {
    const char* className;
    const char* label;    // middle part; side from the name of the class's blank
    const char* caption;  // nullptr: the form has no such label
    int size;             // 0: not checked
  };
  const Caption cases[] = {
      {"TFKlasa1wyr", "IOtrzymal_STR1", "i otrzymał", 0},
      {"TFKlasa1wyr", "PromDoKlasy_STR1", "promocję z wyróżnieniem do klasy", 0},
      {"TFKlasa1wyr", "Otrzymal_STR1", nullptr, 0},
      {"TFKlasa1wyr", "Promocji_STR1", nullptr, 0},
      {"TFKlasa2wyr", "Promocji_STR1", nullptr, 0},
      {"TFKlasa2", "Promocji_STR1", "promocj", 0},
      {"TFKoniec", "SwiadectwoSzkolne_STR1", nullptr, 0},
      {"TFKoniec", "SwiadectwoSzkolne1_STR1", "ŚWIADECTWO UKOŃCZENIA", 29},
      {"TFKoniec", "SwiadectwoSzkolne2_STR1", "TARVEK OGÓLNOKSZTAŁCĄCEGO", 29},
      {"TFKoniec", "Ukonczyl_STR1", "ukończył", 16},
      {"TFKoniec", "Uczeszczal_STR1", nullptr, 0},
      {"TFKoniec", "DoKlasy_STR1", nullptr, 0},
      {"TFKoniec", "WRokuSzkolnym_STR1", "w roku szkolnym", 0},
      {"TFKoniec", "IRealizowal_STR1", "i realizował", 0},
      {"TFKoniec", "UjeteWPodstawie_STR1", "ujęte w podstawie programowej w zakresie rozszerzonym.", 0},
      {"TFKoniec", "IOtrzymal_STR1", nullptr, 0},
      {"TFKoniec", "PromDoKlasy_STR1", nullptr, 0},
      {"TFKoniec", "SwiadectwoJestDokumentem_STR1",
       "Świadectwo jest dokumentem potwierdzającym posiadanie wykształcenia średniego.", 13},
      {"TFKoniec", "WynikiKlasyfikacjiRocznej_STR2", nullptr, 0},
      {"TFKoniec", "WynikiKlasyfikacjiKoncowej_STR2", "WYNIKI KLASYFIKACJI KOŃCOWEJ", 0},
      {"TFKoniec", "WychowawcaKlasy_STR2", "WYCHOWAWCA (OPIEKUN) KLASY", 13},
      {"TFKoniecwyr", "WychowawcaKlasy_STR2", "WYCHOWAWCA KLASY", 16},
      {"TFKoniecwyr", "WRokuSzkolnym_STR1", nullptr, 0},
      {"TFKoniecwyr", "ZWyrWRokuSzkolnym_STR1", "z wyróżnieniem w roku szkolnym", 0},
      {"TFKoniecwyr", "SwiadectwoSzkolne2_STR1", "TARVEK OGÓLNOKSZTAŁCĄCEGO", 29},
  };
  for (const Caption& c : cases) {
    const auto form = make(c.className);
    const std::string name = std::string("STALY_") + c.label + "_DATA_LABEL";
    auto* label = form->findComponentAs<QLabel>(name);
    ASSERT_EQ(label != nullptr, c.caption != nullptr) << c.className << " " << c.label;
    if (!label) continue;
    EXPECT_EQ(label->text(), QString::fromUtf8(c.caption)) << c.className;
    if (c.size) {
      EXPECT_EQ(label->font().pixelSize(), c.size) << c.className << " " << c.label;
    }
  }
  // Apart from those, the twins keep the labels of the first blank.
  TFKlasa1 first;
  for (const Member& m : members()) {
    const auto form = make(m.className);
    for (int i = 0; i < first.ComponentCount(); ++i) {
      auto* theirs = form->findComponentAs<QLabel>(first.ComponentName(i).toStdString());
      auto* mine = qobject_cast<QLabel*>(first.Components(i));
      const std::string name = first.ComponentName(i).toStdString();
      if (!mine || !theirs || !has(name, "_DATA_LABEL") || has(name, "MENiS") || has(name, "IOtrzymal") ||
          has(name, "PromDoKlasy") || has(name, "Realizowal") || has(name, "UjeteW") || has(name, "Wychowawca"))
        continue;
      EXPECT_EQ(theirs->text(), mine->text()) << m.className << " " << name;
    }
  }
}

TEST(EarlierCertificates, SamplesFillEveryValueFieldWithinItsLimit) {
  const std::map<std::string, std::string> samples = {
      {"ImieNazwisko", "imię nazwisko"},   {"DataUrodzenia", "1 stycznia 1980"},  {"MiejsceUrodzenia", "katowicach"},
      {"NumerPESEL", "1234567890"},       {"UczeszczalA", "a"},                  {"UkonczylA", "a"},
      {"RokSzkolny1", "2010"},            {"RokSzkolny2", "2011"},               {"Klasa", "pierwszej"},
      {"Tarvek1", "Tarvek 1"},            {"Tarvek2", "Tarvek 2"},               {"NrTarvek", "12"},
      {"ImieSzkoly1", "tarvek imienia 1"}, {"ImieSzkoly2", "tarvek imienia 2"}, {"SzkolaWE", "e"},
      {"SzkolaMiasto", "katowicach"},     {"SzkolaWoj", "śląskie"},             {"RealizowalA", "a"},
      {"Przedmiot1", "przedmiot 1"},      {"Przedmiot2", "przedmiot 2"},         {"Przedmiot3", "przedmiot 3"},
      {"Przedmiot4", "przedmiot 4"},      {"NieOtrzymalProm", "nie"},            {"OtrzymalA", "a"},
      {"PromocjiE", "e"},                 {"PromDoKlasy", "drugiej"},            {"Miejscowosc", "katowice"},
      {"MiejscowoscDnia", "1 czerwca"},   {"MiejscowoscRok", "2011"},            {"NrNaSwiadectwie", "14"},
      {"ZachowanieOcn", "zachowanie ocn"}, {"ReligiaOcn", "religia ocn"},        {"JPolskiOcn", "polski ocn"},
      {"JObcyOpis1", "j.obcy 1 opis"},    {"JObcyOcn1", "j.obcy 1 ocn"},        {"JObcyOpis2", "j.obcy 2 opis"},
      {"JObcyOcn2", "j.obcy 2 ocn"},      {"HistoriaOcn", "historia ocn"},       {"WosOcn", "wos ocn"},
      {"WokOcn", "wok ocn"},              {"MatematykaOcn", "matematyka ocn"},   {"FizykaOcn", "fizyka ocn"},
      {"ChemiaOcn", "chemia ocn"},        {"BiologiaOcn", "biologia ocn"},       {"GeografiaOcn", "geografia ocn"},
      {"PodstPrzedOcn", "podst. przed. ocn"}, {"TechInfOcn", "tech. inf. ocn"}, {"WfOcn", "wf ocn"},
      {"PoOcn", "po ocn"},                {"Dodatkowy1", "dod. 1 opis"},         {"DodatkowyOcn1", "dod. 1 ocn"},
      {"Dodatkowy2", "dod. 2 opis"},      {"DodatkowyOcn2", "dod. 2 ocn"},       {"Dodatkowy3", "dod. 3 opis"},
      {"DodatkowyOcn3", "dod. 3 ocn"},    {"DodEdukacyjne1", "edu. 1 opis"},     {"DodEdukacyjneOcn1", "edu. 1 ocn"},
      {"DodEdukacyjne2", "edu. 2 opis"},  {"DodEdukacyjneOcn2", "edu. 2 ocn"},   {"DodEdukacyjne3", "edu. 3 opis"},
      {"DodEdukacyjneOcn3", "edu. 3 ocn"}, {"Indywidualny1", "indywidualny 1"}, {"Indywidualny2", "indywidualny 2"},
      {"Indywidualny3", "indywidualny 3"}, {"Szczegolne1", "szczegolne 1"},     {"Szczegolne2", "szczegolne 2"},
      {"Szczegolne3", "szczegolne 3"}};
  for (const Member& m : members()) {
    const auto form = make(m.className);
    bFunSetText(form->findComponent(edit1("Tarvek1")), "a student's school");
    form->vFunFillSampleData();
    form->vFunFillSampleData();  // twice: the same texts
    for (const std::string& name : m.values) {
      const std::string middle = name.substr(8, name.find("_STR") - 8);
      const auto it = samples.find(middle);
      const std::string expected = it != samples.end() ? it->second : "zakres rozszerzony";
      if (it == samples.end()) {
        EXPECT_TRUE(has(middle, "ZakRoz")) << middle;
      }
      EXPECT_EQ(text(*form, name), expected) << m.className << " " << name;
      const int max = specOf(*form, name)->maxLength;
      if (max > 0) {
        EXPECT_LE(static_cast<int>(cp1250FromUtf8(expected).size()), max) << name;
      }
    }
    // Labels keep their texts.
    EXPECT_EQ(text(*form, "STALY_MENiS_STR1_DATA_LABEL"), m.blank);
  }
}

TEST(EarlierCertificates, OkPutsABlankIntoEmptyScopesAndClosesOnlyOnASave) {
  const auto saved = TDocumentForm::StudentSave;
  bool saves = false;
  int calls = 0;
  TDocumentForm::StudentSave = [&] {
    ++calls;
    return saves;
  };
  for (const Member& m : members()) {
    const auto form = make(m.className);
    form->vFunClearFormData();
    bFunSetText(form->findComponent(edit2("ZakRoz3")), "R");
    bFunSetText(form->findComponent(edit2("ZakRoz9")), "  ");
    saves = false;
    calls = 0;
    form->setResult(mrNone);
    form->OKButtonClick();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(form->result(), mrNone) << m.className;  // a failed save keeps the window open
    for (int row = 1; row <= 18; ++row) {
      const std::string expected = row == 3 ? "R" : row == 9 ? "  " : " ";
      EXPECT_EQ(text(*form, edit2("ZakRoz" + std::to_string(row))), expected) << m.className << " " << row;
    }
    // Only the extended scope gets a blank.
    EXPECT_EQ(text(*form, edit2("Szczegolne1")), "");
    EXPECT_EQ(text(*form, combo2("JPolskiOcn")), "");
    saves = true;
    form->OKButtonClick();
    EXPECT_EQ(form->result(), mrOk) << m.className;
  }
  TDocumentForm::StudentSave = saved;
}

// The school data exchanged with the template dialog, as the description
// pairs them: dialog edit, certificate field, and which way they travel.
TEST(EarlierCertificates, TheSchoolTemplatePairsInTheirOrder) {
  struct Pair {
    const char* dialog;
    std::string field;
    bool fill, take;
  };
  const std::vector<Pair> all = {
      {"ZMIENNA_RokSzkolny1_DATA_EDIT", edit1("RokSzkolny1"), true, true},
      {"ZMIENNA_RokSzkolny2_DATA_EDIT", edit1("RokSzkolny2"), true, true},
      {"ZMIENNA_Klasa_DATA_EDIT", edit1("Klasa"), true, false},
      {"ZMIENNA_Tarvek1_DATA_EDIT", edit1("Tarvek1"), true, true},
      {"ZMIENNA_Tarvek2_DATA_EDIT", edit1("Tarvek2"), true, true},
      {"ZMIENNA_NrTarvek_DATA_EDIT", edit1("NrTarvek"), true, true},
      {"ZMIENNA_TarvekImienia1_DATA_EDIT", edit1("ImieSzkoly1"), true, true},
      {"ZMIENNA_TarvekImienia2_DATA_EDIT", edit1("ImieSzkoly2"), true, true},
      {"ZMIENNA_SzkolaWE_DATA_EDIT", edit1("SzkolaWE"), true, true},
      {"ZMIENNA_SzkolaMiasto_DATA_EDIT", edit1("SzkolaMiasto"), true, true},
      {"ZMIENNA_SzkolaWoj_DATA_EDIT", edit1("SzkolaWoj"), true, true},
      {"ZMIENNA_Przedmiot1_STR1_DATA_EDIT", edit1("Przedmiot1"), true, true},
      {"ZMIENNA_Przedmiot2_STR1_DATA_EDIT", edit1("Przedmiot2"), true, true},
      {"ZMIENNA_Przedmiot3_STR1_DATA_EDIT", edit1("Przedmiot3"), true, true},
      {"ZMIENNA_Przedmiot4_STR1_DATA_EDIT", edit1("Przedmiot4"), true, true},
      {"ZMIENNA_PromocjaDoKlasy_DATA_EDIT", edit1("PromDoKlasy"), true, true},
      {"ZMIENNA_Miejscowosc_DATA_EDIT", edit1("Miejscowosc"), true, true},
      {"ZMIENNA_MiejscowoscDnia_DATA_EDIT", edit1("MiejscowoscDnia"), true, true},
      {"ZMIENNA_MiejscowoscRok_DATA_EDIT", edit1("MiejscowoscRok"), true, true},
      {"ZMIENNA_JObcy1_DATA_EDIT", edit2("JObcyOpis1"), true, true},
      {"ZMIENNA_JObcy2_DATA_EDIT", edit2("JObcyOpis2"), true, true},
      {"ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", edit2("Dodatkowy1"), true, true},
      {"ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", edit2("Dodatkowy2"), true, true},
      {"ZMIENNA_ObowiazkoweEdu3_DATA_EDIT", edit2("Dodatkowy3"), true, true},
      {"ZMIENNA_DodatkoweEdu1_DATA_EDIT", edit2("DodEdukacyjne1"), true, true},
      {"ZMIENNA_DodatkoweEdu2_DATA_EDIT", edit2("DodEdukacyjne2"), true, true},
      {"ZMIENNA_DodatkoweEdu3_DATA_EDIT", edit2("DodEdukacyjne3"), true, true}};
  for (const Member& m : members()) {
    const auto form = make(m.className);
    const bool leaving = m.kind == dkKoniec || m.kind == dkKoniecWyr;
    std::vector<Pair> expected = all;
    if (leaving)
      std::erase_if(expected, [](const Pair& p) { return p.field == edit1("Klasa") || p.field == edit1("PromDoKlasy"); });
    ASSERT_EQ(form->Spec->templateCount, static_cast<int>(expected.size())) << m.className;
    int fills = 0, takes = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const TTemplatePair& p = form->Spec->templatePairs[i];
      EXPECT_EQ(p.dialogField, std::string(expected[i].dialog)) << m.className << " " << i;
      EXPECT_EQ(p.formField, expected[i].field) << m.className << " " << i;
      EXPECT_EQ(p.fill, expected[i].fill);
      EXPECT_EQ(p.take, expected[i].take);
      fills += p.fill;
      takes += p.take;
    }
    EXPECT_EQ(fills, leaving ? 25 : 27);
    EXPECT_EQ(takes, leaving ? 25 : 26);
  }
}

// A stand-in for the student-data dialog: plain edits found by name.
class StudentData : public TFormBase {
 public:
  QWidget owner;
  QLineEdit* edit(const std::string& name, const std::string& utf8) {
    auto* e = Make<QLineEdit>(QString::fromStdString(name), &owner);
    e->setText(QString::fromStdString(utf8));
    return e;
  }
};

// The student's data go into side 1 on every load, over whatever the rows
// held, in the order of the description; the endings follow the sex.
TEST(EarlierCertificates, EveryLoadCopiesTheStudentsDataAndTheEndingsOfTheSex) {
  const Names copiedClass = {"ImieNazwisko", "DataUrodzenia", "MiejsceUrodzenia", "UczeszczalA",
                             "OtrzymalA",    "RealizowalA",   "NrNaSwiadectwie",  "NumerPESEL"};
  const Names copiedLeaving = {"ImieNazwisko", "DataUrodzenia",   "MiejsceUrodzenia", "UkonczylA",
                               "RealizowalA",  "NrNaSwiadectwie", "NumerPESEL"};
  StudentData dialog;
  const std::pair<const char*, const char*> student[] = {
      {"Imie_DATA_EDIT", "Anna"},           {"Nazwisko_DATA_EDIT", "Nowak"},
      {"UrodzonyDnia_DATA_EDIT", "1 maja"}, {"UrodzonyRok_DATA_COMBOBOX", "2001 r."},
      {"UrodzonyMiasto_DATA_COMBOBOX", "Kraków"}, {"NrDziennika_DATA_EDIT", "7"},
      {"NrPesel_DATA_EDIT", "01234567890"}};
  for (const auto& [name, value] : student) dialog.edit(name, value);
  QLineEdit* sex = dialog.edit("Plec_DATA_COMBOBOX", "");
  const auto before = TDocumentForm::StudentData;
  TDocumentForm::StudentData = [&dialog] { return static_cast<const TComponentRegistry*>(&dialog); };
  for (const Member& m : members()) {
    const auto form = make(m.className);
    const bool leaving = m.kind == dkKoniec || m.kind == dkKoniecWyr;
    const Names& copied = leaving ? copiedLeaving : copiedClass;
    Names described;
    for (int i = 0; i < form->Spec->personalCount; ++i) described.push_back(form->Spec->personal[i].field);
    Names expected;
    for (const std::string& middle : copied) expected.push_back(edit1(middle));
    EXPECT_EQ(described, expected) << m.className;

    std::vector<TDataRecord> rows(copied.size() + 1);
    for (std::size_t i = 0; i < copied.size(); ++i) {
      rows[i].id = m.tag;
      rows[i].comp_name = edit1(copied[i]).c_str();
      rows[i].value = "stored";
    }
    rows.back().id = m.tag;
    rows.back().comp_name = edit1("Tarvek1").c_str();
    rows.back().value = "stored";
    for (const char* s : {"mężczyzna", "kobieta", ""}) {
      SCOPED_TRACE(std::string(m.className) + " " + s);
      sex->setText(QString::fromUtf8(s));
      // No sex chosen gives the ending of "kobieta".
      const std::string ending = std::string(s) == "mężczyzna" ? "" : "a";
      form->vFunFormDataFromList(rows);
      EXPECT_EQ(text(*form, edit1("ImieNazwisko")), "Anna Nowak");
      EXPECT_EQ(text(*form, edit1("DataUrodzenia")), "1 maja 2001 r.");
      EXPECT_EQ(text(*form, edit1("MiejsceUrodzenia")), "Kraków");
      EXPECT_EQ(text(*form, edit1("NrNaSwiadectwie")), "7");
      EXPECT_EQ(text(*form, edit1("NumerPESEL")), "01234567890");
      for (const std::string& middle : copied)
        if (middle.back() == 'A') {
          EXPECT_EQ(text(*form, edit1(middle)), ending) << middle;
        }
      EXPECT_EQ(text(*form, edit1("Tarvek1")), "stored");  // not a personal field
    }
  }
  TDocumentForm::StudentData = before;
}

// A new student: only the two plain class certificates start with "ę"
// after "promocj"; every other value field stays empty.
TEST(EarlierCertificates, ANewStudentStartsWithTheEndingOfPromotionOnThePlainClassBlanks) {
  for (const Member& m : members()) {
    const auto form = make(m.className);
    form->vFunClearFormData();
    form->vFunNewStudentDefaults();
    const bool plainClass = m.kind == dkKlasaI || m.kind == dkKlasaII;
    for (const std::string& name : m.values) {
      EXPECT_EQ(text(*form, name), plainClass && name == edit1("PromocjiE") ? "ę" : "") << m.className << " " << name;
    }
    EXPECT_EQ(form->findComponent(edit1("PromocjiE")) != nullptr, plainClass) << m.className;
  }
}

// The bottom panel: the template button at the left, OK and "Anuluj".
TEST(EarlierCertificates, ThePanelCarriesTheirThreeButtons) {
  const std::pair<const char*, const char*> buttons[] = {
      {"LoadSchoolDataButton", "Załaduj szablon danych szkoły"}, {"OKButton", "OK"}, {"CancelButton", "Anuluj"}};
  for (const Member& m : members()) {
    const auto form = make(m.className);
    EXPECT_EQ(form->Spec->panelHeight, 41) << m.className;
    for (const auto& [name, caption] : buttons) {
      auto* button = form->findComponentAs<QPushButton>(name);
      ASSERT_NE(button, nullptr) << m.className << " " << name;
      EXPECT_EQ(button->text(), QString::fromUtf8(caption)) << m.className << " " << name;
    }
  }
}

}  // namespace

// The dotted leaders: runs of 34 to 79 full stops in "Times New Roman" at
// 11 px; a subject's leader runs on from the end of its name, under the
// row's extended-scope box, which shows in front of it.
TEST(EarlierCertificates, TheDottedLeadersContinueTheSubjectNames) {
  const std::pair<const char*, int> subjects[] = {
      {"JPolski", 1}, {"Historia", 4}, {"Wos", 5},     {"Wok", 6},        {"Matematyka", 7},
      {"Fizyka", 8},  {"Chemia", 9},   {"Biologia", 10}, {"Geografia", 11}, {"PodstPrzed", 12},
      {"TechInf", 13}, {"Wf", 14},     {"Po", 15}};
  for (const Member& m : members()) {
    SCOPED_TRACE(m.className);
    const auto form = make(m.className);
    int leaders = 0;
    for (int i = 0; i < form->ComponentCount(); ++i) {
      const QString name = form->ComponentName(i);
      auto* leader = qobject_cast<QLabel*>(form->Components(i));
      if (!leader || !name.startsWith("Label")) continue;
      ++leaders;
      const QString dots = leader->text();
      EXPECT_EQ(dots, QString(dots.size(), QLatin1Char('.'))) << name.toStdString();
      EXPECT_GE(dots.size(), 34) << name.toStdString();
      EXPECT_LE(dots.size(), 79) << name.toStdString();
      EXPECT_EQ(leader->font().family().toStdString(), "Times New Roman");
      EXPECT_EQ(leader->font().pixelSize(), 11);
    }
    EXPECT_EQ(leaders, 15);  // Label56, Label58, Label1 to Label13
    for (int n = 1; n <= 13; ++n) {
      const auto [subject, row] = subjects[n - 1];
      SCOPED_TRACE(subject);
      auto* leader = form->findComponentAs<QLabel>("Label" + std::to_string(n));
      auto* label = form->findComponentAs<QLabel>("STALY_" + std::string(subject) + "_STR2_DATA_LABEL");
      auto* scope = form->findComponentAs<QLineEdit>(edit2("ZakRoz" + std::to_string(row)));
      ASSERT_TRUE(leader && label && scope);
      const int nameEnd = label->x() + label->fontMetrics().horizontalAdvance(label->text());
      EXPECT_GE(leader->x(), nameEnd);
      EXPECT_LE(leader->x() - nameEnd, 8);
      EXPECT_EQ(leader->y(), label->y());
      EXPECT_GT(leader->x() + leader->width(), scope->x());  // runs on under the box
      const QObjectList& stack = leader->parent()->children();
      EXPECT_LT(stack.indexOf(leader), stack.indexOf(scope)) << "the box lies in front of the leader";
    }
  }
}
