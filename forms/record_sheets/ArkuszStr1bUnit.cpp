#include "forms/record_sheets/ArkuszStr1bUnit.h"

const TDocumentIdentity kArkuszStr1bIdentity = {"TFArkuszStr1b", "FArkuszStr1b", "ArkuszStr1bUnit", "ARKUSZ OCEN STR 1b TARVEK", dkArkuszStr1b,
                                          "MEN-I/42b/2 Arkusz ocen str. 1", false, "BitBtn1"};

TFArkuszStr1b* FArkuszStr1b = nullptr;

TFArkuszStr1b::TFArkuszStr1b(QWidget* parent) : TDocumentForm(kArkuszStr1bIdentity, parent) {}
