// A form file: its statements in order, a twin's base read first.
#include "Description.h"
#include "forms/ComponentNames.h"

#include <algorithm>
#include <fstream>

namespace mkforms {

const std::set<std::string> kComponentKinds = {"edit", "combo", "memo", "label", "dots",
                                               "button", "pick", "check", "plabel"};

namespace {

struct FlagWord {
  const char* word;
  const char* kinds;  // blank-separated
};
#define TARVEK_SPEC_FLAG_WORD(word, flag, bit, kinds) {#word, kinds},
constexpr FlagWord kFlagWords[] = {TARVEK_SPEC_FLAGS(TARVEK_SPEC_FLAG_WORD)};
#undef TARVEK_SPEC_FLAG_WORD

// @ending(male,female) or @pesel(N); any other word is a component of the
// student-data dialog.
PersonalToken personalToken(const Word& w, const std::string& where) {
  PersonalToken t;
  const std::string& v = w.value;
  if (w.quoted) {
    t.text = v;
    return t;
  }
  if (!w.key.empty()) fail(where, "unknown word \"" + w.key + "=\" in a personal field");
  const bool ending = v.rfind("@ending(", 0) == 0, pesel = v.rfind("@pesel(", 0) == 0;
  if ((ending || pesel) && v.back() != ')')
    fail(where, "\"" + v + "\" lacks its closing \")\"");
  if (ending) {
    const std::string inner = v.substr(8, v.size() - 9);
    const auto comma = inner.find(',');
    if (comma == std::string::npos || inner.find(',', comma + 1) != std::string::npos)
      fail(where, "@ending(male,female) expected");
    t.kind = PersonalToken::Ending;
    t.text = inner.substr(0, comma);
    t.female = inner.substr(comma + 1);
  } else if (pesel) {
    t.kind = PersonalToken::Pesel;
    t.index = wholeNumber(v.substr(7, v.size() - 8), where);
    if (t.index < 1) fail(where, "@pesel(N) counts from 1");
  } else if (!v.empty() && v[0] == '@') {
    fail(where, "unknown \"" + v + "\": @ending(male,female) or @pesel(N) expected");
  } else {
    t.kind = PersonalToken::Component;
    t.text = v;
  }
  return t;
}

bool isSchoolEdit(const std::string& name) {
  for (const names::TSchoolEdit& e : names::kSchoolEdits)
    if (name == e.name) return true;
  return false;
}

int sideOf(const std::vector<Side>& sides, int current) { return sides.empty() ? 0 : current; }

Form readFormVisiting(const fs::path& file, std::vector<fs::path>& visiting);

}  // namespace

bool isFlag(const std::string& word) {
  for (const FlagWord& f : kFlagWords)
    if (word == f.word) return true;
  return false;
}

bool flagFits(const std::string& word, const std::string& kind) {
  for (const FlagWord& f : kFlagWords)
    if (word == f.word) {
      const std::string kinds = std::string(" ") + f.kinds + " ";
      return kinds.find(" " + kind + " ") != std::string::npos;
    }
  return false;
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
      if (!isFlag(w.value)) fail(where, "unknown word \"" + w.value + "\"");
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
      if (w.value.size() > 1 && w.value[0] == '-' && isFlag(w.value.substr(1))) {
        c.attrs.erase(w.value.substr(1));  // "-bold" takes a flag away
        continue;
      }
      if (!isFlag(w.value)) fail(where, "unknown word \"" + w.value + "\"");
      c.attrs[w.value] = Word {w.value, "", false};
    } else {
      c.attrs[w.key] = w;
    }
  }
}

Form readForm(const fs::path& file) {
  std::vector<fs::path> visiting;
  return readFormVisiting(file, visiting);
}

namespace {

// visiting: the files whose "base" led here; meeting one again is a circle,
// however long the chain of twins.
Form readFormVisiting(const fs::path& file, std::vector<fs::path>& visiting) {
  const fs::path self = fs::weakly_canonical(file);
  visiting.push_back(self);
  StatementReader statements(file);
  Form form;
  bool twin = false, layoutsGiven = false, personalGiven = false, sheetPagesGiven = false;
  int currentSide = 0;
  std::string line;
  for (std::string where; statements.next(line, where);) {
    // A file that does not start as a form is no form: its other lines are
    // not read.
    if (!attempt([&] {
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
      const fs::path base = file.parent_path() / arg(1).value;
      if (std::find(visiting.begin(), visiting.end(), fs::weakly_canonical(base)) != visiting.end())
        fail(where, "\"base\" goes round in a circle: " + arg(1).value + " leads back here");
      form = readFormVisiting(base, visiting);
      // A certificate's item in the class pages' lists is its own.
      form.sheetItem = 0;
      form.sheetItemText.clear();
      form.sheetItemWhere.clear();
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
      if (twin && !layoutsGiven) {
        form.layouts.clear();
        form.layoutsWhere.clear();
      }
      layoutsGiven = true;
      form.layouts.push_back(arg(1).value);
      form.layoutsWhere.push_back(where);
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
      std::size_t first = 2;
      if (words.size() > first && !words[first].quoted && words[first].value == "@ifempty") {
        p.onlyIntoEmpty = true;
        ++first;
      }
      for (std::size_t k = first; k < words.size(); ++k) p.tokens.push_back(personalToken(words[k], where));
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
      if (!isSchoolEdit(p.dialog)) fail(where, "the school-template dialog has no edit \"" + p.dialog + "\"");
      form.pairs.push_back(p);
    } else if (head == "sheet") {
      const std::string& what = arg(1).value;
      if (what == "label") {
        if (!arg(2).quoted || words.size() != 3) fail(where, "sheet label \"text\" expected");
        form.sheetLabel = arg(2).value;
      } else if (what == "item") {
        if (words.size() != 4 || arg(2).quoted || !arg(2).key.empty() || !arg(3).quoted)
          fail(where, "sheet item N \"text\" expected");
        form.sheetItem = wholeNumber(arg(2).value, where);
        if (form.sheetItem < 1) fail(where, "the items of a certificate list count from 1");
        form.sheetItemText = arg(3).value;
        form.sheetItemWhere = where;
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
        for (const SheetPage& other : form.sheetPages) {
          if (other.number == page.number) fail(where, "two pages of the copy with the same number");
          if (other.pageClass == page.pageClass)
            fail(where, "the page " + page.pageClass + " is named twice (see " + other.where + "): its certificate list "
                        "would name the certificate twice");
        }
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
        fail(where, "sheet label, item, page, cell, name or lines expected");
      }
    } else if (head == "samples") {
      if (arg(1).value != "clear") fail(where, "samples clear expected");
      form.samplesClear = true;
    } else if (kComponentKinds.count(head)) {
      if (twin) fail(where, "a twin adds components with \"after\" or \"replace\"");
      if (form.sides.empty() && !isPanelKind(head)) fail(where, "a component lies on a side: give \"side\" first");
      form.components.push_back(parseComponent(words, 0, sideOf(form.sides, currentSide), where));
    } else if (!twinStatement(form, twin, words, where)) {
      fail(where, "unknown statement \"" + head + "\"");
    }
    }) && form.className.empty())
      break;
  }
  if (form.className.empty()) fail(file.string() + ":1", "no statement \"form CLASS\"");
  visiting.pop_back();
  return form;
}

}  // namespace

}  // namespace mkforms
