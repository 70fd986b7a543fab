#pragma once
// The form instance of each document kind: the global window of the class
// the kinds table names for it (FKlasa1a for "TFKlasa1a").
#include "render/DocumentKinds.h"

class TFormBase;

// nullptr for a kind outside 0..35 or while the windows are not made.
TFormBase* frmFunFormOfKind(TDocKind kind);
