#pragma once

#include <string_view>

#include "dns/dns_message_codec.h"
#include "dns/udp_base.h"

namespace tolvaren::dns {

// A DNS client for one question set at a time: builds the query, sends it to
// Host (port 53 unless changed), takes the first datagram from that address
// and port within ReceiveTimeout that is the reply to the query
// (IsReplyToQuery) and parses it. One socket and one query identifier serve
// every call of a resolver.
class DnsResolver : public UdpClient, public DnsMessageCodec {
 public:
  static constexpr int kDnsPort = 53;

  explicit DnsResolver(platform::SocketApi& sockets) : UdpClient(sockets) { SetPort(kDnsPort); }

  // On return Header and Answers describe the reply; otherwise raises
  // EDnsResolverError ("TimedOut" when no reply came), ESocketError and kin.
  void RunQuery(std::string_view name);
};

}  // namespace tolvaren::dns
