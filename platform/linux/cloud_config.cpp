#include "platform/linux/cloud_config.h"

#include <optional>

#include "platform/ascii_case.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr std::string_view kKey = "preserve_hostname";

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The flag one line sets, when it is a top-level "preserve_hostname:" line.
std::optional<bool> FlagOfLine(std::string_view line) {
  if (line.substr(0, kKey.size()) != kKey) return std::nullopt;
  std::string_view rest = line.substr(kKey.size());
  rest = rest.substr(std::min(rest.find_first_not_of(" \t"), rest.size()));
  if (rest.empty() || rest[0] != ':') return std::nullopt;
  std::string_view value = rest.substr(1);
  const std::size_t comment = value.find(" #");
  if (comment != std::string_view::npos) value = value.substr(0, comment);
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  for (const std::string_view yes : {"true", "yes", "on", "1"}) {
    if (EqualIgnoringAsciiCase(value, yes)) return true;
  }
  return false;
}

}  // namespace

bool CloudInitPreservesHostname(const std::vector<std::string>& configTexts) {
  bool preserve = false;
  for (const std::string& text : configTexts) {
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      if (const auto flag = FlagOfLine(std::string_view(text).substr(start, end - start))) preserve = *flag;
      start = end + 1;
    }
  }
  return preserve;
}

}  // namespace tolvaren::platform::linux_backend
