#include "produce_order_fixture.h"

#include "automation/class_registry.h"
#include "classes/public_classes.h"
#include "support/demo_account.h"

namespace quillon::dialogs::testing {

const std::string& demoPath() {
  return test_support::demoAccount(classes::registerAllClasses).path();
}

std::string demoCopy(const std::string& name) {
  return test_support::demoAccount(classes::registerAllClasses).copy(name);
}

std::shared_ptr<components::suite::Login> loginAs(const std::string& user,
                                                  const std::string& path) {
  return test_support::loginAs(user, path);
}

}  // namespace quillon::dialogs::testing
