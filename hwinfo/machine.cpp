#include "hwinfo/machine.h"

#include <string_view>

#include "core/devices.h"
#include "core/host.h"
#include "core/info_gather.h"
#include "hwinfo/date_time.h"
#include "platform/ascii_case.h"
#include "platform/tregistry.h"

namespace tolvaren {
namespace {

constexpr char kComputerNameKey[] = "\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr double kSecondsPerDay = 86400.0;

// Virtual-key codes of the lock keys in the keyboard state table.
constexpr std::size_t kVkCapital = 0x14;
constexpr std::size_t kVkNumLock = 0x90;
constexpr std::size_t kVkScroll = 0x91;
// Toggle bit set and the key not held down.
constexpr std::uint8_t kToggledOnly = 1;

bool StartsWithComputer(std::string_view className) { return StartsWithIgnoringAsciiCase(className, "computer"); }

}  // namespace

TMachine::TMachine(Host& host)
    : host_(host), smbios_(std::make_unique<TSMBIOS>(host)), bios_(std::make_unique<TBIOS>(host)) {
  FindComputerDevice();
}

TMachine::~TMachine() = default;

void TMachine::FindComputerDevice() {
  TDevices devices(host_);
  InfoGather(host_.platform.console, "TDevices.GetInfo", kSubStepMode, [&] { devices.GetInfo(); });
  for (int i = 0; i < devices.DeviceCount(); ++i) {
    if (!StartsWithComputer(devices.ClassNameAt(i))) continue;
    TDevice device;
    devices.GetDevice(i, device);
    computer_ = !device.FriendlyName.empty() ? device.FriendlyName : device.Description;
    break;
  }
}

void TMachine::GetInfo(int n) {
  platform::Platform& platform = host_.platform;
  InfoGather(platform.console, "TBIOS.GetInfo", kSubStepMode, [&] { bios_->GetInfo(); });
  if (n == 1) {
    InfoGather(
        platform.console, "TSMBIOS.GetInfo", kSubStepMode, [&](int mode) { smbios_->GetInfo(mode); }, 1);
  }

  // The tick count wraps after 49.7 days, and so do the two times made from it.
  try {
    systemUpTime_ = static_cast<long double>(platform.system.TickCount()) / kMillisecondsPerSecond;
  } catch (const std::exception&) {
    systemUpTime_ = 0;
  }

  name_ = platform.system.ComputerName();
  {
    TRegistry reg(platform.registry);
    if (reg.OpenKeyReadOnly(kComputerNameKey) && reg.ValueExists("ComputerName")) {
      name_ = reg.ReadString("ComputerName");
    }
  }

  user_ = platform.system.UserName();

  const platform::KeyboardState keys = platform.system.KeyboardStates();
  capsLock_ = keys[kVkCapital] == kToggledOnly;
  numLock_ = keys[kVkNumLock] == kToggledOnly;
  scrollLock_ = keys[kVkScroll] == kToggledOnly;
}

double TMachine::LastBoot() const {
  try {
    const double ticks = host_.platform.system.TickCount();
    return DateTimeToDays(host_.platform.clock.LocalNow()) - ticks / kMillisecondsPerSecond / kSecondsPerDay;
  } catch (const std::exception&) {
    return 0;
  }
}

void TMachine::Report(StringList& lines) const {
  lines.Add("[Machine]");
  lines.Add("Name=" + name_);
  lines.Add("User=" + user_);
  lines.Add("Computer=" + computer_);
  lines.Add("LastBoot=" + std::to_string(LastBoot()));
  lines.Add("SystemUpTime=" + std::to_string(static_cast<double>(systemUpTime_)));
  lines.Add(std::string("CapsLock=") + (capsLock_ ? "1" : "0"));
  lines.Add(std::string("NumLock=") + (numLock_ ? "1" : "0"));
  lines.Add(std::string("ScrollLock=") + (scrollLock_ ? "1" : "0"));
  bios_->Report(lines);
  smbios_->Report(lines);
}

}  // namespace tolvaren
