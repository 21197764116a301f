#include "dns/dns_resolver.h"

#include <algorithm>
#include <chrono>

#include "dns/net_errors.h"
#include "dns/net_messages.h"

namespace tolvaren::dns {

void DnsResolver::RunQuery(std::string_view name) {
  BuildQuery(name);
  if (QueryPacket.empty()) throw EDnsResolverError(WithNumber(text::kInvalidQueryCount, 0));
  const Ipv4Bytes server = ParseDottedQuad(SendPacket(QueryPacket));
  const auto serverPort = static_cast<int>(Port() & 0xFFFF);

  // The reply is the first datagram from the server asked (address and
  // port) that answers this query (RFC 5452); any other datagram, and one too
  // long for the buffer, is dropped and the wait goes on for what is left of
  // the timeout. A socket error (the server's port closed) ends it at once.
  using Clock = std::chrono::steady_clock;
  const int timeout = ReceiveTimeout();
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeout, 0));
  while (true) {
    int wait = timeout;
    if (timeout >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      wait = static_cast<int>(std::max<decltype(left)>(left, 0));
    }
    std::string datagram;
    bool received = true;
    try {
      datagram = ReceivePacket(wait);
      received = !Socket()->PeerIP.empty();
      if (!received) break;  // nothing came in time
    } catch (const ESocketError& e) {
      if (e.ErrorCode() != platform::kMessageTooLong) throw;
      received = false;
    }
    const SocketHandle& socket = *Socket();
    if (received && ParseDottedQuad(socket.PeerIP) == server && socket.PeerPort == serverPort &&
        IsReplyToQuery(datagram)) {
      ParseReply(datagram);
      return;
    }
    if (timeout >= 0 && Clock::now() >= deadline) break;
  }
  throw EDnsResolverError(text::kTimedOut);
}

}  // namespace tolvaren::dns
