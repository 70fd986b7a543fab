#include "forms/certificates_current/Klasa1awyrUnit.h"

TFKlasa1awyr* FKlasa1awyr = nullptr;

TFKlasa1awyr::TFKlasa1awyr(QWidget* parent) : TDocumentForm(formSpec("TFKlasa1awyr"), parent) {}
