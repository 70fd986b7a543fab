#pragma once
// The log viewer.
// One instance, FLogi, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFLogi : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFLogi(QWidget* parent = nullptr);
};

extern TFLogi* FLogi;
