#include "ui/qt/gui_script.h"

#include <QApplication>
#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "forms/form.h"
#include "ui/qt/application.h"
#include "ui/qt/control_view.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

DrawingScriptHost::DrawingScriptHost(GuiScriptOptions options)
    : application_(std::make_unique<QtApplication>()), options_(std::move(options)) {
  if (!options_.screenshotDir) return;
  std::error_code error;
  std::filesystem::create_directories(*options_.screenshotDir, error);
  if (error || !std::filesystem::is_directory(*options_.screenshotDir)) {
    throw std::runtime_error("cannot make the picture directory " +
                             options_.screenshotDir->string() +
                             (error ? ": " + error.message() : std::string()));
  }
}

DrawingScriptHost::~DrawingScriptHost() {
  // Windows of unloaded forms wait for the event loop to delete them; it will not run again.
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DrawingScriptHost::formShown(forms::Form& form, bool modal) {
  ScriptedUiHost::formShown(form, modal);
  windows_.shown(form, modal);
}

void DrawingScriptHost::formHidden(forms::Form& form) {
  ScriptedUiHost::formHidden(form);
  windows_.hidden(form);
}

void DrawingScriptHost::formUnloaded(forms::Form& form) {
  ScriptedUiHost::formUnloaded(form);
  windows_.unloaded(form);
}

void DrawingScriptHost::runModal(forms::Form& form) {
  if (FormWindow* window = windows_.find(form)) window->setWindowModality(Qt::ApplicationModal);
  picture(form);
  ScriptedUiHost::runModal(form);
}

void DrawingScriptHost::runModeless(forms::Form& form) {
  picture(form);
  ScriptedUiHost::runModeless(form);
}

automation::Variant DrawingScriptHost::readProperty(forms::Form& form, forms::Control& control,
                                                    const script::DialogAction& action) {
  if (FormWindow* window = windows_.find(form)) {
    bringUpToDate(*window);
    if (const ControlView* view = window->viewOf(&control)) {
      if (auto shown = view->shownProperty(action.property, action.key)) return *shown;
      // A node or column the widget lacks is the control's to name in its error.
    }
  }
  return ScriptedUiHost::readProperty(form, control, action);
}

void DrawingScriptHost::actionDone(forms::Form& form, const script::DialogAction&) {
  QApplication::processEvents();
  if (form.Loaded() && form.Visible()) picture(form);
}

void DrawingScriptHost::picture(forms::Form& form) {
  if (!options_.screenshotDir) return;
  FormWindow* window = windows_.find(form);
  if (window == nullptr) return;
  char number[16];
  std::snprintf(number, sizeof number, "%03zu", pictures_.size() + 1);
  const std::filesystem::path path =
      *options_.screenshotDir / (std::string(number) + "-" + form.Name() + ".png");
  const QImage image = pictureOf(*window);
  if (image.isNull() || !image.save(toQString(path.string()), "PNG")) {
    note("picture of " + form.Name() + " could not be saved to " + path.string());
    return;
  }
  pictures_.push_back(path);
}

GuiScriptResult runScriptWithGui(std::string_view scriptText, const GuiScriptOptions& options,
                                 const ScriptRunnerFactory& makeRunner) {
  GuiScriptResult result;
  if (options.screenshotDir) {
    std::error_code error;
    std::filesystem::create_directories(*options.screenshotDir, error);
    if (error || !std::filesystem::is_directory(*options.screenshotDir)) {
      result.run.ok = false;
      result.run.message = "cannot make the picture directory " + options.screenshotDir->string() +
                           (error ? ": " + error.message() : std::string());
      return result;
    }
  }
  auto host = std::make_shared<DrawingScriptHost>(options);
  std::unique_ptr<script::ScriptRunner> runner =
      makeRunner ? makeRunner(host) : std::make_unique<script::ScriptRunner>(host);
  if (!runner) runner = std::make_unique<script::ScriptRunner>(host);
  result.run = runner->runText(scriptText);
  result.transcript = host->transcript();
  result.pictures = host->pictures();
  return result;
}

}  // namespace quillon::ui::qt
