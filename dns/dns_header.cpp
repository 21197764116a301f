#include "dns/dns_header.h"

#include <chrono>
#include <random>

namespace tolvaren::dns {

// The identifier is all that ties a reply to its query, so it comes from the
// system's entropy source mixed with the clock rather than the clock alone.
// One 64-bit mix (splitmix64's finalizer) of the two is enough for a 16-bit
// draw; a seeded Mersenne Twister cost a quarter of a whole lookup run.
std::uint16_t DrawQueryId() {
  std::random_device entropy;
  const auto ticks = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::uint64_t x = (static_cast<std::uint64_t>(entropy()) << 32 | entropy()) ^ ticks;
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ULL;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBULL;
  x ^= x >> 31;
  // The top 16 bits scaled onto 0 to 65534: 65535 is never drawn.
  return static_cast<std::uint16_t>(((x >> 48) * 65535) >> 16);
}

TDNSHeader::TDNSHeader() : ID(DrawQueryId()) {}

}  // namespace tolvaren::dns
