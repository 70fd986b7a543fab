#include "toolkit/Dialogs.h"

#include "platform/Cp1250.h"
#include "toolkit/Components.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <map>

namespace {

TScriptedDialogs* gScript = nullptr;

// The session of the file dialogs: for each kind of file (a dialog's
// filter) the file last chosen in a dialog of that kind, the folder last
// chosen in any of them, and where the open document's path comes from,
// with the filter of its kind.
std::map<std::string, TSystemPath> gChosenOfKind;
TSystemPath gChosenFolder;
std::function<TSystemPath()> gOpenDocument;
std::string gDocumentFilter;

TSystemPath chosenOfKind(const std::string& filter) {
  const auto it = gChosenOfKind.find(filter);
  return it == gChosenOfKind.end() ? TSystemPath() : it->second;
}

TSystemPath systemPath(const QString& name) { return TSystemPath(QFile::encodeName(name).toStdString()); }
QString qtPath(const TSystemPath& path) { return QFile::decodeName(path.c_str()); }

bool isFolder(const TSystemPath& path) { return !path.empty() && QFileInfo(qtPath(path)).isDir(); }

QString qt(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }
std::string cp(const QString& text) { return cp1250FromUtf8(text.toStdString()); }

// Runs fn on the GUI thread and waits for it.
template <class Fn>
void onGui(Fn&& fn) {
  if (bFunOnGuiThread())
    fn();
  else
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::forward<Fn>(fn), Qt::BlockingQueuedConnection);
}

// The text a box shows: a control character that a message carries (a
// bell) would be drawn as an empty box, so it is left out on screen; line
// breaks and tabs stay.
QString shownText(const std::string& text) {
  QString shown = qt(text);
  shown.removeIf([](QChar c) { return c.category() == QChar::Other_Control && c != u'\n' && c != u'\t'; });
  return shown;
}

int realMessageBox(const std::string& text, const std::string& caption, int flags) {
  QMessageBox box(QApplication::activeWindow());
  // An empty caption stays empty (Qt would show the program's name).
  box.setWindowTitle(caption.empty() ? QStringLiteral(" ") : qt(caption));
  box.setText(shownText(text));
  switch (flags & 0xF0) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  struct Button { QMessageBox::StandardButton button; int id; };
  std::vector<Button> buttons;
  switch (flags & 0x0F) {
    case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL:
      buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
      break;
    case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
    default: buttons = {{QMessageBox::Ok, IDOK}}; break;
  }
  // Polish button texts, as the system shows them on a Polish desktop.
  static const std::pair<QMessageBox::StandardButton, const char*> kTexts[] = {
      {QMessageBox::Ok, "OK"},         {QMessageBox::Cancel, "Anuluj"},   {QMessageBox::Yes, "Tak"},
      {QMessageBox::No, "Nie"},        {QMessageBox::Abort, "Przerwij"},  {QMessageBox::Retry, "Ponów próbę"},
      {QMessageBox::Ignore, "Ignoruj"}};
  for (const auto& b : buttons) {
    QPushButton* pushButton = box.addButton(b.button);
    for (const auto& [which, label] : kTexts)
      if (which == b.button) pushButton->setText(QString::fromUtf8(label));
  }
  box.setDefaultButton(buttons[(flags & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0].button);
  box.exec();
  const auto pressed = box.standardButton(box.clickedButton());
  for (const auto& b : buttons)
    if (b.button == pressed) return b.id;
  // Closed without a button: the box's cancel answer, as the system gives it.
  for (const auto& b : buttons)
    if (b.id == IDCANCEL || b.id == IDNO) return b.id;
  return buttons.front().id;
}

// "Opis(*.ext)|*.ext|Inne|*.*" -> "Opis(*.ext) (*.ext);;Inne (*.*)"
QString qtFilter(const std::string& filter) {
  const QStringList parts = qt(filter).split('|');
  QStringList filters;
  // A description that already shows its patterns ("Tarvek(*.sqtvk)") is
  // taken as it is; Qt reads the patterns from its parentheses.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    filters << (parts[i].endsWith(')') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  return filters.join(";;");
}

}  // namespace

// Seams nest: an inner one answers while it lives, then the outer one again.
TScriptedDialogs::TScriptedDialogs() : outer_(gScript) {
  if (!outer_) vFunForgetChosenFolder();
  gScript = this;
}
TScriptedDialogs::~TScriptedDialogs() {
  if (gScript == this) gScript = outer_;
}

int TScriptedDialogs::answerBox(const TShownBox& box) {
  boxes.push_back(box);
  if (onBox) onBox(box);
  if (!answers.empty()) {
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  switch (box.flags & 0x0F) {
    case MB_OK: return IDOK;
    case MB_OKCANCEL: case MB_YESNOCANCEL: case MB_RETRYCANCEL: return IDCANCEL;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDNO;
  }
}

int MessageBox(const std::string& text, const std::string& caption, int flags) {
  int result = IDCANCEL;
  onGui([&] {
    result = gScript ? gScript->answerBox({text, caption, flags}) : realMessageBox(text, caption, flags);
  });
  return result;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  bool confirmed = false;
  onGui([&] {
    if (gScript) {
      gScript->prompts.push_back({caption, prompt, value});
      auto& inputs = gScript->inputs;
      if (!inputs.empty()) {
        if (inputs.front()) {
          value = *inputs.front();
          confirmed = true;
        }
        inputs.erase(inputs.begin());
      }
      return;
    }
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(caption.empty() ? QStringLiteral(" ") : qt(caption));
    dialog.setLabelText(qt(prompt));
    dialog.setTextValue(qt(value));
    dialog.setOkButtonText(QString::fromUtf8("OK"));
    dialog.setCancelButtonText(QString::fromUtf8("Anuluj"));
    if (dialog.exec() == QDialog::Accepted) {
      value = cp(dialog.textValue());
      confirmed = true;
    }
  });
  return confirmed;
}

void vFunSetOpenDocumentSource(std::function<TSystemPath()> source, const std::string& documentFilter) {
  gOpenDocument = std::move(source);
  gDocumentFilter = documentFilter;
}
void vFunForgetChosenFolder() {
  gChosenFolder = TSystemPath();
  gChosenOfKind.clear();
}

TSystemPath TFileDialog::StartFolder() const {
  if (isFolder(InitialDir)) return InitialDir;
  TSystemPath documentFolder;
  if (gOpenDocument) {
    const TSystemPath document = gOpenDocument();
    if (!document.empty() && isFolder(document.folder())) documentFolder = document.folder();
  }
  if (!documentFolder.empty() && Filter == gDocumentFilter) return documentFolder;
  if (const TSystemPath own = chosenOfKind(Filter); !own.empty() && isFolder(own.folder())) return own.folder();
  if (!documentFolder.empty()) return documentFolder;
  if (isFolder(gChosenFolder)) return gChosenFolder;
  return systemPath(QDir::homePath());
}

void TFileDialog::Propose(const TSystemPath& file) {
  Path = file;
  FileName = file.text();
  chosenFilter_ = Filter;
}

void TFileDialog::ProposeOwnKind(const std::string& firstName) {
  if (const TSystemPath last = chosenOfKind(Filter); !last.empty())
    Propose(last);
  else
    FileName = firstName;
}

std::string TFileDialog::ProposedName() const {
  if (Kind != TKind::Save) return {};
  // A choice left in the dialog by another kind of file is never proposed.
  const bool leftOver = !Path.empty() && Path.text() == FileName;
  std::string name = !leftOver                 ? TSystemPath::fromText(FileName).name()
                     : chosenFilter_ == Filter ? Path.name()
                                               : chosenOfKind(Filter).name();
  // Shown with the ending the saved file gets.
  if (!name.empty() && !DefaultExt.empty() && QFileInfo(QFile::decodeName(name.c_str())).suffix().isEmpty())
    name += "." + DefaultExt;
  return name;
}

bool TFileDialog::Execute() {
  std::optional<QString> chosen;  // as the dialog returns it
  const TSystemPath folder = StartFolder();
  onGui([&] {
    if (gScript) {
      gScript->fileDialogs.push_back({Kind, Title, Filter, FileName, folder, ProposedName()});
      auto& names = gScript->fileNames;
      if (!names.empty()) {
        chosen = names.front();
        names.erase(names.begin());
      }
      return;
    }
    QWidget* parent = QApplication::activeWindow();
    QString start = qtPath(folder);
    if (const std::string proposed = ProposedName(); !proposed.empty()) start = qtPath(folder / proposed);
    const QString name =
        Kind == TKind::Open ? QFileDialog::getOpenFileName(parent, qt(Title), start, qtFilter(Filter))
                            : QFileDialog::getSaveFileName(parent, qt(Title), start, qtFilter(Filter), nullptr,
                                                           ConfirmOverwrite ? QFileDialog::Options()
                                                                            : QFileDialog::DontConfirmOverwrite);
    if (!name.isEmpty()) chosen = name;
  });
  if (!chosen || chosen->isEmpty()) return false;
  Path = systemPath(*chosen);
  if (Kind == TKind::Save && !DefaultExt.empty() && QFileInfo(*chosen).suffix().isEmpty())
    Path = TSystemPath(Path.bytes() + "." + DefaultExt);
  FileName = Path.text();
  chosenFilter_ = Filter;
  gChosenOfKind[Filter] = Path;
  gChosenFolder = Path.folder();
  return true;
}

bool bFunDialogsScripted() { return gScript != nullptr; }

std::optional<int> vFunScriptedShowModal(QDialog* dialog) {
  if (!gScript) return std::nullopt;
  gScript->modalRuns.push_back(dialog);
  return gScript->onShowModal ? gScript->onShowModal(dialog) : 2;
}
