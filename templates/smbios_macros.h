#pragma once

#include <string>

#include "templates/machine_macros.h"

namespace tolvaren {

struct Host;

// Replaces "?c", "?b", "?s", "?G", "?u" and "?a" with the identification the
// SMBIOS reader finds, and notes it in `used`; nothing else of the machine is
// gathered for them.
std::string ExpandSmbiosMacros(Host& host, const std::string& text, MacroValues& used);

// The replacements themselves, in their fixed order. A "?G" whose UUID is a
// placeholder becomes "?U", left for the network group.
std::string ReplaceSmbiosMacros(const std::string& text, const SmbiosSerials& serials);

}  // namespace tolvaren
