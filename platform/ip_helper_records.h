#pragma once

#include <cstddef>

namespace tolvaren::platform::ip_helper_records {

// Byte layouts of the IP Helper records (IP_ADDR_STRING, IP_ADAPTER_INFO,
// FIXED_INFO) for the pointer size of this build. Records link to each other
// by real addresses of the process, written in the build's pointer size. The
// Windows backend checks these offsets against the SDK's own structures; the
// other backends and the fake write records with them, and the network
// information reads them.

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

}  // namespace tolvaren::platform::ip_helper_records
