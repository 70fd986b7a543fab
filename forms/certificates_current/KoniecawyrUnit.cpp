#include "forms/certificates_current/KoniecawyrUnit.h"

TFKoniecawyr* FKoniecawyr = nullptr;

TFKoniecawyr::TFKoniecawyr(QWidget* parent) : TDocumentForm(formSpec("TFKoniecawyr"), parent) {}
