#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace tolvaren {

// The linear congruential generator behind the random macros: the state
// advances as state * 0x08088405 + 1 (mod 2^32), and a draw in [0, range) is
// the upper half of the 64-bit product state * range.
class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t seed) : state_(seed) {}

  std::uint32_t Draw(std::uint32_t range) {
    state_ = state_ * 0x08088405u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * range) >> 32);
  }

 private:
  std::uint32_t state_;
};

// The seed: milliseconds since midnight of the given UTC time of day.
std::uint32_t RandomSeedFor(const platform::DateTime& utc);

// n characters from A-Z and 0-9, drawn from a generator seeded afresh from the
// UTC clock, so calls within the same millisecond give the same sequence.
std::string RandomChars(platform::Clock& clock, int n);

}  // namespace tolvaren
