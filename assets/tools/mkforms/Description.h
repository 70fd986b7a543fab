#pragma once
// The document forms' descriptions as the generator holds them, and its steps:
// words of a statement (Words.cpp), the registry and the item lists
// (Registry.cpp), a form file with its base (FormReader.cpp, Twins.cpp), the
// checks and places (Checks.cpp) and the C++ it writes (Writer.cpp).
// A fault throws std::runtime_error with "file:line: what".
#include "../LayoutSource.h"
#include "render/DocumentKinds.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace mkforms {

namespace fs = std::filesystem;

[[noreturn]] inline void fail(const std::string& where, const std::string& what) {
  throw std::runtime_error(where + ": " + what);
}

inline std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

inline bool has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// ---- Words of a statement (Words.cpp) ----

struct Word {
  std::string key;    // "name" of name=value; empty for a bare word or text
  std::string value;
  bool quoted = false;
};

// Blanks separate words; "..." is a text (\" a quote, \n a line break);
// name=value an attribute (the value may be a text).
std::vector<Word> splitWords(const std::string& line, const std::string& where);

// The statements of a description file, one a line, with where each stands
// ("file:line"); blank lines and "#" comments are passed over, and the text
// comes trimmed.
class StatementReader {
 public:
  explicit StatementReader(const fs::path& file);
  bool next(std::string& line, std::string& where);

 private:
  std::ifstream in_;
  std::string name_;
  int lineNo_ = 0;
};

// ---- The registry and the item lists (Registry.cpp) ----

using Lists = std::map<std::string, std::vector<std::string>>;
void readLists(const fs::path& file, Lists& lists);

struct Entry {
  std::string className, global, unit, tag, kind, documentName, cancel, caption, description;
  int tree = 0, created = 0;
  bool lineRows = false;
  std::string where;
};
std::vector<Entry> readRegistry(const fs::path& file);

// ---- A form (FormReader.cpp, Twins.cpp) ----

struct Component {
  std::string kind;  // edit, combo, memo, label, dots, button, pick, check, plabel
  std::string name;
  int side = 0;
  std::map<std::string, Word> attrs;  // by key; flags have an empty value
  std::string text;                   // the bare text of a label, button, check box
  bool hasText = false;
  std::string where;
};

struct Side {
  int number = 0;
  std::string tab, caption, scroll, image, picture;
  int width = 0, height = 0;
};

struct Personal {
  std::string field;
  std::vector<Word> tokens;
  bool onlyIntoEmpty = false;
  std::string where;
};

struct Pair {
  std::string dialog, field;
  bool fill = false, take = false;
  std::string where;
};

// The copy into a record-sheet class page: a page it fills and its columns.
struct SheetPage {
  std::string pageClass;
  int number = 0;
  bool names = false;
  std::vector<std::pair<int, std::string>> columns;  // column, suffix
  std::string where;
};

// One step of the copy's table.
struct SheetStep {
  std::string kind;  // cell, name, lines
  std::string target;
  std::optional<std::string> format;
  std::vector<std::string> sources;
  bool label = false;
  std::string where;
};

struct Form {
  std::string className, where;
  int width = 0, height = 0;
  std::string show = "none";
  std::string font = "MS Sans Serif", labelFont = "Times New Roman";
  int fontHeight = 11, labelFontHeight = 16;
  std::vector<std::string> layouts;
  std::vector<Side> sides;
  int panelHeight = 41;
  std::vector<Personal> personal;
  bool samplesClear = false;
  bool templateKeep = false;  // the fill reads the template over what the dialog holds
  std::vector<Component> components;
  std::vector<Pair> pairs;
  std::optional<std::string> sheetLabel;
  std::vector<SheetPage> sheetPages;
  std::vector<SheetStep> sheetSteps;
};

inline bool isValueKind(const std::string& kind) { return kind == "edit" || kind == "combo" || kind == "memo"; }
inline bool isPanelKind(const std::string& kind) {
  return kind == "button" || kind == "pick" || kind == "check" || kind == "plabel";
}
extern const std::set<std::string> kComponentKinds;
extern const std::set<std::string> kFlags;

// A component statement: kind NAME ["text"] attributes... from words[first].
Component parseComponent(const std::vector<Word>& words, std::size_t first, int side, const std::string& where);
// Attributes given to a component again ("-flag" takes a flag away).
void setAttributes(Component& c, const std::vector<Word>& words, std::size_t first, const std::string& where);
// A form file, its base (and the base's base) resolved.
Form readForm(const fs::path& file, int depth = 0);
// A twin's own statement (remove, order, reword, change, replace, after):
// false when the words are none of them.
bool twinStatement(Form& form, bool twin, const std::vector<Word>& words, const std::string& where);

// ---- Checks and places (Checks.cpp) ----

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool given = false;
};

struct Checked {
  Component c;
  Rect at;
  const std::vector<std::string>* items = nullptr;
  std::string listName;
};

using Layouts = std::map<std::string, std::vector<TLayoutRow>>;

// The components with their places and lists; every name, attribute, layout
// row, template pair, personal token and copy source checked.
std::vector<Checked> check(const Form& form, const Lists& lists, Layouts& cache, const fs::path& layoutDir);
// Every cell the copy into a class page writes is a field of that page.
void checkSheetTargets(const Form& form, const std::map<std::string, Form>& all);
// The panel components the code looks up by name are there where needed.
void checkPanel(const Form& form, TDocKind kind, const std::vector<Checked>& parts,
                const std::map<std::string, Form>& all);

// ---- Writing C++ (Writer.cpp) ----

// One registered form, read and checked.
struct Resolved {
  const Entry* entry;
  TDocKind kind;
  Form form;
  std::vector<Checked> parts;
};
// FormTables.cpp: the constant tables, kFormSpecs in registry order.
std::string tablesText(const std::vector<Resolved>& forms);
// FormUnits.h and FormUnits.cpp: each form's class, its global, the makers.
// A page that certificates copy into is a class page.
std::string unitsHeader(const std::vector<Resolved>& forms, const std::map<std::string, Form>& all);
std::string unitsSource(const std::vector<Resolved>& forms, const std::map<std::string, Form>& all);
// Writes the file only when its text changed (no needless rebuilds).
void writeIfChanged(const fs::path& file, const std::string& text);

}  // namespace mkforms
