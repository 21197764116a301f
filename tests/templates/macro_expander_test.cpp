#include "templates/macro_expander.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_machine.h"

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

}  // namespace
}  // namespace tolvaren
