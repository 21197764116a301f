#include "hwinfo/placeholder_values.h"

#include <algorithm>

#include "platform/ascii_case.h"

namespace tolvaren {
namespace {

// Texts seen in the serial-number and UUID fields of firmware that was never
// given real values; compared without case.
constexpr std::string_view kPlaceholders[] = {
    "To be filled by O.E.M.",
    "Default string",
    "System Serial Number",
    "Chassis Serial Number",
    "Base Board Serial Number",
    "Not Specified",
    "Not Applicable",
    "Not Available",
    "None",
    "N/A",
    "NULL",
    "Unknown",
    "0123456789",
    "123456789",
    "Invalid",
    "OEM",
    "O.E.M.",
};

bool AllOf(std::string_view value, std::string_view bytes) {
  return std::all_of(value.begin(), value.end(), [&](char c) { return bytes.find(c) != std::string_view::npos; });
}

}  // namespace

bool IsPlaceholderValue(std::string_view value) {
  if (value.empty()) return false;
  // Firmware pads fields with blanks ("00000000        ").
  const std::size_t first = value.find_first_not_of(' ');
  if (first == std::string_view::npos) return true;  // blanks only
  value = value.substr(first, value.find_last_not_of(' ') - first + 1);
  // Runs of one filler: zeros, F (a UUID of all FF bytes), dots.
  if (AllOf(value, "0") || AllOf(value, "Ff") || AllOf(value, " .")) return true;
  return std::any_of(std::begin(kPlaceholders), std::end(kPlaceholders),
                     [&](std::string_view p) { return EqualIgnoringAsciiCase(value, p); });
}

}  // namespace tolvaren
