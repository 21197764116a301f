#include "templates/network_macros.h"

#include <cstdint>
#include <exception>

#include "core/host.h"
#include "core/info_gather.h"
#include "dns/dns_resolver.h"
#include "netinfo/network.h"
#include "platform/exception.h"
#include "platform/ipv4_address.h"
#include "templates/macro_expander.h"
#include "templates/name_sanitizer.h"
#include "templates/replace_all.h"

namespace tolvaren {
namespace {

constexpr int kLookupTimeoutMs = 2000;
constexpr std::uint16_t kPtrTypeCode = 12;

std::string Decimal(int value) { return std::to_string(value); }

// At least two upper-case hex digits of the value's 32 bits ("%.2X").
std::string Hex(int value) {
  auto bits = static_cast<std::uint32_t>(value);
  char text[8];
  std::size_t at = sizeof text;
  do {
    text[--at] = "0123456789ABCDEF"[bits & 0xF];
    bits >>= 4;
  } while (bits != 0 || at > sizeof text - 2);
  return std::string(text + at, sizeof text - at);
}

}  // namespace

std::array<int, 4> IpOctets(const std::string& address) {
  const StringList pieces = platform::Ipv4ListPieces(address);
  std::array<int, 4> octets{};
  for (int i = 0; i < 4; ++i) {
    const std::string piece = i < pieces.Count() ? pieces[i] : std::string();
    const auto number = platform::Int32OfPiece(piece);
    if (!number) throw EConvertError("'" + piece + "' is not a valid integer value");
    octets[i] = *number;
  }
  return octets;
}

std::optional<std::string> ShortHostName(const dns::DnsMessageCodec& reply) {
  const int answers = std::min<int>(reply.Header.ANCount, reply.Answers.Count());
  for (int i = 0; i < answers; ++i) {
    const auto* ptr = dynamic_cast<const dns::TNAMERecord*>(&reply.Answers[i]);
    if (ptr == nullptr || reply.Answers[i].TypeCode != kPtrTypeCode) continue;
    if (ptr->TargetLabels.empty()) return std::string();
    const std::string& label = ptr->TargetLabels.front();
    std::size_t end = 0;
    while (end < label.size() && static_cast<unsigned char>(label[end]) > ' ') ++end;
    return label.substr(0, end);
  }
  return std::nullopt;
}

std::string ReverseLookup(Host& host, const std::string& address, const StringList& servers) {
  // Not guarded: when no socket can be had, the failure ends the run.
  dns::DnsResolver resolver(host.platform.sockets);
  resolver.SetReceiveTimeout(kLookupTimeoutMs);
  resolver.SetActive(true);

  std::string result;
  for (int i = 0; result.empty() && i < servers.Count(); ++i) {
    if (servers.IndexOf(servers[i]) < i) continue;  // asked already: it would answer the same, or not at all
    resolver.SetHost(servers[i]);
    resolver.QueryRecords = {dns::qtPTR};
    try {
      resolver.RunQuery(address);
      result = ShortHostName(resolver).value_or("");
    } catch (const std::exception&) {
      result.clear();  // no name from this server; ask the next
    }
  }
  return result;
}

std::string ExpandNetworkMacros(Host& host, const std::string& text, ReverseLookupRule rule, MacroValues& used) {
  TNetwork network(host);
  InfoGather(host.platform.console, "TNetwork.GetInfo", emSilent, [&] { network.GetInfo(); });

  NetworkValues& record = used.network.emplace();
  record.firstIp = network.IPAddresses().Count() > 0 ? network.IPAddresses()[0] : std::string();
  record.firstMac = network.MACAddresses().Count() > 0 ? network.MACAddresses()[0] : std::string();

  std::string w = text;
  if (network.MACAddresses().Count() == 0 || network.IPAddresses().Count() == 0) {
    for (const char letter : kNetworkMacroLetters) w = ReplaceAll(w, std::string{'?', letter}, "");
    return w;
  }

  const std::string& ip = network.IPAddresses()[0];
  const std::string mac = NameSanitizer(network.MACAddresses()[0]);
  // Every octet is read whether or not its macro occurs, so an address that
  // is no dotted quad always fails here; each is converted once.
  const std::array<int, 4> octets = IpOctets(ip);
  w = ReplaceAll(w, "?i", Decimal(octets[0]));
  w = ReplaceAll(w, "?j", Decimal(octets[1]));
  w = ReplaceAll(w, "?k", Decimal(octets[2]));
  w = ReplaceAll(w, "?l", Decimal(octets[3]));
  // The lookup for any network macro costs a template such as "pc-?i" up to
  // 2 s for each silent server.
  std::string dnsName;
  if (rule == ReverseLookupRule::kForAnyNetworkMacro || HasMacro(w, "d")) {
    dnsName = ReverseLookup(host, ip, network.TCPIP().DNSServers());
    record.dnsName = dnsName;
  }
  w = ReplaceAll(w, "?d", dnsName);
  w = ReplaceAll(w, "?I", Hex(octets[0]));
  w = ReplaceAll(w, "?J", Hex(octets[1]));
  w = ReplaceAll(w, "?K", Hex(octets[2]));
  w = ReplaceAll(w, "?L", Hex(octets[3]));
  w = ReplaceAll(w, "?m", mac);
  w = ReplaceAll(w, "?U", std::string(20, '0') + mac);
  return w;
}

}  // namespace tolvaren
