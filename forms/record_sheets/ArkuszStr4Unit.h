#pragma once
// Page 4 of the record sheet "MEN-I/42/2".
// One instance, FArkuszStr4, made at start-up with the other windows.
#include "forms/record_sheets/ClassPage.h"

class TFArkuszStr4 : public TClassPage {
  Q_OBJECT
 public:
  explicit TFArkuszStr4(QWidget* parent = nullptr);
};

extern TFArkuszStr4* FArkuszStr4;
