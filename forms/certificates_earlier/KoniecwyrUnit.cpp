#include "forms/certificates_earlier/KoniecwyrUnit.h"

const TDocumentIdentity kKoniecwyrIdentity = {"TFKoniecwyr", "FKoniecwyr", "KoniecwyrUnit", "KONIEC Z WYR. TARVEK", dkKoniecWyr,
                                          "Świadectwo ukończenia tarvek z wyróżnieniem", false, "CancelButton"};

TFKoniecwyr* FKoniecwyr = nullptr;

TFKoniecwyr::TFKoniecwyr(QWidget* parent) : TDocumentForm(kKoniecwyrIdentity, parent) {}
