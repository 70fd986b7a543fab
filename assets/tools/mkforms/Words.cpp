// Splitting a statement into its words.
#include "Description.h"

namespace mkforms {

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

StatementReader::StatementReader(const fs::path& file) : in_(file, std::ios::binary), name_(file.string()) {
  if (!in_) fail(name_ + ":1", "cannot read the file");
}

bool StatementReader::next(std::string& line, std::string& where) {
  while (std::getline(in_, line)) {
    ++lineNo_;
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    where = name_ + ":" + std::to_string(lineNo_);
    return true;
  }
  return false;
}

namespace {
std::vector<std::string>& faultList() {
  static std::vector<std::string> list;
  return list;
}
}  // namespace

const std::vector<std::string>& faults() { return faultList(); }

void noteFault(const std::string& text) {
  // A base read again for each twin would tell its fault again.
  for (const std::string& known : faultList())
    if (known == text) return;
  faultList().push_back(text);
}

}  // namespace mkforms
