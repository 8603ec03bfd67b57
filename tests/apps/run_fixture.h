// Running host scripts in-process on the scale-1 demo account, for the runner's tests.
#pragma once

#include <string>
#include <string_view>

#include "forms/script_runner.h"

namespace quillon::cli::run::testing {

// The demo account file, built once per test binary; scripts must not change its rows.
const std::string& demoDatabase();

struct Outcome {
  forms::script::RunResult result;
  std::string transcript;
};

// Runs `text` as `quillon run` would (every class registered, the scripted host current).
Outcome runScript(std::string_view text, const std::string& database = demoDatabase());

}  // namespace quillon::cli::run::testing
