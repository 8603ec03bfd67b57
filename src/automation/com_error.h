// ComError: the one exception type of the library. It carries an error number and a description,
// the way the platform's run-time errors do; trapping members turn it into their ErrMsg texts.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillon::automation {

class ComError : public std::runtime_error {
 public:
  ComError(std::int32_t number, std::string description, std::string source = {})
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        source_(std::move(source)) {}

  std::int32_t number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

 private:
  std::int32_t number_;
  std::string description_;
  std::string source_;
};

// Well-known run-time error numbers.
namespace err {
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kObjectRequired = 424;
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kInvalidUseOfNull = 94;
inline constexpr std::int32_t kObjectVariableNotSet = 91;
inline constexpr std::int32_t kCantCreateObject = 429;
inline constexpr std::int32_t kMemberNotFound = 438;
inline constexpr std::int32_t kArgumentNotOptional = 449;
inline constexpr std::int32_t kWrongNumberOfArguments = 450;
inline constexpr std::int32_t kKeyAlreadyExists = 457;
}  // namespace err

}  // namespace quillon::automation
