// The rules of the order and arrival-note dialog that need no widget: the edition and business
// type rules of the consignment box, the tab-switch question, the edit rules of this time's
// quantity and pieces on order and arrival-note lines, and what OK returns. Quantities are compared
// after rounding with the account's format pattern ("FormatQuanDecString" / "FormatNumDecString").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::dialogs::stock_order {

// chkBusType can be used outside the industrial edition only.
bool consignmentBoxEnabled(std::string_view sysVersion);
bool isCommercial(std::string_view sysVersion);

// The items of cmbBusType: "", "普通采购", and "受托代销" in the commercial edition.
std::vector<std::string> businessTypes(bool commercial);

// chkBusType after a business type was chosen: grey (2) and disabled for "受托代销", unchecked
// and enabled for anything else in the commercial edition; untouched (nullopt) otherwise.
struct ConsignmentBox {
  int value;
  bool enabled;
};
std::optional<ConsignmentBox> consignmentBoxAfter(std::string_view busType, bool commercial);

// Only consignment items: the commercial edition with chkBusType checked or grey.
bool consignmentOnly(bool commercial, int consignmentBoxValue);

// The question of a tab switch coming from `previousTab`; none while the dialog itself turns the
// tab back, and none on the first display.
std::optional<std::string_view> tabSwitchQuestion(int previousTab, bool suppressed,
                                                  bool firstDisplay);

// ---- edit rules of this time's columns. A refusal is its message; nullopt accepts.

// An order line's figures that its rules read: iReceivedQTY / iReceivedNUM, the order quantity,
// the item's over-receipt share fInExcess, and the open quantity column.
struct OrderLineFigures {
  double received = 0;
  double receivedPieces = 0;
  double orderQuantity = 0;
  double excess = 0;
  double openQuantity = 0;
};

// Rule 3, lines of a floating unit group (igrouptype 2): quantity and pieces must not have
// opposite signs.
std::optional<std::string> piecesSignFirst(int groupType, double newQuantity, double thisPieces);

// Rules 6 and 7 for the quantity column (`piecesColumn` false) or the pieces column (true).
// With `overOrder` a positive quantity may exceed the open quantity up to the order quantity
// plus its excess share: refused when (T + R - Q) / Q > E.
std::optional<std::string> orderLineEdit(bool piecesColumn, double newValue,
                                         const OrderLineFigures& line, bool overOrder,
                                         std::string_view quantityRounding);

// Arrival-note lines: this time's quantity (`piecesColumn` false) or pieces keep the sign of the
// value before the edit and stay within what is open, by magnitude.
std::optional<std::string> arrivalLineEdit(bool piecesColumn, double newValue, double oldValue,
                                           double openValue, std::string_view rounding);

// The refusal of OK when the active tab's head list has no current data row.
std::string_view emptyHeadMessage(int tab);

// The business type of a returned order head: an empty one becomes "普通采购", or "受托代销"
// when chkBusType is not unchecked.
std::string headBusinessType(std::string_view busType, int consignmentBoxValue);

// "bAll" of a returned arrival line: taken whole when this time's quantity is its quantity.
bool takenWhole(double loadedQuantity, double thisQuantity, std::string_view rounding);

}  // namespace quillon::dialogs::stock_order
