#include "DocumentKinds.h"

const std::array<TDocKindInfo, kDocKindCount> kDocKinds = {{
    {dkKlasaI, "tarvek_klasa_I", "tarvek_klasa_I_bk", 2},
    {dkKlasaIWyr, "tarvek_klasa_I_wyr", "tarvek_klasa_I_wyr_bk", 2},
    {dkKlasaII, "tarvek_klasa_II", "tarvek_klasa_II_bk", 2},
    {dkKlasaIIWyr, "tarvek_klasa_II_wyr", "tarvek_klasa_II_wyr_bk", 2},
    {dkKoniec, "tarvek_koniec", "tarvek_koniec_bk", 2},
    {dkKoniecWyr, "tarvek_koniec_wyr", "tarvek_koniec_wyr_bk", 2},
    {dkKlasaIa, "tarvek_klasa_Ia", "tarvek_klasa_Ia_bk", 2},
    {dkKlasaIaWyr, "tarvek_klasa_Ia_wyr", "tarvek_klasa_Ia_wyr_bk", 2},
    {dkKlasaIIa, "tarvek_klasa_IIa", "tarvek_klasa_IIa_bk", 2},
    {dkKlasaIIaWyr, "tarvek_klasa_IIa_wyr", "tarvek_klasa_IIa_wyr_bk", 2},
    {dkKonieca, "tarvek_konieca", "tarvek_konieca_bk", 2},
    {dkKoniecaWyr, "tarvek_konieca_wyr", "tarvek_konieca_wyr_bk", 2},
    {dkWywiadowka, "tarvek_wywiadowka", nullptr, 1},
    {dkArkuszStr1, "tarvek_arkusz_str1", nullptr, 1},
    {dkArkuszStr2, "tarvek_arkusz_str2", nullptr, 1},
    {dkArkuszStr2Kol1, "tarvek_arkusz_str2_kol1", nullptr, 1},
    {dkArkuszStr2Kol2, "tarvek_arkusz_str2_kol2", nullptr, 1},
    {dkArkuszStr3, "tarvek_arkusz_str3", nullptr, 1},
    {dkArkuszStr3Kol1, "tarvek_arkusz_str3_kol1", nullptr, 1},
    {dkArkuszStr3Kol2, "tarvek_arkusz_str3_kol2", nullptr, 1},
    {dkArkuszStr3Kol3, "tarvek_arkusz_str3_kol3", nullptr, 1},
    {dkArkuszStr4, "tarvek_arkusz_str4", nullptr, 1},
    {dkArkuszStr4Kol1, "tarvek_arkusz_str4_kol1", nullptr, 1},
    {dkArkuszStr4Kol2, "tarvek_arkusz_str4_kol2", nullptr, 1},
    {dkArkuszStr5, "tarvek_arkusz_str5", nullptr, 1},
    {dkArkuszStr5Kol1, "tarvek_arkusz_str5_kol1", nullptr, 1},
    {dkArkuszStr5Kol2, "tarvek_arkusz_str5_kol2", nullptr, 1},
    {dkArkuszStr5Kol3, "tarvek_arkusz_str5_kol3", nullptr, 1},
    {dkArkuszStr1b, "tarvek_arkusz_str1b", nullptr, 1},
    {dkArkuszStr2b, "tarvek_arkusz_str2b", nullptr, 1},
    {dkArkuszStr3b, "tarvek_arkusz_str3b", nullptr, 1},
    {dkArkuszStr3bKol1, "tarvek_arkusz_str3b_kol1", nullptr, 1},
    {dkArkuszStr3bKol2, "tarvek_arkusz_str3b_kol2", nullptr, 1},
    {dkArkuszStr4b, "tarvek_arkusz_str4b", nullptr, 1},
    {dkArkuszStr4bKol1, "tarvek_arkusz_str4b_kol1", nullptr, 1},
    {dkArkuszStr4bKol2, "tarvek_arkusz_str4b_kol2", nullptr, 1},
}};

std::optional<TDocKindInfo> optFunDocKind(int kind) {
  if (kind < 0 || kind >= kDocKindCount) return std::nullopt;
  return kDocKinds[static_cast<std::size_t>(kind)];
}

std::string strFunCalibTableName(TDocKind kind, bool printWithoutDots) {
  const TDocKindInfo& info = kDocKinds[static_cast<std::size_t>(kind)];
  return printWithoutDots && info.tableNoDots ? info.tableNoDots : info.table;
}
