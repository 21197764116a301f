#include "netinfo/tcpip.h"

#include <algorithm>
#include <array>

#include "core/host.h"
#include "netinfo/hardware_address_text.h"
#include "platform/blank_trim.h"
#include "platform/ip_helper_records.h"
#include "platform/tregistry.h"

namespace tolvaren {
namespace {

namespace records = platform::ip_helper_records;

constexpr char kTcpipParametersKey[] = "\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr char kSearchList[] = "SearchList";

constexpr std::array<std::string_view, 5> kNodeTypeNames = {"Unknown", "Broadcast", "Peer-To-Peer", "Mixed", "Hybrid"};
constexpr std::array<std::string_view, 7> kAdapterTypeNames = {"Other", "Ethernet", "Token Ring", "FDDI",
                                                               "PPP",   "Loopback", "Slip"};

TAdapterType AdapterTypeOfCode(std::uint32_t code) {
  namespace type = records::interface_type;
  switch (code) {
    case type::kEthernet:
      return atEthernet;
    case type::kTokenRing:
      return atTokenRing;
    case type::kFddi:
      return atFDDI;
    case type::kPpp:
      return atPPP;
    case type::kLoopback:
      return atLoopback;
    case type::kSlip:
      return atSlip;
    default:
      return atOther;
  }
}

TNodeType NodeTypeOfCode(std::uint32_t code) {
  namespace node = records::node_type;
  switch (code) {
    case node::kBroadcast:
      return ntBroadcast;
    case node::kPeerToPeer:
      return ntPeerToPeer;
    case node::kMixed:
      return ntMixed;
    case node::kHybrid:
      return ntHybrid;
    default:
      return ntUnknown;
  }
}

bool LowByteSet(std::uint32_t word) { return (word & 0xFFu) != 0; }

void AddItems(const std::vector<records::AddressItem>& items, StringList& addresses, StringList& masks) {
  for (const records::AddressItem& item : items) {
    addresses.Add(item.address);
    masks.Add(item.mask);
  }
}

TAdapter AdapterOf(const records::AdapterRecord& record) {
  TAdapter a;
  a.Name = TrimBlanks(record.description);
  a.Address = HardwareAddressText(record.hardwareAddress);
  a.AdapterType = AdapterTypeOfCode(record.type);
  a.DHCPEnabled = LowByteSet(record.dhcpEnabled);
  a.HaveWINS = record.haveWins;
  AddItems(record.ipAddresses, a.IPAddress, a.IPMask);
  AddItems(record.gateways, a.Gateway_IPAddress, a.Gateway_IPMask);
  AddItems(record.dhcpServers, a.DHCP_IPAddress, a.DHCP_IPMask);
  AddItems(record.primaryWins, a.PrimaryWINS_IPAddress, a.PrimaryWINS_IPMask);
  AddItems(record.secondaryWins, a.SecondaryWINS_IPAddress, a.SecondaryWINS_IPMask);
  return a;
}

}  // namespace

std::string_view NodeTypeName(TNodeType type) {
  return type < kNodeTypeNames.size() ? kNodeTypeNames[type] : kNodeTypeNames[ntUnknown];
}

std::string_view AdapterTypeName(TAdapterType type) {
  return type < kAdapterTypeNames.size() ? kAdapterTypeNames[type] : kAdapterTypeNames[atOther];
}

void TTCPIP::GetInfo() {
  adapters_.clear();
  adaptersPending_ = true;
  ReadNetworkParams();
}

const std::vector<TAdapter>& TTCPIP::Adapters() const {
  if (adaptersPending_) {
    adaptersPending_ = false;
    for (const records::AdapterRecord& record : host_.platform.ipHelper.QueryAdapters()) {
      adapters_.push_back(AdapterOf(record));
    }
  }
  return adapters_;
}

void TTCPIP::ReadNetworkParams() {
  const auto params = host_.platform.ipHelper.QueryNetworkParams();
  if (!params) return;

  nodeType_ = NodeTypeOfCode(params->nodeType);
  dhcpScopeName_ = params->scopeId;
  currentDnsServer_ = params->currentDnsServer.value_or("");
  dnsServers_.Clear();
  for (const std::string& server : params->dnsServers) dnsServers_.Add(server);

  // Read before the host and domain names are stored: a "SearchList" of the
  // wrong type ends the gathering with those names unchanged.
  dnsSuffixes_.Clear();
  std::string searchList;
  {
    TRegistry reg(host_.platform.registry);
    if (reg.OpenKeyReadOnly(kTcpipParametersKey)) searchList = reg.ReadString(kSearchList);
  }
  dnsSuffixes_.AddCommaPieces(searchList);

  hostName_ = params->hostName;
  domainName_ = params->domainName;
  enableProxy_ = LowByteSet(params->enableProxy);
  enableRouting_ = LowByteSet(params->enableRouting);
  enableDns_ = LowByteSet(params->enableDns);
}

}  // namespace tolvaren
