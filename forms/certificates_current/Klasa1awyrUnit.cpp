#include "forms/certificates_current/Klasa1awyrUnit.h"

const TDocumentIdentity kKlasa1awyrIdentity = {"TFKlasa1awyr", "FKlasa1awyr", "Klasa1awyrUnit", "KLASA Ia WYR. TARVEK", dkKlasaIaWyr,
                                          "MEN-I/21a-w/2 Świadectwo ukończenia klasy I z wyr. tarvek ogólnokształcącego", false, "CancelButton"};

TFKlasa1awyr* FKlasa1awyr = nullptr;

TFKlasa1awyr::TFKlasa1awyr(QWidget* parent) : TDocumentForm(kKlasa1awyrIdentity, parent) {}
