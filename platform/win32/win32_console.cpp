#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/win32/win32_services.h"

namespace tolvaren::platform::win32_backend {

// Binary mode: the tool writes its own CR LF, and text mode would turn a CR LF
// inside a message into CR CR LF.
Win32Console::Win32Console() { _setmode(_fileno(stdout), _O_BINARY); }

void Win32Console::Write(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

void Win32Console::Flush() { std::fflush(stdout); }

int Win32Console::ReadChar() {
  const int c = std::getchar();
  return c == EOF ? -1 : c;
}

}  // namespace tolvaren::platform::win32_backend
