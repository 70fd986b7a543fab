#include "forms/record_sheets/ArkuszStr5Unit.h"

const TDocumentIdentity kArkuszStr5Identity = {"TFArkuszStr5", "FArkuszStr5", "ArkuszStr5Unit", "ARKUSZ OCEN STR 5 TARVEK", dkArkuszStr5,
                                          "Arkusz - wkładka str 5", true, "AnulujButton"};

TFArkuszStr5* FArkuszStr5 = nullptr;

TFArkuszStr5::TFArkuszStr5(QWidget* parent) : TDocumentForm(kArkuszStr5Identity, parent) {}
