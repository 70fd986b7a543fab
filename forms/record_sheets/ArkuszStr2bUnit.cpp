#include "forms/record_sheets/ArkuszStr2bUnit.h"

TFArkuszStr2b* FArkuszStr2b = nullptr;

TFArkuszStr2b::TFArkuszStr2b(QWidget* parent) : TClassPage(formSpec("TFArkuszStr2b"), parent) {}
