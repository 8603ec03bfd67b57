// The command line of `quillon run` in one place: what it accepts, and the UI host a run uses.
// Options that change how the dialogs are presented (drawing them, saving pictures) belong here:
// they are parsed by parseRunOptions and acted on by makeUiHost (headless) or makeDrawingHost
// (drawn, in quillon-desktop), so cmd_run stays unchanged.
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

// The headless scripted UI host, for options that do not draw.
std::shared_ptr<script::ScriptedUiHost> makeUiHost(const RunOptions& options);

// The host that draws the forms (options.gui), saving pictures when asked: only in the build's
// desktop command, which links quillon_run_drawn (run/drawing_host.cpp).
std::shared_ptr<script::ScriptedUiHost> makeDrawingHost(const RunOptions& options);

}  // namespace quillon::cli::run
