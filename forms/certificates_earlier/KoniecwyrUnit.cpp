#include "forms/certificates_earlier/KoniecwyrUnit.h"

TFKoniecwyr* FKoniecwyr = nullptr;

TFKoniecwyr::TFKoniecwyr(QWidget* parent) : TDocumentForm(formSpec("TFKoniecwyr"), parent) {}
