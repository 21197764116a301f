#include <windows.h>

#include <iphlpapi.h>

#include <cstddef>
#include <cstdint>

#include "platform/ip_helper_records.h"
#include "platform/win32/module_entry.h"
#include "platform/win32/win32_network.h"

namespace tolvaren::platform::win32_backend {
namespace {

// The layouts the network information reads must be the SDK's own.
namespace records = ip_helper_records;
static_assert(sizeof(IP_ADDR_STRING) == records::address_string::kSize);
static_assert(offsetof(IP_ADDR_STRING, Next) == records::address_string::kNext);
static_assert(offsetof(IP_ADDR_STRING, IpAddress) == records::address_string::kAddress);
static_assert(offsetof(IP_ADDR_STRING, IpMask) == records::address_string::kMask);
static_assert(offsetof(IP_ADDR_STRING, Context) == records::address_string::kContext);

static_assert(sizeof(IP_ADAPTER_INFO) == records::adapter::kSize);
static_assert(offsetof(IP_ADAPTER_INFO, Next) == records::adapter::kNext);
static_assert(offsetof(IP_ADAPTER_INFO, ComboIndex) == records::adapter::kComboIndex);
static_assert(offsetof(IP_ADAPTER_INFO, AdapterName) == records::adapter::kAdapterName);
static_assert(offsetof(IP_ADAPTER_INFO, Description) == records::adapter::kDescription);
static_assert(offsetof(IP_ADAPTER_INFO, AddressLength) == records::adapter::kAddressLength);
static_assert(offsetof(IP_ADAPTER_INFO, Address) == records::adapter::kAddress);
static_assert(offsetof(IP_ADAPTER_INFO, Index) == records::adapter::kIndex);
static_assert(offsetof(IP_ADAPTER_INFO, Type) == records::adapter::kType);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpEnabled) == records::adapter::kDhcpEnabled);
static_assert(offsetof(IP_ADAPTER_INFO, CurrentIpAddress) == records::adapter::kCurrentIpAddress);
static_assert(offsetof(IP_ADAPTER_INFO, IpAddressList) == records::adapter::kIpAddressList);
static_assert(offsetof(IP_ADAPTER_INFO, GatewayList) == records::adapter::kGatewayList);
static_assert(offsetof(IP_ADAPTER_INFO, DhcpServer) == records::adapter::kDhcpServer);
static_assert(offsetof(IP_ADAPTER_INFO, HaveWins) == records::adapter::kHaveWins);
static_assert(offsetof(IP_ADAPTER_INFO, PrimaryWinsServer) == records::adapter::kPrimaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, SecondaryWinsServer) == records::adapter::kSecondaryWinsServer);
static_assert(offsetof(IP_ADAPTER_INFO, LeaseObtained) == records::adapter::kLeaseObtained);
static_assert(sizeof(IP_ADAPTER_INFO::AdapterName) == records::kAdapterNameSize);
static_assert(sizeof(IP_ADAPTER_INFO::Description) == records::kDescriptionSize);
static_assert(sizeof(IP_ADAPTER_INFO::Address) == records::kHardwareAddressSize);

static_assert(sizeof(FIXED_INFO) == records::network_params::kSize);
static_assert(offsetof(FIXED_INFO, HostName) == records::network_params::kHostName);
static_assert(offsetof(FIXED_INFO, DomainName) == records::network_params::kDomainName);
static_assert(offsetof(FIXED_INFO, CurrentDnsServer) == records::network_params::kCurrentDnsServer);
static_assert(offsetof(FIXED_INFO, DnsServerList) == records::network_params::kDnsServerList);
static_assert(offsetof(FIXED_INFO, NodeType) == records::network_params::kNodeType);
static_assert(offsetof(FIXED_INFO, ScopeId) == records::network_params::kScopeId);
static_assert(offsetof(FIXED_INFO, EnableRouting) == records::network_params::kEnableRouting);
static_assert(offsetof(FIXED_INFO, EnableProxy) == records::network_params::kEnableProxy);
static_assert(offsetof(FIXED_INFO, EnableDns) == records::network_params::kEnableDns);
static_assert(sizeof(FIXED_INFO::HostName) == records::kHostNameSize);
static_assert(sizeof(FIXED_INFO::ScopeId) == records::kScopeIdSize);

// The codes the records and calls hold must be the SDK's own.
static_assert(IpHelper::kBufferOverflow == ERROR_BUFFER_OVERFLOW);
static_assert(IpHelper::kNoData == ERROR_NO_DATA);
static_assert(records::interface_type::kOther == MIB_IF_TYPE_OTHER);
static_assert(records::interface_type::kEthernet == MIB_IF_TYPE_ETHERNET);
static_assert(records::interface_type::kTokenRing == MIB_IF_TYPE_TOKENRING);
static_assert(records::interface_type::kFddi == MIB_IF_TYPE_FDDI);
static_assert(records::interface_type::kPpp == MIB_IF_TYPE_PPP);
static_assert(records::interface_type::kLoopback == MIB_IF_TYPE_LOOPBACK);
static_assert(records::interface_type::kSlip == MIB_IF_TYPE_SLIP);
static_assert(records::interface_type::kIeee80211 == IF_TYPE_IEEE80211);
static_assert(records::interface_type::kTunnel == IF_TYPE_TUNNEL);
static_assert(records::node_type::kBroadcast == BROADCAST_NODETYPE);
static_assert(records::node_type::kPeerToPeer == PEER_TO_PEER_NODETYPE);
static_assert(records::node_type::kMixed == MIXED_NODETYPE);
static_assert(records::node_type::kHybrid == HYBRID_NODETYPE);

#ifndef _WIN64
static_assert(sizeof(IP_ADAPTER_INFO) == 640 && sizeof(FIXED_INFO) == 584 && sizeof(IP_ADDR_STRING) == 40);
#endif

// A handle this low is an error code of the 16-bit era, not a module.
constexpr std::uintptr_t kLowestModule = 32;

std::uint32_t Forward(DWORD(WINAPI* call)(void*, ULONG*), std::uint8_t* buffer, std::uint32_t& size) {
  ULONG length = size;
  const DWORD result = call(buffer, &length);
  size = length;
  return result;
}

}  // namespace

Win32IpHelper::Win32IpHelper() : module_(LoadLibraryA("iphlpapi.dll")) {
  if (reinterpret_cast<std::uintptr_t>(module_) > kLowestModule) {
    getAdaptersInfo_ = ModuleEntry<RecordsFn>(module_, "GetAdaptersInfo");
    getNetworkParams_ = ModuleEntry<RecordsFn>(module_, "GetNetworkParams");
  }
}

Win32IpHelper::~Win32IpHelper() {
  if (module_ != nullptr) FreeLibrary(module_);
  module_ = nullptr;
}

bool Win32IpHelper::Bound() const {
  return module_ != nullptr && getAdaptersInfo_ != nullptr && getNetworkParams_ != nullptr;
}

std::uint32_t Win32IpHelper::GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) {
  return Bound() ? Forward(getAdaptersInfo_, buffer, size) : ERROR_NOT_SUPPORTED;
}

std::uint32_t Win32IpHelper::GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) {
  return Bound() ? Forward(getNetworkParams_, buffer, size) : ERROR_NOT_SUPPORTED;
}

}  // namespace tolvaren::platform::win32_backend
