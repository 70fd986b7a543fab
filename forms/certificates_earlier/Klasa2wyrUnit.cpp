#include "forms/certificates_earlier/Klasa2wyrUnit.h"

const TDocumentIdentity kKlasa2wyrIdentity = {"TFKlasa2wyr", "FKlasa2wyr", "Klasa2wyrUnit", "KLASA II Z WYR. TARVEK", dkKlasaIIWyr,
                                          "Świadectwo ukończenia klasy II tarvek z wyróżnieniem", false, "CancelButton"};

TFKlasa2wyr* FKlasa2wyr = nullptr;

TFKlasa2wyr::TFKlasa2wyr(QWidget* parent) : TDocumentForm(kKlasa2wyrIdentity, parent) {}
