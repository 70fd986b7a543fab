#include "forms/certificates_current/Klasa1aUnit.h"

const TDocumentIdentity kKlasa1aIdentity = {"TFKlasa1a", "FKlasa1a", "Klasa1aUnit", "KLASA Ia TARVEK", dkKlasaIa,
                                          "MEN-I/21a/2 Świadectwo ukończenia klasy I tarvek ogólnokształcącego.", false, "CancelButton"};

TFKlasa1a* FKlasa1a = nullptr;

TFKlasa1a::TFKlasa1a(QWidget* parent) : TDocumentForm(kKlasa1aIdentity, parent) {}
