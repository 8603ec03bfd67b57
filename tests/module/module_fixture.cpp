#include "module_fixture.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "components/registration.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "module/session.h"
#include "platform/terminal_session.h"

namespace quillon::module::testing {

namespace {

struct Environment {
  std::filesystem::path dir;
  std::string dbPath;

  Environment() {
    dir = std::filesystem::temp_directory_path() /
          ("quillon_module_tests_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ::setenv("QUILLON_REGISTRY", (dir / "registry").c_str(), 1);
    dbPath = (dir / "demo.db").string();
    db::createDemoDatabase(dbPath, 1, true);
    auto& registry = automation::classRegistry();
    automation::registerAutomationClasses(registry);
    ado::registerAdoClasses(registry);
    platform::registerPlatformClasses(registry);
    components::registerClasses(registry);
  }
  ~Environment() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

Environment& environment() {
  static Environment env;
  return env;
}

}  // namespace

const std::string& demoDbPath() {
  return environment().dbPath;
}

std::shared_ptr<ado::Connection> openSessionAs(const std::string& user) {
  auto login = components::suite::Login::open(demoDbPath(), user);
  return OpenSession(login);
}

}  // namespace quillon::module::testing
