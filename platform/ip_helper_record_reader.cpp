#include "platform/ip_helper_record_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <utility>

namespace tolvaren::platform::ip_helper_records {
namespace {

std::uint32_t Word(ByteView buffer, std::size_t at) { return buffer.Native<std::uint32_t>(at).value_or(0); }

// The offset of the record of `recordSize` bytes that the link at `at`
// names; nothing when the link is null or the record does not lie wholly
// inside the buffer.
std::optional<std::size_t> LinkTarget(ByteView buffer, std::size_t at, std::size_t recordSize) {
  const std::uintptr_t target = buffer.Native<std::uintptr_t>(at).value_or(0);
  const auto base = reinterpret_cast<std::uintptr_t>(buffer.Data());
  if (target == 0 || target < base || target - base > buffer.Size()) return std::nullopt;
  const auto offset = static_cast<std::size_t>(target - base);
  if (!buffer.Holds(offset, recordSize)) return std::nullopt;
  return offset;
}

// Visits the records of a chain from `first`, each linking to the next by
// the pointer `link` bytes into it, until a link is null, leaves the buffer
// or comes back to a record already visited.
template <typename Visit>
void WalkChain(ByteView buffer, std::optional<std::size_t> first, std::size_t link, std::size_t recordSize,
               Visit visit) {
  std::unordered_set<std::size_t> visited;
  for (auto record = first; record && visited.insert(*record).second;
       record = LinkTarget(buffer, *record + link, recordSize)) {
    visit(*record);
  }
}

// One address list: the item embedded at `embedded`, then the items it links to.
std::vector<AddressItem> ReadAddressList(ByteView buffer, std::size_t embedded) {
  std::vector<AddressItem> items;
  WalkChain(buffer, embedded, address_string::kNext, address_string::kSize, [&](std::size_t item) {
    items.push_back({buffer.ZeroTerminatedText(item + address_string::kAddress, kAddressTextSize),
                     buffer.ZeroTerminatedText(item + address_string::kMask, kAddressTextSize)});
  });
  return items;
}

AdapterRecord ReadAdapter(ByteView buffer, std::size_t at) {
  AdapterRecord a;
  a.comboIndex = Word(buffer, at + adapter::kComboIndex);
  a.adapterName = buffer.ZeroTerminatedText(at + adapter::kAdapterName, kAdapterNameSize);
  a.description = buffer.ZeroTerminatedText(at + adapter::kDescription, kDescriptionSize);
  const std::size_t length = std::min<std::size_t>(Word(buffer, at + adapter::kAddressLength), kHardwareAddressSize);
  const ByteView address = buffer.Sub(at + adapter::kAddress, length);
  a.hardwareAddress.assign(address.Span().begin(), address.Span().end());
  a.index = Word(buffer, at + adapter::kIndex);
  a.type = Word(buffer, at + adapter::kType);
  a.dhcpEnabled = Word(buffer, at + adapter::kDhcpEnabled);
  a.ipAddresses = ReadAddressList(buffer, at + adapter::kIpAddressList);
  a.gateways = ReadAddressList(buffer, at + adapter::kGatewayList);
  a.dhcpServers = ReadAddressList(buffer, at + adapter::kDhcpServer);
  a.haveWins = Word(buffer, at + adapter::kHaveWins) != 0;
  a.primaryWins = ReadAddressList(buffer, at + adapter::kPrimaryWinsServer);
  a.secondaryWins = ReadAddressList(buffer, at + adapter::kSecondaryWinsServer);
  return a;
}

}  // namespace

std::vector<AdapterRecord> ReadAdapters(ByteView buffer) {
  std::vector<AdapterRecord> adapters;
  std::optional<std::size_t> first;
  if (buffer.Holds(0, adapter::kSize)) first = 0;
  WalkChain(buffer, first, adapter::kNext, adapter::kSize,
            [&](std::size_t record) { adapters.push_back(ReadAdapter(buffer, record)); });
  return adapters;
}

NetworkParamsRecord ReadNetworkParams(ByteView buffer) {
  NetworkParamsRecord params;
  params.hostName = buffer.ZeroTerminatedText(network_params::kHostName, kHostNameSize);
  params.domainName = buffer.ZeroTerminatedText(network_params::kDomainName, kHostNameSize);
  if (const auto current = LinkTarget(buffer, network_params::kCurrentDnsServer, address_string::kSize)) {
    params.currentDnsServer = buffer.ZeroTerminatedText(*current + address_string::kAddress, kAddressTextSize);
  }
  // A server named twice stays twice: the system lists it so (two equal
  // resolv.conf lines under Wine), and the servers after it are the system's.
  for (AddressItem& server : ReadAddressList(buffer, network_params::kDnsServerList)) {
    params.dnsServers.push_back(std::move(server.address));
  }
  params.nodeType = Word(buffer, network_params::kNodeType);
  params.scopeId = buffer.ZeroTerminatedText(network_params::kScopeId, kScopeIdSize);
  params.enableRouting = Word(buffer, network_params::kEnableRouting);
  params.enableProxy = Word(buffer, network_params::kEnableProxy);
  params.enableDns = Word(buffer, network_params::kEnableDns);
  return params;
}

}  // namespace tolvaren::platform::ip_helper_records
