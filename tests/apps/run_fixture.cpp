#include "run_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "components/registration.h"
#include "db/demo_data.h"
#include "platform/terminal_session.h"
#include "run/host_script_runner.h"

namespace quillon::cli::run::testing {

namespace {

struct ScratchDir {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("quillon-run-" + std::to_string(::getpid()));
  ScratchDir() {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

void registerClassesOnce() {
  static const bool done = [] {
    automation::ClassRegistry& registry = automation::classRegistry();
    automation::registerAutomationClasses(registry);
    platform::registerPlatformClasses(registry);
    ado::registerAdoClasses(registry);
    components::registerClasses(registry);
    return true;
  }();
  (void)done;
}

}  // namespace

const std::string& demoDatabase() {
  static ScratchDir dir;
  static const std::string path = [] {
    const std::string p = (dir.path / "demo.db").string();
    db::createDemoDatabase(p, 1, true);
    return p;
  }();
  return path;
}

Outcome runScript(std::string_view text, const std::string& database) {
  registerClassesOnce();
  std::ostringstream out;
  HostScriptRunner runner(database, out);
  Outcome outcome;
  outcome.result = runner.runSource(text);
  outcome.transcript = out.str();
  return outcome;
}

}  // namespace quillon::cli::run::testing
