// Workstation and account settings: the toolbar style kept in the machine registry, registry
// writes of the dialogs' last choices, account parameters, the per-workstation work-table suffix
// and the optional desktop-style hook every dialog runs after loading.
#pragma once

#include <string>
#include <string_view>

namespace quillon::ado {
class Connection;
}
namespace quillon::forms {
class CTBCtrl;
class Form;
class Toolbar;
}  // namespace quillon::forms

namespace quillon::module {

inline constexpr std::string_view kAppearanceKey = "SOFTWARE\\Brindle\\WF\\V8.520\\Appearance";
inline constexpr std::string_view kToolbarStyleValue = "Toolbar Style";
inline constexpr std::string_view kChoicesKey = "SOFTWARE\\Brindle\\WF\\V8.520\\KCGL";

// 1 when "Toolbar Style" starts with "T" or is missing (key or value); 2 for any other text,
// the empty one included.
int ToolbarStyle();

// Shows the dialog's buttons by the toolbar style: style 1 binds the suite's toolbar to the hidden
// button source and shows it; style 2 shows the button source itself.
void ApplyToolbarStyle(forms::CTBCtrl& suiteToolbar, forms::Toolbar& buttons);

// Writes a string value, creating the key when it is missing. Failures are silent: the setting
// keeps its default next time.
void WriteRegistry(std::string_view keyPath, std::string_view valueName, std::string_view text);

// The query of an account parameter: cValue, else cDefault, else "".
std::string AccountParameterQuery(std::string_view sysId, std::string_view name);

// The account parameter `name` of subsystem `sysId` (cValue, else cDefault, else ""). True with
// the value when the parameter exists; false, and `value` untouched, when it does not.
bool GetAccountParameter(std::string_view sysId, std::string_view name, std::string& value,
                         ado::Connection& connection);

// Computer name, "_", then the terminal session id ("" when the terminal component is missing or
// fails), made one name by sql::identifier: "-" turned into "_" (PC-01 in session 3 gives
// PC_01_3), any other character outside [A-Za-z0-9_] mapped so that the name stays valid.
std::string WorkTableSuffix();

// Hands the form to "XPStyle.clsXPStyleProxy".setfrmform and shows a non-empty answer in a
// message box. Nothing is trapped: a missing component fails the dialog's load.
void ApplyDialogStyle(forms::Form& form);

}  // namespace quillon::module
