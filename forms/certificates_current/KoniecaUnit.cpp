#include "forms/certificates_current/KoniecaUnit.h"

const TDocumentIdentity kKoniecaIdentity = {"TFKonieca", "FKonieca", "KoniecaUnit", "KONIECa TARVEK", dkKonieca,
                                          "MEN-I/23a/2 Świadectwo ukończenia tarvek ogólnokształcącego", false, "CancelButton"};

TFKonieca* FKonieca = nullptr;

TFKonieca::TFKonieca(QWidget* parent) : TDocumentForm(kKoniecaIdentity, parent) {}
