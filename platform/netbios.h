#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tolvaren::platform {

// NetBIOS commands the tool submits (NCB*).
enum NetbiosCommand : std::uint8_t {
  kNcbReset = 0x32,
  kNcbAdapterStatus = 0x33,
  kNcbEnumerate = 0x37,
};

// Return codes of a submitted block (NRC_*).
enum NetbiosReturnCode : std::uint8_t {
  kNrcGood = 0x00,
  kNrcBufferLength = 0x01,  // the buffer is too short for the answer
  kNrcIllegalCommand = 0x03,
  kNrcBadAddress = 0x07,  // no buffer
  kNrcBridge = 0x23,      // no such LANA
};

// LANA_ENUM, the answer of kNcbEnumerate: a count byte, then room for 255
// LANA numbers. Wine refuses one byte less with kNrcBufferLength.
constexpr std::uint16_t kLanaEnumSize = 256;

// ADAPTER_STATUS, the answer of kNcbAdapterStatus: 60 bytes that begin with
// the adapter's hardware address and hold its type at byte 8, followed by
// up to 16 NAME_BUFFERs of 18 bytes.
namespace adapter_status {
constexpr std::size_t kAddressSize = 6;  // the address is the first field
constexpr std::size_t kAdapterType = 8;
constexpr std::uint8_t kEthernet = 0xFE;  // the adapter type of an Ethernet adapter
constexpr std::uint16_t kSize = 60;
constexpr std::uint16_t kNameBufferSize = 18;
constexpr std::uint16_t kNameBuffers = 16;
constexpr std::uint16_t kSizeWithNames = kSize + kNameBuffers * kNameBufferSize;
}  // namespace adapter_status

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
  // (kNrcGood is success). Data the command returns lands in the block's
  // buffer.
  virtual std::uint8_t Submit(NetbiosControlBlock& block) = 0;
};

}  // namespace tolvaren::platform
