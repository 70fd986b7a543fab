#pragma once
// The school-leaving certificate on the current blank "MEN-I/23a/2".
// One instance, FKonieca, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKonieca : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKonieca(QWidget* parent = nullptr);
};

extern TFKonieca* FKonieca;
