#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <functional>
#include <string>

#include "platform/host_name_rules.h"
#include "platform/linux/cloud_config.h"
#include "platform/linux/file_replace.h"
#include "platform/linux/hostname_file.h"
#include "platform/linux/hosts_file.h"
#include "platform/linux/linux_files.h"
#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

// Each configuration file is read whole up to this size, the hostname file
// too, so that a long comment block does not hide its name.
constexpr std::size_t kConfigFileLimit = 1024 * 1024;
// cloud-init's files are read one at a time and together up to this much.
constexpr std::size_t kCloudConfigTotalLimit = 8 * kConfigFileLimit;
constexpr std::size_t kMaxDropIns = 4096;

std::string RunningHostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 || errno != ENOENT;
}

// The *.cfg files of a folder, sorted by name as cloud-init reads them; false
// when there are more than kMaxDropIns.
bool ConfigFilesIn(const std::string& folder, std::vector<std::string>& names) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return true;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= 4 || name.substr(name.size() - 4) != ".cfg") continue;
    if (names.size() == kMaxDropIns) {
      closedir(dir);
      return false;
    }
    names.emplace_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return true;
}

// Runs a step after the name is written: its warning, or one saying it
// could not be finished, but never a failure of the run.
void AddWarningOf(NameWriteResult& result, const std::string& what,
                  const std::function<std::optional<std::string>()>& step) {
  try {
    if (std::optional<std::string> warning = step()) result.warnings.push_back(std::move(*warning));
  } catch (const std::exception& e) {
    try {
      result.warnings.push_back(what + " could not be finished after the name was written (" + e.what() + ")");
    } catch (...) {
    }
  }
}

}  // namespace

std::vector<NameProblem> LinuxNameStore::NameProblems(const std::string& name) { return LinuxHostNameProblems(name); }

std::string LinuxNameStore::StaticName() {
  std::string text;
  if (ReadSmallRegularFile(path_, kConfigFileLimit, text) != 0) return {};
  return NameOfHostnameFile(text);
}

NameWriteResult LinuxNameStore::WriteComputerName(const std::string& name) {
  if (const std::vector<NameProblem> problems = NameProblems(name); !problems.empty()) {
    return {false, EINVAL, {}, ProblemLines(problems)};
  }
  NameWriteResult result;
  {
    const FolderLock lock(FolderOf(path_));
    // The names the machine had: the next boot's and the running one. The
    // comments of the hostname file stay; one too large to read whole is
    // replaced by the name alone.
    std::string text;
    if (ReadSmallRegularFile(path_, kConfigFileLimit, text) != 0) text.clear();
    const std::vector<std::string> oldNames = {NameOfHostnameFile(text), RunningHostName()};

    RemoveLeftoverTemporaries(path_);
    std::string reason;
    const int error = ReplaceFileKeepingAttributes(path_, HostnameFileWithName(text, name), reason);
    if (error != 0) return {false, static_cast<std::uint32_t>(error), {}, {path_ + ": " + reason}};
    result.accepted = true;
    AddWarningOf(result, hostsPath_, [&] { return RenameInHosts(oldNames, name); });
  }
  AddWarningOf(result, "The cloud-init check", [&] { return CloudInitWarning(); });
  return result;
}

std::optional<std::string> LinuxNameStore::RenameInHosts(const std::vector<std::string>& oldNames,
                                                         const std::string& name) {
  RemoveLeftoverTemporaries(hostsPath_);
  std::string text;
  std::string reason;
  int error = ReadSmallRegularFile(hostsPath_, kConfigFileLimit, text, reason);
  if (error == ENOENT && !Exists(hostsPath_)) return std::nullopt;  // no hosts file: nothing names the old name
  if (error == 0) {
    const std::optional<std::string> renamed = RenameInHostsFile(text, oldNames, name);
    if (!renamed) return std::nullopt;
    error = ReplaceFileKeepingAttributes(hostsPath_, *renamed, reason);
    if (error == 0) return std::nullopt;
  }
  return hostsPath_ + " was not updated (" + reason + "), so its loopback lines still name the old name";
}

std::optional<std::string> LinuxNameStore::CloudInitWarning() {
  const std::string mainFile = cloudFolder_ + "/cloud.cfg";
  const std::string dropIns = cloudFolder_ + "/cloud.cfg.d";
  // cloud-init runs only where its main configuration file is, and not once
  // it has been disabled.
  if (!Exists(mainFile) || Exists(cloudFolder_ + "/cloud-init.disabled")) return std::nullopt;
  const std::string keep = "set \"preserve_hostname: true\" in " + mainFile + " or in a file of " + dropIns + "/";

  CloudInitSettings settings;
  std::optional<std::string> doubt;
  std::size_t budget = kCloudConfigTotalLimit;
  const auto read = [&](const std::string& file) {
    if (doubt || (file != mainFile && !Exists(file))) return;
    const std::size_t limit = std::min(kConfigFileLimit, budget);
    std::string text;
    std::string reason;
    if (const int error = ReadSmallRegularFile(file, limit, text, reason); error != 0) {
      if (error == EFBIG && limit < kConfigFileLimit) {
        reason = "the files together are larger than " + std::to_string(kCloudConfigTotalLimit) + " bytes";
      }
      doubt = file + ": " + reason;
      return;
    }
    budget -= text.size();
    if (auto why = ReadCloudConfig(text, settings)) doubt = file + ": " + *why;
  };
  read(mainFile);
  std::vector<std::string> files;
  if (!ConfigFilesIn(dropIns, files))
    doubt = dropIns + ": it holds more than " + std::to_string(kMaxDropIns) + " files";
  for (const std::string& file : files) read(dropIns + "/" + file);

  if (doubt) {
    return "cloud-init's configuration could not be read with certainty (" + *doubt +
           "), so it cannot be told whether cloud-init sets the old name again at the next boot or rewrites " +
           hostsPath_ + "; to keep the new name, " + keep;
  }
  const std::string hosts = "rewrites " + hostsPath_ + " at every boot (\"manage_etc_hosts\" is set)";
  if (!settings.preservesHostname) {
    return "cloud-init may set the old name again at the next boot" +
           (settings.rewritesEtcHosts ? " and " + hosts : std::string()) + "; to keep the new one, " + keep;
  }
  if (settings.rewritesEtcHosts) return "cloud-init " + hosts + ", so that file may not keep the new name";
  return std::nullopt;
}

}  // namespace tolvaren::platform::linux_backend
