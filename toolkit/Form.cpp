#include "toolkit/Form.h"

#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QShowEvent>
#include <QWindow>
#include <QElapsedTimer>

#include <stdexcept>

namespace {

// Component names are plain ASCII identifiers; letter case is ignored.
std::string lowered(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

}  // namespace

void TComponentRegistry::registerComponent(QObject* component, const QString& name) {
  if (!name.isEmpty()) {
    const std::string key = lowered(name.toStdString());
    const auto found = byName_.find(key);
    if (found != byName_.end() && components_[found->second])
      throw std::logic_error("component name used twice: " + name.toStdString());
    byName_[key] = components_.size();
  }
  component->setObjectName(name);
  components_.emplace_back(component);
}

QObject* TComponentRegistry::findComponent(std::string_view name) const {
  const auto found = byName_.find(lowered(name));
  return found == byName_.end() ? nullptr : components_[found->second].data();
}

QString TComponentRegistry::ComponentName(int index) const {
  const QObject* component = Components(index);
  return component ? component->objectName() : QString();
}

void TFormBase::guardTyping(QObject* component) { vFunGuardCodePage(component); }

TForm::TForm(const QString& name, QWidget* parent) : QMainWindow(parent) { setObjectName(name); }

void TForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
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

void TDialogForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
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

