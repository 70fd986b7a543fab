#include "app/OProgramieUnit.h"

TFOProgramie* FOProgramie = nullptr;

TFOProgramie::TFOProgramie(QWidget* parent) : TDialogForm("FOProgramie", parent) {}
