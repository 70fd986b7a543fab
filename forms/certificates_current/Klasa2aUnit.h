#pragma once
// The certificate after class II on the current blank "MEN-I/21a/2".
// One instance, FKlasa2a, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa2a : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa2a(QWidget* parent = nullptr);
};

extern TFKlasa2a* FKlasa2a;
