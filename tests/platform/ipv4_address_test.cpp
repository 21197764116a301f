#include "platform/ipv4_address.h"

#include <gtest/gtest.h>

#include "platform/ascii_case.h"

namespace tolvaren {
namespace {

using platform::Ipv4Bytes;

TEST(Ipv4Address, ParsesOnlyExactDottedQuadsAndFormatsThemBack) {
  const std::pair<const char*, std::optional<Ipv4Bytes>> cases[] = {
      {"0.0.0.0", Ipv4Bytes{0, 0, 0, 0}},
      {"192.168.1.10", Ipv4Bytes{192, 168, 1, 10}},
      {"255.255.255.255", Ipv4Bytes{255, 255, 255, 255}},
      {"256.1.1.1", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1.2.3.4.5", std::nullopt},
      {"01.2.3.4", std::nullopt},
      {"1.2.3.4 ", std::nullopt},
      {" 1.2.3.4", std::nullopt},
      {"+1.2.3.4", std::nullopt},
      {"1..3.4", std::nullopt},
      {"1.2.3.", std::nullopt},
      {"1000.2.3.4", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(platform::ParseIpv4(text), expected) << text;
    if (expected) {
      EXPECT_EQ(platform::FormatIpv4(*expected), text);
    }
  }
}

TEST(AsciiCase, FoldsOnlyTheLettersAToZ) {
  struct Case {
    const char* a;
    const char* b;
    bool equal, less, startsWith;
  };
  const Case cases[] = {
      {"PCI", "pci", true, false, true},
      {"Pci\\VEN", "pci", false, false, true},
      {"pci", "Pci\\VEN", false, true, false},
      {"A_", "a[", false, false, false},     // '_' sorts after '[' once lower-cased
      {"\xC4", "\xE4", false, true, false},  // bytes above ASCII are never folded
      {"", "", true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(EqualIgnoringAsciiCase(c.a, c.b), c.equal);
    EXPECT_EQ(LessIgnoringAsciiCase(c.a, c.b), c.less);
    EXPECT_EQ(StartsWithIgnoringAsciiCase(c.a, c.b), c.startsWith);
  }
}

}  // namespace
}  // namespace tolvaren
