#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/ip_helper.h"
#include "platform/ip_helper_record_writer.h"
#include "platform/ip_helper_records.h"

namespace tolvaren::platform::ip_helper_records {
namespace {

// Reads the records back the way a caller of the IP Helper library does.
struct Records {
  std::vector<std::uint8_t> bytes;

  // The offset a link at `at` leads to; -1 for a null link.
  long Link(std::size_t at) const {
    std::uintptr_t address = 0;
    std::memcpy(&address, bytes.data() + at, kPointerSize);
    if (address == 0) return -1;
    return static_cast<long>(address - reinterpret_cast<std::uintptr_t>(bytes.data()));
  }
  std::string Text(std::size_t at, std::size_t field) const {
    const char* start = reinterpret_cast<const char*>(bytes.data() + at);
    return std::string(start, strnlen(start, field));
  }
  std::uint32_t Word(std::size_t at) const {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
  }
  // address/mask texts of the list embedded at `at`, following its links.
  std::vector<std::string> List(std::size_t at) const {
    std::vector<std::string> items;
    for (long item = static_cast<long>(at); item >= 0; item = Link(static_cast<std::size_t>(item))) {
      EXPECT_LE(static_cast<std::size_t>(item) + address_string::kSize, bytes.size());
      items.push_back(Text(item + address_string::kAddress, kAddressTextSize) + "/" +
                      Text(item + address_string::kMask, kAddressTextSize));
    }
    return items;
  }
};

// Calls a writer the way the library's callers do: ask with a small buffer,
// then again with the size it asked for.
template <typename Write>
Records WriteTwice(Write write, std::uint32_t expectedSize) {
  Records records;
  std::uint32_t size = 0;
  EXPECT_EQ(write(nullptr, size), IpHelper::kBufferOverflow);
  EXPECT_EQ(size, expectedSize);
  records.bytes.assign(size - 1, 0xAA);
  std::uint32_t shortSize = size - 1;
  EXPECT_EQ(write(records.bytes.data(), shortSize), IpHelper::kBufferOverflow);
  EXPECT_EQ(shortSize, expectedSize);
  records.bytes.assign(size + 8, 0xAA);  // stale bytes the writer must clear
  std::uint32_t bigger = size + 8;
  EXPECT_EQ(write(records.bytes.data(), bigger), 0u);
  EXPECT_EQ(bigger, size + 8);  // a big enough size is left alone
  return records;
}

TEST(IpHelperRecordWriter, AdapterChain) {
  AdapterRecord first;
  first.adapterName = "{GUID-1}";
  first.description = "v0";
  first.hardwareAddress = {0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
  first.index = 7;
  first.ipAddresses = {{"10.77.1.10", "255.255.255.0"}, {"10.77.1.11", "255.255.0.0"}};
  first.gateways = {{"10.77.1.1", ""}};
  AdapterRecord second;
  second.description = std::string(200, 'd');
  second.hardwareAddress = std::vector<std::uint8_t>(10, 0xEE);
  second.type = interface_type::kLoopback;
  second.haveWins = true;
  second.secondaryWins = {{"1.1.1.1", "a"}, {"2.2.2.2", "b"}, {"255.255.255.2550", "c"}};

  const std::uint32_t needed = 2 * adapter::kSize + 3 * address_string::kSize;
  const Records r = WriteTwice(
      [&](std::uint8_t* b, std::uint32_t& s) {
        return WriteAdapters({first, second}, b, s);
      },
      needed);
  EXPECT_EQ(r.Link(adapter::kNext), static_cast<long>(adapter::kSize));
  EXPECT_EQ(r.Link(adapter::kSize + adapter::kNext), -1);
  EXPECT_EQ(r.Text(adapter::kAdapterName, kAdapterNameSize), "{GUID-1}");
  EXPECT_EQ(r.Text(adapter::kDescription, kDescriptionSize), "v0");
  EXPECT_EQ(r.Word(adapter::kAddressLength), 6u);
  EXPECT_EQ(r.bytes[adapter::kAddress + 5], 0x55);
  EXPECT_EQ(r.bytes[adapter::kAddress + 6], 0);
  EXPECT_EQ(r.Word(adapter::kIndex), 7u);
  EXPECT_EQ(r.Word(adapter::kType), interface_type::kEthernet);
  EXPECT_EQ(r.List(adapter::kIpAddressList),
            (std::vector<std::string>{"10.77.1.10/255.255.255.0", "10.77.1.11/255.255.0.0"}));
  EXPECT_EQ(r.List(adapter::kGatewayList), std::vector<std::string>{"10.77.1.1/"});
  EXPECT_EQ(r.List(adapter::kDhcpServer), std::vector<std::string>{"/"});  // empty: one empty item
  EXPECT_EQ(r.Word(adapter::kHaveWins), 0u);

  const std::size_t at = adapter::kSize;
  EXPECT_EQ(r.Text(at + adapter::kDescription, kDescriptionSize), std::string(kDescriptionSize - 1, 'd'));
  EXPECT_EQ(r.Word(at + adapter::kAddressLength), 8u);
  EXPECT_EQ(r.Word(at + adapter::kType), interface_type::kLoopback);
  EXPECT_EQ(r.Word(at + adapter::kHaveWins), 1u);
  EXPECT_EQ(r.List(at + adapter::kPrimaryWinsServer), std::vector<std::string>{"/"});
  EXPECT_EQ(r.List(at + adapter::kSecondaryWinsServer),
            (std::vector<std::string>{"1.1.1.1/a", "2.2.2.2/b", "255.255.255.255/c"}));
  for (std::size_t i = needed; i < r.bytes.size(); ++i) ASSERT_EQ(r.bytes[i], 0xAA) << "wrote past the records";
}

TEST(IpHelperRecordWriter, NoAdaptersIsNoData) {
  std::uint32_t size = 0;
  EXPECT_EQ(WriteAdapters({}, nullptr, size), IpHelper::kNoData);
  EXPECT_EQ(size, 0u);
}

TEST(IpHelperRecordWriter, NetworkParams) {
  struct Case {
    const char* what;
    NetworkParamsRecord params;
    std::uint32_t size;
    std::vector<std::string> servers;
    long current;  // offset of the current server record, -1: none
  };
  const std::size_t item = address_string::kSize;
  NetworkParamsRecord bare;
  bare.hostName = "h";
  NetworkParamsRecord full;
  full.hostName = "holdout-host";
  full.domainName = "example.test";
  full.currentDnsServer = "10.0.0.9";
  full.dnsServers = {"127.0.0.1", "10.0.0.53"};
  full.nodeType = node_type::kHybrid;
  full.scopeId = "scope";
  full.enableDns = 1;
  const Case cases[] = {
      {"no server", bare, network_params::kSize, {"/"}, -1},
      {"two servers and a current one",
       full,
       static_cast<std::uint32_t>(network_params::kSize + 2 * item),
       {"127.0.0.1/", "10.0.0.53/"},
       static_cast<long>(network_params::kSize + item)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Records r =
        WriteTwice([&](std::uint8_t* b, std::uint32_t& s) { return WriteNetworkParams(c.params, b, s); }, c.size);
    EXPECT_EQ(r.Text(network_params::kHostName, kHostNameSize), c.params.hostName);
    EXPECT_EQ(r.Text(network_params::kDomainName, kHostNameSize), c.params.domainName);
    EXPECT_EQ(r.List(network_params::kDnsServerList), c.servers);
    EXPECT_EQ(r.Link(network_params::kCurrentDnsServer), c.current);
    if (c.current >= 0) {
      EXPECT_EQ(r.List(static_cast<std::size_t>(c.current)), std::vector<std::string>{"10.0.0.9/"});
    }
    EXPECT_EQ(r.Word(network_params::kNodeType), c.params.nodeType);
    EXPECT_EQ(r.Text(network_params::kScopeId, kScopeIdSize), c.params.scopeId);
    EXPECT_EQ(r.Word(network_params::kEnableDns), c.params.enableDns);
  }
}

}  // namespace
}  // namespace tolvaren::platform::ip_helper_records
