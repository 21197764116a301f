#pragma once

#include <string_view>

namespace tolvaren::platform::linux_backend {

// A single host-name label: 1 to 63 letters, digits and hyphens, neither
// starting nor ending with a hyphen. Linux accepts nothing else as the static
// host name.
bool IsValidHostLabel(std::string_view name);

}  // namespace tolvaren::platform::linux_backend
