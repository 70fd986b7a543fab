#pragma once
// The certificate with distinction after class I on the current blank "MEN-I/21a-w/2".
// One instance, FKlasa1awyr, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa1awyr : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa1awyr(QWidget* parent = nullptr);
};

extern TFKlasa1awyr* FKlasa1awyr;
