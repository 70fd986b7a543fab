#pragma once
// The certificate with distinction after class II on the earlier blank "MEN-I/21-w/2".
// One instance, FKlasa2wyr, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa2wyr : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa2wyr(QWidget* parent = nullptr);
};

extern TFKlasa2wyr* FKlasa2wyr;
