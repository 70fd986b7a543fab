#include "forms/certificates_current/KoniecawyrUnit.h"

const TDocumentIdentity kKoniecawyrIdentity = {"TFKoniecawyr", "FKoniecawyr", "KoniecawyrUnit", "KONIECa WYR. TARVEK", dkKoniecaWyr,
                                          "MEN-I/23a-w/2 Świadectwo ukończenia tarvek z wyróżnieniem", false, "CancelButton"};

TFKoniecawyr* FKoniecawyr = nullptr;

TFKoniecawyr::TFKoniecawyr(QWidget* parent) : TDocumentForm(kKoniecawyrIdentity, parent) {}
