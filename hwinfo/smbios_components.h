#pragma once

// Records of the processor, memory, port, slot and cache structures, and the
// decoder that fills them from the structure table.

#include <cstdint>
#include <string>
#include <vector>

#include "hwinfo/bios_image_reader.h"
#include "hwinfo/smbios_struct_table.h"

namespace tolvaren {

// From a Processor Information structure (type 4).
struct TProcessor {
  std::string Socket;
  std::string Manufacturer;
  std::string Version;
  std::string Upgrade;
  double Voltage = 0;               // volts
  std::uint16_t CurrentSpeed = 0;   // MHz
  std::uint16_t ExternalClock = 0;  // MHz
};

// From a Memory Module (type 6) or, when the table has none, a Memory Device
// (type 17) structure; Source tells which.
struct TMemoryBank {
  std::string Designation;
  std::uint8_t Speed = 0;  // ns
  std::int32_t Size = 0;   // MB
  std::uint32_t Source = 0;
  std::uint16_t TypeFlags = 0;  // type 6 only
  std::uint8_t FormFactor = 0;  // type 17 only: the firmware code minus 1
  std::uint8_t DeviceType = 0;  // type 17 only: the firmware code minus 1
};

// From a Port Connector structure (type 8).
struct TPort {
  std::string Designator;
  std::uint8_t Connector = 0;
  std::uint8_t PortType = 0;
};

// From a System Slots structure (type 9).
struct TSlot {
  std::string Designation;
  std::uint8_t SlotType = 0;
  std::uint8_t DataBus = 0;
  std::uint16_t SlotNumber = 0;
};

// From a Cache Information structure (type 7).
struct TCache {
  std::string Designation;
  std::uint16_t MaxSize = 0;        // KiB
  std::uint16_t InstalledSize = 0;  // KiB
  std::uint8_t SRAMType = 0;
  std::uint8_t CacheType = 0;
  std::uint8_t Associativity = 0;
  std::uint8_t Speed = 0;  // ns
};

struct SmbiosComponents {
  std::vector<TProcessor> Processors;
  std::vector<TMemoryBank> MemoryBanks;
  std::vector<TPort> Ports;
  std::vector<TSlot> Slots;
  std::vector<TCache> Caches;
};

// The counts of the lists are 8-bit, so no list grows beyond this.
inline constexpr std::size_t kMaxComponentsPerList = 255;

// Decodes every structure of types 4, 6, 7, 8 and 9 in table order, and of
// type 17 when there was no type 6, skipping listed structures that lie
// before the table or whose type byte does not match.
SmbiosComponents DecodeComponents(const BiosImageReader& reader, const TStructTables& tables,
                                  std::uint64_t tableAddress);

// Voltage in volts from the processor's voltage byte.
double ProcessorVoltage(std::uint8_t code);

}  // namespace tolvaren
