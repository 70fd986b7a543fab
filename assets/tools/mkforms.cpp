// Writes the constant tables of the document forms from their descriptions.
//   tarvek_mkforms <forms sources> <layout sources> <out FormTables.cpp> <out FormUnits.h> <out FormUnits.cpp>
// The descriptions are assets/forms/registry.csv, lists.txt and one
// "<name>.form" per form (assets/forms/README.md says how they read); the
// layouts are assets/layouts/*.csv, from which value fields take their places
// on screen. FormUnits.h/.cpp get the forms' classes, their global instance
// pointers, how start-up makes them and the order of every window made at
// start-up. Every fault of a run is told as "path:line: error: what"; any
// fault stops the build and writes nothing.
// The steps are in mkforms/ (Description.h names them).
#include "mkforms/Description.h"

#include <algorithm>
#include <cstdio>

using namespace mkforms;

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s <forms sources> <layout sources> <FormTables.cpp> <FormUnits.h> <FormUnits.cpp>\n",
                 argv[0]);
    return 2;
  }
  const fs::path sources = argv[1], layoutDir = argv[2];
  Lists lists;
  attempt([&] { readLists(sources / "lists.txt", lists); });
  const Registry registry = readRegistry(sources / "registry.csv");

  // Every description belongs to a registered form.
  std::map<std::string, Form> all;
  std::set<std::string> faulty;  // forms whose description could not be read whole
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(sources, error)) {
    if (entry.path().extension() != ".form") continue;
    const std::size_t before = faults().size();
    const Form form = readForm(entry.path());
    attempt([&] {
      if (!registry.names(form.className))
        fail(form.where, "\"" + form.className + "\" is not in registry.csv");
      if (const auto other = all.find(form.className); other != all.end())
        fail(form.where, "a second description of " + form.className + " (" + other->second.where + ")");
    });
    if (faults().size() != before) faulty.insert(form.className);
    all.emplace(form.className, form);
  }
  if (error) noteFault(sources.string() + ":1: error: cannot read the folder: " + error.message());
  makeCertificateLists(all, lists);

  std::vector<Resolved> forms;
  Layouts cache;
  for (const Entry& e : registry.forms) {
    attempt([&] {
      const auto kind = optFunDocKindNamed(e.kind);
      if (!kind) fail(e.where, "unknown document kind \"" + e.kind + "\"");
      Resolved r {&e, *kind, {}, {}};
      r.form.className = e.className;
      const auto form = all.find(e.className);
      if (form == all.end())
        fail(e.where, e.className + " has no description: no \".form\" file in " + sources.string() +
                          " starts with \"form " + e.className + "\"");
      r.form = form->second;
      if (faulty.count(e.className)) return;  // its faults are told; checks would only repeat them
      const std::size_t before = faults().size();
      r.parts = check(r.form, lists, cache, layoutDir);
      if (faults().size() != before) return;
      checkSheetTargets(r.form, all);
      checkPanel(r.form, *kind, r.parts, all);
      // The registry's kind and the form's first layout name the same table.
      const char* table = kDocKinds[static_cast<std::size_t>(*kind)].table;
      if (!r.form.layouts.empty() && r.form.layouts.front() != table)
        fail(e.where, e.className + " is of the kind " + e.kind + " printed by " + table + ", but its first layout is " +
                          r.form.layouts.front());
      forms.push_back(std::move(r));
    });
  }
  // A form whose row was refused is still checked on its own (what needs the
  // row, its kind, is left until the row is mended).
  for (const std::string& className : registry.refused) {
    const auto form = all.find(className);
    if (form == all.end() || faulty.count(className) ||
        std::any_of(registry.forms.begin(), registry.forms.end(), [&](const Entry& e) { return e.className == className; }))
      continue;
    attempt([&] {
      const std::size_t before = faults().size();
      check(form->second, lists, cache, layoutDir);
      if (faults().size() == before) checkSheetTargets(form->second, all);
    });
  }
  if (!faults().empty()) {
    for (const std::string& fault : faults()) std::fprintf(stderr, "%s\n", fault.c_str());
    std::fprintf(stderr, "%zu fault(s) in the descriptions of the document forms\n", faults().size());
    return 1;
  }
  try {
    writeIfChanged(argv[3], tablesText(forms));
    writeIfChanged(argv[4], unitsHeader(forms, all));
    writeIfChanged(argv[5], unitsSource(forms, all, registry));
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  return 0;
}
