#include "run/run_options.h"

#include "args.h"

namespace quillon::cli::run {

RunOptions parseRunOptions(std::span<const std::string> args) {
  const ParsedArgs parsed = parseArgs(args, OptionSpec{{"--db", "--screenshots"}, {"--gui"}});
  RunOptions options;
  options.database = parsed.required("--db");
  options.screenshots = parsed.option("--screenshots").value_or("");
  // Pictures are taken of drawn forms, so asking for them draws the forms.
  options.gui = parsed.flag("--gui") || !options.screenshots.empty();
#ifndef QUILLON_HAS_UI
  if (options.gui) throw UsageError("this build has no desktop dialogs (--gui, --screenshots)");
#endif
  const auto& positional = parsed.positional();
  if (positional.empty()) throw UsageError("the script to run is required");
  if (positional.size() > 1) throw UsageError("one script at a time: \"" + positional[1] + "\"");
  options.script = positional.front();
  return options;
}

std::shared_ptr<script::ScriptedUiHost> makeUiHost(const RunOptions& options) {
  (void)options;
  return std::make_shared<script::ScriptedUiHost>();
}

}  // namespace quillon::cli::run
