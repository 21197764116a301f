#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "dns/dns_resolver.h"
#include "dns/net_errors.h"
#include "tests/dns/loopback_server.h"

namespace tolvaren::dns {
namespace {

using testing::LoopbackServer;
using testing::Packet;
using testing::PtrAnswer;
using Exchange = LoopbackServer::Exchange;
using Clock = std::chrono::steady_clock;

constexpr int kShortTimeout = 300;

// A resolver that asks the server for the PTR name of 192.168.1.10.
struct Client {
  explicit Client(const LoopbackServer& server, int timeout = kShortTimeout) {
    resolver.SetHost("127.0.0.1");
    resolver.SetPort(server.Port());
    resolver.SetReceiveTimeout(timeout);
    resolver.SetActive(true);
    resolver.QueryRecords = {qtPTR};
  }
  std::string Lookup() {
    resolver.RunQuery("192.168.1.10");
    return dynamic_cast<const TPTRRecord&>(resolver.Answers[0]).TargetName;
  }
  // The message of the ENetException or EAssertionFailed a lookup raises.
  std::string FailedLookup() {
    try {
      Lookup();
    } catch (const ENetException& e) {
      return e.Message();
    } catch (const EAssertionFailed& e) {
      return e.Message();
    }
    return "no exception";
  }
  DnsResolver resolver{platform::NativeSocketApi()};
};

int MillisecondsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(UdpExchange, AnswerOverLoopback) {
  LoopbackServer server([](Exchange& e) { e.Reply(PtrAnswer(e.query, "pc42.example.com").bytes); });
  Client client(server);
  EXPECT_EQ(client.Lookup(), "pc42.example.com");
  EXPECT_EQ(client.resolver.Socket()->PeerIP, "127.0.0.1");
  EXPECT_EQ(client.resolver.Socket()->PeerPort, server.Port());
  EXPECT_EQ(client.resolver.Answers.QuestionName, "10.1.168.192.in-addr.arpa");
}

TEST(UdpExchange, SilentServerTimesOutAndTheSocketStaysUsable) {
  LoopbackServer server([](Exchange& e) {
    if (e.index > 0) e.Reply(PtrAnswer(e.query, "second.example").bytes);
  });
  Client client(server);
  const auto start = Clock::now();
  EXPECT_EQ(client.FailedLookup(), "TimedOut");
  const int waited = MillisecondsSince(start);
  EXPECT_GE(waited, kShortTimeout - 20);
  EXPECT_LT(waited, kShortTimeout + 700);
  EXPECT_TRUE(client.resolver.Active());
  EXPECT_EQ(client.Lookup(), "second.example");
  const auto ports = server.ClientPorts();
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[0], ports[1]);  // one socket for both
}

TEST(UdpExchange, DefaultLookupTimeoutOfTwoSeconds) {
  LoopbackServer server([](Exchange&) {});
  Client client(server, 2000);
  const auto start = Clock::now();
  EXPECT_EQ(client.FailedLookup(), "TimedOut");
  const int waited = MillisecondsSince(start);
  EXPECT_GE(waited, 1980);
  EXPECT_LT(waited, 3000);
}

TEST(UdpExchange, HostileRepliesFailCleanlyAndQuickly) {
  struct Case {
    const char* what;
    std::function<std::string(const std::string& query)> reply;
    std::string expected;  // the start of the message
  };
  // Datagrams that are no reply to the query are dropped: the wait runs out.
  const Case cases[] = {
      {"wrong identifier",
       [](const std::string& q) {
         return Packet().Header(static_cast<std::uint16_t>(testing::IdOf(q) ^ 1), 0x8180, 1, 0).bytes;
       },
       "TimedOut"},
      {"name error", [](const std::string& q) { return PtrAnswer(q, "x", 0x8183).bytes; },
       "DNS Server Reports Query Name Error"},
      {"rcode 9",
       [](const std::string& q) { return Packet().Header(testing::IdOf(q), 0x8189, 1, 0).Raw(q.substr(12)).bytes; },
       "Server Returned Unknown Error"},
      {"five bytes", [](const std::string& q) { return Packet().Word(testing::IdOf(q)).Word(0x8180).Byte(0).bytes; },
       "TimedOut"},
      {"four bytes", [](const std::string& q) { return Packet().Word(testing::IdOf(q)).Word(0x8180).bytes; },
       "TimedOut"},
      {"shorter than the query", [](const std::string& q) { return PtrAnswer(q, "host").Cut(40).bytes; }, "TimedOut"},
      {"cut inside the record", [](const std::string& q) { return PtrAnswer(q, "host").Cut(50).bytes; },
       "Invalid Packet Size 4"},
      {"cut after the question", [](const std::string& q) { return PtrAnswer(q, "host").Cut(43).bytes; },
       "Invalid Packet Size 2"},
      {"pointer loop",
       [](const std::string& q) {
         return Packet().Header(testing::IdOf(q), 0x8180, 1, 1).Raw(q.substr(12)).Pointer(43).Word(12).bytes;
       },
       "Name Pointer Loop at 43"},
      {"label past the end",
       [](const std::string& q) {
         return Packet()
             .Header(testing::IdOf(q), 0x8180, 1, 1)
             .Raw(q.substr(12))
             .Pointer(12)
             .Word(12)
             .Word(1)
             .Long(0)
             .Word(4)
             .Byte(63)
             .Raw("abc")
             .bytes;
       },
       "Invalid Packet Size 3"},
  };
  for (const Case& c : cases) {
    LoopbackServer server([&c](Exchange& e) { e.Reply(c.reply(e.query)); });
    Client client(server);
    const auto start = Clock::now();
    const std::string message = client.FailedLookup();
    EXPECT_EQ(message.substr(0, c.expected.size()), c.expected) << c.what << ": " << message;
    EXPECT_LT(MillisecondsSince(start), kShortTimeout + 700) << c.what;
  }
}

// Only the server asked may answer; a reply from another port is dropped and
// the wait runs on to its end.
TEST(UdpExchange, ReplyFromAnotherPortIsDropped) {
  LoopbackServer server([](Exchange& e) { e.ReplyFromAnotherPort(PtrAnswer(e.query, "other.example").bytes); });
  Client client(server);
  const auto start = Clock::now();
  EXPECT_EQ(client.FailedLookup(), "TimedOut");
  EXPECT_GE(MillisecondsSince(start), kShortTimeout - 20);
}

TEST(UdpExchange, LateReplyIsTakenByTheNextQuery) {
  LoopbackServer server([](Exchange& e) {
    if (e.index == 0) {
      e.Wait(kShortTimeout + 150);
      e.Reply(PtrAnswer(e.query, "late.example").bytes);
    }
  });
  Client client(server);
  EXPECT_EQ(client.FailedLookup(), "TimedOut");
  EXPECT_EQ(client.Lookup(), "late.example");
}

// A datagram larger than the buffer cannot be judged: it is dropped, and the
// reply after it taken.
TEST(UdpExchange, ReplyLargerThanTheBuffer) {
  LoopbackServer server([](Exchange& e) {
    e.Reply(PtrAnswer(e.query, "big.example").Raw(std::string(1000, 'x')).bytes);
    e.Reply(PtrAnswer(e.query, "small.example").bytes);
  });
  Client client(server);
  client.resolver.BufferSize = 512;
  EXPECT_EQ(client.Lookup(), "small.example");
}

TEST(UdpExchange, NoServerOnThePortFailsWithoutStalling) {
  int closedPort = 0;
  {
    LoopbackServer gone([](Exchange&) {});
    closedPort = gone.Port();
  }
  LoopbackServer server([](Exchange& e) { e.Reply(PtrAnswer(e.query, "back.example").bytes); });
  Client client(server);
  client.resolver.SetPort(closedPort);
  const auto start = Clock::now();
  // The refusal comes back as a socket error at once, not as silence.
  EXPECT_EQ(client.FailedLookup(), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_LT(MillisecondsSince(start), kShortTimeout / 2);
  client.resolver.SetPort(server.Port());
  EXPECT_EQ(client.Lookup(), "back.example");
}

}  // namespace
}  // namespace tolvaren::dns
