#include "app/summary.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

TEST(Summary, MachineWithoutSmbiosPrintsEveryLabelEmpty) {
  platform::fake::FakeMachine machine;
  machine.console.lineEnd = "\r\n";
  machine.system.netBiosName = "ACME-01";
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
            "NetBIOS name           : ACME-01\r\n"
            "DNS Host name          : \r\n"
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

}  // namespace
}  // namespace tolvaren
