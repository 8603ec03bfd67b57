// The run-time errors of the data-access objects, with the numbers and texts callers test for.
#pragma once

#include <cstdint>
#include <string>

#include "automation/com_error.h"

namespace quillon::ado {

inline constexpr std::int32_t kErrArguments = 3001;
inline constexpr std::int32_t kErrNoCurrentRecord = 3021;
inline constexpr std::int32_t kErrItemNotFound = 3265;
inline constexpr std::int32_t kErrWrongValueType = 3421;
inline constexpr std::int32_t kErrObjectClosed = 3704;
inline constexpr std::int32_t kErrObjectOpen = 3705;
inline constexpr std::int32_t kErrProviderNotFound = 3706;
inline constexpr std::int32_t kErrConnectionInvalid = 3709;
inline constexpr std::int32_t kErrOperationNotAllowed = 3219;
inline constexpr std::int32_t kErrNoTransaction = -2147168242;
inline constexpr std::int32_t kErrProvider = -2147467259;

[[noreturn]] void throwArguments();
[[noreturn]] void throwArguments(const std::string& detail);
[[noreturn]] void throwNoCurrentRecord();
[[noreturn]] void throwItemNotFound();
[[noreturn]] void throwWrongValueType();
[[noreturn]] void throwObjectClosed();
[[noreturn]] void throwObjectOpen();
[[noreturn]] void throwOperationNotAllowed();
[[noreturn]] void throwConnectionInvalid();

}  // namespace quillon::ado
