#include "platform/host_name_rules.h"

#include <algorithm>
#include <cstdio>

namespace tolvaren::platform {
namespace {

constexpr std::size_t kMaxLabelBytes = 63;

bool IsLetterDigitOrHyphen(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The first byte that is no letter, digit or hyphen, shown so that a reader
// sees which one: printable ASCII as itself, anything else as its code.
std::string ForeignByteProblem(std::string_view name) {
  const auto it = std::find_if_not(name.begin(), name.end(), IsLetterDigitOrHyphen);
  if (it == name.end()) return {};
  const auto byte = static_cast<unsigned char>(*it);
  char shown[32];
  if (byte > 0x20 && byte < 0x7F) {
    std::snprintf(shown, sizeof shown, "\"%c\"", static_cast<char>(byte));
  } else {
    std::snprintf(shown, sizeof shown, "byte 0x%02X", byte);
  }
  return std::string("holds ") + shown + ", but only letters, digits and hyphens are allowed";
}

void CommonProblems(std::string_view name, std::vector<NameProblem>& problems) {
  if (name.empty()) {
    problems.push_back({"empty", "is empty"});
    return;
  }
  if (name.size() > kMaxLabelBytes) {
    problems.push_back({"too_long", "is " + std::to_string(name.size()) + " bytes long, more than 63"});
  }
  const std::string foreign = ForeignByteProblem(name);
  if (!foreign.empty()) problems.push_back({"bad_byte", foreign});
}

}  // namespace

std::vector<std::string> ProblemLines(const std::vector<NameProblem>& problems) {
  std::vector<std::string> lines;
  for (const NameProblem& problem : problems) lines.push_back("The name " + problem.message + ".");
  return lines;
}

std::vector<NameProblem> LinuxHostNameProblems(std::string_view name) {
  std::vector<NameProblem> problems;
  CommonProblems(name, problems);
  if (!name.empty() && name.front() == '-') problems.push_back({"leading_hyphen", "begins with a hyphen"});
  if (!name.empty() && name.back() == '-') problems.push_back({"trailing_hyphen", "ends with a hyphen"});
  return problems;
}

std::vector<NameProblem> WindowsHostNameProblems(std::string_view name) {
  std::vector<NameProblem> problems;
  CommonProblems(name, problems);
  if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    problems.push_back({"digits_only", "is made of digits only"});
  }
  return problems;
}

}  // namespace tolvaren::platform
