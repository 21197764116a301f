#include "templates/random_chars.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

TEST(RandomChars, SeedIsMillisecondsOfTheUtcDay) {
  EXPECT_EQ(RandomSeedFor({2007, 3, 5, 9, 20, 30, 400}), 33630400u);
  EXPECT_EQ(RandomSeedFor({2007, 3, 5, 23, 59, 59, 999}), 86399999u);
  EXPECT_EQ(RandomSeedFor({2007, 3, 5, 0, 0, 0, 0}), 0u);
}

TEST(RandomChars, ExactSequenceForAFixedClock) {
  platform::fake::FakeClock clock;
  clock.utc = {2007, 3, 5, 9, 20, 30, 400};
  EXPECT_EQ(RandomChars(clock, 10), "M6VVCZ7968");
  clock.utc = {2007, 3, 5, 0, 0, 0, 0};
  EXPECT_EQ(RandomChars(clock, 10), "0F614482JI");
  clock.utc = {2007, 3, 5, 23, 59, 59, 999};
  EXPECT_EQ(RandomChars(clock, 5), "Z20YV");
}

TEST(RandomChars, ShorterCountsArePrefixesWithinOneMillisecond) {
  platform::fake::FakeClock clock;
  const std::string ten = RandomChars(clock, 10);
  for (int n = 0; n <= 10; ++n) EXPECT_EQ(RandomChars(clock, n), ten.substr(0, n));
}

TEST(RandomChars, DrawIsTheUpperHalfOfTheProduct) {
  RandomGenerator generator(0xFFFFFFFFu);
  // state becomes 0xFFFFFFFF * 0x08088405 + 1 = 0xF7F77BFC (mod 2^32)
  EXPECT_EQ(generator.Draw(26), static_cast<std::uint32_t>((0xF7F77BFCull * 26) >> 32));
}

}  // namespace
}  // namespace tolvaren
