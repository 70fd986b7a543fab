#include "forms/record_sheets/ArkuszStr2Unit.h"

TFArkuszStr2* FArkuszStr2 = nullptr;

TFArkuszStr2::TFArkuszStr2(QWidget* parent) : TClassPage(formSpec("TFArkuszStr2"), parent) {}
