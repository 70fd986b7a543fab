// The copy of a certificate's grades into a column of a record-sheet class
// page, for the certificates of both blank editions, against tables of this
// test's own; and the class pages' load buttons that start it.
#include "forms/DocumentForm.h"
#include "forms/DocumentForms.h"
#include "forms/FormMakers.h"
#include "forms/record_sheets/ClassPage.h"
#include "platform/Cp1250.h"
#include "toolkit/Components.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "support/EveryFormMade.h"
#include "support/FormReference.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

namespace {

// ------------------------------------------------------------------ tables

// What the test puts into a certificate (UTF-8).
using TFill = std::vector<std::pair<std::string, std::string>>;

// A written page field: its name without the column digits, the expected
// value (UTF-8); a name field has no column digits and is written only with
// the names.
struct TWrite {
  std::string base;
  std::string value;
  bool name = false;
};

// The certificate's values, the same fields in both editions except where
// the rows differ.
TFill commonFill() {
  return {
      {"ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", "2002"},
      {"ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", "2003"},
      {"ZMIENNA_Klasa_STR1_DATA_EDIT", "pierwszej"},  // never copied
      {"ZMIENNA_ZachowanieOcn_STR2_DATA_COMBOBOX", "wzorowe"},
      {"ZMIENNA_ReligiaOcn_STR2_DATA_COMBOBOX", "nie uczęszczał"},
      {"ZMIENNA_JPolskiOcn_STR2_DATA_COMBOBOX", "celujący"},
      {"ZMIENNA_JObcyOcn1_STR2_DATA_COMBOBOX", "bardzo dobry"},
      {"ZMIENNA_JObcyOpis1_STR2_DATA_EDIT", "angielski"},
      {"ZMIENNA_JObcyOcn2_STR2_DATA_COMBOBOX", "dobry"},
      {"ZMIENNA_JObcyOpis2_STR2_DATA_EDIT", "niemiecki"},
      {"ZMIENNA_WokOcn_STR2_DATA_COMBOBOX", "dostateczny"},
      {"ZMIENNA_HistoriaOcn_STR2_DATA_COMBOBOX", "dopuszczający"},
      {"ZMIENNA_WosOcn_STR2_DATA_COMBOBOX", "niedostateczny"},
      {"ZMIENNA_PodstPrzedOcn_STR2_DATA_COMBOBOX", "o-pp"},
      {"ZMIENNA_GeografiaOcn_STR2_DATA_COMBOBOX", "o-geo"},
      {"ZMIENNA_BiologiaOcn_STR2_DATA_COMBOBOX", "o-bio"},
      {"ZMIENNA_ChemiaOcn_STR2_DATA_COMBOBOX", "o-chem"},
      {"ZMIENNA_FizykaOcn_STR2_DATA_COMBOBOX", "o-fiz"},
      {"ZMIENNA_MatematykaOcn_STR2_DATA_COMBOBOX", "o-mat"},
      {"ZMIENNA_TechInfOcn_STR2_DATA_COMBOBOX", "o-inf"},
      {"ZMIENNA_WfOcn_STR2_DATA_COMBOBOX", "zwolniona"},
      {"ZMIENNA_DodatkowyOcn1_STR2_DATA_COMBOBOX", "o-d1"},
      {"ZMIENNA_Dodatkowy1_STR2_DATA_EDIT", "filozofia"},
      {"ZMIENNA_DodatkowyOcn2_STR2_DATA_COMBOBOX", "o-d2"},
      {"ZMIENNA_Dodatkowy2_STR2_DATA_EDIT", "łacina"},
      {"ZMIENNA_DodatkowyOcn3_STR2_DATA_COMBOBOX", "o-d3"},
      {"ZMIENNA_Dodatkowy3_STR2_DATA_EDIT", "logika"},
      {"ZMIENNA_DodEdukacyjneOcn1_STR2_DATA_COMBOBOX", "uczęszczał"},
      {"ZMIENNA_DodEdukacyjne1_STR2_DATA_EDIT", "chór"},
      {"ZMIENNA_DodEdukacyjneOcn2_STR2_DATA_COMBOBOX", "o-e2"},
      {"ZMIENNA_DodEdukacyjne2_STR2_DATA_EDIT", "teatr"},
      {"ZMIENNA_DodEdukacyjneOcn3_STR2_DATA_COMBOBOX", "o-e3"},
      {"ZMIENNA_DodEdukacyjne3_STR2_DATA_EDIT", "szachy"},
      {"ZMIENNA_Szczegolne1_STR2_DATA_EDIT", "konkurs"},
      {"ZMIENNA_Szczegolne2_STR2_DATA_EDIT", ""},
      {"ZMIENNA_Szczegolne3_STR2_DATA_EDIT", "olimpiada"},
      {"ZMIENNA_ZakRoz1_STR2_DATA_EDIT", "x"},         // never copied
      {"ZMIENNA_Indywidualny1_STR2_DATA_EDIT", "ind"},  // never copied
  };
}

TFill currentFill() {
  TFill f = commonFill();
  f.insert(f.end(), {{"ZMIENNA_EduBezpieczenstwaOcn_STR2_DATA_COMBOBOX", "o-edb"},
                     {"ZMIENNA_PrzedmiotyUzOcn1_STR2_DATA_COMBOBOX", "o-u1"},
                     {"ZMIENNA_PrzedmiotyUzOpis1_STR2_DATA_EDIT", "uzup. 1"},
                     {"ZMIENNA_PrzedmiotyUzOcn2_STR2_DATA_COMBOBOX", "o-u2"},
                     {"ZMIENNA_PrzedmiotyUzOpis2_STR2_DATA_EDIT", "uzup. 2"},
                     {"ZMIENNA_PrzedmiotyUzOcn3_STR2_DATA_COMBOBOX", "o-u3"},
                     {"ZMIENNA_PrzedmiotyUzOpis3_STR2_DATA_EDIT", "uzup. 3"}});
  return f;
}

TFill earlierFill() {
  TFill f = commonFill();
  f.push_back({"ZMIENNA_PoOcn_STR2_DATA_COMBOBOX", "o-po"});
  return f;
}

// The cells of a column and the names, for a certificate of the current
// blanks filled with currentFill().
std::vector<TWrite> currentWrites(const std::string& label) {
  std::vector<TWrite> w = {
      {"ZMIENNA_Rok_DATA_EDIT", "2002/2003"},
      {"ZMIENNA_Klasa_DATA_EDIT", label},
      {"ZMIENNA_ZachowanieOcn_DATA_COMBOBOX", "wzorowe"},
      {"ZMIENNA_ReligiaOcn_DATA_COMBOBOX", "nie uczęszczał"},
  };
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"celujący", "język polski"},
      {"bardzo dobry", "język angielski"},
      {"dobry", "język niemiecki"},
      {"dostateczny", "wiedza o kulturze"},
      {"dopuszczający", "historia"},
      {"niedostateczny", "wiedza o społeczeństwie"},
      {"o-pp", "podstawy przedsiębiorczości"},
      {"o-geo", "geografia"},
      {"o-bio", "biologia"},
      {"o-chem", "chemia"},
      {"o-fiz", "fizyka"},
      {"o-mat", "matematyka"},
      {"o-inf", "informatyka"},
      {"zwolniona", "wychowanie fizyczne"},
      {"o-edb", "edukacja dla bezpieczeństwa"},
      {"o-d1", "filozofia"},
      {"o-d2", "łacina"},
      {"o-d3", "logika"},
  };
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const std::string r = std::to_string(k + 3);
    w.push_back({"ZMIENNA_ObEduOcn" + r + "_DATA_COMBOBOX", rows[k].first});
    w.push_back({"ZMIENNA_ObEduOpis" + r + "_DATA_EDIT", rows[k].second, true});
  }
  const std::string extra[3][4] = {{"o-u1", "uzup. 1", "uczęszczał", "chór"},
                                   {"o-u2", "uzup. 2", "o-e2", "teatr"},
                                   {"o-u3", "uzup. 3", "o-e3", "szachy"}};
  for (int k = 0; k < 3; ++k) {
    const std::string n = std::to_string(k + 1);
    w.push_back({"ZMIENNA_PrzedUzOcn" + n + "_DATA_COMBOBOX", extra[k][0]});
    w.push_back({"ZMIENNA_PrzedUzOpis" + n + "_DATA_EDIT", extra[k][1], true});
    w.push_back({"ZMIENNA_DodZajEduOcn" + n + "_DATA_COMBOBOX", extra[k][2]});
    w.push_back({"ZMIENNA_DodZajEduOpis" + n + "_DATA_EDIT", extra[k][3], true});
  }
  return w;
}

// The same for a certificate of the earlier blanks filled with earlierFill().
std::vector<TWrite> earlierWrites(const std::string& label) {
  std::vector<TWrite> w = {
      {"ZMIENNA_Rok_DATA_EDIT", "2002/2003"},
      {"ZMIENNA_Klasa_DATA_EDIT", label},
      {"ZMIENNA_ZachowanieOcn_DATA_COMBOBOX", "wzorowe"},
      {"ZMIENNA_ReligiaOcn_DATA_COMBOBOX", "nie uczęszczał"},
  };
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"celujący", "język polski"},
      {"bardzo dobry", "język angielski"},
      {"dobry", "język niemiecki"},
      {"dopuszczający", "historia"},
      {"niedostateczny", "wiedza o społeczeństwie"},
      {"dostateczny", "wiedza o kulturze"},
      {"o-mat", "matematyka"},
      {"o-fiz", "fizyka i astronomia"},
      {"o-chem", "chemia"},
      {"o-bio", "biologia"},
      {"o-geo", "geografia"},
      {"o-pp", "podstawy przedsiębiorczości"},
      {"o-inf", "technologia informacyjna"},
      {"zwolniona", "wychowanie fizyczne"},
      {"o-po", "przysposobienie obronne"},
      {"o-d1", "filozofia"},
  };
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const std::string r = std::to_string(k + 3);
    w.push_back({"ZMIENNA_EdukacyjneOcn" + r + "_DATA_COMBOBOX", rows[k].first});
    w.push_back({"ZMIENNA_EdukacyjneOpis" + r + "_DATA_EDIT", rows[k].second, true});
  }
  const std::pair<std::string, std::string> activities[] = {{"uczęszczał", "chór"}, {"o-e2", "teatr"}, {"o-e3", "szachy"}};
  for (int k = 0; k < 3; ++k) {
    const std::string r = std::to_string(k + 19);
    w.push_back({"ZMIENNA_DodEdukacyjneOcn" + r + "_DATA_COMBOBOX", activities[k].first});
    w.push_back({"ZMIENNA_DodEdukacyjneOpis" + r + "_DATA_EDIT", activities[k].second, true});
  }
  return w;
}

// A certificate form, its class label, and where it copies: page number (0
// for the copy without one), page class, names on that page, and the
// column digits of each handled column.
struct TTarget {
  int page;
  const char* pageClass;
  bool names;
  std::vector<std::string> suffixes;  // of columns 1, 2, ...
};
struct TMember {
  const char* certificate;
  const char* label;
  std::vector<TTarget> targets;
};

std::vector<TMember> currentMembers() {
  const TTarget p2b {0, "TFArkuszStr2b", true, {""}};
  const TTarget p3b {0, "TFArkuszStr3b", true, {"1", "2"}};
  const TTarget p4b {0, "TFArkuszStr4b", true, {"1", "2"}};
  return {{"TFKlasa1a", "klasa 1", {p2b}},           {"TFKlasa1awyr", "klasa 1 wyr.", {p2b}},
          {"TFKlasa2a", "klasa 2", {p3b}},           {"TFKlasa2awyr", "klasa 2 wyr", {p3b}},
          {"TFKonieca", "koniec tarvek", {p4b}},     {"TFKoniecawyr", "koniec tarvek z wyr.", {p4b}}};
}

std::vector<TMember> earlierMembers() {
  const std::vector<TTarget> pages = {{2, "TFArkuszStr2", true, {"1", "2"}},
                                      {3, "TFArkuszStr3", false, {"0", "1", "2"}},
                                      {4, "TFArkuszStr4", true, {"1", "2"}},
                                      {5, "TFArkuszStr5", false, {"0", "1", "2"}}};
  return {{"TFKlasa1", "klasa 1", pages}, {"TFKlasa1wyr", "klasa 1 wyr", pages}, {"TFKlasa2", "klasa 2", pages},
          {"TFKlasa2wyr", "klasa 2 wyr", pages}, {"TFKoniec", "", pages},       {"TFKoniecwyr", "", pages}};
}

std::string withDigits(std::string name, const std::string& digits) { return name.insert(name.find("_DATA_"), digits); }

// ------------------------------------------------------------------ fixture

// Every value of every form, as the rows of a save: tag and name -> value.
using TSnapshot = std::map<std::string, std::string>;

class CertificateToSheet : public EveryFormMade {
 protected:
  void SetUp() override {
    for (TDocumentForm* f : vFunDocumentForms()) f->vFunClearFormData();
  }

  static void set(TDocumentForm& f, const std::string& name, const std::string& utf8) {
    QObject* c = f.findComponent(name);
    ASSERT_NE(c, nullptr) << f.Identity.className << " " << name;
    bFunSetText(c, cp1250FromUtf8(utf8));
  }
  static std::string text(const TDocumentForm& f, const std::string& name) {
    const QObject* c = f.findComponent(name);
    return c ? cp1250ToUtf8(strFunGetText(c)) : "<none>";
  }
  static std::vector<std::string> lines(const TDocumentForm& f, const std::string& name) {
    std::vector<std::string> out;
    for (const std::string& l : vFunGetLines(f.findComponent(name))) out.push_back(cp1250ToUtf8(l));
    return out;
  }
  // Every value field of every class page holds something to lose.
  static void fillPagesWithOldValues() {
    for (const char* page : {"TFArkuszStr2", "TFArkuszStr3", "TFArkuszStr4", "TFArkuszStr5", "TFArkuszStr2b",
                             "TFArkuszStr3b", "TFArkuszStr4b"}) {
      TDocumentForm& f = form(page);
      for (int i = 0; i < f.Spec->componentCount; ++i) {
        const TComponentSpec& c = f.Spec->components[i];
        if (c.kind == TSpecKind::Edit || c.kind == TSpecKind::Combo) set(f, c.name, "stare");
        if (c.kind == TSpecKind::Memo) vFunSetLines(f.findComponent(c.name), {"stara 1", "stara 2"});
      }
    }
  }
  static TSnapshot snapshot() {
    std::vector<TDataRecord> rows;
    for (TDocumentForm* f : vFunDocumentForms()) f->vFunFormDataToList(rows);
    TSnapshot out;
    for (const TDataRecord& r : rows) out[r.id.str() + "|" + r.comp_name.str()] = cp1250ToUtf8(r.value.str());
    return out;
  }
  // The snapshot with a page's field set (a memo: its line rows replaced).
  static void expect(TSnapshot& s, const char* pageClass, const std::string& name, const std::string& value) {
    const std::string key = std::string(form(pageClass).Identity.tag) + "|" + name;
    ASSERT_TRUE(s.count(key)) << key;
    s[key] = value;
  }
  static void expectLines(TSnapshot& s, const char* pageClass, const std::string& memo,
                          const std::vector<std::string>& memoLines) {
    const std::string key = std::string(form(pageClass).Identity.tag) + "|" + memo;
    for (int n = 1; n <= 9; ++n) s.erase(key + "0" + std::to_string(n));
    for (std::size_t n = 0; n < memoLines.size(); ++n) s[key + "0" + std::to_string(n + 1)] = memoLines[n];
  }
  // The school-leaving certificates have no class field: what a form lacks
  // is left out.
  static void fill(const char* certificate, const TFill& values) {
    for (const auto& [name, value] : values)
      if (form(certificate).findComponent(name)) set(form(certificate), name, value);
  }
  static void copy(const char* certificate, int page, int column, bool names) {
    if (page == 0) form(certificate).vFunCertToSheet(column, names);
    else form(certificate).vFunCertToSheet(column, page, names);
  }
  // Every handled pair of every member, with and without the names: exactly
  // the table's fields change.
  static void checkFamily(const std::vector<TMember>& members, const TFill& values,
                          std::vector<TWrite> (*writes)(const std::string&), const char* memo) {
    for (const TMember& m : members) {
      fill(m.certificate, values);
      for (const TTarget& t : m.targets)
        for (std::size_t col = 0; col < t.suffixes.size(); ++col)
          for (const bool names : {true, false}) {
            SCOPED_TRACE(std::string(m.certificate) + " page " + t.pageClass + " column " + std::to_string(col + 1) +
                         (names ? " with names" : " without names"));
            fillPagesWithOldValues();
            TSnapshot expected = snapshot();
            for (const TWrite& w : writes(m.label)) {
              if (w.name && !(names && t.names)) continue;
              expect(expected, t.pageClass, w.name ? w.base : withDigits(w.base, t.suffixes[col]), w.value);
            }
            expectLines(expected, t.pageClass, withDigits(memo, t.suffixes[col]), {"konkurs", "olimpiada"});
            copy(m.certificate, t.page, static_cast<int>(col) + 1, names);
            const TSnapshot after = snapshot();
            for (const auto& [key, value] : expected) {
              const auto it = after.find(key);
              EXPECT_TRUE(it != after.end() && it->second == value)
                  << key << ": " << (it == after.end() ? "<missing>" : it->second) << " instead of " << value;
            }
            for (const auto& [key, value] : after) EXPECT_TRUE(expected.count(key)) << "unexpected " << key;
          }
    }
  }
};

}  // namespace

// ------------------------------------------------------------------ the copy

TEST_F(CertificateToSheet, CurrentCertificatesFillTheirPagesColumnByColumnAsTheTableSays) {
  checkFamily(currentMembers(), currentFill(), currentWrites, "ZMIENNA_Szczegolne_DATA_MEMO");
}

TEST_F(CertificateToSheet, EarlierCertificatesFillTheTenColumnsOfPagesTwoToFive) {
  checkFamily(earlierMembers(), earlierFill(), earlierWrites, "ZMIENNA_Szczegolne_DATA_MEMO");
}

TEST_F(CertificateToSheet, AColumnOrPageTheCertificateDoesNotHandleChangesNothing) {
  struct TCase {
    const char* certificate;
    int page, column;
  };
  const TCase cases[] = {
      {"TFKlasa1a", 0, 0},  {"TFKlasa1a", 0, 2},  {"TFKlasa2a", 0, 0},   {"TFKlasa2a", 0, 3},
      {"TFKonieca", 0, -1}, {"TFKonieca", 2, 1},  {"TFKlasa1", 2, 0},    {"TFKlasa1", 2, 3},
      {"TFKlasa2", 4, 3},   {"TFKoniec", 3, 0},   {"TFKoniec", 5, 4},    {"TFKlasa1wyr", 6, 1},
      {"TFKlasa2wyr", 1, 1}, {"TFKlasa2wyr", 0, 1},  // the earlier certificates always name their page
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.certificate) + " page " + std::to_string(c.page) + " column " + std::to_string(c.column));
    fill(c.certificate, {{"ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", "1999"}, {"ZMIENNA_JPolskiOcn_STR2_DATA_COMBOBOX", "5"}});
    fillPagesWithOldValues();
    const TSnapshot before = snapshot();
    copy(c.certificate, c.page, c.column, true);
    EXPECT_EQ(snapshot(), before);
  }
}

TEST_F(CertificateToSheet, AchievementsCloseUpAndBlanksCountAsText) {
  struct TCase {
    std::string one, two, three;
    std::vector<std::string> memo;
  };
  const TCase cases[] = {
      {"pierwsze", "", "trzecie", {"pierwsze", "trzecie"}},
      {"", "", "", {}},
      {"", "drugie", "", {"drugie"}},
      {" ", "", "c", {" ", "c"}},
      {"a", "b", "c", {"a", "b", "c"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.one + "|" + c.two + "|" + c.three);
    for (const char* certificate : {"TFKlasa2a", "TFKlasa2"}) {
      fill(certificate, {{"ZMIENNA_Szczegolne1_STR2_DATA_EDIT", c.one},
                         {"ZMIENNA_Szczegolne2_STR2_DATA_EDIT", c.two},
                         {"ZMIENNA_Szczegolne3_STR2_DATA_EDIT", c.three}});
    }
    fillPagesWithOldValues();
    form("TFKlasa2a").vFunCertToSheet(2, true);
    EXPECT_EQ(lines(form("TFArkuszStr3b"), "ZMIENNA_Szczegolne2_DATA_MEMO"), c.memo);
    EXPECT_EQ(lines(form("TFArkuszStr3b"), "ZMIENNA_Szczegolne1_DATA_MEMO"), (std::vector<std::string> {"stara 1", "stara 2"}));
    form("TFKlasa2").vFunCertToSheet(1, 3, false);
    EXPECT_EQ(lines(form("TFArkuszStr3"), "ZMIENNA_Szczegolne0_DATA_MEMO"), c.memo);
  }
}

TEST_F(CertificateToSheet, ComposedTextsAndValuesFromAFileAreCopiedWhole) {
  const std::string longYear(150, '7'), longLanguage = std::string(200, 'x') + "ł", longGrade(300, 'g');
  for (const char* certificate : {"TFKlasa1a", "TFKlasa1"}) {
    fill(certificate, {{"ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", longYear},
                       {"ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", ""},
                       {"ZMIENNA_JObcyOpis1_STR2_DATA_EDIT", longLanguage},
                       {"ZMIENNA_JObcyOpis2_STR2_DATA_EDIT", ""},
                       {"ZMIENNA_JPolskiOcn_STR2_DATA_COMBOBOX", longGrade}});
  }
  form("TFKlasa1a").vFunCertToSheet(1, true);
  const TDocumentForm& p2b = form("TFArkuszStr2b");
  EXPECT_EQ(text(p2b, "ZMIENNA_Rok_DATA_EDIT"), longYear + "/");
  EXPECT_EQ(text(p2b, "ZMIENNA_ObEduOpis4_DATA_EDIT"), "język " + longLanguage);
  EXPECT_EQ(text(p2b, "ZMIENNA_ObEduOpis5_DATA_EDIT"), "język ");
  EXPECT_EQ(text(p2b, "ZMIENNA_ObEduOcn3_DATA_COMBOBOX"), longGrade);
  form("TFKlasa1").vFunCertToSheet(2, 4, true);
  const TDocumentForm& p4 = form("TFArkuszStr4");
  EXPECT_EQ(text(p4, "ZMIENNA_Rok2_DATA_EDIT"), longYear + "/");
  EXPECT_EQ(text(p4, "ZMIENNA_EdukacyjneOpis4_DATA_EDIT"), "język " + longLanguage);
  EXPECT_EQ(text(p4, "ZMIENNA_EdukacyjneOcn32_DATA_COMBOBOX"), longGrade);
}

TEST_F(CertificateToSheet, TheAchievementsNeverPassTheMemosLineLimit) {
  // A certificate whose table puts its three lines into a memo of one line.
  static const char* const sources[] = {"A1_DATA_EDIT", "A2_DATA_EDIT", "A3_DATA_EDIT"};
  static const TComponentSpec components[] = {
      {TSpecKind::Edit, sources[0], 0, {8, 8, 60, 20}, 0, nullptr, 0, 0u, nullptr, nullptr, 0, nullptr, nullptr, 0},
      {TSpecKind::Edit, sources[1], 0, {80, 8, 60, 20}, 0, nullptr, 0, 0u, nullptr, nullptr, 0, nullptr, nullptr, 0},
      {TSpecKind::Edit, sources[2], 0, {150, 8, 60, 20}, 0, nullptr, 0, 0u, nullptr, nullptr, 0, nullptr, nullptr, 0},
  };
  static const TSheetColumn columns[] = {{1, "1"}};
  static const TSheetPage pages[] = {{"TFArkuszStr2", 2, false, columns, 1}};
  static const TSheetStep steps[] = {
      {TSheetStep::Lines, "ZMIENNA_GodzOpuszczoneNieusp_DATA_MEMO", nullptr, sources, 3, false}};
  TFormSpec desc {};
  desc.identity = {"TFTestCertificate", "FTestCertificate", "TestUnit", "TEST", dkKlasaI, "test", false, "CancelButton"};
  desc.font = "MS Sans Serif";
  desc.fontHeight = 11;
  desc.panelHeight = 41;
  desc.components = components;
  desc.componentCount = 3;
  desc.sheetPages = pages;
  desc.sheetPageCount = 1;
  desc.sheetSteps = steps;
  desc.sheetStepCount = 1;
  TDocumentForm certificate(desc, nullptr);
  for (const char* s : sources) set(certificate, s, std::string("linia ") + s);
  certificate.vFunCertToSheet(1, 2, false);
  EXPECT_EQ(lines(form("TFArkuszStr2"), "ZMIENNA_GodzOpuszczoneNieusp1_DATA_MEMO"),
            (std::vector<std::string> {"linia A1_DATA_EDIT"}));
  // The real certificates never pass the limit of their pages' memos.
  for (const char* c : {"TFKlasa1a", "TFKlasa2a", "TFKlasa1"})
    fill(c, {{"ZMIENNA_Szczegolne1_STR2_DATA_EDIT", "a"}, {"ZMIENNA_Szczegolne2_STR2_DATA_EDIT", "b"},
             {"ZMIENNA_Szczegolne3_STR2_DATA_EDIT", "c"}});
  form("TFKlasa1a").vFunCertToSheet(1, false);
  form("TFKlasa2a").vFunCertToSheet(1, false);
  form("TFKlasa1").vFunCertToSheet(1, 2, false);
  EXPECT_EQ(lines(form("TFArkuszStr2b"), "ZMIENNA_Szczegolne_DATA_MEMO").size(), 3u);
  EXPECT_EQ(lines(form("TFArkuszStr3b"), "ZMIENNA_Szczegolne1_DATA_MEMO").size(), 3u);
  EXPECT_EQ(lines(form("TFArkuszStr2"), "ZMIENNA_Szczegolne1_DATA_MEMO").size(), 3u);
}

// ------------------------------------------------------------------ the load buttons

TEST_F(CertificateToSheet, EachLoadButtonCopiesTheChosenCertificateIntoTheChosenColumn) {
  struct TCase {
    const char* page;
    const char* button;
    int source, column;
    bool names;
    const char* certificate;  // nullptr: nothing is copied
    std::string yearCell, nameCell;
  };
  const TCase cases[] = {
      {"TFArkuszStr2", "WczytajDaneZSwiadectwaButton", 3, 1, true, "TFKlasa2wyr", "ZMIENNA_Rok2_DATA_EDIT",
       "ZMIENNA_EdukacyjneOpis3_DATA_EDIT"},
      {"TFArkuszStr5", "WczytajDaneZSwiadectwaButton", 3, 2, false, "TFKlasa2wyr", "ZMIENNA_Rok2_DATA_EDIT", ""},
      {"TFArkuszStr3", "WczytajDaneZSwiadectwaButton", 0, 0, false, "TFKlasa1", "ZMIENNA_Rok0_DATA_EDIT", ""},
      {"TFArkuszStr4", "WczytajDaneZSwiadectwaButton", 5, 0, false, "TFKoniecwyr", "ZMIENNA_Rok1_DATA_EDIT", ""},
      {"TFArkuszStr2b", "BitBtn1", 1, -1, true, "TFKlasa1awyr", "ZMIENNA_Rok_DATA_EDIT", "ZMIENNA_ObEduOpis3_DATA_EDIT"},
      {"TFArkuszStr3b", "LoadDataToSeetButton", 1, 1, true, "TFKlasa2awyr", "ZMIENNA_Rok2_DATA_EDIT",
       "ZMIENNA_ObEduOpis3_DATA_EDIT"},
      {"TFArkuszStr4b", "LoadDataToSeetButton", 0, 0, false, "TFKonieca", "ZMIENNA_Rok1_DATA_EDIT", ""},
      {"TFArkuszStr4b", "LoadDataToSeetButton", -1, 0, true, nullptr, "", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.page) + " source " + std::to_string(c.source));
    // Each certificate tells itself apart by its years.
    for (int i = 0; i < kFormSpecCount; ++i)
      if (kFormSpecs[i].sheetStepCount > 0) {
        set(form(kFormSpecs[i].identity.className), "ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", kFormSpecs[i].identity.className);
        set(form(kFormSpecs[i].identity.className), "ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", "");
      }
    fillPagesWithOldValues();
    auto& page = static_cast<TClassPage&>(form(c.page));
    page.findComponentAs<QComboBox>(page.findComponentAs<QComboBox>("SwiadectwoComboBox") ? "SwiadectwoComboBox"
                                                                                         : "CertTypeComboBox")
        ->setCurrentIndex(c.source);
    for (const char* list : {"KolumnaComboBox", "ColumnComboBox"})
      if (auto* l = page.findComponentAs<QComboBox>(list)) l->setCurrentIndex(c.column);
    if (auto* names = page.findComponentAs<QCheckBox>("NazwyCheckBox")) names->setChecked(c.names);
    const TSnapshot before = snapshot();
    page.findComponentAs<QPushButton>(c.button)->click();
    if (!c.certificate) {
      EXPECT_EQ(snapshot(), before);
      continue;
    }
    EXPECT_EQ(text(page, c.yearCell), std::string(c.certificate) + "/");
    if (!c.nameCell.empty()) {
      EXPECT_EQ(text(page, c.nameCell), "język polski");
    }
    // Without the names every name field keeps its value.
    if (!c.names) {
      for (int i = 0; i < page.Spec->componentCount; ++i) {
        if (const std::string name = page.Spec->components[i].name; name.find("Opis") != std::string::npos) {
          EXPECT_EQ(text(page, name), "stare") << name;
        }
      }
    }
  }
}

TEST_F(CertificateToSheet, TheNamedHandlersRunTheLoad) {
  fill("TFKlasa2a", {{"ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", "2020"}, {"ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", "2021"}});
  fill("TFKlasa1", {{"ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", "2000"}, {"ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", "2001"}});
  fill("TFKlasa1a", {{"ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", "2010"}, {"ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", "2011"}});
  auto& p3b = static_cast<TClassPage&>(form("TFArkuszStr3b"));
  p3b.findComponentAs<QComboBox>("CertTypeComboBox")->setCurrentIndex(0);
  p3b.findComponentAs<QComboBox>("ColumnComboBox")->setCurrentIndex(0);
  p3b.LoadDataToSeetButtonClick();
  EXPECT_EQ(text(p3b, "ZMIENNA_Rok1_DATA_EDIT"), "2020/2021");
  auto& p2 = static_cast<TClassPage&>(form("TFArkuszStr2"));
  p2.findComponentAs<QComboBox>("SwiadectwoComboBox")->setCurrentIndex(0);
  p2.findComponentAs<QComboBox>("KolumnaComboBox")->setCurrentIndex(0);
  p2.WczytajDaneZSwiadectwaButtonClick();
  EXPECT_EQ(text(p2, "ZMIENNA_Rok1_DATA_EDIT"), "2000/2001");
  auto& p2b = static_cast<TClassPage&>(form("TFArkuszStr2b"));
  p2b.findComponentAs<QComboBox>("CertTypeComboBox")->setCurrentIndex(0);
  p2b.BitBtn1Click();
  EXPECT_EQ(text(p2b, "ZMIENNA_Rok_DATA_EDIT"), "2010/2011");
  EXPECT_TRUE(p2b.isHidden());  // the load is no cancel
}

TEST(CertificateToSheetDescriptions, EachPagesListOffersItsCertificatesInTheListsOrder) {
  // Every certificate the reference table gives a list item fills a page,
  // and every page that has a list offers as many items as certificates fill
  // it, numbered from 1 as the table numbers them.
  std::map<std::string, std::set<std::string>> pagesOf;
  for (const TFormReference& page : kFormReference) {
    const TFormSpec& desc = formSpec(page.className);
    const TComponentSpec* list = nullptr;
    for (int i = 0; i < desc.componentCount; ++i)
      if (const std::string name = desc.components[i].name; name == "SwiadectwoComboBox" || name == "CertTypeComboBox")
        list = &desc.components[i];
    const std::vector<const TFormReference*> certificates = referenceCertificateList(page.className);
    SCOPED_TRACE(page.className);
    EXPECT_EQ(list != nullptr, !certificates.empty());
    if (!list) continue;
    ASSERT_EQ(list->itemCount, static_cast<int>(certificates.size()));
    for (std::size_t n = 0; n < certificates.size(); ++n) {
      EXPECT_EQ(certificates[n]->listItem, static_cast<int>(n) + 1) << certificates[n]->className;
      EXPECT_EQ(formSpec(certificates[n]->className).sheetItem, certificates[n]->listItem);
      EXPECT_STREQ(list->items[n], certificates[n]->listText);
      pagesOf[certificates[n]->className].insert(page.className);
    }
  }
  // The certificates of the earlier blanks (not offered in the tree) fill the
  // earlier edition's four class pages; those of the current blanks one page
  // of the current edition.
  const std::set<std::string> earlier = {"TFArkuszStr2", "TFArkuszStr3", "TFArkuszStr4", "TFArkuszStr5"};
  const std::set<std::string> current = {"TFArkuszStr2b", "TFArkuszStr3b", "TFArkuszStr4b"};
  for (const TFormReference& r : kFormReference) {
    const std::set<std::string>& pages = pagesOf[r.className];
    if (r.listItem == 0) {
      EXPECT_TRUE(pages.empty()) << r.className;
    } else if (r.tree == 0) {
      EXPECT_EQ(pages, earlier) << r.className;
    } else {
      ASSERT_EQ(pages.size(), 1u) << r.className;
      EXPECT_EQ(current.count(*pages.begin()), 1u) << r.className;
    }
  }
}

TEST(CertificateToSheetDescriptions, TwinsShareTheirBasesTableAndDifferInLabelAndPage) {
  const TFormSpec& current = formSpec("TFKlasa1a");
  const TFormSpec& earlier = formSpec("TFKlasa1");
  EXPECT_EQ(current.sheetStepCount, 53);
  EXPECT_EQ(earlier.sheetStepCount, 43);
  const std::pair<const char*, const TFormSpec*> twins[] = {
      {"TFKlasa1awyr", &current}, {"TFKlasa2a", &current}, {"TFKlasa2awyr", &current}, {"TFKonieca", &current},
      {"TFKoniecawyr", &current}, {"TFKlasa1wyr", &earlier}, {"TFKlasa2", &earlier},  {"TFKlasa2wyr", &earlier},
      {"TFKoniec", &earlier},     {"TFKoniecwyr", &earlier}};
  for (const auto& [twin, base] : twins) {
    const TFormSpec& desc = formSpec(twin);
    SCOPED_TRACE(twin);
    ASSERT_EQ(desc.sheetStepCount, base->sheetStepCount);
    for (int i = 0; i < desc.sheetStepCount; ++i) {
      EXPECT_STREQ(desc.sheetSteps[i].target, base->sheetSteps[i].target);
      EXPECT_EQ(desc.sheetSteps[i].sourceCount, base->sheetSteps[i].sourceCount);
    }
  }
  int pairs = 0;
  for (int p = 0; p < earlier.sheetPageCount; ++p) pairs += earlier.sheetPages[p].columnCount;
  EXPECT_EQ(pairs, 10);
}
