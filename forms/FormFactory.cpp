#include "forms/FormFactory.h"

#include "toolkit/Components.h"
#include "toolkit/Form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPageWidth = 885.0, kPageHeight = 1314.0;

QString qt(const char* utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); }

QStringList itemsOf(const TComponentSpec& c) {
  QStringList items;
  for (int i = 0; i < c.itemCount; ++i) items << QString::fromUtf8(c.items[i]);
  return items;
}

void applyStates(QWidget* w, const TComponentSpec& c) {
  if (c.flags & sfDisabled) w->setEnabled(false);
}

QWidget* makeEdit(TFormBase& form, const TComponentSpec& c, QWidget* parent) {
  auto* edit = form.Make<QLineEdit>(c.name, parent);
  vFunSetTypingLimit(edit, c.maxLength);
  if (c.flags & sfReadOnly) edit->setReadOnly(true);
  if (c.text) edit->setText(QString::fromUtf8(c.text));
  applyStates(edit, c);
  return edit;
}

QWidget* makeCombo(TFormBase& form, const TComponentSpec& c, QWidget* parent) {
  auto* combo = form.Make<QComboBox>(c.name, parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->addItems(itemsOf(c));
  combo->setCurrentIndex(-1);
  combo->setEditText(QString());
  vFunSetTypingLimit(combo, c.maxLength);
  if (c.flags & sfReadOnly && combo->lineEdit()) combo->lineEdit()->setReadOnly(true);
  applyStates(combo, c);
  return combo;
}

int lineCount(const QPlainTextEdit* memo) { return memo->document()->isEmpty() ? 0 : memo->document()->blockCount(); }

// The line limit of a memo: after every change (typed, pasted, or set by the
// program: loaded rows, samples, copies) a memo holding more than its limit
// keeps its first lines, and Enter is refused while it holds exactly its
// limit (with a beep and the limit shown beside the memo). Trimming changes
// the text again; that change finds nothing to do.
class TMemoLineLimit : public QObject {
 public:
  TMemoLineLimit(QPlainTextEdit* memo, int lines) : QObject(memo), memo_(memo), lines_(lines) {
    memo->installEventFilter(this);
    connect(memo, &QPlainTextEdit::textChanged, this, [this] {
      if (lineCount(memo_) > lines_) vFunLimitMemoLines(memo_, lines_);
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == memo_ && event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if ((key == Qt::Key_Return || key == Qt::Key_Enter) && lineCount(memo_) == lines_) {
        // Refused, and said so at once: what she types next goes on in
        // the last line.
        vFunTellRefused(memo_, QString::fromUtf8("Osiągnięto limit %1 linii w tym polu.").arg(lines_));
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QPlainTextEdit* memo_;
  int lines_;
};

QWidget* makeMemo(TFormBase& form, const TComponentSpec& c, QWidget* parent) {
  auto* memo = form.Make<QPlainTextEdit>(c.name, parent);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  if (c.flags & sfReadOnly) memo->setReadOnly(true);
  if (c.lines > 0) new TMemoLineLimit(memo, c.lines);
  applyStates(memo, c);
  return memo;
}

QFont labelFont(const TFormSpec& desc, const TComponentSpec& c) {
  QFont font(qt(c.font ? c.font : desc.labelFont));
  font.setPixelSize(c.fontHeight > 0 ? c.fontHeight : desc.labelFontHeight);
  font.setBold((c.flags & sfBold) != 0);
  font.setItalic((c.flags & sfItalic) != 0);
  return font;
}

QWidget* makeLabel(TFormBase& form, const TFormSpec& desc, const TComponentSpec& c, QWidget* parent) {
  auto* label = form.Make<QLabel>(c.name, parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(qt(c.text));
  label->setFont(labelFont(desc, c));
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAutoFillBackground(false);
  return label;
}

QWidget* makeDots(TFormBase& form, const TComponentSpec& c, QWidget* parent, int width) {
  auto* dots = form.Make<QLabel>(c.name, parent);
  QFont font(QStringLiteral("Times New Roman"));
  font.setPixelSize(11);
  dots->setFont(font);
  const int dot = std::max(1, QFontMetrics(font).horizontalAdvance(QLatin1Char('.')));
  dots->setText(QString(std::max(1, width / dot), QLatin1Char('.')));
  dots->setAttribute(Qt::WA_TranslucentBackground);
  return dots;
}

}  // namespace

void vFunLimitMemoLines(QObject* memo, int n) {
  std::vector<std::string> lines = vFunGetLines(memo);
  if (static_cast<int>(lines.size()) <= n) return;
  lines.resize(static_cast<std::size_t>(std::max(0, n)));
  vFunSetLines(memo, lines);
}

QRect TSideScale::map(const TRectSpec& r) const {
  const int left = static_cast<int>(std::lround(r.x * x)), top = static_cast<int>(std::lround(r.y * y));
  const int right = static_cast<int>(std::lround((r.x + r.w) * x)), bottom = static_cast<int>(std::lround((r.y + r.h) * y));
  return QRect(left, top, std::max(1, right - left), std::max(1, bottom - top));
}

TSideScale sideScale(const TSideSpec& side) { return {side.width / kPageWidth, side.height / kPageHeight}; }

QWidget* vFunMakeComponent(TFormBase& form, const TFormSpec& desc, const TComponentSpec& c, QWidget* parent,
                           const TSideScale& scale) {
  const bool onPanel = c.side == 0;
  const QRect place = onPanel ? QRect(c.at.x, c.at.y, c.at.w, c.at.h) : scale.map(c.at);
  QWidget* w = nullptr;
  switch (c.kind) {
    case TSpecKind::Edit: w = makeEdit(form, c, parent); break;
    case TSpecKind::Combo: w = makeCombo(form, c, parent); break;
    case TSpecKind::Memo: w = makeMemo(form, c, parent); break;
    case TSpecKind::Label: w = makeLabel(form, desc, c, parent); break;
    case TSpecKind::Dots: w = makeDots(form, c, parent, place.width()); break;
    case TSpecKind::Button: w = form.Make<QPushButton>(c.name, qt(c.text), parent); break;
    case TSpecKind::Pick: {
      auto* pick = form.Make<QComboBox>(c.name, parent);
      pick->addItems(itemsOf(c));
      w = pick;
      break;
    }
    case TSpecKind::Check: w = form.Make<QCheckBox>(c.name, qt(c.text), parent); break;
    case TSpecKind::PanelLabel: {
      auto* label = form.Make<QLabel>(c.name, qt(c.text), parent);
      QFont font = label->font();
      font.setBold((c.flags & sfBold) != 0);
      label->setFont(font);
      w = label;
      break;
    }
  }
  QRect geometry = place;
  // A fixed text keeps at least the width of its words.
  if (c.kind == TSpecKind::Label) geometry.setWidth(std::max(place.width(), w->sizeHint().width()));
  w->setGeometry(geometry);
  return w;
}
