#include "forms/certificates_earlier/Klasa1wyrUnit.h"

TFKlasa1wyr* FKlasa1wyr = nullptr;

TFKlasa1wyr::TFKlasa1wyr(QWidget* parent) : TDocumentForm(formSpec("TFKlasa1wyr"), parent) {}
