#pragma once
// The document forms' descriptions as the generator holds them, and its steps:
// words of a statement (Words.cpp), the registry and the item lists
// (Registry.cpp), a form file with its base (FormReader.cpp, Twins.cpp), the
// checks and places (Checks.cpp) and the C++ it writes (Writer.cpp).
// A fault throws std::runtime_error with "path:line: error: what"; the steps
// that go on after one keep it (noteFault) and the run reports them all.
#include "../LayoutSource.h"
#include "forms/FormSpec.h"
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

[[noreturn]] inline void fail(const std::string& where, const std::string& what) { sourceFault(where, what); }

// The faults of a run, in the order they were found, each once.
const std::vector<std::string>& faults();
void noteFault(const std::string& text);
// Runs a step; a fault it throws is kept and the run goes on. False when it
// failed.
template <class Step>
bool attempt(Step&& step) {
  try {
    step();
    return true;
  } catch (const std::runtime_error& error) {
    noteFault(error.what());
    return false;
  }
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

// A document form of the registry.
struct Entry {
  std::string className, global, unit, tag, kind, documentName, cancel, caption, description;
  int tree = 0, created = 0;
  bool lineRows = false;
  std::string where;
};
// A window the program's own code makes (the main window, the shell's
// dialogs): its place among the windows made at start-up.
struct ShellWindow {
  std::string className, global;
  int created = 0;
  std::string where;
};
struct Registry {
  std::vector<Entry> forms;           // in protocol order
  std::vector<ShellWindow> shell;
  std::set<std::string> refused;      // the classes of the rows refused
  // Whether a row names the class as a document form (or a row of it was
  // refused: its fault is told, its form is no stranger).
  bool names(const std::string& className) const;
  int windowCount() const { return static_cast<int>(forms.size() + shell.size()); }
};
// Every row checked on its own and against the others; each fault is kept
// (noteFault), all of a row's, and its row left out.
Registry readRegistry(const fs::path& file);

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

// One piece of a personal field: a text, a component of the student-data
// dialog, @ending(male,female) or @pesel(N).
struct PersonalToken {
  enum Kind { Literal, Component, Ending, Pesel } kind = Literal;
  std::string text, female;
  int index = 0;
};

struct Personal {
  std::string field;
  std::vector<PersonalToken> tokens;
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
  std::vector<std::string> layoutsWhere;  // the "layout" statement of each
  std::vector<Side> sides;
  int panelHeight = 41;
  std::vector<Personal> personal;
  bool samplesClear = false;
  bool templateKeep = false;  // the fill reads the template over what the dialog holds
  std::vector<Component> components;
  std::vector<Pair> pairs;
  std::optional<std::string> sheetLabel;
  // The certificate's item in the certificate list of every page it fills
  // (counted from 1) and its text there; a twin gives its own.
  int sheetItem = 0;
  std::string sheetItemText, sheetItemWhere;
  std::vector<SheetPage> sheetPages;
  std::vector<SheetStep> sheetSteps;
};

inline bool isValueKind(const std::string& kind) { return kind == "edit" || kind == "combo" || kind == "memo"; }
inline bool isPanelKind(const std::string& kind) {
  return kind == "button" || kind == "pick" || kind == "check" || kind == "plabel";
}
extern const std::set<std::string> kComponentKinds;
// The words of the description flags (forms/FormSpec.h, TARVEK_SPEC_FLAGS).
bool isFlag(const std::string& word);
// Whether a component of that kind takes the flag.
bool flagFits(const std::string& word, const std::string& kind);

// A component statement: kind NAME ["text"] attributes... from words[first].
Component parseComponent(const std::vector<Word>& words, std::size_t first, int side, const std::string& where);
// Attributes given to a component again ("-flag" takes a flag away).
void setAttributes(Component& c, const std::vector<Word>& words, std::size_t first, const std::string& where);
// A form file, its base (and the base's base) resolved. A fault of a
// statement is kept and the next statement read.
Form readForm(const fs::path& file);
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
// A pick whose list is kCertificateList gets the certificates that fill the
// form ("@certificates/<class>" in lists).
std::vector<Checked> check(const Form& form, const Lists& lists, Layouts& cache, const fs::path& layoutDir);
inline const std::string kCertificateList = "@certificates";
// The certificate lists of the class pages, made from the certificates'
// "sheet item" and put into lists under "@certificates/<page class>"; an item
// that names no certificate, or two, and a certificate that fills a page
// without its item, are faults.
void makeCertificateLists(const std::map<std::string, Form>& all, Lists& lists);
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
// FormUnits.h and FormUnits.cpp: each form's class, its global, the makers
// and the order in which start-up makes every window. A page that
// certificates copy into is a class page.
std::string unitsHeader(const std::vector<Resolved>& forms, const std::map<std::string, Form>& all);
std::string unitsSource(const std::vector<Resolved>& forms, const std::map<std::string, Form>& all,
                        const Registry& registry);
// Writes the file only when its text changed (no needless rebuilds).
void writeIfChanged(const fs::path& file, const std::string& text);

}  // namespace mkforms
