#pragma once
// The class-one page of the record sheet "MEN-I/42b/2".
// One instance, FArkuszStr2b, made at start-up with the other windows.
#include "forms/record_sheets/ClassPage.h"

class TFArkuszStr2b : public TClassPage {
  Q_OBJECT
 public:
  explicit TFArkuszStr2b(QWidget* parent = nullptr);
};

extern TFArkuszStr2b* FArkuszStr2b;
