#pragma once

#include <string>
#include <string_view>

#include "templates/machine_macros.h"
#include "templates/network_macros.h"

namespace tolvaren {

struct Host;

// True when the text holds "?" directly followed by any of the letters.
bool HasMacro(std::string_view text, std::string_view letters);

// Expands every macro of a name template, in a fixed order: the SMBIOS group,
// the network group (each only when the text holds one of its macros), the
// random characters, "?t", the current NetBIOS name and the date. Values
// that hold macros are expanded again by later steps; raises
// EExpansionTooLong (templates/replace_all.h) when the working text would
// pass kMaxExpandedText bytes. What the groups read goes into `used` as they
// read it, so a caller that reports on the name learns it even when a later
// step raises.
std::string MacroExpander(Host& host, std::string_view nameTemplate, ReverseLookupRule rule, MacroValues& used);

// The name alone, with the template language's own lookup rule.
std::string MacroExpander(Host& host, std::string_view nameTemplate);

}  // namespace tolvaren
