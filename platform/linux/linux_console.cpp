#include <cstdio>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {

void LinuxConsole::Write(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

void LinuxConsole::Flush() { std::fflush(stdout); }

int LinuxConsole::ReadChar() {
  const int c = std::getchar();
  return c == EOF ? -1 : c;
}

}  // namespace tolvaren::platform::linux_backend
