#pragma once
// How start-up makes each document form: written by the build from the
// registry of forms, in protocol order (the index of kFormSpecs).
#include "forms/DocumentForm.h"

struct TFormMaker {
  const char* className;
  TDocumentForm* (*make)(QWidget* owner);  // makes the instance and sets its global
  void (*forget)();                        // clears the global after the instance is gone
};

extern const TFormMaker kFormMakers[];
