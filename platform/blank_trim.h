#pragma once

#include <string>
#include <string_view>

namespace tolvaren {

// The text without the blanks and control bytes (0 to 32) at either end, the
// way firmware strings and adapter descriptions come padded.
inline std::string TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (end > begin && blank(text[end - 1])) --end;
  while (begin < end && blank(text[begin])) ++begin;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace tolvaren
