#pragma once
// The document kinds: each names one layout (a table of the calibration
// file), how many sides it prints and what sort of document it is. Which
// form holds a kind's values, and the names under which the documents are
// listed, come with the forms (assets/forms/registry.csv names each form's
// kind; the build refuses a kind this list lacks).
#include <array>
#include <optional>
#include <string>
#include <string_view>

// The one list of kinds, in their order:
//   X(kind, layout table, table without dotted lines or nullptr, pages, sort)
// sort: kfCertificate, kfCertificate | kfDistinction, or 0.
#define TARVEK_DOC_KINDS(X)                                                                          \
  X(dkKlasaI, "tarvek_klasa_I", "tarvek_klasa_I_bk", 2, kfCertificate)                               \
  X(dkKlasaIWyr, "tarvek_klasa_I_wyr", "tarvek_klasa_I_wyr_bk", 2, kfCertificate | kfDistinction)    \
  X(dkKlasaII, "tarvek_klasa_II", "tarvek_klasa_II_bk", 2, kfCertificate)                            \
  X(dkKlasaIIWyr, "tarvek_klasa_II_wyr", "tarvek_klasa_II_wyr_bk", 2, kfCertificate | kfDistinction) \
  X(dkKoniec, "tarvek_koniec", "tarvek_koniec_bk", 2, kfCertificate)                                 \
  X(dkKoniecWyr, "tarvek_koniec_wyr", "tarvek_koniec_wyr_bk", 2, kfCertificate | kfDistinction)      \
  X(dkKlasaIa, "tarvek_klasa_Ia", "tarvek_klasa_Ia_bk", 2, kfCertificate)                            \
  X(dkKlasaIaWyr, "tarvek_klasa_Ia_wyr", "tarvek_klasa_Ia_wyr_bk", 2, kfCertificate | kfDistinction) \
  X(dkKlasaIIa, "tarvek_klasa_IIa", "tarvek_klasa_IIa_bk", 2, kfCertificate)                         \
  X(dkKlasaIIaWyr, "tarvek_klasa_IIa_wyr", "tarvek_klasa_IIa_wyr_bk", 2, kfCertificate | kfDistinction) \
  X(dkKonieca, "tarvek_konieca", "tarvek_konieca_bk", 2, kfCertificate)                              \
  X(dkKoniecaWyr, "tarvek_konieca_wyr", "tarvek_konieca_wyr_bk", 2, kfCertificate | kfDistinction)   \
  X(dkWywiadowka, "tarvek_wywiadowka", nullptr, 1, 0)                                                \
  X(dkArkuszStr1, "tarvek_arkusz_str1", nullptr, 1, 0)                                               \
  X(dkArkuszStr2, "tarvek_arkusz_str2", nullptr, 1, 0)                                               \
  X(dkArkuszStr2Kol1, "tarvek_arkusz_str2_kol1", nullptr, 1, 0)                                      \
  X(dkArkuszStr2Kol2, "tarvek_arkusz_str2_kol2", nullptr, 1, 0)                                      \
  X(dkArkuszStr3, "tarvek_arkusz_str3", nullptr, 1, 0)                                               \
  X(dkArkuszStr3Kol1, "tarvek_arkusz_str3_kol1", nullptr, 1, 0)                                      \
  X(dkArkuszStr3Kol2, "tarvek_arkusz_str3_kol2", nullptr, 1, 0)                                      \
  X(dkArkuszStr3Kol3, "tarvek_arkusz_str3_kol3", nullptr, 1, 0)                                      \
  X(dkArkuszStr4, "tarvek_arkusz_str4", nullptr, 1, 0)                                               \
  X(dkArkuszStr4Kol1, "tarvek_arkusz_str4_kol1", nullptr, 1, 0)                                      \
  X(dkArkuszStr4Kol2, "tarvek_arkusz_str4_kol2", nullptr, 1, 0)                                      \
  X(dkArkuszStr5, "tarvek_arkusz_str5", nullptr, 1, 0)                                               \
  X(dkArkuszStr5Kol1, "tarvek_arkusz_str5_kol1", nullptr, 1, 0)                                      \
  X(dkArkuszStr5Kol2, "tarvek_arkusz_str5_kol2", nullptr, 1, 0)                                      \
  X(dkArkuszStr5Kol3, "tarvek_arkusz_str5_kol3", nullptr, 1, 0)                                      \
  X(dkArkuszStr1b, "tarvek_arkusz_str1b", nullptr, 1, 0)                                             \
  X(dkArkuszStr2b, "tarvek_arkusz_str2b", nullptr, 1, 0)                                             \
  X(dkArkuszStr3b, "tarvek_arkusz_str3b", nullptr, 1, 0)                                             \
  X(dkArkuszStr3bKol1, "tarvek_arkusz_str3b_kol1", nullptr, 1, 0)                                    \
  X(dkArkuszStr3bKol2, "tarvek_arkusz_str3b_kol2", nullptr, 1, 0)                                    \
  X(dkArkuszStr4b, "tarvek_arkusz_str4b", nullptr, 1, 0)                                             \
  X(dkArkuszStr4bKol1, "tarvek_arkusz_str4b_kol1", nullptr, 1, 0)                                    \
  X(dkArkuszStr4bKol2, "tarvek_arkusz_str4b_kol2", nullptr, 1, 0)

#define TARVEK_DOC_KIND_ENUM(kind, table, noDots, pages, sort) kind,
enum TDocKind : int { TARVEK_DOC_KINDS(TARVEK_DOC_KIND_ENUM) };
#undef TARVEK_DOC_KIND_ENUM

#define TARVEK_DOC_KIND_ONE(kind, table, noDots, pages, sort) +1
constexpr int kDocKindCount = 0 TARVEK_DOC_KINDS(TARVEK_DOC_KIND_ONE);
#undef TARVEK_DOC_KIND_ONE

// What sort of document a kind is.
enum TDocKindFlag : unsigned {
  kfCertificate = 1u << 0,  // a certificate: two sides on a blank, the school-leaving ending fields
  kfDistinction = 1u << 1,  // a certificate with distinction
};

struct TDocKindInfo {
  TDocKind kind;
  const char* name;        // the enumerator's name ("dkKlasaIa"), as the registry of forms writes it
  const char* table;       // the layout's calibration table
  const char* tableNoDots; // the layout without dotted lines; nullptr when it has none
  int pages;
  unsigned flags;          // TDocKindFlag
};

// Indexed by kind.
extern const std::array<TDocKindInfo, kDocKindCount> kDocKinds;

// nullopt for a kind outside 0..kDocKindCount-1.
std::optional<TDocKindInfo> optFunDocKind(int kind);
// The kind of an enumerator's name; nullopt for none.
std::optional<TDocKind> optFunDocKindNamed(std::string_view name);

bool bFunIsCertificate(TDocKind kind);
bool bFunWithDistinction(TDocKind kind);

// The fields of a certificate's side 1 that print nothing when empty, not
// even the line of an empty field: the endings after the birth place and the
// school's town ("ZMIENNA_UrWE...", "ZMIENNA_SzkolaWE...").
inline constexpr const char* kCertificateEndingFields[] = {"ZMIENNA_UrWE", "ZMIENNA_SzkolaWE"};

// The calibration table the renderer reads for a kind: certificates use
// their table without dotted lines while that option is on.
std::string strFunCalibTableName(TDocKind kind, bool printWithoutDots);
