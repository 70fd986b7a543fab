#pragma once
// The about window "O programie": the program, its version and its maker.
// One instance, FOProgramie, made at start-up with the other windows.
#include "toolkit/Form.h"

class QLabel;
class QPushButton;
class TImage;

class TFOProgramie : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFOProgramie(QWidget* parent = nullptr);

  TImage* Image1;   // the program's icon, top right
  QLabel* Label1;   // the lines about the program and its maker
  QPushButton* ZamknijButton;

  void ZamknijButtonClick();

 protected:
  void FormShow() override;
};

extern TFOProgramie* FOProgramie;
