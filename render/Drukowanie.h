#pragma once
// The print dialog: printer, sides and print rectangles.
// One instance, FDrukuj, made at start-up with the other windows. Whoever
// shows it has just drawn the document for printing into the data store's
// two page pictures and set iPageCount to its number of sides.
#include "render/PrintJob.h"
#include "store/SQLImportUnit.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

#include <QPageLayout>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPicture;
class QPrinter;
class QPushButton;
class QToolButton;

// The printer set-up dialog as a component: runs the system's settings of
// the printer object's printer (a queue's, or the page set-up of a PDF
// file); the printer object keeps what the user confirmed.
class TPrinterSetupDialog : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  bool Execute(QPrinter& printer);
};

class TFDrukuj : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFDrukuj(QWidget* parent = nullptr);
  ~TFDrukuj() override;

  // ---- Components ---------------------------------------------------------
  QComboBox* DrukarkiComboBox;
  QComboBox* DuplexComboBox;
  QCheckBox* cbRotateSecondPage;
  QComboBox* MarginesyComboBox;
  QLineEdit* Strona1LewyEdit;
  QLineEdit* Strona1GornyEdit;
  QLineEdit* Strona1PrawyEdit;
  QLineEdit* Strona1DolnyEdit;
  QLineEdit* Strona2LewyEdit;
  QLineEdit* Strona2GornyEdit;
  QLineEdit* Strona2PrawyEdit;
  QLineEdit* Strona2DolnyEdit;
  QToolButton* SpeedButton[17];  // SpeedButton[1] to SpeedButton[16]; [0] is unused
  QPushButton* DrukujButton;
  QPushButton* AnulujButton;
  QPushButton* PomocButton;
  QPushButton* BitBtn1;
  QPushButton* SaveNewButton;
  QPushButton* DeleteButton;
  QPushButton* ResetButton;
  TPrinterSetupDialog* PrinterSetupDialog;
  // Names the file that a print goes to when it is written as PDF.
  TFileDialog* PdfSaveDialog;

  // ---- State --------------------------------------------------------------
  // Sides to print: 1 or 2; any other value prints nothing. Set by the caller.
  int iPageCount = 0;
  // What the pages are of, which names the print jobs: the document and the
  // student (Windows-1250). Set by the caller with iPageCount.
  std::string strJobTitle;
  // The margin sets of the data folder's settings file, refilled at every
  // showing and after every change of the sets.
  std::vector<TMarginRecord> MarginList;
  // The data store whose page pictures are printed; set at start-up.
  TDataStore* DataStore = nullptr;

  // The entry of the printer list when no printer is installed: the print
  // is written as a PDF file that the user names.
  static const char* const kPdfEntry;

  // ---- Operations ---------------------------------------------------------
  void FormShow() override;
  void DrukarkiComboBoxChange();
  void vFunUstawDrukarke();
  bool bFunLoadMarginList();
  void MarginesyComboBoxChange();
  void SaveNewButtonClick();
  void DeleteButtonClick();
  void ResetButtonClick();
  void SpeedButton1Click() { vFunNudge(1); }
  void SpeedButton2Click() { vFunNudge(2); }
  void SpeedButton3Click() { vFunNudge(3); }
  void SpeedButton4Click() { vFunNudge(4); }
  void SpeedButton5Click() { vFunNudge(5); }
  void SpeedButton6Click() { vFunNudge(6); }
  void SpeedButton7Click() { vFunNudge(7); }
  void SpeedButton8Click() { vFunNudge(8); }
  void SpeedButton9Click() { vFunNudge(9); }
  void SpeedButton10Click() { vFunNudge(10); }
  void SpeedButton11Click() { vFunNudge(11); }
  void SpeedButton12Click() { vFunNudge(12); }
  void SpeedButton13Click() { vFunNudge(13); }
  void SpeedButton14Click() { vFunNudge(14); }
  void SpeedButton15Click() { vFunNudge(15); }
  void SpeedButton16Click() { vFunNudge(16); }
  void DrukujButtonClick();
  void BitBtn1Click();
  void PomocButtonClick();
  void AnulujButtonClick();
  static void vFunRotatePage180(QPicture* picture);

  // The printer object: the printer chosen and the settings of its next job.
  QPrinter& Printer();

 private:
  void vFunNudge(int button);
  // The rectangle of a side in millimetres, as its four edits read now.
  TEdges edgesFunOfSide(int side) const;
  // Asks for the file when the print is written as PDF; false when cancelled.
  bool bFunChooseOutput();
  // One job of those sides; jobSide names the job after one side of a
  // document printed as two jobs (0: after the whole document).
  bool bFunPrintSides(std::initializer_list<int> sides, int jobSide = 0);
  void vFunSelectCurrentPrinter();

  // Which printer the printer object prints on: a queue's name, or empty
  // for a PDF file.
  QString strFunPrinterKey();

  std::unique_ptr<QPrinter> printer_;
  // The sheet the user confirmed in the settings of the printer named by
  // setUpPrinter_; prints on that printer use it in place of A4 portrait.
  std::optional<QPageLayout> setUpSheet_;
  QString setUpPrinter_;
  bool pdfOnly_ = false;  // no printer installed: the list offers the PDF file alone
};

extern TFDrukuj* FDrukuj;
