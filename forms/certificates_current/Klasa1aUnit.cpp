#include "forms/certificates_current/Klasa1aUnit.h"

TFKlasa1a* FKlasa1a = nullptr;

TFKlasa1a::TFKlasa1a(QWidget* parent) : TDocumentForm(formSpec("TFKlasa1a"), parent) {}
