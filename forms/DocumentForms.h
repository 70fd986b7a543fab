#pragma once
// The 22 document forms as a whole: in the order the student's rows are
// collected and handed out, and found by their class or by a document kind.
#include "forms/DocumentForm.h"

#include <string_view>
#include <vector>

// The instances in protocol order (after the student-data dialog, which
// comes first): the earlier certificates, the current certificates, the
// meeting sheet, the record-sheet pages 1 to 5, then 1b to 4b.
std::vector<TDocumentForm*> vFunDocumentForms();

// nullptr when no form has that class.
TDocumentForm* frmFunFormOfClass(std::string_view className);
// The form that holds the values of a kind's layout.
TDocumentForm* frmFunFormOfKind(TDocKind kind);
