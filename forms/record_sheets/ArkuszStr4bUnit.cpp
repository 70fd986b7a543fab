#include "forms/record_sheets/ArkuszStr4bUnit.h"

TFArkuszStr4b* FArkuszStr4b = nullptr;

TFArkuszStr4b::TFArkuszStr4b(QWidget* parent) : TClassPage(formSpec("TFArkuszStr4b"), parent) {}
