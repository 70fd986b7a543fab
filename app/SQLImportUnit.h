#pragma once
// The progress window of the old-format import.
// One instance, FSQLImport, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFSQLImport : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFSQLImport(QWidget* parent = nullptr);
};

extern TFSQLImport* FSQLImport;
