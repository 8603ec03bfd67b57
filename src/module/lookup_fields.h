// LookupFields: the filter fields of a dialog with their lookups (lookups.h), wired once: the
// reference button placed inside the field that gets the focus and hidden when it leaves, the
// typed entry checked on leaving (an invalid one is reported and keeps the button), F2 and the
// button opening the field's lookup, date fields validated, and the key filter that keeps
// SQL-breaking characters out of typed text. Handlers run under the dialog's error policy and
// report through its prompts.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "module/lookups.h"

namespace quillon::forms {
class CommandButton;
class DialogShell;
class TextBox;
}  // namespace quillon::forms

namespace quillon::module {

class LookupFields {
 public:
  // `button` is the dialog's one reference button; `codes` says where a lookup's chosen codes go;
  // with `showNames` a checked entry shows the record's name, else its code.
  LookupFields(forms::DialogShell& dialog, forms::CommandButton& button, LookupCodes codes,
               bool showNames);

  // Wires the fields (their Tag names their kind) and the button's Click.
  void bind(const std::vector<forms::TextBox*>& fields);
  // A field that shows another column of its record than the name once an entry is checked (a
  // customer's abbreviation, which the WHERE text compares).
  void showColumn(forms::TextBox& field, std::string column);

  // The dialog's KeyDown: F2 opens the lookup of the focused field while the button shows, and
  // the key is swallowed.
  void keyDown(int& keyCode);
  // The dialog's KeyPress.
  static void keyPress(int& keyAscii);

  // What a field stands for in a WHERE text: the codes its lookup or check found, else its text.
  static std::string codeOf(const forms::TextBox& field);
  // What a field stands for when a WHERE text compares another column of its record than the code
  // (a vendor's short name): that column of the record its lookup or check found, else its text.
  static std::string columnOf(const forms::TextBox& field, std::string_view column);

 private:
  void gotFocus(forms::TextBox& field);
  void lostFocus(forms::TextBox& field);
  void openLookup(forms::TextBox* field);
  void report(const std::string& error);

  forms::DialogShell& dialog_;
  std::vector<std::pair<forms::TextBox*, std::string>> shownColumns_;
  forms::CommandButton& button_;
  LookupCodes codes_;
  bool showNames_;
};

}  // namespace quillon::module
