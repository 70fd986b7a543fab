#include "forms/certificates_current/Klasa2aUnit.h"

// Stored files carry this tag for this form; the pairing of the two class-II
// forms with their tags is kept as it is.
const TDocumentIdentity kKlasa2aIdentity = {"TFKlasa2a", "FKlasa2a", "Klasa2aUnit", "KLASA IIa WYR. TARVEK", dkKlasaIIa,
                                          "MEN-I/21a/2 Świadectwo ukończenia klasy II tarvek ogólnokształcącego", false, "CancelButton"};

TFKlasa2a* FKlasa2a = nullptr;

TFKlasa2a::TFKlasa2a(QWidget* parent) : TDocumentForm(kKlasa2aIdentity, parent) {}
