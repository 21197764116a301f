#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvaren::platform {

// Why a system would refuse a name as its host name: one sentence per broken
// rule, none when the name is acceptable. Pure text functions, so that both
// rule sets can be checked on any system.

// Linux's static host name as the tool writes it: a single label of 1 to 63
// letters, digits and hyphens, neither first nor last a hyphen.
std::vector<std::string> LinuxHostNameProblems(std::string_view name);

// Windows' DNS host name: 1 to 63 bytes of letters, digits and hyphens, not
// made of digits only.
std::vector<std::string> WindowsHostNameProblems(std::string_view name);

}  // namespace tolvaren::platform
