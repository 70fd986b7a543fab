#pragma once
// The certificate after class I with distinction on the earlier blank "MEN-I/21-w/2".
// One instance, FKlasa1wyr, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFKlasa1wyr : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKlasa1wyr(QWidget* parent = nullptr);
};

extern TFKlasa1wyr* FKlasa1wyr;
