#include "netinfo/tcpip.h"
#include "core/host.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/fake/fake_machine.h"
#include "platform/ip_helper_record_writer.h"
#include "platform/ip_helper_records.h"
#include "platform/registry_exception.h"
#include "tests/support/failure_of.h"

namespace tolvaren {
namespace {

namespace records = platform::ip_helper_records;
using records::AdapterRecord;
using records::NetworkParamsRecord;

constexpr char kSearchListKey[] = "[HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters]\n";

struct Gathered {
  explicit Gathered(const std::function<void(platform::fake::FakeMachine&)>& setUp = {}) {
    if (setUp) setUp(machine);
    tcpip.GetInfo();
  }
  platform::fake::FakeMachine machine;
  Host host{machine.platform(), ClassifyOs(platform::fake::kWindowsXp)};
  TTCPIP tcpip{host};
};

using Change = std::function<void(std::uint8_t* buffer, std::uint32_t size)>;

// Writes the adapters, then lets the test change the laid-out bytes.
platform::fake::FakeIpHelper::Call WrittenThenChanged(std::vector<AdapterRecord> adapters, Change change) {
  return [adapters, change](std::uint8_t* buffer, std::uint32_t& size) {
    const std::uint32_t result = records::WriteAdapters(adapters, buffer, size);
    if (result == 0) change(buffer, size);
    return result;
  };
}

void StoreAddress(std::uint8_t* at, std::uintptr_t address) { std::memcpy(at, &address, sizeof address); }

TEST(TcpIp, AdapterRecords) {
  AdapterRecord vmnet;
  vmnet.description = "  VMware Virtual Ethernet Adapter\t ";
  vmnet.hardwareAddress = {0x00, 0x50, 0x56, 0xc0, 0x00, 0x08};
  vmnet.dhcpEnabled = 0x100;  // only the low byte counts
  vmnet.ipAddresses = {{"192.168.56.1", "255.255.255.0"}, {"10.1.1.1", "255.0.0.0"}};
  vmnet.haveWins = true;
  AdapterRecord tunnel;
  tunnel.description = "Tunnel";
  tunnel.type = records::interface_type::kIeee80211;
  tunnel.dhcpEnabled = 1;
  AdapterRecord loopback;
  loopback.description = "Loopback";
  loopback.type = records::interface_type::kLoopback;

  const Gathered g([&](auto& m) { m.ipHelper.adapters = {vmnet, tunnel, loopback}; });
  ASSERT_EQ(g.tcpip.AdapterCount(), 3);
  const TAdapter& a = g.tcpip.GetAdapter(0);
  EXPECT_EQ(a.Name, "VMware Virtual Ethernet Adapter");
  EXPECT_EQ(a.Address, "00:50:56:C0:00:08");
  EXPECT_EQ(a.AdapterType, atEthernet);
  EXPECT_FALSE(a.DHCPEnabled);
  EXPECT_TRUE(a.HaveWINS);
  EXPECT_EQ(a.IPAddress.Items(), (std::vector<std::string>{"192.168.56.1", "10.1.1.1"}));
  EXPECT_EQ(a.IPMask.Items(), (std::vector<std::string>{"255.255.255.0", "255.0.0.0"}));
  // An empty list is one embedded item with empty texts.
  EXPECT_EQ(a.Gateway_IPAddress.Items(), (std::vector<std::string>{""}));
  const TAdapter& b = g.tcpip.GetAdapter(1);
  EXPECT_EQ(b.Address, "");
  EXPECT_EQ(b.AdapterType, atOther);
  EXPECT_TRUE(b.DHCPEnabled);
  EXPECT_FALSE(b.HaveWINS);
  EXPECT_EQ(g.tcpip.GetAdapter(2).AdapterType, atLoopback);
}

// Links that leave the buffer, or come back to a record already read, end
// the walk instead of being followed.
TEST(TcpIp, HostileLinksEndTheChains) {
  AdapterRecord one;
  one.description = "one";
  one.ipAddresses = {{"10.0.0.1", "255.0.0.0"}, {"10.0.0.2", "255.0.0.0"}};
  AdapterRecord two;
  two.description = "two";
  const std::size_t nextOfFirstItem = records::adapter::kIpAddressList + records::address_string::kNext;
  struct Case {
    const char* what;
    Change change;
    std::vector<std::string> adapters;
    std::vector<std::string> addressesOfOne;
  };
  const Case cases[] = {
      {"adapter link past the buffer",
       [](std::uint8_t* b, std::uint32_t size) { StoreAddress(b, reinterpret_cast<std::uintptr_t>(b) + size); },
       {"one"},
       {"10.0.0.1", "10.0.0.2"}},
      {"adapter link before the buffer",
       [](std::uint8_t* b, std::uint32_t) { StoreAddress(b, 16); },
       {"one"},
       {"10.0.0.1", "10.0.0.2"}},
      {"second adapter links back to the first",
       [](std::uint8_t* b, std::uint32_t) {
         StoreAddress(b + records::adapter::kSize, reinterpret_cast<std::uintptr_t>(b));
       },
       {"one", "two"},
       {"10.0.0.1", "10.0.0.2"}},
      {"address item links to its own list",
       [=](std::uint8_t* b, std::uint32_t) {
         StoreAddress(b + nextOfFirstItem, reinterpret_cast<std::uintptr_t>(b + records::adapter::kIpAddressList));
       },
       {"one", "two"},
       {"10.0.0.1"}},
      {"address item links to the buffer's last bytes",
       [=](std::uint8_t* b, std::uint32_t size) {
         StoreAddress(b + nextOfFirstItem, reinterpret_cast<std::uintptr_t>(b) + size - 8);
       },
       {"one", "two"},
       {"10.0.0.1"}},
  };
  for (const Case& c : cases) {
    const Gathered g([&](auto& m) { m.ipHelper.adaptersInfo = WrittenThenChanged({one, two}, c.change); });
    std::vector<std::string> names;
    for (std::uint16_t i = 0; i < g.tcpip.AdapterCount(); ++i) names.push_back(g.tcpip.GetAdapter(i).Name);
    EXPECT_EQ(names, c.adapters) << c.what;
    if (!names.empty()) {
      EXPECT_EQ(g.tcpip.GetAdapter(0).IPAddress.Items(), c.addressesOfOne) << c.what;
    }
  }
}

TEST(TcpIp, BufferGrowsToTwiceTheSizeAsked) {
  AdapterRecord one;
  const Gathered g([&](auto& m) {
    m.ipHelper.adaptersInfo = [one](std::uint8_t* buffer, std::uint32_t& size) -> std::uint32_t {
      if (size < 2560) {
        size = 1280;
        return platform::IpHelper::kBufferOverflow;
      }
      return records::WriteAdapters({one}, buffer, size);
    };
    m.ipHelper.params = NetworkParamsRecord{};
  });
  EXPECT_EQ(g.tcpip.AdapterCount(), 1);
  EXPECT_EQ(g.machine.ipHelper.adapterBufferSizes,
            (std::vector<std::uint32_t>{static_cast<std::uint32_t>(records::adapter::kSize), 2560}));
  EXPECT_EQ(g.machine.ipHelper.paramsBufferSizes,
            (std::vector<std::uint32_t>{static_cast<std::uint32_t>(records::network_params::kSize)}));
}

TEST(TcpIp, DnsServerLists) {
  struct Case {
    std::vector<std::string> servers;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {{"192.168.1.1", "8.8.8.8"}, {"192.168.1.1", "8.8.8.8"}},
      {{"10.0.0.1", "10.0.0.1", "10.0.0.2"}, {"10.0.0.1", "10.0.0.1", "10.0.0.2"}},  // a repeat ends nothing
      {{"10.0.0.1", "10.0.0.2", "10.0.0.1"}, {"10.0.0.1", "10.0.0.2", "10.0.0.1"}},
      {{}, {""}},
  };
  for (const Case& c : cases) {
    NetworkParamsRecord params;
    params.dnsServers = c.servers;
    const Gathered g([&](auto& m) { m.ipHelper.params = params; });
    EXPECT_EQ(g.tcpip.DNSServers().Items(), c.expected) << c.servers.size();
  }
}

TEST(TcpIp, NetworkParameters) {
  NetworkParamsRecord params;
  params.hostName = "pc42";
  params.domainName = "example.com";
  params.currentDnsServer = "192.168.1.1";
  params.nodeType = records::node_type::kHybrid;
  params.scopeId = "scope";
  params.enableRouting = 0x100;
  params.enableProxy = 1;
  params.enableDns = 1;
  const Gathered g([&](auto& m) { m.ipHelper.params = params; });
  EXPECT_EQ(g.tcpip.HostName(), "pc42");
  EXPECT_EQ(g.tcpip.DomainName(), "example.com");
  EXPECT_EQ(g.tcpip.PrimaryDNSSuffix(), "192.168.1.1");
  EXPECT_EQ(g.tcpip.NodeType(), ntHybrid);
  EXPECT_EQ(g.tcpip.DHCPScopeName(), "scope");
  EXPECT_FALSE(g.tcpip.EnableRouting());
  EXPECT_TRUE(g.tcpip.EnableProxy());
  EXPECT_TRUE(g.tcpip.EnableDNS());

  for (const std::uint32_t code : {0u, 3u, 16u}) {
    params.nodeType = code;
    params.currentDnsServer.reset();
    const Gathered other([&](auto& m) { m.ipHelper.params = params; });
    EXPECT_EQ(other.tcpip.NodeType(), ntUnknown) << code;
    EXPECT_EQ(other.tcpip.PrimaryDNSSuffix(), "");
  }
}

TEST(TcpIp, SearchList) {
  struct Case {
    const char* value;  // registry line, none for no value
    std::vector<std::string> suffixes;
  };
  const Case cases[] = {
      {nullptr, {""}},
      {"SearchList = sz:a.example,b.example", {"a.example", "b.example"}},
      {"SearchList = sz:a.example, b.example,", {"a.example", " b.example", ""}},
  };
  for (const Case& c : cases) {
    const Gathered g([&](auto& m) {
      if (c.value != nullptr) m.registry.Load(std::string(kSearchListKey) + c.value);
      m.ipHelper.params = NetworkParamsRecord{};
    });
    EXPECT_EQ(g.tcpip.DNSSuffixes().Items(), c.suffixes) << (c.value ? c.value : "none");
  }
}

// The search list is read after the DNS servers and before the host name.
TEST(TcpIp, SearchListOfTheWrongTypeEndsTheGathering) {
  platform::fake::FakeMachine machine;
  machine.registry.Load(std::string(kSearchListKey) + "SearchList = dword:1");
  NetworkParamsRecord params;
  params.hostName = "pc42";
  params.dnsServers = {"10.0.0.1"};
  params.nodeType = records::node_type::kBroadcast;
  machine.ipHelper.params = params;
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TTCPIP tcpip(host);
  EXPECT_EQ(testing::FailureOf<ERegistryException>([&] { tcpip.GetInfo(); }), "Invalid data type for 'SearchList'");
  EXPECT_EQ(tcpip.DNSServers().Items(), (std::vector<std::string>{"10.0.0.1"}));
  EXPECT_EQ(tcpip.NodeType(), ntBroadcast);
  EXPECT_EQ(tcpip.HostName(), "");
}

TEST(TcpIp, WithoutTheLibraryNothingIsAsked) {
  const Gathered g([](auto& m) {
    m.ipHelper.bound = false;
    m.ipHelper.adapters = {AdapterRecord{}};
    m.ipHelper.params = NetworkParamsRecord{};
  });
  EXPECT_EQ(g.tcpip.AdapterCount(), 0);
  EXPECT_EQ(g.tcpip.DNSServers().Count(), 0);
  EXPECT_TRUE(g.machine.ipHelper.adapterBufferSizes.empty());
}

}  // namespace
}  // namespace tolvaren
