#include "platform/terminal_session.h"

#include <cstdlib>

namespace quillon::platform {

std::string terminalSessionId() {
  const char* value = std::getenv(kTerminalSessionVariable.data());
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace quillon::platform
