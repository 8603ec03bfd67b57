#include "platform/bell.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillon::platform {

void TerminalBell::ring() {
  count();
  // O_NOCTTY: ringing must never make a terminal our controlling one; O_NONBLOCK: a stuck
  // terminal must not stall the caller.
  const int fd = ::open("/dev/tty", O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  if (::write(fd, "\a", 1) == 1) ++audible_;
  ::close(fd);
}

}  // namespace quillon::platform
