#include "forms/record_sheets/ArkuszStr1bUnit.h"

#include "toolkit/Components.h"

TFArkuszStr1b* FArkuszStr1b = nullptr;

TFArkuszStr1b::TFArkuszStr1b(QWidget* parent) : TDocumentForm(formSpec("TFArkuszStr1b"), parent) {
  if (QObject* button = findComponent("WczytajSzablonButton")) vFunOnClick(button, [this] { WczytajSzablonButtonClick(); });
}
