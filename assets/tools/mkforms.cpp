// Writes the constant tables of the document forms from their descriptions.
//   tarvek_mkforms <forms sources> <layout sources> <out FormTables.cpp> <out FormUnits.h> <out FormUnits.cpp>
// The descriptions are assets/forms/registry.csv, lists.txt and one
// "<name>.form" per form (assets/forms/README.md says how they read); the
// layouts are assets/layouts/*.csv, from which value fields take their places
// on screen. FormUnits.h/.cpp get the forms' classes, their global instance
// pointers and how start-up makes them. A fault stops with the file and line.
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
  try {
    const fs::path sources = argv[1], layoutDir = argv[2];
    Lists lists;
    readLists(sources / "lists.txt", lists);
    const std::vector<Entry> registry = readRegistry(sources / "registry.csv");

    // Every description belongs to a registered form.
    std::map<std::string, fs::path> files;
    std::map<std::string, Form> all;
    for (const auto& entry : fs::directory_iterator(sources)) {
      if (entry.path().extension() != ".form") continue;
      const Form head = readForm(entry.path());
      if (std::none_of(registry.begin(), registry.end(), [&](const Entry& e) { return e.className == head.className; }))
        fail(head.where, "\"" + head.className + "\" is not in registry.csv");
      if (!files.emplace(head.className, entry.path()).second)
        fail(head.where, "a second description of " + head.className);
      all.emplace(head.className, head);
    }

    std::vector<Resolved> forms;
    Layouts cache;
    for (const Entry& e : registry) {
      const auto kind = optFunDocKindNamed(e.kind);
      if (!kind) fail(e.where, "unknown document kind \"" + e.kind + "\"");
      Resolved r {&e, *kind, {}, {}};
      r.form.className = e.className;
      const auto file = files.find(e.className);
      if (file != files.end()) r.form = readForm(file->second);
      r.parts = check(r.form, lists, cache, layoutDir);
      checkSheetTargets(r.form, all);
      checkPanel(r.form, *kind, r.parts, all);
      // The registry's kind and the form's first layout name the same table.
      const char* table = kDocKinds[static_cast<std::size_t>(*kind)].table;
      if (!r.form.layouts.empty() && r.form.layouts.front() != table)
        fail(e.where, e.className + " is of the kind " + e.kind + " printed by " + table + ", but its first layout is " +
                          r.form.layouts.front());
      forms.push_back(std::move(r));
    }
    writeIfChanged(argv[3], tablesText(forms));
    writeIfChanged(argv[4], unitsHeader(forms, all));
    writeIfChanged(argv[5], unitsSource(forms, all));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
