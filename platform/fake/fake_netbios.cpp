#include <algorithm>

#include "platform/fake/fake_network.h"

namespace tolvaren::platform::fake {

namespace {
constexpr std::uint8_t kInvalidLana = 0x23;  // NRC_BRIDGE
}

std::uint8_t FakeNetbios::Submit(NetbiosControlBlock& block) {
  NetbiosControlBlock copy = block;
  copy.buffer = nullptr;
  submitted.push_back(copy);

  const auto lana =
      std::find_if(lanas.begin(), lanas.end(), [&](const Lana& l) { return l.number == block.lanaNumber; });
  switch (block.command) {
    case kNcbEnumerate: {
      if (enumerateCode != 0) return enumerateCode;
      std::size_t at = 0;
      if (block.length > at) block.buffer[at++] = static_cast<std::uint8_t>(lanas.size());
      for (const Lana& l : lanas) {
        if (block.length > at) block.buffer[at++] = l.number;
      }
      return 0;
    }
    case kNcbReset:
      return lana == lanas.end() ? kInvalidLana : lana->resetCode;
    case kNcbAdapterStatus:
      if (lana == lanas.end()) return kInvalidLana;
      if (lana->statusCode != 0) return lana->statusCode;
      std::copy_n(lana->address.begin(), std::min<std::size_t>(block.length, 6), block.buffer);
      return 0;
    default:
      return kInvalidLana;
  }
}

}  // namespace tolvaren::platform::fake
