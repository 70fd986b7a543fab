#include "forms/record_sheets/WywiadowkaUnit.h"

const TDocumentIdentity kWywiadowkaIdentity = {"TFWywiadowka", "FWywiadowka", "WywiadowkaUnit", "WYWIADOWKA TARVEK", dkWywiadowka,
                                          "Wykaz ocen", false, "AnulujButton"};

TFWywiadowka* FWywiadowka = nullptr;

TFWywiadowka::TFWywiadowka(QWidget* parent) : TDocumentForm(kWywiadowkaIdentity, parent) {}
