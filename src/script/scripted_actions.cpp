// The dialog actions of a script, each done the way a person would do it on the form: one small
// function for each action word, found through a table from the action's kind.
#include "script/scripted_actions.h"

#include <string>

#include "automation/utf8.h"
#include "forms/buttons.h"
#include "forms/combo_box.h"
#include "forms/form.h"
#include "forms/list_export.h"
#include "forms/list_find.h"
#include "forms/list_view.h"
#include "forms/menu.h"
#include "forms/numeric_edit.h"
#include "forms/row_order.h"
#include "forms/static_controls.h"
#include "forms/super_grid.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "forms/toolbar.h"
#include "forms/tree_view.h"
#include "forms/vouch_list.h"
#include "script/script_parser.h"
#include "script/scripted_ui_host.h"

namespace quillon::script::scripted {

using namespace forms;

std::string quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

void failAction(const DialogAction& a, const std::string& message) {
  throw ScriptError(a.pos, std::string(actionName(a.kind)) + " " + message);
}

Control& anyControl(Form& form, const DialogAction& action) {
  Control* c = form.findControlByPath(action.target);
  if (c == nullptr) failAction(action, "form " + form.Name() + " has no control " + action.target);
  return *c;
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

void checkRow(const DialogAction& a, const Control& c, int row, int dataRows) {
  if (row < 1 || row > dataRows) {
    failAction(a, c.Name() + " has no data row " + std::to_string(row) + " (it has " +
                      std::to_string(dataRows) + ")");
  }
}

namespace {

template <class T>
T& controlOf(Form& form, const DialogAction& action, const char* kind) {
  Control& c = anyControl(form, action);
  auto* typed = dynamic_cast<T*>(&c);
  if (typed == nullptr) failAction(action, action.target + " is not " + kind);
  return *typed;
}

void requireReachable(const DialogAction& a, const Control& c) {
  if (!c.isReachable()) failAction(a, c.qualifiedName() + ": the control is hidden or disabled");
}

// A reachable control of the action, which then has the focus.
void focusFor(Form& form, const DialogAction& a, Control& c) {
  requireReachable(a, c);
  if (!form.moveFocus(c)) failAction(a, c.Name() + " could not take the focus");
}

std::string atLine(const DialogAction& a) {
  return " (line " + std::to_string(a.pos.line) + ")";
}

std::string focusHolder(const Form& form) {
  Control* c = form.ActiveControl();
  return c != nullptr ? c->qualifiedName() : std::string("the form");
}

// ---- one function for each action

void type(ScriptedUiHost&, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  if (!c.acceptsTyping()) failAction(a, c.qualifiedName() + " cannot be typed into");
  requireReachable(a, c);
  Control* before = form.ActiveControl();
  if (!form.moveFocus(c)) {
    failAction(
        a, c.qualifiedName() + " could not take the focus" +
               (before != nullptr ? " (" + before->qualifiedName() + " kept it)" : std::string()));
  }
  c.userClearText();
  for (char32_t ch : automation::utf8::decode(a.text)) form.userKeyPress(static_cast<int>(ch));
}

void focus(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  if (!c.canFocus()) failAction(a, c.qualifiedName() + " cannot take the focus");
  requireReachable(a, c);
  if (!form.moveFocus(c)) host.note("focus stayed on " + focusHolder(form) + atLine(a));
}

void key(ScriptedUiHost&, Form& form, const DialogAction& a) {
  form.userKey(a.keyCode, a.shift, a.keyAscii);
}

void click(ScriptedUiHost& host, Form& form, const DialogAction& a) {
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
    host.note("click on " + c.qualifiedName() + " did not happen: " + focusHolder(form) +
              " kept the focus" + atLine(a));
  }
}

void check(ScriptedUiHost&, Form& form, const DialogAction& a) {
  auto& box = controlOf<CheckBox>(form, a, "a check box");
  focusFor(form, a, box);
  box.setValue(*a.on ? vbChecked : vbUnchecked);
}

// mark and select: the same rows, toggled or only made current.
void markOrSelect(ScriptedUiHost&, Form& form, const DialogAction& a) {
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
}

void cell(ScriptedUiHost& host, Form& form, const DialogAction& a) {
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
    host.note("cell " + c.Name() + "[" + std::to_string(a.row) + "," + std::to_string(col) +
              "] cannot be edited" + atLine(a));
  }
}

void button(ScriptedUiHost&, Form& form, const DialogAction& a) {
  auto& grid = controlOf<MsSuperGrid>(form, a, "a grid with cell buttons");
  requireReachable(a, grid);
  checkRow(a, grid, a.row, grid.Rows() - 1);
  const int col = gridColumn(a, grid);
  if (!grid.ColButton(col)) {
    failAction(a, grid.Name() + " shows no button in column " + std::to_string(col));
  }
  if (!grid.userCellButton(a.row, col)) failAction(a, grid.Name() + " refused the button");
}

void rightClick(ScriptedUiHost&, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  requireReachable(a, c);
  c.userMouseUp(vbRightButton);
}

void tab(ScriptedUiHost&, Form& form, const DialogAction& a) {
  auto& strip = controlOf<CorvidXTabStrip>(form, a, "a tab control");
  requireReachable(a, strip);
  if (a.number >= strip.Tabs())
    failAction(a, strip.Name() + " has no tab " + std::to_string(a.number));
  if (!strip.userSelectTab(a.number)) {
    failAction(a, "tab " + std::to_string(a.number) + " of " + strip.Name() + " is not available");
  }
}

void choose(ScriptedUiHost&, Form& form, const DialogAction& a) {
  auto& combo = controlOf<ComboBox>(form, a, "a combo box");
  focusFor(form, a, combo);
  combo.userDropDown();
  if (!combo.userChoose(a.text)) failAction(a, combo.Name() + " has no item " + quoted(a.text));
}

void menu(ScriptedUiHost&, Form& form, const DialogAction& a) {
  auto& item = controlOf<Menu>(form, a, "a menu item");
  Menu* top = item.topLevel();
  if (top != &item && !top->Visible()) {
    failAction(a,
               item.Name() + " belongs to the pop-up menu " + top->Name() + ", which is not open");
  }
  if (!item.userChoose()) failAction(a, item.Name() + " is disabled or hidden");
}

// The suite's toolbar control when one shows the button, else a standard toolbar.
void toolbar(ScriptedUiHost&, Form& form, const DialogAction& a) {
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

void node(ScriptedUiHost&, Form& form, const DialogAction& a) {
  auto& tree = controlOf<TreeView>(form, a, "a tree");
  requireReachable(a, tree);
  if (tree.findNode(a.text) == nullptr) failAction(a, tree.Name() + " has no node " + a.text);
  if (a.on) {
    if (!tree.Checkboxes()) failAction(a, tree.Name() + " has no check boxes");
    if (!tree.userCheckNode(a.text, *a.on)) failAction(a, tree.Name() + " refused the check");
  } else if (!tree.userClickNode(a.text)) {
    failAction(a, tree.Name() + " refused the click");
  }
}

// What the list's pop-up menu exports: every row and column that shows, as a CSV file.
void exportList(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  requireReachable(a, c);
  const std::optional<ListTable> table = listTable(c, ListRows::All);
  if (!table) failAction(a, c.qualifiedName() + " is not a list");
  if (const auto error = writeCsvFile(a.text, *table)) failAction(a, *error);
  host.note("exported " + std::to_string(table->rows.size()) + " rows of " + c.Name() + " to " +
            quoted(a.text));
}

// A person's clicks on a column's header, as many as it takes to sort the list that way.
void sortListRows(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  requireReachable(a, c);
  const bool descending = !a.on.value_or(true);
  if (const auto error = forms::sortList(c, a.columnCaption, descending)) failAction(a, *error);
  host.note("sorted " + c.Name() + " by " + quoted(a.columnCaption) +
            (descending ? " descending" : ""));
}

// What a person types into the list's find field (Ctrl+F), and Enter there for `next`.
void findInList(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  requireReachable(a, c);
  if (!listTable(c, ListRows::All)) failAction(a, c.qualifiedName() + " is not a list");
  const auto row = forms::findRow(c, a.text, a.on.value_or(false));
  if (!row) {
    host.note("no row of " + c.Name() + " shows " + quoted(a.text));
    host.beep();
    return;
  }
  forms::locateRow(c, *row);
  const int matches = forms::countMatches(c, a.text);
  host.note("found " + quoted(a.text) + " in " + c.Name() + " row " + std::to_string(*row) + " (" +
            std::to_string(matches) + (matches == 1 ? " matching row)" : " matching rows)"));
}

// What a scanner types into a line grid's scan field, ended by Enter.
void scanIntoList(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  Control& c = anyControl(form, a);
  requireReachable(a, c);
  auto* grid = dynamic_cast<MsSuperGrid*>(&c);
  if (grid == nullptr || !grid->hasScanField()) {
    failAction(a, c.qualifiedName() + " has no scan field");
  }
  const std::optional<int> row = grid->userScan(a.text);
  if (!row) failAction(a, c.qualifiedName() + " has no scan field");
  if (*row == 0) {
    host.note("no line of " + c.Name() + " took " + quoted(a.text));
    return;
  }
  host.note("scanned " + quoted(a.text) + " into " + c.Name() + " row " + std::to_string(*row));
}

void close(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  if (!form.userClose()) host.note("form " + form.Name() + " refused to close" + atLine(a));
}

constexpr FormWord kFormActions[] = {
    {ActionKind::Type, type},
    {ActionKind::Focus, focus},
    {ActionKind::Key, key},
    {ActionKind::Click, click},
    {ActionKind::Check, check},
    {ActionKind::Mark, markOrSelect},
    {ActionKind::Select, markOrSelect},
    {ActionKind::Cell, cell},
    {ActionKind::Button, button},
    {ActionKind::RClick, rightClick},
    {ActionKind::Tab, tab},
    {ActionKind::Choose, choose},
    {ActionKind::Menu, menu},
    {ActionKind::Toolbar, toolbar},
    {ActionKind::Node, node},
    {ActionKind::Close, close},
    {ActionKind::Export, exportList},
    {ActionKind::Sort, sortListRows},
    {ActionKind::Find, findInList},
    {ActionKind::Scan, scanIntoList},
};

}  // namespace

bool runFormWord(std::span<const FormWord> words, ScriptedUiHost& host, Form& form,
                 const DialogAction& a) {
  for (const auto& word : words) {
    if (word.kind != a.kind) continue;
    word.run(host, form, a);
    return true;
  }
  return false;
}

bool doFormAction(ScriptedUiHost& host, Form& form, const DialogAction& a) {
  return runFormWord(kFormActions, host, form, a);
}

}  // namespace quillon::script::scripted
