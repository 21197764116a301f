#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "platform/ip_helper_records.h"
#include "platform/ipv4_address.h"
#include "platform/linux/linux_network.h"
#include "platform/linux/network_sources.h"

namespace tolvaren::platform::linux_backend {
namespace {

TEST(NetworkSources, ResolvConfServers) {
  const struct {
    const char* text;
    std::vector<std::string> servers;
  } cases[] = {
      {"nameserver 127.0.0.1\nnameserver ::1\nnameserver\t10.77.1.53  # office\n", {"127.0.0.1", "10.77.1.53"}},
      // The resolver's own line rules: the keyword first on the line, the
      // address ended by a blank or the line end alone.
      {"search example.test\n# nameserver 1.1.1.1\n nameserver 9.9.9.9\nnameserver 8.8.8.8\r\n", {}},
      {"nameserver 256.0.0.1\nnameserver 1.2.3.4x\nnameserver 08.1.1.1\nnameservers 1.1.1.1\nnameserver", {}},
      // inet_aton's forms: octal, hexadecimal, fewer parts.
      {"nameserver 127.0.0.054\nnameserver 0x7f.1\nnameserver 1.2.3\n", {"127.0.0.44", "127.0.0.1", "1.2.0.3"}},
      // Three servers at most, IPv6 ones counted; lines the resolver skips are not.
      {"nameserver 10.0.0.1\nnameserver bad\nnameserver fe80::1%eth0\nnameserver 10.0.0.2\nnameserver 10.0.0.3\n",
       {"10.0.0.1", "10.0.0.2"}},
      {"nameserver 10.0.0.1\nnameserver 10.0.0.1\nnameserver 10.0.0.2\nnameserver 10.0.0.3\n",
       {"10.0.0.1", "10.0.0.1", "10.0.0.2"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolvConfIpv4Servers(c.text), c.servers) << c.text;
}

// Every text of one to four parts drawn from awkward pieces reads as glibc's
// inet_aton reads it (those texts hold no blank, which inet_aton would end at).
TEST(NetworkSources, InetAtonSyntaxIsGlibcs) {
  const std::vector<std::string> pieces = {"",           "0",          "1",   "8",   "08",    "0x",
                                           "0x1f",       "0XfF",       "255", "256", "0377",  "0400",
                                           "4294967295", "4294967296", "x",   "-1",  "65535", "0x100"};
  std::vector<std::string> texts = {""};
  std::size_t checked = 0;
  for (int parts = 1; parts <= 4; ++parts) {
    std::vector<std::string> longer;
    for (const std::string& head : texts) {
      for (const std::string& piece : pieces) longer.push_back(parts == 1 ? piece : head + "." + piece);
    }
    texts = std::move(longer);
    for (const std::string& text : texts) {
      in_addr system{};
      std::optional<Ipv4Bytes> expected;
      if (inet_aton(text.c_str(), &system) != 0) {
        expected.emplace();
        std::memcpy(expected->data(), &system.s_addr, 4);
      }
      ASSERT_EQ(ParseIpv4(text, Ipv4Syntax::kInetAton), expected) << text;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100000u);
}

TEST(NetworkSources, DefaultRoutesOfProcNetRoute) {
  // Little-endian words, as this machine's kernel prints them.
  const char* table =
      "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
      "v0\t00000000\t01014D0A\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
      "w0\t00024D0A\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
      "w0\t00000000\t01024D0A\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
      "x0\t00000000\t01034D0A\t0002\t0\t0\t0\t00000000\t0\t0\t0\n"  // not up
      "bad\t0000000G\t0\t3\t0\t0\t0\t0\n";
  const std::vector<DefaultRoute> routes = ParseDefaultRoutes(table);
  ASSERT_EQ(routes.size(), 2u);
  EXPECT_EQ(routes[0].interfaceName, "v0");
  EXPECT_EQ(routes[0].gateway, (Ipv4Bytes{10, 77, 1, 1}));
  EXPECT_EQ(routes[1].interfaceName, "w0");
  EXPECT_EQ(routes[1].metric, 100u);
}

TEST(NetworkSources, HostNameSplitsAtTheFirstDot) {
  EXPECT_EQ(SplitHostName("holdout-host.example.test"),
            (std::pair<std::string, std::string>{"holdout-host", "example.test"}));
  EXPECT_EQ(SplitHostName("pc"), (std::pair<std::string, std::string>{"pc", ""}));
  EXPECT_EQ(SplitHostName(".x"), (std::pair<std::string, std::string>{"", "x"}));
}

// lo, v0 (two addresses), v1 (no IPv4), d0 (no hardware address), w0, down0.
std::vector<NetworkInterface> Machine() {
  const std::vector<std::uint8_t> mac{0x02, 0x11, 0x22, 0x33, 0x44, 0x55};
  return {
      {"w0", 7, true, false, 1, {0x02, 0, 0, 0, 0, 7}, {{{10, 77, 2, 20}, {255, 255, 255, 0}}}},
      {"lo", 1, true, true, 772, {0, 0, 0, 0, 0, 0}, {{{127, 0, 0, 1}, {255, 0, 0, 0}}}},
      {"v0", 3, true, false, 1, mac, {{{10, 77, 1, 10}, {255, 255, 255, 0}}, {{10, 77, 1, 11}, {255, 255, 0, 0}}}},
      {"v1", 4, true, false, 1, {0x02, 0, 0, 0, 0, 4}, {}},
      {"d0", 5, true, false, 65534, {}, {{{10, 77, 3, 30}, {255, 255, 255, 0}}}},
      {"down0", 8, false, false, 1, {0x02, 0, 0, 0, 0, 8}, {{{10, 77, 4, 40}, {255, 255, 255, 0}}}},
  };
}

TEST(NetworkSources, OwnAddressesPutDefaultRouteInterfacesFirst) {
  using Addresses = std::vector<Ipv4Bytes>;
  const Addresses indexOrder{{10, 77, 1, 10}, {10, 77, 3, 30}, {10, 77, 2, 20}};
  EXPECT_EQ(OwnHostAddresses(Machine(), {}), indexOrder);
  EXPECT_EQ(OwnHostAddresses(Machine(), {{"w0", {10, 77, 2, 1}, 0}}),
            (Addresses{{10, 77, 2, 20}, {10, 77, 1, 10}, {10, 77, 3, 30}}));
  EXPECT_EQ(OwnHostAddresses(Machine(), {{"w0", {}, 10}, {"d0", {}, 5}}),
            (Addresses{{10, 77, 3, 30}, {10, 77, 2, 20}, {10, 77, 1, 10}}));
}

TEST(NetworkSources, NetbiosAdaptersAndIpHelperRecords) {
  const std::vector<NetworkInterface> machine = Machine();
  std::vector<std::string> lanas;
  for (const NetworkInterface* i : NetbiosAdapters(machine)) lanas.push_back(i->name);
  EXPECT_EQ(lanas, (std::vector<std::string>{"v0", "w0"}));

  const auto records = AdapterRecords(machine, {{"v0", {10, 77, 1, 1}, 0}});
  std::vector<std::string> names;
  for (const auto& r : records) names.push_back(r.description);
  EXPECT_EQ(names, (std::vector<std::string>{"v0", "v1", "d0", "w0", "down0"}));
  EXPECT_EQ(records[0].adapterName, "{00000003-0000-0000-0000-4E6574446576}");
  EXPECT_EQ(records[0].ipAddresses.size(), 2u);
  EXPECT_EQ(records[0].ipAddresses[1].mask, "255.255.0.0");
  EXPECT_EQ(records[0].gateways[0].address, "10.77.1.1");
  EXPECT_EQ(records[1].ipAddresses[0].address, "0.0.0.0");
  EXPECT_EQ(records[1].gateways[0].address, "0.0.0.0");
  EXPECT_EQ(records[2].type, ip_helper_records::interface_type::kOther);  // no Ethernet
  EXPECT_EQ(records[3].type, ip_helper_records::interface_type::kEthernet);

  const auto params = NetworkParams("pc.example.test", "nameserver ::1\n");
  EXPECT_EQ(params.dnsServers, std::vector<std::string>{});  // written as one empty item
  EXPECT_EQ(params.currentDnsServer, "");
  EXPECT_EQ(params.nodeType, ip_helper_records::node_type::kHybrid);
}

// The backends on this machine, with a resolv.conf of the test's own.
TEST(LinuxNetwork, BackendsAnswerWithTheCallersBuffers) {
  NetworkFiles files;
  files.resolvConf = TOLVAREN_BINARY_DIR "/network-test-resolv.conf";
  std::ofstream(files.resolvConf) << "nameserver 192.0.2.53\nnameserver 192.0.2.54\n";
  NetworkSnapshot network(files);
  LinuxIpHelper ipHelper(network);
  std::uint32_t size = 0;
  ASSERT_EQ(ipHelper.GetNetworkParams(nullptr, size), IpHelper::kBufferOverflow);
  std::vector<std::uint8_t> buffer(size);
  EXPECT_EQ(ipHelper.GetNetworkParams(buffer.data(), size), 0u);
  namespace records = ip_helper_records;
  EXPECT_STREQ(reinterpret_cast<const char*>(buffer.data() + records::network_params::kDnsServerList +
                                             records::address_string::kAddress),
               "192.0.2.53");
  EXPECT_EQ(buffer[records::network_params::kNodeType], records::node_type::kHybrid);

  LinuxNetbios netbios(network);
  std::vector<std::uint8_t> lanas(kLanaEnumSize, 0xAA);
  NetbiosControlBlock block;
  block.command = kNcbEnumerate;
  block.buffer = lanas.data();
  block.length = kLanaEnumSize - 1;
  EXPECT_EQ(netbios.Submit(block), kNrcBufferLength);  // Wine wants a whole LANA_ENUM
  EXPECT_EQ(lanas[0], 0xAA);
  block.length = kLanaEnumSize;
  EXPECT_EQ(netbios.Submit(block), kNrcGood);
  block.command = kNcbAdapterStatus;
  block.lanaNumber = 200;
  EXPECT_EQ(netbios.Submit(block), kNrcBridge);

  LinuxWinsock winsock(network);
  const auto startup = winsock.StartUp(0x0101);
  ASSERT_TRUE(startup.has_value());
  EXPECT_EQ(startup->systemStatus, "Running");
  EXPECT_EQ(startup->highVersion, 0x0202);
  EXPECT_FALSE(winsock.LookUpHost("no-such-host.invalid").has_value());
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
