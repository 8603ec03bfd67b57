// The dialog lines of a script that work on a form, each done the way a person would do it
// (scripted_actions.cpp), and the expectations about a form's controls (scripted_expects.cpp).
// Internal to the scripted UI host.
#pragma once

#include <span>
#include <string>

#include "script/script_ast.h"

namespace quillon::forms {
class Control;
class Form;
class MarlinVouchList;
class MsSuperGrid;
}  // namespace quillon::forms

namespace quillon::script {

class ScriptedUiHost;

namespace scripted {

// A word done on a form, found by its kind in a table of them.
struct FormWord {
  ActionKind kind;
  void (*run)(ScriptedUiHost& host, forms::Form& form, const DialogAction& action);
};
// Runs the word of the action's kind; false when `words` has none of that kind.
bool runFormWord(std::span<const FormWord> words, ScriptedUiHost& host, forms::Form& form,
                 const DialogAction& action);

// Does the action; false when its kind is no form action. Throws ScriptError when it cannot be
// done (no such control, a hidden one, a row the list lacks).
bool doFormAction(ScriptedUiHost& host, forms::Form& form, const DialogAction& action);
// Checks the expectation, recording a failure with the host when it does not hold; false when
// the action is no expectation about the form's controls.
bool checkFormExpectation(ScriptedUiHost& host, forms::Form& form, const DialogAction& action);

[[noreturn]] void failAction(const DialogAction& action, const std::string& message);
forms::Control& anyControl(forms::Form& form, const DialogAction& action);
std::string quoted(std::string_view text);
// The column an action names by number or caption (a voucher list's also by field key).
int gridColumn(const DialogAction& action, const forms::MsSuperGrid& grid);
int vouchColumn(const DialogAction& action, const forms::MarlinVouchList& list);
// Fails unless `row` is one of the `dataRows` data rows (from 1).
void checkRow(const DialogAction& action, const forms::Control& c, int row, int dataRows);

}  // namespace scripted
}  // namespace quillon::script
