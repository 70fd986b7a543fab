#pragma once
// Page 1 of the record sheet "MEN-I/42/2".
// One instance, FArkuszStr1, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFArkuszStr1 : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFArkuszStr1(QWidget* parent = nullptr);
};

extern TFArkuszStr1* FArkuszStr1;
