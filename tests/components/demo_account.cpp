#include "demo_account.h"

#include "components/suite/session.h"

namespace quillon::components::testing {

const std::string& scratchDir() {
  static const std::string dir = test_support::demoAccount().dir().string();
  return dir;
}

std::shared_ptr<SessionContext> sessionFor(const std::string& user, const std::string& path) {
  auto login = loginAs(user, path);
  return suite::openSessionContext(login);
}

}  // namespace quillon::components::testing
