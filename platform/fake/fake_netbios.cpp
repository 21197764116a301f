#include <algorithm>

#include "platform/fake/fake_network.h"

namespace tolvaren::platform::fake {

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
      return kNrcGood;
    }
    case kNcbReset:
      if (lana == lanas.end()) return kNrcBridge;
      return lana->resetCode;
    case kNcbAdapterStatus:
      if (lana == lanas.end()) return kNrcBridge;
      if (lana->statusCode != 0) return lana->statusCode;
      std::copy_n(lana->address.begin(), std::min<std::size_t>(block.length, adapter_status::kAddressSize),
                  block.buffer);
      return kNrcGood;
    default:
      return kNrcBridge;
  }
}

}  // namespace tolvaren::platform::fake
