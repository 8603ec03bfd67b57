// Names of members, controls, fields and options match without regard to case, as the platform
// matches them: ASCII letters fold, every other byte (Chinese names included) must be equal. The
// comparison is the library's one (text_compare.h).
#pragma once

#include <string_view>

#include "automation/text_compare.h"

namespace quillon::automation {

inline bool sameName(std::string_view a, std::string_view b) {
  return equalsNoCase(a, b);
}

}  // namespace quillon::automation
