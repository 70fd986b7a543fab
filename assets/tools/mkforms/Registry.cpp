// registry.csv (the forms in protocol order) and lists.txt (item lists).
#include "Description.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace mkforms {

void readLists(const fs::path& file, Lists& lists) {
  StatementReader statements(file);
  std::string line;
  for (std::string where; statements.next(line, where);) {
    const std::vector<Word> words = splitWords(line, where);
    if (words.size() < 3 || words[0].value != "list" || words[1].quoted) fail(where, "list NAME items... expected");
    std::vector<std::string> items;
    for (std::size_t k = 2; k < words.size(); ++k) {
      if (words[k].quoted) {
        items.push_back(words[k].value);
      } else {
        const auto other = lists.find(words[k].value);
        if (other == lists.end()) fail(where, "no list \"" + words[k].value + "\" before this one");
        items.insert(items.end(), other->second.begin(), other->second.end());
      }
    }
    if (!lists.emplace(words[1].value, items).second) fail(where, "the list \"" + words[1].value + "\" is named twice");
  }
}

namespace {

bool isCppName(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return c == '_' || (std::isalnum(static_cast<unsigned char>(c)) && c > 0); });
}

// The rows seen so far by one of their columns: a second row of the same
// value is a fault.
class Unique {
 public:
  explicit Unique(std::string what) : what_(std::move(what)) {}
  void add(const std::string& value, const std::string& where) {
    const auto [it, fresh] = seen_.emplace(value, where);
    if (!fresh) fail(where, "the " + what_ + " \"" + value + "\" is taken (" + it->second + ")");
  }

 private:
  std::string what_;
  std::map<std::string, std::string> seen_;
};

}  // namespace

Registry readRegistry(const fs::path& file) {
  StatementReader statements(file);
  Registry registry;
  Unique classes("class"), globals("global"), tags("tag"), kinds("kind"), names("document name"), tree("tree position");
  std::map<int, std::string> slots;  // created -> where
  int rows = 0;                      // windows, a faulty row among them
  std::string line;
  for (std::string where; statements.next(line, where);) attempt([&] {
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ';');) cells.push_back(trimmed(cell));
    if (cells.size() != 12 && cells.size() != 3)
      fail(where, "12 columns (a document form) or 3 (a window of the program's own) expected, found " +
                      std::to_string(cells.size()));
    ++rows;
    const std::string &className = cells[0], &global = cells[1];
    for (const std::string* name : {&className, &global})
      if (!isCppName(*name)) fail(where, "\"" + *name + "\" is not a C++ name (letters, digits and \"_\")");
    const int created = wholeNumber(cells[cells.size() == 3 ? 2 : 7], where);
    Entry e;
    if (cells.size() == 12) {
      e.where = where;
      e.className = className;
      e.global = global;
      e.unit = cells[2];
      e.tag = cells[3];
      e.kind = cells[4];
      e.documentName = cells[5];
      e.tree = cells[6] == "-" ? 0 : wholeNumber(cells[6], where);
      if (cells[6] != "-" && e.tree < 1) fail(where, "tree: a position from 1 or \"-\" expected");
      e.created = created;
      e.cancel = cells[8];
      if (cells[9] != "yes" && cells[9] != "no") fail(where, "line rows: \"yes\" or \"no\" expected");
      e.lineRows = cells[9] == "yes";
      e.caption = cells[10];
      e.description = cells[11];
      if (!isCppName(e.cancel)) fail(where, "the cancel button \"" + e.cancel + "\" is not a component name");
    }
    classes.add(className, where);
    globals.add(global, where);
    if (cells.size() == 12) {
      tags.add(e.tag, where);
      kinds.add(e.kind, where);
      names.add(e.documentName, where);
      if (e.tree > 0) tree.add(std::to_string(e.tree), where);
    }
    if (const auto [it, fresh] = slots.emplace(created, where); !fresh)
      fail(where, "created: the place " + std::to_string(created) + " among the windows is taken (" + it->second + ")");
    if (cells.size() == 12) registry.forms.push_back(e);
    else registry.shell.push_back({className, global, created, where});
  });
  // The places are 1 to the number of windows, each once (so none is left
  // empty); the main window, made by the program's own code, is the first.
  const int count = rows;
  auto outOfRange = [&](int created, const std::string& where) {
    if (created < 1 || created > count)
      noteFault(where + ": error: created: the place " + std::to_string(created) + " is outside 1 to " +
                std::to_string(count) + ", the number of windows in the registry");
  };
  for (const Entry& e : registry.forms) outOfRange(e.created, e.where);
  for (const ShellWindow& w : registry.shell) outOfRange(w.created, w.where);
  if (const auto first = slots.find(1);
      first != slots.end() && std::none_of(registry.shell.begin(), registry.shell.end(),
                                           [](const ShellWindow& w) { return w.created == 1; }))
    noteFault(first->second + ": error: created: the first window made is the main window, not a document form");
  return registry;
}

}  // namespace mkforms
