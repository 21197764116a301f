#include "hwinfo/smbios_components.h"

#include "hwinfo/smbios_names.h"

namespace tolvaren {
namespace {

// Processor Information (type 4).
constexpr std::uint8_t kProcessorType = 4;
constexpr std::uint8_t kProcessorSocket = 0x04;
constexpr std::uint8_t kProcessorManufacturer = 0x07;
constexpr std::uint8_t kProcessorVersion = 0x10;
constexpr std::uint8_t kProcessorVoltage = 0x11;
constexpr std::uint8_t kProcessorExternalClock = 0x12;
constexpr std::uint8_t kProcessorCurrentSpeed = 0x16;
constexpr std::uint8_t kProcessorUpgrade = 0x19;

// Memory Module Information (type 6).
constexpr std::uint8_t kMemoryModuleType = 6;
constexpr std::uint8_t kModuleSocket = 0x04;
constexpr std::uint8_t kModuleSpeed = 0x06;
constexpr std::uint8_t kModuleTypeFlags = 0x07;
constexpr std::uint8_t kModuleInstalledSize = 0x09;
constexpr std::uint16_t kModuleTypeFlagsMask = 0x7FF;
constexpr std::uint8_t kModuleSizeMask = 0x7F;           // bit 7: double-bank
constexpr std::uint8_t kModuleSizeFirstUnknown = 0x7D;   // 7Dh to 7Fh: not determinable, disabled, not installed
constexpr std::uint8_t kModuleSizeLargestExponent = 30;  // 2^30 MB still fits the signed 32-bit size

// Cache Information (type 7).
constexpr std::uint8_t kCacheType = 7;
constexpr std::uint8_t kCacheDesignation = 0x04;
constexpr std::uint8_t kCacheMaxSize = 0x07;
constexpr std::uint8_t kCacheInstalledSize = 0x09;
constexpr std::uint8_t kCacheCurrentSRAMType = 0x0D;
constexpr std::uint8_t kCacheSpeed = 0x0F;
constexpr std::uint8_t kCacheSystemCacheType = 0x11;
constexpr std::uint8_t kCacheAssociativity = 0x12;
constexpr std::uint16_t kCacheGranularity64K = 0x8000;
constexpr std::uint8_t kCacheSRAMBits = 7;

// Port Connector Information (type 8).
constexpr std::uint8_t kPortType = 8;
constexpr std::uint8_t kPortInternalDesignator = 0x04;
constexpr std::uint8_t kPortInternalConnector = 0x05;
constexpr std::uint8_t kPortPortType = 0x08;
constexpr std::uint8_t kPortOtherCode = 0xFF;
constexpr std::uint8_t kPortConnectorOtherStored = 0x27;
constexpr std::uint8_t kPortTypeOtherStored = 0x22;
constexpr std::uint8_t kPortTypeShiftedFirst = 0x20;  // 8251 and later codes move down by 80h
constexpr std::uint8_t kPortTypeShift = 0x80;

// System Slots (type 9).
constexpr std::uint8_t kSlotType = 9;
constexpr std::uint8_t kSlotDesignation = 0x04;
constexpr std::uint8_t kSlotSlotType = 0x05;
constexpr std::uint8_t kSlotDataBusWidth = 0x06;
constexpr std::uint8_t kSlotId = 0x09;
constexpr std::uint8_t kSlotTypeLastLow = 0x11;  // codes above move down to follow it
constexpr std::uint8_t kSlotTypeShift = 0x8E;

// Memory Device (type 17).
constexpr std::uint8_t kMemoryDeviceType = 17;
constexpr std::uint8_t kDeviceSize = 0x0C;
constexpr std::uint8_t kDeviceFormFactor = 0x0E;
constexpr std::uint8_t kDeviceLocator = 0x10;
constexpr std::uint8_t kDeviceMemoryType = 0x12;
constexpr std::uint8_t kDeviceSpeed = 0x15;
constexpr unsigned kNanosecondsPerMicrosecond = 1000;

std::uint8_t Minus1(std::uint8_t value) { return static_cast<std::uint8_t>(value - 1); }

std::uint16_t CacheSize(std::uint16_t word) {
  const std::uint16_t units = word & ~kCacheGranularity64K;
  return (word & kCacheGranularity64K) != 0 ? static_cast<std::uint16_t>(units * 64u) : units;
}

TProcessor DecodeProcessor(const BiosImageReader& r, const TStructTable& s) {
  TProcessor p;
  p.Socket = ReadStringField(r, s, kProcessorSocket);
  p.Manufacturer = ReadStringField(r, s, kProcessorManufacturer);
  p.Version = ReadStringField(r, s, kProcessorVersion);
  p.Upgrade = ProcessorUpgradeName(r.ImageByte(s.Address + kProcessorUpgrade));
  p.Voltage = ProcessorVoltage(r.ImageByte(s.Address + kProcessorVoltage));
  p.CurrentSpeed = r.ImageWord(s.Address + kProcessorCurrentSpeed);
  p.ExternalClock = r.ImageWord(s.Address + kProcessorExternalClock);
  return p;
}

TMemoryBank DecodeMemoryModule(const BiosImageReader& r, const TStructTable& s) {
  TMemoryBank m;
  m.Designation = ReadStringField(r, s, kModuleSocket);
  m.Speed = r.ImageByte(s.Address + kModuleSpeed);
  const std::uint8_t exponent = r.ImageByte(s.Address + kModuleInstalledSize) & kModuleSizeMask;
  if (exponent < kModuleSizeFirstUnknown && exponent <= kModuleSizeLargestExponent) {
    m.Size = std::int32_t{1} << exponent;
  }
  m.Source = kMemoryModuleType;
  m.TypeFlags = r.ImageWord(s.Address + kModuleTypeFlags) & kModuleTypeFlagsMask;
  return m;
}

TMemoryBank DecodeMemoryDevice(const BiosImageReader& r, const TStructTable& s) {
  TMemoryBank m;
  m.Designation = ReadStringField(r, s, kDeviceLocator);
  // The device gives MHz; the bank holds a cycle time in ns.
  const std::uint16_t speed = r.ImageWord(s.Address + kDeviceSpeed);
  m.Speed = static_cast<std::uint8_t>(speed);
  if (m.Speed != 0) m.Speed = static_cast<std::uint8_t>(kNanosecondsPerMicrosecond / speed);
  m.Size = r.ImageWord(s.Address + kDeviceSize);
  m.Source = kMemoryDeviceType;
  m.FormFactor = Minus1(r.ImageByte(s.Address + kDeviceFormFactor));
  m.DeviceType = Minus1(r.ImageByte(s.Address + kDeviceMemoryType));
  return m;
}

TCache DecodeCache(const BiosImageReader& r, const TStructTable& s) {
  TCache c;
  c.Designation = ReadStringField(r, s, kCacheDesignation);
  c.MaxSize = CacheSize(r.ImageWord(s.Address + kCacheMaxSize));
  c.InstalledSize = CacheSize(r.ImageWord(s.Address + kCacheInstalledSize));
  const std::uint16_t sram = r.ImageWord(s.Address + kCacheCurrentSRAMType);
  for (std::uint8_t bit = 0; bit < kCacheSRAMBits; ++bit) {
    if ((sram & (1u << bit)) != 0) c.SRAMType = bit;
  }
  // Structures of SMBIOS 2.0 end before the speed byte.
  if (s.Length > kCacheSpeed) {
    c.Associativity = Minus1(r.ImageByte(s.Address + kCacheAssociativity));
    c.CacheType = Minus1(r.ImageByte(s.Address + kCacheSystemCacheType));
    c.Speed = r.ImageByte(s.Address + kCacheSpeed);
  } else {
    c.Associativity = 1;
    c.CacheType = 1;
    c.Speed = 0;
  }
  return c;
}

TPort DecodePort(const BiosImageReader& r, const TStructTable& s) {
  TPort p;
  p.Designator = ReadStringField(r, s, kPortInternalDesignator);
  const std::uint8_t connector = r.ImageByte(s.Address + kPortInternalConnector);
  p.Connector = connector == kPortOtherCode ? kPortConnectorOtherStored : connector;
  const std::uint8_t type = r.ImageByte(s.Address + kPortPortType);
  if (type == kPortOtherCode) {
    p.PortType = kPortTypeOtherStored;
  } else if (type >= kPortTypeShiftedFirst) {
    p.PortType = static_cast<std::uint8_t>(type - kPortTypeShift);
  } else {
    p.PortType = type;
  }
  return p;
}

TSlot DecodeSlot(const BiosImageReader& r, const TStructTable& s) {
  TSlot t;
  t.Designation = ReadStringField(r, s, kSlotDesignation);
  std::uint8_t type = r.ImageByte(s.Address + kSlotSlotType);
  if (type > kSlotTypeLastLow) type = static_cast<std::uint8_t>(type - kSlotTypeShift);
  t.SlotType = Minus1(type);
  t.DataBus = Minus1(r.ImageByte(s.Address + kSlotDataBusWidth));
  t.SlotNumber = r.ImageWord(s.Address + kSlotId);
  return t;
}

// Visits the listed structures of one type in table order that really lie
// in the table and carry that type.
template <typename Decode>
void ForEachOfType(const BiosImageReader& reader, const TStructTables& tables, std::uint64_t tableAddress,
                   std::uint8_t type, Decode decode) {
  for (int i = FindStructTableIndex(tables, type, 0); i >= 0; i = FindStructTableIndex(tables, type, i + 1)) {
    const TStructTable& entry = tables[static_cast<std::size_t>(i)];
    if (entry.Address < tableAddress || reader.ImageByte(entry.Address) != type) continue;
    decode(entry);
  }
}

template <typename Record>
bool Always(const Record&) {
  return true;
}

bool Named(const TPort& port) { return !port.Designator.empty(); }
bool Named(const TSlot& slot) { return !slot.Designation.empty(); }

// Appends the records that `keep` accepts, up to the list's limit. Ports and
// slots without a name are left out before the limit counts them.
template <typename Record, typename Decode, typename Keep>
void DecodeList(const BiosImageReader& reader, const TStructTables& tables, std::uint64_t tableAddress,
                std::uint8_t type, std::vector<Record>& list, Decode decode, Keep keep) {
  ForEachOfType(reader, tables, tableAddress, type, [&](const TStructTable& entry) {
    if (list.size() >= kMaxComponentsPerList) return;
    Record record = decode(reader, entry);
    if (keep(record)) list.push_back(std::move(record));
  });
}

}  // namespace

double ProcessorVoltage(std::uint8_t code) {
  // Bit 7 set: the other bits hold tenths of a volt; otherwise bits 0 to 2
  // flag the supported legacy voltages, the first set one wins.
  if ((code & 0x80) != 0) return (code - 0x80) / 10.0;
  if ((code & 0x01) != 0) return 5.0;
  if ((code & 0x02) != 0) return 3.3;
  if ((code & 0x04) != 0) return 2.9;
  return 0;
}

SmbiosComponents DecodeComponents(const BiosImageReader& reader, const TStructTables& tables,
                                  std::uint64_t tableAddress) {
  SmbiosComponents c;
  DecodeList(reader, tables, tableAddress, kProcessorType, c.Processors, DecodeProcessor, Always<TProcessor>);
  DecodeList(reader, tables, tableAddress, kMemoryModuleType, c.MemoryBanks, DecodeMemoryModule, Always<TMemoryBank>);
  DecodeList(reader, tables, tableAddress, kCacheType, c.Caches, DecodeCache, Always<TCache>);
  DecodeList(reader, tables, tableAddress, kPortType, c.Ports, DecodePort, [](const TPort& p) { return Named(p); });
  DecodeList(reader, tables, tableAddress, kSlotType, c.Slots, DecodeSlot, [](const TSlot& s) { return Named(s); });
  // Memory devices stand in for memory modules only when there are none.
  if (c.MemoryBanks.empty()) {
    DecodeList(reader, tables, tableAddress, kMemoryDeviceType, c.MemoryBanks, DecodeMemoryDevice, Always<TMemoryBank>);
  }
  return c;
}

}  // namespace tolvaren
