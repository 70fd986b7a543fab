#pragma once
// Texts for many components, gathered first and given to the components in
// one go. A component is touched only when what it shows would change: a
// holder that is emptied and then filled again from a student's rows
// leaves alone every field whose text stays the same, so loading a student
// costs what differs from the one shown before, not every field twice.
//
// After commit() every component shows exactly what bFunSetText,
// vFunSetLines or an emptied list would have left: its text, the cursor at
// the end of an edit (at the start of a memo), nothing selected, nothing to
// undo, not modified. A component whose state differs in any of these is
// set as before.
#include <QString>

#include <string>
#include <unordered_map>
#include <vector>

class QObject;

class TTextBatch {
 public:
  // The text the component will show (Windows-1250), as strFunGetText reads
  // it: what this batch holds for it, else what it shows now.
  std::string strFunText(const QObject* component) const;
  // As bFunSetText: an edit's text, an editable list's edit text, a fixed
  // list's item of that text (none when it has no such item), a label's
  // caption, a memo's whole text ("\r\n" between lines).
  void vFunSetText(QObject* component, const std::string& text);
  // As vFunSetLines.
  void vFunSetLines(QObject* memo, const std::vector<std::string>& lines);
  // A fixed list's choice by index (-1: none).
  void vFunSetIndex(QObject* combo, int index);
  // Gives each component its text, in the order they were first named.
  void vFunCommit();

  // While a scope lives, bFunSetText, vFunSetLines, strFunGetText and
  // vFunGetLines of the toolkit go through its batch (GUI thread only), so
  // code that fills fields through them takes part in the batch.
  class TScope {
   public:
    explicit TScope(TTextBatch& batch);
    ~TScope();
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TTextBatch* outer_;
  };
  // The batch of the innermost scope, or nullptr.
  static TTextBatch* batchFunActive();

 private:
  struct TState {
    QString text;    // edits, editable lists, labels, memos
    int index = -1;  // fixed lists
  };
  struct TPending {
    QObject* component;
    TState state;  // what it will show
  };
  static TState stateOf(const QObject* component);
  static std::string strFunTextOf(const QObject* component, const TState& state);
  TPending& pending(QObject* component);
  std::vector<TPending> pending_;
  std::unordered_map<const QObject*, std::size_t> at_;
};
