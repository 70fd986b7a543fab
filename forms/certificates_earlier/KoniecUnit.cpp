#include "forms/certificates_earlier/KoniecUnit.h"

TFKoniec* FKoniec = nullptr;

TFKoniec::TFKoniec(QWidget* parent) : TDocumentForm(formSpec("TFKoniec"), parent) {}
