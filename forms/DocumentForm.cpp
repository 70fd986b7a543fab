#include "forms/DocumentForm.h"

#include "forms/ComponentNames.h"
#include "forms/DocumentForms.h"
#include "forms/FormFactory.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"
#include "render/jpeg/JpegImage.h"
#include "toolkit/Components.h"
#include "toolkit/Paper.h"
#include "toolkit/TextBatch.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <utility>

std::function<bool()> TDocumentForm::StudentSave;
std::function<const TComponentRegistry*()> TDocumentForm::StudentData;
std::function<const TComponentRegistry*()> TDocumentForm::TemplateDialog;
std::function<bool(bool)> TDocumentForm::TemplateReload;

namespace {

bool has(std::string_view name, const char* marker) { return name.find(marker) != std::string_view::npos; }

std::string lineRowName(const std::string& field, std::size_t index) {
  char number[24];
  std::snprintf(number, sizeof number, "%02zu", index + 1);
  return field + number;
}

void clearValue(QObject* component, TTextBatch& batch) {
  // A list that only takes its items loses its choice.
  if (auto* combo = qobject_cast<QComboBox*>(component); combo && !combo->isEditable()) {
    batch.vFunSetIndex(combo, -1);
    return;
  }
  batch.vFunSetText(component, "");
}

}  // namespace

void vFunProtocolClear(const TComponentRegistry& form) {
  if (TTextBatch* active = TTextBatch::batchFunActive()) return vFunProtocolClear(form, *active);
  TTextBatch batch;
  vFunProtocolClear(form, batch);
  batch.vFunCommit();
}

void vFunProtocolClear(const TComponentRegistry& form, TTextBatch& batch) {
  for (int i = 0; i < form.ComponentCount(); ++i) {
    QObject* component = form.Components(i);
    if (!component) continue;
    const std::string& name = form.RegisteredName(i);
    if (has(name, kEditMarker) || has(name, kComboMarker)) clearValue(component, batch);
    if (has(name, kMemoMarker)) batch.vFunSetLines(component, {});
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
    // A live component is the one its own name finds; a deleted one gives
    // no row.
    QObject* component = form.Components(i);
    if (!component) continue;
    const std::string& name = form.RegisteredName(i);
    for (const char* marker : {kEditMarker, kComboMarker, kMemoMarker}) {
      if (!has(name, marker)) continue;
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
  if (TTextBatch* active = TTextBatch::batchFunActive()) return vFunProtocolApply(form, tag, lineRows, list, *active);
  TTextBatch batch;
  vFunProtocolApply(form, tag, lineRows, list, batch);
  batch.vFunCommit();
}

void vFunProtocolApply(const TComponentRegistry& form, const std::string& tag, bool lineRows,
                       const std::vector<TDataRecord>& list, TTextBatch& batch) {
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
        batch.vFunSetText(component, r.value.str());
      }
    }
  }
  for (const auto& [memo, lines] : memoLines) batch.vFunSetLines(memo, lines);
}

namespace {

// The button panel along the bottom: the description's own components at
// their places, OK and the cancel button at the right.
QWidget* makePanel(TDocumentForm& form, int height) {
  auto* panel = form.Make<QWidget>("Panel1", &form);
  panel->setFixedHeight(height);
  auto* buttons = new QHBoxLayout(panel);
  buttons->setContentsMargins(8, 8, 8, 8);
  buttons->addStretch(1);
  return panel;
}

// The instances made from descriptions, by their place in the registry.
std::vector<TDocumentForm*>& liveForms() {
  static std::vector<TDocumentForm*> forms(static_cast<std::size_t>(kFormSpecCount), nullptr);
  return forms;
}

}  // namespace

TDocumentForm* frmFunLiveForm(int index) {
  if (index < 0 || index >= kFormSpecCount) return nullptr;
  return liveForms()[static_cast<std::size_t>(index)];
}

TDocumentForm::TDocumentForm(const TDocumentIdentity& identity, QWidget* parent)
    : TDialogForm(identity.global, parent), Identity(identity), Spec(nullptr) {
  setWindowTitle(QString::fromUtf8(identity.caption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  ClientArea = new QWidget(this);
  column->addWidget(ClientArea, 1);
  Panel1 = makePanel(*this, 41);
  column->addWidget(Panel1);
  auto* buttons = static_cast<QHBoxLayout*>(Panel1->layout());
  OKButton = Make<QPushButton>("OKButton", QStringLiteral("OK"), Panel1);
  CancelButton = Make<QPushButton>(identity.cancelButton, QStringLiteral("Anuluj"), Panel1);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  vFunOnClick(OKButton, [this] { OKButtonClick(); });
  vFunOnClick(CancelButton, [this] { CancelButtonClick(); });  // AnulujButtonClick, BitBtn1Click alike
}

TDocumentForm::TDocumentForm(const TFormSpec& desc, QWidget* parent)
    : TDialogForm(desc.identity.global, parent), Identity(desc.identity), Spec(&desc) {
  vFunBuild(desc);
  const auto index = static_cast<std::size_t>(&desc - kFormSpecs);
  if (index < liveForms().size()) liveForms()[index] = this;
}

TDocumentForm::~TDocumentForm() {
  for (TDocumentForm*& live : liveForms())
    if (live == this) live = nullptr;
}

void TDocumentForm::vFunBuild(const TFormSpec& desc) {
  setWindowTitle(QString::fromUtf8(desc.identity.caption));
  if (desc.show == TShowRule::Sheet)  // the panel's buttons close it; no box in the caption
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  else
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QFont font(QString::fromUtf8(desc.font));
  font.setPixelSize(desc.fontHeight);
  setFont(font);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  // The sides: a tab each (or one page without tabs), a scroll box, the
  // picture, and the components over it.
  QTabWidget* tabs = nullptr;
  if (desc.sideCount > 0 && desc.sides[0].tab) {
    tabs = Make<QTabWidget>("PageControl1", this);
    column->addWidget(tabs, 1);
  }
  std::vector<QWidget*> areas(static_cast<std::size_t>(desc.sideCount) + 1, nullptr);
  QWidget* pictureArea = nullptr;  // a side without a scroll box
  for (int i = 0; i < desc.sideCount; ++i) {
    const TSideSpec& side = desc.sides[i];
    QWidget* holder = this;
    if (tabs) {
      holder = Make<QWidget>(side.tab, tabs);
      tabs->addTab(holder, QString::fromUtf8(side.caption));
      auto* fill = new QVBoxLayout(holder);
      fill->setContentsMargins(0, 0, 0, 0);
    }
    // The side: its picture and all that lies on it, paper whatever the
    // desktop's theme.
    auto* area = new QWidget;
    vFunPaperSurface(area);
    auto* image = Make<TImage>(side.image, area);
    image->setStretch(true);
    if (!side.scroll) {
      // No scroll box: the picture fills the whole client area, and the
      // components lie on it at the places its size gives them.
      area->setFixedSize(desc.width, desc.height);
      image->setGeometry(0, 0, desc.width, desc.height);
      column->addWidget(area, 1);
      pictureArea = area;
    } else {
      auto* scroll = Make<TScrollBox>(side.scroll, holder);
      scroll->setWidgetResizable(false);
      scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      if (tabs) holder->layout()->addWidget(scroll);
      else column->addWidget(scroll, 1);
      area->setFixedSize(side.width, side.height);
      image->setGeometry(0, 0, side.width, side.height);
      scroll->setWidget(area);
    }
    areas[static_cast<std::size_t>(side.number)] = area;
  }
  ClientArea = desc.sideCount > 0 ? nullptr : new QWidget(this);
  if (ClientArea) column->addWidget(ClientArea, 1);
  Panel1 = makePanel(*this, desc.panelHeight);
  if (pictureArea) {
    // The buttons lie on the picture, along its bottom edge.
    Panel1->setParent(pictureArea);
    Panel1->setGeometry(0, desc.height - desc.panelHeight, desc.width, desc.panelHeight);
  } else {
    column->addWidget(Panel1);
  }

  // The components in creation order; then the keyboard's way through each
  // side: top to bottom, left to right, the "first" ones before the others
  // and the "last" ones after them.
  std::vector<std::vector<std::pair<const TComponentSpec*, QWidget*>>> focus(areas.size());
  std::vector<QWidget*> leaders;
  for (int i = 0; i < desc.componentCount; ++i) {
    const TComponentSpec& c = desc.components[i];
    const bool onPanel = c.side == 0 || c.side > desc.sideCount;
    QWidget* parent = onPanel ? Panel1 : areas[static_cast<std::size_t>(c.side)];
    const TSideScale scale = onPanel ? TSideScale {} : sideScale(desc.sides[c.side - 1]);
    QWidget* w = vFunMakeComponent(*this, desc, c, parent, scale);
    if (!onPanel && (c.kind == TSpecKind::Edit || c.kind == TSpecKind::Combo || c.kind == TSpecKind::Memo))
      focus[static_cast<std::size_t>(c.side)].push_back({&c, w});
    if (!onPanel && c.kind == TSpecKind::Dots) leaders.push_back(w);
  }
  // Rows of dots lie on the picture under every field: a leader running on
  // under a field shows only up to it.
  for (QWidget* leader : leaders) leader->lower();
  for (int i = 0; i < desc.sideCount; ++i)
    if (auto* image = findComponentAs<TImage>(desc.sides[i].image)) image->lower();
  std::vector<std::vector<QWidget*>> keyboardOrder;
  for (auto& side : focus) {
    std::stable_sort(side.begin(), side.end(), [](const auto& a, const auto& b) {
      auto group = [](const TComponentSpec* c) { return c->flags & sfTabFirst ? 0 : c->flags & sfTabLast ? 2 : 1; };
      if (group(a.first) != group(b.first)) return group(a.first) < group(b.first);
      if (a.first->at.y != b.first->at.y) return a.first->at.y < b.first->at.y;
      return a.first->at.x < b.first->at.x;
    });
    for (std::size_t k = 1; k < side.size(); ++k) QWidget::setTabOrder(side[k - 1].second, side[k].second);
    std::vector<QWidget*> order;
    for (const auto& field : side) order.push_back(field.second);
    if (!order.empty()) keyboardOrder.push_back(std::move(order));
  }
  // The window starts each show, and each side brought to the front, in the
  // first field of that way.
  setKeyboardOrder(std::move(keyboardOrder));

  auto* buttons = static_cast<QHBoxLayout*>(Panel1->layout());
  OKButton = Make<QPushButton>("OKButton", QStringLiteral("OK"), Panel1);
  CancelButton = Make<QPushButton>(desc.identity.cancelButton, QStringLiteral("Anuluj"), Panel1);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  vFunOnClick(OKButton, [this] { OKButtonClick(); });
  vFunOnClick(CancelButton, [this] { CancelButtonClick(); });
  for (const char* name : names::kSchoolDataButtons)
    if (QObject* load = findComponent(name)) vFunOnClick(load, [this] { LoadSchoolDataButtonClick(); });

  // The forms have a fixed border: the user does not resize them.
  setFixedBorder(true);
  if (desc.width > 0 && desc.height > 0) setFixedSize(desc.width, desc.height);
}

// The pictures are read the first time the form is shown: start-up makes
// every window, and most are never opened.
void TDocumentForm::vFunLoadPictures() {
  if (bPicturesLoaded_ || !Spec) return;
  bPicturesLoaded_ = true;
  const std::string folder = platform::programFolder();
  for (int i = 0; i < Spec->sideCount; ++i) {
    const TSideSpec& side = Spec->sides[i];
    auto* image = findComponentAs<TImage>(side.image);
    if (!image || folder.empty()) continue;
    const QImage picture = jpeg::readJpegFile(folder + "/" + side.picture);
    if (!picture.isNull()) image->setPicture(picture);
  }
}

// The height is set on every show; the window is then placed (centred, or
// at its top for a record-sheet page) wholly on the screen.
void TDocumentForm::FormShow() {
  vFunLoadPictures();
  if (!Spec) return;
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect whole = screen->geometry();
  if (Spec->show == TShowRule::Certificate) {
    setFrameHeight(std::max(100, whole.height() - 50));
  } else if (Spec->show == TShowRule::Sheet) {
    setFrameTop(whole.top() + 20);
    setFrameHeight(std::max(100, whole.height() - 100));
    for (int i = 0; i < Spec->sideCount; ++i)
      if (auto* scroll = Spec->sides[i].scroll ? findComponentAs<QScrollArea>(Spec->sides[i].scroll) : nullptr)
        scroll->verticalScrollBar()->setValue(0);
  }
}

void TDocumentForm::vFunClearFormData() { vFunProtocolClear(*this); }

bool TDocumentForm::vFunFormDataToList(std::vector<TDataRecord>& list) {
  vFunProtocolToList(*this, Identity.tag, Identity.lineRows, list);
  return true;
}

void TDocumentForm::vFunFormDataFromList(const std::vector<TDataRecord>& list) {
  // Emptied, filled from the rows and given the personal data as one batch:
  // only the fields whose text changes are touched.
  // The form's own clear and copy of the personal data run as they are (a
  // form may keep a field for the next student), their reads and writes
  // going into the batch.
  TTextBatch batch;
  {
    const TTextBatch::TScope routed(batch);
    vFunClearFormData();
    vFunProtocolApply(*this, Identity.tag, Identity.lineRows, list, batch);
    vFunCopyPersonalData();
  }
  batch.vFunCommit();
}

namespace {

std::string textOf(const TComponentRegistry* dialog, const char* name) {
  QObject* component = dialog ? dialog->findComponent(name) : nullptr;
  return component ? strFunGetText(component) : std::string();
}

void setValue(const TComponentRegistry& form, const char* name, const std::string& text, TTextBatch& batch) {
  QObject* component = form.findComponent(name);
  if (!component) return;
  if (kindOf(component) == TComponentKind::Memo) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
      lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    batch.vFunSetLines(component, lines);
  } else {
    batch.vFunSetText(component, text);
  }
}

void setValue(const TComponentRegistry& form, const char* name, const std::string& text) {
  if (TTextBatch* active = TTextBatch::batchFunActive()) return setValue(form, name, text, *active);
  TTextBatch batch;
  setValue(form, name, text, batch);
  batch.vFunCommit();
}

}  // namespace

void TDocumentForm::vFunCopyPersonalData() {
  if (TTextBatch* active = TTextBatch::batchFunActive()) return vFunCopyPersonalData(*active);
  TTextBatch batch;
  vFunCopyPersonalData(batch);
  batch.vFunCommit();
}

void TDocumentForm::vFunCopyPersonalData(TTextBatch& batch) {
  if (!Spec) return;
  const std::string male = cp1250("mężczyzna");
  const TComponentRegistry* dialog = StudentData ? StudentData() : nullptr;
  for (int i = 0; i < Spec->personalCount; ++i) {
    const TPersonalSpec& p = Spec->personal[i];
    QObject* field = findComponent(p.field);
    if (!field || (p.onlyIntoEmpty && !batch.strFunText(field).empty())) continue;
    std::string value;
    for (int k = 0; k < p.tokenCount; ++k) {
      const TPersonalToken& t = p.tokens[k];
      switch (t.kind) {
        case TPersonalToken::Literal: value += cp1250FromUtf8(t.text); break;
        case TPersonalToken::Component: value += textOf(dialog, t.text); break;
        case TPersonalToken::Ending:
          // Compared afresh for each ending: "mężczyzna" exactly takes the
          // male ending, any other sex the female one, no sex chosen
          // included (as the dialog loads any other stored sex as "kobieta").
          value += cp1250FromUtf8(textOf(dialog, names::kPlec) == male ? t.text : t.female);
          break;
        case TPersonalToken::Pesel: {
          // Only the characters the number has: a short number leaves the
          // later boxes empty.
          const std::string pesel = textOf(dialog, names::kNrPesel);
          if (static_cast<std::size_t>(t.index) <= pesel.size()) value += pesel[static_cast<std::size_t>(t.index) - 1];
          break;
        }
      }
    }
    batch.vFunSetText(field, value);
  }
}

void TDocumentForm::vFunFillSampleData() {
  if (!Spec) return;
  if (Spec->samplesClear) vFunClearFormData();
  for (int i = 0; i < Spec->componentCount; ++i)
    if (const TComponentSpec& c = Spec->components[i]; c.sample) setValue(*this, c.name, cp1250FromUtf8(c.sample));
}

void TDocumentForm::vFunNewStudentDefaults() {
  if (!Spec) return;
  for (int i = 0; i < Spec->componentCount; ++i)
    if (const TComponentSpec& c = Spec->components[i]; c.newStudent) setValue(*this, c.name, cp1250FromUtf8(c.newStudent));
}

void TDocumentForm::LoadSchoolDataButtonClick() {
  if (!Spec || Spec->templateCount == 0) return;
  // The stored template, read afresh (into an emptied dialog unless the form
  // keeps what the dialog holds); when it cannot be read (the dialog has
  // said why) the form keeps what it shows.
  if (TemplateReload && !TemplateReload(!Spec->templateKeep)) return;
  const TComponentRegistry* dialog = TemplateDialog ? TemplateDialog() : nullptr;
  if (!dialog) return;
  for (int i = 0; i < Spec->templateCount; ++i) {
    const TTemplatePair& p = Spec->templatePairs[i];
    QObject* from = dialog->findComponent(p.dialogField);
    QObject* to = findComponent(p.formField);
    if (p.fill && from && to) bFunSetText(to, strFunGetText(from));
  }
}

void TDocumentForm::vFunSchoolDataToTemplate() {
  if (!Spec) return;
  const TComponentRegistry* dialog = TemplateDialog ? TemplateDialog() : nullptr;
  if (!dialog) return;
  for (int i = 0; i < Spec->templateCount; ++i) {
    const TTemplatePair& p = Spec->templatePairs[i];
    QObject* from = findComponent(p.formField);
    QObject* to = dialog->findComponent(p.dialogField);
    if (p.take && from && to) bFunSetText(to, strFunGetText(from));
  }
}

namespace {

// A description's text (UTF-8) with each "%s" taking the next value
// (Windows-1250) in turn, whole: no value is cut.
std::string composed(const char* format, const std::vector<std::string>& values) {
  const std::string text = cp1250FromUtf8(format);
  std::string out;
  std::size_t from = 0, next = 0;
  for (std::size_t at; (at = text.find("%s", from)) != std::string::npos; from = at + 2) {
    out.append(text, from, at - from);
    if (next < values.size()) out += values[next++];
  }
  return out.append(text, from, std::string::npos);
}

int memoLineLimit(const TFormSpec* desc, const std::string& name) {
  if (!desc) return 0;
  for (int i = 0; i < desc->componentCount; ++i)
    if (name == desc->components[i].name) return desc->components[i].lines;
  return 0;
}

}  // namespace

void TDocumentForm::vFunCertToSheet(int column, bool subjectNames) { vFunCertToSheet(column, 0, subjectNames); }

void TDocumentForm::vFunCertToSheet(int column, int page, bool subjectNames) {
  if (!Spec) return;
  const TSheetPage* target = nullptr;
  for (int i = 0; i < Spec->sheetPageCount; ++i)
    if (Spec->sheetPages[i].number == page) target = &Spec->sheetPages[i];
  if (!target) return;
  const TSheetColumn* cells = nullptr;
  for (int i = 0; i < target->columnCount; ++i)
    if (target->columns[i].column == column) cells = &target->columns[i];
  TDocumentForm* sheet = frmFunFormOfClass(target->pageClass);
  if (!cells || !sheet) return;
  const bool names = subjectNames && target->names;
  auto textOf = [this](const char* name) {
    const QObject* source = findComponent(name);
    return source ? strFunGetText(source) : std::string();
  };
  for (int i = 0; i < Spec->sheetStepCount; ++i) {
    const TSheetStep& step = Spec->sheetSteps[i];
    if (step.kind == TSheetStep::Name && !names) continue;
    std::string name = step.target;
    if (step.kind != TSheetStep::Name) name.insert(name.find("_DATA_"), cells->suffix);
    QObject* field = sheet->findComponent(name);
    if (!field) continue;
    std::vector<std::string> values;
    for (int k = 0; k < step.sourceCount; ++k) values.push_back(textOf(step.sources[k]));
    if (step.kind == TSheetStep::Lines) {
      // The non-empty lines in order, never more than the field holds.
      const int limit = memoLineLimit(sheet->Spec, name);
      std::vector<std::string> lines;
      for (std::string& value : values)
        if (!value.empty() && (limit <= 0 || static_cast<int>(lines.size()) < limit)) lines.push_back(std::move(value));
      vFunSetLines(field, lines);
    } else if (step.label) {
      bFunSetText(field, cp1250FromUtf8(Spec->sheetLabel ? Spec->sheetLabel : ""));
    } else {
      bFunSetText(field, step.format ? composed(step.format, values) : values.empty() ? std::string() : values.front());
    }
  }
}

bool TDocumentForm::bFunBeforeSave() {
  if (!Spec) return true;
  for (int i = 0; i < Spec->componentCount; ++i) {
    const TComponentSpec& c = Spec->components[i];
    if (!(c.flags & sfBlankOnOk)) continue;
    if (QObject* field = findComponent(c.name); field && strFunGetText(field).empty()) bFunSetText(field, " ");
  }
  return true;
}

void TDocumentForm::OKButtonClick() {
  if (!bFunBeforeSave()) return;
  if (StudentSave && StudentSave()) setModalResult(mrOk);
}

void TDocumentForm::CancelButtonClick() { setModalResult(mrCancel); }
void TDocumentForm::AnulujButtonClick() { CancelButtonClick(); }
void TDocumentForm::BitBtn1Click() { CancelButtonClick(); }
