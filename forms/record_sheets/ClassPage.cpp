#include "forms/record_sheets/ClassPage.h"

#include "toolkit/Components.h"

#include <QComboBox>

std::function<void(TFormBase& form, TDocKind kind)> TClassPage::PrintColumn;

namespace {

// The panel's components by their names on the pages of either edition.
constexpr const char* kClearButtons[] = {"WyczyscDaneButton", "BitBtn2"};
constexpr const char* kLoadButtons[] = {"WczytajDaneZSwiadectwaButton", "LoadDataToSeetButton", "BitBtn1"};
constexpr const char* kColumnPrintLists[] = {"KolumnaDrukComboBox", "ColumnPrintComboBox"};

}  // namespace

TClassPage::TClassPage(const TFormSpec& spec, QWidget* parent) : TDocumentForm(spec, parent) {
  for (const char* name : kClearButtons)
    if (QObject* button = findComponent(name)) vFunOnClick(button, [this] { WyczyscDaneButtonClick(); });
  for (const char* name : kLoadButtons)
    if (QObject* button = findComponent(name); button && name != std::string_view(spec.identity.cancelButton))
      vFunOnClick(button, [this] { vFunLoadFromCertificate(); });
  if (QObject* button = findComponent("DrukujWybranaKolumneButton"))
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

void TClassPage::FormShow() {
  TDocumentForm::FormShow();
  for (int i = 0; i < Spec->componentCount; ++i)
    if (const TComponentSpec& c = Spec->components[i]; c.kind == TSpecKind::Pick)
      if (auto* list = findComponentAs<QComboBox>(c.name); list && list->count() > 0) list->setCurrentIndex(0);
}
