#include "forms/record_sheets/ArkuszStr2Unit.h"

const TDocumentIdentity kArkuszStr2Identity = {"TFArkuszStr2", "FArkuszStr2", "ArkuszStr2Unit", "ARKUSZ OCEN STR 2 TARVEK", dkArkuszStr2,
                                          "Arkusz - wkładka str 2", true, "AnulujButton"};

TFArkuszStr2* FArkuszStr2 = nullptr;

TFArkuszStr2::TFArkuszStr2(QWidget* parent) : TDocumentForm(kArkuszStr2Identity, parent) {}
