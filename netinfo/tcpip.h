#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/string_list.h"

namespace tolvaren {

struct Host;

// NetBIOS node type.
enum TNodeType : std::uint8_t { ntUnknown, ntBroadcast, ntPeerToPeer, ntMixed, ntHybrid };

enum TAdapterType : std::uint8_t { atOther, atEthernet, atTokenRing, atFDDI, atPPP, atLoopback, atSlip };

std::string_view NodeTypeName(TNodeType type);
std::string_view AdapterTypeName(TAdapterType type);

// One adapter of the IP Helper adapter table. Each address list of the
// platform's record becomes two parallel lists, addresses and masks.
struct TAdapter {
  std::string Name;     // description, blanks and control bytes trimmed
  std::string Address;  // hardware address, "00:50:56:C0:00:08"
  TAdapterType AdapterType = atOther;
  bool DHCPEnabled = false;
  bool HaveWINS = false;
  StringList IPAddress, IPMask;
  StringList Gateway_IPAddress, Gateway_IPMask;
  StringList DHCP_IPAddress, DHCP_IPMask;
  StringList PrimaryWINS_IPAddress, PrimaryWINS_IPMask;
  StringList SecondaryWINS_IPAddress, SecondaryWINS_IPMask;
};

// The TCP/IP configuration as the IP Helper interface reports it, with the
// DNS search suffixes from the registry.
class TTCPIP {
 public:
  explicit TTCPIP(Host& host) : host_(host) {}
  virtual ~TTCPIP() = default;
  TTCPIP(const TTCPIP&) = delete;
  TTCPIP& operator=(const TTCPIP&) = delete;

  // Rebuilds the adapter table, then reads the network parameters. Without
  // the IP Helper library only the table is cleared. The table is asked of
  // the platform when it is first read after this call: the name macros read
  // only the parameters, and the table costs a run more than they do.
  void GetInfo();

  virtual void Report(StringList& lines) const;

  std::uint16_t AdapterCount() const { return static_cast<std::uint16_t>(Adapters().size()); }
  const TAdapter& GetAdapter(std::uint16_t index) const { return Adapters().at(index); }

  bool EnableProxy() const { return enableProxy_; }
  bool EnableRouting() const { return enableRouting_; }
  bool EnableDNS() const { return enableDns_; }
  const std::string& HostName() const { return hostName_; }
  const std::string& DomainName() const { return domainName_; }
  // The address of the platform's current DNS server record. The property
  // and its report key keep their historical name; it holds no suffix.
  const std::string& PrimaryDNSSuffix() const { return currentDnsServer_; }
  const StringList& DNSServers() const { return dnsServers_; }
  const StringList& DNSSuffixes() const { return dnsSuffixes_; }
  TNodeType NodeType() const { return nodeType_; }
  const std::string& DHCPScopeName() const { return dhcpScopeName_; }

 private:
  const std::vector<TAdapter>& Adapters() const;
  void ReadNetworkParams();

  Host& host_;
  // Empty until GetInfo; then filled from the platform on first read.
  mutable std::vector<TAdapter> adapters_;
  mutable bool adaptersPending_ = false;
  bool enableProxy_ = false;
  bool enableRouting_ = false;
  bool enableDns_ = false;
  std::string hostName_;
  std::string domainName_;
  std::string currentDnsServer_;
  StringList dnsServers_;
  StringList dnsSuffixes_;
  TNodeType nodeType_ = ntUnknown;
  std::string dhcpScopeName_;
};

}  // namespace tolvaren
