#pragma once
// The class III page of the record sheet "MEN-I/42b/2".
// One instance, FArkuszStr4b, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFArkuszStr4b : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFArkuszStr4b(QWidget* parent = nullptr);
};

extern TFArkuszStr4b* FArkuszStr4b;
