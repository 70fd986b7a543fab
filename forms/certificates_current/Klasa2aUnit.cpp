#include "forms/certificates_current/Klasa2aUnit.h"

TFKlasa2a* FKlasa2a = nullptr;

TFKlasa2a::TFKlasa2a(QWidget* parent) : TDocumentForm(formSpec("TFKlasa2a"), parent) {}
