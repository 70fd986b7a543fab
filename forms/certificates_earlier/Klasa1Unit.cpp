#include "forms/certificates_earlier/Klasa1Unit.h"

TFKlasa1* FKlasa1 = nullptr;

TFKlasa1::TFKlasa1(QWidget* parent) : TDocumentForm(formSpec("TFKlasa1"), parent) {}
