#include "run_fixture.h"

#include <sstream>

#include "run/host_script_runner.h"
#include "support/class_registration.h"

namespace quillon::cli::run::testing {

Outcome runScript(std::string_view text, const std::string& database) {
  test_support::registerClassesOnce(test_support::registerSuiteClasses);
  std::ostringstream out;
  HostScriptRunner runner(database, out);
  Outcome outcome;
  outcome.result = runner.runSource(text);
  outcome.transcript = out.str();
  return outcome;
}

}  // namespace quillon::cli::run::testing
