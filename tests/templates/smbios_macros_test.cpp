#include "templates/smbios_macros.h"

#include <gtest/gtest.h>

#include "core/host.h"
#include "platform/fake/fake_machine.h"
#include "templates/macro_expander.h"

namespace tolvaren {
namespace {

const std::string kFs(32, 'F');
const std::string kZeros(32, '0');
const std::string kUuid = "4C4C4544004A3610804DB3C04F4D3258";

TEST(SmbiosMacros, ReplacementsInTheirOrder) {
  const SmbiosSerials serials{"ABC123", "CH1", "MB1", kUuid};
  const std::pair<std::string, std::string> cases[] = {
      {"acme-?s", "acme-ABC123"}, {"??s", "?ABC123"},         {"?c?b?s", "CH1MB1ABC123"}, {"?u", kUuid}, {"?G", kUuid},
      {"?a", "ABC123"},           {"?s-?s", "ABC123-ABC123"}, {"?S?x", "?S?x"},  // not SMBIOS macros
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ReplaceSmbiosMacros(text, serials), expected) << text;

  // Each step works on the text the previous ones left.
  EXPECT_EQ(ReplaceSmbiosMacros("?c", {"S", "?s", "", ""}), "S");
  EXPECT_EQ(ReplaceSmbiosMacros("?s", {"?c", "C", "", ""}), "?c");
  // Values go in as they are, blanks and all.
  EXPECT_EQ(ReplaceSmbiosMacros("x?s", {"To be filled", "", "", ""}), "xTo be filled");
}

// The value "?a" and "?G" took, as the warnings name it, is the one the
// expansion inserted.
TEST(SmbiosMacros, AnySerialTakesTheFirstNonEmpty) {
  const struct {
    SmbiosSerials serials;
    char letter;
    std::string expanded;
    std::string_view field;
  } cases[] = {
      {{"", "CH1", "MB1", ""}, 'a', "CH1", "chassis.serial"},
      {{"", "", "MB1", ""}, 'a', "MB1", "board.serial"},
      {{"SN", "CH1", "", ""}, 'a', "SN", "system.serial"},
      {{"", "", "", ""}, 'a', "", "system.serial"},
      {{"", "", "", kUuid}, 'G', kUuid, "uuid"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceSmbiosMacros(std::string{'?', c.letter}, c.serials), c.expanded) << c.field;
    const auto taken = ValueTaken({c.serials, std::nullopt}, c.letter);
    ASSERT_TRUE(taken) << c.field;
    EXPECT_EQ(taken->field, c.field);
    EXPECT_EQ(taken->text, c.expanded);
  }
  // A placeholder UUID hands "?G" to the network group: no value without it.
  EXPECT_FALSE(ValueTaken({SmbiosSerials{"", "", "", kFs}, std::nullopt}, 'G'));
  EXPECT_EQ(ValueTaken({SmbiosSerials{"", "", "", kFs}, NetworkValues{"10.0.0.1", "00:11", ""}}, 'G')->field,
            "network.mac");
}

TEST(SmbiosMacros, PlaceholderUuidLeavesTheNetworkUuid) {
  for (const std::string& uuid : {kFs, kZeros, std::string()}) {
    EXPECT_EQ(ReplaceSmbiosMacros("pc-?G", {"", "", "", uuid}), "pc-?U") << uuid;
  }
  // The comparison is exact: lower case and other lengths are real UUIDs.
  const std::string lower(32, 'f');
  EXPECT_EQ(ReplaceSmbiosMacros("?G", {"", "", "", lower}), lower);
  EXPECT_EQ(ReplaceSmbiosMacros("?G", {"", "", "", std::string(31, 'F')}), std::string(31, 'F'));
}

TEST(SmbiosMacros, MachineWithoutSmbiosExpandsToNothingAndPrintsNothing) {
  platform::fake::FakeMachine machine;
  Host host(machine.platform(), ClassifyOs(platform::fake::kWindows10));
  EXPECT_EQ(MacroExpander(host, "acme-?s?c?b?a?u"), "acme-");
  EXPECT_EQ(machine.console.output, "");
}

}  // namespace
}  // namespace tolvaren
