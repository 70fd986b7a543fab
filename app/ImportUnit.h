#pragma once
// The import dialog for the sibling program's student files (hidden from the user).
// One instance, FImport, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFImport : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFImport(QWidget* parent = nullptr);
};

extern TFImport* FImport;
