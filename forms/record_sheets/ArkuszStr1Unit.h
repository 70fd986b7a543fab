#pragma once
// The title page of the record sheet "MEN-I/42/2".
// One instance, FArkuszStr1, made at start-up with the other windows.
#include "forms/DocumentForm.h"

class TFArkuszStr1 : public TDocumentForm {
  Q_OBJECT
 public:
  explicit TFArkuszStr1(QWidget* parent = nullptr);
  // "Wczytaj szablon arkusza": the school's data of the stored template into the page.
  void WczytajSzablonButtonClick() { LoadSchoolDataButtonClick(); }
};

extern TFArkuszStr1* FArkuszStr1;
