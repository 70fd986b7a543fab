#include "forms/record_sheets/ArkuszStr1Unit.h"

TFArkuszStr1* FArkuszStr1 = nullptr;

TFArkuszStr1::TFArkuszStr1(QWidget* parent) : TDocumentForm(formSpec("TFArkuszStr1"), parent) {}
