#include "forms/record_sheets/ArkuszStr3bUnit.h"

const TDocumentIdentity kArkuszStr3bIdentity = {"TFArkuszStr3b", "FArkuszStr3b", "ArkuszStr3bUnit", "ARKUSZ OCEN STR 3b TARVEK", dkArkuszStr3b,
                                          "MEN-I/42b/2   Arkusz - wkładka str 3", true, "AnulujButton"};

TFArkuszStr3b* FArkuszStr3b = nullptr;

TFArkuszStr3b::TFArkuszStr3b(QWidget* parent) : TDocumentForm(kArkuszStr3bIdentity, parent) {}
