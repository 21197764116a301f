#include "hwinfo/smbios.h"

#include <cstdio>
#include <limits>

#include "core/host.h"
#include "hwinfo/bios_acquisition.h"
#include "hwinfo/bios_image_file.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_layout.h"
#include "hwinfo/smbios_names.h"

namespace tolvaren {
namespace {

// BIOS Information (type 0).
constexpr std::uint8_t kBiosInformationType = 0;
constexpr std::uint8_t kBiosVendor = 0x04;
constexpr std::uint8_t kBiosVersion = 0x05;
constexpr std::uint8_t kBiosReleaseDate = 0x08;
constexpr std::uint8_t kBiosRomSize = 0x09;  // in 64 KiB units, minus one
constexpr std::uint32_t kBiosRomSizeUnit = 64;

// System Information (type 1).
constexpr std::uint8_t kSystemInformationType = 1;
constexpr std::uint8_t kSystemManufacturer = 0x04;
constexpr std::uint8_t kSystemProductName = 0x05;
constexpr std::uint8_t kSystemVersion = 0x06;
constexpr std::uint8_t kSystemSerialNumber = 0x07;
constexpr std::uint8_t kSystemUuid = 0x08;  // 16 bytes, present when the structure is longer than 8
constexpr std::size_t kSystemUuidSize = 16;

// Base Board Information (type 2).
constexpr std::uint8_t kBaseBoardType = 2;
constexpr std::uint8_t kBoardManufacturer = 0x04;
constexpr std::uint8_t kBoardProduct = 0x05;
constexpr std::uint8_t kBoardVersion = 0x06;
constexpr std::uint8_t kBoardSerialNumber = 0x07;

// System Enclosure or Chassis (type 3).
constexpr std::uint8_t kChassisType = 3;
constexpr std::uint8_t kChassisManufacturer = 0x04;
constexpr std::uint8_t kChassisTypeCode = 0x05;  // bit 7: chassis lock present
constexpr std::uint8_t kChassisTypeMask = 0x7F;
constexpr std::uint8_t kChassisVersion = 0x06;
constexpr std::uint8_t kChassisSerialNumber = 0x07;

}  // namespace

TSMBIOS::TSMBIOS(Host& host) : host_(host), image_(NewZeroedBiosImage()) {}

TSMBIOS::~TSMBIOS() = default;

void TSMBIOS::GetInfo(int mode) {
  structTables_.clear();
  components_ = SmbiosComponents{};
  // The mapping error leaves here, before the reset.
  bool ok = true;
  if (mode == 1) {
    saved_ = SavedBiosImageOf(host_);
    if (saved_ && !saved_->error.empty()) {
      const std::string error = saved_->error;
      saved_.reset();
      throw EBiosImageFile(error);
    }
    // The saved image is decoded whether usable or not.
    if (!saved_) ok = AcquireBiosImage(host_, kBiosAreaBase, *image_, high_);
  }
  ResetFields();

  const BiosImage& image = saved_ ? *saved_->image : *image_;
  const BiosImageReader reader(image, saved_ ? &saved_->high : &high_);
  // A failed acquisition may have left a partial image; only the "_DMI_"
  // anchor is trusted then.
  entryPointAddress_ = FindEntryPointAddress(image, ok);
  if (entryPointAddress_ == 0) return;

  ReadEntryPoint(reader);
  // A 3.x table is walked to its End-of-Table or its length, however many
  // structures it holds.
  const std::uint32_t listed = sm3_ ? std::numeric_limits<std::uint32_t>::max() : structureCount_;
  structTables_ = BuildStructTables(reader, tableAddress_, tableLength_, listed);
  DecodeBiosInformation(reader);
  DecodeSystemInformation(reader);
  DecodeBaseBoard(reader);
  DecodeChassis(reader);
  components_ = DecodeComponents(reader, structTables_, tableAddress_);
}

void TSMBIOS::ResetFields() {
  entryPointAddress_ = 0;
  tableAddress_ = 0;
  sm3_ = false;
  for (std::string* text :
       {&mainBoardModel_, &systemManufacturer_, &systemModel_, &biosDate_, &smbiosVersion_, &biosVendor_, &biosVersion_,
        &systemVersion_, &systemSerial_, &mainBoardSerial_, &mainBoardManufacturer_, &mainBoardVersion_,
        &chassisSerial_, &chassisVersion_, &chassisManufacturer_, &chassisModel_, &systemUUID_}) {
    text->clear();
  }
  biosSize_ = 0;
  tableLength_ = 0;
  structureCount_ = 0;
}

void TSMBIOS::ReadEntryPoint(const BiosImageReader& reader) {
  const std::uint32_t e = entryPointAddress_;
  sm3_ = IsSm3EntryPoint(reader, e);
  if (sm3_) {
    smbiosVersion_ = std::to_string(reader.ImageByte(e + kEntry3MajorVersion)) + "." +
                     std::to_string(reader.ImageByte(e + kEntry3MinorVersion));
    tableLength_ = reader.ImageDWord(e + kEntry3TableMaximum);
    tableAddress_ = EntryPointTableAddress(reader, e);
    return;
  }
  smbiosVersion_ = std::to_string(reader.ImageByte(e + kEntryMajorVersion)) + "." +
                   std::to_string(reader.ImageByte(e + kEntryMinorVersion));
  tableLength_ = reader.ImageWord(e + kEntryTableLength);
  tableAddress_ = reader.ImageDWord(e + kEntryTableAddress);
  structureCount_ = reader.ImageWord(e + kEntryStructureCount);
}

const TStructTable* TSMBIOS::FirstStructure(const BiosImageReader& reader, std::uint8_t type) const {
  const int index = FindStructTableIndex(structTables_, type, 0);
  if (index < 0) return nullptr;
  const TStructTable& entry = structTables_[static_cast<std::size_t>(index)];
  if (entry.Address < tableAddress_ || reader.ImageByte(entry.Address) != type) return nullptr;
  return &entry;
}

void TSMBIOS::DecodeBiosInformation(const BiosImageReader& reader) {
  const TStructTable* s = FirstStructure(reader, kBiosInformationType);
  if (s == nullptr) return;
  biosSize_ = (reader.ImageByte(s->Address + kBiosRomSize) + 1u) * kBiosRomSizeUnit;
  biosVendor_ = ReadStringField(reader, *s, kBiosVendor);
  biosVersion_ = ReadStringField(reader, *s, kBiosVersion);
  biosDate_ = ReadStringField(reader, *s, kBiosReleaseDate);
}

void TSMBIOS::DecodeSystemInformation(const BiosImageReader& reader) {
  const TStructTable* s = FirstStructure(reader, kSystemInformationType);
  if (s == nullptr) return;
  systemUUID_.clear();
  if (s->Length > kSystemUuid) {
    // Bytes in stored order: no byte swapping of the first three fields.
    const auto uuid = reader.ImageBlock<kSystemUuidSize>(s->Address + kSystemUuid);
    char hex[3];
    for (const std::uint8_t byte : uuid) {
      std::snprintf(hex, sizeof hex, "%02X", byte);
      systemUUID_ += hex;
    }
  }
  systemManufacturer_ = ReadStringField(reader, *s, kSystemManufacturer);
  systemModel_ = ReadStringField(reader, *s, kSystemProductName);
  systemVersion_ = ReadStringField(reader, *s, kSystemVersion);
  systemSerial_ = ReadStringField(reader, *s, kSystemSerialNumber);
}

void TSMBIOS::DecodeBaseBoard(const BiosImageReader& reader) {
  const TStructTable* s = FirstStructure(reader, kBaseBoardType);
  if (s == nullptr) return;
  mainBoardManufacturer_ = ReadStringField(reader, *s, kBoardManufacturer);
  mainBoardModel_ = ReadStringField(reader, *s, kBoardProduct);
  mainBoardVersion_ = ReadStringField(reader, *s, kBoardVersion);
  mainBoardSerial_ = ReadStringField(reader, *s, kBoardSerialNumber);
}

void TSMBIOS::DecodeChassis(const BiosImageReader& reader) {
  const TStructTable* s = FirstStructure(reader, kChassisType);
  if (s == nullptr) return;
  chassisModel_ = ChassisTypeNames(reader.ImageByte(s->Address + kChassisTypeCode) & kChassisTypeMask);
  chassisManufacturer_ = ReadStringField(reader, *s, kChassisManufacturer);
  chassisVersion_ = ReadStringField(reader, *s, kChassisVersion);
  chassisSerial_ = ReadStringField(reader, *s, kChassisSerialNumber);
}

}  // namespace tolvaren
