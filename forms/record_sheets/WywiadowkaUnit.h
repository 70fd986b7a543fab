#pragma once
// The sheet for parent meetings ("wywiadówka").
// One instance, FWywiadowka, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFWywiadowka : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFWywiadowka(QWidget* parent = nullptr);
};

extern TFWywiadowka* FWywiadowka;
