#pragma once
// The calibration editor: positions and fonts of every printed field.
// One instance, FKalibracja, made at start-up with the other windows and
// shown modally by the main window's two formatting commands.
//
// A layout is one table of the data folder's calibration file, an object
// one row of it. The objects of the layout being edited are the main
// window's list of the rows drawn last; every change the user applies is
// written to the file at once and the preview drawn again, with the
// selected object outlined in red.
#include "render/DocumentKinds.h"
#include "store/DataStore.h"
#include "store/Records.h"
#include "platform/SystemPath.h"
#include "toolkit/Form.h"

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// What the editor uses of the main window.
class TCalibrationHost {
 public:
  virtual ~TCalibrationHost() = default;
  virtual TDataStore* DataStore() = 0;
  // The rows of the layout drawn (or loaded) last.
  virtual std::vector<TCalibRecord>& CalibDataList() = 0;
  // The renderer, for the preview.
  virtual void vFunRysujSwiadectwo(TFormBase* form, TDocKind kind, int pages) = 0;
  // Ticks or unticks "Wyłącz kropki"; a change runs the box's own handling.
  virtual void vFunUstawBezKropek(bool checked) = 0;
  // Blanks both preview pictures.
  virtual void vFunWyczyscPodglad() = 0;
  // Reloads the student list and rebuilds the tree.
  virtual void vFunWczytajListeUczniow() = 0;
};

class TFKalibracja : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFKalibracja(QWidget* parent = nullptr);

  // Set by the opener before each showing: every object of a layout, or
  // only its value objects (names containing "ZMIENNA").
  bool bAllObjects = false;
  TCalibrationHost* Host = nullptr;

  // ---- Components ---------------------------------------------------------
  QLabel* Label1;
  QComboBox* TypSwiadectwaComboBox;
  QLabel* Label2;
  QComboBox* VariableComboBox;
  QGroupBox* GroupBox1;
  QLabel* X1Label;
  QLineEdit* X1Edit;
  QLabel* Y1Label;
  QLineEdit* Y1Edit;
  QLabel* X2Label;
  QLineEdit* X2Edit;
  QLabel* Y2Label;
  QLineEdit* Y2Edit;
  QLabel* Label3;
  QToolButton* LeftSpeedButton;
  QToolButton* RightSpeedButton;
  QLabel* Label4;
  QToolButton* UpSpeedButton;
  QToolButton* DownSpeedButton;
  QGroupBox* GroupBox2;
  QLabel* Label5;
  QToolButton* DownFontSizeSpeedButton;
  QLineEdit* FontSizeEdit;
  QToolButton* UpFontSizeSpeedButton;
  QLabel* Label6;
  QComboBox* FontsNameComboBox;
  QLabel* Label7;
  QComboBox* AdjustmentComboBox;
  QCheckBox* PogrubienieCheckBox;
  QCheckBox* KursywaCheckBox;
  QCheckBox* PodkreslenieCheckBox;
  QCheckBox* PrzekreslenieCheckBox;
  QPushButton* PrzywrocUstawieniaButton;
  QPushButton* SaveButton;
  QPushButton* CloseButton;

  // ---- Operations ---------------------------------------------------------
  // Loads the layout named in the layout list into the main window's list;
  // a failure is logged by the data store and leaves the list as it was.
  bool bFunLoadCalibSet();
  void vFunLoadFontList();
  void TypSwiadectwaComboBoxChange();
  void VariableComboBoxChange();
  // Draws the layout of that name from its form; a name that is no
  // layout of a document draws nothing.
  void vFunCalibPreview(const std::string& layout);
  void LeftSpeedButtonClick();
  void RightSpeedButtonClick();
  void UpSpeedButtonClick();
  void DownSpeedButtonClick();
  void UpFontSizeSpeedButtonClick();
  void DownFontSizeSpeedButtnClick();
  // The arrow keys in X1Edit move the object and apply it at once.
  void X1EditKeyDown(int key);
  void SaveButtonClick();
  void PrzywrocUstawieniaButtonClick();
  void CloseButtonClick();
  void vFunFillAllSampleData();

  // The layout names the list holds before its first showing.
  static const std::vector<std::string>& vFunDesignLayouts();

 protected:
  void FormShow() override;
  void FormClose(TCloseAction& action) override;
  // Escape and the window manager's close do what "Zamknij" does.
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void vFunBuild();
  // Moves one edit by delta; false (after the error box) when its text is
  // not a whole number.
  bool bFunNudge(QLineEdit* edit, int delta);
  // Moves both edges of a pair; stops at the first that is not a number.
  bool bFunMove(QLineEdit* first, QLineEdit* second, int delta);
  TSystemPath strFunCalibFile();
};

extern TFKalibracja* FKalibracja;
