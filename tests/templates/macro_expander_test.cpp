#include "templates/macro_expander.h"

#include <gtest/gtest.h>

#include "core/host.h"
#include "platform/fake/fake_machine.h"
#include "templates/replace_all.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace tolvaren {
namespace {

class MacroExpanderTest : public ::testing::Test {
 protected:
  std::string Expand(const std::string& text) {
    Host host = Host::StartUp(machine.platform());
    return MacroExpander(host, text);
  }

  platform::fake::FakeMachine machine;
};

TEST(HasMacro, FindsAnyLetterOfTheSet) {
  EXPECT_TRUE(HasMacro("acme-?s", kSmbiosMacroLetters));
  EXPECT_TRUE(HasMacro("x?G", kSmbiosMacroLetters));
  EXPECT_FALSE(HasMacro("acme-?S", kSmbiosMacroLetters));
  EXPECT_FALSE(HasMacro("s?", kSmbiosMacroLetters));
  EXPECT_TRUE(HasMacro("?U", kNetworkMacroLetters));
  EXPECT_FALSE(HasMacro("?u", kNetworkMacroLetters));
  EXPECT_FALSE(HasMacro("", kNetworkMacroLetters));
}

TEST_F(MacroExpanderTest, TextWithoutMacrosComesBackUnchanged) {
  EXPECT_EQ(Expand("web01"), "web01");
  EXPECT_EQ(Expand("?S?x?"), "?S?x?");
}

TEST_F(MacroExpanderTest, FixedAndNameMacros) {
  machine.system.netBiosName = "OLDNAME";
  EXPECT_EQ(Expand("?t"), "test");
  EXPECT_EQ(Expand("pc-?e"), "pc-OLDNAME");
}

TEST_F(MacroExpanderTest, NetBiosNameIsReadOnEveryExpansion) {
  Expand("no-macro");
  Expand("?e");
  EXPECT_EQ(machine.system.netBiosReads, 2);
}

TEST_F(MacroExpanderTest, DateMacrosUseTheLocalDate) {
  machine.clock.local = {2007, 3, 5, 23, 59, 0, 0};
  machine.clock.utc = {2007, 3, 6, 4, 59, 0, 0};  // already the next day in UTC
  EXPECT_EQ(Expand("?Y?M?D"), "070305");
  machine.clock.local = {2100, 12, 31, 0, 0, 0, 0};
  EXPECT_EQ(Expand("?D.?M.?Y"), "31.12.00");
}

TEST_F(MacroExpanderTest, RandomMacrosShareOneSequenceWithinAMillisecond) {
  machine.clock.utc = {2007, 3, 5, 9, 20, 30, 400};
  EXPECT_EQ(Expand("?0"), "M6VVCZ7968");
  EXPECT_EQ(Expand("?1?1"), "MM");  // one replace-all step, one value
  EXPECT_EQ(Expand("?3-?9"), "M6V-M6VVCZ796");
}

TEST_F(MacroExpanderTest, InsertedTextIsSeenByLaterStepsOnly) {
  machine.clock.utc = {2007, 3, 5, 9, 20, 30, 400};
  machine.clock.local = {2007, 3, 5, 0, 0, 0, 0};
  // "?e" inserts "?D", which the later date step expands.
  machine.system.netBiosName = "?D";
  EXPECT_EQ(Expand("?e"), "05");
  // "?t" runs after the random step, so a "?1" it would form is not expanded.
  machine.system.netBiosName = "?1";
  EXPECT_EQ(Expand("?e"), "?1");
  // "??1" gives "?" and the random "M", and that "?M" is the month macro.
  EXPECT_EQ(Expand("??1"), "03");
}

TEST(ReplaceAll, TheResultNeverPassesTheBound) {
  const std::size_t k = kMaxExpandedText;
  struct Case {
    std::string text;
    std::string value;
    bool fits;
  };
  const Case cases[] = {
      {std::string(k - 1, 'x') + "?s", "ab", false},  // one byte over
      {std::string(k - 1, 'x') + "?s", "a", true},    // exactly at the bound
      {std::string(k, 'x') + "?s", "", true},         // the macro's bytes count as gone
      {std::string(k + 1, 'x'), "", false},           // already over, nothing to replace
      {std::string(1000, '?') + std::string(1000, 's'), std::string(255, 'v'), true},
      {[] {
         std::string t;
         for (int i = 0; i < 1000; ++i) t += "?s";
         return t;
       }(),
       std::string(255, 'v'), false},  // 255,000 bytes
  };
  for (const Case& c : cases) {
    if (c.fits) {
      EXPECT_LE(ReplaceAll(c.text, "?s", c.value).size(), k) << c.text.size();
    } else {
      EXPECT_THROW(ReplaceAll(c.text, "?s", c.value), EExpansionTooLong) << c.text.size();
    }
  }
}

// Serial numbers that hold macros are expanded again by the later steps of
// the group, so three strings can make a text that doubles, or grows a
// hundredfold, at each step.
TEST_F(MacroExpanderTest, SerialsThatHoldMacrosGrowUpToTheBound) {
  struct Case {
    std::string chassis, board, system, text;
    const char* expected;  // nullptr: the bound is hit
  };
  std::string hundredB, hundredS;
  for (int i = 0; i < 100; ++i) hundredB += "?b", hundredS += "?s";
  const Case cases[] = {
      {"?b?b", "?s?s", "x", "?c", "xxxx"},
      {"?b?b", "?s?s", "?a", "pc-?c", "pc-?a?a?a?a"},   // a value is not scanned by its own step
      {hundredB, hundredS, "12345678", "?c", nullptr},  // 10,000 system serials of 8 bytes
      {hundredB, std::string(255, 'v'), "s", "?c?c?c?c?c?c?c?c?c?c?c?c?c?c?c?c?c?c?c?c", nullptr},
  };
  for (const Case& c : cases) {
    testing::TableBuilder t;
    t.Add(1, {1, 2, 3, 4}, {"Maker", "Model", "1", c.system});
    t.Add(2, {1, 2, 3, 4}, {"Maker", "Board", "1", c.board});
    t.Add(3, {1, 3, 2, 3}, {"Maker", "1", c.chassis});
    machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "saved.bin";
    machine.files.files["saved.bin"] = testing::RawSmbiosBlob(2, 8, t.End().bytes());
    if (c.expected) {
      EXPECT_EQ(Expand(c.text), c.expected) << c.chassis;
    } else {
      EXPECT_THROW(Expand(c.text), EExpansionTooLong) << c.chassis;
    }
  }
}

}  // namespace
}  // namespace tolvaren
