#include "forms/record_sheets/ArkuszStr4Unit.h"

const TDocumentIdentity kArkuszStr4Identity = {"TFArkuszStr4", "FArkuszStr4", "ArkuszStr4Unit", "ARKUSZ OCEN STR 4 TARVEK", dkArkuszStr4,
                                          "Arkusz - wkładka str 4", true, "AnulujButton"};

TFArkuszStr4* FArkuszStr4 = nullptr;

TFArkuszStr4::TFArkuszStr4(QWidget* parent) : TDocumentForm(kArkuszStr4Identity, parent) {}
