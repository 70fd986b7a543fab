#pragma once
// The calibration editor: positions and fonts of every printed field.
// One instance, FKalibracja, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFKalibracja : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKalibracja(QWidget* parent = nullptr);
};

extern TFKalibracja* FKalibracja;
