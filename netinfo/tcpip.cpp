#include "netinfo/tcpip.h"

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <new>
#include <optional>

#include "netinfo/hardware_address_text.h"
#include "netinfo/ip_helper_buffer.h"
#include "platform/ip_helper_records.h"
#include "platform/tregistry.h"

namespace tolvaren {
namespace {

namespace records = platform::ip_helper_records;
namespace address_string = records::address_string;

constexpr char kTcpipParametersKey[] = "\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr char kSearchList[] = "SearchList";

// A platform that keeps asking for more after this many rounds is taken to
// have no data, rather than growing the buffer without end.
constexpr int kMaxGrowthRounds = 16;

constexpr std::array<std::string_view, 5> kNodeTypeNames = {"Unknown", "Broadcast", "Peer-To-Peer", "Mixed", "Hybrid"};
constexpr std::array<std::string_view, 7> kAdapterTypeNames = {"Other", "Ethernet", "Token Ring", "FDDI",
                                                               "PPP",   "Loopback", "Slip"};

// Interface type codes of the IP Helper interface (MIB_IF_TYPE_*).
TAdapterType AdapterTypeOfCode(std::uint32_t code) {
  switch (code) {
    case 6:
      return atEthernet;
    case 9:
      return atTokenRing;
    case 15:
      return atFDDI;
    case 23:
      return atPPP;
    case 24:
      return atLoopback;
    case 28:
      return atSlip;
    default:
      return atOther;
  }
}

// NetBIOS node types of the network parameters (BROADCAST_NODETYPE and kin).
TNodeType NodeTypeOfCode(std::uint32_t code) {
  switch (code) {
    case 1:
      return ntBroadcast;
    case 2:
      return ntPeerToPeer;
    case 4:
      return ntMixed;
    case 8:
      return ntHybrid;
    default:
      return ntUnknown;
  }
}

bool LowByteSet(std::uint32_t word) { return (word & 0xFFu) != 0; }

std::string TrimBlanks(const std::string& text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? std::string(first, last) : std::string();
}

std::string AdapterAddressText(const IpHelperBuffer& buffer, std::size_t record) {
  const std::size_t length =
      std::min<std::size_t>(buffer.Word32(record + records::adapter::kAddressLength), records::kHardwareAddressSize);
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < length; ++i) bytes.push_back(buffer.Byte(record + records::adapter::kAddress + i));
  return HardwareAddressText(bytes);
}

// One address list of a record: the embedded item first, then the items it
// links to, until a link is null or comes back to an item already read.
void ReadAddressList(const IpHelperBuffer& buffer, std::size_t embedded, StringList& addresses, StringList& masks) {
  std::vector<std::size_t> visited;
  std::optional<std::size_t> item = embedded;
  while (item && std::find(visited.begin(), visited.end(), *item) == visited.end()) {
    visited.push_back(*item);
    addresses.Add(buffer.Text(*item + address_string::kAddress, records::kAddressTextSize));
    masks.Add(buffer.Text(*item + address_string::kMask, records::kAddressTextSize));
    item = buffer.Link(*item + address_string::kNext, address_string::kSize);
  }
}

TAdapter ReadAdapter(const IpHelperBuffer& buffer, std::size_t record) {
  namespace adapter = records::adapter;
  TAdapter a;
  a.Name = TrimBlanks(buffer.Text(record + adapter::kDescription, records::kDescriptionSize));
  a.Address = AdapterAddressText(buffer, record);
  a.AdapterType = AdapterTypeOfCode(buffer.Word32(record + adapter::kType));
  a.DHCPEnabled = LowByteSet(buffer.Word32(record + adapter::kDhcpEnabled));
  a.HaveWINS = buffer.Word32(record + adapter::kHaveWins) != 0;
  ReadAddressList(buffer, record + adapter::kIpAddressList, a.IPAddress, a.IPMask);
  ReadAddressList(buffer, record + adapter::kGatewayList, a.Gateway_IPAddress, a.Gateway_IPMask);
  ReadAddressList(buffer, record + adapter::kDhcpServer, a.DHCP_IPAddress, a.DHCP_IPMask);
  ReadAddressList(buffer, record + adapter::kPrimaryWinsServer, a.PrimaryWINS_IPAddress, a.PrimaryWINS_IPMask);
  ReadAddressList(buffer, record + adapter::kSecondaryWinsServer, a.SecondaryWINS_IPAddress, a.SecondaryWINS_IPMask);
  return a;
}

using PlatformCall = std::function<std::uint32_t(std::uint8_t* buffer, std::uint32_t& size)>;

// Calls the platform with a zero-filled buffer of the initial size; while the
// buffer is too small, grows it to twice the size the call asked for and
// calls again. Returns the last result.
std::uint32_t CallGrowing(std::vector<std::uint8_t>& buffer, std::size_t initialSize, const PlatformCall& call) {
  std::uint32_t size = static_cast<std::uint32_t>(initialSize);
  buffer.assign(initialSize, 0);
  std::uint32_t result = call(buffer.data(), size);
  for (int round = 0; result == platform::IpHelper::kBufferOverflow; ++round) {
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

std::string_view NodeTypeName(TNodeType type) {
  return type < kNodeTypeNames.size() ? kNodeTypeNames[type] : kNodeTypeNames[ntUnknown];
}

std::string_view AdapterTypeName(TAdapterType type) {
  return type < kAdapterTypeNames.size() ? kAdapterTypeNames[type] : kAdapterTypeNames[atOther];
}

void TTCPIP::GetInfo() {
  adapters_.clear();
  if (!host_.platform.ipHelper.Bound()) return;
  ReadAdapters();
  ReadNetworkParams();
}

void TTCPIP::ReadAdapters() {
  platform::IpHelper& ipHelper = host_.platform.ipHelper;
  std::vector<std::uint8_t> bytes;
  const std::uint32_t result =
      CallGrowing(bytes, records::adapter::kSize,
                  [&](std::uint8_t* buffer, std::uint32_t& size) { return ipHelper.GetAdaptersInfo(buffer, size); });
  if (result != 0) return;

  const IpHelperBuffer buffer(bytes);
  std::vector<std::size_t> visited;
  std::optional<std::size_t> record;
  if (buffer.Holds(0, records::adapter::kSize)) record = 0;
  while (record && std::find(visited.begin(), visited.end(), *record) == visited.end()) {
    visited.push_back(*record);
    adapters_.push_back(ReadAdapter(buffer, *record));
    record = buffer.Link(*record + records::adapter::kNext, records::adapter::kSize);
  }
}

void TTCPIP::ReadNetworkParams() {
  namespace params = records::network_params;
  platform::IpHelper& ipHelper = host_.platform.ipHelper;
  std::vector<std::uint8_t> bytes;
  const std::uint32_t result = CallGrowing(bytes, params::kSize, [&](std::uint8_t* buffer, std::uint32_t& size) {
    return ipHelper.GetNetworkParams(buffer, size);
  });
  if (result != 0) return;
  const IpHelperBuffer buffer(bytes);

  nodeType_ = NodeTypeOfCode(buffer.Word32(params::kNodeType));
  dhcpScopeName_ = buffer.Text(params::kScopeId, records::kScopeIdSize);
  const auto current = buffer.Link(params::kCurrentDnsServer, address_string::kSize);
  currentDnsServer_ = current ? buffer.Text(*current + address_string::kAddress, records::kAddressTextSize) : "";

  // The servers end at a null link, or at a link back to an item already
  // read. A server named twice stays twice: the system lists it so (two equal
  // resolv.conf lines under Wine), and the servers after it are the system's.
  dnsServers_.Clear();
  std::vector<std::size_t> visited{params::kDnsServerList};
  dnsServers_.Add(buffer.Text(params::kDnsServerList + address_string::kAddress, records::kAddressTextSize));
  for (auto item = buffer.Link(params::kDnsServerList + address_string::kNext, address_string::kSize);
       item && std::find(visited.begin(), visited.end(), *item) == visited.end();
       item = buffer.Link(*item + address_string::kNext, address_string::kSize)) {
    visited.push_back(*item);
    dnsServers_.Add(buffer.Text(*item + address_string::kAddress, records::kAddressTextSize));
  }

  // Read before the host and domain names are stored: a "SearchList" of the
  // wrong type ends the gathering with those names unchanged.
  dnsSuffixes_.Clear();
  std::string searchList;
  {
    TRegistry reg(host_.platform.registry);
    if (reg.OpenKeyReadOnly(kTcpipParametersKey)) searchList = reg.ReadString(kSearchList);
  }
  for (std::size_t comma; (comma = searchList.find(',')) != std::string::npos;) {
    dnsSuffixes_.Add(searchList.substr(0, comma));
    searchList.erase(0, comma + 1);
  }
  dnsSuffixes_.Add(searchList);

  hostName_ = buffer.Text(params::kHostName, records::kHostNameSize);
  domainName_ = buffer.Text(params::kDomainName, records::kHostNameSize);
  enableProxy_ = LowByteSet(buffer.Word32(params::kEnableProxy));
  enableRouting_ = LowByteSet(buffer.Word32(params::kEnableRouting));
  enableDns_ = LowByteSet(buffer.Word32(params::kEnableDns));
}

}  // namespace tolvaren
