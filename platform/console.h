#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvaren::platform {

// Standard input and output of the process. Every line the tool prints goes
// through WriteLine, so the line end is decided in one place per platform.
class Console {
 public:
  virtual ~Console() = default;

  virtual void Write(std::string_view bytes) = 0;
  virtual void Flush() = 0;
  // One byte from standard input, or -1 at end of input.
  virtual int ReadChar() = 0;
  // Whether a person can answer on standard input: a terminal on Linux, a
  // console on Windows. A script's pipe or file never is.
  virtual bool InputIsInteractive() = 0;
  // Flushes standard output and says whether every byte written so far
  // reached it: nothing when it did, else the system's reason.
  virtual std::optional<std::string> FinishOutput() = 0;
  // A line on standard error, for what cannot be said on standard output.
  virtual void WriteErrorLine(std::string_view text) = 0;
  // "\r\n" on Windows, "\n" on Linux.
  virtual std::string_view LineEnd() const = 0;

  void WriteLine(std::string_view text) {
    Write(text);
    Write(LineEnd());
  }
};

}  // namespace tolvaren::platform
