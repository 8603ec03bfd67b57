// Error numbers the suite's components raise, in the range components use for their own errors
// (vbObjectError + n), so a host can tell them from run-time and database errors.
#pragma once

#include <cstdint>
#include <string>

#include "automation/com_error.h"

namespace quillon::components::suite {

inline constexpr std::int32_t kObjectError = -2147221504;  // vbObjectError

inline constexpr std::int32_t kErrDatabaseMissing = kObjectError + 1001;
inline constexpr std::int32_t kErrNotAccountDatabase = kObjectError + 1002;
inline constexpr std::int32_t kErrUnknownUser = kObjectError + 1003;
inline constexpr std::int32_t kErrUserDisabled = kObjectError + 1004;
inline constexpr std::int32_t kErrNotLoggedIn = kObjectError + 1005;
inline constexpr std::int32_t kErrNoSession = kObjectError + 1006;
inline constexpr std::int32_t kErrUnknownObjectKind = kObjectError + 1007;
inline constexpr std::int32_t kErrUnknownSetting = kObjectError + 1008;
inline constexpr std::int32_t kErrBadUnit = kObjectError + 1009;
inline constexpr std::int32_t kErrBadArgument = kObjectError + 1010;

[[noreturn]] inline void raise(std::int32_t number, std::string text) {
  throw automation::ComError(number, std::move(text), "Quillon.Suite");
}

}  // namespace quillon::components::suite
