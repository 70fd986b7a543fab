#include "forms/record_sheets/ArkuszStr2bUnit.h"

const TDocumentIdentity kArkuszStr2bIdentity = {"TFArkuszStr2b", "FArkuszStr2b", "ArkuszStr2bUnit", "ARKUSZ OCEN STR 2b TARVEK", dkArkuszStr2b,
                                          "MEN-I/42b/2   Arkusz - wkładka str 2", true, "AnulujButton"};

TFArkuszStr2b* FArkuszStr2b = nullptr;

TFArkuszStr2b::TFArkuszStr2b(QWidget* parent) : TDocumentForm(kArkuszStr2bIdentity, parent) {}
