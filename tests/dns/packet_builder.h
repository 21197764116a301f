#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace tolvaren::dns::testing {

// Writes DNS packets as readable code:
//   Packet().Header(id, 0x8180, 1, 1, 0, 0).Question("a.example", 12)
//       .Record(Pointer(12), 12, Name("host.example"))
class Packet {
 public:
  Packet& Byte(std::uint8_t value) {
    bytes += static_cast<char>(value);
    return *this;
  }
  Packet& Word(std::uint16_t value) { return Byte(static_cast<std::uint8_t>(value >> 8)).Byte(value & 0xFF); }
  Packet& Long(std::uint32_t value) { return Word(static_cast<std::uint16_t>(value >> 16)).Word(value & 0xFFFF); }
  Packet& Raw(const std::string& raw) {
    bytes += raw;
    return *this;
  }
  Packet& Raw(const Packet& other) { return Raw(other.bytes); }

  // One label: its length byte and text.
  Packet& Label(const std::string& text) { return Byte(static_cast<std::uint8_t>(text.size())).Raw(text); }

  // A dotted name in label form with its terminating zero byte.
  Packet& Name(const std::string& dotted) {
    std::size_t start = 0;
    while (start < dotted.size()) {
      std::size_t dot = dotted.find('.', start);
      if (dot == std::string::npos) dot = dotted.size();
      Label(dotted.substr(start, dot - start));
      start = dot + 1;
    }
    return Byte(0);
  }

  // A compression pointer to an offset of the packet.
  Packet& Pointer(std::uint16_t offset) { return Word(static_cast<std::uint16_t>(0xC000 | offset)); }

  Packet& Header(std::uint16_t id, std::uint16_t flags, std::uint16_t qd, std::uint16_t an, std::uint16_t ns = 0,
                 std::uint16_t ar = 0) {
    return Word(id).Word(flags).Word(qd).Word(an).Word(ns).Word(ar);
  }

  Packet& Question(const std::string& dotted, std::uint16_t type, std::uint16_t klass = 1) {
    return Name(dotted).Word(type).Word(klass);
  }

  // A record whose RDLENGTH is the length of rdata.
  Packet& Record(const Packet& owner, std::uint16_t type, const Packet& rdata, std::uint32_t ttl = 3600) {
    return RecordDeclaring(owner, type, rdata, static_cast<std::uint16_t>(rdata.bytes.size()), ttl);
  }

  // A record that declares an RDLENGTH of its own, whatever data follows.
  Packet& RecordDeclaring(const Packet& owner, std::uint16_t type, const Packet& rdata, std::uint16_t rdLength,
                          std::uint32_t ttl = 3600) {
    return Raw(owner).Word(type).Word(1).Long(ttl).Word(rdLength).Raw(rdata);
  }

  std::size_t Size() const { return bytes.size(); }
  Packet Cut(std::size_t length) const {
    Packet cut;
    cut.bytes = bytes.substr(0, length);
    return cut;
  }

  std::string bytes;
};

inline Packet Name(const std::string& dotted) { return Packet().Name(dotted); }
inline Packet Pointer(std::uint16_t offset) { return Packet().Pointer(offset); }
inline Packet Bytes(std::initializer_list<std::uint8_t> values) {
  Packet p;
  for (std::uint8_t v : values) p.Byte(v);
  return p;
}

// Record type codes used in tests.
inline constexpr std::uint16_t kA = 1, kNS = 2, kCNAME = 5, kSOA = 6, kWKS = 11, kPTR = 12, kHINFO = 13, kMINFO = 14,
                               kMX = 15, kTXT = 16, kAAAA = 28;

// Offset of the first question's name in every message.
inline constexpr std::uint16_t kQuestionOffset = 12;

// The query identifier the codec tests use.
inline constexpr std::uint16_t kTestId = 0x1A2B;

// A reply to the PTR query for address: its question, then one PTR answer
// naming target (the answer's owner a pointer to the question).
inline Packet PtrReply(std::uint16_t id, const std::string& address, const std::string& target) {
  std::string reversed = "in-addr.arpa";
  for (std::size_t start = 0; start <= address.size();) {
    const std::size_t dot = std::min(address.find('.', start), address.size());
    reversed = address.substr(start, dot - start) + "." + reversed;
    start = dot + 1;
  }
  return Packet()
      .Header(id, 0x8180, 1, 1)
      .Question(reversed, kPTR)
      .Record(Pointer(kQuestionOffset), kPTR, Name(target));
}

}  // namespace tolvaren::dns::testing
