// The checks of a form against its layouts, lists, the dialogs it copies
// from, the pages it copies into and the names the code looks up; the places
// of its components.
#include "Description.h"
#include "forms/ComponentNames.h"
#include "platform/Cp1250.h"

#include <algorithm>
#include <sstream>

namespace mkforms {

namespace {

bool among(const std::string& name, const auto& list) {
  return std::any_of(std::begin(list), std::end(list), [&](const auto& item) { return name == item; });
}
bool isStudentDataField(const std::string& name) { return among(name, names::kStudentDataFields); }

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

// The attributes name=value each kind takes (its flags: TARVEK_SPEC_FLAGS).
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"edit", {"max", "sample", "new", "text", "at"}},
    {"combo", {"max", "list", "sample", "new", "at"}},
    {"memo", {"lines", "sample", "at"}},
    {"label", {"size", "font", "at"}},
    {"dots", {"at"}},
    {"button", {"at"}},
    {"pick", {"list", "at"}},
    {"check", {"at"}},
    {"plabel", {"at"}},
};

// namedAt: the "layout" statement, where a missing file is told.
const std::vector<TLayoutRow>& layoutOf(Layouts& cache, const fs::path& dir, const std::string& table,
                                        const std::string& namedAt) {
  auto it = cache.find(table);
  if (it == cache.end()) it = cache.emplace(table, readLayout(dir / (table + ".csv"), namedAt)).first;
  return it->second;
}

// The name of a page's cell in a column: the suffix goes before "_DATA_".
std::string withSuffix(const std::string& name, const std::string& suffix) {
  std::string out = name;
  return out.insert(out.find("_DATA_"), suffix);
}

}  // namespace

std::vector<Checked> check(const Form& form, const Lists& lists, Layouts& cache, const fs::path& layoutDir) {
  std::vector<Checked> out;
  std::map<std::string, std::string> names;  // lower-cased -> where
  std::vector<const std::vector<TLayoutRow>*> layouts;
  // Every layout read (each fault told); without them all, the checks
  // against them would only tell follow-on faults.
  bool readable = true;
  for (std::size_t l = 0; l < form.layouts.size(); ++l)
    readable = attempt([&] { layouts.push_back(&layoutOf(cache, layoutDir, form.layouts[l], form.layoutsWhere[l])); }) &&
               readable;
  if (!readable) return out;

  for (const Component& c : form.components) attempt([&] {
    const auto [it, fresh] = names.emplace(lower(c.name), c.where);
    if (!fresh) fail(c.where, "\"" + c.name + "\" is named twice (letter case aside; see " + it->second + ")");
    for (const auto& [key, word] : c.attrs)
      if (isFlag(key) ? !flagFits(key, c.kind) : !kAllowed.at(c.kind).count(key))
        fail(c.where, "a " + c.kind + " takes no \"" + key + "\"");
    for (const char* key : {"max", "lines", "size"})
      if (c.attrs.count(key) && wholeNumber(c.attrs.at(key).value, c.where) < 0)
        fail(c.where, std::string(key) + "= takes 0 or more");
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
      if (k.listName == kCertificateList) k.listName += "/" + form.className;
      const auto list = lists.find(k.listName);
      if (list == lists.end() && c.attrs.at("list").value == kCertificateList)
        fail(c.where, "no certificate fills " + form.className + " (\"sheet page " + form.className +
                          "\"): its list " + kCertificateList + " would be empty");
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
  });
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
      if (!found) attempt([&] { fail(r.where, "the row \"" + cp1250ToUtf8(r.name) + "\" names no component of " + form.className); });
    }
  for (const Pair& p : form.pairs) attempt([&] {
    const bool field = std::any_of(form.components.begin(), form.components.end(),
                                   [&](const Component& c) { return c.name == p.field && isValueKind(c.kind); });
    if (!field) fail(p.where, "\"" + p.field + "\" is no value field of the form");
  });
  for (const Personal& p : form.personal) attempt([&] {
    const bool field = std::any_of(form.components.begin(), form.components.end(),
                                   [&](const Component& c) { return c.name == p.field && isValueKind(c.kind); });
    if (!field) fail(p.where, "\"" + p.field + "\" is no value field of the form");
    for (const PersonalToken& t : p.tokens)
      if (t.kind == PersonalToken::Component && !isStudentDataField(t.text))
        fail(p.where, "the student-data dialog has no \"" + t.text + "\"");
  });
  for (const SheetStep& step : form.sheetSteps) attempt([&] {
    for (const std::string& source : step.sources) {
      const bool field = std::any_of(form.components.begin(), form.components.end(),
                                     [&](const Component& c) { return c.name == source && isValueKind(c.kind); });
      if (!field) fail(step.where, "\"" + source + "\" is no value field of " + form.className);
    }
    if (step.label && !form.sheetLabel) fail(step.where, "@label without a \"sheet label\"");
  });
  if (form.sheetSteps.empty() != form.sheetPages.empty())
    fail(form.where, "the copy into a class page needs both its pages and its table");
  return out;
}

void makeCertificateLists(const std::map<std::string, Form>& all, Lists& lists) {
  struct Offer {
    const Form* certificate;
    const SheetPage* page;
  };
  std::map<std::string, std::map<int, std::vector<Offer>>> pages;  // page class -> item -> certificates
  for (const auto& entry : all) {
    const std::string& className = entry.first;
    const Form& form = entry.second;
    if (form.sheetItem > 0 && form.sheetPages.empty())
      attempt([&] { fail(form.sheetItemWhere, className + " fills no class page: its \"sheet item\" is in no list"); });
    for (const SheetPage& page : form.sheetPages) {
      if (form.sheetItem == 0) {
        attempt([&] {
          fail(form.where, className + " fills " + page.pageClass +
                              " but says not which item of its certificate list it is (sheet item N \"text\")");
        });
        continue;
      }
      pages[page.pageClass][form.sheetItem].push_back({&form, &page});
    }
  }
  for (const auto& entry : pages) {
    const std::string& pageClass = entry.first;
    const auto& items = entry.second;
    std::vector<std::string> texts;
    for (int item = 1; item <= items.rbegin()->first; ++item) {
      const auto offers = items.find(item);
      if (offers == items.end()) {
        const Offer& next = items.upper_bound(item)->second.front();
        attempt([&] {
          fail(next.certificate->sheetItemWhere, "the item " + std::to_string(item) + " of the certificate list of " +
                                                     pageClass + " names no certificate (items count 1, 2, ... without a gap)");
        });
        continue;
      }
      if (offers->second.size() > 1)
        attempt([&] {
          fail(offers->second[1].certificate->sheetItemWhere,
               "the item " + std::to_string(item) + " of the certificate list of " + pageClass + " is taken by " +
                   offers->second[0].certificate->className + " (" + offers->second[0].certificate->sheetItemWhere + ")");
        });
      texts.push_back(offers->second.front().certificate->sheetItemText);
    }
    lists[kCertificateList + "/" + pageClass] = texts;
  }
}

// The panel components the code looks up by name (forms/ComponentNames.h):
// a form whose description gives what they serve has them.
void checkPanel(const Form& form, TDocKind kind, const std::vector<Checked>& parts,
                const std::map<std::string, Form>& all) {
  auto find = [&](const auto& list, const char* kindWanted) -> const Checked* {
    for (const Checked& k : parts)
      if (k.c.kind == kindWanted && among(k.c.name, list)) return &k;
    return nullptr;
  };
  auto need = [&](const auto& list, const char* kindWanted, const std::string& why) {
    if (find(list, kindWanted)) return;
    std::string wanted;
    for (const char* name : list) wanted += (wanted.empty() ? "" : " or ") + std::string(name);
    fail(form.where, form.className + " " + why + ": it needs the " + kindWanted + " " + wanted);
  };
  // The print of one column: the list's item N prints the kind after the
  // page's own by N + 1, which must be the form's layout N + 2.
  const char* const printButton[] = {names::kColumnPrintButton};
  if (const Checked* list = find(names::kColumnPrintLists, "pick")) {
    need(printButton, "button", "prints a column");
    const int items = static_cast<int>(list->items->size());
    for (int i = 0; i < items; ++i) {
      const auto column = optFunDocKind(kind + 1 + i);
      const std::size_t layout = static_cast<std::size_t>(i) + 1;
      if (!column || layout >= form.layouts.size() || form.layouts[layout] != column->table)
        fail(list->c.where, "the column print's item " + std::to_string(i + 1) + " (\"" + (*list->items)[static_cast<std::size_t>(i)] +
                                "\") has no layout of one column: the " + std::to_string(layout + 1) +
                                ". layout must be " + (column ? column->table : "a kind after the page's"));
    }
  } else if (form.layouts.size() > 1) {
    need(names::kColumnPrintLists, "pick", "has layouts of single columns");
  } else if (find(printButton, "button")) {
    need(names::kColumnPrintLists, "pick", "has the column print's button");
  }
  // A class page that certificates copy into: the certificate list and the
  // load button; the column list when a copy fills more than one column; the
  // subject-name box when a copy writes them.
  bool filled = false, columns = false, subjectNames = false;
  for (const auto& [className, other] : all)
    for (const SheetPage& page : other.sheetPages)
      if (page.pageClass == form.className) {
        filled = true;
        columns = columns || page.columns.size() > 1;
        subjectNames = subjectNames || page.names;
      }
  if (filled) {
    need(names::kSourceLists, "pick", "is filled from certificates");
    if (const Checked* sources = find(names::kSourceLists, "pick"); sources->listName.rfind(kCertificateList, 0) != 0)
      fail(sources->c.where, "the certificate list of a class page names its certificates: list=" + kCertificateList);
    need(names::kLoadButtons, "button", "is filled from certificates");
    if (columns) need(names::kColumnLists, "pick", "is filled column by column");
    const char* const check[] = {names::kSubjectNamesCheck};
    if (subjectNames) need(check, "check", "takes the subject names");
  }
  // A form that takes school fields from the template: the button that does it.
  if (std::any_of(form.pairs.begin(), form.pairs.end(), [](const Pair& p) { return p.fill; }))
    need(names::kSchoolDataButtons, "button", "fills fields from the school template");
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

}  // namespace mkforms
