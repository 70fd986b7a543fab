#pragma once
// The sheet of grades for a parent meeting.
// One instance, FWywiadowka, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFWywiadowka : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFWywiadowka(QWidget* parent = nullptr);
  // "Wczytaj dane z szablonu": the school's data of the stored template into the page.
  void SzablonButtonClick() { LoadSchoolDataButtonClick(); }
};

extern TFWywiadowka* FWywiadowka;
