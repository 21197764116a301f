#pragma once

#include <string>

#include "platform/platform.h"

namespace tolvaren::platform::linux_backend {

class LinuxConsole final : public Console {
 public:
  LinuxConsole();  // holds the places of closed standard streams
  void Write(std::string_view bytes) override;
  void Flush() override;
  int ReadChar() override;
  bool InputIsInteractive() override;
  std::optional<std::string> FinishOutput() override;
  void WriteErrorLine(std::string_view text) override;
  std::string_view LineEnd() const override { return "\n"; }

 private:
  // The errno of the first failed write of standard output, 0 while none.
  int outputError_ = 0;
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

// Sets the static host name, kept in /etc/hostname and used from the next boot.
class LinuxNameStore final : public NameStore {
 public:
  explicit LinuxNameStore(std::string path = "/etc/hostname") : path_(std::move(path)) {}
  NameWriteResult WriteComputerName(const std::string& name) override;

 private:
  std::string path_;
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
