#include "forms/DocumentForms.h"

#include "forms/FormMakers.h"
#include "platform/Cp1250.h"

#include <algorithm>
#include <cstring>
#include <string>

std::vector<TDocumentForm*> vFunDocumentForms() {
  std::vector<TDocumentForm*> forms;
  for (int i = 0; i < kFormSpecCount; ++i)
    if (TDocumentForm* form = frmFunLiveForm(i)) forms.push_back(form);
  return forms;
}

TDocumentForm* frmFunFormOfClass(std::string_view className) {
  for (TDocumentForm* form : vFunDocumentForms())
    if (className == form->Identity.className) return form;
  return nullptr;
}

const TFormSpec* specFunOfKind(TDocKind kind) {
  const auto info = optFunDocKind(kind);
  if (!info) return nullptr;
  // A form draws its whole kind; a single column of a record-sheet page is
  // drawn from the form of the page, whose table its own table extends
  // ("tarvek_arkusz_str2" -> "tarvek_arkusz_str2_kol1").
  const std::string table = info->table;
  for (int i = 0; i < kFormSpecCount; ++i)
    if (kFormSpecs[i].identity.kind == kind) return &kFormSpecs[i];
  for (int i = 0; i < kFormSpecCount; ++i) {
    const std::string whole = kDocKinds[static_cast<std::size_t>(kFormSpecs[i].identity.kind)].table;
    if (table.rfind(whole + "_kol", 0) == 0) return &kFormSpecs[i];
  }
  return nullptr;
}

TDocumentForm* frmFunFormOfKind(TDocKind kind) {
  const TFormSpec* desc = specFunOfKind(kind);
  return desc ? frmFunLiveForm(static_cast<int>(desc - kFormSpecs)) : nullptr;
}

std::optional<TDocKind> optFunKindOfDocumentName(std::string_view name) {
  for (int i = 0; i < kFormSpecCount; ++i)
    if (cp1250FromUtf8(kFormSpecs[i].documentName) == name) return kFormSpecs[i].identity.kind;
  return std::nullopt;
}

std::vector<const TFormSpec*> vFunTreeDocuments() {
  std::vector<const TFormSpec*> documents;
  for (int i = 0; i < kFormSpecCount; ++i)
    if (kFormSpecs[i].treePosition > 0) documents.push_back(&kFormSpecs[i]);
  std::sort(documents.begin(), documents.end(),
            [](const TFormSpec* a, const TFormSpec* b) { return a->treePosition < b->treePosition; });
  return documents;
}
