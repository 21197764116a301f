#include "platform/byte_view.h"

#include <gtest/gtest.h>

#include <array>

namespace tolvaren {
namespace {

// Every read answers nothing unless all of its bytes lie inside: a value
// that straddles the end is never half read.
TEST(ByteView, ReadsOnlyWhatLiesWhollyInside) {
  const std::array<std::uint8_t, 5> bytes{0x01, 0x02, 0x03, 0x04, 0x05};
  const ByteView view{std::span<const std::uint8_t>(bytes)};
  struct Case {
    std::size_t offset;
    std::optional<std::uint64_t> u8, u16le, u16be, u32le, u32be;
  };
  const Case cases[] = {
      {0, 0x01, 0x0201, 0x0102, 0x04030201, 0x01020304},
      {1, 0x02, 0x0302, 0x0203, 0x05040302, 0x02030405},
      {2, 0x03, 0x0403, 0x0304, std::nullopt, std::nullopt},
      {4, 0x05, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {5, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {SIZE_MAX, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    EXPECT_EQ(view.U8(c.offset), c.u8);
    EXPECT_EQ(view.U16Le(c.offset), c.u16le);
    EXPECT_EQ(view.U16Be(c.offset), c.u16be);
    EXPECT_EQ(view.U32Le(c.offset), c.u32le);
    EXPECT_EQ(view.U32Be(c.offset), c.u32be);
  }
  EXPECT_EQ(view.U64Le(0), std::nullopt);
  EXPECT_EQ(view.Native<std::uint64_t>(0), std::nullopt);
}

TEST(ByteView, TextsStopAtTheEnd) {
  const std::string packet("ab\0cd", 5);
  const ByteView view(packet);
  EXPECT_EQ(view.Text(3, 2), "cd");
  EXPECT_EQ(view.Text(3, 3), std::nullopt);
  EXPECT_EQ(view.ZeroTerminatedText(0, 16), "ab");
  EXPECT_EQ(view.ZeroTerminatedText(3, 16), "cd");
  EXPECT_EQ(view.ZeroTerminatedText(9, 16), "");
  EXPECT_TRUE(view.Matches(3, "cd"));
  EXPECT_FALSE(view.Matches(4, "de"));
  EXPECT_EQ(view.Sub(3).Size(), 2u);
  EXPECT_EQ(view.Sub(1, 1).U8(0), 'b');
  EXPECT_EQ(view.Sub(7).Size(), 0u);
}

}  // namespace
}  // namespace tolvaren
