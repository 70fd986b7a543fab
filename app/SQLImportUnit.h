#pragma once
// The progress window of the old-format import: which step runs ("Operacja:"
// and the step's text) and a bar over the step's rows. Fixed border without
// border icons, on top, centred on the screen. One instance, FSQLImport,
// made at start-up with the other windows; it keeps its texts and the bar's
// last position until the next import sets them again.
#include "store/Import.h"
#include "toolkit/Form.h"

class QLabel;
class QProgressBar;

class TFSQLImport : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFSQLImport(QWidget* parent = nullptr);

  QLabel* Label1;
  QLabel* InfoLabel;
  QProgressBar* ProgressBar;

  // What the import reports, shown here at once: a step sets the text and
  // the bar's range, every row written moves the bar.
  TImportProgress progress();

 protected:
  void FormShow() override;
};

extern TFSQLImport* FSQLImport;
