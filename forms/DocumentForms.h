#pragma once
// The 22 document forms as a whole, from their registry: in the order the
// student's rows are collected and handed out, found by their class, by a
// document kind or by the name under which the main window lists them.
#include "forms/DocumentForm.h"

#include <optional>
#include <string_view>
#include <vector>

// The instances in protocol order (after the student-data dialog, which
// comes first): the earlier certificates, the current certificates, the
// meeting sheet, the record-sheet pages 1 to 5, then 1b to 4b.
std::vector<TDocumentForm*> vFunDocumentForms();

// nullptr when no form has that class.
TDocumentForm* frmFunFormOfClass(std::string_view className);
// The form that holds the values of a kind's layout, and its description.
TDocumentForm* frmFunFormOfKind(TDocKind kind);
const TFormSpec* specFunOfKind(TDocKind kind);

// The kind of the document of that name (Windows-1250), e.g.
// "MEN-I/21a/2 świad. klasa I"; nullopt for any other text.
std::optional<TDocKind> optFunKindOfDocumentName(std::string_view name);

// The documents the student tree offers under each student, in their order.
std::vector<const TFormSpec*> vFunTreeDocuments();
