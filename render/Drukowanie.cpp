#include "render/Drukowanie.h"

TFDrukuj* FDrukuj = nullptr;

TFDrukuj::TFDrukuj(QWidget* parent) : TDialogForm("FDrukuj", parent) {}
