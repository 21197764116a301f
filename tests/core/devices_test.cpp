#include "core/devices.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/device_classes.h"
#include "core/host.h"
#include "platform/exception.h"
#include "platform/fake/fake_machine.h"
#include "tests/support/machine_scenarios.h"

namespace tolvaren {
namespace {

using platform::fake::FakeMachine;

std::vector<TDevice> Devices(const TDevices& devices) {
  std::vector<TDevice> list;
  for (int i = 0; i < devices.DeviceCount(); ++i) {
    TDevice device;
    devices.GetDevice(i, device);
    list.push_back(device);
  }
  return list;
}

TEST(DeviceClasses, PositionOfFirstEntryThatBeginsTheName) {
  const std::pair<const char*, int> cases[] = {
      {"Computer", 1}, {"computer", 1}, {"Net", 21},   {"NetTrans", 21}, {"NETCLIENT", 21}, {"Ports", 26},
      {"Sound", 24},   {"", 24},        {"fdc", 5},    {"FDC", 5},       {"USB", 36},       {"TapeDrive", 33},
      {"Tape", 35},    {"Mouse", 16},   {"MEDIA", 30}, {"Battery", 0},
  };
  for (const auto& [name, position] : cases) EXPECT_EQ(ClassifyDeviceClass(name), position) << name;
  ASSERT_EQ(kDeviceClassNames.size(), 37u);
  EXPECT_EQ(kDeviceClassNames[kComputerClass], "Computer");
  EXPECT_EQ(kDeviceClassNames[kNetClass], "Net");
  EXPECT_EQ(kDeviceClassNames[kUnknownClass], "Unknown");
}

TEST(Devices, NtTreeListsStartedDevicesSortedByClass) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtDeviceTree);
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TDevices devices(host);
  devices.GetInfo();

  // The power management controller has no "Control" key.
  ASSERT_EQ(devices.DeviceCount(), 3);
  const auto list = Devices(devices);
  EXPECT_EQ(list[0].DeviceClassName, "Computer");
  EXPECT_EQ(list[1].DeviceClassName, "Net");
  EXPECT_EQ(list[2].DeviceClassName, "USB");
  EXPECT_EQ(devices.ClassNameAt(1), "Net");
  EXPECT_EQ(list[0].DeviceClass, kComputerClass);
  EXPECT_EQ(list[1].DeviceClass, kNetClass);
  EXPECT_EQ(list[2].DeviceClass, 36);
  EXPECT_EQ(machine.registry.openKeys, 0);
}

TEST(Devices, NtRecordHoldsEveryValue) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtDeviceTree);
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindows2000));
  TDevices devices(host);
  devices.GetInfo();
  TDevice net;
  devices.GetDevice(1, net);

  EXPECT_EQ(net.DeviceClassName, "Net");
  EXPECT_EQ(net.ClassDescription, "Network adapters");
  EXPECT_EQ(net.ClassIcon, "-5");
  EXPECT_EQ(net.FriendlyName, "Intel(R) PRO/1000 MT Network Connection #2");
  EXPECT_EQ(net.Description, "Intel(R) PRO/1000 MT Network Connection");
  EXPECT_EQ(net.ClassGUID, "{4D36E972-E325-11CE-BFC1-08002BE10318}");
  EXPECT_EQ(net.Manufacturer, "Intel");
  EXPECT_EQ(net.Location, "PCI bus 0, device 3, function 0");
  EXPECT_EQ(net.HardwareID, "PCI\\VEN_8086&DEV_100E");
  // The first plain string value, after a DWORD and a multi-string.
  EXPECT_EQ(net.DeviceParameter, "eth0");
  EXPECT_EQ(net.DriverKey, "{4D36E972-E325-11CE-BFC1-08002BE10318}\\\\0001");
  EXPECT_EQ(net.DriverDate, "8-11-2004");
  EXPECT_EQ(net.DriverVersion, "8.4.21.0");
  EXPECT_EQ(net.DriverProvider, "Intel");
  EXPECT_EQ(net.Service, "E1000");
  EXPECT_EQ(net.ServiceName, "Intel(R) PRO/1000 Adapter Driver");
  EXPECT_EQ(net.ServiceGroup, "NDIS");
  EXPECT_EQ(net.ServiceType, 1);
  EXPECT_EQ(net.RegistryKey, "\\SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_100E\\3&61AAA01&0&18");

  // No location of its own: the enumerator's service names it.
  TDevice usb;
  devices.GetDevice(2, usb);
  EXPECT_EQ(usb.Location, "PCI Bus Driver");
  TDevice computer;
  devices.GetDevice(0, computer);
  EXPECT_EQ(computer.Location, "Motherboard");
}

TEST(Devices, IndexOutsideTheListLeavesTheRecordAlone) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtDeviceTree);
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TDevices devices(host);
  devices.GetInfo();
  TDevice record;
  record.Description = "kept";
  devices.GetDevice(-1, record);
  devices.GetDevice(3, record);
  EXPECT_EQ(record.Description, "kept");
}

TEST(Devices, ClassFallsBackToTheDeviceKeyAndBlankClassesAreDropped) {
  FakeMachine machine;
  machine.registry.Load(R"(
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\LEGACY_BEEP\0000]
Class = sz:LegacyDriver
DeviceDesc = sz:Beep
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\LEGACY_BEEP\0000\Control]
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\BLANK\0000]
Class = sz:   
DeviceDesc = sz:No class
[HKLM\SYSTEM\CurrentControlSet\Enum\Root\BLANK\0000\Control]
)");
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TDevices devices(host);
  devices.GetInfo();
  ASSERT_EQ(devices.DeviceCount(), 1);
  EXPECT_EQ(Devices(devices)[0].DeviceClass, 22);
}

TEST(Devices, Win98ReadsTheConfigManagerList) {
  FakeMachine machine;
  machine.registry.Load(testing::kWin98DeviceTree);
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindows98));
  TDevices devices(host);
  devices.GetInfo();

  // The NETWORK entry is skipped, the second card entry is the same device,
  // and the missing hardware key is passed over.
  ASSERT_EQ(devices.DeviceCount(), 2);
  const auto list = Devices(devices);
  EXPECT_EQ(list[0].DeviceClassName, "Computer");
  EXPECT_EQ(list[0].Description, "Standard PC");
  EXPECT_EQ(list[0].RegistryKey, "\\Enum\\Root\\*PNP0C01\\0000");

  const TDevice& net = list[1];
  EXPECT_EQ(net.DeviceClassName, "Net");
  EXPECT_EQ(net.DeviceClass, kNetClass);
  EXPECT_EQ(net.ClassDescription, "Network adapters");
  EXPECT_EQ(net.ClassIcon, "-5");
  EXPECT_EQ(net.Location, "named after the Config Manager entry");
  EXPECT_EQ(net.DriverDate, "3-31-1999");
  EXPECT_EQ(net.DriverProvider, "Microsoft");
  EXPECT_EQ(machine.registry.openKeys, 0);
}

TEST(Devices, EmptyWhereTheBranchFindsNoTree) {
  // A modern Windows is not NT as classified: the Config Manager branch runs
  // and finds nothing, even with an NT device tree present.
  FakeMachine modern;
  modern.registry.Load(testing::kNtDeviceTree);
  Host modernHost(modern.platform(), ClassifyOs(platform::fake::kWindows10));
  TDevices none(modernHost);
  none.GetInfo();
  EXPECT_EQ(none.DeviceCount(), 0);

  FakeMachine bare;
  Host xp(bare.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TDevices empty(xp);
  empty.GetInfo();
  EXPECT_EQ(empty.DeviceCount(), 0);
}

TEST(Devices, ValueOfTheWrongTypeEndsTheEnumeration) {
  struct Case {
    const char* tree;
    platform::VersionRecord version;
    const char* message;
  };
  const Case cases[] = {
      {R"([HKLM\SYSTEM\CurrentControlSet\Enum\Root\ACPI_HAL\0000]
DeviceDesc = dword:5)",
       platform::fake::kWindowsXp, "Invalid data type for 'DeviceDesc'"},
      {R"([HKLM\SYSTEM\CurrentControlSet\Services\E1000]
Group = hex:01,02)",
       platform::fake::kWindows2000, "Invalid data type for 'Group'"},
      {R"([HKDD\Config Manager\Enum\C29A0000]
HardwareKey = dword:1)",
       platform::fake::kWindows98, "Invalid data type for 'HardwareKey'"},
  };
  for (const Case& c : cases) {
    FakeMachine machine;
    machine.registry.Load(testing::kNtDeviceTree);
    machine.registry.Load(testing::kWin98DeviceTree);
    machine.registry.Load(c.tree);
    Host host(machine.platform(), ClassifyOs(c.version));
    TDevices devices(host);
    try {
      devices.GetInfo();
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
      EXPECT_STREQ(e.ClassName(), "ERegistryException");
    }
    EXPECT_EQ(devices.DeviceCount(), 0) << c.message;
    EXPECT_EQ(machine.registry.openKeys, 0) << c.message;
  }
}

}  // namespace
}  // namespace tolvaren
