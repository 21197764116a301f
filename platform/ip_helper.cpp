#include "platform/ip_helper.h"

#include <functional>
#include <limits>
#include <new>

#include "platform/byte_view.h"
#include "platform/exception.h"
#include "platform/ip_helper_record_reader.h"

namespace tolvaren::platform {
namespace {

namespace records = ip_helper_records;

// A platform that keeps asking for more after this many rounds is taken to
// have no data, rather than growing the buffer without end.
constexpr int kMaxGrowthRounds = 16;

using RecordsCall = std::function<std::uint32_t(std::uint8_t* buffer, std::uint32_t& size)>;

// Calls the platform with a zero-filled buffer of the initial size; while the
// buffer is too small, grows it to twice the size the call asked for and
// calls again. Returns the last result.
std::uint32_t CallGrowing(std::vector<std::uint8_t>& buffer, std::size_t initialSize, const RecordsCall& call) {
  std::uint32_t size = static_cast<std::uint32_t>(initialSize);
  buffer.assign(initialSize, 0);
  std::uint32_t result = call(buffer.data(), size);
  for (int round = 0; result == IpHelper::kBufferOverflow; ++round) {
    if (round == kMaxGrowthRounds) return result;
    const std::uint64_t doubled = std::uint64_t{size} * 2;
    if (doubled > std::numeric_limits<std::uint32_t>::max()) throw Exception("Out of memory");
    try {
      buffer.assign(static_cast<std::size_t>(doubled), 0);
    } catch (const std::bad_alloc&) {
      throw Exception("Out of memory");
    }
    size = static_cast<std::uint32_t>(doubled);
    result = call(buffer.data(), size);
  }
  return result;
}

}  // namespace

std::vector<records::AdapterRecord> IpHelper::QueryAdapters() {
  if (!Bound()) return {};
  std::vector<std::uint8_t> buffer;
  const std::uint32_t result = CallGrowing(buffer, records::adapter::kSize,
                                           [this](std::uint8_t* b, std::uint32_t& s) { return GetAdaptersInfo(b, s); });
  if (result != 0) return {};
  return records::ReadAdapters(ByteView(buffer));
}

std::optional<records::NetworkParamsRecord> IpHelper::QueryNetworkParams() {
  if (!Bound()) return std::nullopt;
  std::vector<std::uint8_t> buffer;
  const std::uint32_t result =
      CallGrowing(buffer, records::network_params::kSize,
                  [this](std::uint8_t* b, std::uint32_t& s) { return GetNetworkParams(b, s); });
  if (result != 0) return std::nullopt;
  return records::ReadNetworkParams(ByteView(buffer));
}

}  // namespace tolvaren::platform
