#pragma once
// Page 2 of the record sheet "MEN-I/42/2".
// One instance, FArkuszStr2, made at start-up with the other windows.
#include "forms/record_sheets/ClassPage.h"

class TFArkuszStr2 : public TClassPage {
  Q_OBJECT
 public:
  explicit TFArkuszStr2(QWidget* parent = nullptr);
};

extern TFArkuszStr2* FArkuszStr2;
