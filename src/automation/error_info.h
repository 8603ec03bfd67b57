// ErrorInfo: the error-information object. It keeps the number and text of the last trapped
// run-time error, and the failure message of the last archive lookup (set by the lookup code,
// read when a typed filter entry is refused). Late-bound members: Number, Description, Source,
// LookupMessage (all read/write) and Clear.
//
// Members that trap errors do so with trapCurrentException(), inside a catch block, and build
// their ErrMsg text with trappedMessage():
//
//   try { ... } catch (...) {
//     trapCurrentException(errInfo);
//     errMsg = trappedMessage("ProduceOrder:load", errInfo);
//     return false;
//   }
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace quillon::automation {

// The number given to a failure that carried no number of its own.
inline constexpr std::int32_t kAutomationError = 440;

class ErrorInfo : public Object {
 public:
  ErrorInfo() = default;

  const MemberTable& memberTable() const override;

  std::int32_t number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }
  void setError(std::int32_t number, std::string description, std::string source = {});
  void clear();  // the error part only; the lookup message stays until it is replaced

  const std::string& lookupMessage() const { return lookupMessage_; }
  void setLookupMessage(std::string message) { lookupMessage_ = std::move(message); }

 private:
  std::int32_t number_ = 0;
  std::string description_;
  std::string source_;
  std::string lookupMessage_;
};

// Records the exception being handled (call only inside a catch block): a ComError gives its
// number, description and source; any other std::exception gives 440 and its what(); anything
// else 440 "Automation error".
void trapCurrentException(ErrorInfo& info);

// prefix + number as decimal text + "\r\n" + description, e.g. "ProduceOrder:load13\r\nType
// mismatch".
std::string trappedMessage(std::string_view prefix, const ErrorInfo& info);

}  // namespace quillon::automation
