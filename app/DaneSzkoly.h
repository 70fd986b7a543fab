#pragma once
// The school-template dialog.
// One instance, FDaneSzkoly, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFDaneSzkoly : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFDaneSzkoly(QWidget* parent = nullptr);
};

extern TFDaneSzkoly* FDaneSzkoly;
