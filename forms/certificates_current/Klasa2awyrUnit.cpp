#include "forms/certificates_current/Klasa2awyrUnit.h"

// Stored files carry this tag for this form; the pairing of the two class-II
// forms with their tags is kept as it is.
const TDocumentIdentity kKlasa2awyrIdentity = {"TFKlasa2awyr", "FKlasa2awyr", "Klasa2awyrUnit", "KLASA IIa TARVEK", dkKlasaIIaWyr,
                                          "MEN-I/21a-w/2 Świadectwo ukończenia klasy II z wyr. tarvek ogólnokształcącego", false, "CancelButton"};

TFKlasa2awyr* FKlasa2awyr = nullptr;

TFKlasa2awyr::TFKlasa2awyr(QWidget* parent) : TDocumentForm(kKlasa2awyrIdentity, parent) {}
