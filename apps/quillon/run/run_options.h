// The command line of `quillon run` in one place: what it accepts, and the UI host a run uses.
// Options that change how the dialogs are presented (drawing them, saving pictures) belong here:
// they are parsed by parseRunOptions and acted on by makeUiHost, so cmd_run stays unchanged.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "script/scripted_ui_host.h"

namespace quillon::cli::run {

struct RunOptions {
  std::string database;     // --db FILE
  std::string script;       // the script file, or "-" for standard input
  bool gui = false;         // --gui: draw the forms with the Qt renderer
  std::string screenshots;  // --screenshots DIR: a PNG of the active form after every action
};

// Throws UsageError (args.h) for a malformed command line.
RunOptions parseRunOptions(std::span<const std::string> args);

// The scripted UI host the options ask for: headless unless an option says otherwise.
std::shared_ptr<script::ScriptedUiHost> makeUiHost(const RunOptions& options);

}  // namespace quillon::cli::run
