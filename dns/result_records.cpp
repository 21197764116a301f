#include "dns/result_records.h"

#include <algorithm>

#include "dns/dns_names.h"
#include "platform/ipv4_address.h"

namespace tolvaren::dns {
namespace {

// The address in the first four bytes; empty when fewer are there.
std::string DottedAddress(const std::string& bytes) {
  if (bytes.size() < 4) return {};
  platform::Ipv4Bytes address;
  std::copy_n(bytes.begin(), 4, address.begin());
  return platform::FormatIpv4(address);
}

// Byte offsets inside RDATA.
constexpr std::size_t kMxExchangerOffset = 2;
constexpr std::size_t kWksProtocolOffset = 4;
constexpr std::size_t kWksBitMapOffset = 5;

}  // namespace

void TResultRecord::ParseRData(const ByteView&, std::size_t) {}

void TRDATARecord::ParseRData(const ByteView&, std::size_t) {
  if (!RData.empty()) IPAddress = DottedAddress(RData);
}

void TNAMERecord::ParseRData(const ByteView& packet, std::size_t offset) {
  TargetName = ReadName(packet, offset, &TargetLabels);
}

void TMXRecord::ParseRData(const ByteView& packet, std::size_t offset) {
  MXPreference = packet.U16Be(offset).value_or(0);
  offset += kMxExchangerOffset;
  MailExchanger = ReadName(packet, offset);
}

void TSOARecord::ParseRData(const ByteView& packet, std::size_t offset) {
  MName = ReadName(packet, offset);
  RName = ReadName(packet, offset);
  // Numbers the cut packet does not hold read as 0.
  for (std::uint32_t* field : {&Serial, &Refresh, &Retry, &Expire, &Minimum}) {
    *field = packet.U32Be(offset).value_or(0);
    offset += 4;
  }
}

void TWKSRecord::ParseRData(const ByteView&, std::size_t) {
  if (RData.size() < kWksBitMapOffset) return;  // too short to hold address and protocol
  Address = DottedAddress(RData);
  Protocol = static_cast<std::uint8_t>(RData[kWksProtocolOffset]);
  BitMap = RData.substr(kWksBitMapOffset);
}

void TTextRecord::ParseRData(const ByteView& packet, std::size_t offset) {
  Texts.clear();
  while (true) {
    std::string text = ReadCharString(packet, offset);
    if (text.empty()) break;
    Texts.push_back(std::move(text));
  }
}

void THINFORecord::ParseRData(const ByteView& packet, std::size_t offset) {
  TTextRecord::ParseRData(packet, offset);
  CPU = ReadCharString(packet, offset);
  OS = ReadCharString(packet, offset);
}

void TMINFORecord::ParseRData(const ByteView& packet, std::size_t offset) {
  RMailBX = ReadName(packet, offset);
  EMailBX = ReadName(packet, offset);
}

std::unique_ptr<TResultRecord> CreateRecord(std::uint16_t typeCode) {
  switch (typeCode) {
    case TypeCode(qtA):
      return std::make_unique<TARecord>();
    case TypeCode(qtNS):
      return std::make_unique<TNSRecord>();
    case TypeCode(qtName):
      return std::make_unique<TNAMERecord>();
    case TypeCode(qtSOA):
      return std::make_unique<TSOARecord>();
    case TypeCode(qtWKS):
      return std::make_unique<TWKSRecord>();
    case TypeCode(qtPTR):
      return std::make_unique<TPTRRecord>();
    case TypeCode(qtHINFO):
      return std::make_unique<THINFORecord>();
    case TypeCode(qtMINFO):
      return std::make_unique<TMINFORecord>();
    case TypeCode(qtMX):
      return std::make_unique<TMXRecord>();
    case TypeCode(qtTXT):
      return std::make_unique<TTextRecord>();
    default:
      return std::make_unique<TResultRecord>();
  }
}

}  // namespace tolvaren::dns
