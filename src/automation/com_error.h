// ComError: the one exception type of the library. It carries an error number and a description,
// the way the platform's run-time errors do; trapping members turn it into their ErrMsg texts.
//
// The runtime's standard errors come from the named factories below, so that every place raising
// one gives the number and the text the platform gives it: `throw ComError::typeMismatch();`.
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

  // The runtime's standard errors.
  static ComError invalidProcedureCall();  // 5 "Invalid procedure call or argument"
  static ComError overflow();              // 6 "Overflow"
  static ComError outOfMemory();           // 7 "Out of memory"
  static ComError subscriptOutOfRange();   // 9 "Subscript out of range"
  static ComError typeMismatch();          // 13 "Type mismatch"
  static ComError objectNotSet();          // 91 "Object variable or With block variable not set"
  static ComError invalidUseOfNull();      // 94 "Invalid use of Null"
  static ComError invalidPropertyValue();  // 380 "Invalid property value"
  static ComError invalidPropertyArrayIndex();  // 381 "Invalid property array index"
  static ComError objectRequired();             // 424 "Object required"
  static ComError cantCreateObject();           // 429 "ActiveX component can't create object"
  static ComError memberNotFound();             // 438 "Object doesn't support this property ..."
  static ComError argumentNotOptional();        // 449 "Argument not optional"
  static ComError wrongNumberOfArguments();     // 450 "Wrong number of arguments or invalid ..."
  static ComError keyAlreadyExists();           // 457 "This key is already associated ..."
  // The common controls' collection errors (list items, toolbar buttons, tree nodes, images).
  static ComError indexOutOfBounds();  // 35600 "Index out of bounds"
  static ComError elementNotFound();   // 35601 "Element not found"
  static ComError keyNotUnique();      // 35602 "Key is not unique in collection"

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
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kInvalidPropertyValue = 380;
inline constexpr std::int32_t kInvalidPropertyArrayIndex = 381;
inline constexpr std::int32_t kIndexOutOfBounds = 35600;
inline constexpr std::int32_t kElementNotFound = 35601;
inline constexpr std::int32_t kKeyNotUnique = 35602;
}  // namespace err

}  // namespace quillon::automation
