#include "forms/record_sheets/ArkuszStr1bUnit.h"

TFArkuszStr1b* FArkuszStr1b = nullptr;

TFArkuszStr1b::TFArkuszStr1b(QWidget* parent) : TDocumentForm(formSpec("TFArkuszStr1b"), parent) {}
