// What the public classes share: registration with the class registry (once), members that trap
// every run-time error into their ErrMsg text ("Class:member" + number + CR LF + text, from
// gErrInfo), and the late-bound side of a member that takes ErrMsg by reference. Sessions are
// opened by module/session.h.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "automation/class_registry.h"
#include "automation/dispatch.h"

namespace quillon::classes {

// Adds T under its ProgID and CLSID unless the registry knows the ProgID already.
template <class T>
void registerOnce(automation::ClassRegistry& registry, const char* progId, const char* clsid) {
  if (registry.find(progId) == nullptr) registry.add<T>(progId, clsid);
}

// Inside a catch block: records the error being handled in gErrInfo and gives the member's
// trapped-error text, `prefix` + number + "\r\n" + description.
std::string trappedErrMsg(std::string_view prefix);

// Runs a member that traps every run-time error: its result, or False with ErrMsg set to the
// trapped-error text after `onError` ran.
bool trapInto(std::string_view prefix, std::string& ErrMsg, const std::function<bool()>& member,
              const std::function<void()>& onError = {});

// The late-bound side of a member taking ErrMsg by reference as argument `at`: `member` gets the
// caller's text, and what it leaves there goes back into the argument; the result is the member's
// Boolean. An error raised while the other arguments are read reaches the caller, unless
// `trapPrefix` is given: then it is trapped like one of the member's own.
automation::Variant withErrMsg(automation::Args& a, std::size_t at,
                               const std::function<bool(std::string& ErrMsg)>& member,
                               std::optional<std::string_view> trapPrefix = std::nullopt);

}  // namespace quillon::classes
