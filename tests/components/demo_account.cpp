#include "demo_account.h"

#include "components/suite/session.h"

namespace quillon::components::testing {

const std::string& scratchDir() {
  static const std::string dir = test_support::demoAccount().dir().string();
  return dir;
}

std::shared_ptr<SessionContext> sessionFor(const std::string& user, const std::string& path) {
  auto login = loginAs(user, path);
  auto context = std::make_shared<suite::SuiteSessionContext>();
  context->initialise(login);
  auto profile = std::make_shared<suite::SuiteSessionProfile>();
  suite::SuiteSessionContextBuilder builder;
  builder.setContext(context);
  builder.fillProfile(login->firstIdentity(), login->secondIdentity(), *profile);
  context->setProfile(profile);
  return context;
}

}  // namespace quillon::components::testing
