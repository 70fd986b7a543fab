#include "forms/record_sheets/ArkuszStr5Unit.h"

TFArkuszStr5* FArkuszStr5 = nullptr;

TFArkuszStr5::TFArkuszStr5(QWidget* parent) : TClassPage(formSpec("TFArkuszStr5"), parent) {}
