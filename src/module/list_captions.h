// The caption tables of the reference lists: for each kind of list, the visible fields (by
// lower-case name) and their column titles. Fields a table does not name are hidden. The dialog
// that owns a list says which kind it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::module {

enum class ListKind {
  Parent,        // production-order heads (report list)
  Sub,           // their product lines (report list)
  Child,         // the materials of a product line (report list)
  DeliveryHead,  // delivery-note heads (grid)
  DeliveryBody,  // delivery-note lines (grid)
  OrderHead,     // order and arrival-note heads (grid)
  OrderBody,     // their lines (grid)
};

bool isReportList(ListKind kind);
bool isHeadList(ListKind kind);
// Lists whose "cfree*" fields are captioned as free items (the line and body lists).
bool captionsFreeItems(ListKind kind);

// The caption of a field in a list; nullopt when the field is hidden. `voucherType` decides the
// product-line quantity caption.
std::optional<std::string> captionOf(ListKind kind, std::string_view fieldName, int voucherType);

// Width of the planned-arrival-date column of the order and arrival-note body grids.
inline constexpr int kPlannedArrivalWidth = 1152;

}  // namespace quillon::module
