#pragma once
// The components the windows are built from, beyond Qt's own widgets, and
// the text of a component by its kind as Windows-1250.
#include <QImage>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>

#include "platform/SystemPath.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QToolBar;
class QVBoxLayout;
class QLineEdit;
class QComboBox;

// ---- Text by kind -------------------------------------------------------

enum class TComponentKind { Edit, ComboBox, Label, Memo, Other };
// Edit = QLineEdit, ComboBox = QComboBox, Label = QLabel, Memo = QPlainTextEdit.
TComponentKind kindOf(const QObject* component);

// Edit text, combo box edit text (the current item's text when the box is
// not editable), label caption, memo text (lines joined by "\r\n"); other
// kinds read as "".
std::string strFunGetText(const QObject* component);
// Sets the same; false for a component of another kind. Text set here is
// never cut by a typing limit. A combo box that is not editable selects the
// item of that text (none when it has no such item).
bool bFunSetText(QObject* component, const std::string& text);

// The lines of a memo, one entry per line of its text.
std::vector<std::string> vFunGetLines(const QObject* memo);
void vFunSetLines(QObject* memo, const std::vector<std::string>& lines);

// ---- Typing limits ------------------------------------------------------

// Limits what the user can type into an edit (or a combo box's edit) to
// maxLength characters (each is one Windows-1250 byte). Text that the
// program sets stays whole; the user can still shorten it, but not lengthen
// it while it is over the limit. 0 removes the limit.
void vFunSetTypingLimit(QLineEdit* edit, int maxLength);
void vFunSetTypingLimit(QComboBox* combo, int maxLength);

// ---- Code-page guard ---------------------------------------------------

// What the user types or pastes into an edit, a combo box's edit or a memo
// ends in stored Windows-1250 text: a change that brings in a character the
// code page cannot hold is taken back and the user is told in a short
// message box. Forms guard every such component they make (TFormBase::Make).
void vFunGuardCodePage(QObject* component);
// True when every character of the text has its Windows-1250 byte.
bool bFunFitsCodePage(const QString& text);

// ---- Memo keys ---------------------------------------------------------

// Tab and Shift+Tab in a memo move to the next and the previous field, as in
// every other field, instead of typing a TAB character into its text; Enter
// still starts a new line, and a TAB the text already holds stays in it.
// Ctrl+Tab goes on to the window (which may bring another page forward).
// Forms do this for every memo they make (TFormBase::Make); other
// components are left as they are.
void vFunTabLeavesMemo(QObject* component);

// ---- Refused keys -------------------------------------------------------

// Tells the user at once that a control refused what she typed: the
// system's beep, and the reason shown beside the control for a few seconds.
void vFunTellRefused(QWidget* control, const QString& reason);

// ---- Click handlers -----------------------------------------------------

// Connects a component's click to a handler: a menu item or a button when it
// is clicked; a check box whenever its state changes, by the user or by the
// program (as its click handler runs on every change of Checked).
void vFunOnClick(QObject* component, std::function<void()> handler);

// ---- Image --------------------------------------------------------------

// A picture on a form. With autoSize it takes the size of its picture;
// otherwise the picture is drawn from the top-left corner (stretched into
// the whole component with stretch).
class TImage : public QWidget {
  Q_OBJECT
 public:
  explicit TImage(QWidget* parent = nullptr);
  void setAutoSize(bool on);
  void setStretch(bool on);
  void setPicture(const QImage& picture);
  // Copies the picture onto the image's own canvas, which is kept from one
  // call to the next while the size and format stay: a page shown again and
  // again costs a copy of its pixels, not a fresh block of memory each time.
  void copyPicture(const QImage& picture);
  // The picture to draw on; call update() (or repaint()) afterwards.
  QImage& Picture() { return picture_; }
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  bool autoSize_ = false;
  bool stretch_ = false;
};

// ---- Scroll box ---------------------------------------------------------

// A scroll box over a page of fields. The field that has the keyboard is
// always inside its visible part, however it got the keyboard (Tab,
// Shift+Tab, a click, a page brought forward, the program putting it there)
// and whenever the box changes its size, and a key typed into a field the
// user has scrolled away from brings it back first: the box scrolls the
// least that brings the field, with a little of what surrounds it, into view.
class TScrollBox : public QScrollArea {
  Q_OBJECT
 public:
  explicit TScrollBox(QWidget* parent = nullptr);
  // Back to the top-left corner (a window shown again starts there).
  void vFunScrollHome();
  // Scrolls the field into view when it lies in this box.
  void vFunShowField(QWidget* field);
  // The scroll box a widget lies in; nullptr when none.
  static TScrollBox* boxFunHolding(const QWidget* widget);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void showFocusedField();
};

// ---- Status bar ---------------------------------------------------------

// A status bar in simple-panel mode: one text across the window.
class TStatusBar : public QStatusBar {
  Q_OBJECT
 public:
  explicit TStatusBar(QWidget* parent = nullptr);
  std::string SimpleText() const;
  void setSimpleText(const std::string& text);
  // The text as a path the system names: a path shown here comes back
  // whole, whatever letters it has.
  TSystemPath SimplePath() const;
  void setSimplePath(const TSystemPath& path);

 private:
  QLabel* panel_;
};

// ---- Tool-bar group ----------------------------------------------------

// Widgets that stand together at the end of a tool bar: in one row where the
// bar is wide enough for them, else in the fewest rows it takes (at most one
// widget a row), so a narrow window never pushes one of them out of sight
// into the bar's overflow menu. Add it to the bar (QToolBar::addWidget)
// after everything else, then its widgets with addWidget, in order.
class TToolBarGroup : public QWidget {
  Q_OBJECT
 public:
  explicit TToolBarGroup(QToolBar* bar);
  // Adds a widget (made with this group as its parent) after the others.
  void addWidget(QWidget* widget);
  // Rows the widgets stand in now.
  int Rows() const { return rows_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Widgets a row holds when the group stands in `rows` rows: filled row by
  // row, as many in each as the first needs.
  int iFunPerRow(int rows) const;
  // Width of the group with its widgets in `rows` rows.
  int iFunWidthInRows(int rows) const;
  // Puts the widgets into the fewest rows with which the bar shows all.
  void vFunArrange();
  void vFunPlaceInRows(int rows);
  QToolBar* bar_;
  QVBoxLayout* rowsLayout_;
  std::vector<QWidget*> widgets_;
  int rows_ = 1;
};

// ---- Timer --------------------------------------------------------------

// A timer component: runs OnTimer on the GUI thread every Interval ms while
// Enabled. setEnabled may be called from any thread.
class TTimer : public QObject {
  Q_OBJECT
 public:
  explicit TTimer(QObject* parent = nullptr);
  bool Enabled() const;
  void setEnabled(bool enabled);
  int Interval() const { return timer_.interval(); }
  void setInterval(int ms) { timer_.setInterval(ms); }
  std::function<void()> OnTimer;

 private:
  QTimer timer_;
  std::atomic<bool> enabled_ {false};
};

// ---- Threads ------------------------------------------------------------

// Runs work on the GUI thread, later, from any thread. A worker thread never
// touches a widget itself; it posts the work here.
void vFunPostToGui(std::function<void()> work);
// True on the GUI thread (and wherever no application object exists yet).
bool bFunOnGuiThread();
