#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

namespace fs = std::filesystem;

class LinuxNameStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("tolvaren-name-store-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    path = folder / "hostname";
    std::ofstream(path) << "oldname\n";
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Content() const {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  fs::path folder;
  fs::path path;
};

TEST_F(LinuxNameStoreTest, ReplacesTheFileWithTheNewName) {
  LinuxNameStore store(path.string());
  const NameWriteResult result = store.WriteComputerName("jupiter");
  EXPECT_TRUE(result.accepted);
  EXPECT_EQ(Content(), "jupiter\n");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  // Only the file itself is left: no temporary file stays behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(LinuxNameStoreTest, InvalidNamesAreRefusedWithEinvalAndChangeNothing) {
  LinuxNameStore store(path.string());
  for (const std::string& name : std::vector<std::string>{"", "bad_name", "a.b", "-x", std::string(64, 'a')}) {
    const NameWriteResult result = store.WriteComputerName(name);
    EXPECT_FALSE(result.accepted) << name;
    EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(EINVAL));
  }
  EXPECT_EQ(Content(), "oldname\n");
}

TEST_F(LinuxNameStoreTest, AFolderThatCannotBeWrittenReportsTheErrno) {
  LinuxNameStore store((folder / "missing" / "hostname").string());
  const NameWriteResult result = store.WriteComputerName("jupiter");
  EXPECT_FALSE(result.accepted);
  EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(ENOENT));
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
