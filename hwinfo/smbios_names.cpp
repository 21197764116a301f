#include "hwinfo/smbios_names.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "hwinfo/smbios_layout.h"

namespace tolvaren {
namespace {

template <std::size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& names, std::size_t code) {
  return code < N ? names[code] : std::string_view();
}

std::string UnnamedCode(std::uint8_t code) {
  char text[16];
  std::snprintf(text, sizeof text, "Unknown (%02Xh)", code);
  return text;
}

template <std::size_t N>
std::string NameOrCode(const std::array<std::string_view, N>& names, std::size_t index, std::uint8_t code) {
  const std::string_view name = Lookup(names, index);
  return name.empty() ? UnnamedCode(code) : std::string(name);
}

// Indexed by type code 0 to 39.
constexpr std::array<std::string_view, 40> kStructTypes = {
    "BIOS Information",
    "System Information",
    "Base Board Information",
    "System Enclosure or Chassis",
    "Processor Information",
    "Memory Controller Information",
    "Memory Module Information",
    "Cache Information",
    "Port Connector Information",
    "System Slots",
    "On Board Devices Information",
    "OEM Strings",
    "System Configuration Options",
    "BIOS Language Information",
    "Group Associations",
    "System Event Log",
    "Physical Memory Array",
    "Memory Device",
    "32-bit Memory Error Information",
    "Memory Array Mapped Address",
    "Memory Device Mapped Address",
    "Built-in Pointing Device",
    "Portable Battery",
    "System Reset",
    " Hardware Security",
    "System Power Controls",
    "Voltage Probe",
    " Cooling Device",
    "Temperature Probe",
    "Electrical Current Probe",
    "Out-of-Band Remote Access",
    "Boot Integrity Services (BIS) Entry Point",
    "System Boot Information",
    "64-bit Memory Error Information",
    "Management Device",
    "Management Device Component",
    "Management Device Threshold Data",
    "Memory Channel",
    "IPMI Device Information",
    "System Power Supply",
};

// Indexed by chassis type code; 0 has no name.
constexpr std::array<std::string_view, 25> kChassisTypes = {
    "",
    "Other",
    "Unknown",
    "Desktop",
    "Low Profile Desktop",
    "Pizza Box",
    "Mini Tower",
    "Tower",
    "Portable",
    "LapTop",
    "Notebook",
    "Hand Held",
    "Docking Station",
    "All in One",
    "Sub Notebook",
    "Space-saving",
    "Lunch Box",
    "Main Server Chassis",
    "Expansion Chassis",
    "SubChassis",
    "Bus Expansion Chassis",
    "Peripheral Chassis",
    "RAID Chassis",
    "Rack Mount Chassis",
    "Sealed-case PC",
};

constexpr std::array<std::string_view, 10> kProcessorUpgrades = {
    "",     "Other",      "Unknown", "Daughter Board", "ZIF Socket", "Replaceable Piggy Back",
    "None", "LIF Socket", "Slot 1",  "Slot 2",
};

constexpr std::array<std::string_view, 15> kMemoryFormFactors = {
    "",         "Other", "Unknown", "SIMM",    "SIP",  "Chip",   "DIP",   "ZIP",
    "PropCard", "DIMM",  "TSOP",    "RowChip", "RIMM", "SODIMM", "SRIMM",
};

constexpr std::array<std::string_view, 18> kMemoryTypes = {
    "",      "Other",  "Unknown", "DRAM",  "EDRAM", "VRAM",  "SRAM",  "RAM",   "ROM",
    "FLASH", "EEPROM", "FEPROM",  "EPROM", "CDRAM", "3DRAM", "SDRAM", "SGRAM", "RDRAM",
};

// Indexed by the stored connector code 00h to 27h.
constexpr std::array<std::string_view, 0x28> kPortConnectors = {
    "None",
    "Centronics",
    "Mini Centronics",
    "Proprietary",
    "DB-25 pin male",
    "DB-25 pin female",
    "DB-15 pin male",
    "DB-15 pin female",
    "DB-9 pin male",
    "DB-9 pin female",
    "RJ-11",
    "RJ-45",
    "50 Pin MiniSCSI",
    "Mini-DIN",
    "Micro-DIN",
    "PS/2",
    "Infrared",
    "HP-HIL",
    "Access Bus (USB)",
    "SSA SCSI",
    "Circular DIN-8 male",
    "Circular DIN-8 female",
    "On Board IDE",
    "On Board Floppy",
    "9 Pin Dual Inline (pin 10 cut)",
    "25 Pin Dual Inline (pin 26 cut)",
    "50 Pin Dual Inline",
    "68 Pin Dual Inline",
    "On Board Sound Input from CD-ROM",
    "Mini-Centronics Type-14",
    "Mini-Centronics Type-26",
    "Mini-jack (headphones)",
    "BNC",
    "1394",
    "PC-98",
    "PC-98Hireso",
    "PC-H98",
    "PC-98Note",
    "PC-98Full",
    "Other",
};
// The firmware codes of the PC-98 connectors, A0h to A4h, are kept as they
// are; they carry the names of 22h to 26h above.
constexpr std::uint8_t kPc98ConnectorFirst = 0xA0;
constexpr std::uint8_t kPc98ConnectorLast = 0xA4;
constexpr std::uint8_t kPc98ConnectorStored = 0x22;

// Indexed by the stored port type 00h to 22h.
constexpr std::array<std::string_view, 0x23> kPortTypes = {
    "None",
    "Parallel Port XT/AT Compatible",
    "Parallel Port PS/2",
    "Parallel Port ECP",
    "Parallel Port EPP",
    "Parallel Port ECP/EPP",
    "Serial Port XT/AT Compatible",
    "Serial Port 16450 Compatible",
    "Serial Port 16550 Compatible",
    "Serial Port 16550A Compatible",
    "SCSI Port",
    "MIDI Port",
    "Joy Stick Port",
    "Keyboard Port",
    "Mouse Port",
    "SSA SCSI",
    "USB",
    "FireWire (IEEE P1394)",
    "PCMCIA Type I",  // firmware code 12h: PC Card Type I, beside Type II and III
    "PCMCIA Type II",
    "PCMCIA Type III",
    "Cardbus",
    "Access Bus Port",
    "SCSI II",
    "SCSI Wide",
    "PC-98",
    "PC-98-Hireso",
    "PC-H98",
    "Video Port",
    "Audio Port",
    "Modem Port",
    "Network Port",
    "8251 Compatible",
    "8251 FIFO Compatible",
    "Other",
};

constexpr std::array<std::string_view, 22> kSlotTypes = {
    "Other",
    "Unknown",
    "ISA",
    "MCA",
    "EISA",
    "PCI",
    "PC Card (PCMCIA)",
    "VL-VESA",
    "Proprietary",
    "Processor Card Slot",
    "Proprietary Memory Card",
    "I/O Riser Card Slot",
    "NuBus",
    "PCI - 66MHz Capable",
    "AGP",
    "AGP 2X",
    "AGP 4X",
    "PC-98/C20",
    "PC-98/C24",
    "PC-98/E",
    "PC-98/Local Bus",
    "PC-98/Card",
};

constexpr std::array<std::string_view, 7> kSlotDataBuses = {
    "Other", "Unknown", "8 bit", "16 bit", "32 bit", "64 bit", "128 bit",
};

}  // namespace

std::string StructTypeNames(std::uint8_t type) {
  if (type == kInactiveType) return "Inactive";
  if (type == kEndOfTableType) return "End-of-Table";
  const std::string_view name = Lookup(kStructTypes, type);
  return name.empty() ? "Unknown" : std::string(name);
}

std::string ChassisTypeNames(std::uint8_t code) { return std::string(Lookup(kChassisTypes, code)); }

std::string ProcessorUpgradeName(std::uint8_t code) { return std::string(Lookup(kProcessorUpgrades, code)); }

std::string MemoryFormFactorName(std::uint8_t code) { return NameOrCode(kMemoryFormFactors, code, code); }

std::string MemoryTypeName(std::uint8_t code) { return NameOrCode(kMemoryTypes, code, code); }

std::string PortConnectorName(std::uint8_t code) {
  if (code >= kPc98ConnectorFirst && code <= kPc98ConnectorLast) {
    return std::string(kPortConnectors[kPc98ConnectorStored + (code - kPc98ConnectorFirst)]);
  }
  return NameOrCode(kPortConnectors, code, code);
}

std::string PortTypeName(std::uint8_t code) { return NameOrCode(kPortTypes, code, code); }

std::string SlotTypeName(std::uint8_t code) { return NameOrCode(kSlotTypes, code, code); }

std::string SlotDataBusName(std::uint8_t code) { return NameOrCode(kSlotDataBuses, code, code); }

}  // namespace tolvaren
