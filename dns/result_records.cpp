#include "dns/result_records.h"

#include "dns/dns_names.h"

namespace tolvaren::dns {
namespace {

// "%d.%d.%d.%d" of four bytes; empty when fewer are there.
std::string DottedAddress(const std::string& bytes) {
  if (bytes.size() < 4) return {};
  std::string text;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) text += '.';
    text += std::to_string(static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]));
  }
  return text;
}

// Byte offsets inside RDATA.
constexpr std::size_t kMxExchangerOffset = 2;
constexpr std::size_t kWksProtocolOffset = 4;
constexpr std::size_t kWksBitMapOffset = 5;

}  // namespace

void TResultRecord::ParseRData(const PacketReader&, std::size_t) {}

void TResultRecord::Assign(const TResultRecord& source) {
  RecordType = source.RecordType;
  TypeCode = source.TypeCode;
  RecordClass = source.RecordClass;
  Name = source.Name;
  TTL = source.TTL;
  RData = source.RData;
  RDLength = source.RDLength;
}

void TRDATARecord::ParseRData(const PacketReader&, std::size_t) {
  if (!RData.empty()) IPAddress = DottedAddress(RData);
}

void TRDATARecord::Assign(const TResultRecord& source) {
  TResultRecord::Assign(source);
  if (const auto* a = dynamic_cast<const TARecord*>(&source)) IPAddress = a->IPAddress;
}

void TNAMERecord::ParseRData(const PacketReader& packet, std::size_t offset) {
  TargetName = ReadName(packet, offset, &TargetLabels);
}

void TNAMERecord::Assign(const TResultRecord& source) {
  TResultRecord::Assign(source);
  if (const auto* name = dynamic_cast<const TNAMERecord*>(&source)) {
    TargetName = name->TargetName;
    TargetLabels = name->TargetLabels;
  }
}

void TMXRecord::ParseRData(const PacketReader& packet, std::size_t offset) {
  MXPreference = packet.Word(offset).value_or(0);
  offset += kMxExchangerOffset;
  MailExchanger = ReadName(packet, offset);
}

void TMXRecord::Assign(const TResultRecord& source) {
  TResultRecord::Assign(source);
  if (const auto* mx = dynamic_cast<const TMXRecord*>(&source)) {
    MXPreference = mx->MXPreference;
    MailExchanger = mx->MailExchanger;
  }
}

void TSOARecord::ParseRData(const PacketReader& packet, std::size_t offset) {
  MName = ReadName(packet, offset);
  RName = ReadName(packet, offset);
  // Numbers the cut packet does not hold read as 0.
  for (std::uint32_t* field : {&Serial, &Refresh, &Retry, &Expire, &Minimum}) {
    *field = packet.Long(offset).value_or(0);
    offset += 4;
  }
}

void TWKSRecord::ParseRData(const PacketReader&, std::size_t) {
  if (RData.size() < kWksBitMapOffset) return;  // too short to hold address and protocol
  Address = DottedAddress(RData);
  Protocol = static_cast<std::uint8_t>(RData[kWksProtocolOffset]);
  BitMap = RData.substr(kWksBitMapOffset);
}

void TTextRecord::ParseRData(const PacketReader& packet, std::size_t offset) {
  Texts.clear();
  while (true) {
    std::string text = ReadCharString(packet, offset);
    if (text.empty()) break;
    Texts.push_back(std::move(text));
  }
}

void THINFORecord::ParseRData(const PacketReader& packet, std::size_t offset) {
  TTextRecord::ParseRData(packet, offset);
  CPU = ReadCharString(packet, offset);
  OS = ReadCharString(packet, offset);
}

void TMINFORecord::ParseRData(const PacketReader& packet, std::size_t offset) {
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
