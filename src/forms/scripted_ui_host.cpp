#include "forms/scripted_ui_host.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "automation/com_error.h"
#include "automation/names.h"
#include "forms/form.h"
#include "forms/menu.h"
#include "forms/row_source.h"
#include "forms/script_parser.h"

namespace quillon::forms {

using script::ActionKind;
using script::DialogAction;
using script::ScriptError;
using script::SourcePos;

namespace {

std::string atLine(const DialogAction& a) {
  return " (line " + std::to_string(a.pos.line) + ")";
}

}  // namespace

ScriptedUiHost::ScriptedUiHost() = default;
ScriptedUiHost::~ScriptedUiHost() = default;

void ScriptedUiHost::queueBlock(script::OnBlock block) {
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
  for (const auto* queue : {&answers_, &inputs_, &picks_, &dates_}) {
    if (!queue->empty()) {
      const DialogAction& a = queue->front();
      fail(a.pos, std::string(script::actionName(a.kind)) + " was never used: no such dialog came");
      return;
    }
  }
}

void ScriptedUiHost::perform(const DialogAction& action) {
  switch (action.kind) {
    case ActionKind::Answer:
    case ActionKind::Input:
    case ActionKind::Pick:
    case ActionKind::Date:
      queueAnswer(action);
      break;
    case ActionKind::ExpectMessage:
      expectMessage(action);
      break;
    default:
      fail(action.pos,
           std::string(script::actionName(action.kind)) + " needs a form shown by an on-block");
  }
}

void ScriptedUiHost::queueAnswer(const DialogAction& action) {
  switch (action.kind) {
    case ActionKind::Answer:
      answers_.push_back(action);
      break;
    case ActionKind::Input:
      inputs_.push_back(action);
      break;
    case ActionKind::Pick:
      picks_.push_back(action);
      break;
    default:
      dates_.push_back(action);
      break;
  }
}

void ScriptedUiHost::expectMessage(const DialogAction& action) {
  if (!lastMessage_) {
    fail(action.pos, "expected the message " + script::quoteText(action.text) +
                         ", but no message box was shown");
  } else if (*lastMessage_ != action.text) {
    fail(action.pos, "expected the message " + script::quoteText(action.text) +
                         ", the last message box said " + script::quoteText(*lastMessage_));
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

void ScriptedUiHost::runModal(Form& form) {
  if (failure_) {
    closeForm(form);
    return;
  }
  auto it = std::find_if(blocks_.begin(), blocks_.end(), [&](const script::OnBlock& b) {
    return automation::sameName(b.form, form.Name());
  });
  if (it == blocks_.end()) {
    note("form " + form.Name() + " has no script block; closed with its close box");
    closeForm(form);
    return;
  }
  // The block moves out of the queue but must outlive nested modal forms run from its actions.
  auto block = std::make_unique<script::OnBlock>(std::move(*it));
  blocks_.erase(it);
  running_.push_back({&form, block.get(), 0});
  const std::size_t depth = running_.size() - 1;
  while (!failure_ && running_[depth].next < block->actions.size()) {
    const DialogAction& action = block->actions[running_[depth].next++];
    if (!form.Loaded() || !form.Visible()) {
      fail(action.pos, std::string(script::actionName(action.kind)) + ": form " + form.Name() +
                           " is not shown any more");
      break;
    }
    try {
      execute(form, action);
    } catch (const ScriptError& e) {
      fail(e.pos(), e.message());
    } catch (const automation::ComError& e) {
      fail(action.pos, std::string(script::actionName(action.kind)) + " raised error " +
                           std::to_string(e.number()) + ": " + e.description());
    } catch (const std::exception& e) {
      fail(action.pos, std::string(script::actionName(action.kind)) + " failed: " + e.what());
    }
    actionDone(form, action);
  }
  running_.pop_back();
  if (form.Loaded() && form.Visible()) {
    if (!failure_) {
      note("form " + form.Name() + " left open by the block at line " +
           std::to_string(block->pos.line) + "; closed with its close box");
    }
    closeForm(form);
  }
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
  int answer = request.defaultAnswer();
  std::string how = " (default)";
  if (!failure_ && !answers_.empty()) {
    const DialogAction queued = answers_.front();
    answers_.pop_front();
    const auto allowed = request.answers();
    if (std::find(allowed.begin(), allowed.end(), queued.number) == allowed.end()) {
      fail(queued.pos, "answer " + answerName(queued.number) + " does not fit the message box " +
                           script::quoteText(request.prompt) + " with buttons " +
                           buttonsName(request.buttons));
    } else {
      answer = queued.number;
      how = atLine(queued);
    }
  }
  note("message " + script::quoteText(request.title) + " " + script::quoteText(request.prompt) +
       " [" + buttonsName(request.buttons) + ", " + iconName(request.icon) + "] -> " +
       answerName(answer) + how);
  return answer;
}

std::optional<std::string> ScriptedUiHost::inputBox(const InputBoxRequest& request) {
  std::optional<std::string> result;
  if (!failure_ && !inputs_.empty()) {
    const DialogAction queued = inputs_.front();
    inputs_.pop_front();
    if (!queued.cancel) result = queued.text;
  }
  note("input " + script::quoteText(request.title) + " " + script::quoteText(request.prompt) +
       " -> " + (result ? script::quoteText(*result) : std::string("cancel")));
  return result;
}

std::optional<automation::DateValue> ScriptedUiHost::calendar(const CalendarRequest& request) {
  std::optional<automation::DateValue> result;
  if (!failure_ && !dates_.empty()) {
    const DialogAction queued = dates_.front();
    dates_.pop_front();
    if (!queued.cancel) result = queued.date;
  }
  note("calendar " + script::quoteText(request.title) + " -> " +
       (result ? formatIsoDate(*result) : std::string("cancel")));
  return result;
}

std::optional<std::vector<int>> ScriptedUiHost::lookupList(const LookupRequest& request) {
  std::optional<std::vector<int>> result;
  if (!failure_ && !picks_.empty()) {
    const DialogAction queued = picks_.front();
    picks_.pop_front();
    if (!queued.cancel) {
      const int rows = request.rows != nullptr ? request.rows->rowCount() : -1;
      const auto bad = std::find_if(queued.picks.begin(), queued.picks.end(),
                                    [&](int r) { return rows >= 0 && r > rows; });
      if (bad != queued.picks.end()) {
        fail(queued.pos, "pick " + std::to_string(*bad) + ": the lookup list has " +
                             std::to_string(rows) + " rows");
      } else if (!request.multiSelect && queued.picks.size() > 1) {
        fail(queued.pos, "pick: the lookup list takes one row only");
      } else {
        result = queued.picks;
      }
    }
  }
  std::string chosen = "cancel";
  if (result) {
    chosen.clear();
    for (int r : *result) chosen += (chosen.empty() ? "" : ",") + std::to_string(r);
  }
  note("lookup " + script::quoteText(request.title) + " " + script::quoteText(request.table) +
       " -> " + chosen);
  return result;
}

std::optional<std::string> ScriptedUiHost::columnSettings(const ColumnSettingsRequest& request) {
  note("column settings " + script::quoteText(request.title) + " -> cancel");
  return std::nullopt;
}

FilterResult ScriptedUiHost::filterDialog(const FilterRequest& request) {
  note("filter " + script::quoteText(request.filterName) + " -> cancel");
  return {};
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

void ScriptedUiHost::beep() {
  ++beeps_;
  note("beep");
}

}  // namespace quillon::forms
