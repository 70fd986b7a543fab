#pragma once
// The school-leaving certificate with distinction on the current blank "MEN-I/23a-w/2".
// One instance, FKoniecawyr, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFKoniecawyr : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKoniecawyr(QWidget* parent = nullptr);
};

extern TFKoniecawyr* FKoniecawyr;
