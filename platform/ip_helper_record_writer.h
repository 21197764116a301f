#pragma once

#include <cstdint>
#include <vector>

#include "platform/ip_helper_records.h"

namespace tolvaren::platform::ip_helper_records {

// Lays the records out in the buffer as the IP Helper library does (chained by
// real addresses inside the buffer), with the library's return codes
// (IpHelper::k*): 0; kBufferOverflow with the needed size in `size` when
// `size` is too small; WriteAdapters answers kNoData for an empty list.
// Texts longer than their field are cut so a zero byte always ends them.
std::uint32_t WriteAdapters(const std::vector<AdapterRecord>& adapters, std::uint8_t* buffer, std::uint32_t& size);
std::uint32_t WriteNetworkParams(const NetworkParamsRecord& params, std::uint8_t* buffer, std::uint32_t& size);

}  // namespace tolvaren::platform::ip_helper_records
