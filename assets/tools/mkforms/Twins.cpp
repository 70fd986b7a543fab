// What a twin says beyond its base: the statements that name the base's
// components.
#include "Description.h"

#include <algorithm>

namespace mkforms {

namespace {

std::size_t indexOf(const Form& form, const std::string& name, const std::string& where) {
  for (std::size_t i = 0; i < form.components.size(); ++i)
    if (lower(form.components[i].name) == lower(name)) return i;
  fail(where, "the base has no component \"" + name + "\"");
}

// A twin that removes or replaces a component also leaves out what named it.
void forget(Form& form, const std::string& name) {
  std::erase_if(form.pairs, [&](const Pair& p) { return lower(p.field) == lower(name); });
  std::erase_if(form.personal, [&](const Personal& p) { return lower(p.field) == lower(name); });
}

}  // namespace

bool twinStatement(Form& form, bool twin, const std::vector<Word>& words, const std::string& where) {
  const std::string& head = words[0].value;
  auto arg = [&](std::size_t k) -> const Word& {
    if (k >= words.size()) fail(where, "\"" + head + "\" needs more words");
    return words[k];
  };
  if (head == "remove") {
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
    return false;
  }
  return true;
}

}  // namespace mkforms
