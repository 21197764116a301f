#include "hwinfo/smbios_anchor.h"

#include <algorithm>
#include <cstring>

namespace tolvaren {

// Jumps from one "_" to the next with memchr and compares only there: the
// same first match as trying every position, at a fraction of the cost on
// images that are mostly code and zeros.
std::uint32_t FindAnchor(const BiosImage& image, std::string_view anchor) {
  if (anchor.empty() || anchor.size() >= image.size()) return 0;
  // The whole anchor must end before the image's last byte.
  const std::size_t lastStart = image.size() - 1 - anchor.size();
  const std::uint8_t* const begin = image.data();
  const std::uint8_t* at = begin;
  const std::uint8_t* const end = begin + lastStart + 1;
  while (at < end) {
    const void* hit = std::memchr(at, anchor.front(), static_cast<std::size_t>(end - at));
    if (hit == nullptr) return 0;
    at = static_cast<const std::uint8_t*>(hit);
    if (std::memcmp(at, anchor.data(), anchor.size()) == 0) {
      return static_cast<std::uint32_t>(kBiosAreaBase + (at - begin));
    }
    ++at;
  }
  return 0;
}

std::uint32_t FindEntryPointAddress(const BiosImage& image) {
  if (const std::uint32_t sm = FindAnchor(image, kSmAnchor)) return sm;
  if (const std::uint32_t dmi = FindAnchor(image, kDmiAnchor)) return dmi - kEntryDmiAnchor;
  return FindAnchor(image, kSm3Anchor);
}

bool IsSm3EntryPoint(const BiosImageReader& reader, std::uint32_t entry) {
  const auto anchor = reader.ImageBlock<kSm3Anchor.size()>(entry);
  return std::equal(anchor.begin(), anchor.end(), kSm3Anchor.begin());
}

std::uint64_t EntryPointTableAddress(const BiosImageReader& reader, std::uint32_t entry) {
  if (IsSm3EntryPoint(reader, entry)) return reader.ImageQWord(entry + kEntry3TableAddress);
  return reader.ImageDWord(entry + kEntryTableAddress);
}

bool IsUsableBiosImage(const BiosImage& image, const HighTable& high) {
  const std::uint32_t entry = FindEntryPointAddress(image);
  if (entry == 0) return false;
  const BiosImageReader reader(image, &high);
  return reader.RegionLast(EntryPointTableAddress(reader, entry)) != 0;
}

}  // namespace tolvaren
