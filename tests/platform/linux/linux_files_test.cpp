#include "platform/linux/linux_files.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

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

// Only regular files are read, /proc's size-0 files to their end; anything
// else is refused before a byte is read (a FIFO without a writer would hold
// the open, /dev/zero would never end) with the reason the message shows.
TEST(LinuxFiles, OnlyRegularFilesAreRead) {
  fs::path folder = fs::temp_directory_path() / "tolvaren-kinds-";
  folder += std::to_string(getpid());
  fs::create_directories(folder);
  const std::string fifo = (folder / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = (folder / "socket").string();
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socketPath.c_str());
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  fs::create_symlink(folder / "loop-b", folder / "loop-a");
  fs::create_symlink(folder / "loop-a", folder / "loop-b");

  const struct {
    std::string path;
    const char* reason;
  } cases[] = {
      {fifo, "it is a FIFO, not a file"},
      {socketPath, "it is a socket, not a file"},
      {"/dev/zero", "it is a character device, not a file"},
      {folder.string(), "Is a directory"},
      {(folder / "missing").string(), "No such file or directory"},
      {(folder / "loop-a").string(), "Too many levels of symbolic links"},
      {(folder / std::string(5000, 'n')).string(), "File name too long"},
  };
  LinuxFileSystem files;
  std::vector<std::uint8_t> buffer(4);
  for (const auto& c : cases) {
    std::string reason;
    EXPECT_FALSE(files.ReadRegularFile(c.path, 100, reason)) << c.reason;
    EXPECT_EQ(reason, c.reason);
    EXPECT_FALSE(files.ReadWholeFileInto(c.path, buffer)) << c.reason;
  }
  std::string reason;
  const auto status = files.ReadRegularFile("/proc/self/status", 1 << 20, reason);
  ASSERT_TRUE(status);
  EXPECT_NE(std::string(status->begin(), status->end()).find("Name:"), std::string::npos);
  close(listener);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
