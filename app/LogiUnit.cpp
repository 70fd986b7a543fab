#include "app/LogiUnit.h"

TFLogi* FLogi = nullptr;

TFLogi::TFLogi(QWidget* parent) : TDialogForm("FLogi", parent) {}
