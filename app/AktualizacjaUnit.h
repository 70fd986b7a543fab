#pragma once
// The update download window.
// One instance, FAktualizacja, made at start-up with the other windows.
#include "toolkit/Form.h"

class TFAktualizacja : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFAktualizacja(QWidget* parent = nullptr);
};

extern TFAktualizacja* FAktualizacja;
