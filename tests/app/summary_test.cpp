#include "app/summary.h"

#include <gtest/gtest.h>

#include "core/host.h"
#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

TEST(Summary, MachineWithoutSmbiosPrintsEveryLabelEmptyAndNamesDotted) {
  platform::fake::FakeMachine machine;
  machine.console.lineEnd = "\r\n";
  machine.system.netBiosName = "ACME-01\n\x1b";  // control bytes show as "."
  platform::ip_helper_records::NetworkParamsRecord params;
  params.hostName = "acme\a01";
  machine.ipHelper.params = params;
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindows10));
  ShowSummary(host);
  EXPECT_EQ(machine.console.output,
            "Mainboard manufacturer : \r\n"
            "          model        : \r\n"
            "          serial       : \r\n"
            "Chassis   manufacturer : \r\n"
            "          model        : \r\n"
            "          serial       : \r\n"
            "System    manufacturer : \r\n"
            "          model        : \r\n"
            "          serial       : \r\n"
            "NetBIOS name           : ACME-01..\r\n"
            "DNS Host name          : acme.01\r\n"
            "System UUID            : \r\n");
}

// The machine and the network object each enumerate devices when they are
// made, and each prints the failure.
TEST(Summary, DeviceFailureLinesComeBeforeTheRows) {
  platform::fake::FakeMachine machine;
  machine.registry.Load(R"([HKLM\SYSTEM\CurrentControlSet\Enum\Root\X\0000]
DeviceDesc = dword:1
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\X\0000\Control])");
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  ShowSummary(host);
  EXPECT_EQ(machine.console.output.rfind("TDevices.GetInfo: Invalid data type for 'DeviceDesc'\n"
                                         "TDevices.GetInfo: Invalid data type for 'DeviceDesc'\n"
                                         "Mainboard manufacturer : \n",
                                         0),
            0u);
}

// Rows 10 and 11 each appear only when their list holds an address; the DNS
// host name comes from the TCP/IP parameters.
TEST(Summary, AddressRowsOnlyForAddressesThatExist) {
  struct Case {
    bool mac;
    bool ip;
    std::string rows;
  };
  const Case cases[] = {
      {true, false, "Ethernet address       : 00:0C:29:AB:0D:EF\n"},
      {false, true, "IP address             : 10.0.0.5\n"},
      {true, true, "Ethernet address       : 00:0C:29:AB:0D:EF\nIP address             : 10.0.0.5\n"},
  };
  for (const Case& c : cases) {
    platform::fake::FakeMachine machine;
    machine.system.netBiosName = "ACME-01";
    if (c.mac) machine.netbios.lanas = {{0, {0x00, 0x0c, 0x29, 0xab, 0x0d, 0xef}, 0, 0}};
    if (c.ip) machine.winsock.hosts["fakepc"] = {{10, 0, 0, 5}, {10, 0, 0, 6}};
    platform::ip_helper_records::NetworkParamsRecord params;
    params.hostName = "pc42";
    machine.ipHelper.params = params;
    Host host(machine.platform(), ClassifyOs(platform::fake::kWindows10));
    ShowSummary(host);
    const std::string& out = machine.console.output;
    const std::size_t rows =
        out.find("Ethernet address") != std::string::npos ? out.find("Ethernet address") : out.find("IP address");
    EXPECT_EQ(out.substr(rows),
              c.rows + "NetBIOS name           : ACME-01\nDNS Host name          : pc42\nSystem UUID            : \n");
  }
}

}  // namespace
}  // namespace tolvaren
