#include "app/DaneSzkoly.h"

TFDaneSzkoly* FDaneSzkoly = nullptr;

TFDaneSzkoly::TFDaneSzkoly(QWidget* parent) : TDialogForm("FDaneSzkoly", parent) {}
