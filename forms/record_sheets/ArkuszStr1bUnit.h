#pragma once
// The title page of the record sheet "MEN-I/42b/2".
// One instance, FArkuszStr1b, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFArkuszStr1b : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFArkuszStr1b(QWidget* parent = nullptr);
  // "Wczytaj szablon arkusza": the school's data of the stored template into the page.
  void WczytajSzablonButtonClick() { LoadSchoolDataButtonClick(); }
};

extern TFArkuszStr1b* FArkuszStr1b;
