#include "platform/stdio_console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tolvaren::platform {

void StdioConsole::Write(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) NoteOutputError(errno);
}

void StdioConsole::Flush() {
  if (std::fflush(stdout) != 0) NoteOutputError(errno);
}

int StdioConsole::ReadChar() {
  const int c = std::getchar();
  return c == EOF ? -1 : c;
}

std::optional<std::string> StdioConsole::FinishOutput() {
  Flush();
  if (std::ferror(stdout)) NoteOutputError(EIO);
  if (outputError_ == 0) return std::nullopt;
  return std::string(std::strerror(outputError_));
}

void StdioConsole::WriteErrorLine(std::string_view text) {
  const std::string_view end = LineEnd();
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fwrite(end.data(), 1, end.size(), stderr);
  std::fflush(stderr);
}

}  // namespace tolvaren::platform
