#pragma once
// The print dialog: printer, sides and print rectangles.
// One instance, FDrukuj, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFDrukuj : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFDrukuj(QWidget* parent = nullptr);

  // How many page pictures the last render drew for printing: 1 or 2.
  int iPageCount = 2;
};

extern TFDrukuj* FDrukuj;
