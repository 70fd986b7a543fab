#pragma once
// The school-leaving certificate on the earlier blank "MEN-I/23/2".
// One instance, FKoniec, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKoniec : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKoniec(QWidget* parent = nullptr);
};

extern TFKoniec* FKoniec;
