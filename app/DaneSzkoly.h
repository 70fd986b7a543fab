#pragma once
// The school-template dialog "Szablon danych": the school's own data (year,
// class, name, number, patron, town, subjects, languages, place and date of
// issue, the title block of the record sheet), typed once over pictures of
// the blanks and stored as the template "szablony.sqset".
// It is also the holder of the template while hidden: a document form's fill
// button has it emptied and reloaded, then copies its edits; in the other
// direction a chosen form puts its school fields into the edits.
// One instance, FDaneSzkoly, made at start-up with the other windows.
#include "toolkit/Form.h"

#include <string>

class QComboBox;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QWidget;
class TDocumentForm;
class TImage;

class TFDaneSzkoly : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFDaneSzkoly(QWidget* parent = nullptr);

  // The template's edits are found by name ("ZMIENNA_..._DATA_EDIT"); they
  // are made in the order of the stored rows.
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QScrollArea* ScrollBox1;
  TImage* Image1;
  TImage* Image2;
  QWidget* Panel1;
  QPushButton* OKButton;
  QPushButton* AnulujButton;
  QPushButton* LoadTemplateButton;
  QComboBox* DocTypeComboBox;

  // Empties every edit of both tabs.
  void vFunClearFormData();
  // Reads the stored template into the edits by their names. A failed read
  // is shown ("Błąd podczas odczytu danych.") and leaves the edits as they
  // were; the result tells the caller, so a form's fill can then copy
  // nothing. A template file without its table reads as an empty template.
  bool bFunLoadTemplate();
  void vFunLoadTemplate() { bFunLoadTemplate(); }
  // Stores the edits as the template, one row per edit in creation order;
  // closes the dialog when the template is stored, and keeps it open with
  // what was typed after showing why it could not be stored.
  void vFunSaveTemplate();

  void OKButtonClick();
  void AnulujButtonClick();
  // Takes the school data of the document chosen in DocTypeComboBox, as the
  // current student's form holds it; stores nothing.
  void LoadTemplateButtonClick();

  // The form whose school data the list's item takes; nullptr for no item.
  static TDocumentForm* frmFunTemplateSource(int index);

 protected:
  // Empties, loads the template, gives empty school years the current ones,
  // and stops the offer to make the template before a document is edited.
  void FormShow() override;
};

extern TFDaneSzkoly* FDaneSzkoly;
