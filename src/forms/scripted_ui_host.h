// ScriptedUiHost: the UI host that plays the person at the screen from a script's dialog lines.
//
// On-blocks queue per form name in script order. When a form is shown modally, the next block
// queued for its name runs action by action; when the block is done and the form still shows,
// the host closes it with its close box (Form_QueryUnload/Form_Unload) and notes that in the
// transcript. Message boxes, input boxes, lookup lists and calendars take the next queued answer
// of their kind; a message box without one takes its default button, the other dialogs are
// cancelled. Every form shown, hidden or unloaded and every message box goes to the transcript.
//
// The first failure (an expect that does not hold, an action on a control the form lacks or on a
// form that no longer shows, an error raised by a handler) is recorded with its line; from then on
// every form is closed at once and every question takes its default, so the call that showed the
// form returns and the runner can stop.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/script_ast.h"
#include "forms/ui_host.h"

namespace quillon::forms {

class Control;

class ScriptedUiHost : public UiHost {
 public:
  ScriptedUiHost();
  ~ScriptedUiHost() override;

  void queueBlock(script::OnBlock block);
  // An action met outside any block: queued answers and `expect message`. Other actions need a
  // form and fail.
  void perform(const script::DialogAction& action);

  // Records a failure (only the first one counts).
  void fail(script::SourcePos pos, std::string message);
  const std::optional<script::ScriptError>& failure() const { return failure_; }
  // Fails when blocks or queued answers were never used: a dialog the script waited for did not
  // come.
  void checkAllUsed();

  // Transcript lines, also handed to the sink as they come when one is set.
  const std::vector<std::string>& transcript() const { return transcript_; }
  void setTranscriptSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
  void note(std::string line);

  const std::optional<std::string>& lastMessage() const { return lastMessage_; }
  int beepCount() const { return beeps_; }

  // UiHost.
  void runModal(Form& form) override;
  void formShown(Form& form, bool modal) override;
  void formHidden(Form& form) override;
  void formUnloaded(Form& form) override;
  int messageBox(const MessageBoxRequest& request) override;
  std::optional<std::string> inputBox(const InputBoxRequest& request) override;
  std::optional<automation::DateValue> calendar(const CalendarRequest& request) override;
  std::optional<std::vector<int>> lookupList(const LookupRequest& request) override;
  std::optional<std::string> columnSettings(const ColumnSettingsRequest& request) override;
  FilterResult filterDialog(const FilterRequest& request) override;
  Menu* popupMenu(Form& form, Menu& menu) override;
  void beep() override;

 protected:
  // Runs after every action of a block, whether it held or failed; a host that draws the forms
  // refreshes them here (and may take a picture of the form).
  virtual void actionDone(Form& /*form*/, const script::DialogAction& /*action*/) {}

 private:
  struct RunningBlock {
    Form* form;
    const script::OnBlock* block;
    std::size_t next;
  };

  void execute(Form& form, const script::DialogAction& action);
  void queueAnswer(const script::DialogAction& action);
  void expectMessage(const script::DialogAction& action);
  void closeForm(Form& form);
  template <class T>
  T& controlOf(Form& form, const script::DialogAction& action, const char* kind);
  Control& anyControl(Form& form, const script::DialogAction& action);

  std::deque<script::OnBlock> blocks_;
  std::vector<RunningBlock> running_;
  std::deque<script::DialogAction> answers_;  // Answer actions
  std::deque<script::DialogAction> inputs_;
  std::deque<script::DialogAction> picks_;
  std::deque<script::DialogAction> dates_;
  std::optional<script::ScriptError> failure_;
  std::vector<std::string> transcript_;
  std::function<void(const std::string&)> sink_;
  std::optional<std::string> lastMessage_;
  int beeps_ = 0;
};

}  // namespace quillon::forms
