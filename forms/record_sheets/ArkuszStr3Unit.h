#pragma once
// Page 3 of the record sheet "MEN-I/42/2".
// One instance, FArkuszStr3, made at start-up with the other windows.
#include "forms/record_sheets/ClassPage.h"

class TFArkuszStr3 : public TClassPage {
  Q_OBJECT
 public:
  explicit TFArkuszStr3(QWidget* parent = nullptr);
};

extern TFArkuszStr3* FArkuszStr3;
