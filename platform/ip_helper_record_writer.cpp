#include "platform/ip_helper_record_writer.h"

#include <algorithm>
#include <cstring>

#include "platform/ip_helper.h"

namespace tolvaren::platform::ip_helper_records {
namespace {

// Writes into one caller's buffer whose size was checked beforehand: the
// records first, then the extra list items, placed one after the other.
class RecordSpace {
 public:
  RecordSpace(std::uint8_t* buffer, std::size_t size) : buffer_(buffer) { std::memset(buffer_, 0, size); }

  // Takes the next `size` bytes; returns their offset.
  std::size_t Take(std::size_t size) {
    const std::size_t at = used_;
    used_ += size;
    return at;
  }

  void Text(std::size_t at, std::size_t field, const std::string& text) {
    const std::size_t length = std::min(text.size(), field - 1);
    std::memcpy(buffer_ + at, text.data(), length);  // the rest stays zero
  }

  void Word(std::size_t at, std::uint32_t value) { std::memcpy(buffer_ + at, &value, sizeof value); }

  // A link to a record at an offset of this buffer, as the process's own address.
  void Link(std::size_t at, std::size_t target) {
    const auto address = reinterpret_cast<std::uintptr_t>(buffer_ + target);
    static_assert(sizeof address == kPointerSize);
    std::memcpy(buffer_ + at, &address, kPointerSize);
  }

  void Bytes(std::size_t at, const std::uint8_t* bytes, std::size_t count) {
    if (count > 0) std::memcpy(buffer_ + at, bytes, count);  // an empty vector may have no data at all
  }

 private:
  std::uint8_t* buffer_;
  std::size_t used_ = 0;
};

std::size_t ExtraItems(const std::vector<AddressItem>& list) { return list.empty() ? 0 : list.size() - 1; }

std::size_t ExtraItems(const AdapterRecord& a) {
  return ExtraItems(a.ipAddresses) + ExtraItems(a.gateways) + ExtraItems(a.dhcpServers) + ExtraItems(a.primaryWins) +
         ExtraItems(a.secondaryWins);
}

void WriteItem(RecordSpace& space, std::size_t at, const AddressItem& item) {
  space.Text(at + address_string::kAddress, kAddressTextSize, item.address);
  space.Text(at + address_string::kMask, kAddressTextSize, item.mask);
}

// The first item is embedded at `at`; each further item takes a record of its
// own from the space, linked from the one before.
void WriteList(RecordSpace& space, std::size_t at, const std::vector<AddressItem>& list) {
  if (list.empty()) return;
  WriteItem(space, at, list.front());
  std::size_t previous = at;
  for (std::size_t i = 1; i < list.size(); ++i) {
    const std::size_t item = space.Take(address_string::kSize);
    WriteItem(space, item, list[i]);
    space.Link(previous + address_string::kNext, item);
    previous = item;
  }
}

// Reports the needed size, or false when the buffer cannot hold it.
bool Fits(std::size_t needed, const std::uint8_t* buffer, std::uint32_t& size) {
  const bool fits = buffer != nullptr && size >= needed;
  if (!fits) size = static_cast<std::uint32_t>(needed);
  return fits;
}

}  // namespace

std::uint32_t WriteAdapters(const std::vector<AdapterRecord>& adapters, std::uint8_t* buffer, std::uint32_t& size) {
  if (adapters.empty()) return IpHelper::kNoData;
  std::size_t needed = adapters.size() * adapter::kSize;
  for (const AdapterRecord& a : adapters) needed += ExtraItems(a) * address_string::kSize;
  if (!Fits(needed, buffer, size)) return IpHelper::kBufferOverflow;

  RecordSpace space(buffer, needed);
  std::vector<std::size_t> records;
  for (std::size_t i = 0; i < adapters.size(); ++i) records.push_back(space.Take(adapter::kSize));
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    const AdapterRecord& a = adapters[i];
    const std::size_t at = records[i];
    if (i + 1 < adapters.size()) space.Link(at + adapter::kNext, records[i + 1]);
    space.Word(at + adapter::kComboIndex, a.comboIndex);
    space.Text(at + adapter::kAdapterName, kAdapterNameSize, a.adapterName);
    space.Text(at + adapter::kDescription, kDescriptionSize, a.description);
    const std::size_t length = std::min(a.hardwareAddress.size(), kHardwareAddressSize);
    space.Word(at + adapter::kAddressLength, static_cast<std::uint32_t>(length));
    space.Bytes(at + adapter::kAddress, a.hardwareAddress.data(), length);
    space.Word(at + adapter::kIndex, a.index);
    space.Word(at + adapter::kType, a.type);
    space.Word(at + adapter::kDhcpEnabled, a.dhcpEnabled);
    WriteList(space, at + adapter::kIpAddressList, a.ipAddresses);
    WriteList(space, at + adapter::kGatewayList, a.gateways);
    WriteList(space, at + adapter::kDhcpServer, a.dhcpServers);
    space.Word(at + adapter::kHaveWins, a.haveWins ? 1 : 0);
    WriteList(space, at + adapter::kPrimaryWinsServer, a.primaryWins);
    WriteList(space, at + adapter::kSecondaryWinsServer, a.secondaryWins);
  }
  return 0;
}

std::uint32_t WriteNetworkParams(const NetworkParamsRecord& params, std::uint8_t* buffer, std::uint32_t& size) {
  std::vector<AddressItem> servers;
  for (const std::string& server : params.dnsServers) servers.push_back({server, {}});
  std::size_t needed = network_params::kSize + ExtraItems(servers) * address_string::kSize;
  if (params.currentDnsServer) needed += address_string::kSize;
  if (!Fits(needed, buffer, size)) return IpHelper::kBufferOverflow;

  RecordSpace space(buffer, needed);
  const std::size_t at = space.Take(network_params::kSize);
  space.Text(at + network_params::kHostName, kHostNameSize, params.hostName);
  space.Text(at + network_params::kDomainName, kHostNameSize, params.domainName);
  WriteList(space, at + network_params::kDnsServerList, servers);
  if (params.currentDnsServer) {
    const std::size_t current = space.Take(address_string::kSize);
    WriteItem(space, current, {*params.currentDnsServer, {}});
    space.Link(at + network_params::kCurrentDnsServer, current);
  }
  space.Word(at + network_params::kNodeType, params.nodeType);
  space.Text(at + network_params::kScopeId, kScopeIdSize, params.scopeId);
  space.Word(at + network_params::kEnableRouting, params.enableRouting);
  space.Word(at + network_params::kEnableProxy, params.enableProxy);
  space.Word(at + network_params::kEnableDns, params.enableDns);
  return 0;
}

}  // namespace tolvaren::platform::ip_helper_records
