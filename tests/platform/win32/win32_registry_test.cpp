#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/devices.h"
#include "core/host.h"
#include "platform/platform.h"
#include "platform/tregistry.h"

namespace tolvaren {
namespace {

// Runs against the registry of the system (under Wine: the test's prefix).
TEST(Win32Registry, ReadsTheSystemDescription) {
  platform::win32_backend::Win32Registry registry;
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\HARDWARE\\DESCRIPTION\\System"));
  EXPECT_FALSE(reg.ReadString("Identifier").empty());
  EXPECT_FALSE(reg.ValueExists("No such value here"));
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\HARDWARE\\No\\Such\\Key"));

  ASSERT_TRUE(reg.OpenKeyReadOnly("\\SYSTEM\\CurrentControlSet"));
  StringList names;
  reg.GetKeyNames(names);
  EXPECT_NE(std::find(names.Items().begin(), names.Items().end(), "Enum"), names.Items().end());
  EXPECT_TRUE(reg.KeyExists("Control"));
  EXPECT_EQ(reg.GetDataType("No such value here"), rdUnknown);
}

TEST(Win32Registry, ReadsDeviceValuesOfEveryKind) {
  platform::win32_backend::Win32Registry registry;
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\SYSTEM\\CurrentControlSet\\Enum\\DISPLAY"));
  StringList devices;
  reg.GetKeyNames(devices);
  ASSERT_GT(devices.Count(), 0);
  ASSERT_TRUE(reg.OpenKeyReadOnly(devices[0]));
  StringList instances;
  reg.GetKeyNames(instances);
  ASSERT_GT(instances.Count(), 0);
  ASSERT_TRUE(reg.OpenKeyReadOnly(instances[0]));

  EXPECT_EQ(reg.GetDataType("DeviceDesc"), rdString);
  EXPECT_FALSE(reg.ReadString("DeviceDesc").empty());
  // The hardware IDs are a multi-string: copied as binary, refused as text.
  std::uint8_t buffer[1024] = {};
  EXPECT_GT(reg.ReadBinaryData("HardwareID", buffer, sizeof buffer), 2u);
  EXPECT_THROW(reg.ReadString("HardwareID"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger("DeviceDesc"), ERegistryException);
}

TEST(Win32Registry, DeviceWalkOfTheNtBranchRunsOnTheRealRegistry) {
  // Wine keeps no "Control" keys below the device instances, so nothing is
  // listed; the walk must still get through the whole tree without an error.
  Host host(platform::NativePlatform(), ClassifyOs({5, 1, 2600, 2}));
  TDevices devices(host);
  EXPECT_NO_THROW(devices.GetInfo());
  EXPECT_GE(devices.DeviceCount(), 0);
}

}  // namespace
}  // namespace tolvaren
