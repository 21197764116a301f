#include "hwinfo/bios.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/host.h"
#include "hwinfo/bios_acquisition.h"
#include "hwinfo/bios_image.h"
#include "hwinfo/bios_image_reader.h"
#include "platform/tregistry.h"

namespace tolvaren {
namespace {

constexpr char kSystemDescriptionKey[] = "\\HARDWARE\\DESCRIPTION\\System";
constexpr std::size_t kBiosVersionBufferSize = 255;

// Where older BIOSes keep their identification texts.
constexpr std::uint32_t kBiosNameAddress = 0xFE061;
constexpr std::uint32_t kBiosDateAddress = 0xFFFF5;
constexpr std::uint32_t kBiosCopyrightAddress = 0xFE091;
constexpr std::uint32_t kBiosExtendedInfoAddress = 0xFEC71;

// XP lists every line of the BIOS version as one string of a multi-string
// value: the strings are joined, up to the double zero that ends the list.
std::string JoinedStrings(const std::array<std::uint8_t, kBiosVersionBufferSize>& buffer) {
  std::string text;
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    if (buffer[i] == 0) {
      if (i + 1 < buffer.size() && buffer[i + 1] == 0) break;
      continue;
    }
    text += static_cast<char>(buffer[i]);
  }
  return text;
}

std::string FirstString(const std::array<std::uint8_t, kBiosVersionBufferSize>& buffer) {
  const auto end = std::find(buffer.begin(), buffer.end(), std::uint8_t{0});
  return std::string(buffer.begin(), end);
}

// A zero-terminated text of the BIOS area; empty when the platform cannot
// read the area or the text runs into bytes it cannot read. The texts are
// short, so they are read in small pieces up to their zero byte.
std::string BiosAreaText(platform::Firmware& firmware, std::uint32_t address) {
  constexpr std::size_t kPiece = 128;
  std::string text;
  while (address <= kBiosAreaLast) {
    std::array<std::uint8_t, kPiece> piece;
    const std::size_t wanted = std::min<std::size_t>(kPiece, kBiosAreaLast + 1 - address);
    const std::size_t copied = firmware.ReadMappedBiosArea(address, piece.data(), wanted);
    const auto end = std::find(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(copied), std::uint8_t{0});
    text.append(piece.begin(), end);
    if (end != piece.begin() + static_cast<std::ptrdiff_t>(copied)) return text;
    if (copied < wanted) return {};
    address += static_cast<std::uint32_t>(copied);
  }
  return text;  // the area ends without a zero byte
}

// The same text from a saved image of the area.
std::string SavedAreaText(const BiosImage& image, std::uint32_t address) {
  const auto begin = image.begin() + (address - kBiosAreaBase);
  return std::string(begin, std::find(begin, image.end(), std::uint8_t{0}));
}

}  // namespace

void TBIOS::GetInfo() {
  if (host_.os.isNT) {
    ReadFromRegistry();
  } else {
    ReadFromBiosArea();
  }
}

void TBIOS::ReadFromRegistry() {
  TRegistry reg(host_.platform.registry);
  if (!reg.OpenKeyReadOnly(kSystemDescriptionKey)) return;
  if (reg.ValueExists("Identifier")) name_ = reg.ReadString("Identifier");
  if (reg.ValueExists("SystemBiosVersion")) {
    std::array<std::uint8_t, kBiosVersionBufferSize> buffer{};
    try {
      reg.ReadBinaryData("SystemBiosVersion", buffer.data(), buffer.size());
      copyright_ = host_.os.kind == osXP ? JoinedStrings(buffer) : FirstString(buffer);
    } catch (const ERegistryException&) {
      // A text value, or one too long for the buffer: Copyright stays as it was.
    }
  }
  if (reg.ValueExists("SystemBiosDate")) date_ = reg.ReadString("SystemBiosDate");
}

// Only Windows 95/98/Me map the BIOS area at its own linear address; where
// the platform cannot read it, the texts stay empty. A saved image named by
// TOLVAREN_BIOS_IMAGE stands for the whole area, so the machine's own is not
// read then; a saved image that cannot be used gives no texts.
void TBIOS::ReadFromBiosArea() {
  const std::uint32_t addresses[] = {kBiosNameAddress, kBiosDateAddress, kBiosCopyrightAddress,
                                     kBiosExtendedInfoAddress};
  std::string* texts[] = {&name_, &date_, &copyright_, &extendedInfo_};
  const auto saved = SavedBiosImageOf(host_);
  for (std::size_t i = 0; i < std::size(addresses); ++i) {
    if (saved == nullptr) {
      *texts[i] = BiosAreaText(host_.platform.firmware, addresses[i]);
    } else if (saved->error.empty()) {
      *texts[i] = SavedAreaText(*saved->image, addresses[i]);
    }
    *texts[i] = DotControlBytes(std::move(*texts[i]));
  }
}

void TBIOS::Report(StringList& lines) const {
  lines.Add("[BIOS]");
  lines.Add("Name=" + name_);
  lines.Add("Copyright=" + copyright_);
  lines.Add("Date=" + date_);
  lines.Add("ExtendedInfo=" + extendedInfo_);
}

}  // namespace tolvaren
