#pragma once
// What the generator must make of the registry and the descriptions: the
// one table of the document forms' identities that the tests keep by hand
// (a new form needs its row here and nothing else in tests/). Every other
// test takes its forms from the generated tables (kFormSpecs) and this table.
#include "forms/FormSpec.h"
#include "render/DocumentKinds.h"

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

struct TFormReference {
  const char* className;
  const char* tag;
  TDocKind kind;
  const char* documentName;
  int tree;  // 0: not offered
  int created;
  const char* cancel;
  bool lineRows;
  const char* caption;
  int listItem;          // its item in the certificate lists of the class pages it fills; 0 none
  const char* listText;  // and the item's text
  bool schoolTemplate = false;  // offered in the school-template dialog's list (its school data taken)
};

// In protocol order; the two class-II tags of the current blanks are crossed
// as the stored files carry them.
inline const TFormReference kFormReference[] = {
    {"TFKlasa1", "KLASA I TARVEK", dkKlasaI, "MEN-I/21/2 świad. klasa I", 0, 23, "CancelButton", false,
     "Świadectwo ukończenia klasy I tarvek ogólnokształcącego", 1, "kl 1.", true},
    {"TFKlasa1wyr", "KLASA I Z WYR. TARVEK", dkKlasaIWyr, "MEN-I/21-w/2 świad. klasa I wyr.", 0, 13, "CancelButton",
     false, "Świadectwo ukończenia klasy I tarvek z wyróżnieniem", 2, "kl 1 z wyr.", true},
    {"TFKlasa2", "KLASA II TARVEK", dkKlasaII, "MEN-I/21/2 świad. klasa II", 0, 3, "CancelButton", false,
     "Świadectwo ukończenia klasy II tarvek ogólnokształcącego", 3, "kl 2.", true},
    {"TFKlasa2wyr", "KLASA II Z WYR. TARVEK", dkKlasaIIWyr, "MEN-I/21-w/2 świad. klasa II wyr.", 0, 12, "CancelButton",
     false, "Świadectwo ukończenia klasy II tarvek z wyróżnieniem", 4, "kl 2 z wyr.", true},
    {"TFKoniec", "KONIEC TARVEK", dkKoniec, "MEN-I/23/2 świad. ukończenia", 0, 11, "CancelButton", false,
     "Świadectwo ukończenia tarvek", 5, "koniec", true},
    {"TFKoniecwyr", "KONIEC Z WYR. TARVEK", dkKoniecWyr, "MEN-I/23-w/2 świad. ukończenia wyr.", 0, 14, "CancelButton",
     false, "Świadectwo ukończenia tarvek z wyróżnieniem", 6, "koniec z wyr.", true},
    {"TFKlasa1a", "KLASA Ia TARVEK", dkKlasaIa, "MEN-I/21a/2 świad. klasa I", 1, 27, "CancelButton", false,
     "MEN-I/21a/2 Świadectwo ukończenia klasy I tarvek ogólnokształcącego.", 1, "MEN-I/21a/2", true},
    {"TFKlasa1awyr", "KLASA Ia WYR. TARVEK", dkKlasaIaWyr, "MEN-I/21a-w/2 świad. klasa I wyr.", 2, 28, "CancelButton",
     false, "MEN-I/21a-w/2 Świadectwo ukończenia klasy I z wyr. tarvek ogólnokształcącego", 2, "MEN-I/21a-w/2", true},
    {"TFKlasa2a", "KLASA IIa WYR. TARVEK", dkKlasaIIa, "MEN-I/21a/2 świad. klasa II", 3, 24, "CancelButton", false,
     "MEN-I/21a/2 Świadectwo ukończenia klasy II tarvek ogólnokształcącego", 1, "MEN-I/21a/2", true},
    {"TFKlasa2awyr", "KLASA IIa TARVEK", dkKlasaIIaWyr, "MEN-I/21a-w/2 świad. klasa II wyr.", 4, 10, "CancelButton",
     false, "MEN-I/21a-w/2 Świadectwo ukończenia klasy II z wyr. tarvek ogólnokształcącego", 2, "MEN-I/21a-w/2", true},
    {"TFKonieca", "KONIECa TARVEK", dkKonieca, "MEN-I/23a/2 świad. ukończenia", 5, 25, "CancelButton", false,
     "MEN-I/23a/2 Świadectwo ukończenia tarvek ogólnokształcącego", 1, "MEN-I/23a/2", true},
    {"TFKoniecawyr", "KONIECa WYR. TARVEK", dkKoniecaWyr, "MEN-I/23a-w/2 świad. ukończenia wyr.", 6, 26, "CancelButton",
     false, "MEN-I/23a-w/2 Świadectwo ukończenia tarvek z wyróżnieniem", 2, "MEN-I/23a-w/2", true},
    {"TFWywiadowka", "WYWIADOWKA TARVEK", dkWywiadowka, "wywiadówka", 11, 15, "AnulujButton", false, "Wykaz ocen", 0,
     nullptr},
    {"TFArkuszStr1", "ARKUSZ OCEN STR 1 TARVEK", dkArkuszStr1, "MEN-I/42/2 arkusz str. 1", 0, 29, "BitBtn1", false,
     "MEN-I/42/2 Arkusz ocen str. 1", 0, nullptr, true},
    {"TFArkuszStr2", "ARKUSZ OCEN STR 2 TARVEK", dkArkuszStr2, "MEN-I/42/2 arkusz str. 2", 0, 30, "AnulujButton", true,
     "Arkusz - wkładka str 2", 0, nullptr},
    {"TFArkuszStr3", "ARKUSZ OCEN STR 3 TARVEK", dkArkuszStr3, "MEN-I/42/2 arkusz str. 3", 0, 18, "AnulujButton", true,
     "Arkusz - wkładka str 3", 0, nullptr},
    {"TFArkuszStr4", "ARKUSZ OCEN STR 4 TARVEK", dkArkuszStr4, "MEN-I/42/2 arkusz str. 4", 0, 19, "AnulujButton", true,
     "Arkusz - wkładka str 4", 0, nullptr},
    {"TFArkuszStr5", "ARKUSZ OCEN STR 5 TARVEK", dkArkuszStr5, "MEN-I/42/2 arkusz str. 5", 0, 20, "AnulujButton", true,
     "Arkusz - wkładka str 5", 0, nullptr},
    {"TFArkuszStr1b", "ARKUSZ OCEN STR 1b TARVEK", dkArkuszStr1b, "MEN-I/42b/2 arkusz str. tytułowa", 7, 16, "BitBtn1",
     false, "MEN-I/42b/2 Arkusz ocen str. 1", 0, nullptr, true},
    {"TFArkuszStr2b", "ARKUSZ OCEN STR 2b TARVEK", dkArkuszStr2b, "MEN-I/42b/2 arkusz klasa pierwsza", 8, 31,
     "AnulujButton", true, "MEN-I/42b/2   Arkusz - wkładka str 2", 0, nullptr},
    {"TFArkuszStr3b", "ARKUSZ OCEN STR 3b TARVEK", dkArkuszStr3b, "MEN-I/42b/2 arkusz klasa druga", 9, 33,
     "AnulujButton", true, "MEN-I/42b/2   Arkusz - wkładka str 3", 0, nullptr},
    {"TFArkuszStr4b", "ARKUSZ OCEN STR 4b TARVEK", dkArkuszStr4b, "MEN-I/42b/2 arkusz klasa trzecia", 10, 17,
     "AnulujButton", true, "MEN-I/42b/2   Arkusz - wkładka str 4", 0, nullptr},
};
inline constexpr int kFormReferenceCount = static_cast<int>(std::size(kFormReference));

// The windows of the program's own code and their places among the windows
// made at start-up (the document forms' places are their "created").
struct TShellWindowReference {
  const char* global;
  int created;
};
inline const TShellWindowReference kShellWindowReference[] = {
    {"FGlowna", 1}, {"FDaneUcznia", 2}, {"FKalibracja", 4},    {"FDaneSzkoly", 5}, {"FDrukuj", 6},     {"FWait", 7},
    {"FOProgramie", 8}, {"FLogi", 9}, {"FAktualizacja", 21}, {"FImport", 22},   {"FSQLImport", 32},
};

// The row of a class; nullptr when the table has none.
inline const TFormReference* referenceOf(const char* className) {
  for (const TFormReference& r : kFormReference)
    if (std::strcmp(r.className, className) == 0) return &r;
  return nullptr;
}

// The globals of every window in creation order, as the table gives them.
inline std::vector<std::string> referenceWindowOrder() {
  std::vector<std::string> order(std::size(kFormReference) + std::size(kShellWindowReference));
  for (const TFormReference& r : kFormReference) order.at(static_cast<std::size_t>(r.created - 1)) = r.className + 1;
  for (const TShellWindowReference& w : kShellWindowReference) order.at(static_cast<std::size_t>(w.created - 1)) = w.global;
  return order;
}

// The document names of a student's children in the tree, in tree order
// (after them the tree has one child without a document).
inline std::vector<std::string> referenceTreeDocuments() {
  std::vector<const TFormReference*> offered;
  for (const TFormReference& r : kFormReference)
    if (r.tree > 0) offered.push_back(&r);
  std::sort(offered.begin(), offered.end(), [](const TFormReference* a, const TFormReference* b) { return a->tree < b->tree; });
  std::vector<std::string> names;
  for (const TFormReference* r : offered) names.push_back(r->documentName);
  return names;
}

// The certificate list of a record-sheet class page: the certificates whose
// generated tables say they fill it, in the order of their items in this
// table. A certificate the table lacks is left out (and so is missed by a
// count of the page's items).
inline std::vector<const TFormReference*> referenceCertificateList(const char* pageClass) {
  std::vector<const TFormReference*> list;
  for (int i = 0; i < kFormSpecCount; ++i)
    for (int p = 0; p < kFormSpecs[i].sheetPageCount; ++p)
      if (std::strcmp(kFormSpecs[i].sheetPages[p].pageClass, pageClass) == 0)
        if (const TFormReference* r = referenceOf(kFormSpecs[i].identity.className)) list.push_back(r);
  std::stable_sort(list.begin(), list.end(),
                   [](const TFormReference* a, const TFormReference* b) { return a->listItem < b->listItem; });
  return list;
}

// A row names itself by its class in a test's failure and name.
inline void PrintTo(const TFormReference& row, std::ostream* out) { *out << row.className; }
