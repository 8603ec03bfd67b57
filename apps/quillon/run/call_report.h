// What a host received from one `call` line, handed to whoever embeds the runner (the demo
// window shows it as tables) so that nobody has to read it back out of the transcript.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"

namespace quillon::cli::run {

// A variable the call took by reference, as the call left it.
struct ByRefArgument {
  std::string variable;   // without the "$"
  std::string parameter;  // the member's name for it ("ErrMsg"); empty for a dynamic member
  automation::Variant value;
};

struct RaisedError {
  std::int32_t number = 0;
  std::string description;
};

struct CallReport {
  int line = 0;
  std::string text;  // the line as written, trimmed
  std::string object;
  std::string member;
  // The variable the result went to; empty when the line named none.
  std::string resultVariable;
  automation::Variant result;  // Empty when the call raised or returned nothing
  // Every variable passed to a by-reference parameter, once each, in argument order; a member
  // the object does not list (a dynamic one) reports the variables the call changed.
  std::vector<ByRefArgument> byRef;
  std::optional<RaisedError> error;  // the error the call raised, whether the script went on or not
};

// Told about every call line that returned or raised; not about one a failed dialog action cut
// short. Runs on the script's thread right after the line's transcript was written.
using CallObserver = std::function<void(const CallReport&)>;

}  // namespace quillon::cli::run
