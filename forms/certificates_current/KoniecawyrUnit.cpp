#include "forms/certificates_current/KoniecawyrUnit.h"

TFKoniecawyr* FKoniecawyr = nullptr;

TFKoniecawyr::TFKoniecawyr(QWidget* parent) : TDialogForm("FKoniecawyr", parent) {}
