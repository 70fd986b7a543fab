#pragma once
// The certificate after class II with distinction on the earlier blank "MEN-I/21-w/2".
// One instance, FKlasa2wyr, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFKlasa2wyr : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKlasa2wyr(QWidget* parent = nullptr);
};

extern TFKlasa2wyr* FKlasa2wyr;
