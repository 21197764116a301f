// The two DOS dump programs, run under DOSBox with standard output redirected
// to a file. Runs where dosbox is installed.
#include "hwinfo/dos_dump_programs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tolvaren {
namespace {

namespace fs = std::filesystem;

[[maybe_unused]] std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DosDumpPrograms, AreTheSameBytesButTheSegment) {
  const DumpProgram& e = DumpProgramFor(kSegmentE000);
  const DumpProgram& f = DumpProgramFor(kSegmentF000);
  for (std::size_t i = 0; i < kDumpProgramSize; ++i) {
    if (i == 2) continue;
    EXPECT_EQ(e[i], f[i]) << i;
  }
  EXPECT_EQ(e[2], 0xE0);
  EXPECT_EQ(f[2], 0xF0);
}

TEST(DosDumpPrograms, DumpTheirSegmentUnderDosbox) {
#ifdef _WIN32
  GTEST_SKIP() << "DOSBox runs on Linux only";
#else
  if (std::system("command -v dosbox >/dev/null 2>&1") != 0) GTEST_SKIP() << "dosbox is not installed";
  const fs::path work = fs::path(TOLVAREN_BINARY_DIR) / "dosbox-work";
  fs::remove_all(work);
  fs::create_directories(work / "home");
  for (const auto& [name, selector] : {std::pair{"E.COM", kSegmentE000}, std::pair{"F.COM", kSegmentF000}}) {
    const DumpProgram& program = DumpProgramFor(selector);
    std::ofstream(work / name, std::ios::binary).write(reinterpret_cast<const char*>(program.data()), program.size());
  }
  // DOSBox keeps its configuration under HOME: give it one in the build tree.
  const std::string command = "cd '" + work.string() + "' && HOME='" + (work / "home").string() +
                              "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 120 dosbox -c 'mount c " +
                              work.string() + "' -c c: -c 'E.COM > E.DMP' -c 'F.COM > F.DMP' -c exit >dosbox.log 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadText(work / "dosbox.log");

  const std::string low = ReadText(work / "E.DMP");
  const std::string high = ReadText(work / "F.DMP");
  ASSERT_EQ(low.size(), 65536u);
  ASSERT_EQ(high.size(), 65536u);
  // F000:FFF0 holds the reset vector, a far jump, and F000:FFF5 the BIOS date.
  EXPECT_EQ(static_cast<std::uint8_t>(high[0xFFF0]), 0xEA);
  const std::string date = high.substr(0xFFF5, 8);  // MM/DD/YY
  for (std::size_t i = 0; i < date.size(); ++i) {
    EXPECT_TRUE(i % 3 == 2 ? date[i] == '/' : date[i] >= '0' && date[i] <= '9') << date;
  }
  EXPECT_NE(low, high);
  fs::remove_all(work);
#endif
}

}  // namespace
}  // namespace tolvaren
