#include "forms/record_sheets/ArkuszStr1Unit.h"

const TDocumentIdentity kArkuszStr1Identity = {"TFArkuszStr1", "FArkuszStr1", "ArkuszStr1Unit", "ARKUSZ OCEN STR 1 TARVEK", dkArkuszStr1,
                                          "MEN-I/42/2 Arkusz ocen str. 1", false, "BitBtn1"};

TFArkuszStr1* FArkuszStr1 = nullptr;

TFArkuszStr1::TFArkuszStr1(QWidget* parent) : TDocumentForm(kArkuszStr1Identity, parent) {}
