#pragma once
// The certificate with distinction after class II on the current blank "MEN-I/21a-w/2".
// One instance, FKlasa2awyr, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa2awyr : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa2awyr(QWidget* parent = nullptr);
};

extern TFKlasa2awyr* FKlasa2awyr;
