#pragma once
// The certificate after class I on the current blank "MEN-I/21a/2".
// One instance, FKlasa1a, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa1a : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa1a(QWidget* parent = nullptr);
};

extern TFKlasa1a* FKlasa1a;
