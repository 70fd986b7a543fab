#include "forms/certificates_earlier/Klasa1wyrUnit.h"

const TDocumentIdentity kKlasa1wyrIdentity = {"TFKlasa1wyr", "FKlasa1wyr", "Klasa1wyrUnit", "KLASA I Z WYR. TARVEK", dkKlasaIWyr,
                                          "Świadectwo ukończenia klasy I tarvek z wyróżnieniem", false, "CancelButton"};

TFKlasa1wyr* FKlasa1wyr = nullptr;

TFKlasa1wyr::TFKlasa1wyr(QWidget* parent) : TDocumentForm(kKlasa1wyrIdentity, parent) {}
