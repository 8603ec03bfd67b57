// Session opening: the one way the library opens a session for a login — a fresh SessionContext
// initialised with the login, its profile filled when the caller needs it — and what every
// load/refer member of the public classes does before it shows a dialog (OpenSession).
#pragma once

#include <memory>

#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}
namespace quillon::components {
class MarlinLogin;
class SessionContext;
}  // namespace quillon::components

namespace quillon::module {

// The login object a member was handed: ComError 13 when it is not one, 91 when it is Nothing.
std::shared_ptr<components::MarlinLogin> LoginArgument(const automation::ObjectPtr& login);

// A new SessionContext (through the class registry, so a registered substitute is used),
// initialised with the login; with `fillProfile`, a SessionProfile filled through a
// SessionContextBuilder from the login's two identifying texts is given to it. A Nothing login
// raises 91; a failing connection or context raises its error.
std::shared_ptr<components::SessionContext> OpenContext(
    const std::shared_ptr<components::MarlinLogin>& login, bool fillProfile);

// 1. Opens a connection with the login's connection text (no user, no password, options -1): the
//    login's desk connection (MarlinLogin::deskConnection), which the new context shares.
// 2. and 3. OpenContext with its profile, which becomes gContext.
// Returns the connection, for the caller to hold as long as it needs it (closing it would close
// the context's too). gContext is only replaced once the context is ready.
std::shared_ptr<ado::Connection> OpenSession(const std::shared_ptr<components::MarlinLogin>& login);

}  // namespace quillon::module
