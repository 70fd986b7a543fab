#pragma once
// The wait window: a picture with a progress bar under it, shown while a
// student's table is written. Borderless, on top, centred on the screen; the
// student save shows it, sets the bar and closes it. No buttons, no input.
#include "toolkit/Components.h"
#include "toolkit/Form.h"

class QProgressBar;

class TFWait : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFWait(QWidget* parent = nullptr);

  TImage* Image1;
  // Its range (0 to 100 at first) and position are set from outside.
  QProgressBar* ProgressBar;

 protected:
  // Centres the window and draws the picture at once, before the caller's
  // long work on the GUI thread begins.
  void FormShow() override;
};

extern TFWait* FWait;
