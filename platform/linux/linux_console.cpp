#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {

// A standard stream that was closed when the program started leaves its
// descriptor free, and the next file the tool opens would take it: a rename
// could then write its messages into the new /etc/hostname. /dev/null holds
// each such place; writes to a closed standard output are still reported as
// failed, since nothing the tool printed reached anyone.
LinuxConsole::LinuxConsole() {
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int holder = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (holder >= 0 && holder != fd) close(holder);  // another descriptor was free first
    if (fd == STDOUT_FILENO) outputError_ = EBADF;
  }
}

void LinuxConsole::Write(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() && outputError_ == 0) outputError_ = errno;
}

void LinuxConsole::Flush() {
  if (std::fflush(stdout) != 0 && outputError_ == 0) outputError_ = errno;
}

int LinuxConsole::ReadChar() {
  const int c = std::getchar();
  return c == EOF ? -1 : c;
}

bool LinuxConsole::InputIsInteractive() { return isatty(STDIN_FILENO) == 1; }

std::optional<std::string> LinuxConsole::FinishOutput() {
  Flush();
  if (outputError_ == 0 && std::ferror(stdout)) outputError_ = EIO;
  if (outputError_ == 0) return std::nullopt;
  return std::string(std::strerror(outputError_));
}

void LinuxConsole::WriteErrorLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

}  // namespace tolvaren::platform::linux_backend
