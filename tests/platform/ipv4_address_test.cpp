#include "platform/ipv4_address.h"

#include <gtest/gtest.h>

#include "platform/ascii_case.h"

namespace tolvaren {
namespace {

using platform::Ipv4Bytes;

// Rows: the text, its address as an exact dotted quad, its address as
// inet_aton reads it (tests/platform/linux checks these against glibc's).
TEST(Ipv4Address, ExactAndInetAtonSyntaxes) {
  using A = std::optional<Ipv4Bytes>;
  struct Case {
    const char* text;
    A exact;
    A inetAton;
  };
  const Case cases[] = {
      {"0.0.0.0", Ipv4Bytes{0, 0, 0, 0}, Ipv4Bytes{0, 0, 0, 0}},
      {"192.168.1.10", Ipv4Bytes{192, 168, 1, 10}, Ipv4Bytes{192, 168, 1, 10}},
      {"255.255.255.255", Ipv4Bytes{255, 255, 255, 255}, Ipv4Bytes{255, 255, 255, 255}},
      {"256.1.1.1", {}, {}},
      {"1.2.3.256", {}, {}},
      {"1.2.3.4.5", {}, {}},
      {"1.2.3.4 ", {}, {}},
      {" 1.2.3.4", {}, {}},
      {"+1.2.3.4", {}, {}},
      {"1..3.4", {}, {}},
      {"1.2.3.", {}, {}},
      {"1000.2.3.4", {}, {}},
      {"", {}, {}},
      {"127.1", {}, Ipv4Bytes{127, 0, 0, 1}},
      {"1.2.3", {}, Ipv4Bytes{1, 2, 0, 3}},
      {"1.70000", {}, Ipv4Bytes{1, 1, 17, 112}},
      {"1.2.65536", {}, {}},
      {"4294967295", {}, Ipv4Bytes{255, 255, 255, 255}},
      {"4294967296", {}, {}},
      {"01.2.3.4", {}, Ipv4Bytes{1, 2, 3, 4}},
      {"127.000.000.001", {}, Ipv4Bytes{127, 0, 0, 1}},
      {"0177.0.0.1", {}, Ipv4Bytes{127, 0, 0, 1}},
      {"0x7f.0X0.0.0x01", {}, Ipv4Bytes{127, 0, 0, 1}},
      {"0x7F000001", {}, Ipv4Bytes{127, 0, 0, 1}},
      {"08.1.1.1", {}, {}},
      {"0x.1.1.1", {}, {}},
      {"0xg", {}, {}},
      {"00000000000000000000000000000377.1", {}, Ipv4Bytes{255, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ParseIpv4(c.text), c.exact) << c.text;
    EXPECT_EQ(platform::ParseIpv4(c.text, platform::Ipv4Syntax::kInetAton), c.inetAton) << c.text;
    if (c.exact) {
      EXPECT_EQ(platform::FormatIpv4(*c.exact), c.text);
    }
  }
}

// The readings of texts the program made itself: the dotted pieces of the
// socket layer and the comma-list pieces of the octet macros.
TEST(Ipv4Address, LenientPieces) {
  EXPECT_EQ(platform::Ipv4DotPieces("1.2.3.4.5"), (std::array<std::string_view, 4>{"1", "2", "3", "4.5"}));
  EXPECT_EQ(platform::Ipv4DotPieces("1.2"), (std::array<std::string_view, 4>{"1", "2", "", ""}));
  EXPECT_EQ(platform::Ipv4ListPieces("10.0.0.007").Items(), (std::vector<std::string>{"10", "0", "0", "007"}));
  EXPECT_EQ(platform::Ipv4ListPieces("1 2.3").Items(), (std::vector<std::string>{"1", "2", "3"}));
  // The dots became commas first.
  EXPECT_EQ(platform::Ipv4ListPieces("\"1.2\".3").Items(), (std::vector<std::string>{"1,2", "3"}));
  const std::pair<const char*, std::optional<std::int32_t>> numbers[] = {
      {"7", 7},
      {"+7", 7},
      {"-7", -7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"", {}},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", {}},
      {"+-7", {}},
      {"-", {}},
      {"7x", {}},
      {" 7", {}},
  };
  for (const auto& [text, value] : numbers) EXPECT_EQ(platform::Int32OfPiece(text), value) << text;
  EXPECT_EQ(platform::OctetOfPiece("0255"), 255);
  EXPECT_EQ(platform::OctetOfPiece("256"), std::nullopt);
  EXPECT_EQ(platform::OctetOfPiece("+1"), std::nullopt);
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
