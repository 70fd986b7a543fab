#include "forms/record_sheets/WywiadowkaUnit.h"

#include "toolkit/Components.h"

TFWywiadowka* FWywiadowka = nullptr;

TFWywiadowka::TFWywiadowka(QWidget* parent) : TDocumentForm(formSpec("TFWywiadowka"), parent) {
  if (QObject* button = findComponent("SzablonButton")) vFunOnClick(button, [this] { SzablonButtonClick(); });
}
