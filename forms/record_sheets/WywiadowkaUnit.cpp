#include "forms/record_sheets/WywiadowkaUnit.h"

TFWywiadowka* FWywiadowka = nullptr;

TFWywiadowka::TFWywiadowka(QWidget* parent) : TDialogForm("FWywiadowka", parent) {}
