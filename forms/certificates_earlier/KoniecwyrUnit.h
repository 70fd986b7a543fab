#pragma once
// The school-leaving certificate with distinction on the earlier blank "MEN-I/23-w/2".
// One instance, FKoniecwyr, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKoniecwyr : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKoniecwyr(QWidget* parent = nullptr);
};

extern TFKoniecwyr* FKoniecwyr;
