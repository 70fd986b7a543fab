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

TTextBatch::TPending& TTextBatch::pending(QObject* component) {
  if (const auto found = at_.find(component); found != at_.end()) return pending_[found->second];
  at_.emplace(component, pending_.size());
  TPending fresh {component, QString(), -1};
  // What it shows now, until the batch says otherwise.
  if (auto* combo = qobject_cast<QComboBox*>(component); combo && !combo->isEditable())
    fresh.index = combo->currentIndex();
  else if (combo)
    fresh.text = combo->currentText();
  else if (auto* edit = qobject_cast<QLineEdit*>(component))
    fresh.text = edit->text();
  else if (auto* label = qobject_cast<QLabel*>(component))
    fresh.text = label->text();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(component))
    fresh.text = memo->toPlainText();
  return pending_.emplace_back(std::move(fresh));
}

std::string TTextBatch::strFunText(const QObject* component) const {
  const auto found = at_.find(component);
  if (found == at_.end()) return strFunGetText(component);
  const TPending& p = pending_[found->second];
  switch (kindOf(component)) {
    case TComponentKind::ComboBox: {
      const auto* combo = static_cast<const QComboBox*>(component);
      if (!combo->isEditable()) return p.index >= 0 ? cp(combo->itemText(p.index)) : std::string();
      return cp(p.text);
    }
    case TComponentKind::Memo: {
      QString text = p.text;
      return cp(text.replace('\n', QStringLiteral("\r\n")));
    }
    case TComponentKind::Edit:
    case TComponentKind::Label: return cp(p.text);
    case TComponentKind::Other: break;
  }
  return {};
}

void TTextBatch::vFunSetText(QObject* component, const std::string& text) {
  switch (kindOf(component)) {
    case TComponentKind::Edit:
    case TComponentKind::Label: pending(component).text = qt(text); return;
    case TComponentKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(component);
      if (combo->isEditable())
        pending(component).text = qt(text);
      else
        pending(component).index = combo->findText(qt(text), Qt::MatchExactly);
      return;
    }
    case TComponentKind::Memo: {
      QString value = qt(text);
      pending(component).text = value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      return;
    }
    case TComponentKind::Other: return;
  }
}

void TTextBatch::vFunSetLines(QObject* memo, const std::vector<std::string>& lines) {
  if (kindOf(memo) != TComponentKind::Memo) return;
  QStringList text;
  for (const std::string& line : lines) text << qt(line);
  pending(memo).text = text.join('\n');
}

void TTextBatch::vFunSetIndex(QObject* combo, int index) {
  if (auto* box = qobject_cast<QComboBox*>(combo); box && !box->isEditable()) pending(combo).index = index;
}

void TTextBatch::vFunCommit() {
  for (const TPending& p : pending_) {
    QObject* component = p.component;
    switch (kindOf(component)) {
      case TComponentKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(component);
        if (editDiffers(edit, p.text)) edit->setText(p.text);
        break;
      }
      case TComponentKind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(component);
        if (!combo->isEditable()) {
          if (combo->currentIndex() != p.index) combo->setCurrentIndex(p.index);
        } else if (!combo->lineEdit() || editDiffers(combo->lineEdit(), p.text)) {
          combo->setEditText(p.text);
        }
        break;
      }
      case TComponentKind::Label: {
        auto* label = static_cast<QLabel*>(component);
        if (label->text() != p.text || label->textFormat() != Qt::PlainText) {
          label->setTextFormat(Qt::PlainText);
          label->setText(p.text);
        }
        break;
      }
      case TComponentKind::Memo: {
        auto* memo = static_cast<QPlainTextEdit*>(component);
        if (memoDiffers(memo, p.text)) memo->setPlainText(p.text);
        break;
      }
      case TComponentKind::Other: break;
    }
  }
  pending_.clear();
  at_.clear();
}
