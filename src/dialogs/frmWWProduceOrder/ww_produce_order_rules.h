// The outsourced-order dialog's rules: its query mode and which statement serves it, what the
// voucher type changes, how header marks combine, the id lists of marked rows, the kit proportion
// of material quantities, and the material checks. No widget code.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::dialogs::ww_produce_order {

// Voucher types the dialog tells apart.
inline constexpr int kIssueVoucherType = 12;  // skips the limit-requisition check
inline constexpr int kType39 = 39;            // the X statements, one order at a time
inline constexpr int kKitVoucherType = 71;    // shows the kit quantity
inline constexpr int kConcessionTypeA = 72;   // with 77: bOriginal narrowing, concession box
inline constexpr int kConcessionTypeB = 77;

inline constexpr int kVerifiedState = 2;  // the order state every query asks for

enum class Mode { Receipt, Concession, Issue };
Mode modeOf(bool bOI, bool concessionChecked);

enum class HeaderStatement { Product1, YbjsProduct, ProductX, ProductZ };
HeaderStatement headerStatementOf(Mode mode, int voucherType);

enum class LineStatement { PoMain, YbjsPoMain, PoMainX, PoMainZ };
LineStatement lineStatementOf(Mode mode, int voucherType);

// The tables the three column sets are bound to.
inline constexpr std::string_view kHeaderTable = "OM_ProductPO";
inline constexpr std::string_view kMaterialTable = "OM_PODetails";
// The header field holding an order's number.
inline constexpr std::string_view kOrderNumberKey = "cCode";
std::string_view lineTable(bool bOI);

// Several orders may be marked at once (of one vendor) for these types; others mark one.
bool severalOrders(int voucherType);
// The bOriginal narrowing of the filter.
bool originalOnly(int voucherType, bool bIsSTQc);
bool allSwitchEnabled(int voucherType);
bool concessionBoxVisible(int voucherType);
bool kitBoxVisible(int voucherType);
bool checksLimitRequisition(int voucherType);

// Decimal places of the kit quantity box: the characters after the "." of the quantity format.
int kitDecimals(std::string_view quantityFormat);

// An account option read as text counts as set when, trimmed and in lower case, it is "true" or
// "1".
bool optionSet(std::string_view value);

// "(" + keys separated by "," + ")"; "()" when none.
std::string idList(const std::vector<std::string>& keys);
inline constexpr std::string_view kNoIds = "()";

// Whether a newly marked header may stay marked beside the others: only with the same vendor.
bool sameVendor(const std::vector<std::string>& markedVendors, std::string_view vendor);

// This time's material quantity of a kit: the product line's share taken this time applied to
// the material's quantity, as the quantity format shows it; and its pieces when the material's
// exchange rate is a number other than 0 (nullopt: keep the pieces as they are). Nothing changes
// (nullopt quantity) when the product line has no quantity or this time's is not a number.
struct KitMaterial {
  std::optional<std::string> quantity;
  std::optional<std::string> pieces;
};
KitMaterial kitMaterial(std::string_view productThisTime, std::string_view productQuantity,
                        std::string_view materialQuantity, std::string_view exchangeRate,
                        std::string_view quantityFormat);

// A number as a list cell gives it ("1,250.00"), or nullopt when the text is not one.
std::optional<double> cellNumber(std::string_view text);

// The material checks of marked product lines, from what the two probes returned: the states of
// their orders, and their limit-requisition flags (not read for voucher type 12). The message
// that stops the material list, or nullopt.
std::optional<std::string_view> stateRefusal(const std::vector<int>& states);
std::optional<std::string_view> usedRefusal(const std::vector<bool>& used);

// How a list formats the numbers of a field (the account's quantity, piece-count and exchange-rate
// formats); the header list formats none.
enum class CellFormat { Quantity, Pieces, ExchangeRate };
struct FieldFormat {
  std::string_view field;
  CellFormat format;
};
std::vector<FieldFormat> cellFormatsOf(std::string_view listName);
// What the header list shows for an order's iProperty: "外协" for 1, "自制" for 2, else as stored.
std::string propertyText(std::string_view stored);

// The form's caption after the tab strip changed to `tab`.
std::string_view captionForTab(int tab);
inline constexpr std::string_view kFormCaption = "选择委外订单和委外生产的存货";

}  // namespace quillon::dialogs::ww_produce_order
