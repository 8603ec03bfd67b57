// The drawn forms of `quillon run --gui` and `--screenshots`, in quillon-desktop.
#include "run/run_options.h"
#include "ui/qt/gui_script.h"

namespace quillon::cli::run {

std::shared_ptr<script::ScriptedUiHost> makeDrawingHost(const RunOptions& options) {
  ui::qt::GuiScriptOptions gui;
  if (!options.screenshots.empty()) gui.screenshotDir = options.screenshots;
  return std::make_shared<ui::qt::DrawingScriptHost>(std::move(gui));
}

}  // namespace quillon::cli::run
