#include "DocumentKinds.h"

#include "platform/Cp1250.h"

#include <vector>

const std::array<TDocKindInfo, kDocKindCount> kDocKinds = {{
    {dkKlasaI, "tarvek_klasa_I", "tarvek_klasa_I_bk", "TFKlasa1", 2, "MEN-I/21/2 świad. klasa I"},
    {dkKlasaIWyr, "tarvek_klasa_I_wyr", "tarvek_klasa_I_wyr_bk", "TFKlasa1wyr", 2, "MEN-I/21-w/2 świad. klasa I wyr."},
    {dkKlasaII, "tarvek_klasa_II", "tarvek_klasa_II_bk", "TFKlasa2", 2, "MEN-I/21/2 świad. klasa II"},
    {dkKlasaIIWyr, "tarvek_klasa_II_wyr", "tarvek_klasa_II_wyr_bk", "TFKlasa2wyr", 2,
     "MEN-I/21-w/2 świad. klasa II wyr."},
    {dkKoniec, "tarvek_koniec", "tarvek_koniec_bk", "TFKoniec", 2, "MEN-I/23/2 świad. ukończenia"},
    {dkKoniecWyr, "tarvek_koniec_wyr", "tarvek_koniec_wyr_bk", "TFKoniecwyr", 2, "MEN-I/23-w/2 świad. ukończenia wyr."},
    {dkKlasaIa, "tarvek_klasa_Ia", "tarvek_klasa_Ia_bk", "TFKlasa1a", 2, "MEN-I/21a/2 świad. klasa I"},
    {dkKlasaIaWyr, "tarvek_klasa_Ia_wyr", "tarvek_klasa_Ia_wyr_bk", "TFKlasa1awyr", 2,
     "MEN-I/21a-w/2 świad. klasa I wyr."},
    {dkKlasaIIa, "tarvek_klasa_IIa", "tarvek_klasa_IIa_bk", "TFKlasa2a", 2, "MEN-I/21a/2 świad. klasa II"},
    {dkKlasaIIaWyr, "tarvek_klasa_IIa_wyr", "tarvek_klasa_IIa_wyr_bk", "TFKlasa2awyr", 2,
     "MEN-I/21a-w/2 świad. klasa II wyr."},
    {dkKonieca, "tarvek_konieca", "tarvek_konieca_bk", "TFKonieca", 2, "MEN-I/23a/2 świad. ukończenia"},
    {dkKoniecaWyr, "tarvek_konieca_wyr", "tarvek_konieca_wyr_bk", "TFKoniecawyr", 2,
     "MEN-I/23a-w/2 świad. ukończenia wyr."},
    {dkWywiadowka, "tarvek_wywiadowka", nullptr, "TFWywiadowka", 1, "wywiadówka"},
    {dkArkuszStr1, "tarvek_arkusz_str1", nullptr, "TFArkuszStr1", 1, "MEN-I/42/2 arkusz str. 1"},
    {dkArkuszStr2, "tarvek_arkusz_str2", nullptr, "TFArkuszStr2", 1, "MEN-I/42/2 arkusz str. 2"},
    {dkArkuszStr2Kol1, "tarvek_arkusz_str2_kol1", nullptr, "TFArkuszStr2", 1, nullptr},
    {dkArkuszStr2Kol2, "tarvek_arkusz_str2_kol2", nullptr, "TFArkuszStr2", 1, nullptr},
    {dkArkuszStr3, "tarvek_arkusz_str3", nullptr, "TFArkuszStr3", 1, "MEN-I/42/2 arkusz str. 3"},
    {dkArkuszStr3Kol1, "tarvek_arkusz_str3_kol1", nullptr, "TFArkuszStr3", 1, nullptr},
    {dkArkuszStr3Kol2, "tarvek_arkusz_str3_kol2", nullptr, "TFArkuszStr3", 1, nullptr},
    {dkArkuszStr3Kol3, "tarvek_arkusz_str3_kol3", nullptr, "TFArkuszStr3", 1, nullptr},
    {dkArkuszStr4, "tarvek_arkusz_str4", nullptr, "TFArkuszStr4", 1, "MEN-I/42/2 arkusz str. 4"},
    {dkArkuszStr4Kol1, "tarvek_arkusz_str4_kol1", nullptr, "TFArkuszStr4", 1, nullptr},
    {dkArkuszStr4Kol2, "tarvek_arkusz_str4_kol2", nullptr, "TFArkuszStr4", 1, nullptr},
    {dkArkuszStr5, "tarvek_arkusz_str5", nullptr, "TFArkuszStr5", 1, "MEN-I/42/2 arkusz str. 5"},
    {dkArkuszStr5Kol1, "tarvek_arkusz_str5_kol1", nullptr, "TFArkuszStr5", 1, nullptr},
    {dkArkuszStr5Kol2, "tarvek_arkusz_str5_kol2", nullptr, "TFArkuszStr5", 1, nullptr},
    {dkArkuszStr5Kol3, "tarvek_arkusz_str5_kol3", nullptr, "TFArkuszStr5", 1, nullptr},
    {dkArkuszStr1b, "tarvek_arkusz_str1b", nullptr, "TFArkuszStr1b", 1, "MEN-I/42b/2 arkusz str. tytułowa"},
    {dkArkuszStr2b, "tarvek_arkusz_str2b", nullptr, "TFArkuszStr2b", 1, "MEN-I/42b/2 arkusz klasa pierwsza"},
    {dkArkuszStr3b, "tarvek_arkusz_str3b", nullptr, "TFArkuszStr3b", 1, "MEN-I/42b/2 arkusz klasa druga"},
    {dkArkuszStr3bKol1, "tarvek_arkusz_str3b_kol1", nullptr, "TFArkuszStr3b", 1, nullptr},
    {dkArkuszStr3bKol2, "tarvek_arkusz_str3b_kol2", nullptr, "TFArkuszStr3b", 1, nullptr},
    {dkArkuszStr4b, "tarvek_arkusz_str4b", nullptr, "TFArkuszStr4b", 1, "MEN-I/42b/2 arkusz klasa trzecia"},
    {dkArkuszStr4bKol1, "tarvek_arkusz_str4b_kol1", nullptr, "TFArkuszStr4b", 1, nullptr},
    {dkArkuszStr4bKol2, "tarvek_arkusz_str4b_kol2", nullptr, "TFArkuszStr4b", 1, nullptr},
}};

std::optional<TDocKindInfo> optFunDocKind(int kind) {
  if (kind < 0 || kind >= kDocKindCount) return std::nullopt;
  return kDocKinds[static_cast<std::size_t>(kind)];
}

std::string strFunCalibTableName(TDocKind kind, bool printWithoutDots) {
  const TDocKindInfo& info = kDocKinds[static_cast<std::size_t>(kind)];
  return printWithoutDots && info.tableNoDots ? info.tableNoDots : info.table;
}

std::optional<TDocKind> optFunKindOfTreeName(std::string_view treeName) {
  static const std::vector<std::pair<std::string, TDocKind>> names = [] {
    std::vector<std::pair<std::string, TDocKind>> v;
    for (const TDocKindInfo& info : kDocKinds)
      if (info.treeName) v.emplace_back(cp1250(info.treeName), info.kind);
    return v;
  }();
  for (const auto& [name, kind] : names)
    if (name == treeName) return kind;
  return std::nullopt;
}
