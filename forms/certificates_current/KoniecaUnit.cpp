#include "forms/certificates_current/KoniecaUnit.h"

TFKonieca* FKonieca = nullptr;

TFKonieca::TFKonieca(QWidget* parent) : TDocumentForm(formSpec("TFKonieca"), parent) {}
