#include <gtest/gtest.h>

#include <typeinfo>

#include "dns/dns_message_codec.h"
#include "dns/dns_names.h"
#include "dns/net_errors.h"
#include "tests/dns/packet_builder.h"
#include "tests/support/failure_of.h"

namespace tolvaren::dns {
namespace {

using testing::Bytes;
using testing::kQuestionOffset;
using testing::kTestId;
using testing::Name;
using testing::Packet;
using testing::Pointer;
using tolvaren::testing::FailureOf;

constexpr char kReverseName[] = "10.1.168.192.in-addr.arpa";

// A codec that has sent the PTR query for 192.168.1.10 with kTestId.
DnsMessageCodec SentPtrQuery() {
  DnsMessageCodec codec(kTestId);
  codec.QueryRecords = {qtPTR};
  codec.BuildQuery("192.168.1.10");
  return codec;
}

// A reply to that query: header with the given counts, then the question.
Packet ReplyHead(std::uint16_t an, std::uint16_t ns = 0, std::uint16_t ar = 0, std::uint16_t flags = 0x8180) {
  return Packet().Header(kTestId, flags, 1, an, ns, ar).Question(kReverseName, testing::kPTR);
}

TEST(ParseReply, DecodesTheExamplePtrReply) {
  DnsMessageCodec codec = SentPtrQuery();
  const Packet reply = Packet()
                           .Header(kTestId, 0x8180, 1, 1)
                           .Raw(codec.QueryPacket.substr(12))
                           .Record(Pointer(kQuestionOffset), testing::kPTR, Name("host.example.com"));
  ASSERT_EQ(reply.Size(), 73u);
  codec.ParseReply(reply.bytes);

  EXPECT_EQ(codec.Header.Flags, 0x8180);
  EXPECT_EQ(codec.Header.ANCount, 1);
  EXPECT_EQ(codec.Answers.QuestionName, kReverseName);
  EXPECT_EQ(codec.Answers.QuestionType, 12);
  EXPECT_EQ(codec.Answers.QuestionClass, 1);
  ASSERT_EQ(codec.Answers.Count(), 1);
  const auto& ptr = dynamic_cast<const TPTRRecord&>(codec.Answers[0]);
  EXPECT_EQ(ptr.Name, kReverseName);
  EXPECT_EQ(ptr.RecordType, qtPTR);
  EXPECT_EQ(ptr.RecordClass, 1);
  EXPECT_EQ(ptr.TTL, 3600u);
  EXPECT_EQ(ptr.RDLength, 18);
  EXPECT_EQ(ptr.RData, Name("host.example.com").bytes);
  EXPECT_EQ(ptr.TargetName, "host.example.com");
}

TEST(ParseReply, HeaderTestsRunInOrder) {
  DnsMessageCodec codec = SentPtrQuery();
  const auto parse = [&codec](const Packet& p) { return [&codec, p] { codec.ParseReply(p.bytes); }; };

  // A wrong identifier is reported with the one sent, before the RCODE is seen.
  EXPECT_EQ(FailureOf<EDnsResolverError>(parse(Packet().Header(kTestId + 1, 0x8183, 0, 0))), "Invalid Header Id 6699");
  // RCODE wins over a length of 5 bytes.
  EXPECT_EQ(FailureOf<EDnsResolverError>(parse(Packet().Word(kTestId).Word(0x8183).Byte(0))),
            "DNS Server Reports Query Name Error");
  EXPECT_EQ(FailureOf<EDnsResolverError>(parse(Packet().Header(kTestId, 0x8189, 0, 0))),
            "Server Returned Unknown Error");
  EXPECT_EQ(FailureOf<EDnsResolverError>(parse(Packet().Word(kTestId).Word(0x8180).Byte(0))),
            "Received Packet is too small. Less than 12 bytes 29");
  // Shorter than the 43-byte query, though a whole header.
  EXPECT_EQ(FailureOf<EDnsResolverError>(parse(ReplyHead(0).Cut(42))),
            "Received Packet is too small. Less than 12 bytes 30");
}

TEST(ParseReply, RCodeTexts) {
  const char* expected[] = {"RCode NO Error",
                            "DNS Server Reports Query Format Error",
                            "DNS Server Reports Query Server Error",
                            "DNS Server Reports Query Name Error",
                            "DNS Server Reports Query Not Implemented Error",
                            "DNS Server Reports Query Refused Error"};
  for (int rcode = 0; rcode < 6; ++rcode) EXPECT_STREQ(RCodeText(rcode), expected[rcode]);
  for (int rcode = 6; rcode < 16; ++rcode) EXPECT_STREQ(RCodeText(rcode), "Server Returned Unknown Error");
}

TEST(ParseReply, FailedHeaderTestsKeepEarlierAnswers) {
  DnsMessageCodec codec = SentPtrQuery();
  codec.ParseReply(ReplyHead(1).Record(Pointer(kQuestionOffset), testing::kPTR, Name("a")).bytes);
  EXPECT_THROW(codec.ParseReply(ReplyHead(0, 0, 0, 0x8183).bytes), EDnsResolverError);
  EXPECT_EQ(codec.Answers.Count(), 1);
  // A reply that passes the header tests replaces them, even with no records.
  codec.ParseReply(ReplyHead(0).bytes);
  EXPECT_EQ(codec.Answers.Count(), 0);
  EXPECT_THROW(codec.Answers[0], EListError);
}

TEST(ParseReply, AuthorityAndAdditionalRecordsLandInAnswers) {
  DnsMessageCodec codec = SentPtrQuery();
  const Packet soa = Name("ns.example").Raw(Name("admin.example")).Long(7).Long(3600).Long(600).Long(86400).Long(60);
  codec.ParseReply(ReplyHead(0, 1, 1)
                       .Record(Name("168.192.in-addr.arpa"), testing::kSOA, soa)
                       .Record(Name("ns.example"), testing::kA, Bytes({192, 0, 2, 1}))
                       .bytes);
  ASSERT_EQ(codec.Answers.Count(), 2);
  const auto& s = dynamic_cast<const TSOARecord&>(codec.Answers[0]);
  EXPECT_EQ(s.Name, "168.192.in-addr.arpa");
  EXPECT_EQ(s.MName, "ns.example");
  EXPECT_EQ(s.RName, "admin.example");
  EXPECT_EQ(s.Serial, 7u);
  EXPECT_EQ(s.Refresh, 3600u);
  EXPECT_EQ(s.Retry, 600u);
  EXPECT_EQ(s.Expire, 86400u);
  EXPECT_EQ(s.Minimum, 60u);
  EXPECT_EQ(dynamic_cast<const TARecord&>(codec.Answers[1]).IPAddress, "192.0.2.1");
}

TEST(ParseReply, RecordDataKeepsCompressedNamesAsTheyStand) {
  DnsMessageCodec codec = SentPtrQuery();
  // host + a pointer to the question name's "in-addr" label at offset 43-12... i.e. the label after "192".
  const std::uint16_t inAddr = kQuestionOffset + 13;
  const Packet rdata = Packet().Label("host").Pointer(inAddr);
  codec.ParseReply(ReplyHead(1).Record(Pointer(kQuestionOffset), testing::kPTR, rdata).bytes);
  const auto& ptr = dynamic_cast<const TPTRRecord&>(codec.Answers[0]);
  EXPECT_EQ(ptr.RData, rdata.bytes);
  EXPECT_EQ(ptr.RDLength, 7);
  EXPECT_EQ(ptr.TargetName, "host.in-addr.arpa");
}

TEST(ParseReply, RecordClassesByTypeCode) {
  DnsMessageCodec codec = SentPtrQuery();
  const Packet owner = Pointer(kQuestionOffset);
  codec.ParseReply(ReplyHead(8)
                       .Record(owner, testing::kMX, Packet().Word(10).Name("mail.example"))
                       .Record(owner, testing::kCNAME, Name("alias.example"))
                       .Record(owner, testing::kMINFO, Name("r.example").Name("e.example"))
                       .Record(owner, testing::kWKS, Bytes({10, 0, 0, 1, 6, 0xFF, 0x01}))
                       .Record(owner, testing::kAAAA, Bytes({0x20, 0x01, 0x0d, 0xb8}))
                       .Record(owner, 17, Bytes({}))
                       .Record(owner, 255, Bytes({}))
                       .Record(owner, testing::kNS, Name("ns1.example"))
                       .bytes);
  ASSERT_EQ(codec.Answers.Count(), 8);
  const auto& mx = dynamic_cast<const TMXRecord&>(codec.Answers[0]);
  EXPECT_EQ(mx.MXPreference, 10);
  EXPECT_EQ(mx.MailExchanger, "mail.example");
  EXPECT_EQ(dynamic_cast<const TNAMERecord&>(codec.Answers[1]).TargetName, "alias.example");
  const auto& minfo = dynamic_cast<const TMINFORecord&>(codec.Answers[2]);
  EXPECT_EQ(minfo.RMailBX, "r.example");
  EXPECT_EQ(minfo.EMailBX, "e.example");
  const auto& wks = dynamic_cast<const TWKSRecord&>(codec.Answers[3]);
  EXPECT_EQ(wks.Address, "10.0.0.1");
  EXPECT_EQ(wks.Protocol, 6);
  EXPECT_EQ(wks.BitMap, Bytes({0xFF, 0x01}).bytes);
  // Type 28 is a plain record; 17 reads as qtSTAR by ordinal; 255 has no member.
  const auto typeOfAnswer = [&](int i) -> const std::type_info& {
    const TResultRecord& record = codec.Answers[i];
    return typeid(record);
  };
  EXPECT_EQ(typeOfAnswer(4), typeid(TResultRecord));
  EXPECT_EQ(codec.Answers[4].RData, Bytes({0x20, 0x01, 0x0d, 0xb8}).bytes);
  EXPECT_EQ(codec.Answers[4].RecordType, std::nullopt);
  EXPECT_EQ(typeOfAnswer(5), typeid(TResultRecord));
  EXPECT_EQ(codec.Answers[5].RecordType, qtSTAR);
  EXPECT_EQ(typeOfAnswer(6), typeid(TResultRecord));
  EXPECT_EQ(codec.Answers[6].RecordType, std::nullopt);
  EXPECT_EQ(dynamic_cast<const TNSRecord&>(codec.Answers[7]).TargetName, "ns1.example");
}

TEST(ParseReply, TextAndHinfoReadings) {
  DnsMessageCodec codec = SentPtrQuery();
  const Packet owner = Pointer(kQuestionOffset);
  codec.ParseReply(ReplyHead(3)
                       .Record(owner, testing::kTXT, Packet().Label("a").Label("").Label("b"))
                       .Record(owner, testing::kHINFO, Packet().Label("PDP-11").Label("UNIX"))
                       // A string that claims more bytes than the record holds stops at the record's end.
                       .Record(owner, testing::kTXT, Packet().Label("xy").Byte(9).Raw("ab"))
                       .bytes);
  EXPECT_EQ(dynamic_cast<const TTextRecord&>(codec.Answers[0]).Texts, std::vector<std::string>{"a"});
  const auto& hinfo = dynamic_cast<const THINFORecord&>(codec.Answers[1]);
  EXPECT_EQ(hinfo.CPU, "PDP-11");
  EXPECT_EQ(hinfo.OS, "UNIX");
  EXPECT_EQ(hinfo.Texts, (std::vector<std::string>{"PDP-11", "UNIX"}));
  EXPECT_EQ(dynamic_cast<const TTextRecord&>(codec.Answers[2]).Texts, (std::vector<std::string>{"xy", "ab"}));
}

TEST(ParseReply, ShortRecordData) {
  DnsMessageCodec codec = SentPtrQuery();
  const Packet owner = Pointer(kQuestionOffset);
  codec.ParseReply(ReplyHead(3)
                       .Record(owner, testing::kA, Bytes({10, 0}))
                       .Record(owner, testing::kWKS, Bytes({10, 0, 0, 1}))
                       // Declares 40 bytes, holds 4 and the reply ends.
                       .RecordDeclaring(owner, testing::kA, Bytes({1, 2, 3, 4}), 40)
                       .bytes);
  ASSERT_EQ(codec.Answers.Count(), 3);
  EXPECT_EQ(dynamic_cast<const TARecord&>(codec.Answers[0]).IPAddress, "");
  EXPECT_EQ(dynamic_cast<const TWKSRecord&>(codec.Answers[1]).Address, "");
  EXPECT_EQ(codec.Answers[2].RData, Bytes({1, 2, 3, 4}).bytes);
  EXPECT_EQ(codec.Answers[2].RDLength, 40);
  EXPECT_EQ(dynamic_cast<const TARecord&>(codec.Answers[2]).IPAddress, "1.2.3.4");
}

TEST(ParseReply, CountsPromisingMoreRecordsThanTheReplyHolds) {
  DnsMessageCodec codec = SentPtrQuery();
  const Packet reply = ReplyHead(3).Record(Pointer(kQuestionOffset), testing::kPTR, Name("a.example"));
  EXPECT_EQ(FailureOf<EAssertionFailed>([&] { codec.ParseReply(reply.bytes); }).substr(0, 21), "Invalid Packet Size 2");
  EXPECT_EQ(codec.Answers.Count(), 1);

  // An owner name that fits but fixed fields that do not.
  EXPECT_EQ(
      FailureOf<EDnsResolverError>([&] { codec.ParseReply(ReplyHead(1).Pointer(kQuestionOffset).Word(12).bytes); }),
      "Invalid Packet Size 4");
}

// The three counts are summed without wrapping: 0xFFFF answers and two
// authority records are 65537 records, not one.
TEST(ParseReply, CountsAreSummedWithoutWrapping) {
  DnsMessageCodec codec = SentPtrQuery();
  const Packet reply = ReplyHead(0xFFFF, 2).Record(Pointer(kQuestionOffset), testing::kPTR, Name("a.example"));
  EXPECT_EQ(FailureOf<EAssertionFailed>([&] { codec.ParseReply(reply.bytes); }).substr(0, 21), "Invalid Packet Size 2");
}

TEST(ParseReply, RecordStaysWhenItsDataFails) {
  DnsMessageCodec codec = SentPtrQuery();
  // The label claims 9 bytes but the record, and so the cut packet, ends after 3.
  const Packet reply =
      ReplyHead(1).Record(Pointer(kQuestionOffset), testing::kPTR, Bytes({9, 'a', 'b'})).Raw(std::string(20, 'z'));
  EXPECT_EQ(FailureOf<EDnsResolverError>([&] { codec.ParseReply(reply.bytes); }), "Invalid Packet Size 3");
  ASSERT_EQ(codec.Answers.Count(), 1);
  EXPECT_EQ(codec.Answers[0].Name, kReverseName);
  EXPECT_EQ(codec.Answers[0].RDLength, 3);
}

// ReadName alone, on small packets.
std::string ReadAt(const Packet& packet, std::size_t offset, std::size_t* end = nullptr) {
  const ByteView reader(packet.bytes);
  std::string name = ReadName(reader, offset);
  if (end != nullptr) *end = offset;
  return name;
}

TEST(ReadName, PointersAndFinalPosition) {
  // 0: "example" + 0; 9: "www" + pointer to 0; 15: pointer to 9; 17: filler.
  const Packet p = Packet().Name("example").Label("www").Pointer(0).Pointer(9).Byte(0xEE).Byte(0xEE);
  std::size_t end = 0;
  EXPECT_EQ(ReadAt(p, 0, &end), "example");
  EXPECT_EQ(end, 9u);
  EXPECT_EQ(ReadAt(p, 9, &end), "www.example");
  EXPECT_EQ(end, 15u);  // just after the first pointer
  EXPECT_EQ(ReadAt(p, 15, &end), "www.example");
  EXPECT_EQ(end, 17u);
  // The root name reads as empty text.
  EXPECT_EQ(ReadAt(Bytes({0, 0xEE}), 0, &end), "");
  EXPECT_EQ(end, 1u);
  // Label bytes are copied as they are, dots included.
  EXPECT_EQ(ReadAt(Packet().Label("a.b").Byte(0), 0), "a.b");
}

TEST(ReadName, FailuresAtThePacketEnd) {
  // A pointer leading to the packet's last byte: the assertion error, code 2.
  EXPECT_EQ(FailureOf<EAssertionFailed>([] { ReadAt(Packet().Pointer(2).Byte(3), 0); }).substr(0, 21),
            "Invalid Packet Size 2");
  EXPECT_EQ(FailureOf<EAssertionFailed>([] { ReadAt(Packet().Pointer(0x3FFF), 0); }).substr(0, 21),
            "Invalid Packet Size 2");
  // A label that runs past the end: code 3.
  EXPECT_EQ(FailureOf<EDnsResolverError>([] { ReadAt(Packet().Byte(5).Raw("abc"), 0); }), "Invalid Packet Size 3");
  // A pointer whose second byte is missing points to offset 0.
  EXPECT_EQ(ReadAt(Packet().Label("ab").Byte(0).Byte(0xC0), 4), "ab");
}

// Length bytes 0x40 to 0xBF are reserved label types, not lengths: the name,
// and so the packet, is invalid even when the bytes they claim are there.
TEST(ReadName, ReservedLabelTypesAreInvalid) {
  EXPECT_EQ(ReadAt(Packet().Label(std::string(63, 'x')).Byte(0).Byte(0), 0).size(), 63u);
  for (const std::size_t length : {0x40, 0x7F, 0x80, 0xBF}) {
    EXPECT_EQ(FailureOf<EDnsResolverError>(
                  [&] { ReadAt(Packet().Byte(static_cast<std::uint8_t>(length)).Raw(std::string(200, 'x')), 0); }),
              "Invalid Packet Size 6")
        << length;
  }
}

TEST(ReadName, PointerLoopsEndWithAnError) {
  const std::string loop = "Name Pointer Loop at ";
  // A pointer to itself, two pointers to each other, and a label pointing back to its own start.
  EXPECT_EQ(FailureOf<EDnsResolverError>([] { ReadAt(Packet().Pointer(0).Byte(0), 0); }), loop + "0");
  EXPECT_EQ(FailureOf<EDnsResolverError>([] { ReadAt(Packet().Pointer(2).Pointer(0).Byte(0), 0); }), loop + "2");
  EXPECT_EQ(FailureOf<EDnsResolverError>([] { ReadAt(Packet().Label("abc").Pointer(0).Byte(0), 0); }), loop + "4");
  // Pointing forward and back without revisiting anything is fine.
  EXPECT_EQ(ReadAt(Packet().Label("a").Pointer(5).Byte(0).Label("b").Byte(0).Byte(0), 0), "a.b");
}

// A name takes at most 255 bytes in label form, counted across pointers, so
// no reply can build longer names by chaining them.
TEST(ReadName, NamesOver255BytesAreInvalid) {
  const std::string a(63, 'a'), b(63, 'b'), c(63, 'c');
  // 3 * 64 + 62 + 1 = 255 bytes.
  EXPECT_EQ(ReadAt(Packet().Label(a).Label(b).Label(c).Label(std::string(61, 'd')).Byte(0).Byte(0), 0).size(), 253u);
  const std::string tooLong = "Invalid Packet Size 5";
  EXPECT_EQ(FailureOf<EDnsResolverError>(
                [&] { ReadAt(Packet().Label(a).Label(b).Label(c).Label(std::string(62, 'd')).Byte(0).Byte(0), 0); }),
            tooLong);
  // 0: a.b (129 bytes); 129: c.c, then a pointer to 0.
  EXPECT_EQ(FailureOf<EDnsResolverError>(
                [&] { ReadAt(Packet().Label(a).Label(b).Byte(0).Label(c).Label(c).Pointer(0).Byte(0), 129); }),
            tooLong);
}

TEST(ReadCharString, StopsAtThePacketEnd) {
  const Packet packet = Packet().Label("abc").Byte(7).Raw("de");
  const ByteView reader(packet.bytes);
  std::size_t offset = 0;
  EXPECT_EQ(ReadCharString(reader, offset), "abc");
  EXPECT_EQ(offset, 4u);
  EXPECT_EQ(ReadCharString(reader, offset), "de");
  EXPECT_EQ(offset, 12u);
  EXPECT_EQ(ReadCharString(reader, offset), "");
  EXPECT_EQ(offset, 12u);
}

}  // namespace
}  // namespace tolvaren::dns
