#include "script/scripted_ui_host.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "automation/com_error.h"
#include "automation/names.h"
#include "forms/form.h"
#include "forms/list_export.h"
#include "forms/menu.h"
#include "forms/row_source.h"
#include "platform/registry.h"
#include "script/control_property.h"
#include "script/script_compare.h"
#include "script/script_parser.h"
#include "script/script_values.h"
#include "script/scripted_actions.h"

namespace quillon::script {

using namespace forms;

namespace {

std::string atLine(const DialogAction& a) {
  return " (line " + std::to_string(a.pos.line) + ")";
}

}  // namespace

ScriptedUiHost::ScriptedUiHost() = default;
ScriptedUiHost::~ScriptedUiHost() = default;

void ScriptedUiHost::queueBlock(OnBlock block) {
  blocks_.push_back(std::move(block));
}

void ScriptedUiHost::note(std::string line) {
  transcript_.push_back(std::move(line));
  if (sink_) sink_(transcript_.back());
}

void ScriptedUiHost::fail(SourcePos pos, std::string message) {
  if (failure_) return;
  failure_.emplace(pos, std::move(message));
  note("FAILED " + std::string(failure_->what()));
}

void ScriptedUiHost::checkAllUsed() {
  if (!blocks_.empty()) {
    const auto& b = blocks_.front();
    fail(b.pos, "the block for " + b.form + " never ran: the form was not shown modally");
    return;
  }
  for (const auto* queue : {&answers_, &inputs_, &picks_, &dates_, &filters_, &saves_}) {
    if (!queue->empty()) {
      const DialogAction& a = queue->front();
      fail(a.pos, std::string(actionName(a.kind)) + " was never used: no such dialog came");
      return;
    }
  }
}

void ScriptedUiHost::perform(const DialogAction& action) {
  if (action.kind == ActionKind::Sql || action.kind == ActionKind::ExpectValue ||
      !hostWord(action)) {
    fail(action.pos, std::string(actionName(action.kind)) + " needs a form shown by an on-block");
  }
}

bool ScriptedUiHost::hostWord(const DialogAction& action) {
  if (auto* queue = answerQueue(action.kind)) {
    queue->push_back(action);
    return true;
  }
  switch (action.kind) {
    case ActionKind::ExpectMessage:
      expectMessage(action);
      return true;
    case ActionKind::ExpectNoMessage:
      expectNoMessage(action);
      return true;
    case ActionKind::ExpectLookupRows:
      expectLookupRows(action);
      return true;
    case ActionKind::ExpectRegistry:
      expectRegistry(action);
      return true;
    case ActionKind::ExpectClipboard:
      expectClipboard(action);
      return true;
    case ActionKind::Sql:
      hostLines(action).blockSql({action.text, true}, action.pos);
      return true;
    case ActionKind::ExpectValue:
      hostLines(action).blockExpect(*action.hostExpect, action.pos);
      return true;
    default:
      return false;
  }
}

std::deque<DialogAction>* ScriptedUiHost::answerQueue(ActionKind kind) {
  switch (kind) {
    case ActionKind::Answer:
      return &answers_;
    case ActionKind::Input:
      return &inputs_;
    case ActionKind::Pick:
      return &picks_;
    case ActionKind::Date:
      return &dates_;
    case ActionKind::Filter:
      return &filters_;
    case ActionKind::Save:
      return &saves_;
    default:
      return nullptr;
  }
}

// The queued answer a dialog of this kind takes; none once the script has failed.
std::optional<DialogAction> ScriptedUiHost::nextAnswer(ActionKind kind) {
  auto* queue = answerQueue(kind);
  if (failure_ || queue == nullptr || queue->empty()) return std::nullopt;
  DialogAction queued = std::move(queue->front());
  queue->pop_front();
  return queued;
}

ScriptHostLines& ScriptedUiHost::hostLines(const DialogAction& action) {
  if (hostLines_ == nullptr) {
    throw ScriptError(action.pos, std::string(actionName(action.kind)) +
                                      " in a block needs a runner with host lines");
  }
  return *hostLines_;
}

automation::Variant ScriptedUiHost::valueOf(const ScriptValue& value) {
  using Kind = ScriptValue::Kind;
  if (value.kind == Kind::Omitted) {
    throw ScriptError(value.pos,
                      "\"-\" stands for an omitted argument and cannot be expected; use null, "
                      "nothing or \"\"");
  }
  if (value.kind != Kind::Variable && value.kind != Kind::Reference) {
    return literalValue(value);
  }
  if (hostLines_ == nullptr) {
    throw ScriptError(value.pos, sourceText(value) + ": this runner has no variables");
  }
  return hostLines_->blockValue(value);
}

automation::Variant ScriptedUiHost::readProperty(Form&, Control& control,
                                                 const DialogAction& action) {
  return controlProperty(control, action.property, action.key);
}

void ScriptedUiHost::expectMessage(const DialogAction& action) {
  const bool like = action.op == CompareOp::Like;
  const std::string wanted = (like ? "a message like " : "the message ") + quoteText(action.text);
  messagesSinceExpect_ = 0;
  if (!lastMessage_) {
    fail(action.pos, "expected " + wanted + ", but no message box was shown");
  } else if (like ? !compare(automation::Variant(*lastMessage_), action.op,
                             automation::Variant(action.text))
                  : *lastMessage_ != action.text) {
    fail(action.pos,
         "expected " + wanted + ", the last message box said " + quoteText(*lastMessage_));
  } else if (action.title && *action.title != lastTitle_) {
    fail(action.pos, "expected the message box's title " + quoteText(*action.title) + ", it was " +
                         quoteText(lastTitle_));
  }
}

void ScriptedUiHost::expectNoMessage(const DialogAction& action) {
  const int shown = messagesSinceExpect_;
  messagesSinceExpect_ = 0;
  if (shown == 0) return;
  fail(action.pos, "expected no message box, but " + std::to_string(shown) +
                       (shown == 1 ? " was" : " were") + " shown; the last said " +
                       quoteText(lastMessage_.value_or("")));
}

void ScriptedUiHost::expectLookupRows(const DialogAction& action) {
  const std::string wanted =
      "lookup.rows " + std::string(compareOpText(action.op)) + " " + std::to_string(action.number);
  if (!lookupShown_) {
    fail(action.pos, "expected " + wanted + ", but no lookup list was shown");
  } else if (!lastLookupRows_) {
    fail(action.pos, "expected " + wanted + ", but the last lookup list had no rows to count");
  } else if (!compare(automation::Variant(*lastLookupRows_), action.op,
                      automation::Variant(action.number))) {
    fail(action.pos, "expected " + wanted + ", it offered " + std::to_string(*lastLookupRows_));
  }
}

void ScriptedUiHost::expectClipboard(const DialogAction& action) {
  const automation::Variant found(forms::clipboardText());
  bool held = false;
  try {
    held = compare(found, action.op, valueOf(action.expected));
  } catch (const CompareError& e) {
    throw ScriptError(action.pos, std::string("expect clipboard: ") + e.what());
  }
  if (!held) {
    fail(action.pos, "expected clipboard " + std::string(compareOpText(action.op)) + " " +
                         sourceText(action.expected) + ", found " + valueText(found));
  }
}

void ScriptedUiHost::expectRegistry(const DialogAction& action) {
  // A missing key or value reads as Null, which only `= null` expects.
  automation::Variant found = automation::Variant::null();
  const auto registry = platform::Registry::machine();
  platform::RegistryKey key;
  if (registry.openKey(action.target, platform::RegAccess::Read, key) ==
      platform::RegStatus::Success) {
    std::string text;
    if (key.queryString(action.key, text) == platform::RegStatus::Success) {
      found = automation::Variant(text);
    }
    key.close();
  }
  const automation::Variant expected = valueOf(action.expected);
  bool held = false;
  try {
    held = compare(found, action.op, expected);
  } catch (const CompareError& e) {
    throw ScriptError(action.pos, std::string("expect registry: ") + e.what());
  }
  if (!held) {
    fail(action.pos, "expected registry " + quoteText(action.target) + " " + quoteText(action.key) +
                         " " + std::string(compareOpText(action.op)) + " " +
                         sourceText(action.expected) + ", found " + valueText(found));
  }
}

void ScriptedUiHost::closeForm(Form& form) {
  try {
    if (!form.userClose()) {
      note("form " + form.Name() + " refused to close; hidden");
      form.Hide();
    }
  } catch (const automation::ComError& e) {
    fail(running_.empty() ? SourcePos{} : running_.back().block->pos,
         "closing " + form.Name() + " raised error " + std::to_string(e.number()) + ": " +
             e.description());
    form.Hide();
  } catch (const std::exception& e) {
    fail(running_.empty() ? SourcePos{} : running_.back().block->pos,
         "closing " + form.Name() + " failed: " + e.what());
    form.Hide();
  }
}

std::unique_ptr<OnBlock> ScriptedUiHost::takeBlock(const Form& form) {
  auto it = std::find_if(blocks_.begin(), blocks_.end(), [&](const OnBlock& b) {
    return automation::sameName(b.form, form.Name());
  });
  if (it == blocks_.end()) return nullptr;
  auto block = std::make_unique<OnBlock>(std::move(*it));
  blocks_.erase(it);
  return block;
}

void ScriptedUiHost::runBlock(Form& form, const OnBlock& block) {
  running_.push_back({&form, &block, 0});
  const std::size_t depth = running_.size() - 1;
  messagesSinceExpect_ = 0;
  while (!failure_ && running_[depth].next < block.actions.size()) {
    const DialogAction& action = block.actions[running_[depth].next++];
    if (!form.Loaded() || !form.Visible()) {
      fail(action.pos, std::string(actionName(action.kind)) + ": form " + form.Name() +
                           " is not shown any more");
      break;
    }
    try {
      execute(form, action);
    } catch (const ScriptError& e) {
      fail(e.pos(), e.message());
    } catch (const automation::ComError& e) {
      fail(action.pos, std::string(actionName(action.kind)) + " raised error " +
                           std::to_string(e.number()) + ": " + e.description());
    } catch (const std::exception& e) {
      fail(action.pos, std::string(actionName(action.kind)) + " failed: " + e.what());
    }
    actionDone(form, action);
  }
  running_.pop_back();
}

void ScriptedUiHost::execute(Form& form, const DialogAction& action) {
  if (hostWord(action) || scripted::doFormAction(*this, form, action) ||
      scripted::checkFormExpectation(*this, form, action)) {
    return;
  }
  scripted::failAction(action, "is no dialog action");
}

void ScriptedUiHost::runModal(Form& form) {
  if (failure_) {
    closeForm(form);
    return;
  }
  // The block must outlive nested modal forms run from its actions.
  const auto block = takeBlock(form);
  if (!block) {
    note("form " + form.Name() + " has no script block; closed with its close box");
    closeForm(form);
    return;
  }
  runBlock(form, *block);
  if (form.Loaded() && form.Visible()) {
    if (!failure_) {
      note("form " + form.Name() + " left open by the block at line " +
           std::to_string(block->pos.line) + "; closed with its close box");
    }
    closeForm(form);
  }
}

void ScriptedUiHost::runModeless(Form& form) {
  if (failure_) {
    closeForm(form);
    return;
  }
  // A modeless form without a block simply stays open, as it would for a person.
  if (const auto block = takeBlock(form)) runBlock(form, *block);
}

void ScriptedUiHost::formShown(Form& form, bool modal) {
  note("form " + form.Name() + (modal ? " shown modally" : " shown"));
}

void ScriptedUiHost::formHidden(Form& form) {
  note("form " + form.Name() + " hidden");
}

void ScriptedUiHost::formUnloaded(Form& form) {
  note("form " + form.Name() + " unloaded");
}

int ScriptedUiHost::messageBox(const MessageBoxRequest& request) {
  lastMessage_ = request.prompt;
  lastTitle_ = request.title;
  ++messagesSinceExpect_;
  int answer = request.defaultAnswer();
  std::string how = " (default)";
  if (const auto queued = nextAnswer(ActionKind::Answer)) {
    const auto allowed = request.answers();
    if (std::find(allowed.begin(), allowed.end(), queued->number) == allowed.end()) {
      fail(queued->pos, "answer " + answerName(queued->number) + " does not fit the message box " +
                            quoteText(request.prompt) + " with buttons " +
                            buttonsName(request.buttons));
    } else {
      answer = queued->number;
      how = atLine(*queued);
    }
  }
  note("message " + quoteText(request.title) + " " + quoteText(request.prompt) + " [" +
       buttonsName(request.buttons) + ", " + iconName(request.icon) + "] -> " + answerName(answer) +
       how);
  return answer;
}

std::optional<std::string> ScriptedUiHost::inputBox(const InputBoxRequest& request) {
  std::optional<std::string> result;
  if (const auto queued = nextAnswer(ActionKind::Input); queued && !queued->cancel) {
    result = queued->text;
  }
  note("input " + quoteText(request.title) + " " + quoteText(request.prompt) + " -> " +
       (result ? quoteText(*result) : std::string("cancel")));
  return result;
}

std::optional<automation::DateValue> ScriptedUiHost::calendar(const CalendarRequest& request) {
  std::optional<automation::DateValue> result;
  if (const auto queued = nextAnswer(ActionKind::Date); queued && !queued->cancel) {
    result = queued->date;
  }
  note("calendar " + quoteText(request.title) + " -> " +
       (result ? formatIsoDate(*result) : std::string("cancel")));
  return result;
}

std::optional<std::vector<int>> ScriptedUiHost::lookupList(const LookupRequest& request) {
  std::optional<std::vector<int>> result;
  const int rows = request.rows != nullptr ? request.rows->rowCount() : -1;
  lookupShown_ = true;
  lastLookupRows_ = rows >= 0 ? std::optional<int>(rows) : std::nullopt;
  if (const auto queued = nextAnswer(ActionKind::Pick); queued && !queued->cancel) {
    const auto bad = std::find_if(queued->picks.begin(), queued->picks.end(),
                                  [&](int r) { return rows >= 0 && r > rows; });
    if (bad != queued->picks.end()) {
      fail(queued->pos, "pick " + std::to_string(*bad) + ": the lookup list has " +
                            std::to_string(rows) + " rows");
    } else if (!request.multiSelect && queued->picks.size() > 1) {
      fail(queued->pos, "pick: the lookup list takes one row only");
    } else {
      result = queued->picks;
    }
  }
  std::string chosen = "cancel";
  if (result) {
    chosen.clear();
    for (int r : *result) chosen += (chosen.empty() ? "" : ",") + std::to_string(r);
  }
  note("lookup " + quoteText(request.title) + " " + quoteText(request.table) + " -> " + chosen);
  return result;
}

std::optional<std::string> ScriptedUiHost::columnSettings(const ColumnSettingsRequest& request) {
  note("column settings " + quoteText(request.title) + " -> cancel");
  return std::nullopt;
}

FilterResult ScriptedUiHost::filterDialog(const FilterRequest& request) {
  FilterResult result;
  std::vector<FilterValue> values(request.fields.size());
  std::string typed;  // the fields as the transcript shows them
  SourcePos lastField;
  auto queued = nextAnswer(ActionKind::Filter);
  // `filter field` lines fill the dialog's fields; the next `filter` line confirms or cancels.
  for (; queued && queued->target == "field"; queued = nextAnswer(ActionKind::Filter)) {
    std::size_t i = 0;
    while (i < request.fields.size() && request.fields[i].caption != queued->key) ++i;
    if (i == request.fields.size()) {
      fail(queued->pos,
           "filter " + quoteText(request.filterName) + " has no field " + quoteText(queued->key));
      return {};
    }
    if (!queued->columnCaption.empty() && !request.fields[i].range) {
      fail(queued->pos, "filter field " + quoteText(queued->key) + " is not a range");
      return {};
    }
    values[i] = {queued->text, queued->columnCaption};
    typed += "field " + quoteText(queued->key) + " " + quoteText(queued->text) +
             (queued->columnCaption.empty() ? "" : " " + quoteText(queued->columnCaption)) + " ";
    lastField = queued->pos;
  }
  if (!typed.empty() && !queued) {
    fail(lastField, "filter field without a filter ok, text or cancel after it");
    return {};
  }
  if (queued && !queued->cancel) {
    result = {1, queued->number == vbOK ? std::string() : queued->text, std::move(values)};
  }
  std::string shown = "cancel";
  if (result.code == 1) {
    shown = typed + (queued->number == vbOK ? std::string("ok") : quoteText(result.where));
  }
  note("filter " + quoteText(request.filterName) + " -> " + shown);
  return result;
}

Menu* ScriptedUiHost::popupMenu(Form& form, Menu& menu) {
  // A person picks from a pop-up menu right after it opens: the block's next action, when it is
  // `menu` naming an item of this pop-up, is the choice.
  if (!failure_ && !running_.empty()) {
    RunningBlock& top = running_.back();
    if (top.form == &form && top.next < top.block->actions.size()) {
      const DialogAction& next = top.block->actions[top.next];
      if (next.kind == ActionKind::Menu) {
        auto* item = dynamic_cast<Menu*>(form.findControlByPath(next.target));
        if (item != nullptr && item != &menu && item->topLevel() == &menu) {
          ++top.next;
          if (!item->choosable()) {
            fail(next.pos, "menu " + next.target + " is disabled or hidden");
            return nullptr;
          }
          note("pop-up menu " + menu.Name() + " -> " + item->Name());
          return item;
        }
      }
    }
  }
  note("pop-up menu " + menu.Name() + " dismissed");
  return nullptr;
}

std::optional<std::string> ScriptedUiHost::saveFileName(const SaveFileRequest& request) {
  std::optional<std::string> chosen;
  if (const auto queued = nextAnswer(ActionKind::Save); queued && !queued->cancel) {
    chosen = queued->text;
  }
  note("save file " + quoteText(request.title) + " (" + quoteText(request.suggestedName) + ") -> " +
       (chosen ? quoteText(*chosen) : std::string("cancel")));
  return chosen;
}

void ScriptedUiHost::beep() {
  ++beeps_;
  note("beep");
}

}  // namespace quillon::script
