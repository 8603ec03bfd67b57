// What the public classes share: registration with the class registry (once), members that trap
// every run-time error into their ErrMsg text ("Class:member" + number + CR LF + text, from
// gErrInfo), the late-bound side of a member that takes ErrMsg by reference, and showing a
// reference dialog to hand back what the user chose. Sessions are opened by module/session.h.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "automation/class_registry.h"
#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::automation {
class Collection;
}
namespace quillon::dialogs::kit {
class ReferenceDialog;
}

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

// What a public class keeps of the reference dialogs it shows: itself (the dialogs' owner), the
// connection of its session, its filter text and its oCollection, which the dialog sets on OK.
struct DialogOwner {
  automation::ObjectPtr self;
  std::shared_ptr<ado::Connection>& connection;
  std::string& filter;
  std::shared_ptr<automation::Collection>& oCollection;
};

// Lets the user choose in `dialog` and hands back what he chose: opens the session of `oLogin`
// (its connection kept in the owner and handed to the dialog), makes the owner's filter
// "cCode = '<code>'" when the host gave a document code, hands the dialog the filter and its
// owner after `prepare` has set the dialog's own members, shows it modally, and leaves the owner's
// oCollection in `oCollReurn` (Nothing when the user cancelled). The errors of the session and of
// the dialog's Show reach the caller.
void showReferenceDialog(dialogs::kit::ReferenceDialog& dialog, const DialogOwner& owner,
                         const automation::Variant& oLogin, const std::string& code,
                         automation::Variant& oCollReurn,
                         const std::function<void()>& prepare = {});

}  // namespace quillon::classes
