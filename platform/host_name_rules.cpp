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

void CommonProblems(std::string_view name, std::vector<std::string>& problems) {
  if (name.empty()) {
    problems.push_back("is empty");
    return;
  }
  if (name.size() > kMaxLabelBytes) {
    problems.push_back("is " + std::to_string(name.size()) + " bytes long, more than 63");
  }
  const std::string foreign = ForeignByteProblem(name);
  if (!foreign.empty()) problems.push_back(foreign);
}

}  // namespace

std::vector<std::string> LinuxHostNameProblems(std::string_view name) {
  std::vector<std::string> problems;
  CommonProblems(name, problems);
  if (!name.empty() && name.front() == '-') problems.push_back("begins with a hyphen");
  if (!name.empty() && name.back() == '-') problems.push_back("ends with a hyphen");
  return problems;
}

std::vector<std::string> WindowsHostNameProblems(std::string_view name) {
  std::vector<std::string> problems;
  CommonProblems(name, problems);
  if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    problems.push_back("is made of digits only");
  }
  return problems;
}

}  // namespace tolvaren::platform
