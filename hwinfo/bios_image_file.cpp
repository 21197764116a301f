#include "hwinfo/bios_image_file.h"

#include <algorithm>
#include <optional>

#include "hwinfo/smbios_layout.h"
#include "hwinfo/smbios_source.h"
#include "hwinfo/smbios_synthesis.h"
#include "platform/byte_view.h"

namespace tolvaren {
namespace {

// dmidecode --dump-bin rewrites the table address to this offset.
constexpr std::size_t kDumpTableOffset = 0x20;

// The firmware-table header: the calling-method flag is 0 or 1, and the
// major version of any SMBIOS data Windows hands out is 2 or 3.
bool LooksLikeRawSmbiosHeader(std::span<const std::uint8_t> bytes) {
  const ByteView in(bytes);
  const std::uint8_t method = in.U8(0).value_or(0);
  const std::uint8_t major = in.U8(1).value_or(0);
  return method <= 1 && major >= 2 && major <= 3;
}

std::string JoinPath(const std::string& folder, const char* name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == '/' || last == '\\') return folder + name;
  const bool backslashes = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
  return folder + (backslashes ? '\\' : '/') + name;
}

// The whole file, or why it cannot be had: the system's reason, what the path
// is when it is no regular file, or its size.
std::optional<std::vector<std::uint8_t>> ReadWhole(platform::FileSystem& files, const std::string& path,
                                                   std::string& reason) {
  auto bytes = files.ReadRegularFile(path, kMaxBiosImageFileSize + 1, reason);
  if (bytes && bytes->size() > kMaxBiosImageFileSize) {
    reason = "it is larger than 1 MiB";
    bytes.reset();
  }
  return bytes;
}

[[noreturn]] void Refuse(const std::string& path, const std::string& reason) {
  throw EBiosImageFile("Cannot use the BIOS image \"" + path + "\" (TOLVAREN_BIOS_IMAGE): " + reason + ".");
}

void LoadSysfsFolder(platform::FileSystem& files, const std::string& folder, BiosImage& image, HighTable& high) {
  std::string reason;
  const std::string entryPath = JoinPath(folder, "smbios_entry_point");
  const auto entry = ReadWhole(files, entryPath, reason);
  if (!entry) Refuse(folder, "smbios_entry_point: " + reason);
  const std::string tablePath = JoinPath(folder, "DMI");
  const auto table = ReadWhole(files, tablePath, reason);
  if (!table) Refuse(folder, "DMI: " + reason);
  std::optional<SmbiosSource> source = ReadSourceEntryPoint(*entry);
  if (!source) Refuse(folder, "smbios_entry_point holds no SMBIOS entry point");
  source->table = *table;
  SynthesizeBiosImage(*source, image, high);
}

}  // namespace

std::string LoadBiosImageBytes(std::span<const std::uint8_t> bytes, BiosImage& image, HighTable& high) {
  if (bytes.empty()) return "the file is empty";
  if (bytes.size() == kBiosAreaSize) {
    std::copy(bytes.begin(), bytes.end(), image.begin());
    high = HighTable{};
    return {};
  }
  const ByteView in(bytes);
  if (in.Matches(0, kSmAnchor) || in.Matches(0, kSm3Anchor) || in.Matches(0, kDmiAnchor)) {
    std::optional<SmbiosSource> source = ReadSourceEntryPoint(bytes);
    if (!source) return "its entry point is cut short";
    const auto table = in.Sub(kDumpTableOffset).Span();
    source->table.assign(table.begin(), table.end());
    SynthesizeBiosImage(*source, image, high);
    return {};
  }
  if (LooksLikeRawSmbiosHeader(bytes)) {
    if (const std::optional<SmbiosSource> source = ReadRawSmbiosBlob(bytes)) {
      SynthesizeBiosImage(*source, image, high);
      return {};
    }
  }
  return "it is neither a 131,072-byte BIOS area image, a dmidecode dump, a Linux DMI tables folder nor a "
         "Windows SMBIOS table";
}

void LoadBiosImageFile(platform::FileSystem& files, const std::string& path, BiosImage& image, HighTable& high) {
  if (files.Probe(path) == platform::pkDirectory) {
    LoadSysfsFolder(files, path, image, high);
    return;
  }
  // A raw area image, the common case, goes straight into the image.
  if (files.ReadWholeFileInto(path, image)) {
    high = HighTable{};
    return;
  }
  std::string reason;
  const auto bytes = ReadWhole(files, path, reason);
  if (!bytes) Refuse(path, reason);
  reason = LoadBiosImageBytes(*bytes, image, high);
  if (!reason.empty()) Refuse(path, reason);
}

}  // namespace tolvaren
