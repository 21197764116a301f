#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
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

// A refused write gives the system's code and one line naming the file and
// the system's reason; a folder in the way is no invalid name.
TEST_F(LinuxNameStoreTest, ARefusedWriteSaysWhichFileAndWhy) {
  struct Case {
    const char* what;
    fs::path path;
    std::function<void()> setUp;
    int error;
    std::string reason;
  };
  const Case cases[] = {
      {"no folder", folder / "missing" / "hostname", [] {}, ENOENT, "No such file or directory"},
      {"a folder", path, [&] { fs::remove(path), fs::create_directory(path); }, EISDIR, "Is a directory"},
      {"a FIFO", path, [&] { fs::remove(path), mkfifo(path.c_str(), 0644); }, ENOTSUP, "it is a FIFO, not a file"},
  };
  for (const Case& c : cases) {
    SetUp();
    c.setUp();
    const NameWriteResult result =
        LinuxNameStore(c.path.string(), (folder / "hosts").string()).WriteComputerName("jupiter");
    EXPECT_FALSE(result.accepted) << c.what;
    EXPECT_EQ(result.errorCode, static_cast<std::uint32_t>(c.error)) << c.what;
    EXPECT_EQ(result.reasons, std::vector<std::string>{c.path.string() + ": " + c.reason}) << c.what;
  }
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
    std::vector<std::pair<std::string, std::string>> cloudFiles;  // below cloud/
    std::vector<std::string> warnings;
  };
  const std::string cloud = (folder / "cloud").string();
  const std::string keep =
      "set \"preserve_hostname: true\" in " + cloud + "/cloud.cfg or in a file of " + cloud + "/cloud.cfg.d/";
  const std::string cloudWarning =
      "cloud-init may set the old name again at the next boot; to keep the new one, " + keep;
  const std::string hosts = (folder / "hosts").string();
  const std::string rewrites = "rewrites " + hosts + " at every boot (\"manage_etc_hosts\" is set)";
  const auto doubt = [&](const std::string& why) {
    return "cloud-init's configuration could not be read with certainty (" + cloud + why +
           "), so it cannot be told whether cloud-init sets the old name again at the next boot or rewrites " + hosts +
           "; to keep the new name, " + keep;
  };
  const Case cases[] = {
      {"hosts renamed", "127.0.1.1 oldname\n", "127.0.1.1 jupiter\n", {}, {}},
      {"hosts without the name", "127.0.0.1 localhost\n", "127.0.0.1 localhost\n", {}, {}},
      {"no hosts file", "-", "-", {}, {}},
      {"hosts cannot be read",
       "loop",
       "",
       {},
       {hosts + " was not updated (Too many levels of symbolic links), so its loopback lines still name the old name"}},
      {"cloud-init without the setting", "-", "-", {{"cloud.cfg", "users: []\n"}}, {cloudWarning}},
      {"cloud-init keeps the name", "-", "-", {{"cloud.cfg", "preserve_hostname: true\n"}}, {}},
      {"a drop-in keeps the name",
       "-",
       "-",
       {{"cloud.cfg", "preserve_hostname: false\n"}, {"cloud.cfg.d/99-keep.cfg", "preserve_hostname: true\n"}},
       {}},
      {"cloud-init disabled", "-", "-", {{"cloud.cfg", ""}, {"cloud-init.disabled", ""}}, {}},
      {"cloud-init also writes /etc/hosts",
       "-",
       "-",
       {{"cloud.cfg", "manage_etc_hosts: true\n"}},
       {"cloud-init may set the old name again at the next boot and " + rewrites + "; to keep the new one, " + keep}},
      {"cloud-init keeps the name but writes /etc/hosts",
       "-",
       "-",
       {{"cloud.cfg", "preserve_hostname: true\nmanage_etc_hosts: template\n"}},
       {"cloud-init " + rewrites + ", so that file may not keep the new name"}},
      {"a drop-in the check cannot read",
       "-",
       "-",
       {{"cloud.cfg", "preserve_hostname: true\n"}, {"cloud.cfg.d/50-bom.cfg", "\xEF\xBB\xBFusers: []\n"}},
       {doubt("/cloud.cfg.d/50-bom.cfg: it starts with a byte-order mark")}},
      {"a drop-in that is a folder",
       "-",
       "-",
       {{"cloud.cfg", "preserve_hostname: true\n"}, {"cloud.cfg.d/50-dir.cfg/x", ""}},
       {doubt("/cloud.cfg.d/50-dir.cfg: Is a directory")}},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.hosts == "loop") {
      fs::create_symlink("hosts", hosts);
    } else if (c.hosts != "-") {
      Write(hosts, c.hosts);
    }
    for (const auto& [name, text] : c.cloudFiles) Write(folder / "cloud" / name, text);

    LinuxNameStore store(path.string(), hosts, cloud);
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

// cloud-init's files are read one at a time and together only up to a bound:
// past it the check says it could not tell, and the name is written.
TEST_F(LinuxNameStoreTest, CloudInitFilesAreReadWithinABound) {
  Write(folder / "cloud/cloud.cfg", "preserve_hostname: true\n");
  const std::string mebibyte = "users: []\n" + std::string(1024 * 1024 - 11, '#') + "\n";
  for (const char* name : {"50", "51", "52", "53", "54", "55", "56", "57", "58"}) {
    Write(folder / "cloud/cloud.cfg.d" / (std::string(name) + ".cfg"), mebibyte);
  }
  const NameWriteResult result = LinuxNameStore(path.string(), (folder / "hosts").string(), (folder / "cloud").string())
                                     .WriteComputerName("jupiter");
  EXPECT_TRUE(result.accepted);
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("57.cfg: the files together are larger than 8388608 bytes"), std::string::npos)
      << result.warnings[0];
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
