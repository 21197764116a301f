#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hwinfo/bios_acquisition.h"
#include "hwinfo/bios_image.h"
#include "hwinfo/smbios_components.h"
#include "hwinfo/smbios_struct_table.h"
#include "platform/string_list.h"

namespace tolvaren {

struct Host;

// Reads the SMBIOS tables from the BIOS area image: the identification of
// system, base board and chassis, the BIOS, and the component lists.
class TSMBIOS {
 public:
  explicit TSMBIOS(Host& host);
  virtual ~TSMBIOS();

  // Mode 1 acquires a fresh image first; any other mode decodes the image
  // already held. Raises only the physical-memory mapping error.
  void GetInfo(int mode);

  // Appends the decoded state as "[SMBIOS]" key=value lines.
  virtual void Report(StringList& lines) const;

  const std::string& SystemModel() const { return systemModel_; }
  const std::string& SystemManufacturer() const { return systemManufacturer_; }
  const std::string& SystemVersion() const { return systemVersion_; }
  const std::string& SystemSerial() const { return systemSerial_; }
  const std::string& SystemUUID() const { return systemUUID_; }
  const std::string& BIOSVendor() const { return biosVendor_; }
  const std::string& BIOSVersion() const { return biosVersion_; }
  const std::string& BIOSDate() const { return biosDate_; }
  std::uint32_t BIOSSize() const { return biosSize_; }
  const std::string& MainBoardModel() const { return mainBoardModel_; }
  const std::string& MainBoardManufacturer() const { return mainBoardManufacturer_; }
  const std::string& MainBoardVersion() const { return mainBoardVersion_; }
  const std::string& MainBoardSerial() const { return mainBoardSerial_; }
  const std::string& ChassisModel() const { return chassisModel_; }
  const std::string& ChassisManufacturer() const { return chassisManufacturer_; }
  const std::string& ChassisVersion() const { return chassisVersion_; }
  const std::string& ChassisSerial() const { return chassisSerial_; }

  const std::string& SMBIOSVersion() const { return smbiosVersion_; }
  std::uint32_t EntryPointAddress() const { return entryPointAddress_; }
  std::uint64_t TableAddress() const { return tableAddress_; }
  // As the entry point announces them; a 3.x entry point announces no count
  // (0) and a maximum length.
  std::uint16_t StructureCount() const { return structureCount_; }
  std::uint32_t TableLength() const { return tableLength_; }
  const TStructTables& StructTables() const { return structTables_; }

  // The component lists; an index at or above the count gives an all-zero
  // record.
  std::uint8_t ProcessorCount() const { return static_cast<std::uint8_t>(components_.Processors.size()); }
  std::uint8_t MemorySlotCount() const { return static_cast<std::uint8_t>(components_.MemoryBanks.size()); }
  std::uint8_t PortCount() const { return static_cast<std::uint8_t>(components_.Ports.size()); }
  std::uint8_t SystemSlotCount() const { return static_cast<std::uint8_t>(components_.Slots.size()); }
  std::uint8_t CacheCount() const { return static_cast<std::uint8_t>(components_.Caches.size()); }
  TProcessor Processor(std::uint8_t index) const { return ItemOrZero(components_.Processors, index); }
  TMemoryBank MemoryBank(std::uint8_t index) const { return ItemOrZero(components_.MemoryBanks, index); }
  TPort Port(std::uint8_t index) const { return ItemOrZero(components_.Ports, index); }
  TSlot Slot(std::uint8_t index) const { return ItemOrZero(components_.Slots, index); }
  TCache Cache(std::uint8_t index) const { return ItemOrZero(components_.Caches, index); }

 private:
  template <typename Record>
  static Record ItemOrZero(const std::vector<Record>& list, std::uint8_t index) {
    return index < list.size() ? list[index] : Record{};
  }

  void ResetFields();
  void ReadEntryPoint(const BiosImageReader& reader);
  void DecodeBiosInformation(const BiosImageReader& reader);
  void DecodeSystemInformation(const BiosImageReader& reader);
  void DecodeBaseBoard(const BiosImageReader& reader);
  void DecodeChassis(const BiosImageReader& reader);
  // The first listed structure of the type when it lies in the table and
  // really has that type; nothing otherwise.
  const TStructTable* FirstStructure(const BiosImageReader& reader, std::uint8_t type) const;

  Host& host_;
  BiosImagePtr image_;
  HighTable high_;
  // A saved image named by TOLVAREN_BIOS_IMAGE, decoded where the host keeps
  // it: copying 128 KiB into a fresh buffer would cost a run more than the
  // whole decoding does.
  std::shared_ptr<const SavedBiosImage> saved_;
  std::uint32_t entryPointAddress_ = 0;
  std::uint64_t tableAddress_ = 0;
  std::string mainBoardModel_;
  std::string systemManufacturer_;
  std::string systemModel_;
  std::string biosDate_;
  std::string smbiosVersion_;
  std::string biosVendor_;
  std::string biosVersion_;
  std::uint32_t biosSize_ = 0;
  std::string systemVersion_;
  std::string systemSerial_;
  std::string mainBoardSerial_;
  std::string mainBoardManufacturer_;
  std::string mainBoardVersion_;
  std::string chassisSerial_;
  std::string chassisVersion_;
  std::string chassisManufacturer_;
  std::string chassisModel_;
  std::string systemUUID_;
  SmbiosComponents components_;
  std::uint16_t structureCount_ = 0;
  std::uint32_t tableLength_ = 0;
  bool sm3_ = false;
  TStructTables structTables_;
};

}  // namespace tolvaren
