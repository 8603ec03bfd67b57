#include "module_fixture.h"

#include "ado/connection.h"
#include "components/suite/login.h"
#include "module/session.h"
#include "support/demo_account.h"

namespace quillon::module::testing {

const std::string& demoDbPath() {
  return test_support::demoAccount(test_support::registerSuiteClasses).path();
}

std::shared_ptr<ado::Connection> openSessionAs(const std::string& user) {
  auto login = components::suite::Login::open(demoDbPath(), user);
  return OpenSession(login);
}

}  // namespace quillon::module::testing
