#include "forms/record_sheets/ArkuszStr4Unit.h"

TFArkuszStr4* FArkuszStr4 = nullptr;

TFArkuszStr4::TFArkuszStr4(QWidget* parent) : TClassPage(formSpec("TFArkuszStr4"), parent) {}
