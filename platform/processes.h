#pragma once

#include <cstdint>
#include <string>

namespace tolvaren::platform {

enum RunOutcome : std::uint8_t { roNotStarted, roEnded, roTimedOut };

inline constexpr std::uint32_t kWaitInfinite = 0xFFFFFFFF;

// Starts programs for the tool.
class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;

  // Runs a command line in a new, hidden console as the root of a new process
  // group and waits for it up to `waitMilliseconds` (kWaitInfinite: for as
  // long as it runs). Its exit code is not reported.
  virtual RunOutcome RunHidden(const std::string& commandLine, std::uint32_t waitMilliseconds) = 0;
};

}  // namespace tolvaren::platform
