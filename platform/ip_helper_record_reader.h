#pragma once

#include <vector>

#include "platform/byte_view.h"
#include "platform/ip_helper_records.h"

namespace tolvaren::platform::ip_helper_records {

// Reads back the records a GetAdaptersInfo or GetNetworkParams call left in
// `buffer`, whoever wrote them. Safe on any bytes: a field outside the
// buffer reads as zero or empty text, and a link is followed only to a
// record that lies wholly inside the buffer and was not read before in the
// same chain, so every walk ends. The adapters start at the buffer's first
// byte; a buffer too short for one record holds none.
std::vector<AdapterRecord> ReadAdapters(ByteView buffer);
NetworkParamsRecord ReadNetworkParams(ByteView buffer);

}  // namespace tolvaren::platform::ip_helper_records
