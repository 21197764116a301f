#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/string_list.h"

namespace tolvaren {

struct Host;

// One device of the registry's device tree.
struct TDevice {
  std::string DeviceClassName;
  std::string ClassDescription;  // default value of the class key
  std::string ClassIcon;
  std::string FriendlyName;
  std::string Description;  // "DeviceDesc"
  std::string ClassGUID;    // upper-cased
  std::string Manufacturer;
  std::string Location;
  std::string HardwareID;  // the device's key below its enumerator, "PCI\VEN_8086&DEV_100E"
  std::string DeviceParameter;
  std::string DriverKey;
  std::string DriverDate;
  std::string DriverVersion;
  std::string DriverProvider;
  std::string Service;
  std::string ServiceName;  // display name of the service
  std::string ServiceGroup;
  std::int32_t ServiceType = 0;
  std::string RegistryKey;
  std::uint8_t DeviceClass = 0;  // position in kDeviceClassNames
};

// The machine's devices as the registry lists them, sorted by class name.
class TDevices {
 public:
  explicit TDevices(Host& host) : host_(host) {}
  virtual ~TDevices() = default;

  // Enumerates the device tree. A value of the wrong type raises the
  // registry's error and leaves DeviceCount at 0.
  void GetInfo();

  // Copies the record at the index; an index outside the list leaves the
  // record as it was.
  void GetDevice(int index, TDevice& device) const;
  // The class name the record is listed under.
  const std::string& ClassNameAt(int index) const { return devices_.at(static_cast<std::size_t>(index)).first; }

  virtual void Report(StringList& lines) const;

  std::int32_t DeviceCount() const { return deviceCount_; }

 private:
  void EnumerateNt();
  void EnumerateConfigManager();
  // Steps shared by both branches: names, location, class, driver, service.
  std::unique_ptr<TDevice> ReadDevice(const std::string& deviceKey, const std::string& enumerator, bool nt);
  void ReadClassData(TDevice& device, bool nt);
  void Add(std::unique_ptr<TDevice> device);

  Host& host_;
  std::int32_t deviceCount_ = 0;
  std::vector<std::pair<std::string, std::unique_ptr<TDevice>>> devices_;
};

}  // namespace tolvaren
