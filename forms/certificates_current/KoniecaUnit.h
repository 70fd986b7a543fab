#pragma once
// The school-leaving certificate on the current blank "MEN-I/23a/2".
// One instance, FKonieca, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFKonieca : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKonieca(QWidget* parent = nullptr);
};

extern TFKonieca* FKonieca;
