// The version resource of tolvaren.exe, read back the way Explorer and
// PowerShell read it. TOLVAREN_VERSION_INFO_FILE names another .exe to check
// (the packaging test points it at the 32-bit build, which cannot run here).
#include "platform/win32/file_version_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/help.h"
#include "platform/fake/fake_services.h"

namespace tolvaren {
namespace {

using platform::win32_backend::ReadFileVersionInfo;

std::string ProgramUnderTest() {
  const char* other = std::getenv("TOLVAREN_VERSION_INFO_FILE");
  if (other != nullptr && *other != '\0') return other;
  return TOLVAREN_BINARY_DIR "/tolvaren.exe";
}

// The second line of the banner: "Tolvaren vVERSION  COPYRIGHT".
std::string BannerVersionLine() {
  platform::fake::FakeConsole console;
  ShowBanner(console);
  const std::size_t start = console.output.find('\n') + 1;
  return console.output.substr(start, console.output.find('\n', start) - start);
}

TEST(FileVersionInfo, ProgramCarriesTheBannerVersionAndCopyright) {
  const std::string path = ProgramUnderTest();
  const auto info = ReadFileVersionInfo(path);
  ASSERT_TRUE(info.found) << "no version resource in " << path;

  EXPECT_EQ(BannerVersionLine(), "Tolvaren v" + info.productVersionText + "  " + info.legalCopyright);
  EXPECT_EQ(info.fileVersionText, info.productVersionText);
  EXPECT_EQ(info.productName, "Tolvaren");
  EXPECT_FALSE(info.fileDescription.empty());
  EXPECT_EQ(info.originalFilename, "tolvaren.exe");

  // The numbers Explorer shows as "File version" agree with the text.
  const auto& v = info.fileVersion;
  const std::string numbers = std::to_string(v[0]) + "." + std::to_string(v[1]);
  EXPECT_EQ(info.productVersionText.rfind(numbers, 0), 0u) << numbers << " vs " << info.productVersionText;
  EXPECT_EQ(info.fileVersion, info.productVersion);
}

TEST(FileVersionInfo, FileWithoutResourceIsNotFound) {
  EXPECT_FALSE(ReadFileVersionInfo(TOLVAREN_SOURCE_DIR "/README.md").found);
  EXPECT_FALSE(ReadFileVersionInfo(TOLVAREN_BINARY_DIR "/no-such-file.exe").found);
}

}  // namespace
}  // namespace tolvaren
