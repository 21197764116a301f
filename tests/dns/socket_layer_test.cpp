#include <gtest/gtest.h>

#include "dns/dns_resolver.h"
#include "dns/net_errors.h"
#include "tests/dns/packet_builder.h"
#include "tests/dns/scripted_socket_api.h"
#include "tests/support/failure_of.h"

namespace tolvaren::dns {
namespace {

using testing::ScriptedSocketsTest;
using tolvaren::testing::CaughtOf;
using tolvaren::testing::FailureOf;

using SocketLayer = ScriptedSocketsTest;

TEST_F(SocketLayer, RefusedStartUpLeavesNoStackAndIsTriedAgain) {
  api.startUpSucceeds = false;
  EXPECT_EQ(FailureOf<EStackInitializationFailed>([&] { DnsResolver resolver(api); }), "Winsock Initialization Error.");
  EXPECT_TRUE(testing::NoComponentAlive());
  api.startUpSucceeds = true;
  {
    DnsResolver first(api);
    UdpClient second(api);  // shares the stack: no second start-up
    EXPECT_EQ(&first.Stack(), &second.Stack());
  }
  EXPECT_EQ(api.startUps, 2);
  EXPECT_TRUE(testing::NoComponentAlive());
}

TEST_F(SocketLayer, ActiveOpensOneSocketAndClosesIt) {
  UdpClient client(api);
  EXPECT_FALSE(client.Active());
  EXPECT_EQ(client.Port(), 0);
  EXPECT_EQ(client.ReceiveTimeout(), -2);
  EXPECT_EQ(client.BufferSize, 8192);
  client.SetActive(true);
  client.SetActive(true);
  EXPECT_EQ(api.opened, std::vector<platform::SocketId>{100});
  EXPECT_EQ(api.broadcasts, (std::vector<std::pair<platform::SocketId, bool>>{{100, false}}));
  client.SetActive(false);
  EXPECT_EQ(api.shutdowns, std::vector<platform::SocketId>{100});
  EXPECT_EQ(api.closed, std::vector<platform::SocketId>{100});
  EXPECT_EQ(client.Socket(), nullptr);
  client.SetActive(true);
  EXPECT_EQ(api.opened, (std::vector<platform::SocketId>{100, 101}));
  EXPECT_EQ(api.broadcasts.back(), (std::pair<platform::SocketId, bool>{101, false}));
}

TEST_F(SocketLayer, OpeningFailures) {
  UdpClient client(api);
  api.refuseSockets = true;
  EXPECT_THROW(client.SetActive(true), EInvalidSocket);
  EXPECT_FALSE(client.Active());
  api.refuseSockets = false;
  api.broadcastError = 10042;
  if (const auto e = CaughtOf<ESocketError>([&] { client.SetActive(true); })) {
    EXPECT_EQ(e->ErrorCode(), 10042);
    EXPECT_EQ(e->Message(), "Socket Error # 10042\r\nBad protocol option.");
    EXPECT_EQ(client.Stack().LastError(), 10042);
  }
}

TEST_F(SocketLayer, SendGoesToTheResolvedHostAndPort) {
  DnsResolver resolver(api);
  EXPECT_EQ(resolver.Port(), 53);
  resolver.SetHost("localhost");
  resolver.SendPacket("abc");  // opens the socket by itself
  EXPECT_TRUE(resolver.Active());
  resolver.SetPort(65536 + 5353);
  resolver.SetHost("192.0.2.7");
  resolver.SendPacket("d");
  ASSERT_EQ(api.sent.size(), 2u);
  EXPECT_EQ(api.sent[0].address, (Ipv4Bytes{127, 0, 0, 1}));
  EXPECT_EQ(api.sent[0].port, 53);
  EXPECT_EQ(api.sent[0].bytes, "abc");
  EXPECT_EQ(api.sent[1].address, (Ipv4Bytes{192, 0, 2, 7}));
  EXPECT_EQ(api.sent[1].port, 5353);
  EXPECT_TRUE(api.lookUps.empty());
  EXPECT_EQ(api.opened.size(), 1u);
}

TEST_F(SocketLayer, HostsThatAreNotDottedQuadsAreLookedUp) {
  UdpClient client(api);
  api.lookUpAddress = Ipv4Bytes{198, 51, 100, 1};
  EXPECT_EQ(client.Stack().ResolveAddress("LocalHost"), "127.0.0.1");
  EXPECT_EQ(client.Stack().ResolveAddress("10.0.0.256"), "198.51.100.1");
  EXPECT_EQ(client.Stack().ResolveAddress("1.2.3.4.5"), "198.51.100.1");
  EXPECT_EQ(api.lookUps, (std::vector<std::string>{"10.0.0.256", "1.2.3.4.5"}));
  api.lookUpAddress.reset();
  client.SetHost("no-such-host.invalid");
  if (const auto e = CaughtOf<ESocketError>([&] { client.SendPacket("x"); })) {
    EXPECT_EQ(e->ErrorCode(), 11001);
    EXPECT_EQ(e->Message(), "Socket Error # 11001\r\nHost not found.");
  }
  EXPECT_TRUE(api.sent.empty());
}

TEST_F(SocketLayer, SendFailures) {
  UdpClient client(api);
  client.SetHost("127.0.0.1");
  api.sendError = platform::kMessageTooLong;
  EXPECT_THROW(client.SendPacket("x"), EPackageSizeTooBig);
  api.sendError = 10051;
  EXPECT_EQ(FailureOf<ESocketError>([&] { client.SendPacket("x"); }),
            "Socket Error # 10051\r\nNetwork is unreachable.");
  api.sendError = 0;
  api.sendCount = 1;
  EXPECT_EQ(FailureOf<ENotAllBytesSent>([&] { client.SendPacket("xy"); }), "Not all bytes sent.");
  EXPECT_TRUE(client.Active());  // no error closes the socket
}

TEST_F(SocketLayer, ReceiveTimeouts) {
  UdpClient client(api);
  EXPECT_THROW(client.ReceivePacket(0), EConnClosedGracefully);
  client.SetActive(true);
  client.SetReceiveTimeout(250);
  EXPECT_EQ(client.ReceivePacket(-1), "");
  EXPECT_EQ(client.ReceivePacket(0), "");
  EXPECT_EQ(client.ReceivePacket(-2), "");
  // -2 is passed on as "no limit"; other negative times fail the wait at once.
  EXPECT_EQ(client.ReceivePacket(-7), "");
  EXPECT_EQ(api.waits, (std::vector<int>{250, 0, -1}));
  EXPECT_EQ(client.Socket()->PeerIP, "");
  EXPECT_EQ(client.Socket()->PeerPort, 0);
}

TEST_F(SocketLayer, ReceiveTakesTheDatagramAndItsSender) {
  UdpClient client(api);
  client.SetActive(true);
  api.incoming.push_back({{192, 0, 2, 9}, 5300, "hello"});
  EXPECT_EQ(client.ReceivePacket(100), "hello");
  EXPECT_EQ(client.Socket()->PeerIP, "192.0.2.9");
  EXPECT_EQ(client.Socket()->PeerPort, 5300);
  client.BufferSize = 4;
  api.incoming.push_back({{192, 0, 2, 9}, 5300, "hello"});
  const auto tooLong = CaughtOf<ESocketError>([&] { client.ReceivePacket(100); });
  EXPECT_EQ(tooLong ? tooLong->ErrorCode() : 0, platform::kMessageTooLong);
}

TEST_F(SocketLayer, RunQueryNeedsAQuestionAndAReply) {
  DnsResolver resolver(api);
  resolver.SetHost("127.0.0.1");
  EXPECT_EQ(FailureOf<EDnsResolverError>([&] { resolver.RunQuery("10.0.0.1"); }), "Invalid Query Count 0");
  EXPECT_TRUE(api.sent.empty());

  resolver.QueryRecords = {qtPTR};
  const auto id = resolver.Header.ID;
  for (const std::string& reply : {std::string(), testing::Packet().Word(id).Word(0x8180).bytes,
                                   testing::Packet().Word(id).Word(0x8180).Byte(0).bytes}) {
    api.incoming.clear();
    if (!reply.empty()) api.incoming.push_back({{127, 0, 0, 1}, 53, reply});
    EXPECT_EQ(FailureOf<EDnsResolverError>([&] { resolver.RunQuery("10.0.0.1"); }), "TimedOut");
  }
}

// The reply is the first datagram from the server's address and port that
// carries the query's identifier, QR and question; any other is dropped and
// the wait goes on, for no longer than the timeout that is left.
TEST_F(SocketLayer, OnlyTheReplyOfTheServerAskedIsTaken) {
  DnsResolver resolver(api);
  resolver.SetHost("192.0.2.53");
  resolver.SetReceiveTimeout(2000);
  resolver.QueryRecords = {qtPTR};
  resolver.SetActive(true);
  const Ipv4Bytes server{192, 0, 2, 53};
  const auto id = resolver.Header.ID;
  const auto reply = [&](const std::string& target) { return testing::PtrReply(id, "10.0.0.1", target).bytes; };
  const auto withQuestion = [&](const std::string& name, std::uint16_t type, std::uint16_t klass = 1) {
    return testing::Packet()
        .Header(id, 0x8180, 1, 1)
        .Question(name, type, klass)
        .Record(testing::Pointer(testing::kQuestionOffset), testing::kPTR, testing::Name("forged.example"))
        .bytes;
  };
  const std::string query = "1.0.0.10.in-addr.arpa";
  const struct {
    const char* what;
    Ipv4Bytes from;
    std::uint16_t port;
    std::string bytes;
  } dropped[] = {
      {"another address", {192, 0, 2, 66}, 53, reply("stranger")},
      {"another port", server, 5353, reply("other-port")},
      {"another identifier", server, 53, testing::PtrReply(static_cast<std::uint16_t>(id ^ 1), "10.0.0.1", "x").bytes},
      {"QR clear", server, 53, testing::Packet().Header(id, 0x0100, 1, 0).Question(query, testing::kPTR).bytes},
      {"another name", server, 53, withQuestion("2.0.0.10.in-addr.arpa", testing::kPTR)},
      {"type A asked", server, 53, withQuestion(query, testing::kA)},
      {"class CH asked", server, 53, withQuestion(query, testing::kPTR, 3)},
      {"no question", server, 53, testing::Packet().Header(id, 0x8180, 0, 0).bytes},
      {"header only", server, 53, testing::Packet().Word(id).Word(0x8180).Word(1).bytes},
      {"larger than the buffer", server, 53, reply("huge") + std::string(9000, 'x')},
  };
  for (const auto& d : dropped) {
    api.waits.clear();
    api.incoming = {{d.from, d.port, d.bytes}, {server, 53, reply("server")}};
    resolver.RunQuery("10.0.0.1");
    EXPECT_EQ(dynamic_cast<const TPTRRecord&>(resolver.Answers[0]).TargetName, "server") << d.what;
    ASSERT_EQ(api.waits.size(), 2u) << d.what;
    EXPECT_LE(api.waits[1], 2000);
    EXPECT_GE(api.waits[1], 1000);
  }

  // The question's name is compared without regard to letter case.
  api.incoming = {{server, 53, withQuestion("1.0.0.10.IN-ADDR.Arpa", testing::kPTR)}};
  resolver.RunQuery("10.0.0.1");
  EXPECT_EQ(dynamic_cast<const TPTRRecord&>(resolver.Answers[0]).TargetName, "forged.example");

  // Nothing but strangers: "TimedOut", as for silence.
  api.incoming = {{{192, 0, 2, 66}, 53, reply("stranger")}};
  EXPECT_EQ(FailureOf<EDnsResolverError>([&] { resolver.RunQuery("10.0.0.1"); }), "TimedOut");
}

TEST_F(SocketLayer, WaitSetSizeIsLimited) {
  UdpClient client(api);
  std::vector<platform::SocketId> many(65, 3);
  EXPECT_EQ(FailureOf<EStackSetSizeExceeded>([&] { client.Stack().WaitForSockets(&many, nullptr, nullptr, 0); }),
            "Set Size Exceeded.");
  many.resize(64);
  EXPECT_EQ(client.Stack().WaitForSockets(&many, nullptr, nullptr, 0), 0);
  EXPECT_TRUE(many.empty());
}

TEST(DottedQuad, Recognition) {
  for (const char* good : {"0.0.0.0", "255.255.255.255", "10.0.0.1", "001.02.3.4"}) {
    EXPECT_TRUE(IsDottedQuad(good)) << good;
  }
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "10.0.0.256", "1..2.3", "a.b.c.d", "1.2.3.-4", " 1.2.3.4",
                          "99999999999999999999.1.1.1"}) {
    EXPECT_FALSE(IsDottedQuad(bad)) << bad;
  }
  EXPECT_EQ(ParseDottedQuad("192.168.1.10"), (Ipv4Bytes{192, 168, 1, 10}));
  EXPECT_EQ(ParseDottedQuad("256.257.-1.0"), (Ipv4Bytes{0, 1, 255, 0}));  // low 8 bits
  EXPECT_THROW(ParseDottedQuad("1.2.x.4"), EConvertError);
  EXPECT_THROW(ParseDottedQuad("1.2.3"), EConvertError);
}

TEST(SocketErrors, TextsAndMessages) {
  EXPECT_STREQ(SocketErrorText(10035), "Operation would block. ");
  EXPECT_STREQ(SocketErrorText(10061), "Connection refused.");
  EXPECT_STREQ(SocketErrorText(10065), "No route to host.");
  EXPECT_STREQ(SocketErrorText(10066), "Directory not empty");
  EXPECT_STREQ(SocketErrorText(11001), "Host not found.");
  EXPECT_STREQ(SocketErrorText(10093), "");
  EXPECT_EQ(ESocketLibraryError("Error on loading Winsock2 library (WS2_32.DLL)", 126, "Module not found.").Message(),
            "Error on loading Winsock2 library (WS2_32.DLL): Module not found.");
  EXPECT_EQ(ESocketLibraryError("Error on call Winsock2 library function socket", 0, "").Message(),
            "Error on call Winsock2 library function socket");
  // Every error of the family is caught as an ENetException.
  EXPECT_THROW(throw EConnClosedGracefully("x"), ENetSilentException);
  EXPECT_THROW(throw EStackSetSizeExceeded("x"), EStackError);
  EXPECT_THROW(throw ENotAllBytesSent("x"), ESocketHandleError);
  EXPECT_THROW(throw ESocketLibraryError("x", 0, ""), ENetException);
}

}  // namespace
}  // namespace tolvaren::dns
