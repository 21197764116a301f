#include "platform/host_name_rules.h"

#include <gtest/gtest.h>

namespace tolvaren::platform {
namespace {

TEST(HostNameRules, EachPlatformGivesItsReasons) {
  struct Case {
    std::string name;
    std::vector<std::string> linux;
    std::vector<std::string> windows;
  };
  const std::string tooLong = "is 64 bytes long, more than 63";
  const Case cases[] = {
      {"web-01", {}, {}},
      {std::string(63, 'a'), {}, {}},
      {"", {"is empty"}, {"is empty"}},
      {std::string(64, 'a'), {tooLong}, {tooLong}},
      {"12345", {}, {"is made of digits only"}},
      {"-web", {"begins with a hyphen"}, {}},
      {"web-", {"ends with a hyphen"}, {}},
      {"web.example.org",
       {"holds \".\", but only letters, digits and hyphens are allowed"},
       {"holds \".\", but only letters, digits and hyphens are allowed"}},
      {"pc To be filled",
       {"holds byte 0x20, but only letters, digits and hyphens are allowed"},
       {"holds byte 0x20, but only letters, digits and hyphens are allowed"}},
      {"caf\xE9",
       {"holds byte 0xE9, but only letters, digits and hyphens are allowed"},
       {"holds byte 0xE9, but only letters, digits and hyphens are allowed"}},
      {std::string(63, '_') + "-",
       {tooLong, "holds \"_\", but only letters, digits and hyphens are allowed", "ends with a hyphen"},
       {tooLong, "holds \"_\", but only letters, digits and hyphens are allowed"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LinuxHostNameProblems(c.name), c.linux) << c.name;
    EXPECT_EQ(WindowsHostNameProblems(c.name), c.windows) << c.name;
  }
}

}  // namespace
}  // namespace tolvaren::platform
