// Shared set-up of the module tests: the suite's classes registered once, a scale-1 demo account
// in a temporary file, a private registry file, and sessions opened for the demo users.
#pragma once

#include <memory>
#include <string>

namespace quillon::ado {
class Connection;
}
namespace quillon::components::suite {
class Login;
}

namespace quillon::module::testing {

// Path of the demo account file (built on first use, removed at exit).
const std::string& demoDbPath();
// Logs `user` into the demo account and opens the module's session; returns the connection.
std::shared_ptr<ado::Connection> openSessionAs(const std::string& user);

}  // namespace quillon::module::testing
