#include "dns/dns_resolver.h"

#include "dns/net_errors.h"
#include "dns/net_messages.h"

namespace tolvaren::dns {
namespace {
// A datagram this short cannot hold an identifier and flags worth reading.
constexpr std::size_t kShortestReply = 5;
}  // namespace

void DnsResolver::RunQuery(std::string_view name) {
  BuildQuery(name);
  if (QueryPacket.empty()) throw EDnsResolverError(WithNumber(text::kInvalidQueryCount, 0));
  SendPacket(QueryPacket);
  const std::string reply = ReceivePacket(kUseReceiveTimeout);
  if (reply.size() < kShortestReply) throw EDnsResolverError(text::kTimedOut);
  ParseReply(reply);
}

}  // namespace tolvaren::dns
