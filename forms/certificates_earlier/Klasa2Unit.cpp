#include "forms/certificates_earlier/Klasa2Unit.h"

TFKlasa2* FKlasa2 = nullptr;

TFKlasa2::TFKlasa2(QWidget* parent) : TDocumentForm(formSpec("TFKlasa2"), parent) {}
