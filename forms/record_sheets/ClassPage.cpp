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
  // The certificates that fill this page, with the page's number in their
  // descriptions.
  struct Offered {
    int index;
    int page;
  };
  std::vector<Offered> offered;
  for (int i = 0; i < kFormSpecCount; ++i)
    for (int p = 0; p < kFormSpecs[i].sheetPageCount; ++p)
      if (std::strcmp(kFormSpecs[i].sheetPages[p].pageClass, Identity.className) == 0)
        offered.push_back({i, kFormSpecs[i].sheetPages[p].number});
  const int choice = sources->currentIndex();
  if (choice < 0 || choice >= static_cast<int>(offered.size())) return;
  TDocumentForm* certificate = frmFunLiveForm(offered[static_cast<std::size_t>(choice)].index);
  if (!certificate) return;
  int column = 1;
  for (const char* name : kColumnLists)
    if (const auto* list = findComponentAs<QComboBox>(name)) column = list->currentIndex() + 1;
  const auto* names = findComponentAs<QCheckBox>(names::kSubjectNamesCheck);
  const bool subjectNames = names && names->isChecked();
  if (const int page = offered[static_cast<std::size_t>(choice)].page; page > 0)
    certificate->vFunCertToSheet(column, page, subjectNames);
  else
    certificate->vFunCertToSheet(column, subjectNames);
}

void TClassPage::FormShow() {
  TDocumentForm::FormShow();
  for (int i = 0; i < Spec->componentCount; ++i)
    if (const TComponentSpec& c = Spec->components[i]; c.kind == TSpecKind::Pick)
      if (auto* list = findComponentAs<QComboBox>(c.name); list && list->count() > 0) list->setCurrentIndex(0);
}
