#include "platform/linux/hosts_file.h"

#include <algorithm>

#include "platform/ascii_case.h"

namespace tolvaren::platform::linux_backend {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Four decimal numbers of 0 to 255 separated by dots, without leading zeros
// (as inet_pton reads them); the first must be 127.
bool IsIpv4Loopback(std::string_view text) {
  int parts = 0;
  int first = -1;
  std::size_t pos = 0;
  while (true) {
    const std::size_t start = pos;
    int value = 0;
    while (pos < text.size() && IsDigit(text[pos]) && pos - start < 3) value = value * 10 + (text[pos++] - '0');
    const std::size_t digits = pos - start;
    if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) return false;
    if (parts == 0) first = value;
    ++parts;
    if (pos == text.size()) break;
    if (text[pos] != '.' || parts == 4) return false;
    ++pos;
  }
  return parts == 4 && first == 127;
}

// The 16-bit groups of an IPv6 address written with at most one "::";
// nothing when the text is no IPv6 address of eight groups.
std::optional<std::vector<unsigned>> Ipv6Groups(std::string_view text) {
  const std::size_t gap = text.find("::");
  if (gap != std::string_view::npos && text.find("::", gap + 1) != std::string_view::npos) return std::nullopt;
  const auto parse = [](std::string_view part, std::vector<unsigned>& groups) {
    if (part.empty()) return true;
    std::size_t pos = 0;
    while (true) {
      const std::size_t start = pos;
      unsigned value = 0;
      while (pos < part.size() && IsHexDigit(part[pos]) && pos - start < 4) {
        const char c = part[pos++];
        value = value * 16 + static_cast<unsigned>(IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10);
      }
      if (pos == start) return false;
      groups.push_back(value);
      if (pos == part.size()) return true;
      if (part[pos] != ':') return false;
      ++pos;
    }
  };
  std::vector<unsigned> head;
  std::vector<unsigned> tail;
  if (gap == std::string_view::npos) {
    if (!parse(text, head) || head.size() != 8) return std::nullopt;
    return head;
  }
  if (!parse(text.substr(0, gap), head) || !parse(text.substr(gap + 2), tail)) return std::nullopt;
  if (head.size() + tail.size() > 7) return std::nullopt;
  head.resize(8 - tail.size(), 0);
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

bool IsIpv6Loopback(std::string_view text) {
  const auto groups = Ipv6Groups(text);
  if (!groups) return false;
  return std::all_of(groups->begin(), groups->end() - 1, [](unsigned g) { return g == 0; }) && groups->back() == 1;
}

std::string_view FirstLabel(std::string_view name) { return name.substr(0, name.find('.')); }

// The new text of one host-name token, or nothing when it names no old name.
std::optional<std::string> RenamedToken(std::string_view token, const std::vector<std::string>& oldNames,
                                        std::string_view newName) {
  const std::string_view label = FirstLabel(token);
  const bool matches = std::any_of(oldNames.begin(), oldNames.end(), [&](const std::string& old) {
    const std::string_view oldLabel = FirstLabel(old);
    return !oldLabel.empty() && EqualIgnoringAsciiCase(label, oldLabel);
  });
  if (!matches || label.empty()) return std::nullopt;
  return std::string(newName) + std::string(token.substr(label.size()));
}

}  // namespace

bool IsLoopbackAddressText(std::string_view text) { return IsIpv4Loopback(text) || IsIpv6Loopback(text); }

std::optional<std::string> RenameInHostsFile(std::string_view text, const std::vector<std::string>& oldNames,
                                             std::string_view newName) {
  std::string result;
  result.reserve(text.size() + 64);
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    std::string_view line = text.substr(lineStart, lineEnd - lineStart);
    // Only what comes before a comment counts.
    const std::string_view fields = line.substr(0, line.find('#'));

    std::string out;
    std::size_t copied = 0;  // bytes of the line already in out
    std::size_t pos = 0;
    bool loopback = false;
    for (int field = 0;; ++field) {
      while (pos < fields.size() && IsBlank(fields[pos])) ++pos;
      if (pos == fields.size()) break;
      const std::size_t start = pos;
      while (pos < fields.size() && !IsBlank(fields[pos])) ++pos;
      const std::string_view token = fields.substr(start, pos - start);
      if (field == 0) {
        loopback = IsLoopbackAddressText(token);
        if (!loopback) break;
        continue;
      }
      if (const auto renamed = RenamedToken(token, oldNames, newName)) {
        out.append(line.substr(copied, start - copied));
        out += *renamed;
        copied = pos;
      }
    }
    out.append(line.substr(copied));
    result += out;
    if (lineEnd < text.size()) result += '\n';
    lineStart = lineEnd + 1;
  }
  if (result == text) return std::nullopt;
  return result;
}

}  // namespace tolvaren::platform::linux_backend
