#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/host_name_rules.h"
#include "platform/linux/cloud_config.h"
#include "platform/linux/file_replace.h"
#include "platform/linux/hosts_file.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

constexpr std::size_t kHostnameFileLimit = 4096;
constexpr std::size_t kConfigFileLimit = 1024 * 1024;

std::string RunningHostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

// The first line of a hostname file that holds a name, without blanks around
// it; lines of blanks and "#" comments are skipped, as systemd does.
std::string NameOfHostnameFile(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') {
      return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
    }
    start = end + 1;
  }
  return {};
}

// The *.cfg files of a folder, sorted by name as cloud-init reads them.
std::vector<std::string> ConfigFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return names;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".cfg") == 0) names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<NameProblem> LinuxNameStore::NameProblems(const std::string& name) { return LinuxHostNameProblems(name); }

std::string LinuxNameStore::StaticName() {
  std::string text;
  if (ReadSmallRegularFile(path_, kHostnameFileLimit, text) != 0) return {};
  return NameOfHostnameFile(text);
}

NameWriteResult LinuxNameStore::WriteComputerName(const std::string& name) {
  if (const std::vector<NameProblem> problems = NameProblems(name); !problems.empty()) {
    return {false, EINVAL, {}, ProblemLines(problems)};
  }
  // The names the machine had: the next boot's and the running one.
  const std::vector<std::string> oldNames = {StaticName(), RunningHostName()};

  RemoveLeftoverTemporaries(path_);
  const int error = ReplaceFileKeepingAttributes(path_, name + "\n");
  if (error != 0) return {false, static_cast<std::uint32_t>(error), {}, {}};

  NameWriteResult result{true, 0, {}, {}};
  if (auto warning = RenameInHosts(oldNames, name)) result.warnings.push_back(std::move(*warning));
  if (auto warning = CloudInitWarning()) result.warnings.push_back(std::move(*warning));
  return result;
}

std::optional<std::string> LinuxNameStore::RenameInHosts(const std::vector<std::string>& oldNames,
                                                         const std::string& name) {
  RemoveLeftoverTemporaries(hostsPath_);
  std::string text;
  int error = ReadSmallRegularFile(hostsPath_, kConfigFileLimit, text);
  if (error == ENOENT) return std::nullopt;  // no hosts file: nothing names the old name
  if (error == 0) {
    const std::optional<std::string> renamed = RenameInHostsFile(text, oldNames, name);
    if (!renamed) return std::nullopt;
    error = ReplaceFileKeepingAttributes(hostsPath_, *renamed);
    if (error == 0) return std::nullopt;
  }
  return hostsPath_ + " was not updated (" + std::strerror(error) + "), so its loopback lines still name the old name";
}

std::optional<std::string> LinuxNameStore::CloudInitWarning() {
  const std::string mainFile = cloudFolder_ + "/cloud.cfg";
  std::vector<std::string> texts(1);
  // cloud-init runs only where its main configuration file is.
  if (ReadSmallRegularFile(mainFile, kConfigFileLimit, texts[0]) == ENOENT) return std::nullopt;
  const std::string dropIns = cloudFolder_ + "/cloud.cfg.d";
  for (const std::string& file : ConfigFilesIn(dropIns)) {
    std::string text;
    if (ReadSmallRegularFile(dropIns + "/" + file, kConfigFileLimit, text) == 0) texts.push_back(std::move(text));
  }
  if (CloudInitPreservesHostname(texts)) return std::nullopt;
  return "cloud-init may set the old name again at the next boot; to keep the new one, set \"preserve_hostname: "
         "true\" in " +
         mainFile + " or in a file of " + dropIns + "/";
}

}  // namespace tolvaren::platform::linux_backend
