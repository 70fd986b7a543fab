#pragma once
// The certificate after class II on the earlier blank "MEN-I/21/2".
// One instance, FKlasa2, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa2 : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa2(QWidget* parent = nullptr);
};

extern TFKlasa2* FKlasa2;
