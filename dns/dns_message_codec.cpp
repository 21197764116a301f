#include "dns/dns_message_codec.h"

#include <algorithm>
#include <vector>

#include "dns/dns_names.h"
#include "dns/net_errors.h"
#include "dns/net_messages.h"
#include "platform/ascii_case.h"

namespace tolvaren::dns {
namespace {

// The fixed 12-byte header: identifier, flags and four counts.
constexpr std::size_t kIdOffset = 0;
constexpr std::size_t kFlagsOffset = 2;
constexpr std::size_t kQdCountOffset = 4;
constexpr std::size_t kAnCountOffset = 6;
constexpr std::size_t kNsCountOffset = 8;
constexpr std::size_t kArCountOffset = 10;
constexpr std::size_t kHeaderSize = 12;

// The fixed fields of a record after its owner name.
constexpr std::size_t kTypeOffset = 0;
constexpr std::size_t kClassOffset = 2;
constexpr std::size_t kTtlOffset = 4;
constexpr std::size_t kRdLengthOffset = 8;
constexpr std::size_t kRDataOffset = 10;

// QTYPE and QCLASS after a question's name.
constexpr std::size_t kQuestionClassOffset = 2;
constexpr std::size_t kQuestionFixedSize = 4;

constexpr std::uint8_t kMaxPlainLabel = 63;
constexpr std::size_t kMaxNameBytes = 255;  // in label form, the zero that ends it included

constexpr std::uint16_t kRecursionDesired = 0x0100;
constexpr std::uint16_t kResponse = 0x8000;  // QR
constexpr std::uint16_t kClassInternet = 1;

void AppendWord(std::string& out, std::uint16_t word) {
  out += static_cast<char>(word >> 8);
  out += static_cast<char>(word & 0xFF);
}

// The big-endian word at `pos`, each byte the reply lacks read as 0: the
// identifier and error code of a reply are judged before its length.
std::uint16_t WordMissingBytesZero(const ByteView& reply, std::size_t pos) {
  return static_cast<std::uint16_t>(reply.U8(pos).value_or(0) << 8 | reply.U8(pos + 1).value_or(0));
}

// True when every question of the packet is a name of plain labels (each 1
// to 63 bytes, at most 255 bytes in all with the zero that ends it) followed
// by its type and class, all inside the packet: the form the query encoder
// writes for ordinary names.
bool HasPlainQuestions(const ByteView& packet, std::uint16_t questions) {
  std::size_t pos = kHeaderSize;
  for (std::uint16_t i = 0; i < questions; ++i) {
    const std::size_t start = pos;
    for (std::uint8_t length; (length = packet.U8(pos).value_or(0xFF)) != 0; pos += 1 + length) {
      if (length > kMaxPlainLabel || pos + 1 + length - start >= kMaxNameBytes) return false;
    }
    pos += 1 + kQuestionFixedSize;
    if (pos > packet.Size()) return false;
  }
  return true;
}

[[noreturn]] void FailPacketSize(int code) { throw EDnsResolverError(WithNumber(text::kInvalidPacketSize, code)); }

}  // namespace

const char* RCodeText(int rcode) {
  switch (rcode) {
    case 0:
      return text::kRCodeNoError;
    case 1:
      return text::kRCodeFormatError;
    case 2:
      return text::kRCodeServerError;
    case 3:
      return text::kRCodeNameError;
    case 4:
      return text::kRCodeNotImplemented;
    case 5:
      return text::kRCodeRefused;
    default:
      return text::kRCodeUnknown;
  }
}

void DnsMessageCodec::BuildQuery(std::string_view name) {
  Header.Flags = AllowRecursiveQueries ? kRecursionDesired : 0;
  Header.QDCount = static_cast<std::uint16_t>(QueryRecords.Count());
  QueryPacket.clear();
  QuestionLength = 0;
  if (Header.QDCount == 0) return;

  std::string questions;
  for (int ordinal = 0; ordinal < kQueryRecordTypeCount; ++ordinal) {
    const auto type = static_cast<TQueryRecordTypes>(ordinal);
    if (!QueryRecords.Contains(type)) continue;
    const bool reverse = type == qtPTR && name.find("in-addr") == std::string_view::npos;
    questions += reverse ? EncodeReverseName(name) : EncodeName(name);
    questions += '\0';
    AppendWord(questions, TypeCode(type));
    AppendWord(questions, kClassInternet);
  }

  AppendWord(QueryPacket, Header.ID);
  AppendWord(QueryPacket, Header.Flags);
  AppendWord(QueryPacket, Header.QDCount);
  QueryPacket.append(6, '\0');  // no answer, authority or additional records
  QueryPacket += questions;
  QuestionLength = static_cast<int>(questions.size());
}

bool DnsMessageCodec::IsReplyToQuery(std::string_view datagram) const {
  const ByteView reply(datagram);
  const ByteView query(QueryPacket);
  if (reply.Size() < kHeaderSize || query.Size() < kHeaderSize) return false;
  if (reply.U16Be(kIdOffset) != query.U16Be(kIdOffset)) return false;
  if ((*reply.U16Be(kFlagsOffset) & kResponse) == 0) return false;
  const std::uint16_t questions = *query.U16Be(kQdCountOffset);
  if (reply.U16Be(kQdCountOffset) != questions) return false;
  // A server echoes the questions byte for byte: when the query's names are
  // plain labels (no pointer, none longer than 63 bytes, 255 bytes at most
  // per name), such a reply matches without reading any name.
  const std::string_view asked = std::string_view(QueryPacket).substr(kHeaderSize);
  if (HasPlainQuestions(query, questions) && datagram.size() >= kHeaderSize + asked.size() &&
      datagram.substr(kHeaderSize, asked.size()) == asked) {
    return true;
  }
  std::size_t inReply = kHeaderSize;
  std::size_t inQuery = kHeaderSize;
  std::vector<std::string> replyLabels;
  std::vector<std::string> queryLabels;
  try {
    for (std::uint16_t i = 0; i < questions; ++i) {
      ReadName(reply, inReply, &replyLabels);
      ReadName(query, inQuery, &queryLabels);
      if (!std::equal(replyLabels.begin(), replyLabels.end(), queryLabels.begin(), queryLabels.end(),
                      EqualIgnoringAsciiCase)) {
        return false;
      }
      const auto typeAndClass = reply.U32Be(inReply);
      if (!typeAndClass || typeAndClass != query.U32Be(inQuery)) return false;
      inReply += kQuestionFixedSize;
      inQuery += kQuestionFixedSize;
    }
  } catch (const EDnsResolverError&) {
    return false;  // a name that cannot be read echoes nothing
  } catch (const EAssertionFailed&) {
    return false;
  }
  return true;
}

void DnsMessageCodec::ParseReply(std::string_view bytes) {
  const ByteView reply(bytes);
  // Bytes a reply too short to hold them lacks read as 0 here; such a reply
  // fails below on its length at the latest.
  if (WordMissingBytesZero(reply, kIdOffset) != Header.ID) {
    throw EDnsResolverError(WithNumber(text::kInvalidHeaderId, Header.ID));
  }
  Header.Flags = WordMissingBytesZero(reply, kFlagsOffset);
  if (Header.RCode() != 0) throw EDnsResolverError(RCodeText(Header.RCode()));
  if (reply.Size() < kHeaderSize) {
    throw EDnsResolverError(WithNumber(text::kPacketTooSmall, code::kShorterThanHeader));
  }
  if (reply.Size() < QueryPacket.size()) {
    throw EDnsResolverError(WithNumber(text::kPacketTooSmall, code::kShorterThanQuery));
  }
  Header.QDCount = *reply.U16Be(kQdCountOffset);
  Header.ANCount = *reply.U16Be(kAnCountOffset);
  Header.NSCount = *reply.U16Be(kNsCountOffset);
  Header.ARCount = *reply.U16Be(kArCountOffset);
  Answers.Clear();
  // Summed without wrapping: counts of 0xFFFF and 2 are 65537 records, which
  // no datagram holds, not 1.
  const int count = Header.ANCount + Header.NSCount + Header.ARCount;
  if (count != 0 && reply.Size() > kHeaderSize) ParseRecords(reply, count);
}

void DnsMessageCodec::ParseRecords(const ByteView& reply, int count) {
  std::size_t offset = kHeaderSize;
  Answers.QuestionName = ReadName(reply, offset);
  const auto type = reply.U16Be(offset);
  const auto klass = reply.U16Be(offset + kQuestionClassOffset);
  if (!type || !klass) FailPacketSize(code::kFixedFieldsPastEnd);
  Answers.QuestionType = *type;
  Answers.QuestionClass = *klass;
  offset += kQuestionFixedSize;
  for (int i = 0; i < count; ++i) ParseRecord(reply, offset);
}

void DnsMessageCodec::ParseRecord(const ByteView& reply, std::size_t& offset) {
  std::string owner = ReadName(reply, offset);
  if (!reply.Holds(offset, kRDataOffset)) FailPacketSize(code::kFixedFieldsPastEnd);
  const std::uint16_t typeCode = *reply.U16Be(offset + kTypeOffset);
  const std::uint16_t rdLength = *reply.U16Be(offset + kRdLengthOffset);
  const std::size_t rdata = offset + kRDataOffset;

  // Added before its data is read, so a record whose data fails to parse
  // stays in Answers with its common fields.
  TResultRecord& record = Answers.Add(CreateRecord(typeCode));
  record.RecordType = RecordTypeOfCode(typeCode);
  record.TypeCode = typeCode;
  record.RecordClass = *reply.U16Be(offset + kClassOffset);
  record.Name = std::move(owner);
  record.TTL = *reply.U32Be(offset + kTtlOffset);
  record.RData = std::string(reply.Sub(rdata, rdLength).Chars());
  record.RDLength = rdLength;

  offset = rdata + rdLength;
  // Names inside the data may point anywhere before the record's end.
  record.ParseRData(reply.Sub(0, rdata + rdLength), rdata);
}

}  // namespace tolvaren::dns
