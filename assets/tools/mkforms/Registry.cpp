// registry.csv (the forms in protocol order) and lists.txt (item lists).
#include "Description.h"

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

std::vector<Entry> readRegistry(const fs::path& file) {
  StatementReader statements(file);
  std::vector<Entry> entries;
  std::string line;
  for (std::string where; statements.next(line, where);) {
    std::vector<std::string> cells;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ';');) cells.push_back(trimmed(cell));
    if (cells.size() != 12) fail(where, "12 columns expected, found " + std::to_string(cells.size()));
    Entry e;
    e.where = where;
    e.className = cells[0];
    e.global = cells[1];
    e.unit = cells[2];
    e.tag = cells[3];
    e.kind = cells[4];
    e.documentName = cells[5];
    e.tree = cells[6] == "-" ? 0 : wholeNumber(cells[6], where);
    e.created = wholeNumber(cells[7], where);
    e.cancel = cells[8];
    if (cells[9] != "yes" && cells[9] != "no") fail(where, "line rows: \"yes\" or \"no\" expected");
    e.lineRows = cells[9] == "yes";
    e.caption = cells[10];
    e.description = cells[11];
    for (const Entry& other : entries)
      if (other.className == e.className || other.tag == e.tag || other.kind == e.kind)
        fail(where, "class, tag and kind must each be the form's own (see " + other.where + ")");
    entries.push_back(e);
  }
  return entries;
}

}  // namespace mkforms
