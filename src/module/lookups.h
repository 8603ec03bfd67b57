// The lookup behaviour of filter fields. A field's kind is its Tag (compared in lower case):
// "rfinventory", "rfwarehouse", "rfcustomer", "rfdepartment", "rfperson", "rfvendor", "rfdate";
// "rfnull" and any other tag have no lookup and no check. A looked-up display text goes to the
// field's text; the chosen codes go to its LinkItem when the dialog asks for them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"

namespace quillon::forms {
class CommandButton;
class TextBox;
}  // namespace quillon::forms

namespace quillon::module {

inline constexpr std::string_view kDateFormatMessage = "日期格式不正确，必须按格式YYYY-MM-DD输入";
// The title of that message, wherever a date is refused (a filter field, a grid cell).
inline constexpr std::string_view kDateFormatTitle = "提示";

// Where a dialog wants the codes of the records chosen in a lookup list.
enum class LookupCodes {
  TextOnly,      // the field shows the names; LinkItem is left as it was
  IntoLinkItem,  // the codes, separated by ",", also go to the field's LinkItem
};

// The query of a record field's lookup list for the typed text `typed`, restricted to the
// permission list `permitted` when it is not empty; "" for a tag without a lookup list.
std::string LookupQuery(std::string_view tag, const std::string& typed,
                        const std::string& permitted);

// One row chosen in a lookup list: its code and name fields.
struct LookupRow {
  std::string code;
  std::string name;
};

// Shows the suite's lookup list over the rows of `query` (run on gContext's connection), titled
// `title` for the reference table `table`, and gives the code and name fields of the chosen rows
// in the order chosen (one at most without `multiSelect`); none when the list was closed without a
// choice. A query the database refuses raises its error.
std::vector<LookupRow> ChooseFromLookup(const std::string& query, std::string title,
                                        std::string table, std::string_view codeField,
                                        std::string_view nameField, bool multiSelect);

// A column of the record of a field kind (its tag) with the code `code`: what a WHERE text
// compares when it names the record by another column than its code (a vendor's short name
// "cVenAbbName"). "" when no such record is found.
std::string RecordColumn(std::string_view tag, std::string_view code, std::string_view column);

// On the field's GotFocus: places `button` inside the right end of the field (geometry in twips)
// with the lookup picture (1108 for dates, 219 otherwise) and the field's name in its Tag, and
// shows it. "rfnull" hides it. Returns true when the button was shown; an error leaves its text
// in `errText` and returns false.
bool PlaceLookupButton(forms::TextBox& field, forms::CommandButton& button, std::string& errText);

// On the button's click or F2 (only while `button` shows): the calendar for a date field, the
// lookup list of the field's record kind otherwise, restricted to what gContext permits. Chosen
// names go into the text separated by ",", their codes as `codes` says. The field gets the focus
// back. `context` is handed to the lookup as the caller's context. True when something was
// chosen; a failure leaves its text in `errText`, the field unchanged.
bool OpenLookup(const automation::Variant& context, forms::TextBox& field,
                forms::CommandButton& button, LookupCodes codes, std::string& errText);

// On the field's LostFocus: an empty field clears LinkItem; a date field must hold a date; a
// record field must name a record (by code, then by name) — its name (`wantNames`) or code
// replaces the text and its code goes to LinkItem. An invalid entry gives the message in
// `errText`, keeps the focus in the field with the text selected, and returns false.
bool CheckEntry(forms::TextBox& field, std::string& errText, bool wantNames);

// The Validate handler of date fields: a non-empty text that is not a date shows the date
// message (title "提示", critical icon), selects the text and cancels the focus change.
void ValidateDateField(forms::TextBox& field, bool& cancel);

}  // namespace quillon::module
