#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/domain_join_information.h"
#include "platform/domain_keytab.h"

namespace tolvaren::platform {
namespace {

// What NetGetJoinInformation answers, and the domain it shows.
TEST(DomainJoinInformation, OnlyASuccessfulDomainJoinShowsADomain) {
  struct Row {
    std::uint32_t status;
    std::uint32_t joinStatus;
    std::optional<DomainJoin> domain;
  };
  const DomainJoin joined{"EXAMPLE", "NetGetJoinInformation"};
  for (const Row& row : std::vector<Row>{
           {0, net_setup::kDomainName, joined},
           {0, net_setup::kWorkgroupName, std::nullopt},
           {0, net_setup::kUnjoined, std::nullopt},
           {0, net_setup::kUnknownStatus, std::nullopt},
           {5, net_setup::kDomainName, std::nullopt},  // ERROR_ACCESS_DENIED
       }) {
    EXPECT_EQ(DomainOfJoinInformation(row.status, row.joinStatus, "EXAMPLE"), row.domain) << row.joinStatus;
  }
}

// Writes keytab files a few readable lines at a time, in format 0x0502
// (big-endian) or 0x0501 (this machine's byte order, little-endian here).
class KeytabBuilder {
 public:
  explicit KeytabBuilder(std::uint16_t version = 0x0502) : version_(version) {
    bytes_ = {static_cast<char>(version >> 8), static_cast<char>(version & 0xFF)};
  }
  KeytabBuilder& Entry(const std::string& realm, const std::vector<std::string>& components, std::size_t key = 32) {
    std::string entry;
    Put16(entry, static_cast<std::uint16_t>(components.size() + (version_ == 0x0501 ? 1 : 0)));
    Counted(entry, realm);
    for (const std::string& component : components) Counted(entry, component);
    if (version_ == 0x0502) Put32(entry, 1);  // name type: principal
    Put32(entry, 0x6B1A845D);                 // time stamp
    entry += '\x01';                          // key version
    Put16(entry, 18);                         // aes256-cts
    Counted(entry, std::string(key, '\0'));
    return Length(static_cast<std::int32_t>(entry.size())).Raw(entry);
  }
  KeytabBuilder& Length(std::int32_t length) {
    Put32(bytes_, static_cast<std::uint32_t>(length));
    return *this;
  }
  KeytabBuilder& Raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  void Put16(std::string& out, std::uint16_t value) const {
    const std::string be{static_cast<char>(value >> 8), static_cast<char>(value)};
    out += version_ == 0x0502 ? be : std::string{be[1], be[0]};
  }
  void Put32(std::string& out, std::uint32_t value) const {
    std::string be;
    for (int shift = 24; shift >= 0; shift -= 8) be += static_cast<char>(value >> shift);
    out += version_ == 0x0502 ? be : std::string(be.rbegin(), be.rend());
  }
  void Counted(std::string& out, const std::string& text) const {
    Put16(out, static_cast<std::uint16_t>(text.size()));
    out += text;
  }

  std::uint16_t version_;
  std::string bytes_;
};

std::optional<std::vector<KeytabPrincipal>> Read(const std::string& bytes) {
  return ReadKeytabPrincipals(ByteView(bytes));
}

const KeytabPrincipal kHost{"EXAMPLE.COM", {"host", "oldpc.example.com"}};
const KeytabPrincipal kAccount{"EXAMPLE.COM", {"OLDPC$"}};

// The entry layouts ktutil does not write: the old format, holes left by
// deleted keys, the zero length that ends the entries.
TEST(KeytabPrincipals, ReadsBothFormatsAndSkipsHoles) {
  EXPECT_EQ(Read(KeytabBuilder(0x0501)
                     .Entry("EXAMPLE.COM", {"host", "oldpc.example.com"})
                     .Entry("EXAMPLE.COM", {"OLDPC$"})
                     .bytes()),
            (std::vector<KeytabPrincipal>{kHost, kAccount}));
  EXPECT_EQ(Read(KeytabBuilder().Length(-6).Raw(std::string(6, '\0')).Entry("EXAMPLE.COM", {"OLDPC$"}).bytes()),
            std::vector<KeytabPrincipal>{kAccount});
  EXPECT_EQ(Read(KeytabBuilder().Entry("EXAMPLE.COM", {"OLDPC$"}).Length(0).Raw("anything after the end").bytes()),
            std::vector<KeytabPrincipal>{kAccount});
  EXPECT_EQ(Read(KeytabBuilder().bytes()), std::vector<KeytabPrincipal>{});
}

// Whatever does not fit makes the whole file unreadable.
TEST(KeytabPrincipals, BrokenFilesReadAsNothing) {
  const std::string good = KeytabBuilder().Entry("EXAMPLE.COM", {"OLDPC$"}).bytes();
  for (const std::string& bytes : std::vector<std::string>{
           "", std::string("\x05\x03", 2),                                         // a later format
           good.substr(0, good.size() - 1),                                        // cut inside the key
           good + std::string("\0\0\0", 3),                                        // a length cut short
           KeytabBuilder().Length(INT32_MIN).bytes(),                              // a hole beyond the end
           KeytabBuilder().Length(4).Raw(std::string("\0\x01\0\x05", 4)).bytes(),  // realm beyond the entry
           KeytabBuilder(0x0501).Length(2).Raw(std::string(2, '\0')).bytes(),      // a count that leaves out the realm
       }) {
    EXPECT_EQ(Read(bytes), std::nullopt) << ::testing::PrintToString(bytes);
  }
  // A key that runs one byte past its entry's length; that byte and three
  // more would read as the zero length that ends the file.
  std::string overlong = good;
  overlong[5] = static_cast<char>(overlong[5] - 1);
  EXPECT_EQ(Read(overlong + std::string(3, '\0')), std::nullopt);
}

TEST(KeytabPrincipals, HostPrincipalsAndAccountsNameTheMachine) {
  struct Row {
    KeytabPrincipal principal;
    std::string name;
    bool names;
  };
  const std::string longName = "averyveryverylongname";
  for (const Row& row : std::vector<Row>{
           {kHost, "OLDPC", true},
           {kHost, "oldpc.other.org", true},
           {{"R", {"HOST", "oldpc"}}, "oldpc", true},
           {kHost, "oldpc2", false},
           {{"R", {"HTTP", "oldpc.example.com"}}, "oldpc", false},
           {{"R", {"host", "oldpc", "x"}}, "oldpc", false},
           {{"R", {"oldpc$"}}, "OLDPC.example.com", true},
           {{"R", {"AVERYVERYVERYLO$"}}, longName, true},  // the NetBIOS name: 15 bytes
           {{"R", {"AVERYVERYVERYL$"}}, longName, false},
           {{"R", {"host", ""}}, "", false},
           {{"R", {"$"}}, "", false},
       }) {
    EXPECT_EQ(RealmOfHostPrincipal({row.principal}, row.name).has_value(), row.names)
        << row.principal.components[0] << " for " << row.name;
  }
  EXPECT_EQ(RealmOfHostPrincipal({{"OTHER", {"host", "x"}}, kAccount, kHost}, "oldpc"), "EXAMPLE.COM");
}

}  // namespace
}  // namespace tolvaren::platform
