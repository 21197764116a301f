#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tolvaren::dns {

// The one gate through which the DNS parsers read a packet: every read is
// checked against the packet's length, so no parser indexes raw bytes. Words
// are big-endian, as on the wire.
class PacketReader {
 public:
  PacketReader() = default;
  explicit PacketReader(std::string_view bytes) : bytes_(bytes) {}
  // The reader only views the bytes; a temporary string would vanish under it.
  explicit PacketReader(std::string&&) = delete;

  std::size_t Size() const { return bytes_.size(); }

  // True when count bytes from pos lie inside the packet.
  bool Holds(std::size_t pos, std::size_t count) const { return pos <= Size() && count <= Size() - pos; }

  // True when pos is the last byte of the packet or lies past it.
  bool AtOrPastLastByte(std::size_t pos) const { return pos + 1 >= Size(); }

  // The byte at pos; 0 past the end.
  std::uint8_t ByteOrZero(std::size_t pos) const {
    return pos < Size() ? static_cast<std::uint8_t>(bytes_[pos]) : std::uint8_t{0};
  }

  // The word at pos with missing bytes read as 0.
  std::uint16_t WordOrZero(std::size_t pos) const {
    return static_cast<std::uint16_t>((ByteOrZero(pos) << 8) | ByteOrZero(pos + 1));
  }

  std::optional<std::uint16_t> Word(std::size_t pos) const {
    if (!Holds(pos, 2)) return std::nullopt;
    return WordOrZero(pos);
  }

  std::optional<std::uint32_t> Long(std::size_t pos) const {
    if (!Holds(pos, 4)) return std::nullopt;
    return (std::uint32_t{WordOrZero(pos)} << 16) | WordOrZero(pos + 2);
  }

  // Up to count bytes from pos, fewer when the packet ends sooner.
  std::string Bytes(std::size_t pos, std::size_t count) const {
    if (pos >= Size()) return {};
    return std::string(bytes_.substr(pos, count));
  }

  // The packet cut off after length bytes (the whole packet when shorter).
  PacketReader Prefix(std::size_t length) const { return PacketReader(bytes_.substr(0, length)); }

 private:
  std::string_view bytes_;
};

}  // namespace tolvaren::dns
