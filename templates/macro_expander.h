#pragma once

#include <string>
#include <string_view>

namespace tolvaren {

struct Host;

// Letters of the two macro groups that need information objects.
inline constexpr std::string_view kSmbiosMacroLetters = "cbsuaG";
inline constexpr std::string_view kNetworkMacroLetters = "dmijklIJKLU";

// True when the text holds "?" directly followed by any of the letters.
bool HasMacro(std::string_view text, std::string_view letters);

// Expands every macro of a name template, in a fixed order: the SMBIOS group,
// the network group (each only when the text holds one of its macros), the
// random characters, "?t", the current NetBIOS name and the date. Values
// that hold macros are expanded again by later steps; raises
// EExpansionTooLong (templates/replace_all.h) when the working text would
// pass kMaxExpandedText bytes.
std::string MacroExpander(Host& host, std::string_view nameTemplate);

}  // namespace tolvaren
