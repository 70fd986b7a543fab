// The C++ the build compiles: the forms' constant tables, their classes,
// globals and makers.
#include "Description.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace mkforms {

namespace {

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
#define TARVEK_SPEC_FLAG_PAIR(word, flag, bit, kinds) {#word, #flag},
  const std::pair<const char*, const char*> flags[] = {TARVEK_SPEC_FLAGS(TARVEK_SPEC_FLAG_PAIR)};
#undef TARVEK_SPEC_FLAG_PAIR
  for (const auto& [word, flag] : flags)
    if (c.attrs.count(word)) out += (out.empty() ? "" : " | ") + std::string(flag);
  return out.empty() ? "0u" : out;
}

int intAttr(const Component& c, const char* key) {
  const auto it = c.attrs.find(key);
  return it == c.attrs.end() ? 0 : wholeNumber(it->second.value, c.where);
}

bool isClassPage(const std::map<std::string, Form>& all, const std::string& className) {
  for (const auto& [name, form] : all)
    for (const SheetPage& page : form.sheetPages)
      if (page.pageClass == className) return true;
  return false;
}

}  // namespace

std::string tablesText(const std::vector<Resolved>& forms) {
  std::ostringstream t;
  t << "// Written by tarvek_mkforms from assets/forms/ and assets/layouts/; do not edit.\n"
    << "#include \"forms/FormSpec.h\"\n\n#include <cstring>\n#include <stdexcept>\n#include <string>\n\nnamespace {\n\n";
  std::set<std::string> listsWritten;
  std::ostringstream specs;
  for (const Resolved& r : forms) {
    const Entry& e = *r.entry;
    const Form& form = r.form;
    const std::vector<Checked>& parts = r.parts;
    const std::string id = ident(e.className);
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
        t << "    {.kind = " << kindName(c.kind) << ", .name = " << lit(c.name) << ", .side = " << c.side
          << ", .at = {" << k.at.x << ", " << k.at.y << ", " << k.at.w << ", " << k.at.h
          << "}, .maxLength = " << intAttr(c, "max")
          << ", .items = " << (k.items ? "kList_" + ident(k.listName) : "nullptr")
          << ", .itemCount = " << (k.items ? static_cast<int>(k.items->size()) : 0) << ", .flags = " << flagsOf(c)
          << ", .text = " << (c.hasText ? lit(c.text) : optLit(c, "text")) << ", .font = " << optLit(c, "font")
          << ", .fontHeight = " << intAttr(c, "size") << ", .sample = " << optLit(c, "sample")
          << ", .newStudent = " << optLit(c, "new") << ", .lines = " << intAttr(c, "lines") << "},\n";
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
      for (const PersonalToken& token : form.personal[p].tokens) {
        switch (token.kind) {
          case PersonalToken::Literal: t << "{TPersonalToken::Literal, " << lit(token.text) << ", nullptr, 0}, "; break;
          case PersonalToken::Component:
            t << "{TPersonalToken::Component, " << lit(token.text) << ", nullptr, 0}, ";
            break;
          case PersonalToken::Ending:
            t << "{TPersonalToken::Ending, " << lit(token.text) << ", " << lit(token.female) << ", 0}, ";
            break;
          case PersonalToken::Pesel: t << "{TPersonalToken::Pesel, nullptr, nullptr, " << token.index << "}, "; break;
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
    // Designated initializers: a member moved in FormSpec.h stops the
    // compile instead of shifting the values.
    auto ptr = [](bool none, const std::string& name) { return none ? std::string("nullptr") : name; };
    specs << "    {.identity = {.className = " << lit(e.className) << ", .global = " << lit(e.global)
          << ", .unit = " << lit(e.unit) << ", .tag = " << lit(e.tag) << ", .kind = " << e.kind
          << ", .caption = " << lit(e.caption) << ", .lineRows = " << (e.lineRows ? "true" : "false")
          << ", .cancelButton = " << lit(e.cancel) << "},\n"
          << "     .documentName = " << lit(e.documentName) << ", .treePosition = " << e.tree
          << ", .created = " << e.created << ",\n     .description = " << lit(e.description) << ",\n"
          << "     .width = " << form.width << ", .height = " << form.height << ", .show = " << show
          << ", .font = " << lit(form.font) << ", .fontHeight = " << form.fontHeight
          << ", .labelFont = " << lit(form.labelFont) << ", .labelFontHeight = " << form.labelFontHeight << ",\n"
          << "     .sides = " << ptr(form.sides.empty(), "kSides_" + id) << ", .sideCount = " << form.sides.size()
          << ", .panelHeight = " << form.panelHeight << ",\n"
          << "     .components = " << ptr(parts.empty(), "kComponents_" + id) << ", .componentCount = " << parts.size()
          << ",\n     .personal = " << ptr(form.personal.empty(), "kPersonal_" + id)
          << ", .personalCount = " << form.personal.size()
          << ", .samplesClear = " << (form.samplesClear ? "true" : "false") << ",\n"
          << "     .layouts = " << ptr(form.layouts.empty(), "kLayouts_" + id) << ", .layoutCount = " << form.layouts.size()
          << ",\n     .templatePairs = " << ptr(form.pairs.empty(), "kTemplate_" + id)
          << ", .templateCount = " << form.pairs.size()
          << ", .templateKeep = " << (form.templateKeep ? "true" : "false") << ",\n"
          << "     .sheetLabel = " << (form.sheetLabel ? lit(*form.sheetLabel) : "nullptr")
          << ", .sheetItem = " << form.sheetItem
          << ", .sheetPages = " << ptr(form.sheetPages.empty(), "kSheetPages_" + id)
          << ", .sheetPageCount = " << form.sheetPages.size()
          << ", .sheetSteps = " << ptr(form.sheetSteps.empty(), "kSheetSteps_" + id)
          << ", .sheetStepCount = " << form.sheetSteps.size() << "},\n";
  }
  t << "\n}  // namespace\n\nconst TFormSpec kFormSpecs[] = {\n"
    << specs.str() << "};\nconst int kFormSpecCount = " << forms.size() << ";\n\n"
    << "const TFormSpec& formSpec(const char* className) {\n"
    << "  for (int i = 0; i < kFormSpecCount; ++i)\n"
    << "    if (std::strcmp(kFormSpecs[i].identity.className, className) == 0) return kFormSpecs[i];\n"
    << "  throw std::logic_error(std::string(\"no document form \") + className);\n}\n";
  return t.str();
}

std::string unitsHeader(const std::vector<Resolved>& forms, const std::map<std::string, Form>& all) {
  std::ostringstream h;
  h << "#pragma once\n// Written by tarvek_mkforms from assets/forms/registry.csv; do not edit.\n"
    << "// The document forms, in protocol order: one class each, whose one\n"
    << "// instance start-up makes with the other windows (kFormMakers).\n"
    << "#include \"forms/DocumentForm.h\"\n#include \"forms/record_sheets/ClassPage.h\"\n";
  for (const Resolved& r : forms) {
    const Entry& e = *r.entry;
    const std::string base = isClassPage(all, e.className) ? "TClassPage" : "TDocumentForm";
    h << "\n// " << e.description << ": \"" << e.documentName << "\".\nclass " << e.className << " : public " << base
      << " {\n  Q_OBJECT\n public:\n  explicit " << e.className << "(QWidget* parent = nullptr);\n};\nextern "
      << e.className << "* " << e.global << ";\n";
  }
  return h.str();
}

std::string unitsSource(const std::vector<Resolved>& forms, const std::map<std::string, Form>& all,
                        const Registry& registry) {
  std::ostringstream m;
  m << "// Written by tarvek_mkforms from assets/forms/registry.csv; do not edit.\n"
    << "#include \"forms/FormUnits.h\"\n#include \"forms/FormMakers.h\"\n\n";
  for (const Resolved& r : forms) {
    const Entry& e = *r.entry;
    const std::string base = isClassPage(all, e.className) ? "TClassPage" : "TDocumentForm";
    m << e.className << "* " << e.global << " = nullptr;\n"
      << e.className << "::" << e.className << "(QWidget* parent) : " << base << "(formSpec(" << lit(e.className)
      << "), parent) {}\n";
  }
  m << "\nconst TFormMaker kFormMakers[] = {\n";
  for (const Resolved& r : forms) {
    const Entry& e = *r.entry;
    m << "    {" << lit(e.className) << ", [](QWidget* owner) -> TDocumentForm* { return " << e.global << " = new "
      << e.className << "(owner); }, [] { " << e.global << " = nullptr; }},\n";
  }
  m << "};\n";
  // The windows in the order start-up makes them (the registry's "created").
  std::map<int, std::string> order;
  for (std::size_t i = 0; i < forms.size(); ++i)
    order[forms[i].entry->created] = "{" + lit(forms[i].entry->global) + ", " + std::to_string(i) + "}";
  for (const ShellWindow& w : registry.shell) order[w.created] = "{" + lit(w.global) + ", -1}";
  m << "\nconst TWindowSlot kWindowOrder[] = {\n";
  for (const auto& [created, slot] : order) m << "    " << slot << ",  // " << created << "\n";
  m << "};\nconst int kWindowCount = " << order.size() << ";\n";
  return m.str();
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

}  // namespace mkforms
