#include "platform/host_name_rules.h"

#include <gtest/gtest.h>

namespace tolvaren::platform {
namespace {

TEST(HostNameRules, EachPlatformGivesItsReasons) {
  struct Case {
    std::string name;
    std::vector<NameProblem> linux;
    std::vector<NameProblem> windows;
  };
  const NameProblem tooLong{"too_long", "is 64 bytes long, more than 63"};
  const auto badByte = [](const char* shown) {
    return NameProblem{"bad_byte",
                       std::string("holds ") + shown + ", but only letters, digits and hyphens are allowed"};
  };
  const Case cases[] = {
      {"web-01", {}, {}},
      {std::string(63, 'a'), {}, {}},
      {"", {{"empty", "is empty"}}, {{"empty", "is empty"}}},
      {std::string(64, 'a'), {tooLong}, {tooLong}},
      {"12345", {}, {{"digits_only", "is made of digits only"}}},
      {"-web", {{"leading_hyphen", "begins with a hyphen"}}, {}},
      {"web-", {{"trailing_hyphen", "ends with a hyphen"}}, {}},
      {"web.example.org", {badByte("\".\"")}, {badByte("\".\"")}},
      {"pc To be filled", {badByte("byte 0x20")}, {badByte("byte 0x20")}},
      {"caf\xE9", {badByte("byte 0xE9")}, {badByte("byte 0xE9")}},
      {std::string(63, '_') + "-",
       {tooLong, badByte("\"_\""), {"trailing_hyphen", "ends with a hyphen"}},
       {tooLong, badByte("\"_\"")}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LinuxHostNameProblems(c.name), c.linux) << c.name;
    EXPECT_EQ(WindowsHostNameProblems(c.name), c.windows) << c.name;
  }
  EXPECT_EQ(ProblemLines(WindowsHostNameProblems("12345")),
            std::vector<std::string>{"The name is made of digits only."});
}

}  // namespace
}  // namespace tolvaren::platform
