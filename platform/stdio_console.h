#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/console.h"

namespace tolvaren::platform {

// The console over C's standard streams, the same on every system: it keeps
// the first failed write of standard output so that FinishOutput can say
// that something printed never arrived. Backends add what differs: how a
// person at the input is recognised and the line end.
class StdioConsole : public Console {
 public:
  void Write(std::string_view bytes) override;
  void Flush() override;
  int ReadChar() override;
  std::optional<std::string> FinishOutput() override;
  void WriteErrorLine(std::string_view text) override;

 protected:
  // Records `error` (an errno) unless an earlier failure is already held.
  void NoteOutputError(int error) {
    if (outputError_ == 0) outputError_ = error;
  }

 private:
  // The errno of the first failed write of standard output, 0 while none.
  int outputError_ = 0;
};

}  // namespace tolvaren::platform
