#include "dns/dns_resolver.h"

#include <algorithm>
#include <chrono>

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
  const Ipv4Bytes server = ParseDottedQuad(SendPacket(QueryPacket));
  const auto serverPort = static_cast<int>(Port() & 0xFFFF);

  // Only the server asked may answer: a datagram from any other address or
  // port is dropped, and the wait goes on for what is left of the timeout.
  using Clock = std::chrono::steady_clock;
  const int timeout = ReceiveTimeout();
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeout, 0));
  std::string reply;
  while (true) {
    int wait = timeout;
    if (timeout >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      wait = static_cast<int>(std::max<decltype(left)>(left, 0));
    }
    reply = ReceivePacket(wait);
    const SocketHandle& socket = *Socket();
    if (socket.PeerIP.empty()) break;  // nothing came in time
    if (ParseDottedQuad(socket.PeerIP) == server && socket.PeerPort == serverPort) break;
    reply.clear();
    if (timeout >= 0 && Clock::now() >= deadline) break;
  }

  if (reply.size() < kShortestReply) throw EDnsResolverError(text::kTimedOut);
  ParseReply(reply);
}

}  // namespace tolvaren::dns
