#pragma once
// The certificate after class I with distinction on the current blank "MEN-I/21a-w/2".
// One instance, FKlasa1awyr, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFKlasa1awyr : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKlasa1awyr(QWidget* parent = nullptr);
};

extern TFKlasa1awyr* FKlasa1awyr;
