#include "core/devices.h"

#include <algorithm>
#include <cstdlib>

#include "core/device_classes.h"
#include "core/host.h"
#include "platform/ascii_case.h"
#include "platform/tregistry.h"

namespace tolvaren {
namespace {

constexpr char kNtEnumKey[] = "\\SYSTEM\\CurrentControlSet\\Enum";
constexpr char kServicesKey[] = "\\SYSTEM\\CurrentControlSet\\Services\\";
constexpr char kConfigManagerKey[] = "\\Config Manager\\Enum";
constexpr char kWin9xEnumKey[] = "\\Enum";

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// "Driver" values hold paths such as "{4D36E972-...}\\0001" on some systems.
std::string SingleBackslashes(std::string path) {
  std::string result;
  for (const char c : path) {
    if (c == '\\' && !result.empty() && result.back() == '\\') continue;
    result += c;
  }
  return result;
}

// Service types are DWORDs; a text holding a number is taken as well.
std::int32_t ReadNumber(const TRegistry& reg, const std::string& name) {
  switch (reg.GetDataType(name)) {
    case rdInteger:
      return reg.ReadInteger(name);
    case rdString:
    case rdExpandString:
      return static_cast<std::int32_t>(std::strtol(reg.ReadString(name).c_str(), nullptr, 10));
    default:
      return 0;
  }
}

// The subkey names of a key, empty when it does not open.
StringList SubkeysOf(platform::Registry& registry, platform::RegistryRoot root, const std::string& path) {
  StringList names;
  TRegistry reg(registry);
  reg.SetRootKey(root);
  if (reg.OpenKeyReadOnly(path)) reg.GetKeyNames(names);
  return names;
}

}  // namespace

void TDevices::GetInfo() {
  if (host_.os.isNT) {
    EnumerateNt();
  } else {
    EnumerateConfigManager();
  }
  std::stable_sort(devices_.begin(), devices_.end(),
                   [](const auto& a, const auto& b) { return LessIgnoringAsciiCase(a.first, b.first); });
  deviceCount_ = static_cast<std::int32_t>(devices_.size());
}

void TDevices::EnumerateNt() {
  platform::Registry& registry = host_.platform.registry;
  const auto root = platform::RegistryRoot::LocalMachine;
  {
    TRegistry probe(registry);
    if (!probe.OpenKeyReadOnly(kNtEnumKey)) return;
  }
  const StringList enumerators = SubkeysOf(registry, root, kNtEnumKey);
  for (const std::string& e : enumerators.Items()) {
    const std::string enumeratorKey = std::string(kNtEnumKey) + "\\" + e;
    const StringList deviceNames = SubkeysOf(registry, root, enumeratorKey);
    for (const std::string& d : deviceNames.Items()) {
      const std::string deviceKey = enumeratorKey + "\\" + d;
      const StringList instances = SubkeysOf(registry, root, deviceKey);
      for (const std::string& i : instances.Items()) {
        const std::string instanceKey = deviceKey + "\\" + i;
        {
          TRegistry reg(registry);
          if (!reg.OpenKeyReadOnly(instanceKey) || !reg.KeyExists("Control")) continue;
        }
        std::unique_ptr<TDevice> device = ReadDevice(instanceKey, e, true);
        device->HardwareID = e + "\\" + d;

        TRegistry parameters(registry);
        if (parameters.OpenKeyReadOnly(instanceKey + "\\Device Parameters")) {
          StringList names;
          parameters.GetValueNames(names);
          for (const std::string& name : names.Items()) {
            if (parameters.GetDataType(name) == rdString) {
              device->DeviceParameter = parameters.ReadString(name);
              break;
            }
          }
        }
        Add(std::move(device));
      }
    }
  }
}

void TDevices::EnumerateConfigManager() {
  platform::Registry& registry = host_.platform.registry;
  StringList entries;
  std::vector<std::string> hardwareKeys;
  {
    TRegistry reg(registry);
    reg.SetRootKey(platform::RegistryRoot::DynData);
    if (!reg.OpenKeyReadOnly(kConfigManagerKey)) return;
    reg.GetKeyNames(entries);
    for (const std::string& entry : entries.Items()) {
      TRegistry node(registry);
      node.SetRootKey(platform::RegistryRoot::DynData);
      hardwareKeys.push_back(node.OpenKeyReadOnly(std::string(kConfigManagerKey) + "\\" + entry)
                                 ? node.ReadString("HardwareKey")
                                 : std::string());
    }
  }

  std::vector<std::string> seen;  // class name and description of every record added
  for (std::size_t n = 0; n < hardwareKeys.size(); ++n) {
    const std::string& h = hardwareKeys[n];
    if (h.empty() || AsciiUpperCase(h).find("NETWORK") != std::string::npos) continue;
    const std::string key = std::string(kWin9xEnumKey) + "\\" + h;
    {
      TRegistry reg(registry);
      if (!reg.OpenKeyReadOnly(key)) continue;
    }
    std::unique_ptr<TDevice> device = ReadDevice(key, entries[static_cast<int>(n)], false);
    device->HardwareID = h;
    const std::string identity = device->DeviceClassName + "-" + device->Description;
    if (IsBlank(device->DeviceClassName) || std::find(seen.begin(), seen.end(), identity) != seen.end()) continue;
    seen.push_back(identity);
    Add(std::move(device));
  }
}

std::unique_ptr<TDevice> TDevices::ReadDevice(const std::string& deviceKey, const std::string& enumerator, bool nt) {
  platform::Registry& registry = host_.platform.registry;
  auto device = std::make_unique<TDevice>();
  device->RegistryKey = deviceKey;

  TRegistry reg(registry);
  if (!reg.OpenKeyReadOnly(deviceKey)) return device;
  device->ClassGUID = AsciiUpperCase(reg.ReadString("ClassGUID"));
  device->FriendlyName = reg.ReadString("FriendlyName");
  device->Description = reg.ReadString("DeviceDesc");
  device->Manufacturer = reg.ReadString("Mfg");
  device->Service = reg.ReadString("Service");
  device->Location = reg.ReadString("LocationInformation");

  if (device->Location.empty()) {
    TRegistry service(registry);
    if (service.OpenKeyReadOnly(kServicesKey + enumerator)) device->Location = service.ReadString("DisplayName");
  }

  ReadClassData(*device, nt);
  if (device->DeviceClassName.empty()) device->DeviceClassName = reg.ReadString("Class");

  device->DriverKey = reg.ReadString("Driver");
  if (!device->DriverKey.empty()) {
    TRegistry driver(registry);
    if (driver.OpenKeyReadOnly(SingleBackslashes("\\" + host_.os.classKey + "\\" + device->DriverKey))) {
      device->DriverDate = driver.ReadString("DriverDate");
      device->DriverVersion = driver.ReadString("DriverVersion");
      device->DriverProvider = driver.ReadString("ProviderName");
    }
  }

  if (!device->Service.empty()) {
    TRegistry service(registry);
    if (service.OpenKeyReadOnly(kServicesKey + device->Service)) {
      device->ServiceName = service.ReadString("DisplayName");
      device->ServiceGroup = service.ReadString("Group");
      device->ServiceType = ReadNumber(service, "Type");
    }
  }
  return device;
}

// The class key whose name is the device's class GUID gives the class name;
// on NT it also holds the icon and description, on 95/98/Me its "Link" value
// names the key that does.
void TDevices::ReadClassData(TDevice& device, bool nt) {
  if (device.ClassGUID.empty()) return;
  platform::Registry& registry = host_.platform.registry;
  const std::string classRoot = "\\" + host_.os.classKey;
  const StringList classes = SubkeysOf(registry, platform::RegistryRoot::LocalMachine, classRoot);
  for (const std::string& name : classes.Items()) {
    if (!EqualIgnoringAsciiCase(name, device.ClassGUID)) continue;
    TRegistry cls(registry);
    if (!cls.OpenKeyReadOnly(classRoot + "\\" + name)) return;
    device.DeviceClassName = cls.ReadString("Class");
    if (nt) {
      device.ClassIcon = cls.ReadString("Icon");
      device.ClassDescription = cls.ReadString("");
      return;
    }
    const std::string link = cls.ReadString("Link");
    TRegistry linked(registry);
    if (!link.empty() && linked.OpenKeyReadOnly(classRoot + "\\" + link)) {
      device.ClassIcon = linked.ReadString("Icon");
      device.ClassDescription = linked.ReadString("");
    }
    return;
  }
}

void TDevices::Add(std::unique_ptr<TDevice> device) {
  if (IsBlank(device->DeviceClassName)) return;
  device->DeviceClass = ClassifyDeviceClass(device->DeviceClassName);
  std::string className = device->DeviceClassName;
  devices_.emplace_back(std::move(className), std::move(device));
}

void TDevices::GetDevice(int index, TDevice& device) const {
  if (index < 0 || static_cast<std::size_t>(index) >= devices_.size()) return;
  device = *devices_[static_cast<std::size_t>(index)].second;
}

void TDevices::Report(StringList& lines) const {
  lines.Add("[Devices]");
  lines.Add("DeviceCount=" + std::to_string(deviceCount_));
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    const TDevice& d = *devices_[i].second;
    lines.Add("Device" + std::to_string(i) + "=" + d.DeviceClassName + "," + d.Description + "," + d.Location);
  }
}

}  // namespace tolvaren
