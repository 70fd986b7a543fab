#include "app/SQLImportUnit.h"

TFSQLImport* FSQLImport = nullptr;

TFSQLImport::TFSQLImport(QWidget* parent) : TDialogForm("FSQLImport", parent) {}
