// The computer name, as the per-workstation work tables are named after it: the host name, at most
// 255 characters, cut at the first NUL.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::platform {

inline constexpr std::size_t kMaxComputerName = 255;

std::string computerName();

// The name a raw buffer holds: up to the first NUL and at most kMaxComputerName bytes.
std::string computerNameFromBuffer(std::string_view buffer);

}  // namespace quillon::platform
