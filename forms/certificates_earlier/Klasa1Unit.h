#pragma once
// The certificate after class I on the earlier blank "MEN-I/21/2".
// One instance, FKlasa1, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa1 : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa1(QWidget* parent = nullptr);
};

extern TFKlasa1* FKlasa1;
