#include "templates/random_chars.h"

#include <algorithm>

namespace tolvaren {

std::uint32_t RandomSeedFor(const platform::DateTime& utc) {
  const auto seconds = static_cast<std::uint32_t>((utc.hour * 60 + utc.minute) * 60 + utc.second);
  return seconds * 1000u + static_cast<std::uint32_t>(utc.millisecond);
}

std::string RandomChars(platform::Clock& clock, int n) {
  RandomGenerator generator(RandomSeedFor(clock.UtcNow()));
  std::string result(static_cast<std::size_t>(std::max(n, 0)), '\0');
  for (char& c : result) {
    // Letters and digits are equally likely as classes.
    c = generator.Draw(2) == 1 ? static_cast<char>('A' + generator.Draw(26))
                               : static_cast<char>('0' + generator.Draw(10));
  }
  return result;
}

}  // namespace tolvaren
