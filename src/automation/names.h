// Names of members, controls, fields and options match without regard to case, as the platform
// matches them: ASCII letters fold, every other byte (Chinese names included) must be equal.
#pragma once

#include <string_view>

namespace quillon::automation {

inline bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace quillon::automation
