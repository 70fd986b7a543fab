#pragma once
// The import dialog "Importuj dane uczniów" for the student files of the
// sibling program ("*.dvt"): lists the students of a chosen file and starts
// the import of one of them. The main window offers it from controls that
// are hidden, so the user does not reach it.
// One instance, FImport, made at start-up with the other windows.
#include "toolkit/Form.h"
#include "platform/SystemPath.h"

#include <istream>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;
class TFileDialog;

// The students a file names, one per marker line "<DANE SWIADECTW DLA: name>",
// in file order (Windows-1250).
std::vector<std::string> vFunListaUczniowZPliku(std::istream& file);
// Reads the file up to and including the marker line of the student `name`
// (letters a to z compared without regard to case); false when no line
// names the student, with the whole file read.
bool bFunPrzejdzDoUcznia(std::istream& file, const std::string& name);

class TFImport : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFImport(QWidget* parent = nullptr);

  QListWidget* ListaUczniowListBox;
  QPushButton* WczytajPlikButton;
  QPushButton* AddButton;
  QPushButton* Button3;
  TFileDialog* OpenDialog;
  // The file chosen last (Windows-1250); empty at start.
  std::string strImportFileName;  // the chosen file, as shown
  TSystemPath pathImportFile;     // the same, to open

  void WczytajPlikButtonClick();
  void AddButtonClick();
  void Button3Click();
};

extern TFImport* FImport;
