#include "run/run_options.h"

#include "args.h"

namespace quillon::cli::run {

RunOptions parseRunOptions(std::span<const std::string> args) {
  const ParsedArgs parsed = parseArgs(args, OptionSpec{{"--db"}, {}});
  RunOptions options;
  options.database = parsed.required("--db");
  const auto& positional = parsed.positional();
  if (positional.empty()) throw UsageError("the script to run is required");
  if (positional.size() > 1) throw UsageError("one script at a time: \"" + positional[1] + "\"");
  options.script = positional.front();
  return options;
}

std::shared_ptr<forms::ScriptedUiHost> makeUiHost(const RunOptions& /*options*/) {
  return std::make_shared<forms::ScriptedUiHost>();
}

}  // namespace quillon::cli::run
