#include "platform/linux/hostname_file.h"

#include <vector>

namespace tolvaren::platform::linux_backend {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  return text;
}

// The name a line holds; empty for a blank or comment line.
std::string_view NameOfLine(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  std::size_t end = start;
  while (end < line.size() && !IsBlank(line[end]) && line[end] != '#') ++end;
  return line.substr(start, end - start);
}

std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

std::string NameOfHostnameFile(std::string_view text) {
  for (const std::string_view line : LinesOf(WithoutByteOrderMark(text))) {
    if (const std::string_view name = NameOfLine(line); !name.empty()) return std::string(name);
  }
  return {};
}

std::string HostnameFileWithName(std::string_view text, std::string_view name) {
  std::string result;
  bool named = false;
  for (const std::string_view line : LinesOf(WithoutByteOrderMark(text))) {
    if (NameOfLine(line).empty()) {
      result.append(line);
      result += '\n';
    } else if (!named) {
      result.append(name);
      result += '\n';
      named = true;
    }
  }
  if (!named) {
    result.append(name);
    result += '\n';
  }
  return result;
}

}  // namespace tolvaren::platform::linux_backend
