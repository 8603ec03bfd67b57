#include "capi/dialog_hosts.h"

#include <memory>
#include <utility>
#include <variant>

#include "forms/ui_host.h"
#include "script/script_ast.h"
#include "script/script_parser.h"
#include "script/scripted_ui_host.h"
#ifdef QUILLON_CAPI_HAS_UI
#include "ui/qt/application.h"
#include "ui/qt/gui_script.h"
#include "ui/qt/person_script_host.h"
#endif

namespace quillon::capi {

namespace {

using script::ActionKind;

// The host installed by this interface; the current UI host while it is set.
std::shared_ptr<script::ScriptedUiHost>& installed() {
  static auto* host = new std::shared_ptr<script::ScriptedUiHost>;
  return *host;
}

void install(std::shared_ptr<script::ScriptedUiHost> host) {
  installed() = host;
  forms::setCurrentUiHost(std::move(host));
}

// Answers that wait in the host for the next dialog of their kind; other actions need a form.
bool isQueuedAnswer(ActionKind kind) {
  return kind == ActionKind::Answer || kind == ActionKind::Input || kind == ActionKind::Pick ||
         kind == ActionKind::Date || kind == ActionKind::Filter;
}

std::string at(script::SourcePos pos) {
  return "line " + std::to_string(pos.line) + ", column " + std::to_string(pos.column) + ": ";
}

// A host holding the lines' blocks and answers, not yet installed; a failure when the lines do not
// parse or hold anything but dialog lines.
std::optional<DialogsFailure> hostOfLines(const std::string& lines, bool drawn,
                                          std::shared_ptr<script::ScriptedUiHost>& out) {
  script::Script script;
  try {
    script = script::parseScript(lines);
  } catch (const script::ScriptError& e) {
    return DialogsFailure{QUILLON_SCRIPT_FAILED, e.what()};
  }
  for (const auto& statement : script.statements) {
    if (std::holds_alternative<script::OnBlock>(statement.body)) continue;
    if (const auto* action = std::get_if<script::DialogAction>(&statement.body)) {
      if (isQueuedAnswer(action->kind)) continue;
      return DialogsFailure{QUILLON_SCRIPT_FAILED,
                            at(statement.pos) + "\"" +
                                std::string(script::actionName(action->kind)) +
                                "\" needs a form: put it inside an on-block"};
    }
    return DialogsFailure{QUILLON_SCRIPT_FAILED,
                          at(statement.pos) +
                              "a host line; the host makes its own calls, give dialog lines only "
                              "(on-blocks and answers)"};
  }
  std::shared_ptr<script::ScriptedUiHost> host;
  if (drawn) {
#ifdef QUILLON_CAPI_HAS_UI
    host = std::make_shared<ui::qt::DrawingScriptHost>(ui::qt::GuiScriptOptions{});
#else
    return DialogsFailure{QUILLON_UNAVAILABLE, "this build has no desktop dialogs to draw"};
#endif
  } else {
    host = std::make_shared<script::ScriptedUiHost>();
  }
  for (auto& statement : script.statements) {
    if (auto* block = std::get_if<script::OnBlock>(&statement.body)) {
      host->queueBlock(std::move(*block));
    } else {
      host->perform(std::get<script::DialogAction>(statement.body));
    }
  }
  out = std::move(host);
  return std::nullopt;
}

std::string transcriptOf(const script::ScriptedUiHost& host) {
  std::string text;
  for (const auto& line : host.transcript()) text += line + "\n";
  return text;
}

std::optional<DialogsFailure> checkUsed(script::ScriptedUiHost& host) {
  host.checkAllUsed();
  if (const auto& failure = host.failure()) {
    return DialogsFailure{QUILLON_SCRIPT_FAILED, failure->what()};
  }
  return std::nullopt;
}

}  // namespace

std::optional<DialogsFailure> installDialogLines(const std::string& lines, bool drawn) {
  std::shared_ptr<script::ScriptedUiHost> host;
  if (auto failure = hostOfLines(lines, drawn, host)) return failure;
  // The previous host goes first: a drawing host holds the one Qt application of the process.
  install(nullptr);
  install(std::move(host));
  return std::nullopt;
}

std::optional<DialogsFailure> installPerson() {
#ifdef QUILLON_CAPI_HAS_UI
  if (!ui::qt::hasDisplay()) {
    return DialogsFailure{QUILLON_UNAVAILABLE,
                          "no display for a person to work the dialogs on (DISPLAY and "
                          "WAYLAND_DISPLAY are unset)"};
  }
  install(nullptr);
  install(std::make_shared<ui::qt::PersonScriptHost>());
  return std::nullopt;
#else
  return DialogsFailure{QUILLON_UNAVAILABLE, "this build has no desktop dialogs"};
#endif
}

std::string dialogsTranscript() {
  if (const auto& host = installed()) return transcriptOf(*host);
  return {};
}

std::optional<DialogsFailure> finishDialogs() {
  std::shared_ptr<script::ScriptedUiHost> host = installed();
  install(nullptr);
  if (!host) return std::nullopt;
  return checkUsed(*host);
}

OneCallDialogs::OneCallDialogs(const std::string& lines, bool drawn) {
  failure_ = hostOfLines(lines, drawn, host_);
  if (failure_) return;
  // The earlier host is kept (not installed) until the call is done, so a Qt application it made
  // outlives the one call's drawing host, which then makes none of its own.
  previous_ = installed();
  install(nullptr);
  install(host_);
  active_ = true;
}

OneCallDialogs::~OneCallDialogs() {
  restore();
}

std::string OneCallDialogs::transcript() const {
  return host_ ? transcriptOf(*host_) : std::string();
}

std::optional<DialogsFailure> OneCallDialogs::finish() {
  if (!active_) return failure_;
  restore();
  return checkUsed(*host_);
}

void OneCallDialogs::restore() {
  if (!active_) return;
  active_ = false;
  install(nullptr);
  install(std::move(previous_));
}

}  // namespace quillon::capi
