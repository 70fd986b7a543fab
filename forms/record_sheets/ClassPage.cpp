#include "forms/record_sheets/ClassPage.h"

#include "forms/ComponentNames.h"
#include "toolkit/Components.h"

#include <QCheckBox>
#include <QComboBox>

#include <cstring>
#include <string_view>

std::function<void(TFormBase& form, TDocKind kind)> TClassPage::PrintColumn;

using names::kClearButtons;
using names::kColumnLists;
using names::kColumnPrintLists;
using names::kLoadButtons;
using names::kSourceLists;

TClassPage::TClassPage(const TFormSpec& desc, QWidget* parent) : TDocumentForm(desc, parent) {
  for (const char* name : kClearButtons)
    if (QObject* button = findComponent(name)) vFunOnClick(button, [this] { WyczyscDaneButtonClick(); });
  for (const char* name : kLoadButtons)
    if (QObject* button = findComponent(name); button && name != std::string_view(desc.identity.cancelButton))
      vFunOnClick(button, [this] { vFunLoadFromCertificate(); });
  if (QObject* button = findComponent(names::kColumnPrintButton))
    vFunOnClick(button, [this] { DrukujWybranaKolumneButtonClick(); });
}

void TClassPage::WyczyscDaneButtonClick() { vFunClearFormData(); }

std::optional<TDocKind> TClassPage::optFunColumnKind() const {
  for (const char* name : kColumnPrintLists)
    if (const auto* list = findComponentAs<QComboBox>(name)) {
      const int kind = Identity.kind + 1 + std::max(0, list->currentIndex());
      if (const auto info = optFunDocKind(kind)) return info->kind;
    }
  return std::nullopt;
}

void TClassPage::DrukujWybranaKolumneButtonClick() {
  if (const auto kind = optFunColumnKind(); kind && PrintColumn) PrintColumn(*this, *kind);
}

void TClassPage::vFunLoadFromCertificate() {
  const QComboBox* sources = nullptr;
  for (const char* name : kSourceLists)
    if (!sources) sources = findComponentAs<QComboBox>(name);
  if (!sources) return;
  // The chosen item names its certificate: the one whose description gives
  // this item ("sheet item") and fills this page.
  const int item = sources->currentIndex() + 1;
  const TSheetPage* page = nullptr;
  int index = -1;
  for (int i = 0; i < kFormSpecCount && !page; ++i)
    for (int p = 0; p < kFormSpecs[i].sheetPageCount && item > 0; ++p)
      if (kFormSpecs[i].sheetItem == item && std::strcmp(kFormSpecs[i].sheetPages[p].pageClass, Identity.className) == 0) {
        page = &kFormSpecs[i].sheetPages[p];
        index = i;
      }
  if (!page) return;
  TDocumentForm* certificate = frmFunLiveForm(index);
  if (!certificate) return;
  int column = 1;
  for (const char* name : kColumnLists)
    if (const auto* list = findComponentAs<QComboBox>(name)) column = list->currentIndex() + 1;
  const auto* names = findComponentAs<QCheckBox>(names::kSubjectNamesCheck);
  const bool subjectNames = names && names->isChecked();
  if (page->number > 0)
    certificate->vFunCertToSheet(column, page->number, subjectNames);
  else
    certificate->vFunCertToSheet(column, subjectNames);
}

void TClassPage::FormShow() {
  TDocumentForm::FormShow();
  for (int i = 0; i < Spec->componentCount; ++i)
    if (const TComponentSpec& c = Spec->components[i]; c.kind == TSpecKind::Pick)
      if (auto* list = findComponentAs<QComboBox>(c.name); list && list->count() > 0) list->setCurrentIndex(0);
}
