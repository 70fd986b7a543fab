#include "forms/certificates_earlier/Klasa1Unit.h"

const TDocumentIdentity kKlasa1Identity = {"TFKlasa1", "FKlasa1", "Klasa1Unit", "KLASA I TARVEK", dkKlasaI,
                                          "Świadectwo ukończenia klasy I tarvek ogólnokształcącego", false, "CancelButton"};

TFKlasa1* FKlasa1 = nullptr;

TFKlasa1::TFKlasa1(QWidget* parent) : TDocumentForm(kKlasa1Identity, parent) {}
