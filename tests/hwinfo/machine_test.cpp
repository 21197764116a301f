#include "hwinfo/machine.h"
#include "core/host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "hwinfo/date_time.h"
#include "platform/exception.h"
#include "platform/fake/fake_machine.h"
#include "tests/support/machine_scenarios.h"

namespace tolvaren {
namespace {

using platform::fake::FakeMachine;

// Places zero-terminated texts in the fake's mapped BIOS area.
void MapText(FakeMachine& machine, std::uint32_t address, const std::string& text) {
  auto& area = machine.firmware.mappedArea;
  area.resize(0x20000, 0xFF);
  const std::size_t at = address - machine.firmware.mappedBase;
  std::copy(text.begin(), text.end(), area.begin() + static_cast<std::ptrdiff_t>(at));
  area[at + text.size()] = 0;
}

TEST(Machine, ConstructionFindsTheComputerDevice) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtDeviceTree);
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TMachine m(host);
  EXPECT_EQ(m.Computer(), "Advanced Configuration and Power Interface (ACPI) PC");
  EXPECT_EQ(m.ExceptionMode(), emMessage);
  EXPECT_EQ(m.Name(), "");  // nothing else is gathered yet
  EXPECT_EQ(machine.console.output, "");

  // A friendly name wins over the description.
  machine.registry.Load(R"([HKLM\SYSTEM\CurrentControlSet\Enum\Root\ACPI_HAL\0000]
FriendlyName = sz:ACPI Uniprocessor PC)");
  TMachine friendly(host);
  EXPECT_EQ(friendly.Computer(), "ACPI Uniprocessor PC");

  FakeMachine win98;
  win98.registry.Load(testing::kWin98DeviceTree);
  Host host98(win98.platform(), ClassifyOs(platform::fake::kWindows98));
  EXPECT_EQ(TMachine(host98).Computer(), "Standard PC");
}

TEST(Machine, DeviceTypeErrorIsPrintedAndConstructionGoesOn) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtDeviceTree);
  machine.registry.Load(R"([HKLM\SYSTEM\CurrentControlSet\Enum\Root\ACPI_HAL\0000]
Mfg = dword:3)");
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TMachine m(host);
  EXPECT_EQ(machine.console.output, "TDevices.GetInfo: Invalid data type for 'Mfg'\n");
  EXPECT_EQ(m.Computer(), "");
}

TEST(Machine, GetInfoFillsNamesTimesAndLocks) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtDeviceTree);
  machine.system.computerName = "FROMAPI";
  machine.system.userName = "Administrator";
  machine.system.tickCount = 90'061'500;  // 1 day, 1 hour, 1 minute, 1.5 seconds
  machine.clock.local = {2007, 3, 5, 10, 20, 30, 400};
  machine.system.keyboard[0x14] = 1;     // Caps Lock toggled on
  machine.system.keyboard[0x90] = 0x81;  // Num Lock toggled on but held down
  machine.system.keyboard[0x91] = 1;
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TMachine m(host);
  m.GetInfo(1);

  EXPECT_EQ(m.Name(), "ACME-XP");  // the registry value replaces the API's name
  EXPECT_EQ(m.User(), "Administrator");
  EXPECT_NEAR(static_cast<double>(m.SystemUpTime()), 90061.5, 1e-9);
  const double expectedBoot = DateTimeToDays({2007, 3, 4, 9, 19, 28, 900});
  EXPECT_NEAR(m.LastBoot(), expectedBoot, 1e-8);
  EXPECT_TRUE(m.CapsLock());
  EXPECT_FALSE(m.NumLock());
  EXPECT_TRUE(m.ScrollLock());
  EXPECT_EQ(machine.registry.openKeys, 0);

  // Without the registry value the API's name stays; a broken clock gives
  // a zero boot time but not a zero up time.
  FakeMachine bare;
  bare.system.computerName = "FROMAPI";
  bare.system.tickCount = 2000;
  bare.clock.local = {};
  Host bareHost(bare.platform(), ClassifyOs(platform::fake::kWindows10));
  TMachine b(bareHost);
  b.GetInfo(0);
  EXPECT_EQ(b.Name(), "FROMAPI");
  EXPECT_EQ(b.LastBoot(), 0);
  EXPECT_NEAR(static_cast<double>(b.SystemUpTime()), 2.0, 1e-12);
}

TEST(DateTime, DaysSinceTheEpochOf1899) {
  EXPECT_EQ(DateTimeToDays({1899, 12, 30, 0, 0, 0, 0}), 0.0);
  EXPECT_EQ(DateTimeToDays({1900, 3, 1, 0, 0, 0, 0}), 61.0);
  EXPECT_EQ(DateTimeToDays({2000, 1, 1, 12, 0, 0, 0}), 36526.5);
  EXPECT_THROW(DateTimeToDays({2001, 2, 29, 0, 0, 0, 0}), EConvertError);
}

struct BiosCase {
  const char* name;
  platform::VersionRecord version;
  const char* extraValues;
  std::string copyright;
};

TEST(Bios, NtReadsTheRegistry) {
  const BiosCase cases[] = {
      {"XP joins the strings", platform::fake::kWindowsXp, "", "PTLTD - 6040000PhoenixBIOS 4.0 Release 6.0"},
      {"2000 takes the first", platform::fake::kWindows2000, "", "PTLTD - 6040000"},
      {"XP A B", platform::fake::kWindowsXp, "SystemBiosVersion = multi:A|B", "AB"},
      {"2000 A B", platform::fake::kWindows2000, "SystemBiosVersion = multi:A|B", "A"},
      {"a text value", platform::fake::kWindowsXp, "SystemBiosVersion = sz:text", ""},
      {"a DWORD", platform::fake::kWindowsXp, "SystemBiosVersion = dword:7", ""},
      {"255 bytes fit", platform::fake::kWindows2000, nullptr, std::string(254, 'x')},
      {"256 bytes do not", platform::fake::kWindowsXp, nullptr, ""},
  };
  for (const BiosCase& c : cases) {
    FakeMachine machine;
    machine.registry.Load(testing::kNtBiosValues);
    std::string extra = c.extraValues != nullptr ? c.extraValues : "";
    if (c.extraValues == nullptr) {
      // A binary value of 255 or 256 bytes.
      const std::size_t size = c.copyright.empty() ? 256 : 255;
      extra = "SystemBiosVersion = hex:";
      for (std::size_t i = 0; i < size; ++i) extra += i + 1 < size ? "78," : "00";
    }
    machine.registry.Load(std::string("[HKLM\\HARDWARE\\DESCRIPTION\\System]\n") + extra);
    Host host(machine.platform(), ClassifyOs(c.version));
    TBIOS bios(host);
    bios.GetInfo();
    EXPECT_EQ(bios.Copyright(), c.copyright) << c.name;
    EXPECT_EQ(bios.Name(), "AT/AT COMPATIBLE") << c.name;
    EXPECT_EQ(bios.Date(), "04/17/06") << c.name;
    EXPECT_EQ(bios.ExtendedInfo(), "") << c.name;
    EXPECT_EQ(machine.registry.openKeys, 0) << c.name;
  }
}

TEST(Bios, WrongTypeOfATextValueIsPrintedByTheMachine) {
  FakeMachine machine;
  machine.registry.Load(testing::kNtBiosValues);
  machine.registry.Load("[HKLM\\HARDWARE\\DESCRIPTION\\System]\nIdentifier = dword:1");
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  TMachine m(host);
  m.GetInfo(1);
  EXPECT_EQ(machine.console.output, "TBIOS.GetInfo: Invalid data type for 'Identifier'\n");
  EXPECT_EQ(m.BIOS().Copyright(), "");  // the step ended at the first value
  EXPECT_EQ(m.User(), "tester");        // and the machine went on
}

TEST(Bios, OtherSystemsReadTheMappedArea) {
  FakeMachine machine;
  MapText(machine, 0xFE061, "Award Modular BIOS v4.51PG");
  MapText(machine, 0xFE091, "Copyright (C) 1984-98, Award Software, Inc.");
  MapText(machine, 0xFEC71, "06/02/98-i440BX-8671-2A69KA1FC-00");
  MapText(machine, 0xFFFF5, "06/02/98");
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindows98));
  TBIOS bios(host);
  bios.GetInfo();
  EXPECT_EQ(bios.Name(), "Award Modular BIOS v4.51PG");
  EXPECT_EQ(bios.Copyright(), "Copyright (C) 1984-98, Award Software, Inc.");
  EXPECT_EQ(bios.ExtendedInfo(), "06/02/98-i440BX-8671-2A69KA1FC-00");
  EXPECT_EQ(bios.Date(), "06/02/98");
}

TEST(Bios, UnreadableAreaLeavesTheTextsEmptyAndPrintsNothing) {
  // Nothing mapped, as on a modern Windows or on Linux without /dev/mem.
  FakeMachine modern;
  modern.registry.Load(testing::kNtBiosValues);
  Host host(modern.platform(), ClassifyOs(platform::fake::kWindows10));
  TMachine m(host);
  m.GetInfo(1);
  EXPECT_EQ(m.BIOS().Name(), "");
  EXPECT_EQ(m.BIOS().Copyright(), "");
  EXPECT_EQ(modern.console.output, "");

  // A text that runs into memory that cannot be read is not taken either.
  FakeMachine partial;
  partial.firmware.mappedArea.assign(0xFE061 - 0xE0000 + 4, 'A');
  Host partialHost(partial.platform(), ClassifyOs(platform::fake::kWindowsMe));
  TBIOS bios(partialHost);
  bios.GetInfo();
  EXPECT_EQ(bios.Name(), "");
}

}  // namespace
}  // namespace tolvaren
