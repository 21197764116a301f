#include "templates/smbios_macros.h"

namespace tolvaren {

// The SMBIOS reader is not wired in yet; its macros stay as they are.
std::string ExpandSmbiosMacros(Host& /*host*/, const std::string& text) { return text; }

}  // namespace tolvaren
