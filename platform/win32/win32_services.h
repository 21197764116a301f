#pragma once

#include "platform/platform.h"
#include "platform/stdio_console.h"

namespace tolvaren::platform::win32_backend {

class Win32Console final : public StdioConsole {
 public:
  Win32Console();  // switches standard output to binary mode
  bool InputIsInteractive() override;
  std::string_view LineEnd() const override { return "\r\n"; }
};

class Win32Clock final : public Clock {
 public:
  DateTime LocalNow() override;
  DateTime UtcNow() override;
};

class Win32SystemInfo final : public SystemInfo {
 public:
  VersionRecord QueryVersion() override;
  std::string NetBiosName() override;
  std::string ComputerName() override;
  std::string UserName() override;
  std::uint32_t TickCount() override;
  KeyboardState KeyboardStates() override;
};

class Win32NameStore final : public NameStore {
 public:
  NameWriteResult WriteComputerName(const std::string& name) override;
  std::vector<NameProblem> NameProblems(const std::string& name) override;
  // The DNS host name TCP/IP takes at the next start ("NV Hostname"), else the
  // current one ("Hostname").
  std::string StaticName() override;
};

class Win32Environment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override;
};

// Reads the BIOS area where the system maps it into the process.
// On the NT platform it binds ZwOpenSection and ZwClose of NTDLL.DLL once,
// when the backend is created at start-up.
class Win32Firmware final : public Firmware {
 public:
  Win32Firmware();
  FirmwareFamily Family() const override { return ffWindows; }
  std::size_t ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) override;
  SectionRead ReadPhysicalMemorySection(std::uint32_t address, std::uint8_t* buffer, std::size_t size) override;
  std::optional<std::vector<std::uint8_t>> ReadFirmwareTable(std::uint32_t provider) override;
};

class Win32Locale final : public Locale {
 public:
  std::string DecimalSeparator() override;
};

}  // namespace tolvaren::platform::win32_backend
