#include "forms/record_sheets/ArkuszStr3Unit.h"

TFArkuszStr3* FArkuszStr3 = nullptr;

TFArkuszStr3::TFArkuszStr3(QWidget* parent) : TClassPage(formSpec("TFArkuszStr3"), parent) {}
