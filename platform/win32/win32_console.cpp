#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {

// Binary mode: the tool writes its own CR LF, and text mode would turn a CR LF
// inside a message into CR CR LF.
Win32Console::Win32Console() { _setmode(_fileno(stdout), _O_BINARY); }

// GetConsoleMode succeeds only for a console handle; a pipe, a file or NUL
// given as standard input fails it.
bool Win32Console::InputIsInteractive() {
  DWORD mode = 0;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  return input != nullptr && input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode) != 0;
}

}  // namespace tolvaren::platform::win32_backend
