#pragma once
// The names under which C++ code finds components of the document forms and
// of the two dialogs the forms copy from. The generator of the forms' tables
// (assets/tools/mkforms) reads the same lists, so a description that lacks
// a name the code looks up, or names a dialog field that does not exist,
// stops the build. Plain data: no Qt.

namespace names {

// ---- The student-data dialog (app/DaneUczniaUnit): its value fields ----
inline constexpr const char kImie[] = "Imie_DATA_EDIT";
inline constexpr const char kNazwisko[] = "Nazwisko_DATA_EDIT";
inline constexpr const char kUrodzonyDnia[] = "UrodzonyDnia_DATA_EDIT";
inline constexpr const char kUrodzonyRok[] = "UrodzonyRok_DATA_COMBOBOX";
inline constexpr const char kUrodzonyMiasto[] = "UrodzonyMiasto_DATA_COMBOBOX";
inline constexpr const char kUrodzonyWoj[] = "UrodzonyWoj_DATA_COMBOBOX";
inline constexpr const char kPlec[] = "Plec_DATA_COMBOBOX";
inline constexpr const char kNrDziennika[] = "NrDziennika_DATA_EDIT";
inline constexpr const char kNrPesel[] = "NrPesel_DATA_EDIT";
// Every field a form's "personal" statement may take.
inline constexpr const char* kStudentDataFields[] = {kImie,           kNazwisko,    kUrodzonyDnia,
                                                     kUrodzonyRok,    kUrodzonyMiasto, kUrodzonyWoj,
                                                     kPlec,           kNrDziennika, kNrPesel};

// ---- The school-template dialog (app/DaneSzkoly): its 39 edits ----
enum TSchoolTab { Tab1, Tab2 };
// In the order the dialog makes them (the order of the stored rows), with
// their typing limits (0: none) and their places on the pictures: the first
// tab in page units of a certificate's side 1 (885 x 1314), the second in
// units of the title page (760 x 1169). Left, right, top, bottom.
struct TSchoolEdit {
  const char* name;
  int limit;
  TSchoolTab tab;
  double x1, x2, y1, y2;
};
inline constexpr TSchoolEdit kSchoolEdits[] = {
    {"ZMIENNA_SzkolaWoj_DATA_EDIT", 32, Tab1, 530, 775, 420, 450},
    {"ZMIENNA_SzkolaWE_DATA_EDIT", 30, Tab1, 110, 145, 420, 450},
    {"ZMIENNA_SzkolaMiasto_DATA_EDIT", 30, Tab1, 150, 470, 420, 450},
    {"ZMIENNA_RokSzkolny2_DATA_EDIT", 4, Tab1, 683, 743, 752, 782},
    {"ZMIENNA_RokSzkolny1_DATA_EDIT", 4, Tab1, 610, 670, 752, 782},
    {"ZMIENNA_PrzedUz3_DATA_EDIT", 40, Tab1, 559, 775, 614, 644},
    {"ZMIENNA_PrzedUz2_DATA_EDIT", 40, Tab1, 335, 551, 614, 644},
    {"ZMIENNA_PrzedUz1_DATA_EDIT", 40, Tab1, 110, 327, 614, 644},
    {"ZMIENNA_Przedmiot4_STR1_DATA_EDIT", 31, Tab1, 445, 775, 888, 918},
    {"ZMIENNA_Przedmiot3_STR1_DATA_EDIT", 32, Tab1, 110, 440, 888, 918},
    {"ZMIENNA_Przedmiot2_STR1_DATA_EDIT", 31, Tab1, 445, 775, 855, 885},
    {"ZMIENNA_Przedmiot1_STR1_DATA_EDIT", 32, Tab1, 110, 440, 855, 885},
    {"ZMIENNA_PromocjaDoKlasy_DATA_EDIT", 32, Tab1, 390, 700, 948, 978},
    {"ZMIENNA_ObowiazkoweEdu3_DATA_EDIT", 40, Tab1, 559, 775, 494, 524},
    {"ZMIENNA_ObowiazkoweEdu2_DATA_EDIT", 40, Tab1, 335, 551, 494, 524},
    {"ZMIENNA_ObowiazkoweEdu1_DATA_EDIT", 40, Tab1, 110, 327, 494, 524},
    {"ZMIENNA_NrTarvek_DATA_EDIT", 57, Tab1, 705, 775, 302, 332},
    {"ZMIENNA_MiejscowoscRok_DATA_EDIT", 4, Tab1, 580, 640, 1010, 1040},
    {"ZMIENNA_MiejscowoscDnia_DATA_EDIT", 20, Tab1, 400, 570, 1010, 1040},
    {"ZMIENNA_Miejscowosc_DATA_EDIT", 34, Tab1, 110, 345, 1010, 1040},
    {"ZMIENNA_TarvekImienia2_DATA_EDIT", 57, Tab1, 110, 775, 380, 410},
    {"ZMIENNA_TarvekImienia1_DATA_EDIT", 57, Tab1, 110, 775, 345, 375},
    {"ZMIENNA_Tarvek2_DATA_EDIT", 72, Tab1, 110, 670, 302, 332},
    {"ZMIENNA_Tarvek1_DATA_EDIT", 64, Tab1, 110, 775, 250, 280},
    {"ZMIENNA_Klasa_DATA_EDIT", 18, Tab1, 200, 440, 790, 820},
    {"ZMIENNA_JObcy2_DATA_EDIT", 35, Tab1, 500, 775, 675, 705},
    {"ZMIENNA_JObcy1_DATA_EDIT", 35, Tab1, 155, 430, 675, 705},
    {"ZMIENNA_DodatkoweEdu3_DATA_EDIT", 40, Tab1, 559, 775, 554, 584},
    {"ZMIENNA_DodatkoweEdu2_DATA_EDIT", 40, Tab1, 335, 551, 554, 584},
    {"ZMIENNA_DodatkoweEdu1_DATA_EDIT", 40, Tab1, 110, 327, 554, 584},
    {"ZMIENNA_SzkolaNiepubliczna3_DATA_EDIT", 0, Tab2, 40, 720, 695, 735},
    {"ZMIENNA_SzkolaNiepubliczna2_DATA_EDIT", 0, Tab2, 125, 420, 565, 605},
    {"ZMIENNA_NazwaSzkoly1_DATA_EDIT", 0, Tab2, 70, 690, 125, 165},
    {"ZMIENNA_NazwaSzkoly2_DATA_EDIT", 0, Tab2, 70, 690, 185, 225},
    {"ZMIENNA_NazwaSzkoly3_DATA_EDIT", 0, Tab2, 70, 690, 245, 285},
    {"ZMIENNA_SzkolaNiepubliczna1_DATA_EDIT", 0, Tab2, 40, 720, 505, 545},
    {"ZMIENNA_SzkolaNiepubliczna4_DATA_EDIT", 0, Tab2, 40, 720, 750, 790},
    {"ZMIENNA_SzkolaNiepubliczna5_DATA_EDIT", 0, Tab2, 165, 420, 810, 850},
    {"ZMIENNA_SzkolaNiepubliczna6_DATA_EDIT", 0, Tab2, 515, 720, 810, 850},
};
inline constexpr const char kRokSzkolny1[] = "ZMIENNA_RokSzkolny1_DATA_EDIT";
inline constexpr const char kRokSzkolny2[] = "ZMIENNA_RokSzkolny2_DATA_EDIT";

// ---- The panels of the document forms ----
// A certificate's button that fills the form from the school template;
// under these names on the certificates, the title pages and the meeting sheet.
inline constexpr const char* kSchoolDataButtons[] = {"LoadSchoolDataButton", "WczytajSzablonButton", "SzablonButton"};
// A record-sheet class page's components, by their names on the pages of
// either edition.
inline constexpr const char* kClearButtons[] = {"WyczyscDaneButton", "BitBtn2"};
inline constexpr const char* kLoadButtons[] = {"WczytajDaneZSwiadectwaButton", "LoadDataToSeetButton", "BitBtn1"};
inline constexpr const char* kColumnPrintLists[] = {"KolumnaDrukComboBox", "ColumnPrintComboBox"};
inline constexpr const char kColumnPrintButton[] = "DrukujWybranaKolumneButton";
inline constexpr const char* kSourceLists[] = {"SwiadectwoComboBox", "CertTypeComboBox"};
inline constexpr const char* kColumnLists[] = {"KolumnaComboBox", "ColumnComboBox"};
inline constexpr const char kSubjectNamesCheck[] = "NazwyCheckBox";

}  // namespace names
