#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvaren::platform::linux_backend {

// Whether cloud-init keeps the host name the system has: the last top-level
// "preserve_hostname:" setting of the configuration texts, in the order
// cloud-init merges them (cloud.cfg first, then cloud.cfg.d/*.cfg by name),
// read as cloud-init reads a flag ("true", "yes", "on", "1", any case, quoted
// or not). Without any such setting cloud-init sets the name again at boot.
bool CloudInitPreservesHostname(const std::vector<std::string>& configTexts);

}  // namespace tolvaren::platform::linux_backend
