#pragma once
// The student-data dialog "Dane ucznia": where a student's personal data are
// typed, and the first holder of the current student's values: every
// document form copies the personal data it prints from these fields.
// One instance, FDaneUcznia, made at start-up with the other windows.
#include "forms/DocumentForm.h"
#include "toolkit/Form.h"

#include <istream>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TTextBatch;

class TFDaneUcznia : public TDialogForm, public THolder {
  Q_OBJECT
 public:
  explicit TFDaneUcznia(QWidget* parent = nullptr);

  // In creation order, which is the order of the saved rows.
  QLineEdit* Imie_DATA_EDIT;
  QLineEdit* UrodzonyDnia_DATA_EDIT;
  QComboBox* Plec_DATA_COMBOBOX;
  QComboBox* UrodzonyRok_DATA_COMBOBOX;
  QComboBox* UrodzonyMiasto_DATA_COMBOBOX;
  QComboBox* UrodzonyWoj_DATA_COMBOBOX;
  QLineEdit* NrDziennika_DATA_EDIT;
  QLineEdit* Nazwisko_DATA_EDIT;
  QLineEdit* NrPesel_DATA_EDIT;
  QPushButton* OKButton;
  QPushButton* AnulujButton;

  bool bEditMode = false;       // editing a stored student (else a new one)
  std::string strStudentTable;  // the edited student's table

  // Empties the dialog for the next new student, keeping the birth year,
  // town, province and sex of the last one for the next student of the
  // class. Loading a student keeps nothing (vFunFormDataFromList).
  void vFunClearFormData() override;
  // The same into a batch that the caller commits.
  void vFunClearFormData(TTextBatch& batch);
  bool vFunFormDataToList(std::vector<TDataRecord>& list) override;
  void vFunFormDataFromList(const std::vector<TDataRecord>& list) override;
  // The import dialog hands every holder its open file; this one takes nothing.
  void vFunImportFromStream(std::istream&) {}

  void OKButtonClick();
  void AnulujButtonClick();

 protected:
  void FormShow() override;

 private:
  // Every field empty and no sex chosen, into the batch.
  void vFunEmptyFormData(TTextBatch& batch);
  bool bFunCheckFields();
};

extern TFDaneUcznia* FDaneUcznia;
