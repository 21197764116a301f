#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "templates/machine_macros.h"

namespace tolvaren {

// A value a name took that does not tell this machine from others.
struct ValueWarning {
  std::string kind;     // "placeholder", "empty" or "netbios_truncated"
  std::string macro;    // "?s"; empty for a note on the whole name
  std::string field;    // where the value stands in the JSON report: "system.serial", "network.ip", ...
  std::string text;     // the value
  std::string message;  // one sentence for people
};

// The warnings for the values a template's macros took, once per macro in the
// order of their first appearance: an empty value, or a serial number or UUID
// that is a maker's placeholder (IsPlaceholderValue). The macros are those of
// the cleaned template itself; the values are what the expansion read.
std::vector<ValueWarning> TemplateValueWarnings(std::string_view cleanedTemplate, const MacroValues& values);

}  // namespace tolvaren
