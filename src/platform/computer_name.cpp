#include "platform/computer_name.h"

#include <unistd.h>

#include <array>

namespace quillon::platform {

std::string computerNameFromBuffer(std::string_view buffer) {
  buffer = buffer.substr(0, buffer.find('\0'));
  return std::string(buffer.substr(0, kMaxComputerName));
}

std::string computerName() {
  // One byte more than the longest name, so a name that gethostname had to cut is still
  // NUL-terminated in the buffer.
  std::array<char, kMaxComputerName + 1> buffer{};
  if (::gethostname(buffer.data(), buffer.size() - 1) != 0) return {};
  return computerNameFromBuffer(std::string_view(buffer.data(), buffer.size()));
}

}  // namespace quillon::platform
