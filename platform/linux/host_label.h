#pragma once

#include <string>
#include <string_view>

namespace tolvaren::platform::linux_backend {

// A single host-name label: 1 to 63 letters, digits and hyphens, neither
// starting nor ending with a hyphen. Linux accepts nothing else as the static
// host name.
bool IsValidHostLabel(std::string_view name);

// The host name the kernel holds now (gethostname); empty when it cannot be read.
std::string RunningHostName();

}  // namespace tolvaren::platform::linux_backend
