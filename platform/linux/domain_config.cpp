#include "platform/linux/domain_config.h"

#include <algorithm>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/blank_trim.h"

namespace tolvaren::platform::linux_backend {
namespace {

// One meaningful line of an INI-style file.
struct IniLine {
  bool section = false;  // "[name]"; else "key = value"
  std::string name;      // the section's name, or the key
  std::string value;
};

// Each section header and assignment of a text, in order; blank lines,
// comments and lines of neither form are left out.
std::vector<IniLine> IniLines(std::string_view text) {
  std::vector<IniLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = TrimBlanks(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line[0] == '[') {
      const std::size_t close = line.find(']');
      if (close != std::string::npos)
        lines.push_back({true, TrimBlanks(std::string_view(line).substr(1, close - 1)), {}});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    lines.push_back({false, TrimBlanks(std::string_view(line).substr(0, equals)),
                     TrimBlanks(std::string_view(line).substr(equals + 1))});
  }
  return lines;
}

bool IsDirectoryProvider(std::string_view value) {
  return EqualIgnoringAsciiCase(value, "ad") || EqualIgnoringAsciiCase(value, "ipa");
}

bool IsProviderOption(std::string_view key) {
  return EqualIgnoringAsciiCase(key, "id_provider") || EqualIgnoringAsciiCase(key, "auth_provider") ||
         EqualIgnoringAsciiCase(key, "access_provider");
}

// A Samba parameter name as Samba compares it: without blanks, lower case.
std::string SambaKey(std::string_view key) {
  std::string folded;
  for (const char c : key) {
    if (c != ' ' && c != '\t') folded += AsciiLower(c);
  }
  return folded;
}

}  // namespace

std::optional<SssdDomain> SssdDirectoryDomain(const std::vector<std::string>& configTexts) {
  constexpr std::string_view kDomainPrefix = "domain/";
  // Per section, in the order the sections first appear: for each provider
  // option, its last value and the text that set it.
  struct Provider {
    std::string key;
    std::string value;
    std::size_t source;
  };
  std::vector<std::pair<std::string, std::vector<Provider>>> sections;
  for (std::size_t text = 0; text < configTexts.size(); ++text) {
    std::vector<Provider>* current = nullptr;
    for (IniLine& line : IniLines(configTexts[text])) {
      if (line.section) {
        auto found = std::find_if(sections.begin(), sections.end(), [&](const auto& section) {
          return EqualIgnoringAsciiCase(section.first, line.name);
        });
        if (found == sections.end()) found = sections.insert(sections.end(), {std::move(line.name), {}});
        current = &found->second;
      } else if (current != nullptr && IsProviderOption(line.name)) {
        auto option = std::find_if(current->begin(), current->end(),
                                   [&](const Provider& p) { return EqualIgnoringAsciiCase(p.key, line.name); });
        if (option == current->end()) option = current->insert(current->end(), {line.name, {}, 0});
        option->value = std::move(line.value);
        option->source = text;
      }
    }
  }
  for (const auto& [name, providers] : sections) {
    if (!StartsWithIgnoringAsciiCase(name, kDomainPrefix) || name.size() == kDomainPrefix.size()) continue;
    for (const Provider& provider : providers) {
      if (IsDirectoryProvider(provider.value)) return SssdDomain{name.substr(kDomainPrefix.size()), provider.source};
    }
  }
  return std::nullopt;
}

std::optional<std::string> SambaAdsRealm(std::string_view text) {
  bool global = true;  // lines before any section count as global ones
  bool ads = false;
  std::string realm;
  for (const IniLine& line : IniLines(text)) {
    if (line.section) {
      global = EqualIgnoringAsciiCase(line.name, "global");
    } else if (global && SambaKey(line.name) == "security") {
      ads = EqualIgnoringAsciiCase(line.value, "ads");
    } else if (global && SambaKey(line.name) == "realm") {
      realm = line.value;
    }
  }
  if (!ads) return std::nullopt;
  return realm;
}

}  // namespace tolvaren::platform::linux_backend
