#include "netinfo/network.h"
#include "core/host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/exception.h"
#include "platform/fake/fake_machine.h"
#include "platform/ip_helper_records.h"
#include "tests/support/failure_of.h"
#include "tests/support/machine_scenarios.h"

namespace tolvaren {
namespace {

using platform::fake::FakeMachine;
using platform::fake::FakeNetbios;
using Strings = std::vector<std::string>;

constexpr char kNetworkCards[] = R"(
[HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\NetworkCards\1]
Description = sz:AMD PCNET Family Ethernet Adapter
[HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\NetworkCards\2]
)";

constexpr std::array<std::uint8_t, 6> kMacA{0x00, 0x0c, 0x29, 0xab, 0x0d, 0xef};
constexpr std::array<std::uint8_t, 6> kMacB{0x00, 0x50, 0x56, 0xc0, 0x00, 0x08};

TEST(Network, AdaptersFromDevicesAndNetworkCards) {
  struct Case {
    const char* what;
    platform::VersionRecord version;
    bool devices;
    Strings adapters;
    int cardIndex;
    std::string cardName;
  };
  const std::string intel = "Intel(R) PRO/1000 MT Network Connection #2";
  const std::string amd = "AMD PCNET Family Ethernet Adapter";
  const Case cases[] = {
      {"XP: devices only", platform::fake::kWindowsXp, true, {intel}, 0, intel},
      {"NT4: cards after the devices", platform::fake::kWindowsNT4, true, {intel, amd, ""}, 0, intel},
      {"2000 with a located device: no cards", platform::fake::kWindows2000, true, {intel}, 0, intel},
      {"2000 without devices: cards", platform::fake::kWindows2000, false, {amd, ""}, 0, amd},
      {"10: nothing", platform::fake::kWindows10, true, {}, -1, "<not detected>"},
  };
  for (const Case& c : cases) {
    FakeMachine machine;
    if (c.devices) machine.registry.Load(testing::kNtDeviceTree);
    machine.registry.Load(kNetworkCards);
    Host host(machine.platform(), ClassifyOs(c.version));
    TNetwork network(host);
    network.GetInfo();
    EXPECT_EQ(network.Adapters().Items(), c.adapters) << c.what;
    EXPECT_EQ(network.CardAdapterIndex(), c.cardIndex) << c.what;
    EXPECT_EQ(network.CardAdapterName(), c.cardName) << c.what;
  }
}

TEST(Network, MacAddressPerNetbiosAdapter) {
  struct Case {
    const char* what;
    std::vector<FakeNetbios::Lana> lanas;
    Strings macs;
  };
  const Case cases[] = {
      {"failing status between two good ones",
       {{0, kMacA, 0, 0}, {3, {}, 0, platform::kNrcBridge}, {5, kMacB, 0, 0}},
       {"00:0C:29:AB:0D:EF", "??:??:??:??:??:??", "00:50:56:C0:00:08"}},
      {"two LANAs on one adapter", {{0, kMacA, 0, 0}, {1, kMacA, 0, 0}}, {"00:0C:29:AB:0D:EF"}},
      {"failed reset skips the LANA", {{0, kMacA, platform::kNrcBridge, 0}, {1, kMacB, 0, 0}}, {"00:50:56:C0:00:08"}},
      {"two failing status queries", {{0, {}, 0, 1}, {1, {}, 0, 1}}, {"??:??:??:??:??:??"}},
      {"all-zero address", {{0, {}, 0, 0}}, {"00:00:00:00:00:00"}},
      {"no LANA", {}, {}},
  };
  for (const Case& c : cases) {
    FakeMachine machine;
    machine.netbios.lanas = c.lanas;
    Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
    TNetwork network(host);
    network.GetInfo();
    EXPECT_EQ(network.MACAddresses().Items(), c.macs) << c.what;
  }

  // The control blocks the calls submit.
  FakeMachine machine;
  machine.netbios.lanas = {{7, kMacA, 0, 0}};
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TNetwork network(host);
  network.GetInfo();
  const auto& blocks = machine.netbios.submitted;
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].command, platform::kNcbEnumerate);
  EXPECT_EQ(blocks[0].length, platform::kLanaEnumSize);
  EXPECT_EQ(blocks[1].command, platform::kNcbReset);
  EXPECT_EQ(blocks[1].lanaNumber, 7);
  EXPECT_EQ(blocks[2].command, platform::kNcbAdapterStatus);
  EXPECT_EQ(blocks[2].length, platform::adapter_status::kSizeWithNames);
  EXPECT_EQ(std::string(blocks[2].callName.data(), 16), "*" + std::string(15, ' '));

  // A failed enumeration visits nothing.
  machine.netbios.enumerateCode = 1;
  machine.netbios.submitted.clear();
  network.GetInfo();
  EXPECT_EQ(network.MACAddresses().Count(), 0);
  EXPECT_EQ(machine.netbios.submitted.size(), 1u);
}

TEST(Network, IpAddressesAndWinsock) {
  FakeMachine machine;
  machine.winsock.hosts["fakepc"] = {{10, 0, 0, 5}, {192, 168, 1, 7}};
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TNetwork network(host);
  network.GetInfo();
  EXPECT_EQ(network.IPAddresses().Items(), (Strings{"10.0.0.5", "192.168.1.7"}));
  EXPECT_EQ(network.WinSock().Description(), "Fake Winsock");
  EXPECT_EQ(network.WinSock().Status(), "Running");
  EXPECT_EQ(network.WinSock().MajorVersion(), 2);
  EXPECT_EQ(network.WinSock().MinorVersion(), 2);
  EXPECT_EQ(machine.winsock.openStarts, 0);
  EXPECT_EQ(machine.winsock.requestedVersions, (std::vector<std::uint16_t>{0x0101, 0x0101}));

  // Highest version 2.0 is the word 0x0002: low byte major.
  machine.winsock.startup->highVersion = 0x0002;
  machine.winsock.hosts["fakepc"] = {{10, 0, 0, 5}};
  network.GetInfo();
  EXPECT_EQ(network.IPAddresses().Items(), (Strings{"10.0.0.5"}));
  EXPECT_EQ(network.WinSock().MajorVersion(), 2);
  EXPECT_EQ(network.WinSock().MinorVersion(), 0);

  machine.winsock.startup.reset();
  network.GetInfo();
  EXPECT_EQ(network.IPAddresses().Count(), 0);
  EXPECT_EQ(network.WinSock().Status(), "Winsock cannot be initialized.");
  EXPECT_EQ(machine.winsock.openStarts, 0);
}

TEST(Network, ComponentsOfTheNtClassKey) {
  FakeMachine machine;
  machine.registry.Load(R"(
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E973-E325-11CE-BFC1-08002BE10318}]
Class = sz:NetClient
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E973-E325-11CE-BFC1-08002BE10318}\0000]
DriverDesc = sz:Client for Microsoft Networks
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E975-E325-11CE-BFC1-08002BE10318}]
Class = sz:nettrans
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E975-E325-11CE-BFC1-08002BE10318}\0000]
DriverDesc = sz:Internet Protocol (TCP/IP)
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E975-E325-11CE-BFC1-08002BE10318}\0001]
DriverDesc = sz:INTERNET PROTOCOL (TCP/IP)
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E975-E325-11CE-BFC1-08002BE10318}\0002]
DriverDesc = sz:NetBEUI Protocol
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{FFFFFFFF-0000-0000-0000-000000000000}]
Class = sz:NetTrans
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{FFFFFFFF-0000-0000-0000-000000000000}\0000]
DriverDesc = sz:only the first matching class counts
)");
  machine.netbios.lanas = {{0, kMacA, 0, 0}};
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TNetwork network(host);
  network.GetInfo();
  EXPECT_EQ(network.Protocols().Items(), (Strings{"Internet Protocol (TCP/IP)", "NetBEUI Protocol"}));
  EXPECT_EQ(network.Clients().Items(), (Strings{"Client for Microsoft Networks"}));
  EXPECT_EQ(network.Services().Count(), 0);
  EXPECT_EQ(network.MACAddresses().Count(), 1);

  // A description of the wrong type ends GetInfo before the MAC addresses.
  machine.registry.Load(R"(
[HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E973-E325-11CE-BFC1-08002BE10318}\0001]
DriverDesc = dword:1
)");
  TNetwork failing(host);
  EXPECT_EQ(testing::FailureOf<Exception>([&] { failing.GetInfo(); }), "Invalid data type for 'DriverDesc'");
  EXPECT_EQ(failing.MACAddresses().Count(), 0);
}

TEST(Network, Report) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtDeviceTree);
  machine.winsock.hosts["fakepc"] = {{10, 0, 0, 5}, {192, 168, 1, 7}};
  machine.netbios.lanas = {{0, kMacA, 0, 0}};
  platform::ip_helper_records::AdapterRecord adapter;
  adapter.description = "Intel(R) PRO/1000";
  adapter.hardwareAddress = {kMacA.begin(), kMacA.end()};
  adapter.ipAddresses = {{"10.0.0.5", "255.0.0.0"}, {"10.0.0.6", "255.0.0.0"}};
  adapter.gateways = {{"10.0.0.1", "255.255.255.255"}};
  machine.ipHelper.adapters = {adapter};
  platform::ip_helper_records::NetworkParamsRecord params;
  params.hostName = "pc42";
  params.domainName = "example.com";
  params.nodeType = platform::ip_helper_records::node_type::kHybrid;
  params.dnsServers = {"192.168.1.1", "8.8.8.8"};
  machine.ipHelper.params = params;
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TNetwork network(host);
  network.GetInfo();

  StringList lines;
  lines.Add("kept");
  network.Report(lines);
  EXPECT_EQ(lines.Items(), (Strings{
                               "kept",
                               "[Network]",
                               "Count=1",
                               "Adapter1=Intel(R) PRO/1000 MT Network Connection #2",
                               "ProtoCount=0",
                               "ServiceCount=0",
                               "ClientCount=0",
                               "IPCount=2",
                               "IPAddress1=10.0.0.5",
                               "IPAddress2=192.168.1.7",
                               "MACCount=1",
                               "MACAddress1=00:0C:29:AB:0D:EF",
                               "[Winsock]",
                               "Description=Fake Winsock",
                               "Version=2.2",
                               "Status=Running",
                               "[TCP/IP]",
                               "HostName=pc42",
                               "DomainName=example.com",
                               "NodeType=Hybrid",
                               "PrimaryDNSSuffix=",
                               "DNSServers=192.168.1.1,8.8.8.8",
                               "AdapterCount=1",
                               "Adapter[0]=Intel(R) PRO/1000",
                               "AdapterPhysAddr[0]=00:0C:29:AB:0D:EF",
                               "AdapterType[0]=Ethernet",
                               "Adapter_IPAddress[0]=10.0.0.5,10.0.0.6",
                               "Adapter_IPMask[0]=255.0.0.0,255.0.0.0",
                               "Adapter_Gateway_IPAddress[0]=10.0.0.1",
                               "Adapter_Gateway_IPMask[0]=255.255.255.255",
                               "Adapter_DHCP_IPAddress[0]=\"\"",
                               "Adapter_DHCP_IPMask[0]=\"\"",
                               "Adapter_PrimaryWINS_IPAddress[0]=\"\"",
                               "Adapter_PrimaryWINS_IPMask[0]=\"\"",
                               "Adapter_SecondaryWINS_IPAddress[0]=\"\"",
                               "Adapter_SecondaryWINS_IPMask[0]=\"\"",
                           }));

  // Nothing gathered: empty sections, a failed Winsock, no adapter lines.
  FakeMachine bare;
  bare.winsock.startup.reset();
  Host bareHost(bare.platform(), ClassifyOs(platform::fake::kWindows10));
  TNetwork empty(bareHost);
  empty.GetInfo();
  StringList emptyLines;
  empty.Report(emptyLines);
  EXPECT_EQ(
      emptyLines.Items(),
      (Strings{"[Network]", "Count=0", "ProtoCount=0", "ServiceCount=0", "ClientCount=0", "IPCount=0", "MACCount=0",
               "[Winsock]", "Description=", "Version=0.0", "Status=Winsock cannot be initialized.", "[TCP/IP]",
               "HostName=", "DomainName=", "NodeType=Unknown", "PrimaryDNSSuffix=", "DNSServers=", "AdapterCount=0"}));
}

TEST(StringList, CommaTextAndIndexOf) {
  struct Case {
    Strings items;
    std::string text;
  };
  const Case cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a", "", "b"}, "a,,b"},
      {{"a b", "x,y", "say \"hi\"", "tab\there"}, "\"a b\",\"x,y\",\"say \"\"hi\"\"\",\"tab\there\""},
  };
  for (const Case& c : cases) {
    StringList list;
    for (const std::string& item : c.items) list.Add(item);
    EXPECT_EQ(list.CommaText(), c.text);
  }
  StringList list;
  list.SetCommaText(" 192,168 1,\"a \"\"b\"\"\", ,x,");
  EXPECT_EQ(list.Items(), (Strings{"192", "168", "1", "a \"b\"", "", "x", ""}));
  EXPECT_EQ(list.IndexOf("X"), 5);
  EXPECT_EQ(list.IndexOf("y"), -1);
}

}  // namespace
}  // namespace tolvaren
