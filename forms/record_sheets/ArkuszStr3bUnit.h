#pragma once
// The class-two page of the record sheet "MEN-I/42b/2".
// One instance, FArkuszStr3b, made at start-up with the other windows.
#include "forms/record_sheets/ClassPage.h"

class TFArkuszStr3b : public TClassPage {
  Q_OBJECT
 public:
  explicit TFArkuszStr3b(QWidget* parent = nullptr);
};

extern TFArkuszStr3b* FArkuszStr3b;
