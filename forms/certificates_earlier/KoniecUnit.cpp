#include "forms/certificates_earlier/KoniecUnit.h"

const TDocumentIdentity kKoniecIdentity = {"TFKoniec", "FKoniec", "KoniecUnit", "KONIEC TARVEK", dkKoniec,
                                          "Świadectwo ukończenia tarvek", false, "CancelButton"};

TFKoniec* FKoniec = nullptr;

TFKoniec::TFKoniec(QWidget* parent) : TDocumentForm(kKoniecIdentity, parent) {}
