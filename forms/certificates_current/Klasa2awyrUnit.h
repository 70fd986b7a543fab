#pragma once
// The certificate after class II with distinction on the current blank "MEN-I/21a-w/2".
// One instance, FKlasa2awyr, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFKlasa2awyr : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKlasa2awyr(QWidget* parent = nullptr);
};

extern TFKlasa2awyr* FKlasa2awyr;
