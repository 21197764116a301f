#include "platform/linux/hosts_file.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/hex_digit.h"
#include "platform/ipv4_address.h"

namespace tolvaren::platform::linux_backend {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsIpv4Loopback(std::string_view text) {
  const auto address = ParseIpv4(text, Ipv4Syntax::kInetAton);
  return address && (*address)[0] == 127;
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
      while (pos < part.size() && HexDigitValue(part[pos]) >= 0 && pos - start < 4) {
        value = value * 16 + static_cast<unsigned>(HexDigitValue(part[pos++]));
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

constexpr std::string_view kLoopbackLabels[] = {"localhost", "localhost4", "localhost6", "ip6-localhost",
                                                "ip6-loopback"};

// Whether a host-name token names one of the old names: the same first label.
bool NamesOldName(std::string_view token, const std::vector<std::string>& oldNames) {
  const std::string_view label = FirstLabel(token);
  return !label.empty() && std::any_of(oldNames.begin(), oldNames.end(), [&](const std::string& old) {
    return EqualIgnoringAsciiCase(label, FirstLabel(old));
  });
}

// The host-name tokens of one line: the blank-separated words before any "#".
struct Token {
  std::size_t start;
  std::string_view text;
};
std::vector<Token> TokensOf(std::string_view line) {
  const std::string_view fields = line.substr(0, line.find('#'));
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (true) {
    while (pos < fields.size() && IsBlank(fields[pos])) ++pos;
    if (pos == fields.size()) return tokens;
    const std::size_t start = pos;
    while (pos < fields.size() && !IsBlank(fields[pos])) ++pos;
    tokens.push_back({start, fields.substr(start, pos - start)});
  }
}

// One line with the old names renamed; loopback old names stay and the new
// name joins them, once.
std::string RenamedLine(std::string_view line, const std::vector<std::string>& renamedNames,
                        const std::vector<std::string>& keptNames, std::string_view newName) {
  const std::vector<Token> tokens = TokensOf(line);
  if (tokens.size() < 2 || !IsLoopbackAddressText(tokens.front().text)) return std::string(line);
  std::string out;
  std::size_t copied = 0;  // bytes of the line already in out
  bool holdsNewName = false;
  bool holdsKeptName = false;
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    holdsKeptName = holdsKeptName || NamesOldName(token.text, keptNames);
    if (NamesOldName(token.text, renamedNames)) {
      out.append(line.substr(copied, token.start - copied));
      out += newName;
      out += token.text.substr(FirstLabel(token.text).size());
      copied = token.start + token.text.size();
      holdsNewName = true;
    } else {
      holdsNewName = holdsNewName || EqualIgnoringAsciiCase(token.text, newName);
    }
  }
  const std::size_t lastEnd = tokens.back().start + tokens.back().text.size();
  out.append(line.substr(copied, lastEnd - copied));
  if (holdsKeptName && !holdsNewName && !newName.empty()) {
    out += ' ';
    out += newName;
  }
  out.append(line.substr(lastEnd));
  return out;
}

}  // namespace

bool IsLoopbackAddressText(std::string_view text) { return IsIpv4Loopback(text) || IsIpv6Loopback(text); }

bool IsLoopbackName(std::string_view name) {
  const std::string_view label = FirstLabel(name);
  return std::any_of(std::begin(kLoopbackLabels), std::end(kLoopbackLabels),
                     [&](std::string_view loopback) { return EqualIgnoringAsciiCase(label, loopback); });
}

std::optional<std::string> RenameInHostsFile(std::string_view text, const std::vector<std::string>& oldNames,
                                             std::string_view newName) {
  std::vector<std::string> renamedNames;
  std::vector<std::string> keptNames;
  for (const std::string& old : oldNames) (IsLoopbackName(old) ? keptNames : renamedNames).push_back(old);
  std::string result;
  result.reserve(text.size() + 64);
  std::size_t lineStart = 0;
  while (lineStart < text.size()) {
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    result += RenamedLine(text.substr(lineStart, lineEnd - lineStart), renamedNames, keptNames, newName);
    if (lineEnd < text.size()) result += '\n';
    lineStart = lineEnd + 1;
  }
  if (result == text) return std::nullopt;
  return result;
}

}  // namespace tolvaren::platform::linux_backend
