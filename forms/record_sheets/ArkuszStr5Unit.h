#pragma once
// Page 5 of the record sheet "MEN-I/42/2".
// One instance, FArkuszStr5, made at start-up with the other windows.
#include "forms/record_sheets/ClassPage.h"

class TFArkuszStr5 : public TClassPage {
  Q_OBJECT
 public:
  explicit TFArkuszStr5(QWidget* parent = nullptr);
};

extern TFArkuszStr5* FArkuszStr5;
