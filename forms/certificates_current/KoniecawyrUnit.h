#pragma once
// The school-leaving certificate with distinction on the current blank "MEN-I/23a-w/2".
// One instance, FKoniecawyr, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFKoniecawyr : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFKoniecawyr(QWidget* parent = nullptr);
};

extern TFKoniecawyr* FKoniecawyr;
