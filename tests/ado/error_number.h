// The error number a data-access call raises, for tests that compare it with the documented one.
#pragma once

#include <cstdint>
#include <functional>

#include "automation/com_error.h"

namespace quillon::ado::testing {

// The number of the ComError `f` raises; 0 when it raises none.
inline std::int32_t errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const automation::ComError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace quillon::ado::testing
