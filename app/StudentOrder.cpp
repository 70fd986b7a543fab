#include "StudentOrder.h"

#include <algorithm>
#include <utility>

std::string strFunStudentSortKey(const std::string& displayName) {
  std::string key = displayName;
  for (char& c : key) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') c = static_cast<char>(b - 'a' + 'A');
    switch (b) {
      case 0xB9: case 0xA5: c = 'A'; break;            // ą Ą
      case 0xE6: case 0xC6: c = 'C'; break;            // ć Ć
      case 0xEA: case 0xCA: c = 'E'; break;            // ę Ę
      case 0xB3: case 0xA3: c = 'L'; break;            // ł Ł
      case 0xF1: case 0xD1: c = 'N'; break;            // ń Ń
      case 0x9C: case 0x8C: c = 'S'; break;            // ś Ś
      case 0xF3: case 0xD3: c = 'O'; break;            // ó Ó
      case 0xBF: case 0xAF: case 0x9F: case 0x8F: c = 'Z'; break;  // ż Ż ź Ź
      default: break;
    }
  }
  return key;
}

bool bFunKeyGreater(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x > y;
  }
  return a.size() > b.size();
}

std::vector<std::size_t> vFunStudentOrder(const std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::size_t>> entries;  // key, position
  entries.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) entries.emplace_back(strFunStudentSortKey(names[i]), i);
  const auto greater = bFunKeyGreater;
  // An exchange sort that steps back after each swap: only strictly greater
  // neighbours trade places, so equal keys keep their order.
  std::size_t i = 0;
  while (entries.size() > 1 && i < entries.size() - 1) {
    if (greater(entries[i].first, entries[i + 1].first)) {
      std::swap(entries[i], entries[i + 1]);
      i = i >= 3 ? i - 2 : 0;
    } else {
      ++i;
    }
  }
  std::vector<std::size_t> order;
  order.reserve(entries.size());
  for (const auto& e : entries) order.push_back(e.second);
  return order;
}
