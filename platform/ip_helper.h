#pragma once

#include <cstdint>

namespace tolvaren::platform {

// The IP Helper library (iphlpapi), bound by name once at start-up and
// released at process end. Both calls fill a caller's buffer with records laid
// out as platform/ip_helper_records.h describes, linked by real addresses
// inside that buffer.
class IpHelper {
 public:
  static constexpr std::uint32_t kBufferOverflow = 111;  // ERROR_BUFFER_OVERFLOW

  virtual ~IpHelper() = default;

  // True when the library was loaded and both entries were found.
  virtual bool Bound() const = 0;

  // Each returns 0 with the records in the buffer, kBufferOverflow with the
  // size it needs written to `size`, or another code for no data. Only called
  // when Bound() holds.
  virtual std::uint32_t GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) = 0;
  virtual std::uint32_t GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) = 0;
};

}  // namespace tolvaren::platform
