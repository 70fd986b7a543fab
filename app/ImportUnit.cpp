#include "app/ImportUnit.h"

TFImport* FImport = nullptr;

TFImport::TFImport(QWidget* parent) : TDialogForm("FImport", parent) {}
