#include "forms/certificates_earlier/Klasa2Unit.h"

const TDocumentIdentity kKlasa2Identity = {"TFKlasa2", "FKlasa2", "Klasa2Unit", "KLASA II TARVEK", dkKlasaII,
                                          "Świadectwo ukończenia klasy II tarvek ogólnokształcącego", false, "CancelButton"};

TFKlasa2* FKlasa2 = nullptr;

TFKlasa2::TFKlasa2(QWidget* parent) : TDocumentForm(kKlasa2Identity, parent) {}
