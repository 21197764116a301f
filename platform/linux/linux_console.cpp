#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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
    if (fd == STDOUT_FILENO) NoteOutputError(EBADF);
  }
}

bool LinuxConsole::InputIsInteractive() { return isatty(STDIN_FILENO) == 1; }

}  // namespace tolvaren::platform::linux_backend
