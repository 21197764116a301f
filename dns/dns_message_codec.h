#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dns/dns_header.h"
#include "dns/query_result.h"
#include "dns/query_types.h"
#include "platform/byte_view.h"

namespace tolvaren::dns {

// The message text for a reply's RCODE.
const char* RCodeText(int rcode);

// The message half of the resolver: builds the query for a name and turns a
// reply into the header and the records of Answers. Pure byte handling.
class DnsMessageCodec {
 public:
  DnsMessageCodec() = default;
  explicit DnsMessageCodec(std::uint16_t id) : Header(id) {}

  // One question per member of QueryRecords, in ordinal order; QueryPacket is
  // left empty when there is none.
  void BuildQuery(std::string_view name);

  // True when a datagram is the reply to QueryPacket (RFC 5452): it holds a
  // header with the query's identifier and QR set, and echoes the query's
  // question section, the same number of questions with the same names
  // (letters compared without case), types and classes. Reads nothing into
  // Header or Answers.
  bool IsReplyToQuery(std::string_view datagram) const;

  // Tests the reply against the query and fills Header and Answers, or raises
  // EDnsResolverError (EAssertionFailed for a name that starts at the end).
  void ParseReply(std::string_view reply);

  // Reads the one echoed question and count records into Answers.
  void ParseRecords(const ByteView& reply, int count);

  // Reads the record at offset into Answers and moves offset past it.
  void ParseRecord(const ByteView& reply, std::size_t& offset);

  TQueryType QueryRecords;
  bool AllowRecursiveQueries = true;
  TDNSHeader Header;
  TQueryResult Answers;
  std::string QueryPacket;
  int QuestionLength = 0;
};

}  // namespace tolvaren::dns
