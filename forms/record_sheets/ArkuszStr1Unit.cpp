#include "forms/record_sheets/ArkuszStr1Unit.h"

#include "toolkit/Components.h"

TFArkuszStr1* FArkuszStr1 = nullptr;

TFArkuszStr1::TFArkuszStr1(QWidget* parent) : TDocumentForm(formSpec("TFArkuszStr1"), parent) {
  if (QObject* button = findComponent("WczytajSzablonButton")) vFunOnClick(button, [this] { WczytajSzablonButtonClick(); });
}
