// Host scripts with the forms drawn: `quillon run --gui SCRIPT [--screenshots DIR]`.
//
// The script still plays the person (its on-blocks act on the forms through the controls' user
// members, exactly as headless); every form it shows is also drawn by the renderer and kept in
// step, and its expectations about a control's properties read the drawn widget (a disabled box
// is one drawn disabled). With a picture directory a PNG of the active form is saved when a form
// comes up and after every action ("001-frmRefSelect.png", "002-frmRefSelect.png", ...). Works on
// Qt's offscreen platform, so machines without a display can take the pictures too.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_runner.h"
#include "script/scripted_ui_host.h"
#include "ui/qt/application.h"
#include "ui/qt/form_windows.h"

namespace quillon::ui::qt {

struct GuiScriptOptions {
  std::optional<std::filesystem::path> screenshotDir;
};

// A scripted UI host that also draws. It makes the Qt application when the process has none and
// keeps it for its own life, so a command can simply use it where it would use the headless one.
// The picture directory is made up front; std::runtime_error says why when it cannot be.
class DrawingScriptHost : public script::ScriptedUiHost {
 public:
  explicit DrawingScriptHost(GuiScriptOptions options);
  ~DrawingScriptHost() override;

  // The pictures saved so far, in order.
  const std::vector<std::filesystem::path>& pictures() const { return pictures_; }
  FormWindows& windows() { return windows_; }

  void runModal(forms::Form& form) override;
  void runModeless(forms::Form& form) override;
  void formShown(forms::Form& form, bool modal) override;
  void formHidden(forms::Form& form) override;
  void formUnloaded(forms::Form& form) override;
  // What the drawn widget shows; what no widget shows (Tag) is the control's own.
  automation::Variant readProperty(forms::Form& form, forms::Control& control,
                                   const script::DialogAction& action) override;

 protected:
  void actionDone(forms::Form& form, const script::DialogAction& action) override;

 private:
  void picture(forms::Form& form);
  // Declared first: the application outlives the windows.
  std::unique_ptr<QtApplication> application_;
  GuiScriptOptions options_;
  FormWindows windows_;
  std::vector<std::filesystem::path> pictures_;
};

using ScriptRunnerFactory = std::function<std::unique_ptr<script::ScriptRunner>(
    std::shared_ptr<script::ScriptedUiHost> host)>;

struct GuiScriptResult {
  script::RunResult run;
  std::vector<std::string> transcript;
  std::vector<std::filesystem::path> pictures;
};

// Parses and runs a script with the forms drawn. `makeRunner` builds the caller's script runner
// (its host-line interpreter) on the host given; null runs dialog lines only. A QApplication is
// made for the run when the process has none. A picture directory that cannot be made fails the
// run before anything else happens.
GuiScriptResult runScriptWithGui(std::string_view scriptText, const GuiScriptOptions& options,
                                 const ScriptRunnerFactory& makeRunner = {});

}  // namespace quillon::ui::qt
