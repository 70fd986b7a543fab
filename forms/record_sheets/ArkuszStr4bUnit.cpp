#include "forms/record_sheets/ArkuszStr4bUnit.h"

const TDocumentIdentity kArkuszStr4bIdentity = {"TFArkuszStr4b", "FArkuszStr4b", "ArkuszStr4bUnit", "ARKUSZ OCEN STR 4b TARVEK", dkArkuszStr4b,
                                          "MEN-I/42b/2   Arkusz - wkładka str 4", true, "AnulujButton"};

TFArkuszStr4b* FArkuszStr4b = nullptr;

TFArkuszStr4b::TFArkuszStr4b(QWidget* parent) : TDocumentForm(kArkuszStr4bIdentity, parent) {}
