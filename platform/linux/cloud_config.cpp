#include "platform/linux/cloud_config.h"

#include <cstdint>

#include "platform/ascii_case.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr std::string_view kPreserve = "preserve_hostname";
constexpr std::string_view kManageHosts = "manage_etc_hosts";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNotYaml = "a line is not YAML that this check can read";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsKeyByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
         c == '.' || c == '/';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Nothing, or a comment: what may follow a complete value on its line.
bool IsLineRest(std::string_view rest) {
  rest = TrimBlanks(rest);
  return rest.empty() || rest.front() == '#';
}

// Bytes YAML does not take as text: control bytes other than tab and line
// ends, and broken UTF-8.
bool HoldsOnlyYamlText(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) return false;
      continue;
    }
    std::size_t length = 0;
    if (c >= 0xC2 && c <= 0xDF) length = 2;
    if (c >= 0xE0 && c <= 0xEF) length = 3;
    if (c >= 0xF0 && c <= 0xF4) length = 4;
    if (length == 0 || at + length > text.size()) return false;
    for (std::size_t i = 1; i < length; ++i) {
      if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
    }
    at += length - 1;
  }
  return true;
}

// The end of a flow collection that starts the text, with quotes inside it
// skipped; npos when it does not close on this line.
std::size_t FlowEnd(std::string_view text) {
  int depth = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '"' || c == '\'') {
      for (++at; at < text.size() && text[at] != c; ++at) {
        if (c == '"' && text[at] == '\\') ++at;
      }
      if (at >= text.size()) return std::string_view::npos;
    } else if (c == '{' || c == '[') {
      ++depth;
    } else if ((c == '}' || c == ']') && --depth == 0) {
      return at + 1;
    }
  }
  return std::string_view::npos;
}

// What the value after a top-level key's colon is, as far as this check
// tells values apart.
struct Value {
  enum Kind : std::uint8_t { kEmpty, kScalar, kBlockScalar, kOther } kind = kEmpty;
  std::string scalar;      // for kScalar: the text, quotes taken off
  bool plain = false;      // a plain scalar, which lines below could continue
  bool decorated = false;  // an anchor, alias or tag came with it
};

// Reads a value; a doubt when the check cannot tell what it is.
std::optional<std::string> ReadValue(std::string_view rest, Value& value) {
  rest = TrimBlanks(rest);
  while (!rest.empty() && (rest.front() == '&' || rest.front() == '!' || rest.front() == '*')) {
    value.decorated = true;
    const bool alias = rest.front() == '*';
    std::size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    rest = TrimBlanks(rest.substr(end));
    if (alias) {
      value.kind = Value::kOther;
      return IsLineRest(rest) ? std::nullopt : std::optional<std::string>(kNotYaml);
    }
  }
  if (rest.empty() || rest.front() == '#') return std::nullopt;
  const char c = rest.front();
  if (c == '"' || c == '\'') {
    std::string text;
    std::size_t at = 1;
    for (;; ++at) {
      if (at >= rest.size()) return "a quoted value goes on over more lines";
      if (rest[at] == c) {
        if (c == '\'' && at + 1 < rest.size() && rest[at + 1] == '\'') {
          text += c;
          ++at;
          continue;
        }
        break;
      }
      if (c == '"' && rest[at] == '\\') return "a quoted value holds escapes";
      text += rest[at];
    }
    if (!IsLineRest(rest.substr(at + 1))) return std::string(kNotYaml);
    value.kind = Value::kScalar;
    value.scalar = std::move(text);
    return std::nullopt;
  }
  if (c == '{' || c == '[') {
    const std::size_t end = FlowEnd(rest);
    if (end == std::string_view::npos) return "a flow collection goes on over more lines";
    if (!IsLineRest(rest.substr(end))) return std::string(kNotYaml);
    value.kind = Value::kOther;
    return std::nullopt;
  }
  if (c == '|' || c == '>') {
    value.kind = Value::kBlockScalar;
    return std::nullopt;
  }
  if (c == '%' || c == '@' || c == '`' || c == ',' || c == '}' || c == ']' ||
      ((c == '-' || c == '?' || c == ':') && (rest.size() == 1 || IsBlank(rest[1])))) {
    return std::string(kNotYaml);
  }
  // A plain scalar ends at a comment; a ": " inside it is an error to YAML.
  std::size_t end = 0;
  while (end < rest.size() && !(rest[end] == '#' && IsBlank(rest[end - 1]))) ++end;
  const std::string_view text = TrimBlanks(rest.substr(0, end));
  if (text.back() == ':' || text.find(": ") != std::string_view::npos || text.find(":\t") != std::string_view::npos) {
    return std::string(kNotYaml);
  }
  value.kind = Value::kScalar;
  value.scalar = std::string(text);
  value.plain = true;
  return std::nullopt;
}

bool IsTrue(std::string_view text) {
  for (const std::string_view yes : {"true", "yes", "on", "1"}) {
    if (EqualIgnoringAsciiCase(text, yes)) return true;
  }
  return false;
}

// What one of the two keys is set to; a doubt when its value is no scalar the
// check can read as cloud-init does.
std::optional<std::string> Apply(std::string_view key, const Value& value, CloudInitSettings& settings) {
  const std::string doubt = "the value of \"" + std::string(key) + "\" ";
  if (value.decorated) return doubt + "carries an anchor, alias or tag";
  if (value.kind == Value::kBlockScalar || value.kind == Value::kOther) return doubt + "is no single value";
  // A number is read as the number it spells: only 0 and 1 are plain here.
  const std::string& text = value.scalar;
  if (value.plain && !text.empty() && text != "0" && text != "1" &&
      (text[0] == '+' || text[0] == '-' || text[0] == '.' || (text[0] >= '0' && text[0] <= '9'))) {
    return doubt + "is a number this check does not read";
  }
  if (key == kPreserve) {
    settings.preservesHostname = IsTrue(text);
  } else {
    settings.rewritesEtcHosts = IsTrue(text) || EqualIgnoringAsciiCase(text, "template") || text == "localhost";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadCloudConfig(std::string_view text, CloudInitSettings& settings) {
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) return "it starts with a byte-order mark";
  if (!HoldsOnlyYamlText(text)) return "it holds bytes that are not YAML text";
  CloudInitSettings next = settings;
  bool seenContent = false;
  bool ended = false;       // after "..." no more content may come
  bool openBlock = false;   // the last top-level value goes on below: a block
  bool pendingKey = false;  // one of the keys, whose value lines below would change
  std::string_view pendingName;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t indent = 0;
    while (indent < line.size() && IsBlank(line[indent])) ++indent;
    if (indent == line.size() || line[indent] == '#') continue;
    if (line.substr(0, indent).find('\t') != std::string_view::npos) return "a line is indented with a tab";
    if (ended) return "it holds more than one document";
    const bool listItem = line[0] == '-' && (line.size() == 1 || IsBlank(line[1]));
    if (indent > 0 || listItem) {
      if (pendingKey) return "the value of \"" + std::string(pendingName) + "\" goes on over more lines";
      if (!openBlock) return std::string(kNotYaml);
      continue;
    }
    pendingKey = false;
    if (line.substr(0, 3) == "---" && (line.size() == 3 || IsBlank(line[3]))) {
      if (seenContent || !IsLineRest(line.substr(3))) return "it holds more than one document";
      seenContent = true;
      openBlock = false;
      continue;
    }
    if (line.substr(0, 3) == "..." && IsLineRest(line.substr(3))) {
      ended = true;
      continue;
    }
    seenContent = true;
    std::size_t keyEnd = 0;
    while (keyEnd < line.size() && IsKeyByte(line[keyEnd])) ++keyEnd;
    std::size_t colon = keyEnd;
    while (colon < line.size() && IsBlank(line[colon])) ++colon;
    if (keyEnd == 0 || line[0] == '-' || colon == line.size() || line[colon] != ':' ||
        (colon + 1 < line.size() && !IsBlank(line[colon + 1]))) {
      return "a top-level line is no plain \"key: value\" setting";
    }
    const std::string_view key = line.substr(0, keyEnd);
    Value value;
    if (auto doubt = ReadValue(line.substr(colon + 1), value)) return doubt;
    openBlock = value.kind == Value::kEmpty || value.kind == Value::kBlockScalar;
    if (key == kPreserve || key == kManageHosts) {
      if (auto doubt = Apply(key, value, next)) return doubt;
      pendingKey = value.kind == Value::kEmpty || value.plain;
      pendingName = key;
    } else if (value.kind == Value::kScalar && value.plain) {
      openBlock = false;
    }
  }
  settings = next;
  return std::nullopt;
}

}  // namespace tolvaren::platform::linux_backend
