// The class pages of the record sheet: pages 2 to 5 of "MEN-I/42/2" and the
// three class pages of "MEN-I/42b/2". Their fields, limits and lists against
// tables of this test's own, the line limits of their memos, the line rows,
// the samples, the clear button and the kind of a printed column.
#include "forms/FormUnits.h"
#include "forms/FormFactory.h"
#include "platform/Cp1250.h"
#include "toolkit/Components.h"
#include "support/FormReference.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- the tables

// A value field by its middle part and kind: 'e' edit, 'c' combo box, 'm'
// memo, 'x' a plain edit named like a combo box.
struct TField {
  std::string middle;
  char kind;
  std::string name() const {
    const char* ending = kind == 'e' ? "_DATA_EDIT" : kind == 'm' ? "_DATA_MEMO" : "_DATA_COMBOBOX";
    return "ZMIENNA_" + middle + ending;
  }
};
using TFields = std::vector<TField>;

void add(TFields& f, std::initializer_list<std::string> middles, char kind) {
  for (const std::string& m : middles) f.push_back({m, kind});
}
std::string n(int v) { return std::to_string(v); }

TFields page2() {
  TFields f;
  add(f, {"Rok1", "Rok2", "Klasa1", "Klasa2", "NrDziennika1", "NrDziennika2"}, 'e');
  add(f, {"ZachowanieOcn1", "ZachowanieOcn2", "ReligiaOcn1", "ReligiaOcn2"}, 'c');
  for (int r = 3; r <= 17; ++r) add(f, {"EdukacyjneOcn" + n(r) + "1", "EdukacyjneOcn" + n(r) + "2"}, 'c');
  add(f, {"EdukacyjneOpis15"}, 'e');
  add(f, {"EdukacyjneOcn181", "EdukacyjneOcn182"}, 'c');
  add(f, {"EdukacyjneOpis16", "EdukacyjneOpis17", "EdukacyjneOpis18"}, 'e');
  add(f, {"Szczegolne1", "Szczegolne2"}, 'm');
  add(f, {"GodzOpuszczoneOgolem1", "GodzOpuszczoneOgolem2"}, 'e');
  add(f, {"InfoOEgzaminach1", "InfoOEgzaminach2", "DataUchwaly1", "DataUchwaly2"}, 'm');
  for (int r = 3; r <= 14; ++r) add(f, {"EdukacyjneOpis" + n(r)}, 'e');
  add(f, {"DodEdukacyjneOpis19", "DodEdukacyjneOpis20", "DodEdukacyjneOpis21"}, 'e');
  add(f, {"DodEdukacyjneOcn191", "DodEdukacyjneOcn201", "DodEdukacyjneOcn211", "DodEdukacyjneOcn192",
          "DodEdukacyjneOcn202", "DodEdukacyjneOcn212"}, 'c');
  add(f, {"GodzOpuszczoneNieusp1", "GodzOpuszczoneNieusp2"}, 'm');
  add(f, {"Strona"}, 'e');
  return f;
}

TFields page4() {
  TFields f = page2();
  f.insert(f.end() - 1, {{"WynikiKlasyfikacji1", 'e'}, {"WynikiKlasyfikacji2", 'e'}});
  return f;
}

TFields page3() {
  TFields f;
  add(f, {"Rok1", "Rok2", "Klasa1", "Klasa2", "NrDziennika1", "NrDziennika2"}, 'e');
  add(f, {"ZachowanieOcn1", "ZachowanieOcn2", "ReligiaOcn1", "ReligiaOcn2"}, 'c');
  for (int r = 3; r <= 18; ++r) add(f, {"EdukacyjneOcn" + n(r) + "1", "EdukacyjneOcn" + n(r) + "2"}, 'c');
  add(f, {"Szczegolne1", "Szczegolne2"}, 'm');
  add(f, {"GodzOpuszczoneOgolem1", "GodzOpuszczoneOgolem2"}, 'e');
  add(f, {"InfoOEgzaminach1", "InfoOEgzaminach2", "DataUchwaly1", "DataUchwaly2"}, 'm');
  add(f, {"DodEdukacyjneOcn190", "DodEdukacyjneOcn200", "DodEdukacyjneOcn210"}, 'x');
  add(f, {"DodEdukacyjneOcn191", "DodEdukacyjneOcn201", "DodEdukacyjneOcn211", "DodEdukacyjneOcn192",
          "DodEdukacyjneOcn202", "DodEdukacyjneOcn212"}, 'c');
  add(f, {"GodzOpuszczoneNieusp1", "GodzOpuszczoneNieusp2"}, 'm');
  add(f, {"WynikiKlasyfikacji3"}, 'e');
  add(f, {"Szczegolne0"}, 'm');
  add(f, {"GodzOpuszczoneOgolem0"}, 'e');
  add(f, {"GodzOpuszczoneNieusp0", "InfoOEgzaminach0", "DataUchwaly0"}, 'm');
  add(f, {"Rok0", "Klasa0", "NrDziennika0"}, 'e');
  add(f, {"ZachowanieOcn0", "ReligiaOcn0"}, 'c');
  for (int r = 3; r <= 18; ++r) add(f, {"EdukacyjneOcn" + n(r) + "0"}, 'c');
  add(f, {"WynikiKlasyfikacji2", "Strona"}, 'e');
  return f;
}

TFields page5() {
  TFields f = page3();
  f.insert(f.end() - 1, {"WynikiKlasyfikacji1", 'e'});
  return f;
}

TFields page2b() {
  TFields f;
  add(f, {"Rok", "Klasa", "NrDziennika"}, 'e');
  add(f, {"ZachowanieOcn", "ReligiaOcn"}, 'c');
  for (int r = 3; r <= 17; ++r) add(f, {"ObEduOcn" + n(r)}, 'c');
  add(f, {"ObEduOpis15"}, 'e');
  add(f, {"ObEduOcn18"}, 'c');
  add(f, {"ObEduOpis16", "ObEduOpis17", "ObEduOpis18"}, 'e');
  add(f, {"Szczegolne"}, 'm');
  add(f, {"GodzOpuszczoneOgolem"}, 'e');
  add(f, {"InfoOEgzaminach", "DataUchwaly"}, 'm');
  for (int r : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 19, 20, 21}) add(f, {"ObEduOpis" + n(r)}, 'e');
  add(f, {"ObEduOcn19", "ObEduOcn20", "ObEduOcn21"}, 'c');
  add(f, {"PrzedUzOpis4", "PrzedUzOpis3", "PrzedUzOpis2", "PrzedUzOpis1"}, 'e');
  add(f, {"PrzedUzOcn1", "PrzedUzOcn2", "PrzedUzOcn3", "PrzedUzOcn4"}, 'c');
  add(f, {"DodZajEduOpis1", "DodZajEduOpis2", "DodZajEduOpis3"}, 'e');
  add(f, {"DodZajEduOcn1", "DodZajEduOcn2", "DodZajEduOcn3"}, 'c');
  add(f, {"GodzOpuszczoneNieusp", "Strona"}, 'e');
  return f;
}

TFields page3b() {
  TFields f;
  add(f, {"Rok1", "Klasa1", "NrDziennika1"}, 'e');
  add(f, {"ZachowanieOcn1", "ReligiaOcn1"}, 'c');
  for (int r = 3; r <= 17; ++r) add(f, {"ObEduOcn" + n(r) + "1"}, 'c');
  add(f, {"ObEduOpis15"}, 'e');
  add(f, {"ObEduOcn181"}, 'c');
  add(f, {"ObEduOpis16", "ObEduOpis17", "ObEduOpis18"}, 'e');
  add(f, {"Szczegolne1"}, 'm');
  add(f, {"GodzOpuszczoneOgolem1"}, 'e');
  add(f, {"InfoOEgzaminach1", "DataUchwaly1"}, 'm');
  for (int r : {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 19, 20, 21}) add(f, {"ObEduOpis" + n(r)}, 'e');
  add(f, {"ObEduOcn191", "ObEduOcn201", "ObEduOcn211"}, 'c');
  add(f, {"PrzedUzOpis4", "PrzedUzOpis3", "PrzedUzOpis2", "PrzedUzOpis1"}, 'e');
  add(f, {"PrzedUzOcn11", "PrzedUzOcn21", "PrzedUzOcn31", "PrzedUzOcn41"}, 'c');
  add(f, {"DodZajEduOpis1", "DodZajEduOpis2", "DodZajEduOpis3"}, 'e');
  add(f, {"DodZajEduOcn11", "DodZajEduOcn21", "DodZajEduOcn31"}, 'c');
  add(f, {"GodzOpuszczoneNieusp1"}, 'e');
  for (int r = 3; r <= 21; ++r) add(f, {"ObEduOcn" + n(r) + "2"}, 'c');
  add(f, {"Rok2", "Klasa2", "NrDziennika2"}, 'e');
  add(f, {"ZachowanieOcn2", "ReligiaOcn2"}, 'c');
  add(f, {"PrzedUzOcn12", "PrzedUzOcn22", "PrzedUzOcn32", "PrzedUzOcn42", "DodZajEduOcn12", "DodZajEduOcn22",
          "DodZajEduOcn32"}, 'c');
  add(f, {"Szczegolne2"}, 'm');
  add(f, {"GodzOpuszczoneOgolem2", "GodzOpuszczoneNieusp2"}, 'e');
  add(f, {"InfoOEgzaminach2", "DataUchwaly2"}, 'm');
  add(f, {"Strona"}, 'e');
  return f;
}

struct TPage {
  const char* className;
  std::unique_ptr<TClassPage> (*make)();
  TFields fields;
  int valueCount, labelCount, rowNumbers;
  bool earlier;  // "MEN-I/42/2"
  const char* tag;
};

template <class T>
std::unique_ptr<TClassPage> made() {
  return std::make_unique<T>(nullptr);
}

const std::vector<TPage>& pages() {
  static const std::vector<TPage> list = {
      {"TFArkuszStr2", made<TFArkuszStr2>, page2(), 78, 61, 26, true, "ARKUSZ OCEN STR 2 TARVEK"},
      {"TFArkuszStr3", made<TFArkuszStr3>, page3(), 90, 32, 26, true, "ARKUSZ OCEN STR 3 TARVEK"},
      {"TFArkuszStr4", made<TFArkuszStr4>, page4(), 80, 59, 26, true, "ARKUSZ OCEN STR 4 TARVEK"},
      {"TFArkuszStr5", made<TFArkuszStr5>, page5(), 91, 31, 26, true, "ARKUSZ OCEN STR 5 TARVEK"},
      {"TFArkuszStr2b", made<TFArkuszStr2b>, page2b(), 63, 66, 33, false, "ARKUSZ OCEN STR 2b TARVEK"},
      {"TFArkuszStr3b", made<TFArkuszStr3b>, page3b(), 99, 67, 33, false, "ARKUSZ OCEN STR 3b TARVEK"},
      {"TFArkuszStr4b", made<TFArkuszStr4b>, page3b(), 99, 67, 33, false, "ARKUSZ OCEN STR 4b TARVEK"},
  };
  return list;
}

bool has(const std::string& name, const char* marker) { return name.find(marker) != std::string::npos; }

std::vector<std::string> valueNames(const TDocumentForm& form) {
  std::vector<std::string> names;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const std::string name = form.ComponentName(i).toStdString();
    if (has(name, "_DATA_EDIT") || has(name, "_DATA_COMBOBOX") || has(name, "_DATA_MEMO")) names.push_back(name);
  }
  return names;
}

int memoLimit(const std::string& name, bool earlier) {
  if (has(name, "Szczegolne")) return earlier ? 5 : 3;
  if (has(name, "InfoOEgzaminach")) return 7;
  if (has(name, "DataUchwaly")) return 6;
  if (has(name, "GodzOpuszczoneNieusp")) return 1;
  return -1;
}

const QStringList kBehaviour = {"wzorowe", "bardzo dobre", "dobre", "poprawne", "nieodpowiednie", "naganne"};
const QStringList kGrades = {QString::fromUtf8("celujący"), "bardzo dobry", "dobry", "dostateczny",
                             QString::fromUtf8("dopuszczający"), "niedostateczny"};
const QStringList kReligion = kGrades + QStringList {QString::fromUtf8("nie uczęszczała"),
                                                     QString::fromUtf8("nie uczestniczyła"),
                                                     QString::fromUtf8("nie uczęszczał"),
                                                     QString::fromUtf8("nie uczestniczył")};

QStringList itemsOf(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// The items of a class page's certificate list, as the reference table gives them.
QStringList certificateItems(const char* pageClass) {
  QStringList items;
  for (const TFormReference* r : referenceCertificateList(pageClass)) items << QString::fromUtf8(r->listText);
  return items;
}

void pressEnter(QWidget* memo) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QCoreApplication::sendEvent(memo, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r");
  QCoreApplication::sendEvent(memo, &release);
}

std::vector<TDataRecord> rows(const char* tag, const std::vector<std::pair<std::string, std::string>>& named) {
  std::vector<TDataRecord> list;
  for (const auto& [name, value] : named) {
    TDataRecord r;
    r.id = tag;
    r.comp_name = name;
    r.value = value;
    list.push_back(r);
  }
  return list;
}

std::vector<std::string> lines(int count, const std::string& word) {
  std::vector<std::string> out;
  for (int i = 1; i <= count; ++i) out.push_back(word + " " + n(i));
  return out;
}

}  // namespace

// ---------------------------------------------------------------- fields

TEST(ClassPages, EachPageHasItsValueFieldsInCreationOrderWithTheirKinds) {
  for (const TPage& p : pages()) {
    SCOPED_TRACE(p.className);
    const auto form = p.make();
    EXPECT_STREQ(form->metaObject()->className(), p.className);
    std::vector<std::string> expected;
    for (const TField& f : p.fields) expected.push_back(f.name());
    ASSERT_EQ(static_cast<int>(expected.size()), p.valueCount);  // the table itself
    EXPECT_EQ(valueNames(*form), expected);
    for (const TField& f : p.fields) {
      QObject* c = form->findComponent(f.name());
      ASSERT_NE(c, nullptr) << f.name();
      const TComponentKind kind = kindOf(c);
      EXPECT_EQ(kind, f.kind == 'c' ? TComponentKind::ComboBox
                      : f.kind == 'm' ? TComponentKind::Memo
                                      : TComponentKind::Edit) << f.name();
    }
  }
}

TEST(ClassPages, TwinsDifferOnlyWhereThePagesDo) {
  const auto p2 = std::make_unique<TFArkuszStr2>(nullptr);
  const auto p3 = std::make_unique<TFArkuszStr3>(nullptr);
  const auto p4 = std::make_unique<TFArkuszStr4>(nullptr);
  const auto p5 = std::make_unique<TFArkuszStr5>(nullptr);
  const auto p4b = std::make_unique<TFArkuszStr4b>(nullptr);
  const auto p3b = std::make_unique<TFArkuszStr3b>(nullptr);
  // Headings by hand: none on page 2, 2 and 3 on page 3, all three on page 5.
  for (const char* w : {"ZMIENNA_WynikiKlasyfikacji1_DATA_EDIT", "ZMIENNA_WynikiKlasyfikacji2_DATA_EDIT"}) {
    EXPECT_EQ(p2->findComponent(w), nullptr);
    EXPECT_NE(p4->findComponent(w), nullptr);
  }
  EXPECT_EQ(p3->findComponent("ZMIENNA_WynikiKlasyfikacji1_DATA_EDIT"), nullptr);
  EXPECT_NE(p5->findComponent("ZMIENNA_WynikiKlasyfikacji1_DATA_EDIT"), nullptr);
  EXPECT_NE(p2->findComponent("STALY_RocznejSemestralnej2_DATA_LABEL"), nullptr);
  EXPECT_EQ(p4->findComponent("STALY_RocznejSemestralnej1_DATA_LABEL"), nullptr);
  EXPECT_NE(p3->findComponent("STALY_RocznejSemestralnej1_DATA_LABEL"), nullptr);
  EXPECT_EQ(p5->findComponent("STALY_RocznejSemestralnej1_DATA_LABEL"), nullptr);
  EXPECT_EQ(strFunGetText(p3b->findComponent("STALY_WynikiKlasyfikacji2_DATA_LABEL")),
            cp1250("Wyniki klasyfikacji rocznej"));
  EXPECT_EQ(strFunGetText(p4b->findComponent("STALY_WynikiKlasyfikacji2_DATA_LABEL")),
            cp1250("Wyniki klasyfikacji końcowej"));
  EXPECT_EQ(itemsOf(p3b->findComponentAs<QComboBox>("CertTypeComboBox")), certificateItems("TFArkuszStr3b"));
  EXPECT_EQ(itemsOf(p4b->findComponentAs<QComboBox>("CertTypeComboBox")), certificateItems("TFArkuszStr4b"));
  EXPECT_EQ(p3b->findComponentAs<QPushButton>("LoadDataToSeetButton")->text(),
            QString::fromUtf8("Wczytaj dane z wybranego świadectwa"));
  EXPECT_EQ(p4b->findComponentAs<QPushButton>("LoadDataToSeetButton")->text(),
            QString::fromUtf8("Wczytaj dane ze świadectwa"));
}

TEST(ClassPages, LabelsCarryTheBlanksTextsAndTheRowNumbers) {
  for (const TPage& p : pages()) {
    SCOPED_TRACE(p.className);
    const auto form = p.make();
    int labels = 0;
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (has(form->ComponentName(i).toStdString(), "_DATA_LABEL")) ++labels;
    EXPECT_EQ(labels, p.labelCount);
    for (int r = 1; r <= p.rowNumbers; ++r)
      EXPECT_EQ(strFunGetText(form->findComponent("STALY_Lp" + n(r) + "_DATA_LABEL")), n(r));
    EXPECT_EQ(form->findComponent("STALY_Lp" + n(p.rowNumbers + 1) + "_DATA_LABEL"), nullptr);
    EXPECT_EQ(strFunGetText(form->findComponent("STALY_Strona_DATA_LABEL")), "str.");
    EXPECT_EQ(strFunGetText(form->findComponent("STALY_Lp_DATA_LABEL")), "Lp.");
  }
  const auto p2 = std::make_unique<TFArkuszStr2>(nullptr);
  const auto p2b = std::make_unique<TFArkuszStr2b>(nullptr);
  EXPECT_EQ(strFunGetText(p2->findComponent("STALY_LiczbaOpuszczonychGodzin1_DATA_LABEL")), "Liczba ");
  EXPECT_EQ(strFunGetText(p2->findComponent("STALY_KlasaSemestr_DATA_LABEL")), cp1250("Klasa / semestr (słownie)"));
  EXPECT_EQ(strFunGetText(p2b->findComponent("STALY_KlasaSemestr_DATA_LABEL")), cp1250("Klasa (słownie)"));
  EXPECT_TRUE(p2b->findComponentAs<QLabel>("STALY_PrzedmiotyUzupelniajace_DATA_LABEL")->font().bold());
  EXPECT_FALSE(p2->findComponentAs<QLabel>("STALY_Zachowanie_DATA_LABEL")->font().bold());
}

TEST(ClassPages, EveryTextOfTheBlankWithItsCaptionBoldnessAndPages) {
  struct TText {
    const char* middle;
    const char* caption;
    bool bold;
    std::vector<std::string> pages;  // the pages that carry it, as the blank numbers them
  };
  const std::vector<std::string> all = {"2", "3", "4", "5", "2b", "3b", "4b"};
  const std::vector<std::string> named = {"2", "4", "2b", "3b", "4b"};  // the pages with the rows' names
  const std::vector<std::string> earlier = {"2", "3", "4", "5"};
  const std::vector<std::string> current = {"2b", "3b", "4b"};
  const std::vector<TText> texts = {
      {"Lp", "Lp.", false, all},
      {"RokSzkolny", "Rok szkolny", false, named},
      {"KlasaSemestr", "Klasa / semestr (słownie)", false, {"2", "4"}},
      {"KlasaSemestr", "Klasa (słownie)", false, current},
      {"NrKolejnyWDzienniku", "Nr kolejny w dzienniku lekcyjnym", false, named},
      {"WynikiKlasyfikacji1", "Wyniki klasyfikacji", false, earlier},
      {"WynikiKlasyfikacji1", "Wyniki klasyfikacji rocznej", true, current},
      {"WynikiKlasyfikacji2", "Wyniki klasyfikacji", false, earlier},
      {"WynikiKlasyfikacji2", "Wyniki klasyfikacji rocznej", true, {"3b"}},
      {"WynikiKlasyfikacji2", "Wyniki klasyfikacji końcowej", true, {"4b"}},
      {"WynikiKlasyfikacji3", "Wyniki klasyfikacji", false, {"3", "5"}},
      {"RocznejSemestralnej1", "rocznej / semestralnej", false, {"2", "3"}},
      {"RocznejSemestralnej2", "rocznej / semestralnej", false, {"2"}},
      {"Zachowanie", "Zachowanie", false, named},
      {"Religia", "Religia / etyka", false, named},
      {"ObowiazkoweZajeciaEdukacyjne", "Obowiązkowe zajęcia edukacyjne", true, named},
      {"PrzedmiotyUzupelniajace", "przedmioty uzupełniające:", true, current},
      {"DodatkoweZajeciaEdu", "Dodatkowe zajęcia edukacyjne", true, named},
      {"SzczegolneOsiagniecia", "Szczególne osiągnięcia", true, named},
      {"LiczbaOpuszczonychGodzin1", "Liczba ", false, named},
      {"LiczbaOpuszczonychGodzin2", "opuszczo-", false, named},
      {"LiczbaOpuszczonychGodzin3", "nych", false, named},
      {"LiczbaOpuszczonychGodzin4", "godzin", false, named},
      {"Ogolem", "ogółem", false, named},
      {"WTymNieusprawiedliwionych1", "w tym nieuspra-", false, named},
      {"WTymNieusprawiedliwionych2", "wiedliwionych", false, named},
      {"InfoOEgzaminach1", "Informacja o:", false, named},
      {"InfoOEgzaminach2", "1) egzaminach:", false, named},
      {"InfoOEgzaminach3", "a) poprawkowych", false, named},
      {"InfoOEgzaminach4", "b) klasyfikacyjnych", false, named},
      {"InfoOEgzaminach5", "2) sprawdzianie wiadomości", false, named},
      {"InfoOEgzaminach6", "i umiejętności", false, named},
      {"InfoOEgzaminach7", "( zajęcia edukacyjne, ocena, data )", false, named},
      {"DataUchwaly1", "Data uchwały rady pedagogicznej:", false, named},
      {"DataUchwaly2", "1) promowany ( z wyróżnieniem )", false, named},
      {"DataUchwaly3", "2) niepromowany", false, named},
      {"DataUchwaly4", "3) ukończył szkołę ( z wyróżnieniem )", false, named},
      {"DataUchwaly5", "4) nie ukończył szkoły", false, named},
      {"DataPodpis1", "Data i podpis osoby", false, named},
      {"DataPodpis2", "wypełniającej arkusz ocen", false, named},
      {"Strona", "str.", false, all},
  };
  const std::vector<std::pair<const char*, std::string>> numbers = {
      {"TFArkuszStr2", "2"}, {"TFArkuszStr3", "3"}, {"TFArkuszStr4", "4"}, {"TFArkuszStr5", "5"},
      {"TFArkuszStr2b", "2b"}, {"TFArkuszStr3b", "3b"}, {"TFArkuszStr4b", "4b"}};
  for (const TPage& p : pages()) {
    SCOPED_TRACE(p.className);
    const std::string number =
        std::find_if(numbers.begin(), numbers.end(), [&](const auto& e) { return p.className == std::string(e.first); })
            ->second;
    const auto form = p.make();
    std::vector<std::string> expected;  // the page's labels but the row numbers
    for (const TText& t : texts) {
      const std::string name = std::string("STALY_") + t.middle + "_DATA_LABEL";
      const bool carried = std::find(t.pages.begin(), t.pages.end(), number) != t.pages.end();
      auto* label = form->findComponentAs<QLabel>(name);
      if (!carried) {
        // Another page's caption under a shared name says nothing about this page.
        const bool elsewhere = std::any_of(texts.begin(), texts.end(), [&](const TText& o) {
          return std::string(o.middle) == t.middle && std::find(o.pages.begin(), o.pages.end(), number) != o.pages.end();
        });
        if (!elsewhere) {
          EXPECT_EQ(label, nullptr) << name;
        }
        continue;
      }
      expected.push_back(name);
      ASSERT_NE(label, nullptr) << name;
      EXPECT_EQ(strFunGetText(label), cp1250(t.caption)) << name;
      EXPECT_EQ(label->font().bold(), t.bold) << name;
    }
    EXPECT_EQ(static_cast<int>(expected.size()) + p.rowNumbers, p.labelCount);
  }
}

TEST(ClassPages, LimitsAndListsOfTheValueFields) {
  for (const TPage& p : pages()) {
    SCOPED_TRACE(p.className);
    const auto form = p.make();
    for (const TField& f : p.fields) {
      if (f.kind == 'm') continue;
      QObject* c = form->findComponent(f.name());
      // What a user can type: 40 characters, the page number any length.
      auto* edit = f.kind == 'c' ? qobject_cast<QComboBox*>(c)->lineEdit() : qobject_cast<QLineEdit*>(c);
      edit->clear();
      edit->insert(QString(60, 'x'));
      EXPECT_EQ(edit->text().size(), f.middle == "Strona" ? 60 : 40) << f.name();
      if (f.kind == 'c') {
        const QStringList items = itemsOf(qobject_cast<QComboBox*>(c));
        const QStringList expected = has(f.middle, "Zachowanie") ? kBehaviour : has(f.middle, "Religia") ? kReligion : kGrades;
        EXPECT_EQ(items, expected) << f.name();
      }
    }
  }
  // A value longer than the typing limit, put in by the program, stays whole.
  const auto p3 = std::make_unique<TFArkuszStr3>(nullptr);
  const std::string long60(60, 'y');
  p3->vFunFormDataFromList(rows("ARKUSZ OCEN STR 3 TARVEK", {{"ZMIENNA_DodEdukacyjneOcn190_DATA_COMBOBOX", long60}}));
  EXPECT_EQ(strFunGetText(p3->findComponent("ZMIENNA_DodEdukacyjneOcn190_DATA_COMBOBOX")), long60);
  std::vector<TDataRecord> saved;
  p3->vFunFormDataToList(saved);
  const auto row = std::find_if(saved.begin(), saved.end(), [](const TDataRecord& r) {
    return r.comp_name.str() == "ZMIENNA_DodEdukacyjneOcn190_DATA_COMBOBOX";
  });
  ASSERT_NE(row, saved.end());
  EXPECT_EQ(row->value.str(), long60);
}

// ---------------------------------------------------------------- memos

TEST(ClassPages, EveryMemoKeepsAtMostItsLimitHoweverTheLinesArrive) {
  for (const TPage& p : pages()) {
    SCOPED_TRACE(p.className);
    const auto form = p.make();
    for (const TField& f : p.fields) {
      if (f.kind != 'm') continue;
      const int limit = memoLimit(f.middle, p.earlier);
      ASSERT_GT(limit, 0) << f.name();
      auto* memo = form->findComponentAs<QPlainTextEdit>(f.name());
      // Loaded from rows: the first lines stay.
      std::vector<std::pair<std::string, std::string>> named;
      for (int i = 1; i <= 8; ++i) named.push_back({f.name() + (i < 10 ? "0" : "") + n(i), "line " + n(i)});
      form->vFunFormDataFromList(rows(p.tag, named));
      EXPECT_EQ(vFunGetLines(memo), lines(limit, "line")) << f.name();
      // Typed: Enter is refused at exactly the limit.
      memo->moveCursor(QTextCursor::End);
      pressEnter(memo);
      EXPECT_EQ(static_cast<int>(vFunGetLines(memo).size()), limit) << f.name();
    }
  }
}

TEST(ClassPages, EnterOpensALineBelowTheLimitAndPastedLinesAreCutBack) {
  const auto page = std::make_unique<TFArkuszStr2>(nullptr);
  auto* memo = page->findComponentAs<QPlainTextEdit>("ZMIENNA_Szczegolne1_DATA_MEMO");
  vFunSetLines(memo, lines(4, "a"));
  memo->moveCursor(QTextCursor::End);
  pressEnter(memo);
  EXPECT_EQ(vFunGetLines(memo).size(), 5u);
  pressEnter(memo);  // five: refused, wherever the caret stands
  memo->moveCursor(QTextCursor::Start);
  pressEnter(memo);
  EXPECT_EQ(vFunGetLines(memo), (std::vector<std::string> {"a 1", "a 2", "a 3", "a 4", ""}));
  memo->moveCursor(QTextCursor::End);
  memo->insertPlainText("x\ny\nz");
  EXPECT_EQ(vFunGetLines(memo), (std::vector<std::string> {"a 1", "a 2", "a 3", "a 4", "x"}));

  // The one line of unexcused hours.
  auto* hours = page->findComponentAs<QPlainTextEdit>("ZMIENNA_GodzOpuszczoneNieusp1_DATA_MEMO");
  hours->insertPlainText("12");
  pressEnter(hours);
  hours->insertPlainText("\n13");
  EXPECT_EQ(vFunGetLines(hours), std::vector<std::string> {"12"});

  // The routine itself keeps the first n lines and leaves a shorter memo be.
  vFunSetLines(memo, {"1", "2", "3"});
  vFunLimitMemoLines(memo, 2);
  EXPECT_EQ(vFunGetLines(memo), (std::vector<std::string> {"1", "2"}));
  vFunLimitMemoLines(memo, 4);
  EXPECT_EQ(vFunGetLines(memo), (std::vector<std::string> {"1", "2"}));
}

// Typed at a memo's line limit: Enter opens no line, and the user is told at
// once beside the memo, before the next words run on in the last line.
TEST(ClassPages, EnterAtTheLimitIsRefusedAndTheLimitShownBesideTheMemo) {
  struct Case {
    std::unique_ptr<TDocumentForm> page;
    const char* memo;
    int limit;
  };
  Case cases[] = {
      {std::make_unique<TFArkuszStr2b>(nullptr), "ZMIENNA_Szczegolne_DATA_MEMO", 3},
      {std::make_unique<TFArkuszStr2>(nullptr), "ZMIENNA_Szczegolne1_DATA_MEMO", 5},
      {std::make_unique<TFArkuszStr3>(nullptr), "ZMIENNA_GodzOpuszczoneNieusp0_DATA_MEMO", 1},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.memo);
    auto* memo = c.page->findComponentAs<QPlainTextEdit>(c.memo);
    ASSERT_TRUE(memo);
    c.page->show();
    memo->setFocus(Qt::MouseFocusReason);
    QToolTip::hideText();
    std::vector<std::string> typed;
    for (int line = 1; line <= c.limit; ++line) {
      const std::string words = cp1250("linia ") + std::to_string(line);
      typed.push_back(words);
      QTest::keyClicks(memo, QString::fromStdString("linia " + std::to_string(line)));
      if (line < c.limit) {
        QTest::keyClick(memo, Qt::Key_Return);
        EXPECT_FALSE(QToolTip::isVisible()) << "below the limit, after line " << line;
      }
    }
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(vFunGetLines(memo), typed);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Osiągnięto limit %1 linii w tym polu.").arg(c.limit));
    QToolTip::hideText();
    c.page->hide();
  }
}

TEST(ClassPages, MemoLinesTravelAsNumberedRowsAndComeBackInOrder) {
  const auto page = std::make_unique<TFArkuszStr2>(nullptr);
  auto* info = page->findComponentAs<QPlainTextEdit>("ZMIENNA_InfoOEgzaminach1_DATA_MEMO");
  vFunSetLines(info, {"a", "", cp1250("egzamin z matematyki, dobry, 28 sierpnia"), "d", "e"});
  std::vector<TDataRecord> saved;
  EXPECT_TRUE(page->vFunFormDataToList(saved));
  std::vector<std::pair<std::string, std::string>> memoRows;
  for (const TDataRecord& r : saved) {
    EXPECT_EQ(r.id.str(), "ARKUSZ OCEN STR 2 TARVEK");
    if (has(r.comp_name.str(), "_DATA_MEMO")) memoRows.push_back({r.comp_name.str(), r.value.str()});
  }
  // Empty memos give no row; the five lines give five, numbered from 01.
  EXPECT_EQ(memoRows, (std::vector<std::pair<std::string, std::string>> {
                          {"ZMIENNA_InfoOEgzaminach1_DATA_MEMO01", "a"},
                          {"ZMIENNA_InfoOEgzaminach1_DATA_MEMO02", ""},
                          {"ZMIENNA_InfoOEgzaminach1_DATA_MEMO03", cp1250("egzamin z matematyki, dobry, 28 sierpnia")},
                          {"ZMIENNA_InfoOEgzaminach1_DATA_MEMO04", "d"},
                          {"ZMIENNA_InfoOEgzaminach1_DATA_MEMO05", "e"}}));
  EXPECT_EQ(saved.size(), 78u - 8u + 5u);  // eight memos, one with lines

  const auto again = std::make_unique<TFArkuszStr2>(nullptr);
  again->vFunFormDataFromList(saved);
  EXPECT_EQ(vFunGetLines(again->findComponent("ZMIENNA_InfoOEgzaminach1_DATA_MEMO")), vFunGetLines(info));
  // The numbers are not read: rows come back in the order they arrive.
  again->vFunFormDataFromList(rows("ARKUSZ OCEN STR 2 TARVEK", {{"ZMIENNA_DataUchwaly2_DATA_MEMO02", "b"},
                                                                 {"ZMIENNA_DataUchwaly2_DATA_MEMO01", "a"},
                                                                 {"ZMIENNA_DataUchwaly7_DATA_MEMO01", "none"}}));
  EXPECT_EQ(vFunGetLines(again->findComponent("ZMIENNA_DataUchwaly2_DATA_MEMO")), (std::vector<std::string> {"b", "a"}));
  EXPECT_TRUE(vFunGetLines(again->findComponent("ZMIENNA_InfoOEgzaminach1_DATA_MEMO")).empty());
  // Another page's rows only clear this one.
  again->vFunFormDataFromList(saved);
  again->vFunFormDataFromList(rows("ARKUSZ OCEN STR 3 TARVEK", {{"ZMIENNA_Rok1_DATA_EDIT", "2010/2011"}}));
  EXPECT_EQ(strFunGetText(again->findComponent("ZMIENNA_Rok1_DATA_EDIT")), "");
  // On the b pages the unexcused hours are one row of a plain edit.
  const auto b = std::make_unique<TFArkuszStr3b>(nullptr);
  b->vFunFormDataFromList(rows("ARKUSZ OCEN STR 3b TARVEK", {{"ZMIENNA_GodzOpuszczoneNieusp1_DATA_EDIT", "4"}}));
  EXPECT_EQ(strFunGetText(b->findComponent("ZMIENNA_GodzOpuszczoneNieusp1_DATA_EDIT")), "4");
}

// ---------------------------------------------------------------- samples

TEST(ClassPages, SamplesFillEveryFieldWithItsNameAndEveryMemoToItsLimit) {
  for (const TPage& p : pages()) {
    SCOPED_TRACE(p.className);
    const auto form = p.make();
    form->vFunFormDataFromList(rows(p.tag, {{p.fields.front().name(), "a student's value"}}));
    form->vFunFillSampleData();
    std::vector<TDataRecord> first;
    form->vFunFormDataToList(first);
    int filled = 0;
    for (const TField& f : p.fields) {
      QObject* c = form->findComponent(f.name());
      if (f.kind == 'm') {
        EXPECT_EQ(static_cast<int>(vFunGetLines(c).size()), memoLimit(f.middle, p.earlier)) << f.name();
        for (const std::string& line : vFunGetLines(c)) EXPECT_LE(line.size(), 40u);
      } else {
        EXPECT_FALSE(strFunGetText(c).empty()) << f.name();
        EXPECT_LE(strFunGetText(c).size(), 40u) << f.name();
        EXPECT_EQ(qobject_cast<QComboBox*>(c) ? qobject_cast<QComboBox*>(c)->findText(QString::fromStdString(strFunGetText(c))) : -1, -1)
            << f.name();
      }
      ++filled;
    }
    EXPECT_EQ(filled, p.valueCount);
    form->vFunFillSampleData();
    std::vector<TDataRecord> second;
    form->vFunFormDataToList(second);
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i].value.str(), second[i].value.str());
  }
}

TEST(ClassPages, SampleTextsNameFamilyRowAndColumn) {
  struct TSample {
    const char* className;
    const char* field;
    std::vector<std::string> value;  // the lines of a memo
  };
  const std::vector<TSample> samples = {
      {"TFArkuszStr2", "ZMIENNA_Rok1_DATA_EDIT", {"Rok1"}},
      {"TFArkuszStr2", "ZMIENNA_NrDziennika2_DATA_EDIT", {"Nr dziennika 2"}},
      {"TFArkuszStr2", "ZMIENNA_EdukacyjneOcn31_DATA_COMBOBOX", {"edu ocn 31"}},
      {"TFArkuszStr2", "ZMIENNA_EdukacyjneOpis3_DATA_EDIT", {"edu opis 3"}},
      {"TFArkuszStr2", "ZMIENNA_DodEdukacyjneOcn191_DATA_COMBOBOX", {"dod edu ocn 191"}},
      {"TFArkuszStr2", "ZMIENNA_DodEdukacyjneOpis19_DATA_EDIT", {"dod edu opis 19"}},
      {"TFArkuszStr2", "ZMIENNA_GodzOpuszczoneNieusp1_DATA_MEMO", {"opuszczone nieusp. 1"}},
      {"TFArkuszStr2", "ZMIENNA_Szczegolne2_DATA_MEMO",
       {"szczegolne 2 linia 1", "szczegolne 2 linia 2", "szczegolne 2 linia 3", "szczegolne 2 linia 4",
        "szczegolne 2 linia 5"}},
      {"TFArkuszStr2", "ZMIENNA_Strona_DATA_EDIT", {"2"}},
      {"TFArkuszStr3", "ZMIENNA_EdukacyjneOcn180_DATA_COMBOBOX", {"edu ocn 180"}},
      {"TFArkuszStr3", "ZMIENNA_DodEdukacyjneOcn200_DATA_COMBOBOX", {"dod edu ocn 200"}},
      {"TFArkuszStr3", "ZMIENNA_WynikiKlasyfikacji2_DATA_EDIT", {"wyn. klas. 1"}},
      {"TFArkuszStr3", "ZMIENNA_WynikiKlasyfikacji3_DATA_EDIT", {"wyn. klas. 2"}},
      {"TFArkuszStr3", "ZMIENNA_Strona_DATA_EDIT", {"3"}},
      {"TFArkuszStr4", "ZMIENNA_WynikiKlasyfikacji1_DATA_EDIT", {"wyn. klas 1"}},
      {"TFArkuszStr4", "ZMIENNA_WynikiKlasyfikacji2_DATA_EDIT", {"wyn. klas 2"}},
      {"TFArkuszStr4", "ZMIENNA_Strona_DATA_EDIT", {"4"}},
      {"TFArkuszStr5", "ZMIENNA_WynikiKlasyfikacji1_DATA_EDIT", {"wyn. klas. 1"}},
      {"TFArkuszStr5", "ZMIENNA_WynikiKlasyfikacji2_DATA_EDIT", {"wyn. klas. 2"}},
      {"TFArkuszStr5", "ZMIENNA_WynikiKlasyfikacji3_DATA_EDIT", {"wyn. klas. 3"}},
      {"TFArkuszStr5", "ZMIENNA_Strona_DATA_EDIT", {"5"}},
      {"TFArkuszStr2b", "ZMIENNA_Rok_DATA_EDIT", {"Rok"}},
      {"TFArkuszStr2b", "ZMIENNA_ObEduOcn21_DATA_COMBOBOX", {"edu ocn 21"}},
      {"TFArkuszStr2b", "ZMIENNA_PrzedUzOpis4_DATA_EDIT", {"przed. uz. opis 4"}},
      {"TFArkuszStr2b", "ZMIENNA_DodZajEduOcn3_DATA_COMBOBOX", {"dod edu ocn 3"}},
      {"TFArkuszStr2b", "ZMIENNA_GodzOpuszczoneNieusp_DATA_EDIT", {"opuszczone nieusp."}},
      {"TFArkuszStr2b", "ZMIENNA_Szczegolne_DATA_MEMO",
       {"szczegolne 1 linia 1", "szczegolne 1 linia 2", "szczegolne 1 linia 3"}},
      {"TFArkuszStr2b", "ZMIENNA_DataUchwaly_DATA_MEMO",
       {"uchwala 1 linia 1", "uchwala 1 linia 2", "uchwala 1 linia 3", "uchwala 1 linia 4", "uchwala 1 linia 5",
        "uchwala 1 linia 6"}},
      {"TFArkuszStr3b", "ZMIENNA_Rok2_DATA_EDIT", {"Rok 2"}},
      {"TFArkuszStr3b", "ZMIENNA_Klasa1_DATA_EDIT", {"Klasa 1"}},
      {"TFArkuszStr3b", "ZMIENNA_PrzedUzOcn42_DATA_COMBOBOX", {"przed. uz. ocn 42"}},
      {"TFArkuszStr3b", "ZMIENNA_DodZajEduOcn31_DATA_COMBOBOX", {"dod edu ocn 31"}},
      {"TFArkuszStr3b", "ZMIENNA_ObEduOcn212_DATA_COMBOBOX", {"edu ocn 212"}},
      {"TFArkuszStr3b", "ZMIENNA_Strona_DATA_EDIT", {"3"}},
      {"TFArkuszStr4b", "ZMIENNA_InfoOEgzaminach2_DATA_MEMO",
       {"info o egz. 2 linia 1", "info o egz. 2 linia 2", "info o egz. 2 linia 3", "info o egz. 2 linia 4",
        "info o egz. 2 linia 5", "info o egz. 2 linia 6", "info o egz. 2 linia 7"}},
      {"TFArkuszStr4b", "ZMIENNA_Strona_DATA_EDIT", {"4"}},
  };
  for (const TPage& p : pages()) {
    const auto form = p.make();
    form->vFunFillSampleData();
    for (const TSample& s : samples) {
      if (std::string(s.className) != p.className) continue;
      QObject* c = form->findComponent(s.field);
      ASSERT_NE(c, nullptr) << s.field;
      if (kindOf(c) == TComponentKind::Memo) EXPECT_EQ(vFunGetLines(c), s.value) << p.className << " " << s.field;
      else EXPECT_EQ(strFunGetText(c), s.value.front()) << p.className << " " << s.field;
    }
  }
}

// ---------------------------------------------------------------- the panel

TEST(ClassPages, TheClearButtonEmptiesTheFieldsAndKeepsThePanelsChoices) {
  const auto page = std::make_unique<TFArkuszStr3b>(nullptr);
  page->vFunFillSampleData();
  page->findComponentAs<QComboBox>("ColumnComboBox")->setCurrentIndex(1);
  page->findComponentAs<QComboBox>("ColumnPrintComboBox")->setCurrentIndex(1);
  page->findComponentAs<QComboBox>("CertTypeComboBox")->setCurrentIndex(1);
  page->findComponentAs<QCheckBox>("NazwyCheckBox")->setChecked(true);
  page->findComponentAs<QPushButton>("BitBtn2")->click();
  for (const std::string& name : valueNames(*page)) EXPECT_EQ(strFunGetText(page->findComponent(name)), "") << name;
  EXPECT_EQ(page->findComponentAs<QComboBox>("ColumnComboBox")->currentIndex(), 1);
  EXPECT_EQ(page->findComponentAs<QComboBox>("ColumnPrintComboBox")->currentIndex(), 1);
  EXPECT_EQ(page->findComponentAs<QComboBox>("CertTypeComboBox")->currentIndex(), 1);
  EXPECT_TRUE(page->findComponentAs<QCheckBox>("NazwyCheckBox")->isChecked());
  EXPECT_EQ(strFunGetText(page->findComponent("STALY_Zachowanie_DATA_LABEL")), "Zachowanie");

  const auto p2 = std::make_unique<TFArkuszStr2>(nullptr);
  p2->vFunFillSampleData();
  p2->findComponentAs<QPushButton>("WyczyscDaneButton")->click();
  EXPECT_EQ(strFunGetText(p2->findComponent("ZMIENNA_Rok1_DATA_EDIT")), "");
  EXPECT_TRUE(vFunGetLines(p2->findComponent("ZMIENNA_Szczegolne1_DATA_MEMO")).empty());
}

TEST(ClassPages, ThePanelsListsAndButtonsOfEachPage) {
  struct TPanel {
    const char* className;
    std::vector<std::pair<const char*, QStringList>> lists;
    std::vector<std::pair<const char*, const char*>> buttons;
    bool names;
    int height;
  };
  const QStringList two = {"kol. 1", "kol. 2"}, three = {"kol. 1", "kol. 2", "kol. 3"};
  const QStringList print2 = {"kolumna 1", "kolumna 2"}, print3 = {"kolumna 1", "kolumna 2", "kolumna 3"};
  const std::vector<TPanel> panels = {
      {"TFArkuszStr2", {{"SwiadectwoComboBox", certificateItems("TFArkuszStr2")}, {"KolumnaComboBox", two}, {"KolumnaDrukComboBox", print2}},
       {{"WczytajDaneZSwiadectwaButton", "Wczytaj dane z wybranego świadectwa"},
        {"DrukujWybranaKolumneButton", "Drukuj wybraną kolumnę"}, {"WyczyscDaneButton", "Wyczyść arkusz"}},
       true, 67},
      {"TFArkuszStr3", {{"SwiadectwoComboBox", certificateItems("TFArkuszStr3")}, {"KolumnaComboBox", three}, {"KolumnaDrukComboBox", print3}},
       {{"WczytajDaneZSwiadectwaButton", "Wczytaj dane z wybranego świadectwa"},
        {"DrukujWybranaKolumneButton", "Drukuj wybraną kolumnę"}, {"WyczyscDaneButton", "Wyczyść dane"}},
       false, 83},
      {"TFArkuszStr4", {{"SwiadectwoComboBox", certificateItems("TFArkuszStr4")}, {"KolumnaComboBox", two}, {"KolumnaDrukComboBox", print2}},
       {{"WczytajDaneZSwiadectwaButton", "Wczytaj dane z wybranego świadectwa"},
        {"DrukujWybranaKolumneButton", "Drukuj wybraną kolumnę"}, {"WyczyscDaneButton", "Wyczyść arkusz"}},
       true, 75},
      {"TFArkuszStr5", {{"SwiadectwoComboBox", certificateItems("TFArkuszStr5")}, {"KolumnaComboBox", three}, {"KolumnaDrukComboBox", print3}},
       {{"WczytajDaneZSwiadectwaButton", "Wczytaj dane z wybranego świadectwa"},
        {"DrukujWybranaKolumneButton", "Drukuj wybraną kolumnę"}, {"WyczyscDaneButton", "Wyczyść dane"}},
       false, 67},
      {"TFArkuszStr2b", {{"CertTypeComboBox", certificateItems("TFArkuszStr2b")}},
       {{"BitBtn1", "Wczytaj dane ze świadectwa"}, {"BitBtn2", "Wyczyść dane"}}, true, 51},
      {"TFArkuszStr3b",
       {{"CertTypeComboBox", certificateItems("TFArkuszStr3b")}, {"ColumnComboBox", two}, {"ColumnPrintComboBox", print2}},
       {{"LoadDataToSeetButton", "Wczytaj dane z wybranego świadectwa"},
        {"DrukujWybranaKolumneButton", "Drukuj wybraną kolumnę"}, {"BitBtn2", "Wyczyść dane"}},
       true, 67},
      {"TFArkuszStr4b",
       {{"CertTypeComboBox", certificateItems("TFArkuszStr4b")}, {"ColumnComboBox", two}, {"ColumnPrintComboBox", print2}},
       {{"LoadDataToSeetButton", "Wczytaj dane ze świadectwa"},
        {"DrukujWybranaKolumneButton", "Drukuj wybraną kolumnę"}, {"BitBtn2", "Wyczyść dane"}},
       true, 67},
  };
  for (const TPanel& panel : panels) {
    SCOPED_TRACE(panel.className);
    const TPage& p = *std::find_if(pages().begin(), pages().end(),
                                   [&](const TPage& page) { return std::string(page.className) == panel.className; });
    const auto form = p.make();
    for (const auto& [name, items] : panel.lists) {
      auto* list = form->findComponentAs<QComboBox>(name);
      ASSERT_NE(list, nullptr) << name;
      EXPECT_FALSE(list->isEditable()) << name;
      EXPECT_EQ(itemsOf(list), items) << name;
    }
    for (const auto& [name, caption] : panel.buttons) {
      auto* button = form->findComponentAs<QPushButton>(name);
      ASSERT_NE(button, nullptr) << name;
      EXPECT_EQ(button->text(), QString::fromUtf8(caption));
    }
    auto* names = form->findComponentAs<QCheckBox>("NazwyCheckBox");
    EXPECT_EQ(names != nullptr, panel.names);
    if (names) {
      EXPECT_EQ(names->text(), QString::fromUtf8("Wczytaj nazwy przedmiotów"));
      EXPECT_FALSE(names->isChecked());
    }
    EXPECT_EQ(form->Panel1->height(), panel.height);
    EXPECT_NE(form->findComponentAs<QPushButton>("OKButton"), nullptr);
    EXPECT_NE(form->findComponentAs<QPushButton>("AnulujButton"), nullptr);
    // Nothing else on the panel.
    std::vector<std::string> expected = {"OKButton", "AnulujButton"};
    for (const auto& [name, items] : panel.lists) expected.push_back(name);
    for (const auto& [name, caption] : panel.buttons) expected.push_back(name);
    if (panel.names) expected.push_back("NazwyCheckBox");
    std::vector<std::string> onPanel;
    for (const QWidget* w : form->Panel1->findChildren<QWidget*>())
      if (form->findComponent(w->objectName().toStdString()) == w) onPanel.push_back(w->objectName().toStdString());
    std::sort(expected.begin(), expected.end());
    std::sort(onPanel.begin(), onPanel.end());
    EXPECT_EQ(onPanel, expected);
  }
  const auto p2b = std::make_unique<TFArkuszStr2b>(nullptr);
  EXPECT_EQ(p2b->findComponent("DrukujWybranaKolumneButton"), nullptr);
  EXPECT_FALSE(p2b->optFunColumnKind());
}

TEST(ClassPages, TheColumnPrintDrawsTheKindOfTheChosenColumn) {
  std::vector<std::pair<QObject*, int>> printed;
  TClassPage::PrintColumn = [&](TFormBase& form, TDocKind kind) {
    printed.push_back({dynamic_cast<QObject*>(&form), static_cast<int>(kind)});
  };
  struct TCase {
    int page;  // index in pages()
    const char* list;
    int index;
    int kind;
  };
  const std::vector<TCase> cases = {
      {0, "KolumnaDrukComboBox", 0, 15}, {0, "KolumnaDrukComboBox", 1, 16}, {1, "KolumnaDrukComboBox", 0, 18},
      {1, "KolumnaDrukComboBox", 2, 20}, {2, "KolumnaDrukComboBox", 1, 23}, {3, "KolumnaDrukComboBox", 2, 27},
      {5, "ColumnPrintComboBox", 0, 31}, {5, "ColumnPrintComboBox", 1, 32}, {6, "ColumnPrintComboBox", 1, 35},
  };
  for (const TCase& c : cases) {
    const auto form = pages()[static_cast<std::size_t>(c.page)].make();
    form->findComponentAs<QComboBox>(c.list)->setCurrentIndex(c.index);
    printed.clear();
    form->findComponentAs<QPushButton>("DrukujWybranaKolumneButton")->click();
    ASSERT_EQ(printed.size(), 1u) << form->metaObject()->className();
    EXPECT_EQ(printed[0].first, form.get());
    EXPECT_EQ(printed[0].second, c.kind) << form->metaObject()->className() << " " << c.index;
  }
  TClassPage::PrintColumn = nullptr;
}

TEST(ClassPages, EachShowingPutsThePanelsListsAtTheirFirstItemAndKeepsTheCheckBox) {
  const auto page = std::make_unique<TFArkuszStr4b>(nullptr);
  for (const char* list : {"CertTypeComboBox", "ColumnComboBox", "ColumnPrintComboBox"})
    page->findComponentAs<QComboBox>(list)->setCurrentIndex(1);
  page->findComponentAs<QCheckBox>("NazwyCheckBox")->setChecked(true);
  page->show();
  for (const char* list : {"CertTypeComboBox", "ColumnComboBox", "ColumnPrintComboBox"})
    EXPECT_EQ(page->findComponentAs<QComboBox>(list)->currentIndex(), 0) << list;
  EXPECT_TRUE(page->findComponentAs<QCheckBox>("NazwyCheckBox")->isChecked());
  page->hide();
}
