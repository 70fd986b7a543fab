#include "forms/certificates_earlier/KoniecwyrUnit.h"

TFKoniecwyr* FKoniecwyr = nullptr;

TFKoniecwyr::TFKoniecwyr(QWidget* parent) : TDialogForm("FKoniecwyr", parent) {}
