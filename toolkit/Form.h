#pragma once
// Forms of the program: a main-window flavour (TForm) and a dialog flavour
// (TDialogForm). Every component a form makes is registered with its name in
// creation order, so the windows find one another's fields by name (ignoring
// letter case, as the stored component names are matched) and walk them in
// the order they were made. Qt's findChild is case-sensitive and keeps no
// creation order, hence this registry.
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QString>

#include <optional>

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class QCloseEvent;

class TComponentRegistry {
 public:
  // Registers a component under its name (also set as its objectName).
  // Names are unique within one form, ignoring case; a second component
  // of a taken name is a programming error and throws std::logic_error.
  void registerComponent(QObject* component, const QString& name);

  // The component of that name, ignoring letter case; nullptr when the form
  // has none (or it has been deleted).
  QObject* findComponent(std::string_view name) const;
  template <class T>
  T* findComponentAs(std::string_view name) const {
    return qobject_cast<T*>(findComponent(name));
  }

  // Enumeration in creation order.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  QObject* Components(int index) const { return components_.at(static_cast<std::size_t>(index)).data(); }
  QString ComponentName(int index) const;
  // The name the component at index was registered under, as UTF-8 text,
  // whether it still lives or not. Registered components are never renamed,
  // so while it lives this is its ComponentName, without asking Qt for it
  // (and findComponent of it gives this very component).
  const std::string& RegisteredName(int index) const { return names_.at(static_cast<std::size_t>(index)); }

 private:
  std::vector<QPointer<QObject>> components_;
  std::vector<std::string> names_;  // parallel to components_
  std::unordered_map<std::string, std::size_t> byName_;  // lower-cased name -> index
};

// What a form does when it is asked to close (the close handler may change it).
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// Modal results.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
              mrNo = 7;

// The registry plus the factory every form uses for its components.
class TFormBase : public TComponentRegistry {
 public:
  virtual ~TFormBase() = default;

  // Makes a component, names it and registers it: Make<QLineEdit>("X_EDIT", parent).
  // What the user types into an edit, combo box or memo made here must fit
  // the code page of the stored data (vFunGuardCodePage); Tab leaves a memo
  // made here as it leaves any field (vFunTabLeavesMemo).
  template <class T, class... Args>
  T* Make(const QString& name, Args&&... args) {
    T* component = new T(std::forward<Args>(args)...);
    registerComponent(component, name);
    prepareTyping(component);
    return component;
  }

 private:
  static void prepareTyping(QObject* component);

 protected:
  // Hooks of the window's events; the defaults do nothing.
  virtual void FormShow() {}
  virtual void FormClose(TCloseAction& /*action*/) {}
};

// Main-window flavour. Closing it with caFree or caHide ends the event loop
// when this is the application's main form.
class TForm : public QMainWindow, public TFormBase {
  Q_OBJECT
 public:
  explicit TForm(const QString& name, QWidget* parent = nullptr);

  void setMainForm(bool mainForm) { mainForm_ = mainForm; }
  // True once a close has gone through (not vetoed).
  bool bFunClosed() const { return closed_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool mainForm_ = false;
  bool closed_ = false;
};

// ---- Placement -----------------------------------------------------------

// Where a window is put each time it is shown, once its size is set.
enum class TPosition {
  poDesigned,      // where it stands (or where its opener moved it)
  poScreenCenter,  // centred on the screen
};

// The frame (title bar and borders included) of the given size centred in
// the available area of a screen; a frame larger than the area is cut to it.
QRect rectFunCentredFrame(const QSize& frame, const QRect& available);
// The frame moved, and cut where it is larger, so that it lies wholly inside
// the available area.
QRect rectFunFrameInside(const QRect& frame, const QRect& available);

// Dialog flavour: shown modally (ShowModal) again and again, keeping its
// contents, or without modality (Show/Close).
class TDialogForm : public QDialog, public TFormBase {
  Q_OBJECT
 public:
  explicit TDialogForm(const QString& name, QWidget* parent = nullptr);

  // Runs the dialog modally and returns its modal result. A test seam
  // (toolkit/Dialogs.h) may take the place of the real run.
  int ShowModal();
  // Ends a modal run with this result.
  void setModalResult(int result) { done(result); }
  void Show();
  void Close() { close(); }

  // Placement: the window is centred on the screen unless told otherwise.
  // Whatever its position, the whole window (title bar included) is kept
  // inside the screen's available area.
  void setPosition(TPosition position) { position_ = position; }
  TPosition Position() const { return position_; }
  // A window of fixed border cannot be resized by the user; its size is
  // whatever the program last set.
  void setFixedBorder(bool fixed) { fixedBorder_ = fixed; }
  bool FixedBorder() const { return fixedBorder_; }
  // Sets the height of the whole window, title bar and borders included.
  void setFrameHeight(int height);
  // Sets the top edge of the whole window on the screen.
  void setFrameTop(int top);

  // The one push button that Enter presses wherever the focus is (none
  // unless the window names it). Otherwise Enter presses only a focused
  // button; in a field it presses nothing.
  void setDefaultButton(QPushButton* button);
  QPushButton* DefaultButton() const { return defaultButton_; }

  // The keyboard's way through the window's fields, one list per page (a tab
  // of a page control, or the whole window), each in the keyboard's order.
  // Without it the window's own tab order is the way.
  void setKeyboardOrder(std::vector<std::vector<QWidget*>> pages) { keyboardOrder_ = std::move(pages); }
  // Puts the keyboard into the first field of the page in front (of that
  // page, when one is given) that takes it: a field the user types into or
  // chooses in, else any control that takes the keyboard. Runs on every
  // show and whenever a page control brings another page to the front, so
  // the keyboard is always where the eye is, never left in a field of a
  // hidden page or on the button that closed the window last time.
  void vFunFocusFirstField(QWidget* page = nullptr);

  // The screen area the window is placed in (the available area of its screen).
  QRect AvailableArea() const;
  // Places the window as its position says, inside the available area.
  void vFunPlaceOnScreen();

 protected:
  void setVisible(bool visible) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void done(int result) override;
  void reject() override;

 private:
  // The frame's margins around the client area; before the window manager
  // has framed the window, the margins last seen on a framed window.
  QMargins frameMarginsGuess() const;
  void applyFrame(const QRect& frame);
  void switchOffAutoDefault();
  void keepOnScreenOnceFramed();
  void followPageControls();
  void pageBroughtToFront();

  TPosition position_ = TPosition::poScreenCenter;
  bool fixedBorder_ = false;
  bool fitPending_ = false;
  std::optional<int> frameTop_;
  std::optional<int> frameHeight_;
  QPointer<QPushButton> defaultButton_;
  QPointer<QLineEdit> readOnlyEntered_;  // during a show: a read-only edit given the keyboard
  int readOnlyCursor_ = 0;
  std::vector<std::vector<QWidget*>> keyboardOrder_;
};
