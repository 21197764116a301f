// The SMBIOS macros on firmware images that QEMU's SeaBIOS wrote, read through
// TOLVAREN_BIOS_IMAGE on the fake machine.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/host.h"
#include "platform/fake/fake_machine.h"
#include "templates/smbios_macros.h"

namespace tolvaren {
namespace {

namespace fs = std::filesystem;

const fs::path kImages = fs::path(TOLVAREN_SOURCE_DIR) / "tests/fixtures/firmware";

struct Case {
  const char* image;
  const char* text;
  const char* expected;
};

TEST(SmbiosMacrosOnImages, ExpandToWhatTheFirmwareHolds) {
  const Case cases[] = {
      {"ident.bin", "acme-?s", "acme-ACME-SN-000123"},
      {"ident.bin", "??s", "?ACME-SN-000123"},
      {"ident.bin", "?c/?b/?a", "CH-998877/MB-77-0042/ACME-SN-000123"},
      {"ident.bin", "?u", "78563412BC9AF0DE123456789ABCDEF0"},
      {"ident.bin", "?G", "78563412BC9AF0DE123456789ABCDEF0"},
      {"q35.bin", "?a-?c", "Q35-SN-QC-SN"},
      {"odd-strings.bin", "[?a]", "[BSN 1]"},  // inserted with its blank
      {"defaults.bin", "pc-?s?c?b?a", "pc-"},
      {"uuid-ff.bin", "?G", "?U"},
      {"uuid-00.bin", "?a-?G", "00-1-?U"},
      {"table-outside.bin", "x?s?u", "x"},
  };
  for (const Case& c : cases) {
    std::ifstream in(kImages / c.image, std::ios::binary);
    ASSERT_TRUE(in) << c.image;
    platform::fake::FakeMachine machine;
    machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "saved.bin";
    machine.files.files["saved.bin"].assign(std::istreambuf_iterator<char>(in), {});
    Host host(machine.platform(), ClassifyOs(platform::fake::kWindows10));
    MacroValues used;
    EXPECT_EQ(ExpandSmbiosMacros(host, c.text, used), c.expected) << c.image << " " << c.text;
    EXPECT_EQ(machine.console.output, "") << c.image;
  }
}

}  // namespace
}  // namespace tolvaren
