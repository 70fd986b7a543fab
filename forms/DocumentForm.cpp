#include "forms/DocumentForm.h"

#include "toolkit/Components.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

std::function<bool()> TDocumentForm::StudentSave;

namespace {

bool has(std::string_view name, const char* marker) { return name.find(marker) != std::string_view::npos; }

std::string lineRowName(const std::string& field, std::size_t index) {
  char number[24];
  std::snprintf(number, sizeof number, "%02zu", index + 1);
  return field + number;
}

void clearValue(QObject* component) {
  // A list that only takes its items loses its choice.
  if (auto* combo = qobject_cast<QComboBox*>(component); combo && !combo->isEditable()) {
    combo->setCurrentIndex(-1);
    return;
  }
  bFunSetText(component, "");
}

}  // namespace

void vFunProtocolClear(const TComponentRegistry& form) {
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const std::string name = form.ComponentName(i).toStdString();
    QObject* component = form.Components(i);
    if (!component) continue;
    if (has(name, kEditMarker) || has(name, kComboMarker)) clearValue(component);
    if (has(name, kMemoMarker)) vFunSetLines(component, {});
  }
}

void vFunProtocolToList(const TComponentRegistry& form, const std::string& tag, bool lineRows,
                        std::vector<TDataRecord>& list) {
  auto row = [&](const std::string& name, const std::string& value) {
    TDataRecord r;
    r.id = tag;
    r.comp_name = name;
    r.value = value;
    list.push_back(std::move(r));
  };
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const std::string name = form.ComponentName(i).toStdString();
    for (const char* marker : {kEditMarker, kComboMarker, kMemoMarker}) {
      if (!has(name, marker)) continue;
      QObject* component = form.findComponent(name);
      if (!component) continue;
      if (marker != kMemoMarker) {
        row(name, strFunGetText(component));
      } else if (lineRows) {
        const std::vector<std::string> lines = vFunGetLines(component);
        for (std::size_t n = 0; n < lines.size(); ++n) row(lineRowName(name, n), lines[n]);
      } else {
        row(name, strFunGetText(component));
      }
    }
  }
}

void vFunProtocolApply(const TComponentRegistry& form, const std::string& tag, bool lineRows,
                       const std::vector<TDataRecord>& list) {
  // The lines of each multi-line field are gathered first and set once, so
  // an empty first line is kept like any other.
  std::vector<std::pair<QObject*, std::vector<std::string>>> memoLines;
  auto linesOf = [&memoLines](QObject* memo) -> std::vector<std::string>& {
    for (auto& [m, lines] : memoLines)
      if (m == memo) return lines;
    return memoLines.emplace_back(memo, std::vector<std::string> {}).second;
  };
  for (const TDataRecord& r : list) {
    if (r.id.str() != tag) continue;
    const std::string& name = r.comp_name.str();
    for (const char* marker : {kEditMarker, kComboMarker, kMemoMarker}) {
      if (!has(name, marker)) continue;
      if (marker == kMemoMarker && lineRows) {
        // The line's number is not read: lines come back in row order.
        if (name.size() < 2) continue;
        if (QObject* memo = form.findComponent(name.substr(0, name.size() - 2))) linesOf(memo).push_back(r.value.str());
      } else if (QObject* component = form.findComponent(name)) {
        bFunSetText(component, r.value.str());
      }
    }
  }
  for (const auto& [memo, lines] : memoLines) vFunSetLines(memo, lines);
}

TDocumentForm::TDocumentForm(const TDocumentIdentity& identity, QWidget* parent)
    : TDialogForm(identity.global, parent), Identity(identity) {
  setWindowTitle(QString::fromUtf8(identity.caption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  ClientArea = new QWidget(this);
  column->addWidget(ClientArea, 1);
  Panel1 = Make<QWidget>("Panel1", this);
  Panel1->setFixedHeight(41);
  column->addWidget(Panel1);
  auto* buttons = new QHBoxLayout(Panel1);
  buttons->setContentsMargins(8, 8, 8, 8);
  buttons->addStretch(1);
  OKButton = Make<QPushButton>("OKButton", QStringLiteral("OK"), Panel1);
  CancelButton = Make<QPushButton>(identity.cancelButton, QStringLiteral("Anuluj"), Panel1);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  vFunOnClick(OKButton, [this] { OKButtonClick(); });
  vFunOnClick(CancelButton, [this] { CancelButtonClick(); });  // AnulujButtonClick, BitBtn1Click alike
}

void TDocumentForm::vFunClearFormData() { vFunProtocolClear(*this); }

bool TDocumentForm::vFunFormDataToList(std::vector<TDataRecord>& list) {
  vFunProtocolToList(*this, Identity.tag, Identity.lineRows, list);
  return true;
}

void TDocumentForm::vFunFormDataFromList(const std::vector<TDataRecord>& list) {
  vFunClearFormData();
  vFunProtocolApply(*this, Identity.tag, Identity.lineRows, list);
  vFunCopyPersonalData();
}

void TDocumentForm::OKButtonClick() {
  if (!bFunBeforeSave()) return;
  if (StudentSave && StudentSave()) setModalResult(mrOk);
}

void TDocumentForm::CancelButtonClick() { setModalResult(mrCancel); }
void TDocumentForm::AnulujButtonClick() { CancelButtonClick(); }
void TDocumentForm::BitBtn1Click() { CancelButtonClick(); }
