#include "demo_sessions.h"

#include "module/session.h"

namespace quillon::components::testing {

const std::string& scratchDir() {
  static const std::string dir = test_support::demoAccount().dir().string();
  return dir;
}

std::shared_ptr<SessionContext> sessionFor(const std::string& user, const std::string& path) {
  // The library opens sessions through the class registry, where the suite's session classes are.
  test_support::registerClassesOnce(test_support::registerSuiteClasses);
  auto login = loginAs(user, path);
  return module::OpenContext(login, true);
}

}  // namespace quillon::components::testing
