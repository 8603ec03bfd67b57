// Running host scripts in-process on the scale-1 demo account, for the runner's tests.
#pragma once

#include <string>
#include <string_view>

#include "script/script_runner.h"
#include "support/demo_account.h"

namespace quillon::cli::run::testing {

struct Outcome {
  script::RunResult result;
  std::string transcript;
};

// Runs `text` as `quillon run` would (every class registered, the scripted host current), by
// default on the demo account, whose rows scripts must not change.
Outcome runScript(std::string_view text, const std::string& database = test_support::demoPath());

}  // namespace quillon::cli::run::testing
