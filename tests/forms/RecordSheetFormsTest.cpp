#include "forms/DocumentForm.h"
#include "forms/FormUnits.h"
#include "platform/Cp1250.h"
#include "toolkit/Components.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// The value fields of the title pages in creation order, with their samples.
const Pairs kMainFields = {
    {"ZMIENNA_SzkolaNiepublicznaProwadzonaPrzez_DATA_EDIT", "szkoła prowadzona przez"},
    {"ZMIENNA_UprawnieniaNadanePrzez1_DATA_EDIT", "uprawnienia nadane przez 1"},
    {"ZMIENNA_SzkolaNiepPodNr_DATA_EDIT", "12345"},
    {"ZMIENNA_NazwaSzkoly1_DATA_EDIT", "nazwa szkoły 1"},
    {"ZMIENNA_NazwaSzkoly2_DATA_EDIT", "nazwa szkoły 2"},
    {"ZMIENNA_NazwaSzkoly3_DATA_EDIT", "nazwa szkoły 3"},
    {"ZMIENNA_ImieNazwisko_DATA_EDIT", "imię i nazwisko"},
    {"ZMIENNA_UrodzonyA_DATA_EDIT", "y"},
    {"ZMIENNA_UrodzonyDnia_DATA_EDIT", "1 stycznia"},
    {"ZMIENNA_UrodzonyRok_DATA_EDIT", "1980"},
    {"ZMIENNA_UrodzonyMiasto_DATA_EDIT", "katowicach"},
    {"ZMIENNA_PrzyjetyA_DATA_EDIT", "a"},
    {"ZMIENNA_RokSzkolny1_DATA_EDIT", "2010"},
    {"ZMIENNA_RokSzkolny2_DATA_EDIT", "2011"},
    {"ZMIENNA_DoKlasyNaSemestr_DATA_EDIT", "pierwszej"},
    {"ZMIENNA_WpisanyA_DATA_EDIT", "y"},
    {"ZMIENNA_KsiegaUczenNr_DATA_EDIT", "12345"},
    {"ZMIENNA_AdresZamieszkaniaUcznia_DATA_EDIT", "adres zamieszkania"},
    {"ZMIENNA_ImionaNazwiskaRodzicowIAdresy1_DATA_EDIT", "imię, imiona, adresy zamieszkania 1"},
    {"ZMIENNA_ImionaNazwiskaRodzicowIAdresy2_DATA_EDIT", "imię, imiona, adresy zamieszkania 2"},
    {"ZMIENNA_ImionaNazwiskaRodzicowIAdresy3_DATA_EDIT", "imię, imiona, adresy zamieszkania 3"},
    {"ZMIENNA_InformacjaOIndywidualnymProgramie1_DATA_EDIT", "indywidualny program 1"},
    {"ZMIENNA_InformacjaOIndywidualnymProgramie2_DATA_EDIT", "indywidualny program 2"},
    {"ZMIENNA_InformacjaOWydluzeniuEtapu1_DATA_EDIT", "wydłużenie etapu 1"},
    {"ZMIENNA_InformacjaOWydluzeniuEtapu2_DATA_EDIT", "wydłużenie etapu 2"},
    {"ZMIENNA_InformacjaOInnowacjach1_DATA_EDIT", "innowacje 1"},
    {"ZMIENNA_InformacjaOInnowacjach2_DATA_EDIT", "innowacje 2"},
    {"ZMIENNA_DokonanoSprostowaniaSwiadectwa_DATA_EDIT", "sprostowanie"},
    {"ZMIENNA_WydanoSwiadectwoUkonczeniaSzkoly_DATA_EDIT", "wydano świadectwo ukończenia szkoły"},
    {"ZMIENNA_WydanoDuplikatSwiadectwa1_DATA_EDIT", "wydano duplikat 1"},
    {"ZMIENNA_WydanoDuplikatSwiadectwa2_DATA_EDIT", "wydano duplikat 2"},
    {"ZMIENNA_SporzadzonoOdpisArkuszaOcen_DATA_EDIT", "odpis arkusza"},
    {"ZMIENNA_DataPrzyczynaOpuszczeniaSzkoly1_DATA_EDIT", "przyczyna opuszczenia szkoły 1"},
    {"ZMIENNA_DataPrzyczynaOpuszczeniaSzkoly2_DATA_EDIT", "przyczyna opuszczenia szkoły 2"},
    {"ZMIENNA_UprawnieniaNadanePrzez2_DATA_EDIT", "uprawnienia nadane przez 2"},
    {"ZMIENNA_DecyzjaNr_DATA_EDIT", "12345"},
    {"ZMIENNA_DecyzjaZDnia_DATA_EDIT", "decyzja z dnia"},
    {"ZMIENNA_Pesel1_DATA_EDIT", "0"},
    {"ZMIENNA_Pesel2_DATA_EDIT", "1"},
    {"ZMIENNA_Pesel3_DATA_EDIT", "2"},
    {"ZMIENNA_Pesel4_DATA_EDIT", "3"},
    {"ZMIENNA_Pesel5_DATA_EDIT", "4"},
    {"ZMIENNA_Pesel6_DATA_EDIT", "5"},
    {"ZMIENNA_Pesel7_DATA_EDIT", "6"},
    {"ZMIENNA_Pesel8_DATA_EDIT", "7"},
    {"ZMIENNA_Pesel9_DATA_EDIT", "8"},
    {"ZMIENNA_Pesel10_DATA_EDIT", "9"},
    {"ZMIENNA_Pesel11_DATA_EDIT", "0"},
};
const Pairs kBFields = {
    {"ZMIENNA_SzkolaNiepublicznaProwadzonaPrzez_DATA_EDIT", "szkoła prowadzona przez"},
    {"ZMIENNA_UprawnieniaNadanePrzez1_DATA_EDIT", "uprawnienia nadane przez 1"},
    {"ZMIENNA_SzkolaNiepPodNr_DATA_EDIT", "12345"},
    {"ZMIENNA_NazwaSzkoly1_DATA_EDIT", "nazwa szkoły 1"},
    {"ZMIENNA_NazwaSzkoly2_DATA_EDIT", "nazwa szkoły 2"},
    {"ZMIENNA_NazwaSzkoly3_DATA_EDIT", "nazwa szkoły 3"},
    {"ZMIENNA_ImieNazwisko_DATA_EDIT", "imię i nazwisko"},
    {"ZMIENNA_UrodzonyA_DATA_EDIT", "y"},
    {"ZMIENNA_UrodzonyDnia_DATA_EDIT", "1 stycznia"},
    {"ZMIENNA_UrodzonyRok_DATA_EDIT", "1980"},
    {"ZMIENNA_UrodzonyMiasto_DATA_EDIT", "katowicach"},
    {"ZMIENNA_PrzyjetyA_DATA_EDIT", "a"},
    {"ZMIENNA_RokSzkolny1_DATA_EDIT", "2010"},
    {"ZMIENNA_RokSzkolny2_DATA_EDIT", "2011"},
    {"ZMIENNA_DoKlasy_DATA_EDIT", "pierwszej"},
    {"ZMIENNA_WpisanyA_DATA_EDIT", "y"},
    {"ZMIENNA_KsiegaUczenNr_DATA_EDIT", "12345"},
    {"ZMIENNA_AdresZamieszkaniaUcznia_DATA_EDIT", "adres zamieszkania"},
    {"ZMIENNA_ImionaNazwiskaRodzicowIAdresy1_DATA_EDIT", "imię, imiona, adresy zamieszkania 1"},
    {"ZMIENNA_ImionaNazwiskaRodzicowIAdresy2_DATA_EDIT", "imię, imiona, adresy zamieszkania 2"},
    {"ZMIENNA_ImionaNazwiskaRodzicowIAdresy3_DATA_EDIT", "imię, imiona, adresy zamieszkania 3"},
    {"ZMIENNA_InformacjaOIndywidualnymProgramie1_DATA_EDIT", "indywidualny program 1"},
    {"ZMIENNA_InformacjaOIndywidualnymProgramie2_DATA_EDIT", "indywidualny program 2"},
    {"ZMIENNA_InformacjaOWydluzeniuEtapu1_DATA_EDIT", "wydłużenie etapu 1"},
    {"ZMIENNA_InformacjaOWydluzeniuEtapu2_DATA_EDIT", "wydłużenie etapu 2"},
    {"ZMIENNA_InfoOSpelnianiuObowiazkuNaukiPozaSzkola1_DATA_EDIT", "info. o spełnieniu ob. poza szkołą 1"},
    {"ZMIENNA_InfoOSpelnianiuObowiazkuNaukiPozaSzkola2_DATA_EDIT", "info. o spełnieniu ob. poza szkołą 2"},
    {"ZMIENNA_DokonanoSprostowaniaSwiadectwa_DATA_EDIT", "sprostowanie"},
    {"ZMIENNA_WydanoSwiadectwoUkonczeniaSzkoly_DATA_EDIT", "wydano świadectwo ukończenia szkoły"},
    {"ZMIENNA_WydanoDuplikatSwiadectwa1_DATA_EDIT", "wydano duplikat 1"},
    {"ZMIENNA_WydanoDuplikatSwiadectwa2_DATA_EDIT", "wydano duplikat 2"},
    {"ZMIENNA_SporzadzonoOdpisArkuszaOcen_DATA_EDIT", "odpis arkusza"},
    {"ZMIENNA_DataPrzyczynaOpuszczeniaSzkoly1_DATA_EDIT", "przyczyna opuszczenia szkoły 1"},
    {"ZMIENNA_DataPrzyczynaOpuszczeniaSzkoly2_DATA_EDIT", "przyczyna opuszczenia szkoły 2"},
    {"ZMIENNA_UprawnieniaNadanePrzez2_DATA_EDIT", "uprawnienia nadane przez 2"},
    {"ZMIENNA_DecyzjaNr_DATA_EDIT", "12345"},
    {"ZMIENNA_DecyzjaZDnia_DATA_EDIT", "decyzja z dnia"},
    {"ZMIENNA_Pesel1_DATA_EDIT", "0"},
    {"ZMIENNA_Pesel2_DATA_EDIT", "1"},
    {"ZMIENNA_Pesel3_DATA_EDIT", "2"},
    {"ZMIENNA_Pesel4_DATA_EDIT", "3"},
    {"ZMIENNA_Pesel5_DATA_EDIT", "4"},
    {"ZMIENNA_Pesel6_DATA_EDIT", "5"},
    {"ZMIENNA_Pesel7_DATA_EDIT", "6"},
    {"ZMIENNA_Pesel8_DATA_EDIT", "7"},
    {"ZMIENNA_Pesel9_DATA_EDIT", "8"},
    {"ZMIENNA_Pesel10_DATA_EDIT", "9"},
    {"ZMIENNA_Pesel11_DATA_EDIT", "0"},
    {"ZMIENNA_InfoOInnowacjach1_DATA_EDIT", "innowacje 1"},
    {"ZMIENNA_InfoOInnowacjach2_DATA_EDIT", "innowacje 2"},
};
// Their fixed texts in creation order (names and captions).
const Pairs kMainLabels = {
    {"STALY_DataPodpisDyrSzkoly1_DATA_LABEL", "(data i podpis dyrektora szkoły)"},
    {"STALY_DataPrzyczynaOpuszczeniaSzkoly_DATA_LABEL", "Data i przyczyna opuszczenia szkoły"},
    {"STALY_DataPodpisDyrSzkoly_DATA_LABEL", "(data i podpis dyrektora szkoły)"},
    {"STALY_SporzadzonoOdpisArkuszaOcen_DATA_LABEL", "Sporządzono odpis arkusza ocen"},
    {"STALY_DataTozsamoscOsobyOdbierajacejDuplikat_DATA_LABEL", "(data, tożsamość osoby odbierającej duplikat i oznaczenie dokumentu tożsamości oraz podpis dyrektora szkoły)"},
    {"STALY_WydanoDuplikatSwiadectwa_DATA_LABEL", "Wydano duplikat świadectwa"},
    {"STALY_DataIPodpisWychowawcyKlasy_DATA_LABEL", "(data i podpis wychowawcy klasy / opiekuna klasy)"},
    {"STALY_WydanoSwiadectwoUkonczeniaSzkoly_DATA_LABEL", "Wydano świadectwo ukończenia szkoły"},
    {"STALY_DataIPodpisDyrSzkoly_DATA_LABEL", "(data i podpis dyrektora szkoły)"},
    {"STALY_DokonanoSprostowaniaSwiadectwa_DATA_LABEL", "Dokonano sprostowania świadectwa szkolnego promocyjnego / indeksu"},
    {"STALY_InformacjaOInnowacjach_DATA_LABEL", "Informacja o innowacjach lub eksperymentach"},
    {"STALY_InformacjaOWydluzeniuEtapu_DATA_LABEL", "Informacja o wydłużeniu etapu edukacyjnego"},
    {"STALY_InformacjaOIndywidualnymProgramie_DATA_LABEL", "Informacja o indywidualnym programie lub toku nauki"},
    {"STALY_PieczecPodpisDyrektora_DATA_LABEL", "(pieczęć i podpis dyrektora szkoły)"},
    {"STALY_SkalaOcen1_DATA_LABEL", "Skala ocen:"},
    {"STALY_SkalaOcen2_DATA_LABEL", "1) zachowanie: wzorowe, bardzo dobre, dobre, poprawne,"},
    {"STALY_SkalaOcen4_DATA_LABEL", "2) zajęcia edukacyjne, religia/etyka: celujący, bardzo dobry,"},
    {"STALY_ImionaNazwiskaRodzicowIAdresy_DATA_LABEL", "Imiona i nazwiska rodziców i adresy ich zamieszkania"},
    {"STALY_AdresZamieszkaniaUcznia_DATA_LABEL", "Adres zamieszkania ucznia / słuchacza"},
    {"STALY_DoKsiegiUczniow_DATA_LABEL", "do księgi uczniów / słuchaczy pod numerem"},
    {"STALY_WpisanyA_DATA_LABEL", "Wpisan"},
    {"STALY_DoKlasyNaSemestr_DATA_LABEL", "do klasy / na semestr"},
    {"STALY_numerPESEL_DATA_LABEL", "numer PESEL"},
    {"STALY_Przyjety_DATA_LABEL", "Przyjęt"},
    {"STALY_WRokuSzkolnym_DATA_LABEL", "w roku szkolnym"},
    {"STALY_RokSzkolnySlash_DATA_LABEL", "/"},
    {"STALY_Urodzony_DATA_LABEL", "Urodzon"},
    {"STALY_UrDnia_DATA_LABEL", "dnia"},
    {"STALY_UrRok_DATA_LABEL", "r."},
    {"STALY_UrW_DATA_LABEL", "w"},
    {"STALY_ImieNazwisko_DATA_LABEL", "imię (imiona) i nazwisko"},
    {"STALY_NazwaSzkoly_DATA_LABEL", "(nazwa szkoły)"},
    {"STALY_WypelniaSzkolaNiepubliczna_DATA_LABEL", "(wypełnia szkoła niepubliczna)"},
    {"STALY_SzkolaNiepWpisanaPodNr_DATA_LABEL", "pod nr"},
    {"STALY_SzkolaJestWpisanaDoEwidencji_DATA_LABEL", "Szkoła jest wpisana do ewidencji szkół niepublicznych prowadzonej przez"},
    {"STALY_ArkuszOcen_DATA_LABEL", "ARKUSZ OCEN"},
    {"STALY_UczniaSluchacza_DATA_LABEL", "UCZNIA / SŁUCHACZA"},
    {"STALY_PieczecPodlSzkoly_DATA_LABEL", "(pieczęć podłużna szkoły)"},
    {"STALY_TarvekOgolno1_DATA_LABEL", "TARVEK OGÓLNOKSZTAŁCĄCEGO"},
    {"STALY_IUzupelniajacego_DATA_LABEL", "I UZUPEŁNIAJĄCEGO"},
    {"STALY_TarvekOgolno2_DATA_LABEL", "TARVEK OGÓLNOKSZTAŁCĄCEGO"},
    {"STALY_SzkolaPosiadaUprawnieniaSzkolyPub_DATA_LABEL", ". Szkoła posiada uprawnienia szkoły publicznej"},
    {"STALY_NadanePrzez_DATA_LABEL", "nadane przez"},
    {"STALY_DecyzjaNr_DATA_LABEL", "decyzją nr"},
    {"STALY_DecyzjaZDnia_DATA_LABEL", "z dnia"},
    {"STALY_MENiS_DATA_LABEL", "MEN-I/42/2"},
    {"STALY_Strona1_DATA_LABEL", "str. 1"},
    {"STALY_SkalaOcen3_DATA_LABEL", "nieodpowiednie, naganne;"},
    {"STALY_SkalaOcen5_DATA_LABEL", "dobry, dostateczny, dopuszczający, niedostateczny."},
};
const Pairs kBLabels = {
    {"STALY_DataPodpisDyrSzkoly1_DATA_LABEL", "(data i podpis dyrektora szkoły)"},
    {"STALY_DataPrzyczynaOpuszczeniaSzkoly_DATA_LABEL", "Data i przyczyna opuszczenia szkoły"},
    {"STALY_DataPodpisDyrSzkoly_DATA_LABEL", "(data i podpis dyrektora szkoły)"},
    {"STALY_SporzadzonoOdpisArkuszaOcen_DATA_LABEL", "Sporządzono odpis arkusza ocen"},
    {"STALY_DataTozsamoscOsobyOdbierajacejDuplikat_DATA_LABEL", "(data, tożsamość osoby odbierającej duplikat i oznaczenie dokumentu tożsamości oraz podpis dyrektora szkoły)"},
    {"STALY_WydanoDuplikatSwiadectwa_DATA_LABEL", "Wydano duplikat świadectwa"},
    {"STALY_DataIPodpisWychowawcyKlasy_DATA_LABEL", "(data i podpis wychowawcy klasy)"},
    {"STALY_WydanoSwiadectwoUkonczeniaSzkoly_DATA_LABEL", "Wydano świadectwo ukończenia szkoły"},
    {"STALY_DataIPodpisDyrSzkoly_DATA_LABEL", "(data i podpis dyrektora szkoły)"},
    {"STALY_DokonanoSprostowaniaSwiadectwa_DATA_LABEL", "Dokonano sprostowania świadectwa szkolnego promocyjnego"},
    {"STALY_InfoOSpelnianiuObowiazkuNaukiPozaSzkola_DATA_LABEL", "Informacja o spełnianiu obowiązku nauki poza szkołą"},
    {"STALY_InformacjaOWydluzeniuEtapu_DATA_LABEL", "Informacja o przedłużeniu okresu nauki"},
    {"STALY_InformacjaOIndywidualnymProgramie_DATA_LABEL", "Informacja o indywidualnym programie lub toku nauki"},
    {"STALY_PieczecPodpisDyrektora_DATA_LABEL", "(pieczęć i podpis dyrektora szkoły)"},
    {"STALY_SkalaOcen1_DATA_LABEL", "Skala ocen:"},
    {"STALY_SkalaOcen2_DATA_LABEL", "1) zachowanie: wzorowe, bardzo dobre, dobre, poprawne,"},
    {"STALY_SkalaOcen4_DATA_LABEL", "2) zajęcia edukacyjne, religia/etyka: celujący, bardzo dobry,"},
    {"STALY_ImionaNazwiskaRodzicowIAdresy_DATA_LABEL", "Imiona i nazwiska rodziców i adresy ich zamieszkania"},
    {"STALY_AdresZamieszkaniaUcznia_DATA_LABEL", "Adres zamieszkania ucznia"},
    {"STALY_DoKsiegiUczniow_DATA_LABEL", "do księgi uczniów pod numerem"},
    {"STALY_WpisanyA_DATA_LABEL", "Wpisan"},
    {"STALY_DoKlasy_DATA_LABEL", "do klasy"},
    {"STALY_numerPESEL_DATA_LABEL", "numer PESEL"},
    {"STALY_Przyjety_DATA_LABEL", "Przyjęt"},
    {"STALY_WRokuSzkolnym_DATA_LABEL", "w roku szkolnym"},
    {"STALY_RokSzkolnySlash_DATA_LABEL", "/"},
    {"STALY_Urodzony_DATA_LABEL", "Urodzon"},
    {"STALY_UrDnia_DATA_LABEL", "dnia"},
    {"STALY_UrRok_DATA_LABEL", "r."},
    {"STALY_UrW_DATA_LABEL", "w"},
    {"STALY_ImieNazwisko_DATA_LABEL", "imię (imiona) i nazwisko"},
    {"STALY_NazwaSzkoly_DATA_LABEL", "(nazwa szkoły)"},
    {"STALY_WypelniaSzkolaNiepubliczna_DATA_LABEL", "(wypełnia szkoła niepubliczna)"},
    {"STALY_SzkolaNiepWpisanaPodNr_DATA_LABEL", "pod nr"},
    {"STALY_SzkolaJestWpisanaDoEwidencji_DATA_LABEL", "Szkoła jest wpisana do ewidencji szkół niepublicznych prowadzonej przez"},
    {"STALY_ArkuszOcenTytul1_DATA_LABEL", "ARKUSZ OCEN UCZNIA"},
    {"STALY_PieczecPodlSzkoly_DATA_LABEL", "(pieczęć podłużna szkoły)"},
    {"STALY_ArkuszOcenTytul2_DATA_LABEL", "TARVEK OGÓLNOKSZTAŁCĄCEGO"},
    {"STALY_SzkolaPosiadaUprawnieniaSzkolyPub_DATA_LABEL", ". Szkoła posiada uprawnienia szkoły publicznej"},
    {"STALY_NadanePrzez_DATA_LABEL", "nadane przez"},
    {"STALY_DecyzjaNr_DATA_LABEL", "decyzją nr"},
    {"STALY_DecyzjaZDnia_DATA_LABEL", "z dnia"},
    {"STALY_MENiS_DATA_LABEL", "MEN-I/42b/2"},
    {"STALY_Strona1_DATA_LABEL", "str. 1"},
    {"STALY_SkalaOcen3_DATA_LABEL", "nieodpowiednie, naganne;"},
    {"STALY_SkalaOcen5_DATA_LABEL", "dobry, dostateczny, dopuszczający, niedostateczny."},
    {"STALY_InfoOInnowacjach_DATA_LABEL", "Informacja o innowacjach lub eksperymentach"},
};
// The meeting sheet: value fields in creation order with their typing limits.
const std::vector<std::pair<std::string, int>> kSheetFields = {
    {"ZMIENNA_ImieNazwisko_DATA_EDIT", 50},
    {"ZMIENNA_Klasa_DATA_EDIT", 12},
    {"ZMIENNA_RokSzkolny1_DATA_EDIT", 4},
    {"ZMIENNA_RokSzkolny2_DATA_EDIT", 4},
    {"ZMIENNA_JezykOpis1_DATA_EDIT", 32},
    {"ZMIENNA_Dodatkowy1_DATA_EDIT", 38},
    {"ZMIENNA_JPolskiOcn_DATA_EDIT", 42},
    {"ZMIENNA_HistoriaOcn_DATA_EDIT", 42},
    {"ZMIENNA_WosOcn_DATA_EDIT", 42},
    {"ZMIENNA_JezykOcn1_DATA_EDIT", 42},
    {"ZMIENNA_MatematykaOcn_DATA_EDIT", 42},
    {"ZMIENNA_FizykaOcn_DATA_EDIT", 42},
    {"ZMIENNA_ChemiaOcn_DATA_EDIT", 42},
    {"ZMIENNA_BiologiaOcn_DATA_EDIT", 42},
    {"ZMIENNA_GeografiaOcn_DATA_EDIT", 42},
    {"ZMIENNA_PodstPrzedOcn_DATA_EDIT", 42},
    {"ZMIENNA_InformatykaOcn_DATA_EDIT", 42},
    {"ZMIENNA_WfOcn_DATA_EDIT", 42},
    {"ZMIENNA_EduDlaBezpOcn_DATA_EDIT", 42},
    {"ZMIENNA_DodatkowyOcn1_DATA_EDIT", 42},
    {"ZMIENNA_Dodatkowy2_DATA_EDIT", 38},
    {"ZMIENNA_Semestr_DATA_COMBOBOX", 20},
    {"ZMIENNA_JezykOpis2_DATA_EDIT", 32},
    {"ZMIENNA_JezykOcn2_DATA_EDIT", 42},
    {"ZMIENNA_WokOcn_DATA_EDIT", 42},
    {"ZMIENNA_DodatkowyOcn2_DATA_EDIT", 42},
    {"ZMIENNA_Dodatkowy3_DATA_EDIT", 38},
    {"ZMIENNA_DodatkowyOcn3_DATA_EDIT", 42},
    {"ZMIENNA_Dodatkowy4_DATA_EDIT", 38},
    {"ZMIENNA_DodatkowyOcn4_DATA_EDIT", 42},
    {"ZMIENNA_Dodatkowy5_DATA_EDIT", 38},
    {"ZMIENNA_DodatkowyOcn5_DATA_EDIT", 42},
    {"ZMIENNA_ZachowanieOcn_DATA_EDIT", 42},
    {"ZMIENNA_ReligiaOcn_DATA_EDIT", 42},
    {"ZMIENNA_GodzOpuszczoneOgolem_DATA_EDIT", 42},
    {"ZMIENNA_GodzOpuszczoneNieusp_DATA_EDIT", 42},
    {"ZMIENNA_Spoznien_DATA_EDIT", 42},
};
// Its fixed texts, row by row.
const Pairs kSheetLabels = {
    {"STALY_ImieNazwisko_DATA_LABEL", "Imię i nazwisko:"},
    {"STALY_Klasa_DATA_LABEL", "klasa:"},
    {"STALY_RokSzkolny_DATA_LABEL", "rok szkolny"},
    {"STALY_RokSzkolnySlash_DATA_LABEL", "/"},
    {"STALY_Semestr_DATA_LABEL", "semestr"},
    {"STALY_Zachowanie_DATA_LABEL", "zachowanie"},
    {"STALY_Religia_DATA_LABEL", "religia / etyka"},
    {"STALY_JPolski_DATA_LABEL", "język polski"},
    {"STALY_Jezyk1_DATA_LABEL", "język"},
    {"STALY_Jezyk2_DATA_LABEL", "język"},
    {"STALY_Wok_DATA_LABEL", "wiedza o kulturze"},
    {"STALY_Historia_DATA_LABEL", "historia"},
    {"STALY_Wos_DATA_LABEL", "wiedza o społeczeństwie"},
    {"STALY_PodstPrzed_DATA_LABEL", "podstawy przedsiębiorczości"},
    {"STALY_Geografia_DATA_LABEL", "geografia"},
    {"STALY_Biologia_DATA_LABEL", "biologia"},
    {"STALY_Chemia_DATA_LABEL", "chemia"},
    {"STALY_Fizyka_DATA_LABEL", "fizyka"},
    {"STALY_Matematyka_DATA_LABEL", "matematyka"},
    {"STALY_Informatyka_DATA_LABEL", "informatyka"},
    {"STALY_Wf_DATA_LABEL", "wychowanie fizyczne"},
    {"STALY_EduDlaBezp_DATA_LABEL", "edukacja dla bezpieczeństwa"},
    {"STALY_GodzOpuszczone_DATA_LABEL", "godziny opuszczone:"},
    {"STALY_GodzOpuszczOgolem_DATA_LABEL", "- ogółem"},
    {"STALY_GodzOpuszczNieusp_DATA_LABEL", "- w tym nieusprawiedliwione"},
    {"STALY_Spoznien_DATA_LABEL", "liczba spóźnień"},
};

// The fields the forms read of the student-data dialog and of the
// school-template dialog, as named edits of stand-in windows.
const TDocumentIdentity kStandIn {"TFStandIn", "FStandIn", "StandInUnit", "STAND IN", dkKlasaI, "", false, "CancelButton"};

struct StandIn {
  TDocumentForm form {kStandIn, nullptr};
  explicit StandIn(const std::vector<std::string>& edits, const std::vector<std::string>& combos = {}) {
    for (const std::string& name : edits) form.Make<QLineEdit>(QString::fromStdString(name), &form);
    for (const std::string& name : combos) form.Make<QComboBox>(QString::fromStdString(name), &form)->setEditable(true);
  }
  void set(const std::string& name, const std::string& utf8) { bFunSetText(form.findComponent(name), cp1250FromUtf8(utf8)); }
  std::string get(const std::string& name) const { return cp1250ToUtf8(strFunGetText(form.findComponent(name))); }
};

const std::vector<std::string> kSchoolBlock = {
    "ZMIENNA_NazwaSzkoly1_DATA_EDIT",        "ZMIENNA_NazwaSzkoly2_DATA_EDIT",        "ZMIENNA_NazwaSzkoly3_DATA_EDIT",
    "ZMIENNA_SzkolaNiepubliczna1_DATA_EDIT", "ZMIENNA_SzkolaNiepubliczna2_DATA_EDIT", "ZMIENNA_SzkolaNiepubliczna3_DATA_EDIT",
    "ZMIENNA_SzkolaNiepubliczna4_DATA_EDIT", "ZMIENNA_SzkolaNiepubliczna5_DATA_EDIT", "ZMIENNA_SzkolaNiepubliczna6_DATA_EDIT"};
// Template field -> title-page field.
const Pairs kTitleTemplate = {
    {"ZMIENNA_NazwaSzkoly1_DATA_EDIT", "ZMIENNA_NazwaSzkoly1_DATA_EDIT"},
    {"ZMIENNA_NazwaSzkoly2_DATA_EDIT", "ZMIENNA_NazwaSzkoly2_DATA_EDIT"},
    {"ZMIENNA_NazwaSzkoly3_DATA_EDIT", "ZMIENNA_NazwaSzkoly3_DATA_EDIT"},
    {"ZMIENNA_SzkolaNiepubliczna1_DATA_EDIT", "ZMIENNA_SzkolaNiepublicznaProwadzonaPrzez_DATA_EDIT"},
    {"ZMIENNA_SzkolaNiepubliczna2_DATA_EDIT", "ZMIENNA_SzkolaNiepPodNr_DATA_EDIT"},
    {"ZMIENNA_SzkolaNiepubliczna3_DATA_EDIT", "ZMIENNA_UprawnieniaNadanePrzez1_DATA_EDIT"},
    {"ZMIENNA_SzkolaNiepubliczna4_DATA_EDIT", "ZMIENNA_UprawnieniaNadanePrzez2_DATA_EDIT"},
    {"ZMIENNA_SzkolaNiepubliczna5_DATA_EDIT", "ZMIENNA_DecyzjaNr_DATA_EDIT"},
    {"ZMIENNA_SzkolaNiepubliczna6_DATA_EDIT", "ZMIENNA_DecyzjaZDnia_DATA_EDIT"},
};
// Template field -> meeting-sheet field.
const Pairs kSheetTemplate = {
    {"ZMIENNA_Klasa_DATA_EDIT", "ZMIENNA_Klasa_DATA_EDIT"},
    {"ZMIENNA_RokSzkolny1_DATA_EDIT", "ZMIENNA_RokSzkolny1_DATA_EDIT"},
    {"ZMIENNA_RokSzkolny2_DATA_EDIT", "ZMIENNA_RokSzkolny2_DATA_EDIT"},
    {"ZMIENNA_JObcy1_DATA_EDIT", "ZMIENNA_JezykOpis1_DATA_EDIT"},
    {"ZMIENNA_JObcy2_DATA_EDIT", "ZMIENNA_JezykOpis2_DATA_EDIT"},
    {"ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", "ZMIENNA_Dodatkowy1_DATA_EDIT"},
    {"ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", "ZMIENNA_Dodatkowy2_DATA_EDIT"},
    {"ZMIENNA_ObowiazkoweEdu3_DATA_EDIT", "ZMIENNA_Dodatkowy3_DATA_EDIT"},
};

std::vector<std::string> templateEdits() {
  std::vector<std::string> edits = kSchoolBlock;
  for (const auto& [dialog, field] : kSheetTemplate) edits.push_back(dialog);
  edits.push_back("ZMIENNA_ObowiazkoweEdu4_DATA_EDIT");
  return edits;
}

class RecordSheetForms : public ::testing::Test {
 protected:
  StandIn student {{"Imie_DATA_EDIT", "Nazwisko_DATA_EDIT", "UrodzonyDnia_DATA_EDIT", "NrDziennika_DATA_EDIT", "NrPesel_DATA_EDIT"},
                   {"UrodzonyRok_DATA_COMBOBOX", "UrodzonyMiasto_DATA_COMBOBOX", "Plec_DATA_COMBOBOX"}};
  StandIn schoolTemplate {templateEdits()};
  int reloads = 0;
  std::vector<bool> emptiedFirst;  // of each read of the template
  TFArkuszStr1 main;
  TFArkuszStr1b b;
  TFWywiadowka sheet;

  void SetUp() override {
    TDocumentForm::StudentData = [this] { return static_cast<const TComponentRegistry*>(&student.form); };
    TDocumentForm::TemplateDialog = [this] { return static_cast<const TComponentRegistry*>(&schoolTemplate.form); };
    TDocumentForm::TemplateReload = [this](bool emptyFirst) {
      ++reloads;
      emptiedFirst.push_back(emptyFirst);
      return true;
    };
  }
  void TearDown() override {
    TDocumentForm::StudentData = nullptr;
    TDocumentForm::TemplateDialog = nullptr;
    TDocumentForm::TemplateReload = nullptr;
  }
  void setStudent(const std::string& first, const std::string& last, const std::string& sex, const std::string& pesel) {
    student.set("Imie_DATA_EDIT", first);
    student.set("Nazwisko_DATA_EDIT", last);
    student.set("Plec_DATA_COMBOBOX", sex);
    student.set("NrPesel_DATA_EDIT", pesel);
    student.set("UrodzonyDnia_DATA_EDIT", "3 maja");
    student.set("UrodzonyRok_DATA_COMBOBOX", "2001 r.");
    student.set("UrodzonyMiasto_DATA_COMBOBOX", "Gdańsk");
  }
};

std::string text(const TDocumentForm& form, const std::string& name) {
  QObject* c = form.findComponent(name);
  EXPECT_NE(c, nullptr) << name;
  return c ? cp1250ToUtf8(strFunGetText(c)) : std::string();
}

void setText(const TDocumentForm& form, const std::string& name, const std::string& utf8) {
  QObject* c = form.findComponent(name);
  ASSERT_NE(c, nullptr) << name;
  bFunSetText(c, cp1250FromUtf8(utf8));
}

std::vector<TDataRecord> rowsOf(TDocumentForm& form) {
  std::vector<TDataRecord> rows;
  form.vFunFormDataToList(rows);
  return rows;
}

TDataRecord row(const std::string& tag, const std::string& name, const std::string& utf8) {
  TDataRecord r;
  r.id = tag;
  r.comp_name = name;
  r.value = cp1250FromUtf8(utf8);
  return r;
}

// Name -> value (UTF-8) of the rows of one tag.
std::map<std::string, std::string> valuesOf(const std::vector<TDataRecord>& rows) {
  std::map<std::string, std::string> values;
  for (const TDataRecord& r : rows) values[r.comp_name.str()] = cp1250ToUtf8(r.value.str());
  return values;
}

// The fixed texts of a form in creation order, with the captions it shows.
Pairs labelsOf(const TDocumentForm& form) {
  Pairs labels;
  for (int i = 0; i < form.Spec->componentCount; ++i) {
    const TComponentSpec& c = form.Spec->components[i];
    if (c.kind != TSpecKind::Label) continue;
    const auto* label = form.findComponentAs<QLabel>(c.name);
    labels.emplace_back(c.name, label ? label->text().toStdString() : std::string("(none)"));
  }
  return labels;
}

// Types count letters into a field as the user would.
std::size_t typed(QLineEdit* edit, int count) {
  edit->clear();
  for (int i = 0; i < count; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(edit, &press);
  }
  return static_cast<std::size_t>(edit->text().size());
}

std::string peselBox(int k) { return "ZMIENNA_Pesel" + std::to_string(k) + "_DATA_EDIT"; }

}  // namespace

TEST_F(RecordSheetForms, TheTitlePagesSaveTheirFieldsInCreationOrderWithTheirTags) {
  const std::pair<TDocumentForm*, const Pairs*> pages[] = {{&main, &kMainFields}, {&b, &kBFields}};
  for (const auto& [page, fields] : pages) {
    const std::vector<TDataRecord> rows = rowsOf(*page);
    ASSERT_EQ(rows.size(), fields->size()) << page->Identity.className;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].id.str(), page->Identity.tag);
      EXPECT_EQ(rows[i].comp_name.str(), (*fields)[i].first) << "row " << i + 1;
      // Single-line edits without a typing limit.
      auto* edit = page->findComponentAs<QLineEdit>((*fields)[i].first);
      ASSERT_NE(edit, nullptr) << (*fields)[i].first;
      if (edit->isEnabled()) {
        EXPECT_EQ(typed(edit, 120), 120u) << (*fields)[i].first;
      }
    }
  }
  EXPECT_EQ(rowsOf(main).size(), 48u);
  EXPECT_EQ(rowsOf(b).size(), 50u);
  EXPECT_STREQ(main.Identity.tag, "ARKUSZ OCEN STR 1 TARVEK");
  EXPECT_STREQ(b.Identity.tag, "ARKUSZ OCEN STR 1b TARVEK");
}

TEST_F(RecordSheetForms, TheTitlePagesShowTheirFixedTextsAndRowsOfDots) {
  EXPECT_EQ(labelsOf(main), kMainLabels);
  EXPECT_EQ(labelsOf(b), kBLabels);
  for (TDocumentForm* page : {static_cast<TDocumentForm*>(&main), static_cast<TDocumentForm*>(&b)}) {
    EXPECT_NE(page->findComponent("Label16"), nullptr);
    EXPECT_NE(page->findComponent("Label42"), nullptr);
    const auto* italic = page->findComponentAs<QLabel>("STALY_WypelniaSzkolaNiepubliczna_DATA_LABEL");
    ASSERT_NE(italic, nullptr);
    EXPECT_TRUE(italic->font().italic());
    EXPECT_FALSE(page->findComponentAs<QLabel>("STALY_NadanePrzez_DATA_LABEL")->font().italic());
    EXPECT_EQ(page->findComponentAs<QLabel>("STALY_NadanePrzez_DATA_LABEL")->font().pixelSize(), 11);
  }
}

TEST_F(RecordSheetForms, TheTitlePagesFixedTextsHaveTheBlanksSizes) {
  // Font heights in pixels other than the labels' 11; the titles are bold.
  const std::map<std::string, int> sizes = {
      {"STALY_DataPodpisDyrSzkoly1_DATA_LABEL", 9},
      {"STALY_DataPodpisDyrSzkoly_DATA_LABEL", 9},
      {"STALY_DataTozsamoscOsobyOdbierajacejDuplikat_DATA_LABEL", 9},
      {"STALY_DataIPodpisWychowawcyKlasy_DATA_LABEL", 9},
      {"STALY_DataIPodpisDyrSzkoly_DATA_LABEL", 9},
      {"STALY_PieczecPodpisDyrektora_DATA_LABEL", 9},
      {"STALY_SkalaOcen1_DATA_LABEL", 9},
      {"STALY_SkalaOcen2_DATA_LABEL", 9},
      {"STALY_SkalaOcen3_DATA_LABEL", 9},
      {"STALY_SkalaOcen4_DATA_LABEL", 9},
      {"STALY_SkalaOcen5_DATA_LABEL", 9},
      {"STALY_ImieNazwisko_DATA_LABEL", 9},
      {"STALY_NazwaSzkoly_DATA_LABEL", 9},
      {"STALY_WypelniaSzkolaNiepubliczna_DATA_LABEL", 9},
      {"STALY_PieczecPodlSzkoly_DATA_LABEL", 9},
      {"STALY_MENiS_DATA_LABEL", 13},
      {"STALY_Strona1_DATA_LABEL", 13},
      {"STALY_ArkuszOcen_DATA_LABEL", 16},
      {"STALY_UczniaSluchacza_DATA_LABEL", 16},
      {"STALY_TarvekOgolno1_DATA_LABEL", 16},
      {"STALY_IUzupelniajacego_DATA_LABEL", 16},
      {"STALY_TarvekOgolno2_DATA_LABEL", 16},
      {"STALY_ArkuszOcenTytul1_DATA_LABEL", 16},
      {"STALY_ArkuszOcenTytul2_DATA_LABEL", 16},
  };
  for (TDocumentForm* page : {static_cast<TDocumentForm*>(&main), static_cast<TDocumentForm*>(&b)}) {
    for (const auto& [name, caption] : labelsOf(*page)) {
      const auto* label = page->findComponentAs<QLabel>(name);
      ASSERT_NE(label, nullptr) << name;
      const auto size = sizes.find(name);
      const int want = size == sizes.end() ? 11 : size->second;
      EXPECT_EQ(label->font().pixelSize(), want) << page->Identity.className << " " << name;
      EXPECT_EQ(label->font().bold(), want == 16) << page->Identity.className << " " << name;
      EXPECT_EQ(label->font().family().toStdString(), "Arial") << name;
    }
  }
}

TEST_F(RecordSheetForms, TheTitlePagesFixedTextsStandWhereTheBlankHasThem) {
  // Left and top in pixels of the page's picture; b page where it differs.
  struct Place {
    const char* name;
    int left, top;
    int leftB, topB;  // -1: as on the main page; 0, 0: not on the page
  };
  const Place places[] = {
      // "numer PESEL" a few pixels left of the blank's 23, so that its
      // words end before the first PESEL box at 88.
      {"STALY_numerPESEL_DATA_LABEL", 18, 319, -1, -1},
      {"STALY_Urodzony_DATA_LABEL", 17, 293, 23, 293},
      {"STALY_UrDnia_DATA_LABEL", 77, 293, 85, 293},
      {"STALY_Przyjety_DATA_LABEL", 360, 320, -1, -1},
      {"STALY_WRokuSzkolnym_DATA_LABEL", 416, 320, -1, -1},
      {"STALY_WpisanyA_DATA_LABEL", 302, 347, 23, 379},
      {"STALY_SzkolaJestWpisanaDoEwidencji_DATA_LABEL", 33, 119, -1, -1},
      {"STALY_InformacjaOInnowacjach_DATA_LABEL", 22, 721, 0, 0},
      {"STALY_InfoOSpelnianiuObowiazkuNaukiPozaSzkola_DATA_LABEL", 0, 0, 22, 721},
      {"STALY_InfoOInnowacjach_DATA_LABEL", 0, 0, 22, 771},
      {"STALY_MENiS_DATA_LABEL", 26, 1120, -1, -1},
  };
  for (const Place& p : places) {
    const std::pair<TDocumentForm*, QPoint> pages[] = {
        {&main, QPoint(p.left, p.top)},
        {&b, p.leftB < 0 ? QPoint(p.left, p.top) : QPoint(p.leftB, p.topB)}};
    for (const auto& [page, at] : pages) {
      const auto* label = page->findComponentAs<QLabel>(p.name);
      if (at.isNull()) {
        EXPECT_EQ(label, nullptr) << page->Identity.className << " " << p.name;
        continue;
      }
      ASSERT_NE(label, nullptr) << page->Identity.className << " " << p.name;
      EXPECT_EQ(label->pos(), at) << page->Identity.className << " " << p.name;
    }
  }
}

// The keyboard's way through a title page, pressing Tab from the first field
// as the user does: the entry of a non-public school, the school's names,
// then the page from the top down; the b page's innovation lines last.
TEST_F(RecordSheetForms, TabGoesThroughTheSchoolBlockFirstThenDownThePage) {
  const std::vector<std::string> block = {
      "ZMIENNA_SzkolaNiepublicznaProwadzonaPrzez_DATA_EDIT", "ZMIENNA_SzkolaNiepPodNr_DATA_EDIT",
      "ZMIENNA_UprawnieniaNadanePrzez1_DATA_EDIT",           "ZMIENNA_UprawnieniaNadanePrzez2_DATA_EDIT",
      "ZMIENNA_DecyzjaNr_DATA_EDIT",                         "ZMIENNA_DecyzjaZDnia_DATA_EDIT",
      "ZMIENNA_NazwaSzkoly1_DATA_EDIT",                      "ZMIENNA_NazwaSzkoly2_DATA_EDIT",
      "ZMIENNA_NazwaSzkoly3_DATA_EDIT",                      "ZMIENNA_UrodzonyMiasto_DATA_EDIT",
      "ZMIENNA_RokSzkolny1_DATA_EDIT",                       "ZMIENNA_RokSzkolny2_DATA_EDIT"};
  const std::vector<std::string> lower = {
      "ZMIENNA_DokonanoSprostowaniaSwiadectwa_DATA_EDIT", "ZMIENNA_WydanoSwiadectwoUkonczeniaSzkoly_DATA_EDIT",
      "ZMIENNA_WydanoDuplikatSwiadectwa1_DATA_EDIT",      "ZMIENNA_WydanoDuplikatSwiadectwa2_DATA_EDIT",
      "ZMIENNA_SporzadzonoOdpisArkuszaOcen_DATA_EDIT",    "ZMIENNA_DataPrzyczynaOpuszczeniaSzkoly1_DATA_EDIT",
      "ZMIENNA_DataPrzyczynaOpuszczeniaSzkoly2_DATA_EDIT"};
  auto join = [](std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const std::vector<std::string> middle = {
      "ZMIENNA_KsiegaUczenNr_DATA_EDIT", "ZMIENNA_AdresZamieszkaniaUcznia_DATA_EDIT",
      "ZMIENNA_ImionaNazwiskaRodzicowIAdresy1_DATA_EDIT", "ZMIENNA_ImionaNazwiskaRodzicowIAdresy2_DATA_EDIT",
      "ZMIENNA_ImionaNazwiskaRodzicowIAdresy3_DATA_EDIT", "ZMIENNA_InformacjaOIndywidualnymProgramie1_DATA_EDIT",
      "ZMIENNA_InformacjaOIndywidualnymProgramie2_DATA_EDIT", "ZMIENNA_InformacjaOWydluzeniuEtapu1_DATA_EDIT",
      "ZMIENNA_InformacjaOWydluzeniuEtapu2_DATA_EDIT"};
  const std::vector<std::string> wantMain =
      join({block, {"ZMIENNA_DoKlasyNaSemestr_DATA_EDIT"}, middle,
            {"ZMIENNA_InformacjaOInnowacjach1_DATA_EDIT", "ZMIENNA_InformacjaOInnowacjach2_DATA_EDIT"}, lower});
  const std::vector<std::string> wantB =
      join({block, {"ZMIENNA_DoKlasy_DATA_EDIT"}, middle,
            {"ZMIENNA_InfoOSpelnianiuObowiazkuNaukiPozaSzkola1_DATA_EDIT",
             "ZMIENNA_InfoOSpelnianiuObowiazkuNaukiPozaSzkola2_DATA_EDIT"},
            lower, {"ZMIENNA_InfoOInnowacjach1_DATA_EDIT", "ZMIENNA_InfoOInnowacjach2_DATA_EDIT"}});
  const std::pair<TDocumentForm*, const std::vector<std::string>*> pages[] = {{&main, &wantMain}, {&b, &wantB}};
  for (const auto& [page, want] : pages) {
    page->show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page));
    auto* first = page->findComponentAs<QLineEdit>(want->front());
    ASSERT_NE(first, nullptr);
    first->setFocus(Qt::OtherFocusReason);
    std::vector<std::string> seen;
    for (int i = 0; i < 200; ++i) {
      QWidget* focused = QApplication::focusWidget();
      ASSERT_NE(focused, nullptr);
      const std::string name = focused->objectName().toStdString();
      if (name.find("_DATA_EDIT") != std::string::npos) {
        if (!seen.empty() && name == seen.front()) break;
        seen.push_back(name);
      }
      QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(seen, *want) << page->Identity.className;
    page->hide();
  }
}

TEST_F(RecordSheetForms, TheTitlePagesWindowsAndButtons) {
  EXPECT_EQ(main.windowTitle().toStdString(), "MEN-I/42/2 Arkusz ocen str. 1");
  EXPECT_EQ(b.windowTitle().toStdString(), "MEN-I/42b/2 Arkusz ocen str. 1");
  for (TDocumentForm* page : {static_cast<TDocumentForm*>(&main), static_cast<TDocumentForm*>(&b)}) {
    EXPECT_EQ(page->Spec->show, TShowRule::Sheet);
    EXPECT_EQ(page->Spec->width, 780);
    EXPECT_EQ(page->Spec->height, 708);
    ASSERT_EQ(page->Spec->sideCount, 1);
    EXPECT_STREQ(page->Spec->sides[0].picture, "blanki/arkusz_str1_strona.jpg");
    EXPECT_EQ(page->Spec->sides[0].width, 760);
    EXPECT_EQ(page->Spec->sides[0].height, 1169);
    const auto* load = page->findComponentAs<QPushButton>("WczytajSzablonButton");
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->text().toStdString(), "Wczytaj szablon arkusza");
    EXPECT_NE(page->findComponent("OKButton"), nullptr);
    EXPECT_NE(page->findComponent("BitBtn1"), nullptr);
  }
  EXPECT_EQ(sheet.windowTitle().toStdString(), "Wykaz ocen");
  EXPECT_EQ(sheet.Spec->show, TShowRule::None);
  EXPECT_EQ(sheet.Spec->width, 448);
  EXPECT_EQ(sheet.Spec->height, 663);
  EXPECT_NE(sheet.findComponent("AnulujButton"), nullptr);
  EXPECT_EQ(sheet.findComponentAs<QPushButton>("SzablonButton")->text().toStdString(), "Wczytaj dane z szablonu");
}

// The meeting sheet's picture is stretched over the whole client area, and
// its buttons lie on it at the bottom.
TEST_F(RecordSheetForms, TheMeetingSheetsPictureFillsTheWindowWithTheButtonsOnIt) {
  sheet.show();
  EXPECT_EQ(sheet.size(), QSize(448, 663));
  auto* picture = sheet.findComponentAs<QWidget>("Image1");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(QRect(picture->mapTo(&sheet, QPoint(0, 0)), picture->size()), sheet.rect());
  EXPECT_EQ(sheet.findComponent("ScrollBox1"), nullptr);
  for (const char* name : {"SzablonButton", "OKButton", "AnulujButton"}) {
    auto* button = sheet.findComponentAs<QPushButton>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_TRUE(picture->parentWidget()->isAncestorOf(button)) << name;
    const QRect place(button->mapTo(&sheet, QPoint(0, 0)), button->size());
    EXPECT_TRUE(sheet.rect().contains(place)) << name;
    EXPECT_GE(place.top(), 663 - 41) << name;
  }
  // Every field lies on the picture above the buttons.
  for (const auto& [name, limit] : kSheetFields) {
    auto* field = sheet.findComponentAs<QWidget>(name);
    ASSERT_NE(field, nullptr) << name;
    EXPECT_LE(field->mapTo(&sheet, QPoint(0, field->height())).y(), 663 - 41) << name;
  }
  sheet.hide();
}

TEST_F(RecordSheetForms, AFreshTitlePageHoldsNothingForTheTemplate) {
  // Nothing typed, loaded or sampled yet: the template takes empty texts.
  for (const std::string& edit : kSchoolBlock) schoolTemplate.set(edit, "kept?");
  TFArkuszStr1 fresh;
  for (const auto& [name, sample] : kMainFields) EXPECT_EQ(text(fresh, name), "") << name;
  fresh.vFunSchoolDataToTemplate();
  for (const std::string& edit : kSchoolBlock) EXPECT_EQ(schoolTemplate.get(edit), "") << edit;
}

TEST_F(RecordSheetForms, ThePeselBoxesTakeTheCharactersTheNumberHas) {
  struct Case {
    std::string pesel;
    std::string boxes;  // box k shows boxes[k-1]; '_' for an empty box
  };
  const Case cases[] = {
      {"85010112345", "85010112345"},
      {"850101123", "850101123__"},
      {"", "___________"},
      {"8501011234567", "85010112345"},
  };
  for (const Case& c : cases) {
    setStudent("Jan", "Nowak", "mężczyzna", c.pesel);
    for (TDocumentForm* page : {static_cast<TDocumentForm*>(&main), static_cast<TDocumentForm*>(&b)}) {
      // Stored rows of the boxes never show.
      page->vFunFormDataFromList({row(page->Identity.tag, peselBox(10), "X"), row(page->Identity.tag, peselBox(11), "Y")});
      for (int k = 1; k <= 11; ++k) {
        const char want = c.boxes[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(text(*page, peselBox(k)), want == '_' ? "" : std::string(1, want))
            << page->Identity.className << " PESEL \"" << c.pesel << "\" box " << k;
      }
    }
  }
}

TEST_F(RecordSheetForms, TheEndingsFollowTheSexWrittenExactly) {
  const std::pair<std::string, std::string> cases[] = {
      {"mężczyzna", "y"}, {"kobieta", "a"}, {"", "a"}, {"Mężczyzna", "a"}};
  for (const auto& [sex, ending] : cases) {
    setStudent("Anna", "Lis", sex, "1");
    for (TDocumentForm* page : {static_cast<TDocumentForm*>(&main), static_cast<TDocumentForm*>(&b)}) {
      page->vFunFormDataFromList({});
      for (const char* field : {"ZMIENNA_UrodzonyA_DATA_EDIT", "ZMIENNA_PrzyjetyA_DATA_EDIT", "ZMIENNA_WpisanyA_DATA_EDIT"})
        EXPECT_EQ(text(*page, field), ending) << page->Identity.className << " \"" << sex << "\" " << field;
    }
  }
}

TEST_F(RecordSheetForms, LoadingPutsTheStudentsDataOverTheStoredRows) {
  setStudent("Jan", "", "mężczyzna", "85010112345");
  const std::string tag = b.Identity.tag;
  b.vFunFormDataFromList({row(tag, "ZMIENNA_ImieNazwisko_DATA_EDIT", "stored name"),
                          row(tag, "ZMIENNA_UrodzonyDnia_DATA_EDIT", "stored day"),
                          row(tag, "ZMIENNA_UrodzonyRok_DATA_EDIT", "1900"),
                          row(tag, "ZMIENNA_DoKlasy_DATA_EDIT", "drugiej")});
  EXPECT_EQ(text(b, "ZMIENNA_ImieNazwisko_DATA_EDIT"), "Jan ");  // the blank stays
  EXPECT_EQ(text(b, "ZMIENNA_UrodzonyDnia_DATA_EDIT"), "3 maja");
  EXPECT_EQ(text(b, "ZMIENNA_UrodzonyRok_DATA_EDIT"), "2001 r.");
  EXPECT_EQ(text(b, "ZMIENNA_UrodzonyMiasto_DATA_EDIT"), "Gdańsk");
  EXPECT_EQ(text(b, "ZMIENNA_DoKlasy_DATA_EDIT"), "drugiej");
  // The personal fields are read-only on screen; the birth town is typed.
  EXPECT_FALSE(b.findComponentAs<QLineEdit>("ZMIENNA_ImieNazwisko_DATA_EDIT")->isEnabled());
  EXPECT_FALSE(b.findComponentAs<QLineEdit>(peselBox(1))->isEnabled());
  EXPECT_TRUE(b.findComponentAs<QLineEdit>("ZMIENNA_UrodzonyMiasto_DATA_EDIT")->isEnabled());
}

TEST_F(RecordSheetForms, AStoredBirthTownWinsOverTheDialogs) {
  setStudent("Ewa", "Kot", "kobieta", "1");
  const std::string tag = main.Identity.tag;
  main.vFunFormDataFromList({row(tag, "ZMIENNA_UrodzonyMiasto_DATA_EDIT", "Kraków")});
  EXPECT_EQ(text(main, "ZMIENNA_UrodzonyMiasto_DATA_EDIT"), "Kraków");
  main.vFunFormDataFromList({row(tag, "ZMIENNA_UrodzonyMiasto_DATA_EDIT", "")});
  EXPECT_EQ(text(main, "ZMIENNA_UrodzonyMiasto_DATA_EDIT"), "Gdańsk");
  main.vFunFormDataFromList({});
  EXPECT_EQ(text(main, "ZMIENNA_UrodzonyMiasto_DATA_EDIT"), "Gdańsk");
}

TEST_F(RecordSheetForms, EachTitlePageTakesOnlyItsOwnRows) {
  setStudent("Ewa", "Kot", "kobieta", "1");
  const std::vector<TDataRecord> rows = {
      row("ARKUSZ OCEN STR 1 TARVEK", "ZMIENNA_DoKlasyNaSemestr_DATA_EDIT", "main class"),
      row("ARKUSZ OCEN STR 1 TARVEK", "ZMIENNA_KsiegaUczenNr_DATA_EDIT", "main number"),
      row("ARKUSZ OCEN STR 1b TARVEK", "ZMIENNA_DoKlasyNaSemestr_DATA_EDIT", "not on the b page"),
      row("ARKUSZ OCEN STR 1b TARVEK", "ZMIENNA_KsiegaUczenNr_DATA_EDIT", "b number"),
  };
  main.vFunFormDataFromList(rows);
  b.vFunFormDataFromList(rows);
  EXPECT_EQ(text(main, "ZMIENNA_DoKlasyNaSemestr_DATA_EDIT"), "main class");
  EXPECT_EQ(text(main, "ZMIENNA_KsiegaUczenNr_DATA_EDIT"), "main number");
  EXPECT_EQ(b.findComponent("ZMIENNA_DoKlasyNaSemestr_DATA_EDIT"), nullptr);
  EXPECT_EQ(text(b, "ZMIENNA_DoKlasy_DATA_EDIT"), "");
  EXPECT_EQ(text(b, "ZMIENNA_KsiegaUczenNr_DATA_EDIT"), "b number");
}

TEST_F(RecordSheetForms, TheSamplesClearFirstAndFillEveryField) {
  const std::pair<TDocumentForm*, const Pairs*> pages[] = {{&main, &kMainFields}, {&b, &kBFields}};
  for (const auto& [page, fields] : pages) {
    for (const auto& [name, sample] : *fields) setText(*page, name, "before");
    page->vFunFillSampleData();
    for (const auto& [name, sample] : *fields) EXPECT_EQ(text(*page, name), sample) << page->Identity.className << " " << name;
  }
  sheet.vFunFillSampleData();
  const std::map<std::string, std::string> special = {
      {"ZMIENNA_ImieNazwisko_DATA_EDIT", "imię i nazwisko"}, {"ZMIENNA_Klasa_DATA_EDIT", "klasa"},
      {"ZMIENNA_RokSzkolny1_DATA_EDIT", "rok1"},          {"ZMIENNA_RokSzkolny2_DATA_EDIT", "rok2"},
      {"ZMIENNA_JezykOpis1_DATA_EDIT", "angielski"},      {"ZMIENNA_JezykOpis2_DATA_EDIT", "niemiecki"},
      {"ZMIENNA_Dodatkowy1_DATA_EDIT", "dodatkowy1"},     {"ZMIENNA_Dodatkowy2_DATA_EDIT", "dodatkowy2"},
      {"ZMIENNA_Dodatkowy3_DATA_EDIT", "dodatkowy3"},     {"ZMIENNA_Dodatkowy4_DATA_EDIT", "dodatkowy4"},
      {"ZMIENNA_Dodatkowy5_DATA_EDIT", "dodatkowy5"},     {"ZMIENNA_Semestr_DATA_COMBOBOX", "pierwszy"},
      {"ZMIENNA_ZachowanieOcn_DATA_EDIT", "dobre"},       {"ZMIENNA_GodzOpuszczoneOgolem_DATA_EDIT", "1"},
      {"ZMIENNA_GodzOpuszczoneNieusp_DATA_EDIT", "2"},    {"ZMIENNA_Spoznien_DATA_EDIT", "3"},
  };
  int grades = 0;
  for (const auto& [name, limit] : kSheetFields) {
    const auto it = special.find(name);
    if (it == special.end()) ++grades;
    EXPECT_EQ(text(sheet, name), it == special.end() ? "dobry" : it->second) << name;
  }
  EXPECT_EQ(grades, 21);
}

TEST_F(RecordSheetForms, TheTemplateButtonFillsTheSchoolBlockAndTheTakeGivesItBack) {
  for (const auto& [dialog, field] : kTitleTemplate) schoolTemplate.set(dialog, "szablon " + field);
  schoolTemplate.set("ZMIENNA_SzkolaNiepubliczna6_DATA_EDIT", "");  // an empty template field empties the page's
  schoolTemplate.set("ZMIENNA_RokSzkolny1_DATA_EDIT", "1999");
  for (TDocumentForm* page : {static_cast<TDocumentForm*>(&main), static_cast<TDocumentForm*>(&b)}) {
    page->vFunFillSampleData();
    reloads = 0;
    emptiedFirst.clear();
    page->findComponentAs<QPushButton>("WczytajSzablonButton")->click();
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(emptiedFirst, std::vector<bool> {true});  // the dialog is emptied before the read
    for (const auto& [dialog, field] : kTitleTemplate)
      EXPECT_EQ(text(*page, field), dialog == "ZMIENNA_SzkolaNiepubliczna6_DATA_EDIT" ? "" : "szablon " + field)
          << page->Identity.className << " " << field;
    EXPECT_EQ(text(*page, "ZMIENNA_RokSzkolny1_DATA_EDIT"), "2010");  // never from the template
    EXPECT_EQ(text(*page, "ZMIENNA_ImieNazwisko_DATA_EDIT"), "imię i nazwisko");
  }

  // The b page back into the template: its nine fields, empty ones too.
  for (const auto& [dialog, field] : kTitleTemplate) setText(b, field, "strona " + dialog);
  setText(b, "ZMIENNA_NazwaSzkoly3_DATA_EDIT", "");
  schoolTemplate.set("ZMIENNA_ObowiazkoweEdu4_DATA_EDIT", "other");
  b.vFunSchoolDataToTemplate();
  for (const auto& [dialog, field] : kTitleTemplate)
    EXPECT_EQ(schoolTemplate.get(dialog), dialog == "ZMIENNA_NazwaSzkoly3_DATA_EDIT" ? "" : "strona " + dialog) << dialog;
  EXPECT_EQ(schoolTemplate.get("ZMIENNA_RokSzkolny1_DATA_EDIT"), "1999");
  EXPECT_EQ(schoolTemplate.get("ZMIENNA_ObowiazkoweEdu4_DATA_EDIT"), "other");
}

TEST_F(RecordSheetForms, TheMeetingSheetsTemplateButtonFillsEightFieldsAndTakesNothingBack) {
  sheet.vFunFillSampleData();
  for (const auto& [dialog, field] : kSheetTemplate) schoolTemplate.set(dialog, "szablon " + dialog);
  schoolTemplate.set("ZMIENNA_JObcy2_DATA_EDIT", "");
  schoolTemplate.set("ZMIENNA_ObowiazkoweEdu4_DATA_EDIT", "not copied");
  sheet.findComponentAs<QPushButton>("SzablonButton")->click();
  EXPECT_EQ(reloads, 1);
  EXPECT_EQ(emptiedFirst, std::vector<bool> {false});  // read over what the dialog holds
  for (const auto& [dialog, field] : kSheetTemplate)
    EXPECT_EQ(text(sheet, field), dialog == "ZMIENNA_JObcy2_DATA_EDIT" ? "" : "szablon " + dialog) << field;
  EXPECT_EQ(text(sheet, "ZMIENNA_Dodatkowy4_DATA_EDIT"), "dodatkowy4");
  EXPECT_EQ(text(sheet, "ZMIENNA_Dodatkowy5_DATA_EDIT"), "dodatkowy5");

  setText(sheet, "ZMIENNA_Klasa_DATA_EDIT", "3c");
  sheet.vFunSchoolDataToTemplate();
  EXPECT_EQ(schoolTemplate.get("ZMIENNA_Klasa_DATA_EDIT"), "szablon ZMIENNA_Klasa_DATA_EDIT");
}

TEST_F(RecordSheetForms, TheMeetingSheetSavesItsFieldsInCreationOrderWithTheirLimits) {
  const std::vector<TDataRecord> rows = rowsOf(sheet);
  ASSERT_EQ(rows.size(), kSheetFields.size());
  ASSERT_EQ(rows.size(), 37u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].id.str(), "WYWIADOWKA TARVEK");
    EXPECT_EQ(rows[i].comp_name.str(), kSheetFields[i].first) << "row " << i + 1;
    QObject* c = sheet.findComponent(kSheetFields[i].first);
    const QLineEdit* edit = qobject_cast<QLineEdit*>(c);
    if (const auto* combo = qobject_cast<QComboBox*>(c)) {
      EXPECT_TRUE(combo->isEditable());
      ASSERT_EQ(combo->count(), 2);
      EXPECT_EQ(combo->itemText(0).toStdString(), "pierwszy");
      EXPECT_EQ(combo->itemText(1).toStdString(), "drugi");
      edit = combo->lineEdit();
    }
    ASSERT_NE(edit, nullptr) << kSheetFields[i].first;
    if (edit->isEnabled()) {
      EXPECT_EQ(typed(const_cast<QLineEdit*>(edit), 80), static_cast<std::size_t>(kSheetFields[i].second))
          << kSheetFields[i].first;
    }
  }
  EXPECT_EQ(rows[21].comp_name.str(), "ZMIENNA_Semestr_DATA_COMBOBOX");
  EXPECT_EQ(rows[32].comp_name.str(), "ZMIENNA_ZachowanieOcn_DATA_EDIT");
  EXPECT_FALSE(sheet.findComponentAs<QLineEdit>("ZMIENNA_ImieNazwisko_DATA_EDIT")->isEnabled());
  EXPECT_EQ(labelsOf(sheet), kSheetLabels);
}

TEST_F(RecordSheetForms, TheMeetingSheetCopiesOnlyTheName) {
  setStudent("", "Nowak", "kobieta", "85010112345");
  sheet.vFunFormDataFromList({row("WYWIADOWKA TARVEK", "ZMIENNA_ImieNazwisko_DATA_EDIT", "stored"),
                              row("WYWIADOWKA TARVEK", "ZMIENNA_Semestr_DATA_COMBOBOX", "trzeci"),
                              row("WYWIADOWKA TARVEK", "ZMIENNA_Nieznane_DATA_EDIT", "skipped"),
                              row("ARKUSZ OCEN STR 1 TARVEK", "ZMIENNA_Klasa_DATA_EDIT", "not mine")});
  EXPECT_EQ(text(sheet, "ZMIENNA_ImieNazwisko_DATA_EDIT"), " Nowak");
  EXPECT_EQ(text(sheet, "ZMIENNA_Semestr_DATA_COMBOBOX"), "trzeci");  // a typed term stays as typed
  EXPECT_EQ(text(sheet, "ZMIENNA_Klasa_DATA_EDIT"), "");
}

TEST_F(RecordSheetForms, SavedRowsComeBackOnTheNextLoad) {
  setStudent("Jan", "Nowak", "mężczyzna", "85010112345");
  for (TDocumentForm* form : {static_cast<TDocumentForm*>(&main), static_cast<TDocumentForm*>(&b),
                              static_cast<TDocumentForm*>(&sheet)}) {
    form->vFunFillSampleData();
    setText(*form, "ZMIENNA_RokSzkolny1_DATA_EDIT", "Zażółć");
    const std::vector<TDataRecord> saved = rowsOf(*form);
    form->vFunClearFormData();
    for (const auto& [name, value] : valuesOf(rowsOf(*form))) EXPECT_EQ(value, "") << name;
    form->vFunFormDataFromList(saved);
    const std::map<std::string, std::string> before = valuesOf(saved), after = valuesOf(rowsOf(*form));
    ASSERT_EQ(after.size(), before.size());
    // What was typed comes back; what the student-data dialog gives is its own.
    std::map<std::string, std::string> personal = {{"ZMIENNA_ImieNazwisko_DATA_EDIT", "Jan Nowak"}};
    if (form != &sheet) {
      personal.insert({{"ZMIENNA_UrodzonyA_DATA_EDIT", "y"}, {"ZMIENNA_PrzyjetyA_DATA_EDIT", "y"},
                       {"ZMIENNA_WpisanyA_DATA_EDIT", "y"}, {"ZMIENNA_UrodzonyDnia_DATA_EDIT", "3 maja"},
                       {"ZMIENNA_UrodzonyRok_DATA_EDIT", "2001 r."}});
      for (int k = 1; k <= 11; ++k) personal[peselBox(k)] = std::string(1, "85010112345"[k - 1]);
    }
    for (const auto& [name, value] : after) {
      const auto own = personal.find(name);
      EXPECT_EQ(value, own == personal.end() ? before.at(name) : own->second) << form->Identity.className << " " << name;
    }
    EXPECT_EQ(after.at("ZMIENNA_RokSzkolny1_DATA_EDIT"), "Zażółć");
  }
}
