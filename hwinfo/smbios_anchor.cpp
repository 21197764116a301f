#include "hwinfo/smbios_anchor.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

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

namespace {

constexpr std::size_t kEntryAlignment = 16;
// The longest entry point of any kind; a longer announced length is no entry
// point.
constexpr std::size_t kMaxEntryLength = 0x20;

// True when `count` bytes at `offset` lie in the image before its last byte
// and add up to zero modulo 256.
bool SumsToZero(const BiosImage& image, std::size_t offset, std::size_t count) {
  if (offset >= image.size() || count > image.size() - 1 - offset) return false;
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum = static_cast<std::uint8_t>(sum + image[offset + i]);
  return sum == 0;
}

bool HasAnchorAt(const BiosImage& image, std::size_t offset, std::string_view anchor) {
  return offset < image.size() && anchor.size() <= image.size() - 1 - offset &&
         std::equal(anchor.begin(), anchor.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool IsValidLegacyEntry(const BiosImage& image, std::size_t offset) {
  return HasAnchorAt(image, offset, kDmiAnchor) && SumsToZero(image, offset, kLegacyPointSize);
}

// An entry point of the kind whose anchor is at `offset`, with its checksums.
bool IsValidEntry(const BiosImage& image, std::size_t offset, std::string_view anchor) {
  if (!HasAnchorAt(image, offset, anchor)) return false;
  if (anchor == kDmiAnchor) return IsValidLegacyEntry(image, offset);
  const std::size_t lengthAt = offset + (anchor == kSm3Anchor ? kEntry3Length : kEntryLength);
  if (lengthAt >= image.size()) return false;
  const std::size_t length = image[lengthAt];
  if (length > kMaxEntryLength || !SumsToZero(image, offset, length)) return false;
  return anchor == kSm3Anchor || IsValidLegacyEntry(image, offset + kEntryDmiAnchor);
}

// The address of the first aligned entry point of the kind that validates;
// 0 when there is none. Jumps from one "_" to the next, as FindAnchor does.
std::uint32_t FindValidEntry(const BiosImage& image, std::string_view anchor) {
  std::size_t offset = 0;
  while (offset + anchor.size() < image.size()) {
    const void* hit = std::memchr(image.data() + offset, anchor.front(), image.size() - offset);
    if (hit == nullptr) return 0;
    const auto at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - image.data());
    if (at % kEntryAlignment != 0) {
      offset = at - at % kEntryAlignment + kEntryAlignment;
      continue;
    }
    if (IsValidEntry(image, at, anchor)) return static_cast<std::uint32_t>(kBiosAreaBase + at);
    offset = at + kEntryAlignment;
  }
  return 0;
}

}  // namespace

std::uint32_t FindEntryPointAddress(const BiosImage& image, bool trustAll) {
  const auto entryOf = [&](std::string_view anchor, std::uint32_t (*find)(const BiosImage&, std::string_view)) {
    if (!trustAll && anchor != kDmiAnchor) return std::uint32_t{0};
    const std::uint32_t at = find(image, anchor);
    return at != 0 && anchor == kDmiAnchor ? at - kEntryDmiAnchor : at;
  };
  for (const auto find : {FindValidEntry, FindAnchor}) {
    for (const std::string_view anchor : {kSmAnchor, kDmiAnchor, kSm3Anchor}) {
      if (const std::uint32_t entry = entryOf(anchor, find)) return entry;
    }
  }
  return 0;
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
