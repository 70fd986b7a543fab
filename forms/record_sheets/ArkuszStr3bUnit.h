#pragma once
// The class II page of the record sheet "MEN-I/42b/2".
// One instance, FArkuszStr3b, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFArkuszStr3b : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFArkuszStr3b(QWidget* parent = nullptr);
};

extern TFArkuszStr3b* FArkuszStr3b;
