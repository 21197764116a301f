#pragma once

#include <string>

#include "hwinfo/host.h"

namespace tolvaren {

// Replaces the IP octet macros, "?d", "?m" and "?U" with values of the first
// IP and MAC addresses and the reverse-DNS name of that address.
std::string ExpandNetworkMacros(Host& host, const std::string& text);

}  // namespace tolvaren
