#pragma once
// The document kinds: each names one layout (a table of the calibration
// file) and how many sides it prints. Which form holds a kind's values, and
// the names under which the documents are listed, come with the forms.
#include <array>
#include <optional>
#include <string>
#include <string_view>

enum TDocKind : int {
  dkKlasaI = 0, dkKlasaIWyr, dkKlasaII, dkKlasaIIWyr, dkKoniec, dkKoniecWyr,
  dkKlasaIa, dkKlasaIaWyr, dkKlasaIIa, dkKlasaIIaWyr, dkKonieca, dkKoniecaWyr,
  dkWywiadowka,
  dkArkuszStr1, dkArkuszStr2, dkArkuszStr2Kol1, dkArkuszStr2Kol2,
  dkArkuszStr3, dkArkuszStr3Kol1, dkArkuszStr3Kol2, dkArkuszStr3Kol3,
  dkArkuszStr4, dkArkuszStr4Kol1, dkArkuszStr4Kol2,
  dkArkuszStr5, dkArkuszStr5Kol1, dkArkuszStr5Kol2, dkArkuszStr5Kol3,
  dkArkuszStr1b, dkArkuszStr2b,
  dkArkuszStr3b, dkArkuszStr3bKol1, dkArkuszStr3bKol2,
  dkArkuszStr4b, dkArkuszStr4bKol1, dkArkuszStr4bKol2,
};

constexpr int kDocKindCount = 36;

struct TDocKindInfo {
  TDocKind kind;
  const char* table;       // the layout's calibration table
  const char* tableNoDots; // the layout without dotted lines; nullptr when it has none
  int pages;
};

// Indexed by kind.
extern const std::array<TDocKindInfo, kDocKindCount> kDocKinds;

// nullopt for a kind outside 0..35.
std::optional<TDocKindInfo> optFunDocKind(int kind);

// The calibration table the renderer reads for a kind: certificates use
// their table without dotted lines while that option is on.
std::string strFunCalibTableName(TDocKind kind, bool printWithoutDots);
