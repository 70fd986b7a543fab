#include "forms/certificates_current/Klasa2awyrUnit.h"

TFKlasa2awyr* FKlasa2awyr = nullptr;

TFKlasa2awyr::TFKlasa2awyr(QWidget* parent) : TDocumentForm(formSpec("TFKlasa2awyr"), parent) {}
