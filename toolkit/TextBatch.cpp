#include "toolkit/TextBatch.h"

#include "platform/Cp1250.h"
#include "toolkit/Components.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QString qt(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }
std::string cp(const QString& text) { return cp1250FromUtf8(text.toStdString()); }

// Whether setText(text) would leave the edit other than it is.
bool editDiffers(const QLineEdit* edit, const QString& text) {
  return edit->text() != text || edit->isModified() || edit->hasSelectedText() ||
         edit->cursorPosition() != edit->text().size() || edit->isUndoAvailable() || edit->isRedoAvailable();
}

// Whether setPlainText(text) would leave the memo other than it is.
bool memoDiffers(const QPlainTextEdit* memo, const QString& text) {
  const QTextDocument* document = memo->document();
  const QTextCursor cursor = memo->textCursor();
  return memo->toPlainText() != text || document->isUndoAvailable() || document->isRedoAvailable() ||
         document->isModified() || cursor.position() != 0 || cursor.hasSelection() ||
         memo->verticalScrollBar()->value() != 0 || memo->horizontalScrollBar()->value() != 0;
}

}  // namespace

TTextBatch::TState TTextBatch::stateOf(const QObject* component) {
  TState state;
  if (auto* combo = qobject_cast<const QComboBox*>(component); combo && !combo->isEditable())
    state.index = combo->currentIndex();
  else if (combo)
    state.text = combo->currentText();
  else if (auto* edit = qobject_cast<const QLineEdit*>(component))
    state.text = edit->text();
  else if (auto* label = qobject_cast<const QLabel*>(component))
    state.text = label->text();
  else if (auto* memo = qobject_cast<const QPlainTextEdit*>(component))
    state.text = memo->toPlainText();
  return state;
}

TTextBatch::TPending& TTextBatch::pending(QObject* component) {
  if (const auto found = at_.find(component); found != at_.end()) return pending_[found->second];
  at_.emplace(component, pending_.size());
  // Every setter gives the part of the state its kind shows at once, so what
  // the component shows now is never read here (a cleared holder names
  // every field of it).
  return pending_.emplace_back(TPending {component, {}});
}

namespace {
TTextBatch* gActive = nullptr;
}

TTextBatch::TScope::TScope(TTextBatch& batch) : outer_(gActive) { gActive = &batch; }
TTextBatch::TScope::~TScope() { gActive = outer_; }
TTextBatch* TTextBatch::batchFunActive() { return gActive; }

std::string TTextBatch::strFunTextOf(const QObject* component, const TState& state) {
  switch (kindOf(component)) {
    case TComponentKind::ComboBox: {
      const auto* combo = static_cast<const QComboBox*>(component);
      if (!combo->isEditable()) return state.index >= 0 ? cp(combo->itemText(state.index)) : std::string();
      return cp(state.text);
    }
    case TComponentKind::Memo: {
      QString text = state.text;
      return cp(text.replace('\n', QStringLiteral("\r\n")));
    }
    case TComponentKind::Edit:
    case TComponentKind::Label: return cp(state.text);
    case TComponentKind::Other: break;
  }
  return {};
}

std::string TTextBatch::strFunText(const QObject* component) const {
  const auto found = at_.find(component);
  return strFunTextOf(component, found == at_.end() ? stateOf(component) : pending_[found->second].state);
}

void TTextBatch::vFunSetText(QObject* component, const std::string& text) {
  switch (kindOf(component)) {
    case TComponentKind::Edit:
    case TComponentKind::Label: pending(component).state.text = qt(text); return;
    case TComponentKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(component);
      if (combo->isEditable())
        pending(component).state.text = qt(text);
      else
        pending(component).state.index = combo->findText(qt(text), Qt::MatchExactly);
      return;
    }
    case TComponentKind::Memo: {
      QString value = qt(text);
      pending(component).state.text = value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      return;
    }
    case TComponentKind::Other: return;
  }
}

void TTextBatch::vFunSetLines(QObject* memo, const std::vector<std::string>& lines) {
  if (kindOf(memo) != TComponentKind::Memo) return;
  QStringList text;
  for (const std::string& line : lines) text << qt(line);
  pending(memo).state.text = text.join('\n');
}

void TTextBatch::vFunSetIndex(QObject* combo, int index) {
  if (auto* box = qobject_cast<QComboBox*>(combo); box && !box->isEditable()) pending(combo).state.index = index;
}

void TTextBatch::vFunCommit() {
  for (const TPending& p : pending_) {
    QObject* component = p.component;
    switch (kindOf(component)) {
      case TComponentKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(component);
        if (editDiffers(edit, p.state.text)) edit->setText(p.state.text);
        break;
      }
      case TComponentKind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(component);
        if (!combo->isEditable()) {
          if (combo->currentIndex() != p.state.index) combo->setCurrentIndex(p.state.index);
        } else if (!combo->lineEdit() || editDiffers(combo->lineEdit(), p.state.text)) {
          combo->setEditText(p.state.text);
        }
        break;
      }
      case TComponentKind::Label: {
        auto* label = static_cast<QLabel*>(component);
        if (label->text() != p.state.text || label->textFormat() != Qt::PlainText) {
          label->setTextFormat(Qt::PlainText);
          label->setText(p.state.text);
        }
        break;
      }
      case TComponentKind::Memo: {
        auto* memo = static_cast<QPlainTextEdit*>(component);
        if (memoDiffers(memo, p.state.text)) memo->setPlainText(p.state.text);
        break;
      }
      case TComponentKind::Other: break;
    }
  }
  pending_.clear();
  at_.clear();
}
