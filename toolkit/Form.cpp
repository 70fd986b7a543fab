#include "toolkit/Form.h"

#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <stdexcept>

namespace {

// Component names are plain ASCII identifiers; letter case is ignored.
std::string lowered(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

// The frame margins last seen on a window the window manager had framed:
// the best guess for a window that is not framed yet.
QMargins gSeenMargins;

// The frame's margins as the window system reports them; none (null) while
// they are not known. Margins of a window being reparented by a window
// manager that started late can come out negative or absurd: not known.
QMargins realFrameMargins(const QWidget* window) {
  if (window->windowFlags() & Qt::FramelessWindowHint) return {};
  const QWindow* handle = window->windowHandle();
  const QMargins margins = handle ? handle->frameMargins() : QMargins();
  for (int side : {margins.left(), margins.top(), margins.right(), margins.bottom()})
    if (side < 0 || side > 100) return {};
  return margins;
}

void noteFrameMargins(const QWidget* window, bool dialog) {
  if (!window->isVisible()) return;
  const QMargins margins = realFrameMargins(window);
  if (margins.isNull()) return;
  if (dialog || gSeenMargins.isNull()) gSeenMargins = margins;
}

// When the window that has the keyboard goes (a dialog, a message, a file
// dialog closes), the keyboard goes to the window left in front: the modal
// window still open, else the window that opened it, else the main window.
// A window manager hands it back itself; without one it would stay with no
// window, and no key would reach the program until a click.
class TKeyboardReturn : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Hide || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    // A window that takes no keyboard (the wait window) has none to give back.
    if (!window->isWindow() || window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip ||
        window->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus) ||
        (QApplication::activeWindow() && QApplication::activeWindow() != window))
      return false;  // another window has the keyboard
    QPointer<QWidget> opener = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QTimer::singleShot(0, this, [opener] {
      if (QApplication::activeWindow() || QApplication::activePopupWidget()) return;
      QWidget* next = QApplication::activeModalWidget();
      if (!next && opener && opener->isVisible()) next = opener;
      for (QWidget* top : QApplication::topLevelWidgets())
        if (!next && top->isVisible() && qobject_cast<QMainWindow*>(top)) next = top;
      if (next) next->activateWindow();
    });
    return false;
  }
};

void vFunReturnKeyboardOnClose() {
  static QPointer<TKeyboardReturn> installed;
  if (installed || !qApp) return;
  installed = new TKeyboardReturn(qApp);
  qApp->installEventFilter(installed);
}

}  // namespace

QRect rectFunFrameInside(const QRect& frame, const QRect& available) {
  if (!available.isValid()) return frame;
  const QSize size = frame.size().boundedTo(available.size());
  const int x = std::clamp(frame.x(), available.x(), available.x() + available.width() - size.width());
  const int y = std::clamp(frame.y(), available.y(), available.y() + available.height() - size.height());
  return {QPoint(x, y), size};
}

QRect rectFunCentredFrame(const QSize& frame, const QRect& available) {
  if (!available.isValid()) return {QPoint(0, 0), frame};
  const QSize size = frame.boundedTo(available.size());
  return {QPoint(available.x() + (available.width() - size.width()) / 2,
                 available.y() + (available.height() - size.height()) / 2),
          size};
}

void TComponentRegistry::registerComponent(QObject* component, const QString& name) {
  std::string text = name.toStdString();
  if (!text.empty()) {
    const std::string key = lowered(text);
    const auto found = byName_.find(key);
    if (found != byName_.end() && components_[found->second])
      throw std::logic_error("component name used twice: " + text);
    byName_[key] = components_.size();
  }
  component->setObjectName(name);
  components_.emplace_back(component);
  names_.push_back(std::move(text));
}

QObject* TComponentRegistry::findComponent(std::string_view name) const {
  const auto found = byName_.find(lowered(name));
  return found == byName_.end() ? nullptr : components_[found->second].data();
}

QString TComponentRegistry::ComponentName(int index) const {
  const QObject* component = Components(index);
  return component ? component->objectName() : QString();
}

void TFormBase::prepareTyping(QObject* component) {
  vFunGuardCodePage(component);
  vFunTabLeavesMemo(component);
}

TForm::TForm(const QString& name, QWidget* parent) : QMainWindow(parent) {
  setObjectName(name);
  vFunReturnKeyboardOnClose();
}

void TForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  noteFrameMargins(this, false);
}

void TForm::closeEvent(QCloseEvent* event) {
  TCloseAction action = TCloseAction::caHide;
  FormClose(action);
  if (action == TCloseAction::caNone) {
    event->ignore();
    return;
  }
  if (action == TCloseAction::caMinimize) {
    event->ignore();
    showMinimized();
    return;
  }
  event->accept();
  closed_ = true;
  if (mainForm_) QCoreApplication::quit();
}

TDialogForm::TDialogForm(const QString& name, QWidget* parent) : QDialog(parent) { setObjectName(name); }

int TDialogForm::ShowModal() {
  // A scripted run shows nothing, but the window prepares itself as for a
  // real show.
  if (bFunDialogsScripted()) FormShow();
  if (auto scripted = vFunScriptedShowModal(this)) return *scripted;
  return exec();
}

void TDialogForm::Show() {
  show();
  raise();
  // The caller may go on with long work on this thread: let the window
  // reach the screen first, so what it paints now is seen.
  QElapsedTimer waited;
  waited.start();
  while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 500)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
  repaint();
}

void TDialogForm::setVisible(bool visible) {
  // Shown, QDialog hands its focused control the keyboard as by Tab, which
  // selects the whole text of an edit and shows its end. An edit whose text
  // is only read (an address to copy) keeps its cursor where the window put
  // it, unselected, and shows from there.
  readOnlyEntered_ = nullptr;
  QDialog::setVisible(visible);  // the show (showEvent) puts the keyboard in place
  if (visible && readOnlyEntered_ && focusWidget() == readOnlyEntered_)
    readOnlyEntered_->setCursorPosition(readOnlyCursor_);
  readOnlyEntered_ = nullptr;
}

// A window without a minimise button is never minimised: some window
// managers (openbox) draw that button whatever the window asks, and a
// modal window minimised would leave its opener blocked with nothing to
// see. It comes back at once.
void TDialogForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized) ||
      (windowFlags() & Qt::WindowMinimizeButtonHint))
    return;
  QTimer::singleShot(0, this, [this] {
    if (!isVisible() || !(windowState() & Qt::WindowMinimized)) return;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
  });
}

void TDialogForm::showEvent(QShowEvent* event) {
  // Before the dialog picks a default among its buttons (right after this
  // event): none is picked unless the window names it.
  switchOffAutoDefault();
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  FormShow();
  followPageControls();
  // Shown again, it starts at the top of its scroll boxes, wherever the
  // user left them.
  for (TScrollBox* box : findChildren<TScrollBox*>())
    if (box->window() == this) box->vFunScrollHome();
  vFunFocusFirstField();
  if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit && edit->isReadOnly()) {
    readOnlyEntered_ = edit;
    readOnlyCursor_ = edit->cursorPosition();
  }
  vFunPlaceOnScreen();
  // The window manager frames the window after it is mapped; a frame that
  // turns out larger than guessed is brought back onto the screen then.
  fitPending_ = true;
  QTimer::singleShot(2000, this, [this] { fitPending_ = false; });
}

void TDialogForm::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  keepOnScreenOnceFramed();
}

void TDialogForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  keepOnScreenOnceFramed();
}

void TDialogForm::keepOnScreenOnceFramed() {
  noteFrameMargins(this, true);
  if (!fitPending_ || !isVisible() || realFrameMargins(this).isNull()) return;
  fitPending_ = false;
  // Placed again with the real frame: its height and position were reckoned
  // with margins guessed before the window was framed.
  vFunPlaceOnScreen();
}

namespace {

// A control the user types into or chooses in, as opposed to a button, the
// tabs of a page control or a scroll box.
bool isField(const QWidget* w) {
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QCheckBox*>(w) ||
         qobject_cast<const QRadioButton*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

bool takesKeyboard(const QWidget* w, const QWidget* window, const QWidget* page) {
  return w && w->window() == window && (!page || page->isAncestorOf(w)) && w->isVisibleTo(window) &&
         w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && !qobject_cast<const QTabBar*>(w);
}

}  // namespace

void TDialogForm::vFunFocusFirstField(QWidget* page) {
  std::vector<QWidget*> way;
  for (const auto& fields : keyboardOrder_) way.insert(way.end(), fields.begin(), fields.end());
  const bool declared = !way.empty();
  if (!declared)
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) way.push_back(w);
  for (bool fieldsOnly : {true, false}) {
    for (QWidget* w : way)
      if (takesKeyboard(w, this, page) && (!fieldsOnly || isField(w))) {
        // Entered as by Tab: what is typed replaces the text, also in a
        // field that the page control has already put the keyboard into.
        // A text that is only read (an address to copy) is not selected:
        // it shows from where the window put its cursor.
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (auto* combo = qobject_cast<QComboBox*>(w)) edit = combo->lineEdit();
        const bool readOnly = edit && edit->isReadOnly();
        const bool had = w->hasFocus();
        w->setFocus(readOnly ? Qt::OtherFocusReason : Qt::TabFocusReason);
        if (had && edit && !readOnly) edit->selectAll();
        if (auto* box = TScrollBox::boxFunHolding(w)) box->vFunShowField(w);
        return;
      }
    // A declared way names the fields; nothing else is taken in their place.
    if (declared) return;
  }
}

// A page brought to the front, by the mouse, by Ctrl+Tab or by the program
// while the window is shown, takes the keyboard into its first field; the
// user walking the tabs themselves with the arrow keys stays on them.
void TDialogForm::followPageControls() {
  for (QTabWidget* tabs : findChildren<QTabWidget*>())
    if (tabs->window() == this)
      connect(tabs, &QTabWidget::currentChanged, this, &TDialogForm::pageBroughtToFront, Qt::UniqueConnection);
}

void TDialogForm::pageBroughtToFront() {
  auto* tabs = qobject_cast<QTabWidget*>(sender());
  if (!tabs || !isVisible() || !tabs->currentWidget()) return;
  if (QWidget* focused = focusWidget(); focused && qobject_cast<QTabBar*>(focused) && tabs->isAncestorOf(focused)) return;
  vFunFocusFirstField(tabs->currentWidget());
}

void TDialogForm::switchOffAutoDefault() {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->window() != this) continue;
    button->setAutoDefault(false);
    button->setDefault(button == defaultButton_);
  }
}

void TDialogForm::setDefaultButton(QPushButton* button) {
  defaultButton_ = button;
  switchOffAutoDefault();
}

// Enter presses the focused push button, or else the window's named
// default; in a field it presses nothing (a memo takes it as a new line
// before it gets here).
void TDialogForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
    QDialog::keyPressEvent(event);
    return;
  }
  QPushButton* button = qobject_cast<QPushButton*>(focusWidget());
  if (!button || button->window() != this) button = defaultButton_;
  if (button && button->isVisible() && button->isEnabled()) button->click();
  event->accept();
}

QRect TDialogForm::AvailableArea() const {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

QMargins TDialogForm::frameMarginsGuess() const {
  if (windowFlags() & Qt::FramelessWindowHint) return {};
  const QMargins real = realFrameMargins(this);
  return real.isNull() ? gSeenMargins : real;
}

void TDialogForm::setFrameHeight(int height) {
  frameHeight_ = height;
  const QMargins margins = frameMarginsGuess();
  const int client = std::max(1, height - margins.top() - margins.bottom());
  if (fixedBorder_)
    setFixedHeight(client);
  else
    resize(width(), client);
}

void TDialogForm::setFrameTop(int top) { frameTop_ = top; }

void TDialogForm::applyFrame(const QRect& frame) {
  const QMargins margins = frameMarginsGuess();
  const QSize client = frame.size().shrunkBy(margins).expandedTo(QSize(1, 1));
  if (fixedBorder_)
    setFixedSize(client);
  else if (client != size())
    resize(client);
  if (!realFrameMargins(this).isNull()) {
    move(frame.topLeft());  // the frame's own position
    return;
  }
  // Not framed yet: the window manager builds the frame around the client
  // where it stands, so the client goes inside the frame as guessed.
  setGeometry(QRect(frame.topLeft() + QPoint(margins.left(), margins.top()), client));
}

void TDialogForm::vFunPlaceOnScreen() {
  const QRect area = AvailableArea();
  if (!area.isValid()) return;
  const QMargins margins = frameMarginsGuess();
  QRect frame(pos(), size().grownBy(margins));
  if (frameHeight_) frame.setHeight(*frameHeight_);
  if (position_ == TPosition::poScreenCenter) frame = rectFunCentredFrame(frame.size(), area);
  if (frameTop_) frame.moveTop(*frameTop_);
  applyFrame(rectFunFrameInside(frame, area));
}

// Every way a dialog ends (a button's result, the close box, Escape) goes
// through here, so the close handler can keep it open; the close box and
// Escape end it as a cancel.
void TDialogForm::done(int result) {
  TCloseAction action = TCloseAction::caHide;
  FormClose(action);
  if (action == TCloseAction::caNone) return;
  QDialog::done(result);
}

void TDialogForm::reject() { done(mrCancel); }

