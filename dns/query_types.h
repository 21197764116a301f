#pragma once

#include <cstdint>
#include <optional>

namespace tolvaren::dns {

// The record types the resolver knows, in the order of their type codes.
enum TQueryRecordTypes : std::uint8_t {
  qtA,
  qtNS,
  qtMD,
  qtMF,
  qtName,
  qtSOA,
  qtMB,
  qtMG,
  qtMR,
  qtNull,
  qtWKS,
  qtPTR,
  qtHINFO,
  qtMINFO,
  qtMX,
  qtTXT,
  qtSTAR,
};

inline constexpr int kQueryRecordTypeCount = 17;

// The DNS type code sent in a question for a member.
constexpr std::uint16_t TypeCode(TQueryRecordTypes type) {
  return type == qtSTAR ? std::uint16_t{255} : static_cast<std::uint16_t>(type + 1);
}

// The member a reply record's type code stands for: the one whose ordinal is
// the code minus 1, for codes 1 to 17; none for any other code.
constexpr std::optional<TQueryRecordTypes> RecordTypeOfCode(std::uint16_t code) {
  if (code < 1 || code > kQueryRecordTypeCount) return std::nullopt;
  return static_cast<TQueryRecordTypes>(code - 1);
}

// A set of record types, one bit per ordinal.
class TQueryType {
 public:
  TQueryType() = default;
  TQueryType(std::initializer_list<TQueryRecordTypes> members) {
    for (TQueryRecordTypes m : members) Include(m);
  }

  void Include(TQueryRecordTypes member) { bits_ |= Bit(member); }
  void Exclude(TQueryRecordTypes member) { bits_ &= ~Bit(member); }
  bool Contains(TQueryRecordTypes member) const { return (bits_ & Bit(member)) != 0; }
  bool Empty() const { return bits_ == 0; }
  int Count() const {
    int count = 0;
    for (int i = 0; i < kQueryRecordTypeCount; ++i) count += Contains(static_cast<TQueryRecordTypes>(i)) ? 1 : 0;
    return count;
  }
  bool operator==(const TQueryType&) const = default;

 private:
  static std::uint32_t Bit(TQueryRecordTypes member) { return std::uint32_t{1} << member; }
  std::uint32_t bits_ = 0;
};

}  // namespace tolvaren::dns
