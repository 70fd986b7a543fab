#include "forms/record_sheets/ArkuszStr3bUnit.h"

TFArkuszStr3b* FArkuszStr3b = nullptr;

TFArkuszStr3b::TFArkuszStr3b(QWidget* parent) : TClassPage(formSpec("TFArkuszStr3b"), parent) {}
