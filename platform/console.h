#pragma once

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
  // "\r\n" on Windows, "\n" on Linux.
  virtual std::string_view LineEnd() const = 0;

  void WriteLine(std::string_view text) {
    Write(text);
    Write(LineEnd());
  }
};

}  // namespace tolvaren::platform
