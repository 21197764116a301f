#include "hwinfo/bios_acquisition.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <span>

#include "core/host.h"
#include "hwinfo/bios_image_file.h"
#include "hwinfo/dos_dump_programs.h"
#include "hwinfo/rom_dump.h"
#include "hwinfo/smbios_anchor.h"
#include "hwinfo/smbios_source.h"
#include "hwinfo/smbios_synthesis.h"

namespace tolvaren {
namespace {

constexpr char kSysfsEntryPoint[] = "/sys/firmware/dmi/tables/smbios_entry_point";
constexpr char kSysfsTable[] = "/sys/firmware/dmi/tables/DMI";

// Both DOS dumps, each into a cleared scratch buffer that then becomes its
// half of the image.
bool DumpBothSegments(platform::Platform& platform, BiosImage& image) {
  std::array<std::uint8_t, kBiosSegmentSize> scratch{};
  const bool lowOk = DumpRomSegment(platform, kSegmentE000, scratch, platform::kWaitInfinite);
  std::copy(scratch.begin(), scratch.end(), image.begin());
  scratch.fill(0);
  const bool highOk = DumpRomSegment(platform, kSegmentF000, scratch, platform::kWaitInfinite);
  std::copy(scratch.begin(), scratch.end(), image.begin() + kBiosSegmentSize);
  return lowOk && highOk;
}

// A synthesized image from a source table, taken only when usable. An empty
// table is no source at all.
bool TakeIfUsable(const std::optional<SmbiosSource>& source, BiosImage& image, HighTable& high) {
  if (!source || source->table.empty()) return false;
  auto candidate = std::make_unique<BiosImage>();
  HighTable candidateHigh;
  SynthesizeBiosImage(*source, *candidate, candidateHigh);
  if (!IsUsableBiosImage(*candidate, candidateHigh)) return false;
  image = *candidate;
  high = std::move(candidateHigh);
  return true;
}

std::optional<SmbiosSource> ReadSysfsTables(platform::FileSystem& files) {
  const auto entry = files.ReadFileHead(kSysfsEntryPoint, 0x100);
  if (!entry) return std::nullopt;
  std::optional<SmbiosSource> source = ReadSourceEntryPoint(*entry);
  if (!source) return std::nullopt;
  auto table = files.ReadFileHead(kSysfsTable, kMaxBiosImageFileSize);
  if (!table) return std::nullopt;
  source->table = std::move(*table);
  return source;
}

std::optional<SmbiosSource> ReadFirmwareTableSource(platform::Firmware& firmware) {
  const auto blob = firmware.ReadFirmwareTable(platform::kRawSmbiosProvider);
  if (!blob) return std::nullopt;
  return ReadRawSmbiosBlob(*blob);
}

bool AcquireOnWindows(Host& host, std::uint32_t base, BiosImage& image, HighTable& high) {
  const bool copied = CopyBiosAreaClassic(host, base, image);
  if (copied && IsUsableBiosImage(image, high)) return true;
  if (TakeIfUsable(ReadFirmwareTableSource(host.platform.firmware), image, high)) return true;
  return copied;
}

bool AcquireOnLinux(Host& host, std::uint32_t base, BiosImage& image, HighTable& high) {
  if (TakeIfUsable(ReadSysfsTables(host.platform.files), image, high)) return true;
  const bool copied = host.platform.firmware.ReadMappedBiosArea(base, image.data(), image.size()) == image.size();
  return copied;
}

}  // namespace

std::shared_ptr<const SavedBiosImage> SavedBiosImageOf(Host& host) {
  if (!host.savedBiosImage) {
    const std::optional<std::string> path = host.platform.environment.Get(kBiosImageVariable);
    if (!path || path->empty()) return nullptr;
    auto saved = std::make_shared<SavedBiosImage>();
    try {
      LoadBiosImageFile(host.platform.files, *path, *saved->image, saved->high);
    } catch (const EBiosImageFile& e) {
      saved->error = e.Message();
    }
    host.savedBiosImage = std::move(saved);
  }
  return host.savedBiosImage;
}

std::optional<std::string> CheckBiosImageOverride(Host& host) {
  if (!host.savedBiosImage) {
    const std::optional<std::string> path = host.platform.environment.Get(kBiosImageVariable);
    if (!path || path->empty()) return std::nullopt;
    if (host.platform.files.ReadableFileSize(*path) == kBiosAreaSize) return std::nullopt;
  }
  const auto saved = SavedBiosImageOf(host);
  if (saved == nullptr || saved->error.empty()) return std::nullopt;
  return saved->error;
}

bool CopyBiosAreaClassic(Host& host, std::uint32_t base, BiosImage& image) {
  platform::Firmware& firmware = host.platform.firmware;
  if (!host.os.isNT) return firmware.ReadMappedBiosArea(base, image.data(), image.size()) == image.size();
  switch (firmware.ReadPhysicalMemorySection(base, image.data(), image.size()).status) {
    case platform::SectionRead::srCopied:
      return true;
    case platform::SectionRead::srNoView:
      throw EPhysicalMemoryMap();
    case platform::SectionRead::srRefused:
      break;
  }
  return DumpBothSegments(host.platform, image);
}

bool AcquireBiosImage(Host& host, std::uint32_t base, BiosImage& image, HighTable& high) {
  if (const auto saved = SavedBiosImageOf(host)) {
    if (!saved->error.empty()) throw EBiosImageFile(saved->error);
    // The saved image is decoded whether usable or not, so the reader looks
    // for both anchors in it.
    image = *saved->image;
    high = saved->high;
    return true;
  }
  high = HighTable{};
  if (host.platform.firmware.Family() == platform::ffLinux) return AcquireOnLinux(host, base, image, high);
  return AcquireOnWindows(host, base, image, high);
}

}  // namespace tolvaren
