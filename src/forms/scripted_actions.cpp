// The dialog actions of a script, each done the way a person would do it on the form.
#include <string>

#include "forms/buttons.h"
#include "forms/combo_box.h"
#include "forms/form.h"
#include "forms/list_view.h"
#include "forms/menu.h"
#include "forms/numeric_edit.h"
#include "forms/scripted_ui_host.h"
#include "forms/static_controls.h"
#include "forms/super_grid.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "forms/toolbar.h"
#include "forms/tree_view.h"
#include "forms/utf8.h"
#include "forms/vouch_list.h"

namespace quillon::forms {

using script::ActionKind;
using script::DialogAction;
using script::ScriptError;

namespace {

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

[[noreturn]] void failAction(const DialogAction& a, const std::string& message) {
  throw ScriptError(a.pos, std::string(script::actionName(a.kind)) + " " + message);
}

void requireReachable(const DialogAction& a, const Control& c) {
  if (!c.isReachable()) failAction(a, c.qualifiedName() + ": the control is hidden or disabled");
}

int gridColumn(const DialogAction& a, const MsSuperGrid& grid) {
  if (a.columnNumber) {
    if (*a.columnNumber >= grid.Cols()) {
      failAction(a, grid.Name() + " has no column " + std::to_string(*a.columnNumber));
    }
    return *a.columnNumber;
  }
  const int col = grid.colByCaption(a.columnCaption);
  if (col < 0) failAction(a, grid.Name() + " has no column captioned " + quoted(a.columnCaption));
  return col;
}

int vouchColumn(const DialogAction& a, const MarlinVouchList& list) {
  if (a.columnNumber) {
    if (*a.columnNumber >= list.Cols()) {
      failAction(a, list.Name() + " has no column " + std::to_string(*a.columnNumber));
    }
    return *a.columnNumber;
  }
  for (int c = 1; c < list.Cols(); ++c) {
    if (list.TextMatrix(0, c) == a.columnCaption) return c;
  }
  const int byKey = list.colIndex(a.columnCaption);
  if (byKey < 0) failAction(a, list.Name() + " has no column " + quoted(a.columnCaption));
  return byKey;
}

int listColumn(const DialogAction& a, const ListView& list) {
  if (a.columnNumber) {
    if (*a.columnNumber > list.columnCount() && *a.columnNumber > 1) {
      failAction(a, list.Name() + " has no column " + std::to_string(*a.columnNumber));
    }
    return *a.columnNumber;
  }
  const int col = list.columnByText(a.columnCaption);
  if (col == 0) failAction(a, list.Name() + " has no column headed " + quoted(a.columnCaption));
  return col;
}

void checkRow(const DialogAction& a, const Control& c, int row, int dataRows) {
  if (row < 1 || row > dataRows) {
    failAction(a, c.Name() + " has no data row " + std::to_string(row) + " (it has " +
                      std::to_string(dataRows) + ")");
  }
}

}  // namespace

Control& ScriptedUiHost::anyControl(Form& form, const DialogAction& action) {
  Control* c = form.findControlByPath(action.target);
  if (c == nullptr) failAction(action, "form " + form.Name() + " has no control " + action.target);
  return *c;
}

template <class T>
T& ScriptedUiHost::controlOf(Form& form, const DialogAction& action, const char* kind) {
  Control& c = anyControl(form, action);
  auto* typed = dynamic_cast<T*>(&c);
  if (typed == nullptr) failAction(action, action.target + " is not " + kind);
  return *typed;
}

void ScriptedUiHost::execute(Form& form, const DialogAction& a) {
  switch (a.kind) {
    case ActionKind::Type: {
      Control& c = anyControl(form, a);
      if (!c.acceptsTyping()) failAction(a, c.qualifiedName() + " cannot be typed into");
      requireReachable(a, c);
      Control* before = form.ActiveControl();
      if (!form.moveFocus(c)) {
        failAction(a, c.qualifiedName() + " could not take the focus" +
                          (before != nullptr ? " (" + before->qualifiedName() + " kept it)"
                                             : std::string()));
      }
      c.userClearText();
      for (char32_t ch : utf8::decode(a.text)) form.userKeyPress(static_cast<int>(ch));
      break;
    }
    case ActionKind::Focus: {
      Control& c = anyControl(form, a);
      if (!c.canFocus()) failAction(a, c.qualifiedName() + " cannot take the focus");
      requireReachable(a, c);
      if (!form.moveFocus(c)) {
        Control* kept = form.ActiveControl();
        note("focus stayed on " +
             (kept != nullptr ? kept->qualifiedName() : std::string("the form")) + " (line " +
             std::to_string(a.pos.line) + ")");
      }
      break;
    }
    case ActionKind::Key:
      form.userKey(a.keyCode, a.shift, a.keyAscii);
      break;
    case ActionKind::Click: {
      Control& c = anyControl(form, a);
      requireReachable(a, c);
      bool done = true;
      if (auto* b = dynamic_cast<CommandButton*>(&c)) {
        done = b->userClick();
      } else if (auto* k = dynamic_cast<CheckBox*>(&c)) {
        done = k->userClick();
      } else if (auto* o = dynamic_cast<OptionButton*>(&c)) {
        done = o->userClick();
      } else if (auto* l = dynamic_cast<Label*>(&c)) {
        if (l->Click) l->Click();
      } else {
        failAction(a, c.qualifiedName() + " is not a button, check box, option or label");
      }
      if (!done) {
        Control* kept = form.ActiveControl();
        note("click on " + c.qualifiedName() + " did not happen: " +
             (kept != nullptr ? kept->qualifiedName() : std::string("the form")) +
             " kept the focus (line " + std::to_string(a.pos.line) + ")");
      }
      break;
    }
    case ActionKind::Check: {
      auto& box = controlOf<CheckBox>(form, a, "a check box");
      requireReachable(a, box);
      if (!form.moveFocus(box)) failAction(a, box.Name() + " could not take the focus");
      box.setValue(*a.on ? vbChecked : vbUnchecked);
      break;
    }
    case ActionKind::Mark:
    case ActionKind::Select: {
      Control& c = anyControl(form, a);
      requireReachable(a, c);
      const bool mark = a.kind == ActionKind::Mark;
      if (auto* list = dynamic_cast<ListView*>(&c)) {
        checkRow(a, c, a.row, list->itemCount());
        if (mark && !list->Checkboxes()) failAction(a, c.Name() + " has no check boxes");
        if (!(mark ? list->userCheck(a.row) : list->userClickItem(a.row))) {
          failAction(a, c.Name() + " refused the action");
        }
      } else if (auto* grid = dynamic_cast<MsSuperGrid*>(&c)) {
        checkRow(a, c, a.row, grid->Rows() - 1);
        if (mark) {
          // The mark column is the grid's own; the form toggles the "Y" on the click.
          if (!grid->userClickCell(a.row, 0)) failAction(a, c.Name() + " refused the click");
        } else {
          if (!form.moveFocus(*grid)) failAction(a, c.Name() + " could not take the focus");
          grid->userSelectCell(a.row, grid->Col() >= 1 ? grid->Col() : (grid->Cols() > 1 ? 1 : 0));
        }
      } else if (auto* vouch = dynamic_cast<MarlinVouchList*>(&c)) {
        checkRow(a, c, a.row, vouch->Rows() - 1);
        if (!(mark ? vouch->userMark(a.row) : vouch->userSelectRow(a.row))) {
          failAction(a, c.Name() + " refused the action");
        }
      } else {
        failAction(a, c.qualifiedName() + " is not a list");
      }
      break;
    }
    case ActionKind::Cell: {
      Control& c = anyControl(form, a);
      requireReachable(a, c);
      bool edited = false;
      int col = 0;
      if (auto* grid = dynamic_cast<MsSuperGrid*>(&c)) {
        checkRow(a, c, a.row, grid->Rows() - 1);
        col = gridColumn(a, *grid);
        edited = grid->userEditCell(a.row, col, a.text);
      } else if (auto* vouch = dynamic_cast<MarlinVouchList*>(&c)) {
        checkRow(a, c, a.row, vouch->Rows() - 1);
        col = vouchColumn(a, *vouch);
        edited = vouch->userEditCell(a.row, col, a.text);
      } else {
        failAction(a, c.qualifiedName() + " is not a grid");
      }
      if (!edited) {
        note("cell " + c.Name() + "[" + std::to_string(a.row) + "," + std::to_string(col) +
             "] cannot be edited (line " + std::to_string(a.pos.line) + ")");
      }
      break;
    }
    case ActionKind::RClick: {
      Control& c = anyControl(form, a);
      requireReachable(a, c);
      c.userMouseUp(vbRightButton);
      break;
    }
    case ActionKind::Tab: {
      auto& strip = controlOf<CorvidXTabStrip>(form, a, "a tab control");
      requireReachable(a, strip);
      if (a.number >= strip.Tabs()) {
        failAction(a, strip.Name() + " has no tab " + std::to_string(a.number));
      }
      if (!strip.userSelectTab(a.number)) {
        failAction(a,
                   "tab " + std::to_string(a.number) + " of " + strip.Name() + " is not available");
      }
      break;
    }
    case ActionKind::Choose: {
      auto& combo = controlOf<ComboBox>(form, a, "a combo box");
      requireReachable(a, combo);
      if (!form.moveFocus(combo)) failAction(a, combo.Name() + " could not take the focus");
      combo.userDropDown();
      if (!combo.userChoose(a.text)) failAction(a, combo.Name() + " has no item " + quoted(a.text));
      break;
    }
    case ActionKind::Menu: {
      auto& item = controlOf<Menu>(form, a, "a menu item");
      Menu* top = item.topLevel();
      if (top != &item && !top->Visible()) {
        failAction(
            a, item.Name() + " belongs to the pop-up menu " + top->Name() + ", which is not open");
      }
      if (!item.userChoose()) failAction(a, item.Name() + " is disabled or hidden");
      break;
    }
    case ActionKind::Toolbar: {
      // The suite's toolbar control when one shows the button, else a standard toolbar.
      for (Control* c : form.controls()) {
        auto* ctb = dynamic_cast<CTBCtrl*>(c);
        if (ctb == nullptr || !ctb->isReachable() || ctb->toolbar() == nullptr ||
            ctb->toolbar()->findButton(a.text) == nullptr) {
          continue;
        }
        if (!ctb->userPress(a.text)) failAction(a, "button " + a.text + " is disabled or hidden");
        return;
      }
      for (Control* c : form.controls()) {
        auto* bar = dynamic_cast<Toolbar*>(c);
        if (bar == nullptr || !bar->isReachable() || bar->findButton(a.text) == nullptr) continue;
        if (!bar->userPress(a.text)) failAction(a, "button " + a.text + " is disabled or hidden");
        return;
      }
      failAction(a, "no toolbar showing on " + form.Name() + " has a button " + a.text);
    }
    case ActionKind::Node: {
      auto& tree = controlOf<TreeView>(form, a, "a tree");
      requireReachable(a, tree);
      if (tree.findNode(a.text) == nullptr) failAction(a, tree.Name() + " has no node " + a.text);
      if (a.on) {
        if (!tree.Checkboxes()) failAction(a, tree.Name() + " has no check boxes");
        if (!tree.userCheckNode(a.text, *a.on)) failAction(a, tree.Name() + " refused the check");
      } else if (!tree.userClickNode(a.text)) {
        failAction(a, tree.Name() + " refused the click");
      }
      break;
    }
    case ActionKind::Answer:
    case ActionKind::Input:
    case ActionKind::Pick:
    case ActionKind::Date:
      queueAnswer(a);
      break;
    case ActionKind::ExpectMessage:
      expectMessage(a);
      break;
    case ActionKind::ExpectText: {
      Control* c = form.findControlByPath(a.target);
      std::string actual;
      if (c != nullptr) {
        actual = c->displayText();
      } else if (a.target == form.Name()) {
        actual = form.Caption();
      } else {
        failAction(a, "form " + form.Name() + " has no control " + a.target);
      }
      if (actual != a.text) {
        fail(a.pos, "expected " + a.target + " to read " + quoted(a.text) + ", it reads " +
                        quoted(actual));
      }
      break;
    }
    case ActionKind::ExpectCell: {
      Control& c = anyControl(form, a);
      std::string actual;
      if (auto* grid = dynamic_cast<MsSuperGrid*>(&c)) {
        if (a.row >= grid->Rows()) failAction(a, c.Name() + " has no row " + std::to_string(a.row));
        actual = grid->TextMatrix(gridColumn(a, *grid), a.row);
      } else if (auto* vouch = dynamic_cast<MarlinVouchList*>(&c)) {
        if (a.row >= vouch->Rows())
          failAction(a, c.Name() + " has no row " + std::to_string(a.row));
        actual = vouch->TextMatrix(a.row, vouchColumn(a, *vouch));
      } else if (auto* list = dynamic_cast<ListView*>(&c)) {
        const int col = listColumn(a, *list);
        if (a.row == 0) {
          actual = col >= 1 ? list->column(col).text : std::string();
        } else {
          checkRow(a, c, a.row, list->itemCount());
          actual = list->cellText(a.row, col);
        }
      } else {
        failAction(a, c.qualifiedName() + " has no cells");
      }
      if (actual != a.text) {
        fail(a.pos, "expected " + a.target + "[" + std::to_string(a.row) + "," +
                        (a.columnNumber ? std::to_string(*a.columnNumber) : a.columnCaption) +
                        "] to read " + quoted(a.text) + ", it reads " + quoted(actual));
      }
      break;
    }
    case ActionKind::ExpectRows: {
      Control& c = anyControl(form, a);
      int rows = 0;
      if (auto* list = dynamic_cast<ListView*>(&c)) {
        rows = list->itemCount();
      } else if (auto* grid = dynamic_cast<MsSuperGrid*>(&c)) {
        rows = grid->visibleDataRows();
      } else if (auto* vouch = dynamic_cast<MarlinVouchList*>(&c)) {
        rows = vouch->Rows() - 1;
      } else if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
        rows = combo->ListCount();
      } else if (auto* tree = dynamic_cast<TreeView*>(&c)) {
        rows = tree->count();
      } else {
        failAction(a, c.qualifiedName() + " is not a list");
      }
      if (rows != a.number) {
        fail(a.pos, "expected " + a.target + " to show " + std::to_string(a.number) +
                        " rows, it shows " + std::to_string(rows));
      }
      break;
    }
    case ActionKind::Close:
      if (!form.userClose())
        note("form " + form.Name() + " refused to close (line " + std::to_string(a.pos.line) + ")");
      break;
  }
}

}  // namespace quillon::forms
