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

// A window made at start-up, in creation order: a document form (its index
// in kFormSpecs and kFormMakers) or a window of the program's own code
// (form -1), which start-up knows by its global's name.
struct TWindowSlot {
  const char* global;
  int form;
};

// Every window start-up makes, the main window first; written from the
// registry's "created" column.
extern const TWindowSlot kWindowOrder[];
extern const int kWindowCount;
