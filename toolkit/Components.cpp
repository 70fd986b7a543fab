#include "toolkit/Components.h"

#include "platform/Cp1250.h"
#include "toolkit/Dialogs.h"
#include "toolkit/TextBatch.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QFile>
#include <QTextCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QThread>
#include <QToolTip>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace {

QString qt(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }
std::string cp(const QString& text) { return cp1250FromUtf8(text.toStdString()); }

// Takes back a user's edit that makes the text longer than the limit,
// unless it is not longer than the text before the edit: loaded text over
// the limit can be shortened but not lengthened. Only the user's edits are
// looked at (textEdited), so text set by the program stays whole.
class TTypingLimit : public QObject {
 public:
  TTypingLimit(QLineEdit* edit, int maxLength) : QObject(edit), maxLength_(maxLength), before_(edit->text()) {
    setObjectName(QStringLiteral("TypingLimit"));
    connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString& text) {
      // Another guard has taken the edit back already.
      if (edit->text() != text) return;
      if (text.size() <= maxLength_ || text.size() <= before_.size()) return;
      // What the user put in place of what: the part between the common
      // beginning and the common end. As much of it is kept as still fits,
      // as an edit with a length limit takes a paste.
      qsizetype head = 0;
      while (head < before_.size() && head < text.size() && before_[head] == text[head]) ++head;
      qsizetype tail = 0;
      while (tail < before_.size() - head && tail < text.size() - head &&
             before_[before_.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
      const QString inserted = text.mid(head, text.size() - head - tail);
      const qsizetype kept = head + tail;  // what stays of the text before
      const qsizetype room = std::max<qsizetype>(0, maxLength_ - kept);
      const bool modified = edit->isModified();
      if (kept > maxLength_) {
        const int cursor = edit->cursorPosition() - static_cast<int>(text.size() - before_.size());
        edit->setText(before_);
        edit->setCursorPosition(cursor);
      } else {
        edit->setText(before_.left(head) + inserted.left(room) + before_.right(tail));
        edit->setCursorPosition(static_cast<int>(head + std::min(room, inserted.size())));
      }
      edit->setModified(modified);
    });
    // The edit's own text, not the signal's: after a take-back the signal
    // still carries the refused text.
    connect(edit, &QLineEdit::textChanged, this, [this, edit] { before_ = edit->text(); });
  }

 private:
  int maxLength_;
  QString before_;
};

const char kGuardName[] = "CodePageGuard";

void refuseCharacter() {
  MessageBox(cp1250("Wpisany znak nie może zostać zapisany w danych programu."), "Uwaga", MB_OK | MB_ICONWARNING);
}

// Keeps the last text that fits the code page and puts it back when an
// edit of the user's brings in a character that does not.
class TLineGuard : public QObject {
 public:
  explicit TLineGuard(QLineEdit* edit) : QObject(edit), fitting_(edit->text()) {
    setObjectName(QString::fromLatin1(kGuardName));
    connect(edit, &QLineEdit::textEdited, this, [this, edit] {
      if (bFunFitsCodePage(edit->text())) return;
      const int cursor = edit->cursorPosition() - static_cast<int>(edit->text().size() - fitting_.size());
      const bool modified = edit->isModified();
      edit->setText(fitting_);
      edit->setCursorPosition(std::max(0, cursor));
      edit->setModified(modified);
      refuseCharacter();
    });
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
      if (bFunFitsCodePage(text)) fitting_ = text;
    });
  }

 private:
  QString fitting_;
};

class TMemoGuard : public QObject {
 public:
  explicit TMemoGuard(QPlainTextEdit* memo) : QObject(memo), fitting_(memo->toPlainText()) {
    setObjectName(QString::fromLatin1(kGuardName));
    connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] {
      const QString text = memo->toPlainText();
      if (bFunFitsCodePage(text)) {
        fitting_ = text;
        return;
      }
      const int cursor = memo->textCursor().position() - static_cast<int>(text.size() - fitting_.size());
      memo->setPlainText(fitting_);
      QTextCursor at = memo->textCursor();
      at.setPosition(std::clamp(cursor, 0, static_cast<int>(fitting_.size())));
      memo->setTextCursor(at);
      refuseCharacter();
    });
  }

 private:
  QString fitting_;
};

// A combo box may be made editable after it is made: its edit text is
// watched through the box itself.
//
// Enter keeps the text of the box. Qt's inline completion would put its last
// completion in place of a text selected whole (as it is when the user tabs
// into the box), so that a loaded "Kraków" became the first town of the list;
// only a completion the user is typing (the tail after the typed letters) is
// taken by Enter.
class TComboGuard : public QObject {
 public:
  explicit TComboGuard(QComboBox* combo) : QObject(combo), fitting_(combo->currentText()) {
    setObjectName(QString::fromLatin1(kGuardName));
    connect(combo, &QComboBox::editTextChanged, this, [this, combo](const QString& text) {
      if (bFunFitsCodePage(text)) {
        fitting_ = text;
        return;
      }
      combo->setEditText(fitting_);
      refuseCharacter();
    });
    combo->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      auto* edit = static_cast<QComboBox*>(watched)->lineEdit();
      if ((key == Qt::Key_Return || key == Qt::Key_Enter) && edit && edit->hasSelectedText() &&
          edit->selectionStart() == 0)
        edit->deselect();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QString fitting_;
};

}  // namespace

bool bFunFitsCodePage(const QString& text) {
  const std::string utf8 = text.toStdString();
  return cp1250ToUtf8(cp1250FromUtf8(utf8)) == utf8;
}

void vFunGuardCodePage(QObject* component) {
  if (!component || component->findChild<QObject*>(QString::fromLatin1(kGuardName), Qt::FindDirectChildrenOnly))
    return;
  if (auto* edit = qobject_cast<QLineEdit*>(component)) {
    new TLineGuard(edit);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(component)) {
    new TMemoGuard(memo);
  } else if (auto* combo = qobject_cast<QComboBox*>(component)) {
    new TComboGuard(combo);
  }
}

void vFunTabLeavesMemo(QObject* component) {
  if (auto* memo = qobject_cast<QPlainTextEdit*>(component)) memo->setTabChangesFocus(true);
}

// ---- Scroll box ---------------------------------------------------------

namespace {

// The field a focused widget belongs to: the combo box or spin box whose
// edit it is, else the widget itself.
QWidget* fieldOf(QWidget* focused) {
  QWidget* parent = focused->parentWidget();
  if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent)) return parent;
  return focused;
}

// Room kept around a field brought into view, so that its label and its
// neighbours show too, where the box is large enough for it.
constexpr int kFieldMargin = 40;

}  // namespace

// A key typed into a field of a scroll box that the user has scrolled away
// from (with the wheel or the scroll bar) brings the field back into view
// first: what she types is never typed out of sight. One filter serves all.
class TTypingShowsField : public QObject {
 public:
  static void vFunInstall() {
    static TTypingShowsField* filter = nullptr;
    if (filter || !QCoreApplication::instance()) return;
    filter = new TTypingShowsField(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      const bool modifierOnly = key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
                                key == Qt::Key_Meta || key == Qt::Key_AltGr;
      auto* widget = static_cast<QWidget*>(watched);
      if (!modifierOnly && widget->hasFocus())
        if (TScrollBox* box = TScrollBox::boxFunHolding(widget)) box->vFunShowField(widget);
    }
    return false;
  }

 private:
  using QObject::QObject;
};

TScrollBox::TScrollBox(QWidget* parent) : QScrollArea(parent) {
  if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
    connect(application, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      if (now) vFunShowField(now);
    });
  TTypingShowsField::vFunInstall();
}

TScrollBox* TScrollBox::boxFunHolding(const QWidget* widget) {
  for (QWidget* up = widget ? widget->parentWidget() : nullptr; up; up = up->parentWidget())
    if (auto* box = qobject_cast<TScrollBox*>(up)) return box;
  return nullptr;
}

void TScrollBox::vFunScrollHome() {
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
}

void TScrollBox::vFunShowField(QWidget* field) {
  QWidget* page = widget();
  if (!field || !page || !page->isAncestorOf(field)) return;
  field = fieldOf(field);
  // The whole field, not only its caret (as QScrollArea::ensureWidgetVisible
  // takes for an edit).
  const QRect place(field->mapTo(page, QPoint(0, 0)), field->size());
  const QRect visible(-page->pos(), viewport()->size());
  if (visible.contains(place)) return;
  // Per direction: the least scroll that shows the field with its margin;
  // margins larger than the room beside the field would push its other
  // edge out of view, and a field larger than the box shows its start.
  auto scroll = [](QScrollBar* bar, int start, int length, int shown, int viewStart) {
    if (start >= viewStart && start + length <= viewStart + shown) return;
    const int margin = std::clamp((shown - length) / 2, 0, kFieldMargin);
    if (length + 2 * margin > shown || start < viewStart)
      bar->setValue(start - margin);
    else
      bar->setValue(start + length + margin - shown);
  };
  scroll(horizontalScrollBar(), place.x(), place.width(), visible.width(), visible.x());
  scroll(verticalScrollBar(), place.y(), place.height(), visible.height(), visible.y());
}

void TScrollBox::showFocusedField() {
  if (QWidget* focused = window()->focusWidget()) vFunShowField(focused);
}

// A box that shows (its page brought forward) or changes its size (its
// window made shorter) keeps the field with the keyboard in view.
void TScrollBox::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  showFocusedField();
}

void TScrollBox::showEvent(QShowEvent* event) {
  QScrollArea::showEvent(event);
  showFocusedField();
}

void vFunTellRefused(QWidget* control, const QString& reason) {
  QApplication::beep();
  // Just below the control, where the eye is.
  QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), reason, control, QRect(), 5000);
}

TComponentKind kindOf(const QObject* component) {
  if (qobject_cast<const QLineEdit*>(component)) return TComponentKind::Edit;
  if (qobject_cast<const QComboBox*>(component)) return TComponentKind::ComboBox;
  if (qobject_cast<const QLabel*>(component)) return TComponentKind::Label;
  if (qobject_cast<const QPlainTextEdit*>(component)) return TComponentKind::Memo;
  return TComponentKind::Other;
}

std::string strFunGetText(const QObject* component) {
  if (TTextBatch* batch = TTextBatch::batchFunActive()) return batch->strFunText(component);
  switch (kindOf(component)) {
    case TComponentKind::Edit: return cp(static_cast<const QLineEdit*>(component)->text());
    case TComponentKind::ComboBox: return cp(static_cast<const QComboBox*>(component)->currentText());
    case TComponentKind::Label: return cp(static_cast<const QLabel*>(component)->text());
    case TComponentKind::Memo: {
      QString text = static_cast<const QPlainTextEdit*>(component)->toPlainText();
      return cp(text.replace('\n', QStringLiteral("\r\n")));
    }
    case TComponentKind::Other: break;
  }
  return {};
}

bool bFunSetText(QObject* component, const std::string& text) {
  if (TTextBatch* batch = TTextBatch::batchFunActive()) {
    batch->vFunSetText(component, text);
    return kindOf(component) != TComponentKind::Other;
  }
  switch (kindOf(component)) {
    case TComponentKind::Edit: static_cast<QLineEdit*>(component)->setText(qt(text)); return true;
    case TComponentKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(component);
      if (combo->isEditable())
        combo->setEditText(qt(text));
      else
        combo->setCurrentIndex(combo->findText(qt(text), Qt::MatchExactly));
      return true;
    }
    case TComponentKind::Label: {
      // Texts show as they stand: no markup, no mnemonics.
      auto* label = static_cast<QLabel*>(component);
      label->setTextFormat(Qt::PlainText);
      label->setText(qt(text));
      return true;
    }
    case TComponentKind::Memo: {
      QString value = qt(text);
      static_cast<QPlainTextEdit*>(component)->setPlainText(value.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
      return true;
    }
    case TComponentKind::Other: break;
  }
  return false;
}

std::vector<std::string> vFunGetLines(const QObject* memo) {
  std::vector<std::string> lines;
  if (TTextBatch* batch = TTextBatch::batchFunActive()) {
    if (kindOf(memo) != TComponentKind::Memo) return lines;
    // The lines of the memo's text as the batch holds it; no text, no line.
    const std::string text = batch->strFunText(memo);
    if (text.empty()) return lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
      lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
  }
  const auto* edit = qobject_cast<const QPlainTextEdit*>(memo);
  if (!edit || edit->document()->isEmpty()) return lines;
  for (const QString& line : edit->toPlainText().split('\n')) lines.push_back(cp(line));
  return lines;
}

void vFunSetLines(QObject* memo, const std::vector<std::string>& lines) {
  if (TTextBatch* batch = TTextBatch::batchFunActive()) {
    batch->vFunSetLines(memo, lines);
    return;
  }
  auto* edit = qobject_cast<QPlainTextEdit*>(memo);
  if (!edit) return;
  QStringList text;
  for (const auto& line : lines) text << qt(line);
  edit->setPlainText(text.join('\n'));
}

void vFunSetTypingLimit(QLineEdit* edit, int maxLength) {
  delete edit->findChild<TTypingLimit*>(QStringLiteral("TypingLimit"), Qt::FindDirectChildrenOnly);
  if (maxLength > 0) new TTypingLimit(edit, maxLength);
}

void vFunSetTypingLimit(QComboBox* combo, int maxLength) {
  if (combo->lineEdit()) vFunSetTypingLimit(combo->lineEdit(), maxLength);
}

void vFunOnClick(QObject* component, std::function<void()> handler) {
  if (auto* action = qobject_cast<QAction*>(component))
    QObject::connect(action, &QAction::triggered, action, [handler] { handler(); });
  else if (auto* check = qobject_cast<QCheckBox*>(component))
    QObject::connect(check, &QCheckBox::toggled, check, [handler] { handler(); });
  else if (auto* button = qobject_cast<QAbstractButton*>(component))
    QObject::connect(button, &QAbstractButton::clicked, button, [handler] { handler(); });
}

TImage::TImage(QWidget* parent) : QWidget(parent) {}

// With autoSize an image without a picture takes no room.
void TImage::setAutoSize(bool on) {
  autoSize_ = on;
  if (autoSize_) setFixedSize(picture_.size());
}

void TImage::setStretch(bool on) {
  stretch_ = on;
  update();
}

void TImage::setPicture(const QImage& picture) {
  picture_ = picture;
  if (autoSize_) setFixedSize(picture_.size());
  update();
}

void TImage::copyPicture(const QImage& picture) {
  if (picture.isNull()) {
    setPicture(picture);
    return;
  }
  if (picture_.size() != picture.size() || picture_.format() != picture.format() ||
      picture_.bytesPerLine() != picture.bytesPerLine() || !picture_.isDetached()) {
    setPicture(picture.copy());
    return;
  }
  std::memcpy(picture_.bits(), picture.constBits(), static_cast<std::size_t>(picture.sizeInBytes()));
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  if (stretch_)
    painter.drawImage(rect(), picture_);
  else
    painter.drawImage(0, 0, picture_);
}

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent), panel_(new QLabel(this)) {
  setSizeGripEnabled(false);
  // A long path is cut at the window's edge; it never widens the window.
  panel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  panel_->setMinimumWidth(1);
  panel_->setTextFormat(Qt::PlainText);
  addWidget(panel_, 1);
}

std::string TStatusBar::SimpleText() const { return cp(panel_->text()); }
TSystemPath TStatusBar::SimplePath() const { return TSystemPath(QFile::encodeName(panel_->text()).toStdString()); }
void TStatusBar::setSimplePath(const TSystemPath& path) { panel_->setText(QFile::decodeName(path.c_str())); }
void TStatusBar::setSimpleText(const std::string& text) { panel_->setText(qt(text)); }

TTimer::TTimer(QObject* parent) : QObject(parent) {
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (OnTimer) OnTimer();
  });
}

bool TTimer::Enabled() const { return enabled_; }

void TTimer::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (thread() != QThread::currentThread()) {
    QMetaObject::invokeMethod(this, [this] { setEnabled(enabled_); }, Qt::QueuedConnection);
    return;
  }
  if (enabled)
    timer_.start();
  else
    timer_.stop();
}

void vFunPostToGui(std::function<void()> work) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

bool bFunOnGuiThread() {
  const auto* app = QCoreApplication::instance();
  return !app || QThread::currentThread() == app->thread();
}

// ---- Tool-bar group ---------------------------------------------------------

namespace {
constexpr int kGroupSideMargin = 6;   // between the group and its neighbours
constexpr int kGroupSpacing = 12;     // between two widgets of a row
}  // namespace

TToolBarGroup::TToolBarGroup(QToolBar* bar) : QWidget(bar), bar_(bar) {
  rowsLayout_ = new QVBoxLayout(this);
  rowsLayout_->setContentsMargins(kGroupSideMargin, 0, kGroupSideMargin, 0);
  rowsLayout_->setSpacing(0);
  bar->installEventFilter(this);
}

void TToolBarGroup::addWidget(QWidget* widget) {
  widgets_.push_back(widget);
  vFunPlaceInRows(rows_);
}

int TToolBarGroup::iFunPerRow(int rows) const {
  const int count = static_cast<int>(widgets_.size());
  return std::max(1, (count + rows - 1) / std::max(1, rows));
}

int TToolBarGroup::iFunWidthInRows(int rows) const {
  const int perRow = iFunPerRow(rows);
  int widest = 0;
  for (std::size_t first = 0; first < widgets_.size(); first += perRow) {
    int width = 0;
    for (std::size_t k = first; k < std::min(widgets_.size(), first + perRow); ++k)
      width += widgets_[k]->sizeHint().width() + (k > first ? kGroupSpacing : 0);
    widest = std::max(widest, width);
  }
  return widest + 2 * kGroupSideMargin;
}

void TToolBarGroup::vFunPlaceInRows(int rows) {
  rows_ = rows;
  while (QLayoutItem* row = rowsLayout_->takeAt(0)) delete row;  // the widgets stay, the rows go
  const int perRow = iFunPerRow(rows);
  for (std::size_t first = 0; first < widgets_.size(); first += perRow) {
    auto* row = new QHBoxLayout;
    row->setSpacing(kGroupSpacing);
    for (std::size_t k = first; k < std::min(widgets_.size(), first + perRow); ++k) row->addWidget(widgets_[k]);
    row->addStretch(1);
    rowsLayout_->addLayout(row);
  }
  updateGeometry();
  // The bar lays itself out by the group's new size, also while it keeps
  // the group hidden for want of room (then nothing tells it otherwise).
  if (QLayout* barLayout = bar_->layout()) barLayout->invalidate();
}

void TToolBarGroup::vFunArrange() {
  const int count = static_cast<int>(widgets_.size());
  if (count == 0 || bar_->width() <= 0) return;
  // The room the bar leaves after its other items, which stand from its
  // left edge at their own sizes whatever the bar's width.
  int used = 0;
  for (QAction* action : bar_->actions()) {
    const QWidget* item = bar_->widgetForAction(action);
    if (item && item != this && action->isVisible()) used = std::max(used, item->geometry().right() + 1);
  }
  const QStyle* style = bar_->style();
  const int room = bar_->width() - used - style->pixelMetric(QStyle::PM_ToolBarItemSpacing, nullptr, bar_) -
                   style->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, bar_) -
                   style->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, bar_);
  int rows = 1;
  while (rows < count && iFunWidthInRows(rows) > room) ++rows;
  if (rows != rows_) vFunPlaceInRows(rows);
}

bool TToolBarGroup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == bar_ && event->type() == QEvent::Resize) vFunArrange();
  return QWidget::eventFilter(watched, event);
}
