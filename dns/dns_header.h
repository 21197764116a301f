#pragma once

#include <cstdint>

namespace tolvaren::dns {

// The header of the last query built, then of the last reply read. The
// identifier is drawn once, when the header is created, and every query of
// its resolver carries it.
struct TDNSHeader {
  TDNSHeader();
  explicit TDNSHeader(std::uint16_t id) : ID(id) {}

  std::uint16_t RCode() const { return Flags & 0x000F; }

  std::uint16_t ID = 0;
  std::uint16_t Flags = 0;
  std::uint16_t QDCount = 0;
  std::uint16_t ANCount = 0;
  std::uint16_t NSCount = 0;
  std::uint16_t ARCount = 0;
};

// A fresh query identifier from 0 to 65534.
std::uint16_t DrawQueryId();

}  // namespace tolvaren::dns
