// Writes the constant tables of the document forms from their descriptions.
//   tarvek_mkforms <forms sources> <layout sources> <forms code> <out FormTables.cpp> <out FormMakers.cpp>
// The descriptions are assets/forms/registry.csv, lists.txt and one
// "<name>.form" per form (assets/forms/README.md says how they read); the
// layouts are assets/layouts/*.csv, from which value fields take their places
// on screen; the forms code is the folder of the form units, whose headers
// FormMakers.cpp includes. A fault stops with the file and line.
#include "LayoutSource.h"
#include "platform/Cp1250.h"
#include "render/DocumentKinds.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& where, const std::string& what) { throw std::runtime_error(where + ": " + what); }

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool has(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// ---- Words of a statement -------------------------------------------------

struct Word {
  std::string key;    // "name" of name=value; empty for a bare word or text
  std::string value;
  bool quoted = false;
};

std::vector<Word> splitWords(const std::string& line, const std::string& where) {
  std::vector<Word> words;
  std::size_t i = 0;
  auto readText = [&](std::string& out) {
    ++i;  // the opening quote
    for (;; ++i) {
      if (i >= line.size()) fail(where, "a text without its closing quote");
      const char c = line[i];
      if (c == '"') {
        ++i;
        return;
      }
      if (c == '\\' && i + 1 < line.size()) {
        const char next = line[++i];
        out += next == 'n' ? '\n' : next;
      } else {
        out += c;
      }
    }
  };
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    Word w;
    if (line[i] == '"') {
      readText(w.value);
      w.quoted = true;
    } else {
      std::string bare;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
        if (line[i] == '=' && !bare.empty() && w.key.empty()) {
          w.key = bare;
          bare.clear();
          ++i;
          if (i < line.size() && line[i] == '"') {
            readText(bare);
            w.quoted = true;
            break;
          }
          continue;
        }
        bare += line[i++];
      }
      w.value = bare;
    }
    words.push_back(w);
  }
  return words;
}

// ---- Lists ---------------------------------------------------------------

using Lists = std::map<std::string, std::vector<std::string>>;

void readLists(const fs::path& file, Lists& lists) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::string line;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const std::string where = file.filename().string() + ":" + std::to_string(lineNo);
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

// ---- Registry ------------------------------------------------------------

struct Entry {
  std::string className, global, unit, tag, kind, documentName, cancel, caption, description;
  int tree = 0, created = 0;
  bool lineRows = false;
  std::string where;
};

std::vector<Entry> readRegistry(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::vector<Entry> entries;
  std::string line;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const std::string where = file.filename().string() + ":" + std::to_string(lineNo);
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

std::optional<TDocKind> kindNamed(const std::string& name) {
  static const std::map<std::string, TDocKind> names = {
      {"dkKlasaI", dkKlasaI},           {"dkKlasaIWyr", dkKlasaIWyr},   {"dkKlasaII", dkKlasaII},
      {"dkKlasaIIWyr", dkKlasaIIWyr},   {"dkKoniec", dkKoniec},         {"dkKoniecWyr", dkKoniecWyr},
      {"dkKlasaIa", dkKlasaIa},         {"dkKlasaIaWyr", dkKlasaIaWyr}, {"dkKlasaIIa", dkKlasaIIa},
      {"dkKlasaIIaWyr", dkKlasaIIaWyr}, {"dkKonieca", dkKonieca},       {"dkKoniecaWyr", dkKoniecaWyr},
      {"dkWywiadowka", dkWywiadowka},   {"dkArkuszStr1", dkArkuszStr1}, {"dkArkuszStr2", dkArkuszStr2},
      {"dkArkuszStr3", dkArkuszStr3},   {"dkArkuszStr4", dkArkuszStr4}, {"dkArkuszStr5", dkArkuszStr5},
      {"dkArkuszStr1b", dkArkuszStr1b}, {"dkArkuszStr2b", dkArkuszStr2b}, {"dkArkuszStr3b", dkArkuszStr3b},
      {"dkArkuszStr4b", dkArkuszStr4b},
  };
  const auto it = names.find(name);
  if (it == names.end()) return std::nullopt;
  return it->second;
}

// ---- Forms ---------------------------------------------------------------

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

// A twin that removes or replaces a component also leaves out what named it.
void forget(Form& form, const std::string& name) {
  std::erase_if(form.pairs, [&](const Pair& p) { return lower(p.field) == lower(name); });
  std::erase_if(form.personal, [&](const Personal& p) { return lower(p.field) == lower(name); });
}

const std::set<std::string> kComponentKinds = {"edit", "combo", "memo", "label", "dots",
                                               "button", "pick", "check", "plabel"};
const std::set<std::string> kFlags = {"disabled", "readonly", "tabfirst", "tablast", "noprint", "bold", "italic", "okblank"};
const std::set<std::string> kDialogComponents = {
    "Imie_DATA_EDIT",           "Nazwisko_DATA_EDIT",           "UrodzonyDnia_DATA_EDIT", "UrodzonyRok_DATA_COMBOBOX",
    "UrodzonyMiasto_DATA_COMBOBOX", "Plec_DATA_COMBOBOX",       "NrDziennika_DATA_EDIT",  "NrPesel_DATA_EDIT"};

bool isValueKind(const std::string& kind) { return kind == "edit" || kind == "combo" || kind == "memo"; }
bool isPanelKind(const std::string& kind) {
  return kind == "button" || kind == "pick" || kind == "check" || kind == "plabel";
}

// A component statement: kind NAME ["text"] attributes...
Component parseComponent(const std::vector<Word>& words, std::size_t first, int side, const std::string& where) {
  if (words.size() < first + 2 || words[first + 1].quoted || !words[first + 1].key.empty())
    fail(where, "a component needs a kind and a name");
  Component c;
  c.kind = words[first].value;
  c.name = words[first + 1].value;
  c.side = isPanelKind(c.kind) ? 0 : side;
  c.where = where;
  for (std::size_t k = first + 2; k < words.size(); ++k) {
    const Word& w = words[k];
    if (w.key.empty() && w.quoted) {
      if (c.hasText) fail(where, "one text per component");
      c.text = w.value;
      c.hasText = true;
    } else if (w.key.empty()) {
      if (!kFlags.count(w.value)) fail(where, "unknown word \"" + w.value + "\"");
      c.attrs[w.value] = Word {w.value, "", false};
    } else {
      c.attrs[w.key] = w;
    }
  }
  return c;
}

void setAttributes(Component& c, const std::vector<Word>& words, std::size_t first, const std::string& where) {
  for (std::size_t k = first; k < words.size(); ++k) {
    const Word& w = words[k];
    if (w.key.empty() && w.quoted) {
      c.text = w.value;
      c.hasText = true;
    } else if (w.key.empty()) {
      if (w.value.size() > 1 && w.value[0] == '-' && kFlags.count(w.value.substr(1))) {
        c.attrs.erase(w.value.substr(1));  // "-bold" takes a flag away
        continue;
      }
      if (!kFlags.count(w.value)) fail(where, "unknown word \"" + w.value + "\"");
      c.attrs[w.value] = Word {w.value, "", false};
    } else {
      c.attrs[w.key] = w;
    }
  }
}

int sideOf(const std::vector<Side>& sides, int current) { return sides.empty() ? 0 : current; }

Form readForm(const fs::path& file, int depth);

std::size_t indexOf(const Form& form, const std::string& name, const std::string& where) {
  for (std::size_t i = 0; i < form.components.size(); ++i)
    if (lower(form.components[i].name) == lower(name)) return i;
  fail(where, "the base has no component \"" + name + "\"");
}

Form readForm(const fs::path& file, int depth) {
  if (depth > 4) throw std::runtime_error(file.string() + ": \"base\" goes round in a circle");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  Form form;
  bool twin = false, layoutsGiven = false, personalGiven = false, sheetPagesGiven = false;
  int currentSide = 0;
  std::string line;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const std::string where = file.filename().string() + ":" + std::to_string(lineNo);
    const std::vector<Word> words = splitWords(line, where);
    const std::string& head = words[0].value;
    auto arg = [&](std::size_t k) -> const Word& {
      if (k >= words.size()) fail(where, "\"" + head + "\" needs more words");
      return words[k];
    };
    if (form.className.empty() && head != "form") fail(where, "a form file starts with \"form CLASS\"");
    if (head == "form") {
      form.className = arg(1).value;
      form.where = where;
    } else if (head == "base") {
      if (!form.components.empty() || twin) fail(where, "\"base\" must come right after \"form\"");
      const std::string cls = form.className, at = form.where;
      form = readForm(file.parent_path() / arg(1).value, depth + 1);
      form.className = cls;
      form.where = at;
      twin = true;
    } else if (head == "window") {
      for (std::size_t k = 1; k < words.size(); ++k) {
        const Word& w = words[k];
        if (w.key == "width") form.width = wholeNumber(w.value, where);
        else if (w.key == "height") form.height = wholeNumber(w.value, where);
        else if (w.key == "show" && (w.value == "certificate" || w.value == "sheet" || w.value == "none")) form.show = w.value;
        else fail(where, "window takes width=, height= and show=certificate|sheet|none");
      }
    } else if (head == "font" || head == "labelfont") {
      (head == "font" ? form.font : form.labelFont) = arg(1).value;
      (head == "font" ? form.fontHeight : form.labelFontHeight) = wholeNumber(arg(2).value, where);
    } else if (head == "layout") {
      if (twin && !layoutsGiven) form.layouts.clear();
      layoutsGiven = true;
      form.layouts.push_back(arg(1).value);
    } else if (head == "side" && words.size() == 2) {
      // "side N" alone goes back to a side given before.
      currentSide = wholeNumber(arg(1).value, where);
      if (currentSide < 1 || currentSide > static_cast<int>(form.sides.size())) fail(where, "no such side");
    } else if (head == "side") {
      Side s;
      s.number = wholeNumber(arg(1).value, where);
      for (std::size_t k = 2; k < words.size(); ++k) {
        const Word& w = words[k];
        if (w.key.empty() && w.quoted) s.caption = w.value;
        else if (w.key == "tab") s.tab = w.value;
        else if (w.key == "scroll") s.scroll = w.value;
        else if (w.key == "image") s.image = w.value;
        else if (w.key == "picture") s.picture = w.value;
        else if (w.key == "size") {
          const auto x = w.value.find('x');
          if (x == std::string::npos) fail(where, "size=WIDTHxHEIGHT expected");
          s.width = wholeNumber(w.value.substr(0, x), where);
          s.height = wholeNumber(w.value.substr(x + 1), where);
        } else fail(where, "unknown side attribute \"" + (w.key.empty() ? w.value : w.key) + "\"");
      }
      if (s.image.empty() || s.picture.empty() || s.width <= 0 || s.height <= 0)
        fail(where, "a side needs image=, picture= and size=");
      if (s.scroll.empty() && (!s.tab.empty() || s.number != 1))
        fail(where, "only the one side of a form without tabs may go without scroll=");
      bool replaced = false;
      for (Side& old : form.sides)
        if (old.number == s.number) {
          old = s;
          replaced = true;
        }
      if (!replaced) {
        if (twin) fail(where, "a twin can only give a side its base has");
        if (s.number != static_cast<int>(form.sides.size()) + 1) fail(where, "sides are numbered 1, 2, ... in order");
        form.sides.push_back(s);
      }
      currentSide = s.number;
    } else if (head == "panel") {
      const Word& w = arg(1);
      if (w.key != "height") fail(where, "panel height=N expected");
      form.panelHeight = wholeNumber(w.value, where);
    } else if (head == "personal") {
      if (twin && !personalGiven) form.personal.clear();
      personalGiven = true;
      Personal p;
      p.field = arg(1).value;
      p.where = where;
      p.tokens.assign(words.begin() + 2, words.end());
      if (!p.tokens.empty() && !p.tokens.front().quoted && p.tokens.front().value == "@ifempty") {
        p.onlyIntoEmpty = true;
        p.tokens.erase(p.tokens.begin());
      }
      if (p.tokens.empty()) fail(where, "personal FIELD needs what it is made of");
      form.personal.push_back(p);
    } else if (head == "template" && words.size() == 2 && arg(1).value == "keep") {
      form.templateKeep = true;
    } else if (head == "template") {
      Pair p;
      p.dialog = arg(1).value;
      p.field = arg(2).value;
      p.where = where;
      for (std::size_t k = 3; k < words.size(); ++k) {
        if (words[k].value == "fill") p.fill = true;
        else if (words[k].value == "take") p.take = true;
        else fail(where, "template DIALOG FIELD [fill] [take] expected");
      }
      if (!p.fill && !p.take) fail(where, "a template pair is copied by the fill, the take or both");
      if (!has(p.dialog, "_DATA_EDIT")) fail(where, "the template dialog's fields are edits (\"_DATA_EDIT\")");
      form.pairs.push_back(p);
    } else if (head == "sheet") {
      const std::string& what = arg(1).value;
      if (what == "label") {
        if (!arg(2).quoted || words.size() != 3) fail(where, "sheet label \"text\" expected");
        form.sheetLabel = arg(2).value;
      } else if (what == "page") {
        // A twin that gives its pages replaces all of its base's.
        if (twin && !sheetPagesGiven) form.sheetPages.clear();
        sheetPagesGiven = true;
        SheetPage page;
        page.where = where;
        page.pageClass = arg(2).value;
        if (arg(2).quoted || !arg(2).key.empty()) fail(where, "sheet page CLASS ... expected");
        for (std::size_t k = 3; k < words.size(); ++k) {
          const Word& w = words[k];
          if (w.key.empty() && w.value == "names" && !w.quoted) {
            page.names = true;
          } else if (w.key == "number") {
            page.number = wholeNumber(w.value, where);
            if (page.number < 1) fail(where, "a page number counts from 1");
          } else if (!w.key.empty() && w.key.find_first_not_of("0123456789") == std::string::npos) {
            const int column = wholeNumber(w.key, where);
            if (column < 1) fail(where, "columns count from 1");
            if (w.value.find_first_not_of("0123456789") != std::string::npos)
              fail(where, "a column's suffix is digits (or \"\")");
            for (const auto& [other, suffix] : page.columns)
              if (other == column) fail(where, "the column " + w.key + " is given twice");
            page.columns.emplace_back(column, w.value);
          } else {
            fail(where, "sheet page CLASS [number=N] [names] COLUMN=SUFFIX... expected");
          }
        }
        if (page.columns.empty()) fail(where, "a page needs its columns: COLUMN=SUFFIX...");
        for (const SheetPage& other : form.sheetPages)
          if (other.number == page.number) fail(where, "two pages of the copy with the same number");
        form.sheetPages.push_back(page);
      } else if (what == "cell" || what == "name" || what == "lines") {
        if (twin) fail(where, "a twin copies by its base's table; it gives only \"sheet label\" and \"sheet page\"");
        SheetStep step;
        step.kind = what;
        step.where = where;
        step.target = arg(2).value;
        if (arg(2).quoted || !arg(2).key.empty() || !has(step.target, "_DATA_"))
          fail(where, "sheet " + what + " TARGET ... names a page's value field");
        for (std::size_t k = 3; k < words.size(); ++k) {
          const Word& w = words[k];
          if (!w.key.empty()) fail(where, "unknown word \"" + w.key + "=\"");
          if (w.quoted) {
            if (k != 3 || what == "lines") fail(where, "a text comes first, before the components it takes");
            step.format = w.value;
          } else if (w.value == "@label") {
            if (what == "lines" || words.size() != 4) fail(where, "@label stands alone");
            step.label = true;
          } else {
            step.sources.push_back(w.value);
          }
        }
        std::size_t holes = 0;
        if (step.format)
          for (std::size_t at = 0; (at = step.format->find("%s", at)) != std::string::npos; at += 2) ++holes;
        if (step.format && holes != step.sources.size())
          fail(where, "the text has " + std::to_string(holes) + " \"%s\" for " + std::to_string(step.sources.size()) +
                          " components");
        if (!step.format && !step.label && (what == "lines" ? step.sources.empty() : step.sources.size() != 1))
          fail(where, what == "lines" ? "sheet lines MEMO SOURCE... expected" : "one component, a text or @label expected");
        form.sheetSteps.push_back(step);
      } else {
        fail(where, "sheet label, page, cell, name or lines expected");
      }
    } else if (head == "samples") {
      if (arg(1).value != "clear") fail(where, "samples clear expected");
      form.samplesClear = true;
    } else if (kComponentKinds.count(head)) {
      if (twin) fail(where, "a twin adds components with \"after\" or \"replace\"");
      if (form.sides.empty() && !isPanelKind(head)) fail(where, "a component lies on a side: give \"side\" first");
      form.components.push_back(parseComponent(words, 0, sideOf(form.sides, currentSide), where));
    } else if (head == "remove") {
      if (!twin) fail(where, "only a twin removes");
      for (std::size_t k = 1; k < words.size(); ++k) {
        form.components.erase(form.components.begin() + static_cast<std::ptrdiff_t>(indexOf(form, words[k].value, where)));
        forget(form, words[k].value);
      }
    } else if (head == "order") {
      // The named components keep the places they hold between them and
      // take them in the order given.
      if (!twin) fail(where, "only a twin orders");
      std::vector<std::size_t> places;
      std::vector<Component> moved;
      for (std::size_t k = 1; k < words.size(); ++k) {
        const std::size_t at = indexOf(form, words[k].value, where);
        if (std::find(places.begin(), places.end(), at) != places.end())
          fail(where, "\"" + words[k].value + "\" is named twice");
        places.push_back(at);
        moved.push_back(form.components[at]);
      }
      if (moved.size() < 2) fail(where, "order NAME NAME... expected");
      std::sort(places.begin(), places.end());
      for (std::size_t k = 0; k < places.size(); ++k) form.components[places[k]] = moved[k];
    } else if (head == "reword") {
      if (!twin) fail(where, "only a twin rewords");
      Component& c = form.components[indexOf(form, arg(1).value, where)];
      if (!arg(2).quoted) fail(where, "reword NAME \"text\" expected");
      c.text = arg(2).value;
      c.hasText = true;
    } else if (head == "change") {
      if (!twin) fail(where, "only a twin changes");
      Component& c = form.components[indexOf(form, arg(1).value, where)];
      setAttributes(c, words, 2, where);
    } else if (head == "replace" || head == "after") {
      if (!twin) fail(where, "only a twin says \"" + head + "\"");
      const std::size_t at = indexOf(form, arg(1).value, where);
      if (arg(2).value != ":" || arg(2).quoted) fail(where, head + " NAME : <component> expected");
      if (!kComponentKinds.count(arg(3).value)) fail(where, "unknown component kind \"" + arg(3).value + "\"");
      Component c = parseComponent(words, 3, form.components[at].side, where);
      if (head == "replace") {
        forget(form, form.components[at].name);
        form.components[at] = c;
      }
      else form.components.insert(form.components.begin() + static_cast<std::ptrdiff_t>(at + 1), c);
    } else {
      fail(where, "unknown statement \"" + head + "\"");
    }
  }
  if (form.className.empty()) throw std::runtime_error(file.string() + ": empty");
  return form;
}

// ---- Checks and places ----------------------------------------------------

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool given = false;
};

Rect parseRect(const std::string& text, const std::string& where) {
  std::vector<int> n;
  std::stringstream split(text);
  for (std::string cell; std::getline(split, cell, ',');) n.push_back(wholeNumber(trimmed(cell), where));
  if (n.size() != 4 || n[2] <= 0 || n[3] <= 0) fail(where, "at=x,y,w,h with a positive width and height expected");
  return {n[0], n[1], n[2], n[3], true};
}

bool overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

const std::map<std::string, std::set<std::string>> kAllowed = {
    {"edit", {"max", "sample", "new", "text", "at", "disabled", "readonly", "tabfirst", "tablast", "noprint", "okblank"}},
    {"combo", {"max", "list", "sample", "new", "at", "disabled", "readonly", "tabfirst", "tablast", "noprint"}},
    {"memo", {"lines", "sample", "at", "disabled", "readonly", "tabfirst", "tablast", "noprint"}},
    {"label", {"size", "font", "bold", "italic", "at"}},
    {"dots", {"at"}},
    {"button", {"at"}},
    {"pick", {"list", "at"}},
    {"check", {"at"}},
    {"plabel", {"at", "bold"}},
};

struct Checked {
  Component c;
  Rect at;
  const std::vector<std::string>* items = nullptr;
  std::string listName;
};

using Layouts = std::map<std::string, std::vector<TLayoutRow>>;

const std::vector<TLayoutRow>& layoutOf(Layouts& cache, const fs::path& dir, const std::string& table) {
  auto it = cache.find(table);
  if (it == cache.end()) it = cache.emplace(table, readLayout(dir / (table + ".csv"))).first;
  return it->second;
}

std::vector<Checked> check(const Form& form, const Lists& lists, Layouts& cache, const fs::path& layoutDir) {
  std::vector<Checked> out;
  std::map<std::string, std::string> names;  // lower-cased -> where
  std::vector<const std::vector<TLayoutRow>*> layouts;
  for (const std::string& table : form.layouts) layouts.push_back(&layoutOf(cache, layoutDir, table));

  for (const Component& c : form.components) {
    const auto [it, fresh] = names.emplace(lower(c.name), c.where);
    if (!fresh) fail(c.where, "\"" + c.name + "\" is named twice (letter case aside; see " + it->second + ")");
    for (const auto& [key, word] : c.attrs)
      if (!kAllowed.at(c.kind).count(key)) fail(c.where, "a " + c.kind + " takes no \"" + key + "\"");
    // The name says what the protocol does with a component: it must agree
    // with its kind.
    const bool edit = has(c.name, "_DATA_EDIT"), combo = has(c.name, "_DATA_COMBOBOX"),
               memo = has(c.name, "_DATA_MEMO"), label = has(c.name, "_DATA_LABEL");
    const bool agrees = c.kind == "edit"    ? (edit || combo) && !memo
                        : c.kind == "combo" ? combo && !memo
                        : c.kind == "memo"  ? memo && !edit && !combo
                        : c.kind == "label" ? label && !edit && !combo && !memo
                                            : !edit && !combo && !memo && !label;
    if (!agrees) fail(c.where, "the name \"" + c.name + "\" does not fit a " + c.kind);
    if ((c.kind == "label" || c.kind == "button" || c.kind == "check" || c.kind == "plabel") && !c.hasText)
      fail(c.where, "a " + c.kind + " needs its text");
    Checked k;
    k.c = c;
    if (c.attrs.count("list")) {
      k.listName = c.attrs.at("list").value;
      const auto list = lists.find(k.listName);
      if (list == lists.end()) fail(c.where, "no list \"" + k.listName + "\"");
      k.items = &list->second;
    } else if (c.kind == "combo" || c.kind == "pick") {
      fail(c.where, "a " + c.kind + " needs list=");
    }
    if (c.attrs.count("at")) k.at = parseRect(c.attrs.at("at").value, c.where);
    // The first layout places what it prints.
    Rect printed;
    if (!layouts.empty()) {
      const std::string name = cp1250FromUtf8(c.name);
      for (const TLayoutRow& r : *layouts.front()) {
        const bool mine = c.kind == "memo" ? r.name.size() == name.size() + 2 && r.name.compare(0, name.size(), name) == 0
                                           : r.name == name;
        if (!mine) continue;
        const Rect row {r.x1, r.y1, r.x2 - r.x1, r.y2 - r.y1, true};
        if (!printed.given) {
          printed = row;
        } else {
          const int right = std::max(printed.x + printed.w, row.x + row.w), bottom = std::max(printed.y + printed.h, row.y + row.h);
          printed.x = std::min(printed.x, row.x);
          printed.y = std::min(printed.y, row.y);
          printed.w = right - printed.x;
          printed.h = bottom - printed.y;
        }
      }
    }
    if (isValueKind(c.kind) && !layouts.empty() && !printed.given && !c.attrs.count("noprint"))
      fail(c.where, "\"" + c.name + "\" has no row in the layout " + form.layouts.front() +
                        " (say noprint if nothing prints it)");
    if (k.at.given && printed.given && !overlap(k.at, printed))
      fail(c.where, "\"" + c.name + "\" lies on screen away from its place in the layout " + form.layouts.front());
    if (!k.at.given) k.at = printed;
    if (!k.at.given) fail(c.where, "\"" + c.name + "\" needs a place: at=x,y,w,h");
    out.push_back(k);
  }
  // Every row of the form's layouts that draws a component names one of it.
  for (std::size_t l = 0; l < layouts.size(); ++l)
    for (const TLayoutRow& r : *layouts[l]) {
      if (!has(r.name, "_DATA_")) continue;
      std::string name = r.name;
      if (has(name, "_DATA_MEMO")) {
        if (name.size() < 2) fail(r.where, "a memo row ends in the line's two digits");
        name.resize(name.size() - 2);
      }
      const bool found = std::any_of(form.components.begin(), form.components.end(),
                                     [&](const Component& c) { return cp1250FromUtf8(c.name) == name; });
      if (!found) fail(form.layouts[l] + ".csv", "the row \"" + cp1250ToUtf8(r.name) + "\" (" + r.where +
                                                     ") names no component of " + form.className);
    }
  for (const Pair& p : form.pairs) {
    const bool field = std::any_of(form.components.begin(), form.components.end(),
                                   [&](const Component& c) { return c.name == p.field && isValueKind(c.kind); });
    if (!field) fail(p.where, "\"" + p.field + "\" is no value field of the form");
  }
  for (const Personal& p : form.personal) {
    const bool field = std::any_of(form.components.begin(), form.components.end(),
                                   [&](const Component& c) { return c.name == p.field && isValueKind(c.kind); });
    if (!field) fail(p.where, "\"" + p.field + "\" is no value field of the form");
    for (const Word& t : p.tokens) {
      if (t.quoted) continue;
      if (t.value.rfind("@ending(", 0) == 0 || t.value.rfind("@pesel(", 0) == 0) continue;
      if (!kDialogComponents.count(t.value)) fail(p.where, "the student-data dialog has no \"" + t.value + "\"");
    }
  }
  for (const SheetStep& step : form.sheetSteps) {
    for (const std::string& source : step.sources) {
      const bool field = std::any_of(form.components.begin(), form.components.end(),
                                     [&](const Component& c) { return c.name == source && isValueKind(c.kind); });
      if (!field) fail(step.where, "\"" + source + "\" is no value field of " + form.className);
    }
    if (step.label && !form.sheetLabel) fail(step.where, "@label without a \"sheet label\"");
  }
  if (form.sheetSteps.empty() != form.sheetPages.empty())
    fail(form.where, "the copy into a class page needs both its pages and its table");
  return out;
}

// The name of a page's cell in a column: the suffix goes before "_DATA_".
std::string withSuffix(const std::string& name, const std::string& suffix) {
  std::string out = name;
  return out.insert(out.find("_DATA_"), suffix);
}

// Every cell the copy writes is a value field of its kind on every page and
// column it handles.
void checkSheetTargets(const Form& form, const std::map<std::string, Form>& all) {
  for (const SheetPage& page : form.sheetPages) {
    const auto target = all.find(page.pageClass);
    if (target == all.end()) fail(page.where, "no description of the page " + page.pageClass);
    for (const SheetStep& step : form.sheetSteps) {
      if (step.kind == "name" && !page.names) continue;
      std::vector<std::string> names;
      if (step.kind == "name") names.push_back(step.target);
      else
        for (const auto& [column, suffix] : page.columns) names.push_back(withSuffix(step.target, suffix));
      for (const std::string& name : names) {
        const bool found = std::any_of(target->second.components.begin(), target->second.components.end(),
                                       [&](const Component& c) {
                                         return c.name == name && (step.kind == "lines" ? c.kind == "memo"
                                                                                         : c.kind == "edit" || c.kind == "combo");
                                       });
        if (!found)
          fail(step.where, page.pageClass + " has no " + (step.kind == "lines" ? "multi-line field" : "edit or list") +
                               " \"" + name + "\" (" + form.className + ", " + page.where + ")");
      }
    }
  }
}

// ---- Writing C++ ----------------------------------------------------------

std::string lit(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\' || c == '?') {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", c);
      out += octal;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string optLit(const Component& c, const char* key) {
  const auto it = c.attrs.find(key);
  return it == c.attrs.end() ? "nullptr" : lit(it->second.value);
}

std::string ident(const std::string& text) {
  std::string out;
  for (char c : text) out += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return out;
}

std::string kindName(const std::string& kind) {
  static const std::map<std::string, std::string> names = {
      {"edit", "Edit"},     {"combo", "Combo"}, {"memo", "Memo"},   {"label", "Label"},       {"dots", "Dots"},
      {"button", "Button"}, {"pick", "Pick"},   {"check", "Check"}, {"plabel", "PanelLabel"}};
  return "TSpecKind::" + names.at(kind);
}

std::string flagsOf(const Component& c) {
  std::string out;
  const std::pair<const char*, const char*> flags[] = {{"disabled", "sfDisabled"}, {"readonly", "sfReadOnly"},
                                                        {"tabfirst", "sfTabFirst"}, {"tablast", "sfTabLast"}, {"bold", "sfBold"},
                                                        {"italic", "sfItalic"},     {"noprint", "sfNoPrint"},
                                                        {"okblank", "sfBlankOnOk"}};
  for (const auto& [word, flag] : flags)
    if (c.attrs.count(word)) out += (out.empty() ? "" : " | ") + std::string(flag);
  return out.empty() ? "0u" : out;
}

int intAttr(const Component& c, const char* key) {
  const auto it = c.attrs.find(key);
  return it == c.attrs.end() ? 0 : wholeNumber(it->second.value, c.where);
}

fs::path unitHeader(const fs::path& formsCode, const std::string& unit) {
  for (const auto& entry : fs::recursive_directory_iterator(formsCode))
    if (entry.path().filename() == unit + ".h") return fs::relative(entry.path(), formsCode.parent_path());
  throw std::runtime_error("no header " + unit + ".h under " + formsCode.string());
}

void writeIfChanged(const fs::path& file, const std::string& text) {
  {
    std::ifstream in(file, std::ios::binary);
    std::stringstream old;
    old << in.rdbuf();
    if (in && old.str() == text) return;
  }
  const fs::path tmp = file.string() + ".new";
  {
    std::ofstream out(tmp, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + tmp.string());
  }
  fs::rename(tmp, file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s <forms sources> <layout sources> <forms code> <FormTables.cpp> <FormMakers.cpp>\n",
                 argv[0]);
    return 2;
  }
  try {
    const fs::path sources = argv[1], layoutDir = argv[2], formsCode = argv[3];
    Lists lists;
    readLists(sources / "lists.txt", lists);
    const std::vector<Entry> registry = readRegistry(sources / "registry.csv");

    // Every description belongs to a registered form.
    std::map<std::string, fs::path> files;
    std::map<std::string, Form> all;
    for (const auto& entry : fs::directory_iterator(sources)) {
      if (entry.path().extension() != ".form") continue;
      const Form head = readForm(entry.path(), 0);
      if (std::none_of(registry.begin(), registry.end(), [&](const Entry& e) { return e.className == head.className; }))
        fail(head.where, "\"" + head.className + "\" is not in registry.csv");
      if (!files.emplace(head.className, entry.path()).second)
        fail(head.where, "a second description of " + head.className);
      all.emplace(head.className, head);
    }

    std::ostringstream t;
    t << "// Written by tarvek_mkforms from assets/forms/ and assets/layouts/; do not edit.\n"
      << "#include \"forms/FormSpec.h\"\n\n#include <cstring>\n#include <stdexcept>\n#include <string>\n\nnamespace {\n\n";
    std::set<std::string> listsWritten;
    std::ostringstream specs;
    Layouts cache;
    for (const Entry& e : registry) {
      const auto kind = kindNamed(e.kind);
      if (!kind) fail(e.where, "unknown document kind \"" + e.kind + "\"");
      const std::string id = ident(e.className);
      Form form;
      form.className = e.className;
      const auto file = files.find(e.className);
      if (file != files.end()) form = readForm(file->second, 0);
      const std::vector<Checked> parts = check(form, lists, cache, layoutDir);
      checkSheetTargets(form, all);
      for (const Checked& k : parts)
        if (k.items && listsWritten.insert(k.listName).second) {
          t << "const char* const kList_" << ident(k.listName) << "[] = {";
          for (const std::string& item : *k.items) t << lit(item) << ", ";
          t << "};\n";
        }
      if (!parts.empty()) {
        t << "\nconst TComponentSpec kComponents_" << id << "[] = {\n";
        for (const Checked& k : parts) {
          const Component& c = k.c;
          t << "    {" << kindName(c.kind) << ", " << lit(c.name) << ", " << c.side << ", {" << k.at.x << ", " << k.at.y
            << ", " << k.at.w << ", " << k.at.h << "}, " << intAttr(c, "max") << ", "
            << (k.items ? "kList_" + ident(k.listName) : "nullptr") << ", "
            << (k.items ? static_cast<int>(k.items->size()) : 0) << ", " << flagsOf(c) << ", "
            << (c.hasText ? lit(c.text) : optLit(c, "text")) << ", " << optLit(c, "font") << ", " << intAttr(c, "size")
            << ", " << optLit(c, "sample") << ", " << optLit(c, "new") << ", " << intAttr(c, "lines") << "},\n";
        }
        t << "};\n";
      }
      if (!form.sides.empty()) {
        t << "const TSideSpec kSides_" << id << "[] = {\n";
        for (const Side& s : form.sides)
          t << "    {" << s.number << ", " << (s.tab.empty() ? "nullptr" : lit(s.tab)) << ", " << lit(s.caption) << ", "
            << (s.scroll.empty() ? "nullptr" : lit(s.scroll)) << ", " << lit(s.image) << ", " << lit(s.picture) << ", " << s.width << ", " << s.height
            << "},\n";
        t << "};\n";
      }
      for (std::size_t p = 0; p < form.personal.size(); ++p) {
        t << "const TPersonalToken kPersonal_" << id << "_" << p << "[] = {";
        for (const Word& w : form.personal[p].tokens) {
          const std::string& v = w.value;
          if (w.quoted) {
            t << "{TPersonalToken::Literal, " << lit(v) << ", nullptr, 0}, ";
          } else if (v.rfind("@ending(", 0) == 0 && v.back() == ')') {
            const std::string inner = v.substr(8, v.size() - 9);
            const auto comma = inner.find(',');
            if (comma == std::string::npos) fail(form.personal[p].where, "@ending(male,female) expected");
            t << "{TPersonalToken::Ending, " << lit(inner.substr(0, comma)) << ", " << lit(inner.substr(comma + 1))
              << ", 0}, ";
          } else if (v.rfind("@pesel(", 0) == 0 && v.back() == ')') {
            const int n = wholeNumber(v.substr(7, v.size() - 8), form.personal[p].where);
            if (n < 1) fail(form.personal[p].where, "@pesel(N) counts from 1");
            t << "{TPersonalToken::Pesel, nullptr, nullptr, " << n << "}, ";
          } else {
            t << "{TPersonalToken::Component, " << lit(v) << ", nullptr, 0}, ";
          }
        }
        t << "};\n";
      }
      if (!form.personal.empty()) {
        t << "const TPersonalSpec kPersonal_" << id << "[] = {";
        for (std::size_t p = 0; p < form.personal.size(); ++p)
          t << "{" << lit(form.personal[p].field) << ", kPersonal_" << id << "_" << p << ", "
            << form.personal[p].tokens.size() << ", " << (form.personal[p].onlyIntoEmpty ? "true" : "false") << "}, ";
        t << "};\n";
      }
      if (!form.pairs.empty()) {
        t << "const TTemplatePair kTemplate_" << id << "[] = {\n";
        for (const Pair& p : form.pairs)
          t << "    {" << lit(p.dialog) << ", " << lit(p.field) << ", " << (p.fill ? "true" : "false") << ", "
            << (p.take ? "true" : "false") << "},\n";
        t << "};\n";
      }
      for (std::size_t p = 0; p < form.sheetPages.size(); ++p) {
        t << "const TSheetColumn kSheetColumns_" << id << "_" << p << "[] = {";
        for (const auto& [column, suffix] : form.sheetPages[p].columns) t << "{" << column << ", " << lit(suffix) << "}, ";
        t << "};\n";
      }
      if (!form.sheetPages.empty()) {
        t << "const TSheetPage kSheetPages_" << id << "[] = {\n";
        for (std::size_t p = 0; p < form.sheetPages.size(); ++p) {
          const SheetPage& page = form.sheetPages[p];
          t << "    {" << lit(page.pageClass) << ", " << page.number << ", " << (page.names ? "true" : "false")
            << ", kSheetColumns_" << id << "_" << p << ", " << page.columns.size() << "},\n";
        }
        t << "};\n";
      }
      for (std::size_t k = 0; k < form.sheetSteps.size(); ++k) {
        if (form.sheetSteps[k].sources.empty()) continue;
        t << "const char* const kSheetSources_" << id << "_" << k << "[] = {";
        for (const std::string& source : form.sheetSteps[k].sources) t << lit(source) << ", ";
        t << "};\n";
      }
      if (!form.sheetSteps.empty()) {
        t << "const TSheetStep kSheetSteps_" << id << "[] = {\n";
        for (std::size_t k = 0; k < form.sheetSteps.size(); ++k) {
          const SheetStep& step = form.sheetSteps[k];
          const std::string stepKind = step.kind == "cell" ? "Cell" : step.kind == "name" ? "Name" : "Lines";
          t << "    {TSheetStep::" << stepKind << ", " << lit(step.target) << ", "
            << (step.format ? lit(*step.format) : "nullptr") << ", "
            << (step.sources.empty() ? "nullptr" : "kSheetSources_" + id + "_" + std::to_string(k)) << ", "
            << step.sources.size() << ", " << (step.label ? "true" : "false") << "},\n";
        }
        t << "};\n";
      }
      if (!form.layouts.empty()) {
        t << "const char* const kLayouts_" << id << "[] = {";
        for (const std::string& l : form.layouts) t << lit(l) << ", ";
        t << "};\n";
      }
      const std::string show = form.show == "certificate" ? "TShowRule::Certificate"
                               : form.show == "sheet"     ? "TShowRule::Sheet"
                                                          : "TShowRule::None";
      specs << "    {{" << lit(e.className) << ", " << lit(e.global) << ", " << lit(e.unit) << ", " << lit(e.tag) << ", "
            << e.kind << ", " << lit(e.caption) << ", " << (e.lineRows ? "true" : "false") << ", " << lit(e.cancel)
            << "},\n     " << lit(e.documentName) << ", " << e.tree << ", " << e.created << ", " << lit(e.description)
            << ", " << form.width << ", " << form.height << ", " << show << ", " << lit(form.font) << ", "
            << form.fontHeight << ", " << lit(form.labelFont) << ", " << form.labelFontHeight << ",\n     "
            << (form.sides.empty() ? "nullptr" : "kSides_" + id) << ", " << form.sides.size() << ", "
            << form.panelHeight << ", " << (parts.empty() ? "nullptr" : "kComponents_" + id) << ", " << parts.size()
            << ", " << (form.personal.empty() ? "nullptr" : "kPersonal_" + id) << ", " << form.personal.size() << ", "
            << (form.samplesClear ? "true" : "false") << ", "
            << (form.layouts.empty() ? "nullptr" : "kLayouts_" + id) << ", " << form.layouts.size() << ", "
            << (form.pairs.empty() ? "nullptr" : "kTemplate_" + id) << ", " << form.pairs.size() << ", "
            << (form.templateKeep ? "true" : "false") << ",\n     "
            << (form.sheetLabel ? lit(*form.sheetLabel) : "nullptr") << ", "
            << (form.sheetPages.empty() ? "nullptr" : "kSheetPages_" + id) << ", " << form.sheetPages.size() << ", "
            << (form.sheetSteps.empty() ? "nullptr" : "kSheetSteps_" + id) << ", " << form.sheetSteps.size() << "},\n";
    }
    t << "\n}  // namespace\n\nconst TFormSpec kFormSpecs[] = {\n"
      << specs.str() << "};\nconst int kFormSpecCount = " << registry.size() << ";\n\n"
      << "const TFormSpec& formSpec(const char* className) {\n"
      << "  for (int i = 0; i < kFormSpecCount; ++i)\n"
      << "    if (std::strcmp(kFormSpecs[i].identity.className, className) == 0) return kFormSpecs[i];\n"
      << "  throw std::logic_error(std::string(\"no document form \") + className);\n}\n";
    writeIfChanged(argv[4], t.str());

    std::ostringstream m;
    m << "// Written by tarvek_mkforms from assets/forms/registry.csv; do not edit.\n#include \"forms/FormMakers.h\"\n\n";
    for (const Entry& e : registry) m << "#include \"" << unitHeader(formsCode, e.unit).generic_string() << "\"\n";
    m << "\nconst TFormMaker kFormMakers[] = {\n";
    for (const Entry& e : registry)
      m << "    {" << lit(e.className) << ", [](QWidget* owner) -> TDocumentForm* { return " << e.global << " = new "
        << e.className << "(owner); }, [] { " << e.global << " = nullptr; }},\n";
    m << "};\n";
    writeIfChanged(argv[5], m.str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
