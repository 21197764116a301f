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

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Write(const fs::path& file, const std::string& text) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

// A link is followed: the file it names gets the name, keeps its mode and the
// link stays; temporary files a killed run left beside it are removed.
TEST_F(LinuxNameStoreTest, ReplacesTheLinkTargetKeepingItsModeAndRemovesLeftovers) {
  const fs::path target = folder / "real" / "hostname";
  Write(target, "oldname\n");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  Write(folder / "real" / "hostname.tolvaren-a1B2c3", "half");
  Write(folder / "real" / "hostname.tolvaren-keep", "not ours");
  fs::remove(path);
  fs::create_symlink("real/hostname", path);

  EXPECT_TRUE(LinuxNameStore(path.string(), (folder / "hosts").string()).WriteComputerName("jupiter").accepted);
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(Read(target), "jupiter\n");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(folder / "real" / "hostname.tolvaren-a1B2c3"));
  EXPECT_TRUE(fs::exists(folder / "real" / "hostname.tolvaren-keep"));
}

// After the name is written: /etc/hosts and cloud-init. Their trouble is a
// warning, never a refused name.
TEST_F(LinuxNameStoreTest, HostsAndCloudInitAfterTheName) {
  struct Case {
    const char* what;
    std::string hosts;  // "-" for no file, "loop" for a link to itself
    std::string hostsAfter;
    std::string cloudCfg;  // "-" for no cloud-init
    std::string dropIn;
    std::vector<std::string> warnings;
  };
  const std::string cloudWarning =
      "cloud-init may set the old name again at the next boot; to keep the new one, set "
      "\"preserve_hostname: true\" in " +
      (folder / "cloud/cloud.cfg").string() + " or in a file of " + (folder / "cloud/cloud.cfg.d").string() + "/";
  const Case cases[] = {
      {"hosts renamed", "127.0.1.1 oldname\n", "127.0.1.1 jupiter\n", "-", "", {}},
      {"hosts without the name", "127.0.0.1 localhost\n", "127.0.0.1 localhost\n", "-", "", {}},
      {"no hosts file", "-", "-", "-", "", {}},
      {"hosts cannot be read",
       "loop",
       "",
       "-",
       "",
       {(folder / "hosts").string() +
        " was not updated (Too many levels of symbolic links), so its loopback lines still name the old "
        "name"}},
      {"cloud-init without the setting", "-", "-", "users: []\n", "", {cloudWarning}},
      {"cloud-init keeps the name", "-", "-", "preserve_hostname: true\n", "", {}},
      {"a drop-in keeps the name", "-", "-", "preserve_hostname: false\n", "preserve_hostname: true\n", {}},
  };
  for (const Case& c : cases) {
    SetUp();
    const fs::path hosts = folder / "hosts";
    if (c.hosts == "loop") {
      fs::create_symlink("hosts", hosts);
    } else if (c.hosts != "-") {
      Write(hosts, c.hosts);
    }
    if (c.cloudCfg != "-") Write(folder / "cloud/cloud.cfg", c.cloudCfg);
    if (!c.dropIn.empty()) Write(folder / "cloud/cloud.cfg.d/99-keep.cfg", c.dropIn);

    LinuxNameStore store(path.string(), hosts.string(), (folder / "cloud").string());
    const NameWriteResult result = store.WriteComputerName("jupiter");
    EXPECT_TRUE(result.accepted) << c.what;
    EXPECT_EQ(Content(), "jupiter\n") << c.what;
    EXPECT_EQ(result.warnings, c.warnings) << c.what;
    if (c.hosts != "-" && c.hosts != "loop") {
      EXPECT_EQ(Read(hosts), c.hostsAfter) << c.what;
    }
    if (c.hosts == "-") {
      EXPECT_FALSE(fs::exists(hosts)) << c.what;
    }
    EXPECT_EQ(store.StaticName(), "jupiter");
  }
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
