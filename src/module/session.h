// Session opening: what every load/refer member of the public classes does before it shows a
// dialog. It gives the caller its own connection and makes a fresh context the module's gContext.
#pragma once

#include <memory>

namespace quillon::ado {
class Connection;
}
namespace quillon::components {
class MarlinLogin;
}

namespace quillon::module {

// 1. Opens a new connection with the login's connection text (no user, no password, options -1).
// 2. Creates a SessionContext (through the class registry, so a registered substitute is used),
//    initialises it with the login and stores it in gContext.
// 3. Fills a SessionProfile through a SessionContextBuilder from the login's two identifying
//    texts and gives it to the context.
// Returns the connection, which belongs to the caller. A Nothing login raises 91; a failing
// connection or context raises its error; gContext is only replaced once the context is ready.
std::shared_ptr<ado::Connection> OpenSession(const std::shared_ptr<components::MarlinLogin>& login);

}  // namespace quillon::module
