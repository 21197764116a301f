#pragma once

#include <array>
#include <cstdint>

namespace tolvaren::platform {

// NetBIOS commands the tool submits.
enum NetbiosCommand : std::uint8_t {
  kNcbReset = 0x32,
  kNcbAdapterStatus = 0x33,
  kNcbEnumerate = 0x37,
};

// The fields of a NetBIOS control block that the tool sets or reads; every
// other field of the system's 64-byte block is zero. The buffer belongs to
// the caller and must hold `length` bytes.
struct NetbiosControlBlock {
  std::uint8_t command = 0;
  std::uint8_t lanaNumber = 0;
  std::uint8_t* buffer = nullptr;
  std::uint16_t length = 0;
  std::array<char, 16> callName{};  // blank padded, not terminated
};

// netapi32's Netbios.
class Netbios {
 public:
  virtual ~Netbios() = default;
  // Submits the block and waits for it; returns the block's return code
  // (0 is success). Data the command returns lands in the block's buffer.
  virtual std::uint8_t Submit(NetbiosControlBlock& block) = 0;
};

}  // namespace tolvaren::platform
