#include "templates/macro_expander.h"

#include <cstdio>

#include "core/host.h"
#include "hwinfo/bios_image_reader.h"
#include "templates/random_chars.h"
#include "templates/replace_all.h"
#include "templates/smbios_macros.h"

namespace tolvaren {
namespace {

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

bool HasMacro(std::string_view text, std::string_view letters) {
  for (const char letter : letters) {
    const char macro[2] = {'?', letter};
    if (text.find(std::string_view(macro, 2)) != std::string_view::npos) return true;
  }
  return false;
}

std::string MacroExpander(Host& host, std::string_view nameTemplate, ReverseLookupRule rule, MacroValues& used) {
  // A template already over the bound fails before any machine is read.
  CheckExpandedSize(nameTemplate.size());
  std::string w(nameTemplate);

  if (HasMacro(w, kSmbiosMacroLetters)) w = ExpandSmbiosMacros(host, w, used);
  // Looks at what the SMBIOS group left: a "?U" made from "?G" counts.
  if (HasMacro(w, kNetworkMacroLetters)) w = ExpandNetworkMacros(host, w, rule, used);

  // Every count is drawn whether or not its macro occurs.
  for (int n = 1; n <= 10; ++n) {
    const char macro[2] = {'?', static_cast<char>(n == 10 ? '0' : '0' + n)};
    w = ReplaceAll(w, std::string_view(macro, 2), RandomChars(host.platform.clock, n));
  }

  w = ReplaceAll(w, "?t", "test");
  // The name goes in as firmware strings do, control bytes shown as ".".
  w = ReplaceAll(w, "?e", DotControlBytes(host.platform.system.NetBiosName()));

  // The local time is read only for a date macro: it loads the time zone.
  if (!HasMacro(w, "DMY")) return w;
  const platform::DateTime today = host.platform.clock.LocalNow();
  w = ReplaceAll(w, "?D", TwoDigits(today.day));
  w = ReplaceAll(w, "?M", TwoDigits(today.month));
  w = ReplaceAll(w, "?Y", TwoDigits(today.year % 100));
  return w;
}

std::string MacroExpander(Host& host, std::string_view nameTemplate) {
  MacroValues used;
  return MacroExpander(host, nameTemplate, ReverseLookupRule::kForAnyNetworkMacro, used);
}

}  // namespace tolvaren
