#include "templates/network_macros.h"
#include "core/host.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "dns/net_errors.h"
#include "platform/fake/fake_machine.h"
#include "templates/macro_expander.h"
#include "tests/dns/packet_builder.h"

namespace tolvaren {
namespace {

using dns::testing::Name;
using dns::testing::Packet;
using dns::testing::Pointer;
using Datagram = platform::fake::FakeSocketApi::Datagram;
// The reply a server gives to a query (the query's bytes in, nothing out for
// silence).
using Answer = std::function<std::string(const std::string& query)>;

constexpr platform::Ipv4Bytes kServer1{192, 0, 2, 53};
constexpr platform::Ipv4Bytes kServer2{192, 0, 2, 54};
constexpr std::uint16_t kQuestion = dns::testing::kQuestionOffset;
constexpr std::uint16_t kPTR = dns::testing::kPTR;

std::uint16_t IdOf(const std::string& query) {
  return static_cast<std::uint16_t>((static_cast<unsigned char>(query[0]) << 8) | static_cast<unsigned char>(query[1]));
}

// A reply echoing the query's question, with the given counts and records.
Packet ReplyTo(const std::string& query, std::uint16_t an, std::uint16_t ns = 0, std::uint16_t flags = 0x8180) {
  return Packet().Header(IdOf(query), flags, 1, an, ns).Raw(query.substr(12));
}

Answer PtrTo(const std::string& target) {
  return [target](const std::string& q) { return ReplyTo(q, 1).Record(Pointer(kQuestion), kPTR, Name(target)).bytes; };
}

// A machine with the address 192.168.1.10, the MAC 00:0A:95:9D:68:16 and two
// DNS servers that answer as the test says.
class NetworkMacrosTest : public ::testing::Test {
 protected:
  NetworkMacrosTest() {
    machine.winsock.hosts["fakepc"] = {{192, 168, 1, 10}};
    machine.netbios.lanas = {{0, {0x00, 0x0A, 0x95, 0x9D, 0x68, 0x16}, 0, 0}};
    platform::ip_helper_records::NetworkParamsRecord params;
    params.dnsServers = {"192.0.2.53", "192.0.2.54"};
    machine.ipHelper.params = params;
    machine.sockets.onSend = [this](const Datagram& query) {
      const auto answer = answers.find(query.address);
      if (answer == answers.end()) return;
      const std::string reply = answer->second(query.bytes);
      if (!reply.empty()) machine.sockets.incoming.push_back({replyFrom.value_or(query.address), 53, reply});
    };
  }

  std::string Expand(const std::string& text) {
    MacroValues used;
    return ExpandNetworkMacros(host, text, ReverseLookupRule::kForAnyNetworkMacro, used);
  }

  platform::fake::FakeMachine machine;
  Host host{machine.platform(), ClassifyOs(platform::fake::kWindowsXp)};
  std::map<platform::Ipv4Bytes, Answer> answers{{kServer1, PtrTo("pc42.example.com")}};
  std::optional<platform::Ipv4Bytes> replyFrom;  // another sender than the server
};

TEST_F(NetworkMacrosTest, AddressMacrosAndTheirOrder) {
  const std::pair<std::string, std::string> cases[] = {
      {"?i?j?k?l", "192168110"}, {"?I?J?K?L", "C0A8010A"},
      {"?m", "000A959D6816"},    {"?U", "00000000000000000000000A959D6816"},
      {"x-?d", "x-pc42"},        {"?d?d?x", "pc42pc42?x"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Expand(text), expected) << text;

  // One resolver, 2000 ms for each reply, the first server asked first.
  machine.sockets.sent.clear();
  machine.sockets.waits.clear();
  Expand("?m");  // the lookup runs whenever there are addresses
  ASSERT_EQ(machine.sockets.sent.size(), 1u);
  EXPECT_EQ(machine.sockets.sent[0].address, kServer1);
  EXPECT_EQ(machine.sockets.sent[0].port, 53);
  ASSERT_EQ(machine.sockets.waits.size(), 1u);
  EXPECT_GT(machine.sockets.waits[0], 1900);
  EXPECT_LE(machine.sockets.waits[0], 2000);
}

// The name is the first label of the first PTR answer; a server whose reply
// has none gives no name, and the next one is asked.
TEST_F(NetworkMacrosTest, ShortNameFromTheReply) {
  struct Case {
    const char* what;
    Answer first;
    std::string expected;
  };
  const Case cases[] = {
      {"label before a pointer",
       [](const std::string& q) {
         return ReplyTo(q, 1).Record(Pointer(kQuestion), kPTR, Packet().Label("pc42").Pointer(kQuestion)).bytes;
       },
       "pc42"},
      {"data only a pointer",
       [](const std::string& q) { return ReplyTo(q, 1).Record(Pointer(kQuestion), kPTR, Pointer(kQuestion)).bytes; },
       "10"},
      {"label cut at a blank", PtrTo("pc 42.example.com"), "pc"},
      {"PTR after a CNAME",
       [](const std::string& q) {
         return ReplyTo(q, 2)
             .Record(Pointer(kQuestion), dns::testing::kCNAME, Name("alias.example"))
             .Record(Pointer(kQuestion), kPTR, Name("host7.example"))
             .bytes;
       },
       "host7"},
      {"authority record only",
       [](const std::string& q) {
         return ReplyTo(q, 0, 1).Record(Pointer(kQuestion), dns::testing::kNS, Name("ns1.example")).bytes;
       },
       "second"},
      {"root name", PtrTo(""), "second"},
      {"name error", [](const std::string& q) { return ReplyTo(q, 0, 0, 0x8183).bytes; }, "second"},
      {"silence", [](const std::string&) { return std::string(); }, "second"},
      {"name too long",
       [](const std::string& q) {
         const std::string label(63, 'a');
         return ReplyTo(q, 1)
             .Record(Pointer(kQuestion), kPTR, Name(label + "." + label + "." + label + "." + label))
             .bytes;
       },
       "second"},
  };
  answers[kServer2] = PtrTo("second.example");
  for (const Case& c : cases) {
    answers[kServer1] = c.first;
    EXPECT_EQ(Expand("?d"), c.expected) << c.what;
  }
}

// Every server of the list is asked, in list order, each once however often
// the list names it; a silent first server leaves the name to the others.
TEST_F(NetworkMacrosTest, EachServerIsAskedOnceInListOrder) {
  const std::string a = "192.0.2.53", b = "192.0.2.54";
  const struct {
    std::vector<std::string> servers;
    std::vector<platform::Ipv4Bytes> asked;
  } cases[] = {
      {{a, a, b}, {kServer1, kServer2}},
      {{a, b, a}, {kServer1, kServer2}},
      {{a, a, a}, {kServer1}},
  };
  answers[kServer1] = [](const std::string&) { return std::string(); };
  answers[kServer2] = PtrTo("second.example");
  for (const auto& c : cases) {
    machine.ipHelper.params->dnsServers = c.servers;
    machine.sockets.sent.clear();
    EXPECT_EQ(Expand("?d"), c.asked.size() == 2 ? "second" : "") << c.servers.size();
    std::vector<platform::Ipv4Bytes> asked;
    for (const Datagram& d : machine.sockets.sent) asked.push_back(d.address);
    EXPECT_EQ(asked, c.asked);
  }
}

TEST_F(NetworkMacrosTest, ReplyFromAnotherAddressIsNotTheServers) {
  replyFrom = platform::Ipv4Bytes{192, 0, 2, 99};
  answers[kServer2] = PtrTo("second.example");
  EXPECT_EQ(Expand("?d"), "");
  EXPECT_EQ(machine.sockets.sent.size(), 2u);
}

TEST_F(NetworkMacrosTest, WithoutAddressesEveryMacroGoes) {
  machine.netbios.lanas.clear();
  EXPECT_EQ(Expand("x?d?i?j?k?l?I?J?K?L?m?U?u"), "x?u");
  EXPECT_EQ(Expand("??id"), "");  // "?d" goes last, also the one removing "?i" makes
  machine.netbios.lanas = {{0, {1, 2, 3, 4, 5, 6}, 0, 0}};
  machine.winsock.hosts.clear();
  EXPECT_EQ(Expand("x?d?m"), "x");
  EXPECT_TRUE(machine.sockets.sent.empty());
  EXPECT_TRUE(machine.sockets.opened.empty());
}

TEST_F(NetworkMacrosTest, NoDnsServerNoQuery) {
  machine.ipHelper.params.reset();
  EXPECT_EQ(Expand("?d?l"), "10");
  EXPECT_TRUE(machine.sockets.sent.empty());
}

TEST_F(NetworkMacrosTest, UnreadableMacPassesIntoTheName) {
  machine.netbios.lanas[0].statusCode = 1;
  EXPECT_EQ(Expand("?m"), "????????????");
}

TEST_F(NetworkMacrosTest, PlaceholderUuidFallsBackToTheMacUuid) {
  EXPECT_EQ(MacroExpander(host, "?G"), "00000000000000000000000A959D6816");
}

TEST_F(NetworkMacrosTest, SocketThatCannotBeOpenedEndsTheRun) {
  machine.sockets.refuseSockets = true;
  EXPECT_THROW(MacroExpander(host, "?m"), EInvalidSocket);
}

TEST(IpOctets, DecimalPiecesOrAnError) {
  EXPECT_EQ(IpOctets("192.168.1.10"), (std::array<int, 4>{192, 168, 1, 10}));
  EXPECT_EQ(IpOctets("10.0.0.007"), (std::array<int, 4>{10, 0, 0, 7}));
  for (const std::string address : {"192.168.1", "192.168.x.1", "", "1.2.3.0x10"}) {
    EXPECT_THROW(IpOctets(address), EConvertError) << address;
  }
}

}  // namespace
}  // namespace tolvaren
