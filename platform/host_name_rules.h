#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvaren::platform {

// One broken rule: a stable code for scripts ("too_long", "bad_byte", ...)
// and a sentence for people that names what is wrong.
struct NameProblem {
  std::string code;
  std::string message;
  bool operator==(const NameProblem&) const = default;
};

// The problems as lines for people, one sentence each: "The name is empty."
std::vector<std::string> ProblemLines(const std::vector<NameProblem>& problems);

// Why a system would refuse a name as its host name: one entry per broken
// rule, none when the name is acceptable. Pure text functions, so that both
// rule sets can be checked on any system, and each system's writer refuses
// exactly what its report lists.

// Linux's static host name as the tool writes it: a single label of 1 to 63
// letters, digits and hyphens, neither first nor last a hyphen.
std::vector<NameProblem> LinuxHostNameProblems(std::string_view name);

// Windows' DNS host name: 1 to 63 bytes of letters, digits and hyphens, not
// made of digits only.
std::vector<NameProblem> WindowsHostNameProblems(std::string_view name);

}  // namespace tolvaren::platform
