#include <gtest/gtest.h>

#include <cstdlib>

#include "dns/dns_resolver.h"
#include "dns/net_errors.h"

namespace tolvaren::dns {
namespace {

// Exchanges with a real DNS server: dnsmasq on 127.0.0.1, started for this
// program by tests/dns/with-dnsmasq.sh with a few records of its own.
class Dnsmasq : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* port = std::getenv("TOLVAREN_DNSMASQ_PORT");
    if (port == nullptr) GTEST_SKIP() << "no dnsmasq (run through with-dnsmasq.sh)";
    resolver.SetHost("127.0.0.1");
    resolver.SetPort(std::atoi(port));
    resolver.SetReceiveTimeout(2000);
    resolver.SetActive(true);
  }

  DnsResolver resolver{platform::NativeSocketApi()};
};

TEST_F(Dnsmasq, ReverseLookups) {
  resolver.QueryRecords = {qtPTR};
  resolver.RunQuery("192.168.1.10");
  ASSERT_GE(resolver.Answers.Count(), 1);
  const auto& ptr = dynamic_cast<const TPTRRecord&>(resolver.Answers[0]);
  EXPECT_EQ(ptr.TargetName, "host.example.com");
  EXPECT_EQ(ptr.Name, "10.1.168.192.in-addr.arpa");
  EXPECT_EQ(resolver.Answers.QuestionName, "10.1.168.192.in-addr.arpa");
  EXPECT_EQ(resolver.Answers.QuestionType, 12);
  EXPECT_EQ(resolver.Header.Flags & 0x8000, 0x8000);  // a response

  // The same socket serves the next question; a host record gives its PTR too.
  resolver.RunQuery("192.0.2.42");
  EXPECT_EQ(dynamic_cast<const TPTRRecord&>(resolver.Answers[0]).TargetName, "pc42.example.test");
}

TEST_F(Dnsmasq, AddressAndMailExchangerLookups) {
  resolver.QueryRecords = {qtA};
  resolver.RunQuery("pc42.example.test");
  ASSERT_GE(resolver.Answers.Count(), 1);
  EXPECT_EQ(dynamic_cast<const TARecord&>(resolver.Answers[0]).IPAddress, "192.0.2.42");
  EXPECT_EQ(resolver.Answers[0].RecordType, qtA);

  resolver.QueryRecords = {qtMX};
  resolver.RunQuery("example.test");
  ASSERT_GE(resolver.Answers.Count(), 1);
  const auto& mx = dynamic_cast<const TMXRecord&>(resolver.Answers[0]);
  EXPECT_EQ(mx.MXPreference, 10);
  EXPECT_EQ(mx.MailExchanger, "mail.example.test");
}

TEST_F(Dnsmasq, UnknownNameIsAnError) {
  resolver.QueryRecords = {qtPTR};
  EXPECT_THROW(resolver.RunQuery("203.0.113.99"), EDnsResolverError);
  // and the resolver goes on working
  resolver.RunQuery("192.168.1.10");
  EXPECT_EQ(dynamic_cast<const TPTRRecord&>(resolver.Answers[0]).TargetName, "host.example.com");
}

}  // namespace
}  // namespace tolvaren::dns
