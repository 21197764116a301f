// Feeds arbitrary bytes to the reply parser as the reply to a PTR query.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dns/dns_message_codec.h"
#include "dns/net_errors.h"

using namespace tolvaren;

namespace {
constexpr std::size_t kLargestDatagram = 65507;
constexpr std::size_t kLongestDottedName = 253;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // No UDP datagram is longer.
  if (size > kLargestDatagram) return 0;
  const std::string reply(reinterpret_cast<const char*>(data), size);
  // The identifier the query carries is the reply's own, so the parser is reached.
  const std::uint16_t id = size >= 2 ? static_cast<std::uint16_t>((data[0] << 8) | data[1]) : 0;
  dns::DnsMessageCodec codec(id);
  codec.QueryRecords = {dns::qtPTR};
  // A short query, so replies shorter than a full PTR question are parsed too.
  codec.BuildQuery(size > 2 && (data[2] & 0x40) ? "10.0.0.1" : "");
  try {
    codec.ParseReply(reply);
  } catch (const Exception&) {
    // every rejection is one of the tool's own errors; anything else escapes
  }
  for (int i = 0; i < codec.Answers.Count(); ++i) {
    const dns::TResultRecord& record = codec.Answers[i];
    if (record.RData.size() > static_cast<std::size_t>(record.RDLength)) __builtin_trap();
    // A name holds at most 255 bytes in label form, so 253 as dotted text.
    if (record.Name.size() > kLongestDottedName) __builtin_trap();
  }
  return 0;
}
