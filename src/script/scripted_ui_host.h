// ScriptedUiHost: the UI host that plays the person at the screen from a script's dialog lines.
//
// On-blocks queue per form name in script order. When a form is shown modally, the next block
// queued for its name runs action by action; when the block is done and the form still shows,
// the host closes it with its close box (Form_QueryUnload/Form_Unload) and notes that in the
// transcript. A block for a form shown modeless runs once the form shows, and the form stays open
// after it. Message boxes, input boxes, lookup lists, calendars and filter dialogs take the next
// queued answer of their kind (save-file questions too); a message box without one takes its
// default button, the other dialogs are cancelled. Every form shown, hidden or unloaded and every
// message box goes to the transcript.
//
// The words of a block that belong to the script's host (a sql batch, `expect $error` after it, a
// value that names a variable) are handed to the ScriptHostLines the runner installs.
//
// The first failure (an expect that does not hold, an action on a control the form lacks or on a
// form that no longer shows, an error raised by a handler) is recorded with its line; from then on
// every form is closed at once and every question takes its default, so the call that showed the
// form returns and the runner can stop.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/ui_host.h"
#include "script/script_ast.h"

namespace quillon::forms {
class Control;
}  // namespace quillon::forms

namespace quillon::script {

// What a block's host-line words need of the script's runner.
class ScriptHostLines {
 public:
  virtual ~ScriptHostLines() = default;
  // Runs a batch on the other workstation's connection; throws to fail the action.
  virtual void blockSql(const SqlLine& line, SourcePos pos) = 0;
  virtual void blockExpect(const ExpectLine& line, SourcePos pos) = 0;
  // The value a script value stands for: a literal, or a variable or reference of the script.
  virtual automation::Variant blockValue(const ScriptValue& value) = 0;
};

class ScriptedUiHost : public forms::UiHost {
 public:
  ScriptedUiHost();
  ~ScriptedUiHost() override;

  void queueBlock(OnBlock block);
  // An action met outside any block: queued answers and the expectations about messages, the
  // lookup list and the registry. Other actions need a form and fail.
  void perform(const DialogAction& action);
  // Null: values are literals only, and sql in a block fails.
  void setHostLines(ScriptHostLines* lines) { hostLines_ = lines; }

  // Records a failure (only the first one counts).
  void fail(SourcePos pos, std::string message);
  const std::optional<ScriptError>& failure() const { return failure_; }
  // Fails when blocks or queued answers were never used: a dialog the script waited for did not
  // come.
  void checkAllUsed();

  // Transcript lines, also handed to the sink as they come when one is set.
  const std::vector<std::string>& transcript() const { return transcript_; }
  void setTranscriptSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
  void note(std::string line);

  const std::optional<std::string>& lastMessage() const { return lastMessage_; }
  // Whether a block's actions are running now (its form shown and worked by the script).
  bool inBlock() const { return !running_.empty(); }
  int beepCount() const { return beeps_; }

  // What a script value of a dialog line stands for: a literal's value, or a variable or
  // reference looked up by the host lines. Throws ScriptError for "-" and, without host lines,
  // for a variable.
  automation::Variant valueOf(const ScriptValue& value);

  // A control property as `expect CONTROL.PROPERTY` reads it (see control_property.h); a host that
  // draws the forms reads what the drawn widget shows. PropertyError for what the control lacks.
  virtual automation::Variant readProperty(forms::Form& form, forms::Control& control,
                                           const DialogAction& action);

  // UiHost.
  void runModal(forms::Form& form) override;
  void formShown(forms::Form& form, bool modal) override;
  void formHidden(forms::Form& form) override;
  void formUnloaded(forms::Form& form) override;
  void runModeless(forms::Form& form) override;
  int messageBox(const forms::MessageBoxRequest& request) override;
  std::optional<std::string> inputBox(const forms::InputBoxRequest& request) override;
  std::optional<automation::DateValue> calendar(const forms::CalendarRequest& request) override;
  std::optional<std::vector<int>> lookupList(const forms::LookupRequest& request) override;
  std::optional<std::string> columnSettings(const forms::ColumnSettingsRequest& request) override;
  forms::FilterResult filterDialog(const forms::FilterRequest& request) override;
  forms::Menu* popupMenu(forms::Form& form, forms::Menu& menu) override;
  std::optional<std::string> saveFileName(const forms::SaveFileRequest& request) override;
  void beep() override;

 protected:
  // Runs after every action of a block, whether it held or failed; a host that draws the forms
  // refreshes them here (and may take a picture of the form).
  virtual void actionDone(forms::Form& /*form*/, const DialogAction& /*action*/) {}

 private:
  struct RunningBlock {
    forms::Form* form;
    const OnBlock* block;
    std::size_t next;
  };

  // The next block queued for the form, out of the queue; null when there is none.
  std::unique_ptr<OnBlock> takeBlock(const forms::Form& form);
  // Runs the block's actions on the form until they are done, the form goes or one fails.
  void runBlock(forms::Form& form, const OnBlock& block);
  void execute(forms::Form& form, const DialogAction& action);
  // The words that work on the host's own state rather than a form; false for other actions.
  bool hostWord(const DialogAction& action);
  std::deque<DialogAction>* answerQueue(ActionKind kind);
  std::optional<DialogAction> nextAnswer(ActionKind kind);
  void expectMessage(const DialogAction& action);
  void expectNoMessage(const DialogAction& action);
  void expectLookupRows(const DialogAction& action);
  void expectRegistry(const DialogAction& action);
  void expectClipboard(const DialogAction& action);
  ScriptHostLines& hostLines(const DialogAction& action);
  void closeForm(forms::Form& form);

  std::deque<OnBlock> blocks_;
  std::vector<RunningBlock> running_;
  std::deque<DialogAction> answers_;  // Answer actions
  std::deque<DialogAction> inputs_;
  std::deque<DialogAction> picks_;
  std::deque<DialogAction> dates_;
  std::deque<DialogAction> filters_;
  std::deque<DialogAction> saves_;
  std::optional<ScriptError> failure_;
  std::vector<std::string> transcript_;
  std::function<void(const std::string&)> sink_;
  std::optional<std::string> lastMessage_;
  std::string lastTitle_;
  int messagesSinceExpect_ = 0;  // message boxes since the block began or the last expectation
  std::optional<int> lastLookupRows_;
  bool lookupShown_ = false;
  ScriptHostLines* hostLines_ = nullptr;
  int beeps_ = 0;
};

}  // namespace quillon::script
