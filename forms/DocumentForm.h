#pragma once
// The holders of the current student's values: the student-data dialog and
// the 22 document forms. The main window never keeps a student apart from
// them; it collects their rows to save a student and hands them the rows of
// a loaded one. The document forms share one engine; each form class adds
// only its identity and its own components.
#include "forms/FormSpec.h"
#include "render/DocumentKinds.h"
#include "store/Records.h"
#include "toolkit/Form.h"

#include <functional>
#include <string>
#include <vector>

class QPushButton;
class TTextBatch;
class QWidget;

// What every holder offers.
class THolder {
 public:
  virtual ~THolder() = default;
  // Empties every value field (lists keep their items).
  virtual void vFunClearFormData() = 0;
  // Appends the holder's rows in the order of its components; always true.
  virtual bool vFunFormDataToList(std::vector<TDataRecord>& list) = 0;
  // Clears, then takes the rows of the list that carry the holder's tag.
  virtual void vFunFormDataFromList(const std::vector<TDataRecord>& list) = 0;
};

// The markers that make a component a value field, tested as substrings.
inline constexpr const char* kEditMarker = "_DATA_EDIT";
inline constexpr const char* kComboMarker = "_DATA_COMBOBOX";
inline constexpr const char* kMemoMarker = "_DATA_MEMO";

// The protocol over a form's components, for any holder. With lineRows a
// multi-line field travels as one row per line, named after the field and
// the line's number in two digits ("%s%02d", from 01); otherwise as one row
// holding its whole text.
void vFunProtocolClear(const TComponentRegistry& form);
// The same into a batch that the caller commits.
void vFunProtocolClear(const TComponentRegistry& form, TTextBatch& batch);
void vFunProtocolToList(const TComponentRegistry& form, const std::string& tag, bool lineRows,
                        std::vector<TDataRecord>& list);
// Applies the rows of that tag to a cleared form.
void vFunProtocolApply(const TComponentRegistry& form, const std::string& tag, bool lineRows,
                       const std::vector<TDataRecord>& list);
void vFunProtocolApply(const TComponentRegistry& form, const std::string& tag, bool lineRows,
                       const std::vector<TDataRecord>& list, TTextBatch& batch);

class TDocumentForm : public TDialogForm, public THolder {
  Q_OBJECT
 public:
  // A form made from its description: window, sides, pictures, components.
  TDocumentForm(const TFormSpec& desc, QWidget* parent);
  // A bare form of that identity with an empty client area (for code that
  // makes its own components).
  TDocumentForm(const TDocumentIdentity& identity, QWidget* parent);
  ~TDocumentForm() override;

  const TDocumentIdentity& Identity;
  // The description it was made from; nullptr for a bare form.
  const TFormSpec* const Spec;
  std::string strFunTag() const { return Identity.tag; }

  void vFunClearFormData() override;
  bool vFunFormDataToList(std::vector<TDataRecord>& list) override;
  // After the rows, a document form copies the personal data it prints
  // from the student-data dialog.
  void vFunFormDataFromList(const std::vector<TDataRecord>& list) override;

  // Fills the form with sample values for calibration previews.
  virtual void vFunFillSampleData();
  // Puts in what a new student starts with (after a clear).
  void vFunNewStudentDefaults();
  // The school-template exchange: fill the form's school fields from the
  // template dialog's edits, and put them back into those edits.
  // Both copy the pairs of the form's description; a form without pairs
  // does nothing.
  virtual void LoadSchoolDataButtonClick();
  virtual void vFunSchoolDataToTemplate();
  // The copy of a certificate's grades into a column of a record-sheet
  // class page, as the description's "sheet" statements give it: the page
  // of that number (without a number: the description's page that has
  // none), the column counted from 1, the subject names only on request
  // and only on a page that has them. A page or column the description
  // does not handle changes nothing. Only the page's components change;
  // nothing is saved.
  virtual void vFunCertToSheet(int column, bool subjectNames);
  void vFunCertToSheet(int column, int page, bool subjectNames);

  // Saves the whole student through the main window; closes only when the
  // save succeeded.
  void OKButtonClick();
  // Closes; nothing is reverted here (the caller reloads the stored student).
  // The forms name this handler after their cancel button.
  void CancelButtonClick();
  void AnulujButtonClick();
  void BitBtn1Click();

  // The area above the buttons (a bare form's own components go here), and
  // the button panel along the bottom.
  QWidget* ClientArea;
  QWidget* Panel1;
  QPushButton* OKButton;
  QPushButton* CancelButton;

  // The student save of the main window, which every holder's OK runs.
  static std::function<bool()> StudentSave;
  // The student-data dialog, whose fields the forms copy on every load.
  static std::function<const TComponentRegistry*()> StudentData;
  // The school-template dialog, whose edits hold the template's values, and
  // its reload of the stored template (false when it could not be read),
  // into edits emptied first when emptyFirst is true.
  static std::function<const TComponentRegistry*()> TemplateDialog;
  static std::function<bool(bool emptyFirst)> TemplateReload;

 protected:
  void FormShow() override;
  // Personal data from the student-data dialog (name, birth, PESEL, endings).
  virtual void vFunCopyPersonalData();
  // The same into a batch that the caller commits: a field it reads shows
  // what the batch holds for it.
  void vFunCopyPersonalData(TTextBatch& batch);
  // Prepares fields before the save; false keeps the form open unsaved.
  virtual bool bFunBeforeSave();

 private:
  void vFunBuild(const TFormSpec& desc);
  void vFunLoadPictures();
  bool bPicturesLoaded_ = false;
};

// The form made from the description at that index of the registry, or
// nullptr while it does not exist.
TDocumentForm* frmFunLiveForm(int index);
