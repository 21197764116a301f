#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/stdio_console.h"

namespace tolvaren::platform::linux_backend {

class LinuxConsole final : public StdioConsole {
 public:
  LinuxConsole();  // holds the places of closed standard streams
  bool InputIsInteractive() override;
  std::string_view LineEnd() const override { return "\n"; }
};

class LinuxClock final : public Clock {
 public:
  DateTime LocalNow() override;
  DateTime UtcNow() override;
};

class LinuxSystemInfo final : public SystemInfo {
 public:
  VersionRecord QueryVersion() override { return {}; }  // Linux has none
  std::string NetBiosName() override;
  std::string ComputerName() override;
  std::string UserName() override;
  std::uint32_t TickCount() override;
  KeyboardState KeyboardStates() override { return {}; }  // locks read as off
};

// Sets the static host name, kept in /etc/hostname and used from the next boot,
// and renames the machine in the loopback lines of /etc/hosts. One writer at
// a time: a run holds a lock on the folder of /etc/hostname from reading the
// old names until both files are written. Once /etc/hostname is written the
// name is accepted; what fails after that is a warning. The paths are
// parameters so that tests can point them elsewhere.
class LinuxNameStore final : public NameStore {
 public:
  explicit LinuxNameStore(std::string path = "/etc/hostname", std::string hostsPath = "/etc/hosts",
                          std::string cloudFolder = "/etc/cloud")
      : path_(std::move(path)), hostsPath_(std::move(hostsPath)), cloudFolder_(std::move(cloudFolder)) {}
  NameWriteResult WriteComputerName(const std::string& name) override;
  std::vector<NameProblem> NameProblems(const std::string& name) override;
  std::string StaticName() override;

 private:
  // A warning when /etc/hosts should have changed and could not.
  std::optional<std::string> RenameInHosts(const std::vector<std::string>& oldNames, const std::string& name);
  // A warning when cloud-init is set up to put its own name back at boot or
  // to rewrite /etc/hosts, or when its configuration cannot tell.
  std::optional<std::string> CloudInitWarning();

  std::string path_;
  std::string hostsPath_;
  std::string cloudFolder_;
};

class LinuxEnvironment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override;
};

// Reads the BIOS area through /dev/mem where the kernel allows it.
// The SMBIOS tables themselves are read from sysfs through the file system.
class LinuxFirmware final : public Firmware {
 public:
  FirmwareFamily Family() const override { return ffLinux; }
  std::size_t ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) override;
  // Linux has no physical-memory section object and no firmware-table call.
  SectionRead ReadPhysicalMemorySection(std::uint32_t, std::uint8_t*, std::size_t) override {
    return {SectionRead::srRefused, 0xC0000034};
  }
  std::optional<std::vector<std::uint8_t>> ReadFirmwareTable(std::uint32_t) override { return std::nullopt; }
};

class LinuxLocale final : public Locale {
 public:
  std::string DecimalSeparator() override;
};

}  // namespace tolvaren::platform::linux_backend
