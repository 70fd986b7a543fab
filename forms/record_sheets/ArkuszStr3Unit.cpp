#include "forms/record_sheets/ArkuszStr3Unit.h"

const TDocumentIdentity kArkuszStr3Identity = {"TFArkuszStr3", "FArkuszStr3", "ArkuszStr3Unit", "ARKUSZ OCEN STR 3 TARVEK", dkArkuszStr3,
                                          "Arkusz - wkładka str 3", true, "AnulujButton"};

TFArkuszStr3* FArkuszStr3 = nullptr;

TFArkuszStr3::TFArkuszStr3(QWidget* parent) : TDocumentForm(kArkuszStr3Identity, parent) {}
