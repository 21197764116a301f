#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {

// Binary mode: the tool writes its own CR LF, and text mode would turn a CR LF
// inside a message into CR CR LF.
Win32Console::Win32Console() { _setmode(_fileno(stdout), _O_BINARY); }

void Win32Console::Write(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() && outputError_ == 0) outputError_ = errno;
}

void Win32Console::Flush() {
  if (std::fflush(stdout) != 0 && outputError_ == 0) outputError_ = errno;
}

int Win32Console::ReadChar() {
  const int c = std::getchar();
  return c == EOF ? -1 : c;
}

// GetConsoleMode succeeds only for a console handle; a pipe, a file or NUL
// given as standard input fails it.
bool Win32Console::InputIsInteractive() {
  DWORD mode = 0;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  return input != nullptr && input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode) != 0;
}

std::optional<std::string> Win32Console::FinishOutput() {
  Flush();
  if (outputError_ == 0 && std::ferror(stdout)) outputError_ = EIO;
  if (outputError_ == 0) return std::nullopt;
  return std::string(std::strerror(outputError_));
}

void Win32Console::WriteErrorLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputs("\r\n", stderr);
  std::fflush(stderr);
}

}  // namespace tolvaren::platform::win32_backend
