#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvaren::platform::ip_helper_records {

// Byte layouts of the IP Helper records (IP_ADDR_STRING, IP_ADAPTER_INFO,
// FIXED_INFO) for the pointer size of this build, the codes their fields
// hold, and the values they carry. Records link to each other by real
// addresses of the process, written in the build's pointer size. The Windows
// backend checks the layouts and codes against the SDK's own.
//
// Every backend answers in these records, the Linux one and the fake too:
// they write their values out (ip_helper_record_writer.h) and every caller
// reads them back through the one walk (ip_helper_record_reader.h), which is
// also the walk that reads what the Windows library wrote. Handing values up
// directly on Linux would save that round trip, but would leave the walk of
// untrusted records run only under Windows; this way the unit tests and the
// fuzzer on Linux drive it, and writer and reader share each layout below.

constexpr std::size_t kPointerSize = sizeof(void*);
constexpr bool kWide = kPointerSize == 8;

constexpr std::size_t kAddressTextSize = 16;  // "255.255.255.255" and its zero
constexpr std::size_t kHostNameSize = 132;
constexpr std::size_t kScopeIdSize = 260;
constexpr std::size_t kAdapterNameSize = 260;
constexpr std::size_t kDescriptionSize = 132;
constexpr std::size_t kHardwareAddressSize = 8;

// IP_ADDR_STRING: a list item of an address and its mask.
namespace address_string {
constexpr std::size_t kNext = 0;
constexpr std::size_t kAddress = kPointerSize;
constexpr std::size_t kMask = kAddress + kAddressTextSize;
constexpr std::size_t kContext = kMask + kAddressTextSize;
constexpr std::size_t kSize = kWide ? 48 : 40;
}  // namespace address_string

// IP_ADAPTER_INFO: one adapter of the chain GetAdaptersInfo returns.
namespace adapter {
constexpr std::size_t kNext = 0;
constexpr std::size_t kComboIndex = kPointerSize;
constexpr std::size_t kAdapterName = kComboIndex + 4;
constexpr std::size_t kDescription = kAdapterName + kAdapterNameSize;
constexpr std::size_t kAddressLength = kDescription + kDescriptionSize;
constexpr std::size_t kAddress = kAddressLength + 4;
constexpr std::size_t kIndex = kAddress + kHardwareAddressSize;
constexpr std::size_t kType = kIndex + 4;
constexpr std::size_t kDhcpEnabled = kType + 4;
constexpr std::size_t kCurrentIpAddress = kWide ? 432 : 424;
constexpr std::size_t kIpAddressList = kCurrentIpAddress + kPointerSize;
constexpr std::size_t kGatewayList = kIpAddressList + address_string::kSize;
constexpr std::size_t kDhcpServer = kGatewayList + address_string::kSize;
constexpr std::size_t kHaveWins = kDhcpServer + address_string::kSize;
constexpr std::size_t kPrimaryWinsServer = kWide ? 592 : 552;
constexpr std::size_t kSecondaryWinsServer = kPrimaryWinsServer + address_string::kSize;
constexpr std::size_t kLeaseObtained = kSecondaryWinsServer + address_string::kSize;
constexpr std::size_t kSize = kWide ? 704 : 640;
}  // namespace adapter

// FIXED_INFO: what GetNetworkParams returns.
namespace network_params {
constexpr std::size_t kHostName = 0;
constexpr std::size_t kDomainName = kHostNameSize;
constexpr std::size_t kCurrentDnsServer = kDomainName + kHostNameSize;
constexpr std::size_t kDnsServerList = kCurrentDnsServer + kPointerSize;
constexpr std::size_t kNodeType = kDnsServerList + address_string::kSize;
constexpr std::size_t kScopeId = kNodeType + 4;
constexpr std::size_t kEnableRouting = kScopeId + kScopeIdSize;
constexpr std::size_t kEnableProxy = kEnableRouting + 4;
constexpr std::size_t kEnableDns = kEnableProxy + 4;
constexpr std::size_t kSize = kWide ? 600 : 584;
}  // namespace network_params

static_assert(adapter::kHaveWins + (kWide ? 8 : 4) == adapter::kPrimaryWinsServer);
static_assert(adapter::kDhcpEnabled + (kWide ? 8 : 4) == adapter::kCurrentIpAddress);

// The interface types of IP_ADAPTER_INFO's Type (IF_TYPE_*, MIB_IF_TYPE_*).
namespace interface_type {
constexpr std::uint32_t kOther = 1;
constexpr std::uint32_t kEthernet = 6;
constexpr std::uint32_t kTokenRing = 9;
constexpr std::uint32_t kFddi = 15;
constexpr std::uint32_t kPpp = 23;
constexpr std::uint32_t kLoopback = 24;
constexpr std::uint32_t kSlip = 28;
constexpr std::uint32_t kIeee80211 = 71;
constexpr std::uint32_t kTunnel = 131;
}  // namespace interface_type

// The NetBIOS node types of FIXED_INFO's NodeType (*_NODETYPE).
namespace node_type {
constexpr std::uint32_t kBroadcast = 1;
constexpr std::uint32_t kPeerToPeer = 2;
constexpr std::uint32_t kMixed = 4;
constexpr std::uint32_t kHybrid = 8;
}  // namespace node_type

// The values of one IP_ADDR_STRING list item.
struct AddressItem {
  std::string address;
  std::string mask;
};

// The values of one IP_ADAPTER_INFO record. A list read back always holds
// at least the item embedded in the record.
struct AdapterRecord {
  std::string adapterName, description;
  std::vector<std::uint8_t> hardwareAddress;  // up to 8 bytes; its length is the record's AddressLength
  std::uint32_t comboIndex = 0, index = 0, type = interface_type::kEthernet, dhcpEnabled = 0;
  std::vector<AddressItem> ipAddresses, gateways, dhcpServers;  // empty: one embedded item with empty texts
  bool haveWins = false;
  std::vector<AddressItem> primaryWins, secondaryWins;
};

// The values of the FIXED_INFO record.
struct NetworkParamsRecord {
  std::string hostName, domainName;
  std::optional<std::string> currentDnsServer;  // a separate IP_ADDR_STRING the record's pointer leads to
  std::vector<std::string> dnsServers;          // empty: one embedded item with empty texts
  std::uint32_t nodeType = 0;
  std::string scopeId;
  std::uint32_t enableRouting = 0, enableProxy = 0, enableDns = 0;
};

}  // namespace tolvaren::platform::ip_helper_records
