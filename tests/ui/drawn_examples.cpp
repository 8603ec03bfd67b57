#include "drawn_examples.h"

#include <fstream>
#include <sstream>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/public_classes.h"
#include "components/registration.h"
#include "db/demo_data.h"
#include "platform/terminal_session.h"
#include "tests/support/scratch_dir.h"

namespace quillon::ui::qt::testing {

void registerEverything() {
  automation::ClassRegistry& registry = automation::classRegistry();
  if (registry.find("Quillon.RefSelect") != nullptr) return;
  automation::registerAutomationClasses(registry);
  platform::registerPlatformClasses(registry);
  ado::registerAdoClasses(registry);
  components::registerClasses(registry);
  classes::registerLibraryClasses(registry);
}

std::string readExample(const std::string& name) {
  return test_support::fileText(std::filesystem::path(QUILLON_EXAMPLES) / name);
}

void makeDemoAccount(const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  db::createDemoDatabase(path.string(), 1, true);
}

}  // namespace quillon::ui::qt::testing
