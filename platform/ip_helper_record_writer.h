#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvaren::platform::ip_helper_records {

// The values of one IP_ADDR_STRING list item.
struct AddressItem {
  std::string address;
  std::string mask;
};

// The values of one IP_ADAPTER_INFO record.
struct AdapterRecord {
  std::string adapterName, description;
  std::vector<std::uint8_t> hardwareAddress;  // up to 8 bytes; length written as AddressLength
  std::uint32_t comboIndex = 0, index = 0, type = 6, dhcpEnabled = 0;
  std::vector<AddressItem> ipAddresses, gateways, dhcpServers;  // empty: one embedded item with empty texts
  bool haveWins = false;
  std::vector<AddressItem> primaryWins, secondaryWins;
};

// The values of the FIXED_INFO record.
struct NetworkParamsRecord {
  std::string hostName, domainName;
  std::optional<std::string> currentDnsServer;  // written as a separate IP_ADDR_STRING the pointer leads to
  std::vector<std::string> dnsServers;          // empty: one embedded item with empty texts
  std::uint32_t nodeType = 0;
  std::string scopeId;
  std::uint32_t enableRouting = 0, enableProxy = 0, enableDns = 0;
};

constexpr std::uint32_t kBufferOverflow = 111;  // ERROR_BUFFER_OVERFLOW
constexpr std::uint32_t kNoData = 232;          // ERROR_NO_DATA

// Lays the records out in the buffer as the IP Helper library does (chained by
// real addresses inside the buffer). Returns 0; or 111 with the needed size in
// `size` when `size` is too small; WriteAdapters returns 232 for an empty list.
// Texts longer than their field are cut so a zero byte always ends them.
std::uint32_t WriteAdapters(const std::vector<AdapterRecord>& adapters, std::uint8_t* buffer, std::uint32_t& size);
std::uint32_t WriteNetworkParams(const NetworkParamsRecord& params, std::uint8_t* buffer, std::uint32_t& size);

}  // namespace tolvaren::platform::ip_helper_records
