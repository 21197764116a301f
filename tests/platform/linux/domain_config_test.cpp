#include "platform/linux/domain_config.h"

#include <gtest/gtest.h>

namespace tolvaren::platform::linux_backend {
namespace {

// How snippets merge into sssd.conf, which the end-to-end test does not show.
TEST(DomainConfig, SssdDomainsAsTheSnippetsLeaveThem) {
  struct Row {
    std::vector<std::string> texts;
    std::optional<std::string> domain;
    std::size_t source;
  };
  const std::string ad = "[sssd]\ndomains = corp\n[domain/corp]\nid_provider = ad\n";
  for (const Row& row : std::vector<Row>{
           {{ad}, "corp", 0},
           {{"[Domain/Corp]\r\n  ID_Provider=IPA\r\n"}, "Corp", 0},
           {{"[domain/corp]\nid_provider = ldap\naccess_provider = ad\n"}, "corp", 0},
           {{ad, "[domain/CORP]\nid_provider = ldap\n"}, std::nullopt, 0},  // a snippet overrides
           {{"[domain/corp]\nid_provider = files\n", "[domain/corp]\nid_provider = ad\n"}, "corp", 1},
           {{"[domain/corp]\n# id_provider = ad\n; auth_provider = ad\n"}, std::nullopt, 0},
           {{"[sssd]\nid_provider = ad\n[domain/]\nid_provider = ad\n"}, std::nullopt, 0},
           {{"id_provider = ad\n"}, std::nullopt, 0},
       }) {
    const std::optional<SssdDomain> domain = SssdDirectoryDomain(row.texts);
    ASSERT_EQ(domain.has_value(), row.domain.has_value()) << row.texts[0];
    if (domain) {
      EXPECT_EQ(domain->name, *row.domain);
      EXPECT_EQ(domain->source, row.source);
    }
  }
}

TEST(DomainConfig, SambaAdsOnlyInTheGlobalSection) {
  struct Row {
    std::string text;
    std::optional<std::string> realm;
  };
  for (const Row& row : std::vector<Row>{
           {"realm = EXAMPLE.COM\nsecurity = ads\n", "EXAMPLE.COM"},  // before any section
           {"[GLOBAL]\n  Security = ADS\n", ""},
           {"[global]\nsecurity = ads\n[share]\nrealm = OTHER\n", ""},
           {"[global]\nsecurity = ads\nsecurity = user\n", std::nullopt},
           {"[global]\n;security = ads\n[share]\nsecurity = ads\n", std::nullopt},
       }) {
    EXPECT_EQ(SambaAdsRealm(row.text), row.realm) << row.text;
  }
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
