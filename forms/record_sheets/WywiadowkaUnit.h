#pragma once
// The sheet of grades for a parent meeting.
// One instance, FWywiadowka, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFWywiadowka : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFWywiadowka(QWidget* parent = nullptr);
};

extern TFWywiadowka* FWywiadowka;
