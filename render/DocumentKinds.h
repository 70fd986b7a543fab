#pragma once
// The document kinds: each names one layout (a table of the calibration
// file), the form that holds its values, how many sides it prints and the
// name under which the student tree and the print command know it.
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
  const char* form;        // class of the form that holds the values
  int pages;
  const char* treeName;    // UTF-8; nullptr for a single grade column
};

// Indexed by kind.
extern const std::array<TDocKindInfo, kDocKindCount> kDocKinds;

// nullopt for a kind outside 0..35.
std::optional<TDocKindInfo> optFunDocKind(int kind);

// The calibration table the renderer reads for a kind: certificates use
// their table without dotted lines while that option is on.
std::string strFunCalibTableName(TDocKind kind, bool printWithoutDots);

// The kinds known by a tree name (Windows-1250), in table order; the 22
// documents that have one.
std::optional<TDocKind> optFunKindOfTreeName(std::string_view treeName);
