#include "forms/certificates_current/Klasa2awyrUnit.h"

TFKlasa2awyr* FKlasa2awyr = nullptr;

TFKlasa2awyr::TFKlasa2awyr(QWidget* parent) : TDialogForm("FKlasa2awyr", parent) {}
