// The production-order dialog's rules that depend on the host: which variant of the service's
// queries serves it, how chkAll starts, and the caption that follows the tab switch.
#pragma once

#include <string_view>

namespace quillon::dialogs::produce_order {

// Voucher types that change the dialog: 39 has queries of its own and always lists only open
// lines; 71 lists only orders of outsourced processing.
inline constexpr int kReceiptVoucherType = 39;
inline constexpr int kOutsourcedVoucherType = 71;

enum class QueryVariant { Plain, OI, Type39 };

// OI mode wins over the voucher type.
QueryVariant queryVariant(bool bOI, int voucherType);

// chkAll on load: enabled and checked (all-lines flag False) except for type 39, where it is
// disabled and unchecked (flag True).
struct AllLinesStart {
  bool enabled;
  bool checked;
  bool allLinesFlag;
};
AllLinesStart allLinesStart(int voucherType);

// The flag chkAll stands for: False while it is checked.
constexpr bool allLinesFlag(bool chkAllChecked) {
  return !chkAllChecked;
}

// The dialog caption after SSTab1 switched away from `previousTab`.
std::string_view captionAfterTabSwitch(int previousTab);

}  // namespace quillon::dialogs::produce_order
