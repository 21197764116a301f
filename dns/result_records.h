#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dns/query_types.h"
#include "platform/byte_view.h"

namespace tolvaren::dns {

// One resource record of a reply. The common fields are set for every record
// read; ParseRData of a subclass reads the fields of its type.
class TResultRecord {
 public:
  virtual ~TResultRecord() = default;

  // Reads the type's fields from packet (cut after this record's RDATA),
  // starting at the RDATA offset.
  virtual void ParseRData(const ByteView& packet, std::size_t offset);

  std::optional<TQueryRecordTypes> RecordType;  // none for type codes 0 and above 17
  std::uint16_t TypeCode = 0;                   // as received
  std::uint16_t RecordClass = 0;
  std::string Name;
  std::uint32_t TTL = 0;
  std::string RData;  // as it stands in the reply, compressed names included
  int RDLength = 0;   // as declared
};

// An address record's text form.
class TRDATARecord : public TResultRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::string IPAddress;
};

class TARecord : public TRDATARecord {};

// CNAME, and the base of NS and PTR.
class TNAMERecord : public TResultRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::string TargetName;
  std::vector<std::string> TargetLabels;  // TargetName's labels as they stand
};

class TNSRecord : public TNAMERecord {};
class TPTRRecord : public TNAMERecord {};

class TMXRecord : public TResultRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::uint16_t MXPreference = 0;
  std::string MailExchanger;
};

class TSOARecord : public TResultRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::string MName, RName;
  std::uint32_t Serial = 0, Refresh = 0, Retry = 0, Expire = 0, Minimum = 0;
};

class TWKSRecord : public TResultRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::string Address;
  std::uint8_t Protocol = 0;
  std::string BitMap;
};

// TXT: the character-strings up to the first empty one.
class TTextRecord : public TResultRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::vector<std::string> Texts;
};

class THINFORecord : public TTextRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::string CPU, OS;
};

class TMINFORecord : public TResultRecord {
 public:
  void ParseRData(const ByteView& packet, std::size_t offset) override;
  std::string RMailBX, EMailBX;
};

// The record object for a reply record of the given type code.
std::unique_ptr<TResultRecord> CreateRecord(std::uint16_t typeCode);

}  // namespace tolvaren::dns
