// The rules of the delivery-note dialog that need no widget: the items of its drop-down lists,
// the edit rules of this time's quantity and pieces, OK's sign check and "Flag", and how the bulk
// assignments collect their messages. Quantities are compared after rounding with the account's
// format pattern ("FormatQuanDecString").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::dialogs::cons {

// The items of cmbVouchType and cmbBusType, the empty item first.
std::vector<std::string> vouchTypeItems();
std::vector<std::string> busTypeItems();

// Rule 2: this time's quantity (`piecesColumn` false) or pieces whose sign differs from the
// line's quantity, named by the entered value's sign. 0 has no sign.
std::optional<std::string> signRefusal(bool piecesColumn, double value, double lineQuantity);

// What rule 3 reads of a delivery line: its quantity Q, the issued quantity and the item's
// over-issue share from its record (Null as 0), and its open quantity column.
struct DeliveryLineFigures {
  double quantity = 0;
  double issued = 0;
  double excess = 0;
  double open = 0;
};

// Rule 3 for T, this time's quantity summed over every visible row of the delivery line. With
// `overDispOut` and Q not 0: refused when (issued + T - Q) / Q > excess; otherwise when |T| exceeds
// |open|, both rounded.
std::optional<std::string> issueLimitRefusal(double total, const DeliveryLineFigures& line,
                                             bool overDispOut, std::string_view rounding);

// OK's check of a collected line: this time's quantity against the loaded quantity's sign, named
// by the entered value's sign.
std::optional<std::string> lineSignRefusal(double thisQuantity, double loadedQuantity);

// "Flag" of the result: 1 only when Check2 is checked.
int flagOf(int check2Value);

// A line's message of a bulk assignment joins the collected ones, with CR LF, unless it is empty
// or still the start text.
void collectBulkMessage(std::string& collected, std::string_view text, std::string_view start);

}  // namespace quillon::dialogs::cons
