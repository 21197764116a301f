#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tolvaren {

// Names of registry classes, hosts, devices and list items compare with the
// letters A to Z taken as a to z and every other byte as it is, whatever the
// process locale. These are the only case-blind comparisons in the program.

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiUpperCase(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// Orders by the lower-cased bytes, taken as unsigned.
inline bool LessIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
}

inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace tolvaren
