#pragma once
// The about window.
// One instance, FOProgramie, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFOProgramie : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFOProgramie(QWidget* parent = nullptr);
};

extern TFOProgramie* FOProgramie;
