#include "render/Kalibracja.h"

TFKalibracja* FKalibracja = nullptr;

TFKalibracja::TFKalibracja(QWidget* parent) : TDialogForm("FKalibracja", parent) {}
