#include "app/DaneUczniaUnit.h"

TFDaneUcznia* FDaneUcznia = nullptr;

TFDaneUcznia::TFDaneUcznia(QWidget* parent) : TDialogForm("FDaneUcznia", parent) {}
