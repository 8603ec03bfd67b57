// The caption tables of the reference lists: for each list, the visible fields (by lower-case
// name) and their column titles. Fields a table does not name are hidden.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon::module {

enum class ListKind {
  Unknown,
  Parent,     // lstParent: production-order heads
  Sub,        // lstSub: product lines
  Child,      // lstChild: materials
  FhdHead,    // lstFhdHead: delivery-note heads
  FhdBody,    // lstFhdBody: delivery-note lines
  OrderHead,  // lstDdHead, lstDhdHead: order and arrival-note heads
  OrderBody,  // lstDdBody, lstDhdBody: their lines
};

// The table a list's control name selects (compared without regard to case).
ListKind listKindOf(std::string_view controlName);

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
