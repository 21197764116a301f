#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ip_helper_records.h"

namespace tolvaren::platform {

// The IP Helper library (iphlpapi), bound by name once at start-up and
// released at process end. Both calls fill a caller's buffer with records laid
// out as platform/ip_helper_records.h describes, linked by real addresses
// inside that buffer; callers take the records as values through the two
// Query calls.
class IpHelper {
 public:
  static constexpr std::uint32_t kBufferOverflow = 111;  // ERROR_BUFFER_OVERFLOW
  static constexpr std::uint32_t kNoData = 232;          // ERROR_NO_DATA

  virtual ~IpHelper() = default;

  // True when the library was loaded and both entries were found.
  virtual bool Bound() const = 0;

  // Each returns 0 with the records in the buffer, kBufferOverflow with the
  // size it needs written to `size`, or another code (kNoData among them)
  // for no data. Only called when Bound() holds.
  virtual std::uint32_t GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) = 0;
  virtual std::uint32_t GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) = 0;

  // The records of each call as values. The call gets a zero-filled buffer
  // of one record; while it answers kBufferOverflow, the buffer grows to
  // twice the size it asked for, and a call that still asks after 16 rounds
  // counts as one without data. Then the records are walked
  // (ip_helper_record_reader.h). No adapters and no parameters when the
  // library is not bound or the call fails; an Exception when the buffer
  // cannot grow.
  std::vector<ip_helper_records::AdapterRecord> QueryAdapters();
  std::optional<ip_helper_records::NetworkParamsRecord> QueryNetworkParams();
};

}  // namespace tolvaren::platform
