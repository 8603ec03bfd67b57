// The built `quillon` command run as a separate process, for the end-to-end tests (which name
// the binary in QUILLON_BINARY).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/command_run.h"
#include "support/scratch_dir.h"

namespace quillon::cli {

using Outcome = test_support::CommandOutcome;
using test_support::ScratchDir;

// Runs the command with `args` and `input` on standard input; its streams pass through `dir`.
inline Outcome quillon(const ScratchDir& dir, std::vector<std::string> args,
                       const std::string& input = {}) {
  return test_support::runCommand(QUILLON_BINARY, std::move(args), dir.path(), input);
}

}  // namespace quillon::cli
