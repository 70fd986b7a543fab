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

StatementReader::StatementReader(const fs::path& file) : in_(file, std::ios::binary), name_(file.filename().string()) {
  if (!in_) throw std::runtime_error("cannot read " + file.string());
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

}  // namespace mkforms
