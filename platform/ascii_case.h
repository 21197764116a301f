#pragma once

#include <algorithm>
#include <string_view>

namespace tolvaren {

// Equal texts when the letters A to Z are taken as a to z; every other byte
// must match exactly. Names of registry classes, hosts and list items compare
// this way, whatever the process locale.
inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace tolvaren
