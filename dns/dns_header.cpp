#include "dns/dns_header.h"

#include <chrono>
#include <random>

namespace tolvaren::dns {

// The identifier is all that ties a reply to its query, so it comes from the
// system's entropy source mixed with the clock rather than the clock alone.
std::uint16_t DrawQueryId() {
  std::random_device entropy;
  const auto ticks = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{entropy(), entropy(), static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> draw(0, 65534);
  return static_cast<std::uint16_t>(draw(generator));
}

TDNSHeader::TDNSHeader() : ID(DrawQueryId()) {}

}  // namespace tolvaren::dns
