// The key=value reports of the network objects, in INI sections.

#include <string>

#include "netinfo/network.h"
#include "netinfo/tcpip.h"

namespace tolvaren {
namespace {

// "<countKey>=<n>" (left out when countKey is empty), then one
// "<itemKey><i>=<item>" line per item, numbered from 1.
void AddListSection(StringList& lines, const StringList& list, const std::string& countKey,
                    const std::string& itemKey) {
  if (!countKey.empty()) lines.Add(countKey + "=" + std::to_string(list.Count()));
  for (int i = 0; i < list.Count(); ++i) lines.Add(itemKey + std::to_string(i + 1) + "=" + list[i]);
}

}  // namespace

void TNetwork::Report(StringList& lines) const {
  lines.Add("[Network]");
  AddListSection(lines, adapters_, "Count", "Adapter");
  AddListSection(lines, protocols_, "ProtoCount", "Protocol");
  AddListSection(lines, services_, "ServiceCount", "Service");
  AddListSection(lines, clients_, "ClientCount", "Client");
  AddListSection(lines, ipAddresses_, "IPCount", "IPAddress");
  AddListSection(lines, macAddresses_, "MACCount", "MACAddress");
  lines.Add("[Winsock]");
  lines.Add("Description=" + winsock_->Description());
  lines.Add("Version=" + std::to_string(winsock_->MajorVersion()) + "." + std::to_string(winsock_->MinorVersion()));
  lines.Add("Status=" + winsock_->Status());
  tcpip_->Report(lines);
}

void TTCPIP::Report(StringList& lines) const {
  lines.Add("[TCP/IP]");
  lines.Add("HostName=" + hostName_);
  lines.Add("DomainName=" + domainName_);
  lines.Add("NodeType=" + std::string(NodeTypeName(nodeType_)));
  lines.Add("PrimaryDNSSuffix=" + currentDnsServer_);
  lines.Add("DNSServers=" + dnsServers_.CommaText());
  lines.Add("AdapterCount=" + std::to_string(AdapterCount()));
  const std::vector<TAdapter>& adapters = Adapters();
  for (std::size_t n = 0; n < adapters.size(); ++n) {
    const TAdapter& a = adapters[n];
    const auto add = [&](const char* key, const std::string& text) {
      lines.Add(std::string(key) + "[" + std::to_string(n) + "]=" + text);
    };
    add("Adapter", a.Name);
    add("AdapterPhysAddr", a.Address);
    add("AdapterType", std::string(AdapterTypeName(a.AdapterType)));
    add("Adapter_IPAddress", a.IPAddress.CommaText());
    add("Adapter_IPMask", a.IPMask.CommaText());
    add("Adapter_Gateway_IPAddress", a.Gateway_IPAddress.CommaText());
    add("Adapter_Gateway_IPMask", a.Gateway_IPMask.CommaText());
    add("Adapter_DHCP_IPAddress", a.DHCP_IPAddress.CommaText());
    add("Adapter_DHCP_IPMask", a.DHCP_IPMask.CommaText());
    add("Adapter_PrimaryWINS_IPAddress", a.PrimaryWINS_IPAddress.CommaText());
    add("Adapter_PrimaryWINS_IPMask", a.PrimaryWINS_IPMask.CommaText());
    add("Adapter_SecondaryWINS_IPAddress", a.SecondaryWINS_IPAddress.CommaText());
    add("Adapter_SecondaryWINS_IPMask", a.SecondaryWINS_IPMask.CommaText());
  }
}

}  // namespace tolvaren
