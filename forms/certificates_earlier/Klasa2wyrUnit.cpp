#include "forms/certificates_earlier/Klasa2wyrUnit.h"

TFKlasa2wyr* FKlasa2wyr = nullptr;

TFKlasa2wyr::TFKlasa2wyr(QWidget* parent) : TDocumentForm(formSpec("TFKlasa2wyr"), parent) {}
