#include "hwinfo/bios_image_reader.h"

#include "hwinfo/smbios_layout.h"

namespace tolvaren {
namespace {

constexpr std::size_t kMaxStringLength = 255;

}  // namespace

std::uint64_t BiosImageReader::RegionLast(std::uint64_t address) const {
  if (address >= kBiosAreaBase && address <= kBiosAreaLast) return kBiosAreaLast;
  if (Locate(address, 1).region.Size() != 0) return high_->address + high_->bytes.size() - 1;
  return 0;
}

std::string BiosImageReader::ReadStructString(std::uint32_t structure, std::uint8_t index) const {
  const std::uint64_t last = RegionLast(structure);
  if (index == 0 || last == 0) return {};
  std::uint64_t at = static_cast<std::uint64_t>(structure) + ImageByte(structure + kStructLengthOffset);
  // Skip the strings before the wanted one. An empty string is the second
  // zero of the double zero that ends the set: the index lies past the set.
  for (std::uint8_t number = 1; number < index; ++number) {
    if (ImageByte(at) == 0) return {};
    while (at <= last && ImageByte(at) != 0) ++at;
    if (at > last) return {};
    ++at;
  }
  std::string text;
  while (text.size() < kMaxStringLength && at <= last) {
    const std::uint8_t c = ImageByte(at++);
    if (c == 0) break;
    text.push_back(static_cast<char>(c));
  }
  return DotControlBytes(TrimControlAndBlank(std::move(text)));
}

std::string DotControlBytes(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) c = '.';
  }
  return text;
}

std::string TrimControlAndBlank(std::string text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  std::size_t end = text.size();
  while (end > 0 && blank(text[end - 1])) --end;
  std::size_t begin = 0;
  while (begin < end && blank(text[begin])) ++begin;
  return text.substr(begin, end - begin);
}

}  // namespace tolvaren
