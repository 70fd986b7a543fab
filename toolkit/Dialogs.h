#pragma once
// Message boxes, file dialogs and the text prompt, with the Windows flag and
// answer values the program's windows are written with, and the one seam
// through which tests answer them and read what was shown.
// All texts are Windows-1250.
#include <QObject>
#include <QString>

#include "platform/SystemPath.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QDialog;

// Buttons (low nibble) and icons of MessageBox.
constexpr int MB_OK = 0, MB_OKCANCEL = 1, MB_ABORTRETRYIGNORE = 2, MB_YESNOCANCEL = 3, MB_YESNO = 4,
              MB_RETRYCANCEL = 5;
constexpr int MB_ICONSTOP = 16, MB_ICONQUESTION = 32, MB_ICONWARNING = 48, MB_ICONINFORMATION = 64;
// The second button is the default one (Enter presses it), not the first.
constexpr int MB_DEFBUTTON2 = 0x100;
// Answers.
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;

// Shows a modal message box and returns the button pressed. Safe to call
// from a worker thread: the box is shown by the GUI thread while the worker
// waits for the answer.
int MessageBox(const std::string& text, const std::string& caption, int flags);

// The text prompt: true with the typed text in `value` (which also gives
// the starting text) when the user confirms.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

// An open or save dialog as a component of its form: each use sets the
// title and filter ("Opis(*.ext)|*.ext|..."), Execute runs it, and FileName
// keeps the name last chosen for the next use. FileName is Windows-1250 text
// for messages and the proposed name; Path is the same choice as the system
// names the file, the one to open and save under.
//
// The kind of file a dialog is for is its Filter: each kind keeps the file
// last chosen for it in this run, whichever dialog chose it. A dialog starts
// in InitialDir when the program set one; else, for the open document's own
// kind, in that document's folder; else in the folder of its kind's last
// choice; else in the open document's folder; else in the folder last
// chosen in any file dialog of this run; else in the home folder. A save
// dialog proposes the last part of FileName (the whole of the last choice
// when FileName is still it), never a choice of another kind left in it,
// with the ending of DefaultExt when it has none.
class TFileDialog : public QObject {
  Q_OBJECT
 public:
  enum class TKind { Open, Save };
  explicit TFileDialog(TKind kind, QObject* parent = nullptr) : QObject(parent), Kind(kind) {}

  TKind Kind;
  std::string Title;
  std::string Filter;
  std::string FileName;
  TSystemPath Path;
  TSystemPath InitialDir;
  // A saved name typed without an extension gets this one (without the dot).
  std::string DefaultExt;
  // A save dialog that asks itself before a file is replaced.
  bool ConfirmOverwrite = false;

  bool Execute();

  // The folder the next Execute starts in.
  TSystemPath StartFolder() const;
  // The name a save dialog proposes at the next Execute (system bytes;
  // empty for none, and for an open dialog).
  std::string ProposedName() const;
  // The next Execute proposes this file, as if it had just been chosen in
  // this dialog for its kind of file (set the Filter first).
  void Propose(const TSystemPath& file);
  // The next Execute proposes the file last chosen for this dialog's kind of
  // file in this run, or firstName when none has been.
  void ProposeOwnKind(const std::string& firstName);

 private:
  std::string chosenFilter_;  // the kind of the last choice made here
};

// The path of the document the program has open (empty when none) and the
// filter of its kind of file; the main window gives them, and the file
// dialogs start in its folder.
void vFunSetOpenDocumentSource(std::function<TSystemPath()> source, const std::string& documentFilter = {});
// Forgets the files and folders last chosen (a new session).
void vFunForgetChosenFolder();

// What a test sees of a shown dialog.
struct TShownBox {
  std::string text, caption;
  int flags = 0;
  friend bool operator==(const TShownBox&, const TShownBox&) = default;
};
struct TShownFileDialog {
  TFileDialog::TKind kind;
  std::string title, filter, fileName;
  TSystemPath folder;  // where it started
  std::string proposed;  // the name a save dialog proposed (system bytes)
};
struct TShownPrompt {
  std::string caption, prompt, value;
};

// The seam. While an instance lives, no real box, file dialog, prompt or
// modal run appears: message boxes take the queued answers in turn (each
// answer is used up, so a test may queue more at any time) (a box
// with nothing queued gets IDOK for an OK-only box, else IDCANCEL when it has
// that button, else IDNO), file dialogs and prompts take theirs (nullopt is
// cancel; none queued is cancel; a file name is given as the real dialog
// returns it, a QString of the file's name), and modal runs go to
// onShowModal when set. The outermost seam starts a new session of the
// file dialogs (no folder chosen yet).
class TScriptedDialogs {
 public:
  TScriptedDialogs();
  ~TScriptedDialogs();
  TScriptedDialogs(const TScriptedDialogs&) = delete;
  TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

  std::vector<int> answers;
  std::vector<std::optional<QString>> fileNames;
  std::vector<std::optional<std::string>> inputs;
  // Given the dialog being run modally; returns its modal result.
  std::function<int(QDialog*)> onShowModal;

  std::vector<TShownBox> boxes;
  std::vector<TShownFileDialog> fileDialogs;
  std::vector<TShownPrompt> prompts;
  std::vector<QDialog*> modalRuns;

  // Called with every box as it is shown (after it is recorded).
  std::function<void(const TShownBox&)> onBox;

 private:
  friend int MessageBox(const std::string&, const std::string&, int);
  friend bool InputQuery(const std::string&, const std::string&, std::string&);
  friend class TFileDialog;
  friend std::optional<int> vFunScriptedShowModal(QDialog*);
  int answerBox(const TShownBox& box);
  TScriptedDialogs* outer_;
};

// True while a seam answers in place of real dialogs.
bool bFunDialogsScripted();
// The modal result the seam gives for this dialog, or nullopt for a real run.
std::optional<int> vFunScriptedShowModal(QDialog* dialog);
