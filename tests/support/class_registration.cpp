#include "support/class_registration.h"

#include <set>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "components/registration.h"
#include "platform/terminal_session.h"

namespace quillon::test_support {

void registerClassesOnce(Registration registration) {
  static std::set<Registration> done;
  if (done.insert(registration).second) registration(automation::classRegistry());
}

void registerSuiteClasses(automation::ClassRegistry& registry) {
  automation::registerAutomationClasses(registry);
  platform::registerPlatformClasses(registry);
  ado::registerAdoClasses(registry);
  components::registerClasses(registry);
}

}  // namespace quillon::test_support
