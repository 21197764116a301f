#include "hwinfo/placeholder_values.h"

#include <gtest/gtest.h>

namespace tolvaren {
namespace {

TEST(PlaceholderValues, MakersFillersAreFoundWithoutCaseRealSerialsAreNot) {
  const std::pair<const char*, bool> cases[] = {
      {"To be filled by O.E.M.", true},
      {"To Be Filled By O.E.M.", true},
      {"TO BE FILLED BY O.E.M.", true},
      {"Default string", true},
      {"System Serial Number", true},
      {"Chassis Serial Number", true},
      {"Base Board Serial Number", true},
      {"Not Specified", true},
      {"Not Applicable", true},
      {"None", true},
      {"N/A", true},
      {"0123456789", true},
      {"123456789", true},
      {"Invalid", true},
      {"OEM", true},
      {"00000000        ", true},  // padded with blanks, as firmware does
      {"0", true},
      {"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", true},
      {"ffff", true},
      {"   ", true},
      {". . .", true},
      {"", false},  // empty is its own warning
      {"ACME-SN-000123", false},
      {"To be filled", false},
      {"0123456789A", false},
      {"00000001", false},
      {"FFFE", false},
      {"NoneSuch", false},
      {"78563412BC9AF0DE123456789ABCDEF0", false},
  };
  for (const auto& [value, placeholder] : cases) EXPECT_EQ(IsPlaceholderValue(value), placeholder) << value;
}

}  // namespace
}  // namespace tolvaren
