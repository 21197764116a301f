#include "platform/linux/linux_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tolvaren::platform::linux_backend {
namespace {

namespace fs = std::filesystem;

// Sizes around the read steps: empty, below, at and across the 64 KiB chunk,
// a BIOS area image, and files cut by the limit.
TEST(LinuxFiles, ReadFileHeadReadsWholeFilesUpToTheLimit) {
  fs::path folder = fs::temp_directory_path() / "tolvaren-files-";
  folder += std::to_string(getpid());
  fs::create_directories(folder);
  LinuxFileSystem files;
  for (const std::size_t size : {0u, 1u, 4096u, 65535u, 65536u, 65537u, 131072u, 200000u}) {
    std::vector<std::uint8_t> content(size);
    for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<std::uint8_t>(i * 7 + size);
    fs::path path = folder / "f";
    path += std::to_string(size);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(size));

    EXPECT_EQ(files.ReadFileHead(path.string(), 0x100001), content) << size;
    const auto head = files.ReadFileHead(path.string(), 65536);
    ASSERT_TRUE(head) << size;
    EXPECT_EQ(*head, std::vector<std::uint8_t>(content.begin(), content.begin() + std::min<std::size_t>(size, 65536)))
        << size;
  }
  EXPECT_FALSE(files.ReadFileHead((folder / "missing").string(), 100));
  EXPECT_FALSE(files.ReadFileHead(folder.string(), 100));
  fs::remove_all(folder);
}

// Only a regular file of exactly the buffer's size is read; any other leaves
// the buffer as it was.
TEST(LinuxFiles, ReadWholeFileIntoTakesOnlyFilesOfTheExactSize) {
  fs::path folder = fs::temp_directory_path() / "tolvaren-whole-";
  folder += std::to_string(getpid());
  fs::create_directories(folder);
  LinuxFileSystem files;
  std::vector<std::uint8_t> buffer(4096, 0xEE);
  for (const std::size_t size : {4095u, 4097u, 0u}) {
    fs::path path = folder / "f";
    path += std::to_string(size);
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
    EXPECT_FALSE(files.ReadWholeFileInto(path.string(), buffer)) << size;
    EXPECT_EQ(buffer, std::vector<std::uint8_t>(4096, 0xEE)) << size;
  }
  EXPECT_FALSE(files.ReadWholeFileInto((folder / "missing").string(), buffer));
  EXPECT_FALSE(files.ReadWholeFileInto(folder.string(), buffer));

  const fs::path exact = folder / "exact";
  std::ofstream(exact, std::ios::binary) << std::string(4096, 'y');
  EXPECT_TRUE(files.ReadWholeFileInto(exact.string(), buffer));
  EXPECT_EQ(buffer, std::vector<std::uint8_t>(4096, 'y'));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
