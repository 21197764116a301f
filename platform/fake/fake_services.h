#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tolvaren::platform::fake {

// Captures output and plays a scripted standard input.
class FakeConsole final : public Console {
 public:
  void Write(std::string_view bytes) override { output += bytes; }
  void Flush() override { ++flushes; }
  int ReadChar() override;
  bool InputIsInteractive() override { return inputIsInteractive; }
  std::optional<std::string> FinishOutput() override { return outputError; }
  void WriteErrorLine(std::string_view text) override { errorOutput.append(text).append("\n"); }
  std::string_view LineEnd() const override { return lineEnd; }

  std::string output;
  std::string errorOutput;
  bool inputIsInteractive = false;
  // What FinishOutput reports: a write failure's reason, or nothing.
  std::optional<std::string> outputError;
  std::string input;  // what standard input holds; reads past it give -1
  std::size_t inputPosition = 0;
  int flushes = 0;
  // The output written before the first read of standard input, or all of it
  // when nothing was read.
  std::string outputBeforeFirstRead;
  bool readHappened = false;
  std::string lineEnd = "\n";
};

class FakeClock final : public Clock {
 public:
  DateTime LocalNow() override { return local; }
  DateTime UtcNow() override { return utc; }

  DateTime local{2007, 3, 5, 10, 20, 30, 400};
  DateTime utc{2007, 3, 5, 9, 20, 30, 400};
};

class FakeSystemInfo final : public SystemInfo {
 public:
  VersionRecord QueryVersion() override { return version; }
  std::string NetBiosName() override {
    ++netBiosReads;
    return netBiosName;
  }
  std::string ComputerName() override { return computerName; }
  std::string UserName() override { return userName; }
  std::uint32_t TickCount() override { return tickCount; }
  KeyboardState KeyboardStates() override { return keyboard; }

  VersionRecord version{};  // all zeros: like a failed query
  std::string netBiosName = "FAKEPC";
  std::string computerName = "FAKEPC";
  std::string userName = "tester";
  std::uint32_t tickCount = 0;
  KeyboardState keyboard{};
  int netBiosReads = 0;
};

class FakeNameStore final : public NameStore {
 public:
  NameWriteResult WriteComputerName(const std::string& name) override {
    written.push_back(name);
    return accept ? NameWriteResult{true, 0, warnings, {}} : NameWriteResult{false, errorCode, {}, reasons};
  }
  std::vector<NameProblem> NameProblems(const std::string&) override { return problems; }
  std::string StaticName() override { return staticName; }

  bool accept = true;
  std::uint32_t errorCode = 0;
  std::vector<std::string> warnings;  // given with every accepted write
  std::vector<std::string> reasons;   // given with every refused write
  std::vector<NameProblem> problems;  // given for every name
  std::string staticName = "fakepc";
  std::vector<std::string> written;  // every name handed to the platform
};

class FakeEnvironment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) override {
    const auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }

  std::map<std::string, std::string> variables;
};

// Plays the BIOS area as a process would see it mapped: `mappedArea` holds the
// readable bytes from `mappedBase` on; everything else cannot be read.
class FakeFirmware final : public Firmware {
 public:
  std::size_t ReadMappedBiosArea(std::uint32_t address, std::uint8_t* buffer, std::size_t size) override {
    std::size_t copied = 0;
    while (copied < size) {
      const std::uint64_t at = static_cast<std::uint64_t>(address) + copied;
      if (at < mappedBase || at - mappedBase >= mappedArea.size()) break;
      buffer[copied++] = mappedArea[at - mappedBase];
    }
    return copied;
  }

  FirmwareFamily Family() const override { return family; }

  SectionRead ReadPhysicalMemorySection(std::uint32_t address, std::uint8_t* buffer, std::size_t size) override {
    ++sectionOpens;
    if (sectionStatus != 0) return {SectionRead::srRefused, sectionStatus};
    if (!sectionMaps) return {SectionRead::srNoView, 0};
    for (std::size_t i = 0; i < size; ++i) {
      const std::uint64_t at = static_cast<std::uint64_t>(address) + i - 0xE0000;
      buffer[i] = at < physicalArea.size() ? physicalArea[at] : 0;
    }
    return {SectionRead::srCopied, 0};
  }

  std::optional<std::vector<std::uint8_t>> ReadFirmwareTable(std::uint32_t provider) override {
    ++firmwareTableReads;
    if (provider != kRawSmbiosProvider) return std::nullopt;
    return rawSmbios;
  }

  std::uint32_t mappedBase = 0xE0000;
  std::vector<std::uint8_t> mappedArea;  // empty: nothing is mapped

  FirmwareFamily family = ffWindows;
  std::uint32_t sectionStatus = 0xC0000022;  // access denied, as for a user
  bool sectionMaps = true;
  std::vector<std::uint8_t> physicalArea;              // physical 0xE0000 on, as the section shows it
  std::optional<std::vector<std::uint8_t>> rawSmbios;  // what 'RSMB' returns
  int sectionOpens = 0;
  int firmwareTableReads = 0;
};

class FakeLocale final : public Locale {
 public:
  std::string DecimalSeparator() override { return decimalSeparator; }

  std::string decimalSeparator = ".";
};

}  // namespace tolvaren::platform::fake
