#pragma once
// The student-data dialog.
// One instance, FDaneUcznia, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFDaneUcznia : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFDaneUcznia(QWidget* parent = nullptr);
};

extern TFDaneUcznia* FDaneUcznia;
