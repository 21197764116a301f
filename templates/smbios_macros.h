#pragma once

#include <string>

#include "hwinfo/host.h"

namespace tolvaren {

// Replaces "?c", "?b", "?s", "?G", "?u" and "?a" with the identification the
// SMBIOS reader finds.
std::string ExpandSmbiosMacros(Host& host, const std::string& text);

}  // namespace tolvaren
