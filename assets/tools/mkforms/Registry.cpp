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

// The missing numbers of a run: "12 is", "12 and 13 are" or "12 to 20 are".
std::string missingRun(int first, int last) {
  if (first == last) return std::to_string(first) + " is";
  return std::to_string(first) + (last == first + 1 ? " and " : " to ") + std::to_string(last) + " are";
}

}  // namespace

Registry readRegistry(const fs::path& file) {
  StatementReader statements(file);
  Registry registry;
  Unique classes("class"), globals("global"), tags("tag"), kinds("kind"), names("document name"), tree("tree position");
  struct Slot {
    std::string where;
    bool shell;
  };
  std::map<int, Slot> slots;                        // created -> the first row of that place
  std::vector<std::pair<int, std::string>> places;  // every row's created place, where
  std::map<int, std::string> positions;             // tree -> the first row of that position
  int rows = 0;                                     // windows, the faulty rows among them
  std::string line;
  for (std::string where; statements.next(line, where);) {
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ';');) cells.push_back(trimmed(cell));
    if (cells.size() != 12 && cells.size() != 3) {
      noteFault(where + ": error: 12 columns (a document form) or 3 (a window of the program's own) expected, found " +
                std::to_string(cells.size()));
      if (!cells.empty()) registry.refused.insert(cells[0]);
      continue;
    }
    ++rows;
    const bool form = cells.size() == 12;
    // Each check on its own: every fault of the row is told, and a row with
    // any is left out.
    bool sound = true;
    auto check = [&](auto&& step) { sound = attempt(step) && sound; };
    const std::string &className = cells[0], &global = cells[1];
    for (const std::string* name : {&className, &global})
      check([&] { if (!isCppName(*name)) fail(where, "\"" + *name + "\" is not a C++ name (letters, digits and \"_\")"); });
    std::optional<int> created;
    check([&] { created = wholeNumber(cells[form ? 7 : 2], where); });
    Entry e;
    if (form) {
      e.where = where;
      e.className = className;
      e.global = global;
      e.unit = cells[2];
      e.tag = cells[3];
      e.kind = cells[4];
      e.documentName = cells[5];
      if (cells[6] != "-") check([&] {
        e.tree = wholeNumber(cells[6], where);
        if (e.tree < 1) fail(where, "tree: a position from 1 or \"-\" expected");
      });
      e.created = created.value_or(0);
      e.cancel = cells[8];
      check([&] { if (cells[9] != "yes" && cells[9] != "no") fail(where, "line rows: \"yes\" or \"no\" expected"); });
      e.lineRows = cells[9] == "yes";
      e.caption = cells[10];
      e.description = cells[11];
      check([&] { if (!isCppName(e.cancel)) fail(where, "the cancel button \"" + e.cancel + "\" is not a component name"); });
    }
    check([&] { classes.add(className, where); });
    check([&] { globals.add(global, where); });
    if (form) {
      check([&] { tags.add(e.tag, where); });
      check([&] { kinds.add(e.kind, where); });
      check([&] { names.add(e.documentName, where); });
      if (e.tree > 0) {
        check([&] { tree.add(std::to_string(e.tree), where); });
        positions.emplace(e.tree, where);
      }
    }
    if (created) {
      places.emplace_back(*created, where);
      if (const auto placed = slots.emplace(*created, Slot {where, !form}); !placed.second) {
        const std::string& taker = placed.first->second.where;
        check([&] {
          fail(where, "created: the place " + std::to_string(*created) + " among the windows is taken (" + taker + ")");
        });
      }
    }
    if (!sound) registry.refused.insert(className);
    else if (form) registry.forms.push_back(e);
    else registry.shell.push_back({className, global, *created, where});
  }
  // The places are 1 to the number of windows, each once (so none is left
  // empty); the main window, made by the program's own code, is the first.
  for (const auto& [created, where] : places)
    if (created < 1 || created > rows)
      noteFault(where + ": error: created: the place " + std::to_string(created) + " is outside 1 to " +
                std::to_string(rows) + ", the number of windows in the registry");
  if (const auto first = slots.find(1); first != slots.end() && !first->second.shell)
    noteFault(first->second.where + ": error: created: the first window made is the main window, not a document form");
  // The tree positions run 1, 2, ... without a gap: a position after a gap
  // is refused, naming the positions left unused.
  int last = 0;
  for (const auto& [position, where] : positions) {
    if (position > last + 1)
      noteFault(where + ": error: tree: the position " + std::to_string(position) + " leaves a gap: " +
                missingRun(last + 1, position - 1) + " unused (the positions run 1, 2, ... without a gap)");
    last = position;
  }
  return registry;
}

bool Registry::names(const std::string& className) const {
  return refused.count(className) ||
         std::any_of(forms.begin(), forms.end(), [&](const Entry& e) { return e.className == className; });
}

}  // namespace mkforms
