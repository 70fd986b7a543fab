#pragma once
// The certificate with distinction after class I on the earlier blank "MEN-I/21-w/2".
// One instance, FKlasa1wyr, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKlasa1wyr : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKlasa1wyr(QWidget* parent = nullptr);
};

extern TFKlasa1wyr* FKlasa1wyr;
