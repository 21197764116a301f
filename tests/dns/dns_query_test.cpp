#include <gtest/gtest.h>

#include "dns/dns_message_codec.h"
#include "dns/dns_names.h"
#include "tests/dns/packet_builder.h"

namespace tolvaren::dns {
namespace {

using testing::Bytes;
using testing::kTestId;

std::string Question(const DnsMessageCodec& codec) { return codec.QueryPacket.substr(12); }

TEST(BuildQuery, ReverseLookupOfAnAddressIsByteExact) {
  DnsMessageCodec codec(kTestId);
  codec.QueryRecords = {qtPTR};
  codec.BuildQuery("192.168.1.10");
  const auto expected = Bytes({0x1A, 0x2B, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, '1', '0',
                               0x01, '1',  0x03, '1',  '6',  '8',  0x03, '1',  '9',  '2',  0x07, 'i',  'n',  '-', 'a',
                               'd',  'd',  'r',  0x04, 'a',  'r',  'p',  'a',  0x00, 0x00, 0x0C, 0x00, 0x01});
  EXPECT_EQ(codec.QueryPacket, expected.bytes);
  EXPECT_EQ(codec.QueryPacket.size(), 43u);
  EXPECT_EQ(codec.QuestionLength, 31);
  EXPECT_EQ(codec.Header.Flags, 0x0100);
  EXPECT_EQ(codec.Header.QDCount, 1);

  codec.BuildQuery("10.0.0.1");
  EXPECT_EQ(Question(codec), Bytes({0x01, '1', 0x01, '0',  0x01, '0', 0x02, '1', '0',  0x07, 'i',  'n',  '-', 'a',
                                    'd',  'd', 'r',  0x04, 'a',  'r', 'p',  'a', 0x00, 0x00, 0x0C, 0x00, 0x01})
                                 .bytes);
}

TEST(BuildQuery, ReverseSuffixOnlyWhenNameLacksInAddrExactCase) {
  DnsMessageCodec codec(kTestId);
  codec.QueryRecords = {qtPTR};
  codec.BuildQuery("1.0.0.10.in-addr.arpa");
  EXPECT_EQ(Question(codec), testing::Name("1.0.0.10.in-addr.arpa").Word(12).Word(1).bytes);

  codec.BuildQuery("1.0.0.10.IN-ADDR.ARPA");
  EXPECT_EQ(Question(codec), testing::Name("ARPA.IN-ADDR.10.0.0.1.in-addr.arpa").Word(12).Word(1).bytes);

  // Anything is reversed, address or not.
  codec.BuildQuery("host.example");
  EXPECT_EQ(Question(codec), testing::Name("example.host.in-addr.arpa").Word(12).Word(1).bytes);
}

TEST(BuildQuery, OneQuestionPerTypeInOrdinalOrder) {
  DnsMessageCodec codec(kTestId);
  codec.QueryRecords = {qtMX, qtA};
  codec.AllowRecursiveQueries = false;
  codec.BuildQuery("mail.example");
  const auto name = testing::Name("mail.example");
  EXPECT_EQ(codec.QueryPacket,
            testing::Packet().Header(kTestId, 0x0000, 2, 0).Raw(name).Word(1).Word(1).Raw(name).Word(15).Word(1).bytes);
  EXPECT_EQ(codec.QuestionLength, static_cast<int>(2 * (name.Size() + 4)));

  // qtSTAR asks for type 255; with qtPTR among others only the PTR question is reversed.
  codec.QueryRecords = {qtSTAR, qtPTR};
  codec.BuildQuery("1.2.3.4");
  EXPECT_EQ(Question(codec), testing::Packet().Question("4.3.2.1.in-addr.arpa", 12).Question("1.2.3.4", 255).bytes);
}

TEST(BuildQuery, NoRecordTypesBuildsNothing) {
  DnsMessageCodec codec(kTestId);
  codec.QueryRecords = {qtA};
  codec.BuildQuery("a");
  codec.QueryRecords = {};
  codec.BuildQuery("a");
  EXPECT_TRUE(codec.QueryPacket.empty());
  EXPECT_EQ(codec.QuestionLength, 0);
  EXPECT_EQ(codec.Header.QDCount, 0);
}

TEST(EncodeName, CutsAtDotsWithoutLimits) {
  EXPECT_EQ(EncodeName("a.b."), EncodeName("a.b"));
  EXPECT_EQ(EncodeName("a.b"), Bytes({1, 'a', 1, 'b'}).bytes);
  EXPECT_EQ(EncodeName(".a"), Bytes({0, 1, 'a'}).bytes);
  EXPECT_EQ(EncodeName("a..b"), Bytes({1, 'a', 0, 1, 'b'}).bytes);
  EXPECT_EQ(EncodeName(""), "");
  // A 300-byte label is sent as it is, its length byte taken modulo 256.
  const std::string encoded = EncodeName(std::string(300, 'x'));
  ASSERT_EQ(encoded.size(), 301u);
  EXPECT_EQ(static_cast<unsigned char>(encoded[0]), 300 % 256);
}

TEST(EncodeReverseName, ReversesAnyNumberOfPieces) {
  EXPECT_EQ(EncodeReverseName("1.2"), testing::Name("2.1.in-addr.arpa").bytes.substr(0, 17));
  EXPECT_EQ(EncodeReverseName(""), Bytes({7, 'i', 'n', '-', 'a', 'd', 'd', 'r', 4, 'a', 'r', 'p', 'a'}).bytes);
  EXPECT_EQ(EncodeReverseName("a.b."), EncodeReverseName("a.b"));
}

TEST(TDNSHeader, IdentifierIsDrawnOnceBelow65535) {
  for (int i = 0; i < 2000; ++i) EXPECT_LT(DrawQueryId(), 65535);
  DnsMessageCodec codec;
  const std::uint16_t id = codec.Header.ID;
  codec.QueryRecords = {qtA};
  codec.BuildQuery("a");
  codec.BuildQuery("b");
  EXPECT_EQ(codec.Header.ID, id);
  EXPECT_EQ(static_cast<unsigned char>(codec.QueryPacket[0]), id >> 8);
  EXPECT_EQ(static_cast<unsigned char>(codec.QueryPacket[1]), id & 0xFF);
}

TEST(QueryTypes, CodesAndRecordTypes) {
  EXPECT_EQ(TypeCode(qtA), 1);
  EXPECT_EQ(TypeCode(qtPTR), 12);
  EXPECT_EQ(TypeCode(qtTXT), 16);
  EXPECT_EQ(TypeCode(qtSTAR), 255);
  EXPECT_EQ(RecordTypeOfCode(12), qtPTR);
  EXPECT_EQ(RecordTypeOfCode(17), qtSTAR);  // by ordinal, not by the code asked for
  EXPECT_EQ(RecordTypeOfCode(0), std::nullopt);
  EXPECT_EQ(RecordTypeOfCode(255), std::nullopt);
  TQueryType set{qtA, qtMX, qtA};
  EXPECT_EQ(set.Count(), 2);
  set.Exclude(qtA);
  EXPECT_TRUE(set.Contains(qtMX));
  EXPECT_FALSE(set.Contains(qtA));
}

}  // namespace
}  // namespace tolvaren::dns
