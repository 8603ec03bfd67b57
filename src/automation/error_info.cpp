#include "automation/error_info.h"

#include <exception>

namespace quillon::automation {

const MemberTable& ErrorInfo::memberTable() const {
  static const MemberTable table = MemberBuilder<ErrorInfo>("ErrorInfo")
                                       .field("Number", "Long", &ErrorInfo::number_)
                                       .field("Description", "String", &ErrorInfo::description_)
                                       .field("Source", "String", &ErrorInfo::source_)
                                       .field("LookupMessage", "String", &ErrorInfo::lookupMessage_)
                                       .method("Clear", {}, "",
                                               [](ErrorInfo& self, Args&) -> Variant {
                                                 self.clear();
                                                 return {};
                                               })
                                       .defaultMember("Number")
                                       .build();
  return table;
}

void ErrorInfo::setError(std::int32_t number, std::string description, std::string source) {
  number_ = number;
  description_ = std::move(description);
  source_ = std::move(source);
}

void ErrorInfo::clear() {
  setError(0, {}, {});
}

void trapCurrentException(ErrorInfo& info) {
  if (!std::current_exception()) {
    info.setError(kAutomationError, "Automation error");
    return;
  }
  try {
    throw;
  } catch (const ComError& e) {
    info.setError(e.number(), e.description(), e.source());
  } catch (const std::exception& e) {
    info.setError(kAutomationError, e.what());
  } catch (...) {
    info.setError(kAutomationError, "Automation error");
  }
}

std::string trappedMessage(std::string_view prefix, const ErrorInfo& info) {
  std::string out(prefix);
  out += std::to_string(info.number());
  out += "\r\n";
  out += info.description();
  return out;
}

}  // namespace quillon::automation
