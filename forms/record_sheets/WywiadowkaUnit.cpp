#include "forms/record_sheets/WywiadowkaUnit.h"

TFWywiadowka* FWywiadowka = nullptr;

TFWywiadowka::TFWywiadowka(QWidget* parent) : TDocumentForm(formSpec("TFWywiadowka"), parent) {}
