#include <charconv>
#include <cstdio>

#include "core/host.h"
#include "hwinfo/smbios.h"
#include "hwinfo/smbios_names.h"

namespace tolvaren {
namespace {

constexpr std::uint32_t kMemoryModuleSource = 6;
constexpr std::uint32_t kMemoryDeviceSource = 17;

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
  return text;
}

// One decimal, with the given separator in place of the full stop.
std::string OneDecimal(double value, const std::string& separator) {
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
  if (error != std::errc()) return "0" + separator + "0";
  std::string result(text, end);
  const std::size_t point = result.find('.');
  if (point != std::string::npos) result.replace(point, 1, separator);
  return result;
}

// "Standard,SIMM,DIMM" for the bits of a memory module's type flags.
std::string MemoryTypeFlagsText(std::uint16_t flags) {
  static constexpr const char* kBitNames[] = {"Other", "Unknown", "Standard", "FastPageMode", "EDO",  "",
                                              "ECC",   "SIMM",    "DIMM",     "BurstEDO",     "SDRAM"};
  std::string text;
  for (unsigned bit = 0; bit < std::size(kBitNames); ++bit) {
    if ((flags & (1u << bit)) != 0 && *kBitNames[bit] != '\0') {
      text += kBitNames[bit];
      text += ',';
    }
  }
  if (!text.empty()) text.pop_back();
  return text;
}

std::string Key(const char* name, int index) { return std::string(name) + "_" + std::to_string(index) + "="; }

}  // namespace

void TSMBIOS::Report(StringList& lines) const {
  const std::string separator = host_.platform.locale.DecimalSeparator();
  lines.Add("[SMBIOS]");
  lines.Add("Version=" + smbiosVersion_);
  lines.Add("Start Address=" + Hex(entryPointAddress_));
  lines.Add("Structure Table Start Address=" + Hex(tableAddress_));
  const int tableCount = static_cast<int>(structTables_.size());
  lines.Add("Structure Table Count=" + std::to_string(tableCount));
  lines.Add("TableCount=" + std::to_string(tableCount - 1));
  for (int i = 0; i < tableCount; ++i) {
    const TStructTable& t = structTables_[static_cast<std::size_t>(i)];
    lines.Add(Key("Table", i) + t.Name + " (Type " + std::to_string(t.Type) + ")");
  }

  lines.Add("BIOS Vendor=" + biosVendor_);
  lines.Add("BIOS Version=" + biosVersion_);
  lines.Add("BIOS Date=" + biosDate_);
  lines.Add("BIOS Size=" + std::to_string(biosSize_) + " K");
  lines.Add("System Model=" + systemModel_);
  lines.Add("System Manufacturer=" + systemManufacturer_);
  lines.Add("System Version=" + systemVersion_);
  lines.Add("System Serial=" + systemSerial_);
  lines.Add("System UUID=" + systemUUID_);
  lines.Add("Mainboard Model=" + mainBoardModel_);
  lines.Add("Mainboard Manufacturer=" + mainBoardManufacturer_);
  lines.Add("Mainboard Version=" + mainBoardVersion_);
  lines.Add("Mainboard Serial=" + mainBoardSerial_);
  lines.Add("Chassis Model=" + chassisModel_);
  lines.Add("Chassis Manufacturer=" + chassisManufacturer_);
  lines.Add("Chassis Version=" + chassisVersion_);
  lines.Add("Chassis Serial=" + chassisSerial_);

  lines.Add("ProcessorCount=" + std::to_string(ProcessorCount()));
  for (int i = 0; i < ProcessorCount(); ++i) {
    const TProcessor p = Processor(static_cast<std::uint8_t>(i));
    lines.Add(Key("ProcessorSocket", i) + p.Socket);
    lines.Add(Key("ProcessorUpgradeInterface", i) + p.Upgrade);
    lines.Add(Key("ProcessorManufacturer", i) + p.Manufacturer);
    lines.Add(Key("ProcessorVersion", i) + p.Version);
    lines.Add(Key("ProcessorVoltage", i) + OneDecimal(p.Voltage, separator) + " V");
    lines.Add(Key("ProcessorClock", i) + std::to_string(p.CurrentSpeed) + " MHz");
    lines.Add(Key("ProcessorExternalClock", i) + std::to_string(p.ExternalClock) + " MHz");
  }

  lines.Add("MemorySlotCount=" + std::to_string(MemorySlotCount()));
  for (int i = 0; i < MemorySlotCount(); ++i) {
    const TMemoryBank m = MemoryBank(static_cast<std::uint8_t>(i));
    lines.Add(Key("MemoryBank", i) + m.Designation);
    if (m.Source == kMemoryModuleSource) {
      lines.Add(Key("MemoryType", i) + MemoryTypeFlagsText(m.TypeFlags));
    } else if (m.Source == kMemoryDeviceSource) {
      lines.Add(Key("FormFactor", i) + MemoryFormFactorName(static_cast<std::uint8_t>(m.FormFactor + 1)));
      lines.Add(Key("Device", i) + MemoryTypeName(static_cast<std::uint8_t>(m.DeviceType + 1)));
    }
    lines.Add(Key("MemorySize", i) + std::to_string(m.Size) + " MB");
    // The speed line carries the size key as well.
    lines.Add(Key("MemorySize", i) + std::to_string(m.Speed) + " ns");
  }

  lines.Add("PortCount=" + std::to_string(PortCount()));
  for (int i = 0; i < PortCount(); ++i) {
    const TPort p = Port(static_cast<std::uint8_t>(i));
    lines.Add(Key("PortDesignator", i) + p.Designator);
    lines.Add(Key("PortType", i) + PortTypeName(p.PortType));
    lines.Add(Key("PortConnector", i) + PortConnectorName(p.Connector));
  }

  lines.Add("SystemSlotCount=" + std::to_string(SystemSlotCount()));
  for (int i = 0; i < SystemSlotCount(); ++i) {
    const TSlot s = Slot(static_cast<std::uint8_t>(i));
    lines.Add(Key("SystemSlot", i) + SlotTypeName(s.SlotType));
    lines.Add(Key("SystemSlotDataBus", i) + SlotDataBusName(s.DataBus));
  }
}

}  // namespace tolvaren
