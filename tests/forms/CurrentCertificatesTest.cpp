// The registry of the document forms (against the reference table) and the
// six certificates of the current blanks, checked against tables of this
// test's own.
#include "forms/DocumentForms.h"
#include "forms/FormMakers.h"
#include "support/EveryFormMade.h"
#include "support/FormReference.h"
#include "platform/Cp1250.h"
#include "toolkit/Components.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// ---------------------------------------------------------------- fields

// One value field of the certificate after class I: middle part, side,
// kind (E edit, C drop-down), typing limit (0 none), states, list.
struct Field {
  const char* middle;
  int side;
  char kind;
  int max;
  bool disabled, readOnly;
  const char* list;
};

// Every value field of TFKlasa1a in creation order.
const Field kKlasa1a[] = {
    {"ImieNazwisko", 1, 'E', 43, true, true, nullptr},
    {"DataUrodzenia", 1, 'E', 28, true, true, nullptr},
    {"RokSzkolny1", 1, 'E', 4, false, false, nullptr},
    {"RokSzkolny2", 1, 'E', 4, false, false, nullptr},
    {"Klasa", 1, 'E', 15, false, false, nullptr},
    {"Tarvek1", 1, 'E', 72, false, false, nullptr},
    {"Tarvek2", 1, 'E', 12, false, false, nullptr},
    {"ImieSzkoly1", 1, 'E', 69, false, false, nullptr},
    {"ImieSzkoly2", 1, 'E', 72, false, false, nullptr},
    {"SzkolaMiasto", 1, 'E', 32, false, false, nullptr},
    {"SzkolaWoj", 1, 'E', 32, false, false, nullptr},
    {"Miejscowosc", 1, 'E', 33, false, false, nullptr},
    {"MiejscowoscDnia", 1, 'E', 23, false, false, nullptr},
    {"MiejscowoscRok", 1, 'E', 4, false, false, nullptr},
    {"NrNaSwiadectwie", 1, 'E', 11, false, true, nullptr},
    {"UczeszczalA", 1, 'E', 1, true, false, nullptr},
    {"RealizowalA", 1, 'E', 1, true, false, nullptr},
    {"Przedmiot1", 1, 'E', 32, false, false, nullptr},
    {"Przedmiot3", 1, 'E', 32, false, false, nullptr},
    {"Przedmiot2", 1, 'E', 31, false, false, nullptr},
    {"Przedmiot4", 1, 'E', 31, false, false, nullptr},
    {"SzkolaWE", 1, 'E', 1, false, false, nullptr},
    {"MiejsceUrodzenia", 1, 'E', 28, true, true, nullptr},
    {"NumerPESEL", 1, 'E', 28, true, true, nullptr},
    {"NrTarvek", 1, 'E', 69, false, false, nullptr},
    {"NieOtrzymalProm", 1, 'E', 69, false, false, nullptr},
    {"OtrzymalA", 1, 'E', 69, true, false, nullptr},
    {"PromocjiE", 1, 'E', 69, false, false, nullptr},
    {"PromDoKlasy", 1, 'E', 69, false, false, nullptr},
    {"JObcyOpis2", 2, 'E', 36, false, false, nullptr},
    {"Dodatkowy1", 2, 'E', 42, false, false, nullptr},
    {"Dodatkowy2", 2, 'E', 42, false, false, nullptr},
    {"Dodatkowy3", 2, 'E', 42, false, false, nullptr},
    {"DodEdukacyjne1", 2, 'E', 42, false, false, nullptr},
    {"DodEdukacyjne2", 2, 'E', 42, false, false, nullptr},
    {"DodEdukacyjne3", 2, 'E', 42, false, false, nullptr},
    {"Indywidualny1", 2, 'E', 77, false, false, nullptr},
    {"Indywidualny2", 2, 'E', 77, false, false, nullptr},
    {"Indywidualny3", 2, 'E', 77, false, false, nullptr},
    {"ZachowanieOcn", 2, 'C', 31, false, false, "behaviour"},
    {"ReligiaOcn", 2, 'C', 31, false, false, "religion"},
    {"JPolskiOcn", 2, 'C', 31, false, false, "grades"},
    {"HistoriaOcn", 2, 'C', 31, false, false, "grades"},
    {"WosOcn", 2, 'C', 31, false, false, "grades"},
    {"JObcyOcn1", 2, 'C', 31, false, false, "grades"},
    {"MatematykaOcn", 2, 'C', 31, false, false, "grades"},
    {"WokOcn", 2, 'C', 31, false, false, "grades"},
    {"JObcyOcn2", 2, 'C', 31, false, false, "grades"},
    {"FizykaOcn", 2, 'C', 31, false, false, "grades"},
    {"ChemiaOcn", 2, 'C', 31, false, false, "grades"},
    {"BiologiaOcn", 2, 'C', 31, false, false, "grades"},
    {"GeografiaOcn", 2, 'C', 31, false, false, "grades"},
    {"EduBezpieczenstwaOcn", 2, 'C', 31, false, false, "grades"},
    {"TechInfOcn", 2, 'C', 31, false, false, "grades"},
    {"WfOcn", 2, 'C', 31, false, false, "pe"},
    {"DodatkowyOcn1", 2, 'C', 31, false, false, "attendance"},
    {"DodatkowyOcn2", 2, 'C', 31, false, false, "attendance"},
    {"DodatkowyOcn3", 2, 'C', 31, false, false, "attendance"},
    {"DodEdukacyjneOcn1", 2, 'C', 31, false, false, "attendance"},
    {"DodEdukacyjneOcn2", 2, 'C', 31, false, false, "attendance"},
    {"DodEdukacyjneOcn3", 2, 'C', 31, false, false, "attendance"},
    {"Szczegolne1", 2, 'E', 100, false, false, nullptr},
    {"Szczegolne2", 2, 'E', 100, false, false, nullptr},
    {"Szczegolne3", 2, 'E', 100, false, false, nullptr},
    {"PodstPrzedOcn", 2, 'C', 31, false, false, "grades"},
    {"JObcyOpis1", 2, 'E', 36, false, false, nullptr},
    {"PrzedmiotyUzOpis1", 2, 'E', 42, false, false, nullptr},
    {"PrzedmiotyUzOpis2", 2, 'E', 42, false, false, nullptr},
    {"PrzedmiotyUzOpis3", 2, 'E', 42, false, false, nullptr},
    {"PrzedmiotyUzOcn1", 2, 'C', 31, false, false, "attendance"},
    {"PrzedmiotyUzOcn2", 2, 'C', 31, false, false, "attendance"},
    {"PrzedmiotyUzOcn3", 2, 'C', 31, false, false, "attendance"},
    {"ZakRoz1", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz2", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz3", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz4", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz5", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz6", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz7", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz8", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz9", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz10", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz11", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz12", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz13", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz14", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz15", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz16", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz17", 2, 'E', 0, false, false, nullptr},
    {"ZakRoz18", 2, 'E', 0, false, false, nullptr},
};

std::string nameOf(const Field& f) {
  return std::string("ZMIENNA_") + f.middle + "_STR" + std::to_string(f.side) + (f.kind == 'C' ? "_DATA_COMBOBOX" : "_DATA_EDIT");
}

const std::map<std::string, Names> kLists = {
    {"behaviour", {"wzorowe", "bardzo dobre", "dobre", "poprawne", "nieodpowiednie", "naganne"}},
    {"grades", {"celujący", "bardzo dobry", "dobry", "dostateczny", "dopuszczający", "niedostateczny"}},
    {"religion",
     {"celujący", "bardzo dobry", "dobry", "dostateczny", "dopuszczający", "niedostateczny", "nie uczęszczała",
      "nie uczestniczyła", "nie uczęszczał", "nie uczestniczył"}},
    {"pe",
     {"celujący", "bardzo dobry", "dobry", "dostateczny", "dopuszczający", "niedostateczny", "zwolniona",
      "zwolniony"}},
    {"attendance",
     {"celujący", "bardzo dobry", "dobry", "dostateczny", "dopuszczający", "niedostateczny", "uczęszczała",
      "nie uczęszczała", "uczęszczał", "nie uczęszczał", "uczestniczyła", "nie uczestniczyła", "uczestniczył ",
      "nie uczestniczył"}},
};

// How the five others differ from TFKlasa1a in their value fields.
Names fieldsOf(const char* className) {
  Names names;
  const std::string cls = className;
  const bool leaving = cls == "TFKonieca" || cls == "TFKoniecawyr";
  const bool distinction = cls == "TFKlasa1awyr" || cls == "TFKlasa2awyr";
  for (const Field& f : kKlasa1a) {
    const std::string middle = f.middle;
    if ((distinction || leaving) && (middle == "NieOtrzymalProm" || middle == "PromocjiE")) continue;
    if (leaving && (middle == "Klasa" || middle == "OtrzymalA" || middle == "PromDoKlasy")) continue;
    names.push_back(leaving && middle == "UczeszczalA" ? "ZMIENNA_UkonczylA_STR1_DATA_EDIT" : nameOf(f));
  }
  return names;
}

// ---------------------------------------------------------------- fixed texts, samples, template

// Every fixed text of TFKlasa1a in creation order: name, text, height in
// pixels, bold.
struct FixedText {
  const char* name;
  const char* text;
  int height;
  bool bold;
};
const FixedText kKlasa1aTexts[] = {
    {"STALY_SwiadectwoSzkolne_STR1_DATA_LABEL", "ŚWIADECTWO SZKOLNE", 29, false},
    {"STALY_ImieNazwisko_STR1_DATA_LABEL", "imię (imiona) i nazwisko", 11, false},
    {"STALY_Uczeszczal_STR1_DATA_LABEL", "uczęszczał", 16, false},
    {"STALY_WRokuSzkolnym_STR1_DATA_LABEL", "w roku szkolnym", 16, false},
    {"STALY_Slash_STR1_DATA_LABEL", "/", 16, false},
    {"STALY_DoKlasy_STR1_DATA_LABEL", "do klasy", 16, false},
    {"STALY_Im_STR1_DATA_LABEL", "im.", 16, false},
    {"STALY_SzkolaW_STR1_DATA_LABEL", "w", 16, false},
    {"STALY_SzkolaWoj_STR1_DATA_LABEL", "woj.", 16, false},
    {"STALY_MiejscowoscDnia_STR1_DATA_LABEL", ", dnia", 16, false},
    {"STALY_MiejscowoscRok_STR1_DATA_LABEL", "r.", 16, false},
    {"STALY_NrNaSwiadectwie_STR1_DATA_LABEL", "Nr", 16, false},
    {"STALY_IRealizowal_STR1_DATA_LABEL", "Realizował", 16, false},
    {"STALY_Przedmioty_STR1_DATA_LABEL", "przedmioty:", 16, false},
    {"STALY_MENiS_STR1_DATA_LABEL", "MEN-I/21a/2", 16, false},
    {"STALY_Miejscowosc_STR1_DATA_LABEL", "( miejscowość )", 11, false},
    {"STALY_PieczecIPodpisDyrektora_STR1_DATA_LABEL", "( pieczęć i podpis dyrektora )", 11, false},
    {"STALY_UjeteWPodstawie_STR1_DATA_LABEL", "ujęte w podstawie programowej w zakresie rozszerzonym", 16, false},
    {"STALY_DataUrodzenia_STR1_DATA_LABEL", "data urodzenia", 11, false},
    {"STALY_MiejsceUrodzenia_STR1_DATA_LABEL", "miejsce urodzenia", 11, false},
    {"STALY_NumerPESEL_STR1_DATA_LABEL", "numer PESEL", 11, false},
    {"STALY_NazwaTarvek_STR1_DATA_LABEL", "( nazwa tarvek ogólnokształcącego )", 11, false},
    {"STALY_NrTarvek_STR1_DATA_LABEL", "nr", 16, false},
    {"STALY_IOtrzymal_STR1_DATA_LABEL", "i", 16, false},
    {"STALY_Otrzymal_STR1_DATA_LABEL", "otrzymał", 16, false},
    {"STALY_Promocji_STR1_DATA_LABEL", "promocj", 16, false},
    {"STALY_PromDoKlasy_STR1_DATA_LABEL", "do klasy", 16, false},
    {"STALY_WynikiKlasyfikacjiRocznej_STR2_DATA_LABEL", "WYNIKI KLASYFIKACJI ROCZNEJ", 16, false},
    {"STALY_Zachowanie_STR2_DATA_LABEL", "zachowanie", 16, false},
    {"STALY_Religia_STR2_DATA_LABEL", "religia/etyka", 16, false},
    {"STALY_ObowiazkoweZajEdu_STR2_DATA_LABEL", "Obowiązkowe zajęcia edukacyjne", 16, true},
    {"STALY_JPolski_STR2_DATA_LABEL", "język polski", 16, false},
    {"STALY_Historia_STR2_DATA_LABEL", "historia", 16, false},
    {"STALY_Wos_STR2_DATA_LABEL", "wiedza o społeczeństwie", 16, false},
    {"STALY_JObcy2_STR2_DATA_LABEL", "język", 16, false},
    {"STALY_Matematyka_STR2_DATA_LABEL", "matematyka", 16, false},
    {"STALY_Fizyka_STR2_DATA_LABEL", "fizyka", 16, false},
    {"STALY_Wok_STR2_DATA_LABEL", "wiedza o kulturze", 16, false},
    {"STALY_EduBezpieczenstwa_STR2_DATA_LABEL", "edukacja dla bezpieczeństwa", 16, false},
    {"STALY_Geografia_STR2_DATA_LABEL", "geografia", 16, false},
    {"STALY_Biologia_STR2_DATA_LABEL", "biologia", 16, false},
    {"STALY_JObcy1_STR2_DATA_LABEL", "język", 16, false},
    {"STALY_Chemia_STR2_DATA_LABEL", "chemia", 16, false},
    {"STALY_TechInf_STR2_DATA_LABEL", "informatyka", 16, false},
    {"STALY_Wf_STR2_DATA_LABEL", "wychowanie fizyczne", 16, false},
    {"STALY_DodatkoweZajeciaEdu_STR2_DATA_LABEL", "Dodatkowe zajęcia edukacyjne", 16, true},
    {"STALY_IndywidualnyProgram_STR2_DATA_LABEL", "Indywidualny program lub tok nauki", 16, true},
    {"STALY_SzczegolneOsiagniecia_STR2_DATA_LABEL", "Szczególne osiągnięcia", 16, true},
    {"STALY_SkalaOcen1_STR2_DATA_LABEL", "Skala ocen:", 11, false},
    {"STALY_SkalaOcen2_STR2_DATA_LABEL", "1) zachowanie: wzorowe, bardzo dobre, dobre, poprawne,", 11, false},
    {"STALY_SkalaOcen3_STR2_DATA_LABEL", "nieodpowiednie, naganne;", 11, false},
    {"STALY_SkalaOcen4_STR2_DATA_LABEL", "2) zajęcia edukacyjne, religia/etyka: celujący, bardzo dobry,", 11, false},
    {"STALY_SkalaOcen5_STR2_DATA_LABEL", "dobry, dostateczny, dopuszczający, niedostateczny.", 11, false},
    {"STALY_PodstPrzed_STR2_DATA_LABEL", "podstawy przedsiębiorczości", 16, false},
    {"STALY_WychowawcaKlasy_STR2_DATA_LABEL", "WYCHOWAWCA KLASY", 16, false},
    {"STALY_PrzedmiotyUzupelniajace_STR2_DATA_LABEL", "przedmioty uzupełniające:", 16, true},
};

// The calibration sample of every value field of TFKlasa1a.
const std::pair<const char*, const char*> kKlasa1aSamples[] = {
    {"ZMIENNA_ImieNazwisko_STR1_DATA_EDIT", "imię nazwisko"},
    {"ZMIENNA_DataUrodzenia_STR1_DATA_EDIT", "1 stycznia 1980"},
    {"ZMIENNA_MiejsceUrodzenia_STR1_DATA_EDIT", "katowicach"},
    {"ZMIENNA_NumerPESEL_STR1_DATA_EDIT", "1234567890"},
    {"ZMIENNA_UczeszczalA_STR1_DATA_EDIT", "a"},
    {"ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", "2010"},
    {"ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", "2011"},
    {"ZMIENNA_Klasa_STR1_DATA_EDIT", "pierwszej"},
    {"ZMIENNA_Tarvek1_STR1_DATA_EDIT", "Tarvek 1"},
    {"ZMIENNA_Tarvek2_STR1_DATA_EDIT", "Tarvek 2"},
    {"ZMIENNA_NrTarvek_STR1_DATA_EDIT", "12"},
    {"ZMIENNA_ImieSzkoly1_STR1_DATA_EDIT", "tarvek imienia 1"},
    {"ZMIENNA_ImieSzkoly2_STR1_DATA_EDIT", "tarvek imienia 2"},
    {"ZMIENNA_SzkolaWE_STR1_DATA_EDIT", "e"},
    {"ZMIENNA_SzkolaMiasto_STR1_DATA_EDIT", "katowicach"},
    {"ZMIENNA_SzkolaWoj_STR1_DATA_EDIT", "śląskie"},
    {"ZMIENNA_RealizowalA_STR1_DATA_EDIT", "a"},
    {"ZMIENNA_Przedmiot1_STR1_DATA_EDIT", "przedmiot 1"},
    {"ZMIENNA_Przedmiot2_STR1_DATA_EDIT", "przedmiot 2"},
    {"ZMIENNA_Przedmiot3_STR1_DATA_EDIT", "przedmiot 3"},
    {"ZMIENNA_Przedmiot4_STR1_DATA_EDIT", "przedmiot 4"},
    {"ZMIENNA_NieOtrzymalProm_STR1_DATA_EDIT", "nie"},
    {"ZMIENNA_OtrzymalA_STR1_DATA_EDIT", "a"},
    {"ZMIENNA_PromocjiE_STR1_DATA_EDIT", "e"},
    {"ZMIENNA_PromDoKlasy_STR1_DATA_EDIT", "drugiej"},
    {"ZMIENNA_Miejscowosc_STR1_DATA_EDIT", "katowice"},
    {"ZMIENNA_MiejscowoscDnia_STR1_DATA_EDIT", "1 czerwca"},
    {"ZMIENNA_MiejscowoscRok_STR1_DATA_EDIT", "2011"},
    {"ZMIENNA_NrNaSwiadectwie_STR1_DATA_EDIT", "14"},
    {"ZMIENNA_ZachowanieOcn_STR2_DATA_COMBOBOX", "zachowanie ocn"},
    {"ZMIENNA_ReligiaOcn_STR2_DATA_COMBOBOX", "religia ocn"},
    {"ZMIENNA_JPolskiOcn_STR2_DATA_COMBOBOX", "polski ocn"},
    {"ZMIENNA_JObcyOpis1_STR2_DATA_EDIT", "j.obcy 1 opis"},
    {"ZMIENNA_JObcyOcn1_STR2_DATA_COMBOBOX", "j.obcy 1 ocn"},
    {"ZMIENNA_JObcyOpis2_STR2_DATA_EDIT", "j.obcy 2 opis"},
    {"ZMIENNA_JObcyOcn2_STR2_DATA_COMBOBOX", "j.obcy 2 ocn"},
    {"ZMIENNA_HistoriaOcn_STR2_DATA_COMBOBOX", "historia ocn"},
    {"ZMIENNA_WosOcn_STR2_DATA_COMBOBOX", "wos ocn"},
    {"ZMIENNA_WokOcn_STR2_DATA_COMBOBOX", "wok ocn"},
    {"ZMIENNA_MatematykaOcn_STR2_DATA_COMBOBOX", "matematyka ocn"},
    {"ZMIENNA_FizykaOcn_STR2_DATA_COMBOBOX", "fizyka ocn"},
    {"ZMIENNA_ChemiaOcn_STR2_DATA_COMBOBOX", "chemia ocn"},
    {"ZMIENNA_BiologiaOcn_STR2_DATA_COMBOBOX", "biologia ocn"},
    {"ZMIENNA_GeografiaOcn_STR2_DATA_COMBOBOX", "geografia ocn"},
    {"ZMIENNA_PodstPrzedOcn_STR2_DATA_COMBOBOX", "podst. przed. ocn"},
    {"ZMIENNA_TechInfOcn_STR2_DATA_COMBOBOX", "tech. inf. ocn"},
    {"ZMIENNA_WfOcn_STR2_DATA_COMBOBOX", "wf ocn"},
    {"ZMIENNA_EduBezpieczenstwaOcn_STR2_DATA_COMBOBOX", "po ocn"},
    {"ZMIENNA_Dodatkowy1_STR2_DATA_EDIT", "dod. 1 opis"},
    {"ZMIENNA_DodatkowyOcn1_STR2_DATA_COMBOBOX", "dod. 1 ocn"},
    {"ZMIENNA_Dodatkowy2_STR2_DATA_EDIT", "dod. 2 opis"},
    {"ZMIENNA_DodatkowyOcn2_STR2_DATA_COMBOBOX", "dod. 2 ocn"},
    {"ZMIENNA_Dodatkowy3_STR2_DATA_EDIT", "dod. 3 opis"},
    {"ZMIENNA_DodatkowyOcn3_STR2_DATA_COMBOBOX", "dod. 3 ocn"},
    {"ZMIENNA_PrzedmiotyUzOpis1_STR2_DATA_EDIT", "przed. uz. opis 1"},
    {"ZMIENNA_PrzedmiotyUzOpis2_STR2_DATA_EDIT", "przed. uz. opis 2"},
    {"ZMIENNA_PrzedmiotyUzOpis3_STR2_DATA_EDIT", "przed. uz. opis 3"},
    {"ZMIENNA_PrzedmiotyUzOcn1_STR2_DATA_COMBOBOX", "przed. uz. ocn 1"},
    {"ZMIENNA_PrzedmiotyUzOcn2_STR2_DATA_COMBOBOX", "przed. uz. ocn 2"},
    {"ZMIENNA_PrzedmiotyUzOcn3_STR2_DATA_COMBOBOX", "przed. uz. ocn 3"},
    {"ZMIENNA_DodEdukacyjne1_STR2_DATA_EDIT", "edu. 1 opis"},
    {"ZMIENNA_DodEdukacyjneOcn1_STR2_DATA_COMBOBOX", "edu. 1 ocn"},
    {"ZMIENNA_DodEdukacyjne2_STR2_DATA_EDIT", "edu. 2 opis"},
    {"ZMIENNA_DodEdukacyjneOcn2_STR2_DATA_COMBOBOX", "edu. 2 ocn"},
    {"ZMIENNA_DodEdukacyjne3_STR2_DATA_EDIT", "edu. 3 opis"},
    {"ZMIENNA_DodEdukacyjneOcn3_STR2_DATA_COMBOBOX", "edu. 3 ocn"},
    {"ZMIENNA_Indywidualny1_STR2_DATA_EDIT", "indywidualny 1"},
    {"ZMIENNA_Indywidualny2_STR2_DATA_EDIT", "indywidualny 2"},
    {"ZMIENNA_Indywidualny3_STR2_DATA_EDIT", "indywidualny 3"},
    {"ZMIENNA_Szczegolne1_STR2_DATA_EDIT", "szczegolne 1"},
    {"ZMIENNA_Szczegolne2_STR2_DATA_EDIT", "szczegolne 2"},
    {"ZMIENNA_Szczegolne3_STR2_DATA_EDIT", "szczegolne 3"},
    {"ZMIENNA_ZakRoz1_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz2_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz3_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz4_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz5_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz6_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz7_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz8_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz9_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz10_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz11_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz12_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz13_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz14_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz15_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz16_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz17_STR2_DATA_EDIT", "zakres rozszerzony"},
    {"ZMIENNA_ZakRoz18_STR2_DATA_EDIT", "zakres rozszerzony"},
};

// The school data exchanged with the template dialog, in the order of the
// copies: dialog edit, form field, and which forms give the field back.
enum class Take { All, Class, Never };
struct TemplatePair {
  const char* dialog;
  const char* field;
  Take take;
};
const TemplatePair kTemplatePairs[] = {
    {"ZMIENNA_RokSzkolny1_DATA_EDIT", "ZMIENNA_RokSzkolny1_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_RokSzkolny2_DATA_EDIT", "ZMIENNA_RokSzkolny2_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_Klasa_DATA_EDIT", "ZMIENNA_Klasa_STR1_DATA_EDIT", Take::Never},
    {"ZMIENNA_Tarvek1_DATA_EDIT", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_Tarvek2_DATA_EDIT", "ZMIENNA_Tarvek2_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_NrTarvek_DATA_EDIT", "ZMIENNA_NrTarvek_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_TarvekImienia1_DATA_EDIT", "ZMIENNA_ImieSzkoly1_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_TarvekImienia2_DATA_EDIT", "ZMIENNA_ImieSzkoly2_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_SzkolaWE_DATA_EDIT", "ZMIENNA_SzkolaWE_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_SzkolaMiasto_DATA_EDIT", "ZMIENNA_SzkolaMiasto_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_SzkolaWoj_DATA_EDIT", "ZMIENNA_SzkolaWoj_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_Przedmiot1_STR1_DATA_EDIT", "ZMIENNA_Przedmiot1_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_Przedmiot2_STR1_DATA_EDIT", "ZMIENNA_Przedmiot2_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_Przedmiot3_STR1_DATA_EDIT", "ZMIENNA_Przedmiot3_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_Przedmiot4_STR1_DATA_EDIT", "ZMIENNA_Przedmiot4_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_PromocjaDoKlasy_DATA_EDIT", "ZMIENNA_PromDoKlasy_STR1_DATA_EDIT", Take::Class},
    {"ZMIENNA_Miejscowosc_DATA_EDIT", "ZMIENNA_Miejscowosc_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_MiejscowoscDnia_DATA_EDIT", "ZMIENNA_MiejscowoscDnia_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_MiejscowoscRok_DATA_EDIT", "ZMIENNA_MiejscowoscRok_STR1_DATA_EDIT", Take::All},
    {"ZMIENNA_JObcy1_DATA_EDIT", "ZMIENNA_JObcyOpis1_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_JObcy2_DATA_EDIT", "ZMIENNA_JObcyOpis2_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", "ZMIENNA_Dodatkowy1_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", "ZMIENNA_Dodatkowy2_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_ObowiazkoweEdu3_DATA_EDIT", "ZMIENNA_Dodatkowy3_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_DodatkoweEdu1_DATA_EDIT", "ZMIENNA_DodEdukacyjne1_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_DodatkoweEdu2_DATA_EDIT", "ZMIENNA_DodEdukacyjne2_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_DodatkoweEdu3_DATA_EDIT", "ZMIENNA_DodEdukacyjne3_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_PrzedUz1_DATA_EDIT", "ZMIENNA_PrzedmiotyUzOpis1_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_PrzedUz2_DATA_EDIT", "ZMIENNA_PrzedmiotyUzOpis2_STR2_DATA_EDIT", Take::All},
    {"ZMIENNA_PrzedUz3_DATA_EDIT", "ZMIENNA_PrzedmiotyUzOpis3_STR2_DATA_EDIT", Take::All},
};

const char* const kCurrent[] = {"TFKlasa1a", "TFKlasa1awyr", "TFKlasa2a", "TFKlasa2awyr", "TFKonieca", "TFKoniecawyr"};

bool isValueField(const std::string& name) {
  return name.find("_DATA_EDIT") != std::string::npos || name.find("_DATA_COMBOBOX") != std::string::npos ||
         name.find("_DATA_MEMO") != std::string::npos;
}

Names valueFields(const TComponentRegistry& form) {
  Names names;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const std::string name = form.ComponentName(i).toStdString();
    if (isValueField(name)) names.push_back(name);
  }
  return names;
}

std::map<std::string, std::string> labels(const TComponentRegistry& form) {
  std::map<std::string, std::string> texts;
  for (int i = 0; i < form.ComponentCount(); ++i)
    if (auto* label = qobject_cast<QLabel*>(form.Components(i)); label && form.ComponentName(i).startsWith("STALY_"))
      texts[form.ComponentName(i).toStdString()] = label->text().toStdString();
  return texts;
}

int typedLength(QLineEdit* edit) {
  const bool enabled = edit->isEnabled(), readOnly = edit->isReadOnly();
  edit->setEnabled(true);
  edit->setReadOnly(false);
  edit->clear();
  for (int i = 0; i < 120; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(edit, &press);
  }
  const auto length = static_cast<int>(edit->text().size());
  edit->clear();
  edit->setEnabled(enabled);
  edit->setReadOnly(readOnly);
  return length;
}

// A stand-in for the student-data dialog and the school-template dialog.
class Registry : public TFormBase {
 public:
  QWidget owner;
  QLineEdit* edit(const std::string& name, const std::string& utf8 = {}) {
    auto* e = Make<QLineEdit>(QString::fromStdString(name), &owner);
    e->setText(QString::fromStdString(utf8));
    return e;
  }
};

class CurrentCertificates : public EveryFormMade {
 protected:
  void TearDown() override {
    TDocumentForm::StudentData = nullptr;
    TDocumentForm::TemplateDialog = nullptr;
    TDocumentForm::TemplateReload = nullptr;
    TDocumentForm::StudentSave = nullptr;
  }
  static std::string text(const TDocumentForm& f, const std::string& name) {
    return cp1250ToUtf8(strFunGetText(f.findComponent(name)));
  }
};

}  // namespace

TEST(FormRegistry, EveryFormKeepsItsIdentityInProtocolOrder) {
  // A form the build makes needs its row in the reference table, and a row
  // names a form the build makes.
  for (int i = 0; i < kFormSpecCount; ++i)
    EXPECT_NE(referenceOf(kFormSpecs[i].identity.className), nullptr)
        << kFormSpecs[i].identity.className << " has no row in tests/support/FormReference.h";
  for (const TFormReference& r : kFormReference) {
    bool made = false;
    for (int i = 0; i < kFormSpecCount; ++i) made = made || std::strcmp(kFormSpecs[i].identity.className, r.className) == 0;
    EXPECT_TRUE(made) << r.className << " of tests/support/FormReference.h is not in the registry";
  }
  ASSERT_EQ(kFormSpecCount, kFormReferenceCount);
  for (int i = 0; i < kFormSpecCount; ++i) {
    const TFormSpec& desc = kFormSpecs[i];
    const TFormReference& expected = kFormReference[i];
    SCOPED_TRACE(expected.className);
    EXPECT_STREQ(desc.identity.className, expected.className);
    EXPECT_STREQ(desc.identity.global, expected.className + 1);
    EXPECT_STREQ(desc.identity.tag, expected.tag);
    EXPECT_EQ(desc.identity.kind, expected.kind);
    EXPECT_STREQ(desc.documentName, expected.documentName);
    EXPECT_EQ(desc.treePosition, expected.tree);
    EXPECT_EQ(desc.created, expected.created);
    EXPECT_EQ(desc.identity.lineRows, expected.lineRows);
    EXPECT_STREQ(desc.identity.cancelButton, expected.cancel);
    EXPECT_STREQ(desc.identity.caption, expected.caption);
    EXPECT_EQ(desc.sheetItem, expected.listItem);
    EXPECT_EQ(optFunKindOfDocumentName(cp1250(expected.documentName)), expected.kind);
  }
  EXPECT_EQ(optFunKindOfDocumentName(""), std::nullopt);
  // The tree offers the documents that have a place in it, in that order.
  std::vector<const TFormReference*> offered;
  for (const TFormReference& r : kFormReference)
    if (r.tree > 0) offered.push_back(&r);
  std::sort(offered.begin(), offered.end(), [](auto* a, auto* b) { return a->tree < b->tree; });
  Names tree, expectedTree;
  for (const TFormSpec* desc : vFunTreeDocuments()) tree.push_back(desc->identity.className);
  for (const TFormReference* r : offered) expectedTree.push_back(r->className);
  EXPECT_EQ(tree, expectedTree);
}

// Start-up makes every window of the registry once, in the order of their
// places, the main window first.
TEST(FormRegistry, WindowsAreMadeInTheOrderOfTheRegistry) {
  Names order;
  for (int i = 0; i < kWindowCount; ++i) {
    const TWindowSlot& slot = kWindowOrder[i];
    order.push_back(slot.global);
    if (slot.form >= 0) {
      ASSERT_LT(slot.form, kFormSpecCount);
      EXPECT_STREQ(kFormSpecs[slot.form].identity.global, slot.global);
      EXPECT_EQ(kFormSpecs[slot.form].created, i + 1);
      EXPECT_STREQ(kFormMakers[slot.form].className, kFormSpecs[slot.form].identity.className);
    }
  }
  EXPECT_EQ(order, referenceWindowOrder());
}

// The certificate list of each class page names its certificates item by
// item: the item's text is the certificate's, whatever their order in the
// registry.
TEST_F(CurrentCertificates, EachItemOfAClassPagesCertificateListIsItsCertificate) {
  std::map<std::string, Names> lists;  // page class -> texts by item
  for (int i = 0; i < kFormSpecCount; ++i) {
    const TFormReference* row = referenceOf(kFormSpecs[i].identity.className);
    ASSERT_NE(row, nullptr) << kFormSpecs[i].identity.className << " has no row in tests/support/FormReference.h";
    const TFormReference& r = *row;
    for (int p = 0; p < kFormSpecs[i].sheetPageCount; ++p) {
      Names& items = lists[kFormSpecs[i].sheetPages[p].pageClass];
      ASSERT_GT(r.listItem, 0) << r.className;
      items.resize(std::max(items.size(), static_cast<std::size_t>(r.listItem)));
      items[static_cast<std::size_t>(r.listItem - 1)] = r.listText;
    }
  }
  for (const auto& [page, items] : lists) {
    const TDocumentForm& f = form(page.c_str());
    const QComboBox* list = nullptr;
    for (const char* name : {"SwiadectwoComboBox", "CertTypeComboBox"})
      if (!list) list = f.findComponentAs<QComboBox>(name);
    ASSERT_NE(list, nullptr) << page;
    Names shown;
    for (int k = 0; k < list->count(); ++k) shown.push_back(list->itemText(k).toStdString());
    EXPECT_EQ(shown, items) << page;
  }
}

TEST_F(CurrentCertificates, ValueFieldsInCreationOrderWithTheirKindsLimitsStatesAndLists) {
  const std::map<std::string, std::size_t> counts = {{"TFKlasa1a", 90},    {"TFKlasa1awyr", 88}, {"TFKlasa2a", 90},
                                                     {"TFKlasa2awyr", 88}, {"TFKonieca", 85},    {"TFKoniecawyr", 85}};
  for (const char* cls : kCurrent) {
    SCOPED_TRACE(cls);
    const TDocumentForm& f = form(cls);
    EXPECT_EQ(valueFields(f), fieldsOf(cls));
    EXPECT_EQ(valueFields(f).size(), counts.at(cls));
  }
  // Kinds, limits, states and lists, on the pattern form.
  TDocumentForm& f = form("TFKlasa1a");
  for (const Field& field : kKlasa1a) {
    const std::string name = nameOf(field);
    SCOPED_TRACE(name);
    QObject* component = f.findComponent(name);
    ASSERT_NE(component, nullptr);
    QLineEdit* edit = qobject_cast<QLineEdit*>(component);
    if (field.kind == 'C') {
      auto* combo = qobject_cast<QComboBox*>(component);
      ASSERT_NE(combo, nullptr);
      EXPECT_TRUE(combo->isEditable());
      Names items;
      for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
      EXPECT_EQ(items, kLists.at(field.list));
      EXPECT_EQ(combo->currentIndex(), -1);
      edit = combo->lineEdit();
    }
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(qobject_cast<QWidget*>(component)->isEnabled(), !field.disabled);
    EXPECT_EQ(edit->isReadOnly(), field.readOnly);
    EXPECT_EQ(typedLength(edit), field.max ? field.max : 120);
  }
}

TEST_F(CurrentCertificates, FixedTextsAndHowTheTwinsRewordThem) {
  const auto klasa1a = labels(form("TFKlasa1a"));
  EXPECT_EQ(klasa1a.size(), 56u);
  const std::map<std::string, std::string> some = {
      {"STALY_SwiadectwoSzkolne_STR1_DATA_LABEL", "ŚWIADECTWO SZKOLNE"},
      {"STALY_IOtrzymal_STR1_DATA_LABEL", "i"},
      {"STALY_PromDoKlasy_STR1_DATA_LABEL", "do klasy"},
      {"STALY_MENiS_STR1_DATA_LABEL", "MEN-I/21a/2"},
      {"STALY_SkalaOcen4_STR2_DATA_LABEL", "2) zajęcia edukacyjne, religia/etyka: celujący, bardzo dobry,"},
      {"STALY_WychowawcaKlasy_STR2_DATA_LABEL", "WYCHOWAWCA KLASY"},
      {"STALY_NazwaTarvek_STR1_DATA_LABEL", "( nazwa tarvek ogólnokształcącego )"}};
  for (const auto& [name, text] : some) EXPECT_EQ(klasa1a.at(name), text) << name;
  EXPECT_EQ(labels(form("TFKlasa2a")), klasa1a);

  // What each twin has in place of the pattern's texts (absent: "").
  struct Difference {
    const char* cls;
    std::map<std::string, std::string> texts;
  };
  const Difference differences[] = {
      {"TFKlasa1awyr",
       {{"STALY_Otrzymal_STR1_DATA_LABEL", ""},
        {"STALY_Promocji_STR1_DATA_LABEL", ""},
        {"STALY_IOtrzymal_STR1_DATA_LABEL", "i otrzymał"},
        {"STALY_PromDoKlasy_STR1_DATA_LABEL", "promocję z wyróżnieniem do klasy"},
        {"STALY_MENiS_STR1_DATA_LABEL", "MEN-I/21a-w/2"}}},
      {"TFKonieca",
       {{"STALY_SwiadectwoSzkolne_STR1_DATA_LABEL", ""},
        {"STALY_SwiadectwoSzkolne1_STR1_DATA_LABEL", "ŚWIADECTWO UKOŃCZENIA"},
        {"STALY_SwiadectwoSzkolne2_STR1_DATA_LABEL", "TARVEK OGÓLNOKSZTAŁCĄCEGO"},
        {"STALY_Uczeszczal_STR1_DATA_LABEL", ""},
        {"STALY_Ukonczyl_STR1_DATA_LABEL", "ukończył"},
        {"STALY_DoKlasy_STR1_DATA_LABEL", ""},
        {"STALY_IRealizowal_STR1_DATA_LABEL", "i realizował"},
        {"STALY_UjeteWPodstawie_STR1_DATA_LABEL", "ujęte w podstawie programowej w zakresie rozszerzonym."},
        {"STALY_IOtrzymal_STR1_DATA_LABEL", ""},
        {"STALY_Otrzymal_STR1_DATA_LABEL", ""},
        {"STALY_Promocji_STR1_DATA_LABEL", ""},
        {"STALY_PromDoKlasy_STR1_DATA_LABEL", ""},
        {"STALY_SwiadectwoJestDokumentem_STR1_DATA_LABEL",
         "Świadectwo jest dokumentem potwierdzającym posiadanie wykształcenia średniego."},
        {"STALY_MENiS_STR1_DATA_LABEL", "MEN-I/23a/2"},
        {"STALY_WynikiKlasyfikacjiRocznej_STR2_DATA_LABEL", ""},
        {"STALY_WynikiKlasyfikacjiKoncowej_STR2_DATA_LABEL", "WYNIKI KLASYFIKACJI KOŃCOWEJ"},
        {"STALY_WychowawcaKlasy_STR2_DATA_LABEL", "WYCHOWAWCA (OPIEKUN) KLASY"}}},
      {"TFKoniecawyr",
       {{"STALY_WRokuSzkolnym_STR1_DATA_LABEL", ""},
        {"STALY_ZWyrWRokuSzkolnym_STR1_DATA_LABEL", "z wyróżnieniem w roku szkolnym"},
        {"STALY_WychowawcaKlasy_STR2_DATA_LABEL", "WYCHOWAWCA KLASY"},
        {"STALY_MENiS_STR1_DATA_LABEL", "MEN-I/23a-w/2"},
        {"STALY_Ukonczyl_STR1_DATA_LABEL", "ukończył"}}},
  };
  for (const Difference& d : differences) {
    SCOPED_TRACE(d.cls);
    const auto twin = labels(form(d.cls));
    for (const auto& [name, text] : d.texts) {
      const auto it = twin.find(name);
      EXPECT_EQ(it == twin.end() ? "" : it->second, text) << name;
    }
    // Everything else reads as on the pattern.
    for (const auto& [name, text] : twin)
      if (!d.texts.count(name) && klasa1a.count(name) && std::string(d.cls) != "TFKoniecawyr") {
        EXPECT_EQ(text, klasa1a.at(name)) << name;
      }
  }
  EXPECT_EQ(labels(form("TFKlasa2awyr")), labels(form("TFKlasa1awyr")));
  // The school-leaving form with distinction has only the differences of its own from its plain twin.
  auto plain = labels(form("TFKonieca")), distinction = labels(form("TFKoniecawyr"));
  plain.erase("STALY_WRokuSzkolnym_STR1_DATA_LABEL");
  distinction.erase("STALY_ZWyrWRokuSzkolnym_STR1_DATA_LABEL");
  for (const char* name : {"STALY_WychowawcaKlasy_STR2_DATA_LABEL", "STALY_MENiS_STR1_DATA_LABEL"}) {
    plain.erase(name);
    distinction.erase(name);
  }
  EXPECT_EQ(plain, distinction);
}

TEST_F(CurrentCertificates, TheTwoSidesArePicturesOfTheBlankWithTheirTabs) {
  for (const char* cls : kCurrent) {
    SCOPED_TRACE(cls);
    const TFormSpec& desc = *form(cls).Spec;
    ASSERT_EQ(desc.sideCount, 2);
    EXPECT_STREQ(desc.sides[0].caption, "Strona 1");
    EXPECT_STREQ(desc.sides[1].caption, "Strona2");
    EXPECT_EQ(desc.sides[0].width, 717);
    EXPECT_EQ(desc.sides[0].height, 1053);
    EXPECT_EQ(desc.sides[1].width, 716);
    EXPECT_EQ(desc.sides[1].height, 1150);
    EXPECT_EQ(desc.width, 745);
    for (const char* name : {"PageControl1", "TabSheet1", "TabSheet2", "ScrollBox1", "ScrollBox2", "ImageSide1",
                             "ImageSide2", "Panel1", "LoadSchoolDataButton", "OKButton", "CancelButton"})
      EXPECT_NE(form(cls).findComponent(name), nullptr) << name;
  }
  const std::map<std::string, std::string> pictures = {
      {"TFKlasa1a", "blanki/swiadectwo_a_str1.jpg"},     {"TFKlasa2a", "blanki/swiadectwo_a_str1.jpg"},
      {"TFKonieca", "blanki/swiadectwo_a_str1.jpg"},     {"TFKlasa1awyr", "blanki/swiadectwo_a_str1_wyr.jpg"},
      {"TFKlasa2awyr", "blanki/swiadectwo_a_str1_wyr.jpg"}, {"TFKoniecawyr", "blanki/swiadectwo_a_koniec_str1_wyr.jpg"}};
  for (const auto& [cls, picture] : pictures) {
    EXPECT_EQ(form(cls.c_str()).Spec->sides[0].picture, picture) << cls;
    EXPECT_STREQ(form(cls.c_str()).Spec->sides[1].picture, "blanki/swiadectwo_a_str2.jpg") << cls;
  }
}

TEST_F(CurrentCertificates, PersonalDataFollowTheStudentDataDialogOnEveryLoad) {
  Registry dialog;
  dialog.edit("Imie_DATA_EDIT", "Anna");
  dialog.edit("Nazwisko_DATA_EDIT", "Nowak");
  dialog.edit("UrodzonyDnia_DATA_EDIT", "1 maja");
  dialog.edit("UrodzonyRok_DATA_COMBOBOX", "2001 r.");
  dialog.edit("UrodzonyMiasto_DATA_COMBOBOX", "Kraków");
  QLineEdit* sex = dialog.edit("Plec_DATA_COMBOBOX");
  dialog.edit("NrDziennika_DATA_EDIT", "7");
  dialog.edit("NrPesel_DATA_EDIT", "01234567890");
  TDocumentForm::StudentData = [&dialog] { return static_cast<const TComponentRegistry*>(&dialog); };

  // Stored rows of these fields never show: the dialog's data replace them.
  std::vector<TDataRecord> rows(1);
  rows[0].id = "KLASA Ia TARVEK";
  rows[0].comp_name = "ZMIENNA_ImieNazwisko_STR1_DATA_EDIT";
  rows[0].value = "Stare Dane";
  struct Case {
    const char* sex;
    const char* ending;
  };
  for (const Case& c : {Case {"kobieta", "a"}, Case {"mężczyzna", ""}, Case {"", "a"}, Case {"Mężczyzna", "a"}}) {
    sex->setText(QString::fromUtf8(c.sex));
    for (const char* cls : kCurrent) {
      SCOPED_TRACE(std::string(cls) + " " + c.sex);
      TDocumentForm& f = form(cls);
      f.vFunFormDataFromList(rows);
      EXPECT_EQ(text(f, "ZMIENNA_ImieNazwisko_STR1_DATA_EDIT"), "Anna Nowak");
      EXPECT_EQ(text(f, "ZMIENNA_DataUrodzenia_STR1_DATA_EDIT"), "1 maja 2001 r.");
      EXPECT_EQ(text(f, "ZMIENNA_MiejsceUrodzenia_STR1_DATA_EDIT"), "Kraków");
      EXPECT_EQ(text(f, "ZMIENNA_NrNaSwiadectwie_STR1_DATA_EDIT"), "7");
      EXPECT_EQ(text(f, "ZMIENNA_NumerPESEL_STR1_DATA_EDIT"), "01234567890");
      EXPECT_EQ(text(f, "ZMIENNA_RealizowalA_STR1_DATA_EDIT"), c.ending);
      const bool leaving = std::string(cls).find("Koniec") != std::string::npos;
      EXPECT_EQ(text(f, leaving ? "ZMIENNA_UkonczylA_STR1_DATA_EDIT" : "ZMIENNA_UczeszczalA_STR1_DATA_EDIT"), c.ending);
      if (!leaving) {
        EXPECT_EQ(text(f, "ZMIENNA_OtrzymalA_STR1_DATA_EDIT"), c.ending);
      }
    }
  }
  // Empty names and birth data still join with one blank.
  for (const char* name : {"Imie_DATA_EDIT", "Nazwisko_DATA_EDIT", "UrodzonyDnia_DATA_EDIT", "UrodzonyRok_DATA_COMBOBOX"})
    bFunSetText(dialog.findComponent(name), "");
  form("TFKlasa1a").vFunFormDataFromList({});
  EXPECT_EQ(text(form("TFKlasa1a"), "ZMIENNA_ImieNazwisko_STR1_DATA_EDIT"), " ");
  EXPECT_EQ(text(form("TFKlasa1a"), "ZMIENNA_DataUrodzenia_STR1_DATA_EDIT"), " ");
}

TEST_F(CurrentCertificates, RowsGoToTheFormOfTheirTagOnlyAndComeBackInCreationOrder) {
  auto row = [](const char* tag, const char* name, const char* value) {
    TDataRecord r;
    r.id = tag;
    r.comp_name = name;
    r.value = value;
    return r;
  };
  const std::vector<TDataRecord> rows = {
      row("KLASA IIa TARVEK", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", "for the form with distinction"),
      row("KLASA IIa WYR. TARVEK", "ZMIENNA_Tarvek1_STR1_DATA_EDIT", "for the plain form"),
      row("KLASA Ia WYR. TARVEK", "ZMIENNA_PromocjiE_STR1_DATA_EDIT", "no such field there"),
      row("KLASA Ia TARVEK", "STALY_MENiS_STR1_DATA_LABEL", "a label is never applied"),
      row("KLASA Ia TARVEK", "ZMIENNA_ZakRoz3_STR2_DATA_EDIT", std::string(3000, 'z').c_str()),
  };
  for (const char* cls : kCurrent) form(cls).vFunFormDataFromList(rows);
  EXPECT_EQ(text(form("TFKlasa2awyr"), "ZMIENNA_Tarvek1_STR1_DATA_EDIT"), "for the form with distinction");
  EXPECT_EQ(text(form("TFKlasa2a"), "ZMIENNA_Tarvek1_STR1_DATA_EDIT"), "for the plain form");
  EXPECT_EQ(text(form("TFKlasa1awyr"), "ZMIENNA_Tarvek1_STR1_DATA_EDIT"), "");
  EXPECT_EQ(text(form("TFKlasa1a"), "STALY_MENiS_STR1_DATA_LABEL"), "MEN-I/21a/2");

  // Saved: one row per value field in creation order under the form's tag,
  // a long value whole (within the row's 2047 characters).
  std::vector<TDataRecord> saved;
  EXPECT_TRUE(form("TFKlasa1a").vFunFormDataToList(saved));
  Names names;
  for (const TDataRecord& r : saved) {
    EXPECT_EQ(r.id.str(), "KLASA Ia TARVEK");
    names.push_back(r.comp_name.str());
  }
  EXPECT_EQ(names, fieldsOf("TFKlasa1a"));
  EXPECT_EQ(saved[74].value.str(), std::string(2047, 'z'));
  std::vector<TDataRecord> again;
  form("TFKlasa1a").vFunFormDataFromList(saved);
  form("TFKlasa1a").vFunFormDataToList(again);
  for (std::size_t i = 0; i < saved.size(); ++i) EXPECT_EQ(again[i].value.str(), saved[i].value.str()) << names[i];
}

TEST_F(CurrentCertificates, OkPutsOneBlankIntoEveryEmptyExtendedScopeFieldBeforeTheSave) {
  TDocumentForm& f = form("TFKlasa1a");
  f.vFunClearFormData();
  bFunSetText(f.findComponent("ZMIENNA_ZakRoz2_STR2_DATA_EDIT"), "  x");
  int saves = 0;
  TDocumentForm::StudentSave = [&] {
    ++saves;
    return false;  // a failed save keeps the form open with the blanks
  };
  f.OKButtonClick();
  EXPECT_EQ(saves, 1);
  std::vector<TDataRecord> rows;
  f.vFunFormDataToList(rows);
  int blanks = 0;
  for (const TDataRecord& r : rows) {
    const std::string name = r.comp_name.str();
    if (name.find("ZakRoz") == std::string::npos) {
      EXPECT_EQ(r.value.str(), "") << name;
    } else if (name == "ZMIENNA_ZakRoz2_STR2_DATA_EDIT") {
      EXPECT_EQ(r.value.str(), "  x");
    } else {
      EXPECT_EQ(r.value.str(), " ") << name;
      ++blanks;
    }
  }
  EXPECT_EQ(blanks, 17);
}

TEST_F(CurrentCertificates, SamplesFillEveryValueFieldTheSameEachTime) {
  for (const char* cls : kCurrent) {
    SCOPED_TRACE(cls);
    TDocumentForm& f = form(cls);
    f.vFunClearFormData();
    f.vFunFillSampleData();
    std::vector<TDataRecord> once, twice;
    f.vFunFormDataToList(once);
    f.vFunFillSampleData();
    f.vFunFormDataToList(twice);
    for (std::size_t i = 0; i < once.size(); ++i) {
      EXPECT_FALSE(once[i].value.str().empty()) << once[i].comp_name.str();
      EXPECT_EQ(once[i].value.str(), twice[i].value.str());
    }
  }
  const std::map<std::string, std::string> some = {
      {"ZMIENNA_ImieNazwisko_STR1_DATA_EDIT", "imię nazwisko"},     {"ZMIENNA_SzkolaWoj_STR1_DATA_EDIT", "śląskie"},
      {"ZMIENNA_EduBezpieczenstwaOcn_STR2_DATA_COMBOBOX", "po ocn"}, {"ZMIENNA_ZakRoz18_STR2_DATA_EDIT", "zakres rozszerzony"},
      {"ZMIENNA_PromDoKlasy_STR1_DATA_EDIT", "drugiej"},             {"ZMIENNA_Klasa_STR1_DATA_EDIT", "pierwszej"}};
  for (const auto& [name, sample] : some) EXPECT_EQ(text(form("TFKlasa2a"), name), sample) << name;
  EXPECT_EQ(text(form("TFKonieca"), "ZMIENNA_UkonczylA_STR1_DATA_EDIT"), "a");
}

TEST_F(CurrentCertificates, ANewStudentStartsWithThePromotionEndingWhereTheBlankHasIt) {
  for (const char* cls : kCurrent) {
    TDocumentForm& f = form(cls);
    f.vFunClearFormData();
    f.vFunNewStudentDefaults();
    QObject* ending = f.findComponent("ZMIENNA_PromocjiE_STR1_DATA_EDIT");
    const std::string c = cls;
    EXPECT_EQ(ending != nullptr, c == "TFKlasa1a" || c == "TFKlasa2a") << c;
    if (ending) {
      EXPECT_EQ(cp1250ToUtf8(strFunGetText(ending)), "ę");
    }
  }
}

TEST_F(CurrentCertificates, TheSchoolDataComeFromTheTemplateAndGoBack) {
  Registry dialog;
  const std::map<std::string, std::string> pairs = {
      {"ZMIENNA_RokSzkolny1_DATA_EDIT", "ZMIENNA_RokSzkolny1_STR1_DATA_EDIT"},
      {"ZMIENNA_RokSzkolny2_DATA_EDIT", "ZMIENNA_RokSzkolny2_STR1_DATA_EDIT"},
      {"ZMIENNA_Klasa_DATA_EDIT", "ZMIENNA_Klasa_STR1_DATA_EDIT"},
      {"ZMIENNA_Tarvek1_DATA_EDIT", "ZMIENNA_Tarvek1_STR1_DATA_EDIT"},
      {"ZMIENNA_Tarvek2_DATA_EDIT", "ZMIENNA_Tarvek2_STR1_DATA_EDIT"},
      {"ZMIENNA_NrTarvek_DATA_EDIT", "ZMIENNA_NrTarvek_STR1_DATA_EDIT"},
      {"ZMIENNA_TarvekImienia1_DATA_EDIT", "ZMIENNA_ImieSzkoly1_STR1_DATA_EDIT"},
      {"ZMIENNA_TarvekImienia2_DATA_EDIT", "ZMIENNA_ImieSzkoly2_STR1_DATA_EDIT"},
      {"ZMIENNA_SzkolaWE_DATA_EDIT", "ZMIENNA_SzkolaWE_STR1_DATA_EDIT"},
      {"ZMIENNA_SzkolaMiasto_DATA_EDIT", "ZMIENNA_SzkolaMiasto_STR1_DATA_EDIT"},
      {"ZMIENNA_SzkolaWoj_DATA_EDIT", "ZMIENNA_SzkolaWoj_STR1_DATA_EDIT"},
      {"ZMIENNA_Przedmiot1_STR1_DATA_EDIT", "ZMIENNA_Przedmiot1_STR1_DATA_EDIT"},
      {"ZMIENNA_Przedmiot2_STR1_DATA_EDIT", "ZMIENNA_Przedmiot2_STR1_DATA_EDIT"},
      {"ZMIENNA_Przedmiot3_STR1_DATA_EDIT", "ZMIENNA_Przedmiot3_STR1_DATA_EDIT"},
      {"ZMIENNA_Przedmiot4_STR1_DATA_EDIT", "ZMIENNA_Przedmiot4_STR1_DATA_EDIT"},
      {"ZMIENNA_PromocjaDoKlasy_DATA_EDIT", "ZMIENNA_PromDoKlasy_STR1_DATA_EDIT"},
      {"ZMIENNA_Miejscowosc_DATA_EDIT", "ZMIENNA_Miejscowosc_STR1_DATA_EDIT"},
      {"ZMIENNA_MiejscowoscDnia_DATA_EDIT", "ZMIENNA_MiejscowoscDnia_STR1_DATA_EDIT"},
      {"ZMIENNA_MiejscowoscRok_DATA_EDIT", "ZMIENNA_MiejscowoscRok_STR1_DATA_EDIT"},
      {"ZMIENNA_JObcy1_DATA_EDIT", "ZMIENNA_JObcyOpis1_STR2_DATA_EDIT"},
      {"ZMIENNA_JObcy2_DATA_EDIT", "ZMIENNA_JObcyOpis2_STR2_DATA_EDIT"},
      {"ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", "ZMIENNA_Dodatkowy1_STR2_DATA_EDIT"},
      {"ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", "ZMIENNA_Dodatkowy2_STR2_DATA_EDIT"},
      {"ZMIENNA_ObowiazkoweEdu3_DATA_EDIT", "ZMIENNA_Dodatkowy3_STR2_DATA_EDIT"},
      {"ZMIENNA_DodatkoweEdu1_DATA_EDIT", "ZMIENNA_DodEdukacyjne1_STR2_DATA_EDIT"},
      {"ZMIENNA_DodatkoweEdu2_DATA_EDIT", "ZMIENNA_DodEdukacyjne2_STR2_DATA_EDIT"},
      {"ZMIENNA_DodatkoweEdu3_DATA_EDIT", "ZMIENNA_DodEdukacyjne3_STR2_DATA_EDIT"},
      {"ZMIENNA_PrzedUz1_DATA_EDIT", "ZMIENNA_PrzedmiotyUzOpis1_STR2_DATA_EDIT"},
      {"ZMIENNA_PrzedUz2_DATA_EDIT", "ZMIENNA_PrzedmiotyUzOpis2_STR2_DATA_EDIT"},
      {"ZMIENNA_PrzedUz3_DATA_EDIT", "ZMIENNA_PrzedmiotyUzOpis3_STR2_DATA_EDIT"}};
  for (const auto& [edit, field] : pairs) dialog.edit(edit, "t " + edit);
  bool readable = true;
  int reloads = 0;
  TDocumentForm::TemplateDialog = [&dialog] { return static_cast<const TComponentRegistry*>(&dialog); };
  TDocumentForm::TemplateReload = [&](bool emptyFirst) {
    ++reloads;
    EXPECT_TRUE(emptyFirst);  // the certificates empty the dialog before the read
    return readable;
  };
  for (const char* cls : kCurrent) {
    SCOPED_TRACE(cls);
    TDocumentForm& f = form(cls);
    const bool leaving = std::string(cls).find("Koniec") != std::string::npos;
    f.vFunClearFormData();
    bFunSetText(f.findComponent("ZMIENNA_ChemiaOcn_STR2_DATA_COMBOBOX"), "dobry");
    qobject_cast<QPushButton*>(f.findComponent("LoadSchoolDataButton"))->click();
    int filled = 0;
    for (const auto& [edit, field] : pairs) {
      QObject* target = f.findComponent(field);
      EXPECT_EQ(target == nullptr, leaving && (field.find("Klasa_STR1") != std::string::npos ||
                                               field.find("PromDoKlasy") != std::string::npos))
          << field;
      if (!target) continue;
      EXPECT_EQ(text(f, field), "t " + edit);
      ++filled;
    }
    EXPECT_EQ(filled, leaving ? 28 : 30);
    EXPECT_EQ(text(f, "ZMIENNA_ChemiaOcn_STR2_DATA_COMBOBOX"), "dobry");  // nothing else changes

    // Take: every pair but the class goes back; the class stays as it was.
    for (const auto& [edit, field] : pairs)
      if (QObject* target = f.findComponent(field)) bFunSetText(target, "form " + field);
    bFunSetText(dialog.findComponent("ZMIENNA_Klasa_DATA_EDIT"), "template class");
    bFunSetText(dialog.findComponent("ZMIENNA_PromocjaDoKlasy_DATA_EDIT"), "template promotion");
    f.vFunSchoolDataToTemplate();
    for (const auto& [edit, field] : pairs) {
      const std::string got = cp1250ToUtf8(strFunGetText(dialog.findComponent(edit)));
      if (edit == "ZMIENNA_Klasa_DATA_EDIT") {
        EXPECT_EQ(got, "template class");
      } else if (edit == "ZMIENNA_PromocjaDoKlasy_DATA_EDIT" && leaving) {
        EXPECT_EQ(got, "template promotion");
      } else {
        EXPECT_EQ(got, "form " + field) << edit;
      }
    }
    for (const auto& [edit, field] : pairs) bFunSetText(dialog.findComponent(edit), "t " + edit);
  }
  EXPECT_EQ(reloads, 6);
  // A template that cannot be read leaves the form as it was.
  readable = false;
  TDocumentForm& f = form("TFKlasa1a");
  bFunSetText(f.findComponent("ZMIENNA_Tarvek1_STR1_DATA_EDIT"), "typed");
  f.LoadSchoolDataButtonClick();
  EXPECT_EQ(text(f, "ZMIENNA_Tarvek1_STR1_DATA_EDIT"), "typed");
}

TEST_F(CurrentCertificates, TheKeyboardGoesThroughASideInReadingOrderTheExtendedScopeLast) {
  TDocumentForm& f = form("TFKlasa1a");
  auto* first = qobject_cast<QWidget*>(f.findComponent("ZMIENNA_ZachowanieOcn_STR2_DATA_COMBOBOX"));
  Names order;
  QWidget* w = first;
  for (int i = 0; i < 3000 && w; ++i) {
    const std::string name = w->objectName().toStdString();
    if (isValueField(name) && name.find("_STR2_") != std::string::npos &&
        std::find(order.begin(), order.end(), name) == order.end())
      order.push_back(name);
    if (name == "ZMIENNA_ZakRoz18_STR2_DATA_EDIT") break;
    w = w->nextInFocusChain();
  }
  EXPECT_EQ(order.size(), 61u);
  // The eighteen extended-scope fields come after every other field of side 2.
  const auto firstScope = std::find_if(order.begin(), order.end(),
                                       [](const std::string& n) { return n.find("ZakRoz") != std::string::npos; });
  ASSERT_NE(firstScope, order.end());
  EXPECT_EQ(*firstScope, "ZMIENNA_ZakRoz1_STR2_DATA_EDIT");
  EXPECT_EQ(std::count_if(order.begin(), firstScope, [](const std::string& n) { return n.find("_STR2_") != std::string::npos; }),
            43);
  EXPECT_EQ(order[1], "ZMIENNA_ReligiaOcn_STR2_DATA_COMBOBOX");
  EXPECT_EQ(order[2], "ZMIENNA_JPolskiOcn_STR2_DATA_COMBOBOX");
}

TEST_F(CurrentCertificates, FixedTextsInCreationOrderWithTheirSizes) {
  struct Seen {
    std::string name, text;
    int height;
    bool bold;
    std::string family;
  };
  auto fixedTexts = [](const TDocumentForm& f) {
    std::vector<Seen> seen;
    for (int i = 0; i < f.ComponentCount(); ++i)
      if (auto* label = qobject_cast<QLabel*>(f.Components(i)); label && f.ComponentName(i).startsWith("STALY_"))
        seen.push_back({f.ComponentName(i).toStdString(), label->text().toStdString(), label->font().pixelSize(),
                        label->font().bold(), label->font().family().toStdString()});
    return seen;
  };
  const auto klasa1a = fixedTexts(form("TFKlasa1a"));
  ASSERT_EQ(klasa1a.size(), std::size(kKlasa1aTexts));
  for (std::size_t i = 0; i < klasa1a.size(); ++i) {
    SCOPED_TRACE(kKlasa1aTexts[i].name);
    EXPECT_EQ(klasa1a[i].name, kKlasa1aTexts[i].name);
    EXPECT_EQ(klasa1a[i].text, kKlasa1aTexts[i].text);
    EXPECT_EQ(klasa1a[i].height, kKlasa1aTexts[i].height);
    EXPECT_EQ(klasa1a[i].bold, kKlasa1aTexts[i].bold);
    EXPECT_EQ(klasa1a[i].family, "Times New Roman");
  }
  // The heights the twins give their own texts.
  struct Height {
    const char* cls;
    const char* name;
    int height;
  };
  for (const Height& h : {Height {"TFKonieca", "STALY_SwiadectwoSzkolne1_STR1_DATA_LABEL", 29},
                          Height {"TFKonieca", "STALY_SwiadectwoSzkolne2_STR1_DATA_LABEL", 29},
                          Height {"TFKonieca", "STALY_SwiadectwoJestDokumentem_STR1_DATA_LABEL", 13},
                          Height {"TFKonieca", "STALY_WychowawcaKlasy_STR2_DATA_LABEL", 13},
                          Height {"TFKoniecawyr", "STALY_SwiadectwoJestDokumentem_STR1_DATA_LABEL", 13},
                          Height {"TFKoniecawyr", "STALY_WychowawcaKlasy_STR2_DATA_LABEL", 16},
                          Height {"TFKoniecawyr", "STALY_ZWyrWRokuSzkolnym_STR1_DATA_LABEL", 16},
                          Height {"TFKlasa1awyr", "STALY_PromDoKlasy_STR1_DATA_LABEL", 16}}) {
    auto* label = qobject_cast<QLabel*>(form(h.cls).findComponent(h.name));
    ASSERT_NE(label, nullptr) << h.cls << " " << h.name;
    EXPECT_EQ(label->font().pixelSize(), h.height) << h.cls << " " << h.name;
  }
  // The school-leaving forms make their two title lines where the others make the one.
  Names leaving;
  for (const Seen& s : fixedTexts(form("TFKoniecawyr"))) leaving.push_back(s.name);
  ASSERT_GE(leaving.size(), 2u);
  EXPECT_EQ(leaving[0], "STALY_SwiadectwoSzkolne1_STR1_DATA_LABEL");
  EXPECT_EQ(leaving[1], "STALY_SwiadectwoSzkolne2_STR1_DATA_LABEL");
}

TEST_F(CurrentCertificates, EverySampleIsTheTextOfTheTable) {
  std::map<std::string, std::string> samples(std::begin(kKlasa1aSamples), std::end(kKlasa1aSamples));
  ASSERT_EQ(samples.size(), 90u);
  samples["ZMIENNA_UkonczylA_STR1_DATA_EDIT"] = samples.at("ZMIENNA_UczeszczalA_STR1_DATA_EDIT");
  for (const char* cls : kCurrent) {
    SCOPED_TRACE(cls);
    TDocumentForm& f = form(cls);
    f.vFunClearFormData();
    f.vFunFillSampleData();
    for (const std::string& name : fieldsOf(cls)) EXPECT_EQ(text(f, name), samples.at(name)) << name;
  }
}

TEST_F(CurrentCertificates, TheTemplatePairsAreCopiedInTheOrderOfTheTable) {
  for (const char* cls : kCurrent) {
    SCOPED_TRACE(cls);
    const TFormSpec& desc = *form(cls).Spec;
    const bool leaving = std::string(cls).find("Koniec") != std::string::npos;
    std::vector<std::tuple<std::string, std::string, bool, bool>> expected, got;
    for (const TemplatePair& p : kTemplatePairs) {
      const std::string field = p.field;
      if (leaving && (field == "ZMIENNA_Klasa_STR1_DATA_EDIT" || field == "ZMIENNA_PromDoKlasy_STR1_DATA_EDIT")) continue;
      expected.emplace_back(p.dialog, field, true, p.take == Take::All || (p.take == Take::Class && !leaving));
    }
    for (int i = 0; i < desc.templateCount; ++i) {
      const TTemplatePair& p = desc.templatePairs[i];
      got.emplace_back(p.dialogField, p.formField, p.fill, p.take);
    }
    EXPECT_EQ(got, expected);
  }
}

// Fixed texts keep clear of what lies beside them: "w roku szkolnym" ends
// before the first year's box, and the class teacher's line of side 2 ends
// inside the blank's frame (its inner edge 70 page units from the sheet's
// right edge).
TEST_F(CurrentCertificates, FixedTextsRunIntoNeitherABoxNorTheFrame) {
  constexpr double kFrameInnerEdge = 885.0 - 70.0;
  for (const char* cls : kCurrent) {
    SCOPED_TRACE(cls);
    TDocumentForm& f = form(cls);
    const auto* year = qobject_cast<QWidget*>(f.findComponent("ZMIENNA_RokSzkolny1_STR1_DATA_EDIT"));
    const auto* words = f.findComponentAs<QLabel>("STALY_WRokuSzkolnym_STR1_DATA_LABEL");
    if (!words) words = f.findComponentAs<QLabel>("STALY_ZWyrWRokuSzkolnym_STR1_DATA_LABEL");
    ASSERT_TRUE(year && words);
    EXPECT_LE(words->x() + words->fontMetrics().horizontalAdvance(words->text()) + 3, year->x()) << "touches the box";

    const auto* teacher = f.findComponentAs<QLabel>("STALY_WychowawcaKlasy_STR2_DATA_LABEL");
    ASSERT_NE(teacher, nullptr);
    const TSideSpec& side2 = f.Spec->sides[1];
    EXPECT_LE(teacher->x() + teacher->fontMetrics().horizontalAdvance(teacher->text()),
              kFrameInnerEdge * side2.width / 885.0)
        << teacher->text().toStdString();
  }
}
