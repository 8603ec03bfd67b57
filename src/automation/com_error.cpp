#include "automation/com_error.h"

namespace quillon::automation {

ComError ComError::invalidProcedureCall() {
  return {err::kInvalidProcedureCall, "Invalid procedure call or argument"};
}
ComError ComError::overflow() {
  return {err::kOverflow, "Overflow"};
}
ComError ComError::outOfMemory() {
  return {err::kOutOfMemory, "Out of memory"};
}
ComError ComError::subscriptOutOfRange() {
  return {err::kSubscriptOutOfRange, "Subscript out of range"};
}
ComError ComError::typeMismatch() {
  return {err::kTypeMismatch, "Type mismatch"};
}
ComError ComError::objectNotSet() {
  return {err::kObjectVariableNotSet, "Object variable or With block variable not set"};
}
ComError ComError::invalidUseOfNull() {
  return {err::kInvalidUseOfNull, "Invalid use of Null"};
}
ComError ComError::invalidPropertyValue() {
  return {err::kInvalidPropertyValue, "Invalid property value"};
}
ComError ComError::invalidPropertyArrayIndex() {
  return {err::kInvalidPropertyArrayIndex, "Invalid property array index"};
}
ComError ComError::objectRequired() {
  return {err::kObjectRequired, "Object required"};
}
ComError ComError::cantCreateObject() {
  return {err::kCantCreateObject, "ActiveX component can't create object"};
}
ComError ComError::memberNotFound() {
  return {err::kMemberNotFound, "Object doesn't support this property or method"};
}
ComError ComError::argumentNotOptional() {
  return {err::kArgumentNotOptional, "Argument not optional"};
}
ComError ComError::wrongNumberOfArguments() {
  return {err::kWrongNumberOfArguments, "Wrong number of arguments or invalid property assignment"};
}
ComError ComError::keyAlreadyExists() {
  return {err::kKeyAlreadyExists,
          "This key is already associated with an element of this collection"};
}
ComError ComError::indexOutOfBounds() {
  return {err::kIndexOutOfBounds, "Index out of bounds"};
}
ComError ComError::elementNotFound() {
  return {err::kElementNotFound, "Element not found"};
}
ComError ComError::keyNotUnique() {
  return {err::kKeyNotUnique, "Key is not unique in collection"};
}

}  // namespace quillon::automation
