#include "forms/list_find.h"

#include "automation/text_compare.h"
#include "forms/list_view.h"
#include "forms/super_grid.h"
#include "forms/vouch_list.h"

namespace quillon::forms {

namespace {

using automation::containsNoCase;

// The list's data rows (hidden ones too), its current row and the order it shows them in; a
// control of no list kind has no rows.
struct ListRows {
  int count = 0;
  int current = 0;
  const RowOrder* order = nullptr;
};

ListRows rowsOf(const Control& list) {
  if (const auto* grid = dynamic_cast<const MsSuperGrid*>(&list)) {
    return {grid->Rows() - 1, grid->Row(), &grid->rowOrder()};
  }
  if (const auto* vouch = dynamic_cast<const MarlinVouchList*>(&list)) {
    return {vouch->Rows() - 1, vouch->Row(), &vouch->rowOrder()};
  }
  if (const auto* view = dynamic_cast<const ListView*>(&list)) {
    const int current = view->SelectedItem() != nullptr ? view->SelectedItem()->Index() : 0;
    return {view->itemCount(), current, &view->rowOrder()};
  }
  return {};
}

}  // namespace

bool rowHolds(const Control& list, int row, std::string_view text) {
  if (text.empty() || row < 1) return false;
  if (const auto* grid = dynamic_cast<const MsSuperGrid*>(&list)) {
    if (row >= grid->Rows() || grid->RowHeight(row) == 0) return false;
    for (int c = 1; c < grid->Cols(); ++c) {
      if (grid->ColWidth(c) != 0 && containsNoCase(grid->TextMatrix(c, row), text)) return true;
    }
    return false;
  }
  if (const auto* vouch = dynamic_cast<const MarlinVouchList*>(&list)) {
    if (row >= vouch->Rows()) return false;
    for (int c = 1; c < vouch->Cols(); ++c) {
      if (vouch->columns()[static_cast<std::size_t>(c - 1)].width != 0 &&
          containsNoCase(vouch->TextMatrix(row, c), text)) {
        return true;
      }
    }
    return false;
  }
  if (const auto* view = dynamic_cast<const ListView*>(&list)) {
    if (row > view->itemCount()) return false;
    for (int c = 1; c <= view->columnCount(); ++c) {
      if (view->column(c).width != 0 && containsNoCase(view->cellText(row, c), text)) return true;
    }
  }
  return false;
}

std::optional<int> findRow(const Control& list, std::string_view text, bool after) {
  if (text.empty()) return std::nullopt;
  return findRowWhere(list, after, [&](int row) { return rowHolds(list, row, text); });
}

std::optional<int> findRowWhere(const Control& list, bool after,
                                const std::function<bool(int row)>& matches) {
  const ListRows rows = rowsOf(list);
  if (rows.count < 1) return std::nullopt;
  const bool onRow = rows.current >= 1 && rows.current <= rows.count;
  int start = onRow ? rows.order->positionOf(rows.current) : 1;
  if (onRow && after) ++start;
  for (int i = 0; i < rows.count; ++i) {
    const int position = (start - 1 + i) % rows.count + 1;
    const int row = rows.order->rowAt(position);
    const auto* grid = dynamic_cast<const MsSuperGrid*>(&list);
    if (grid != nullptr && grid->RowHeight(row) == 0) continue;
    if (matches(row)) return row;
  }
  return std::nullopt;
}

int countMatches(const Control& list, std::string_view text) {
  const ListRows rows = rowsOf(list);
  int found = 0;
  for (int r = 1; r <= rows.count; ++r) found += rowHolds(list, r, text) ? 1 : 0;
  return found;
}

bool locateRow(Control& list, int row) {
  if (auto* grid = dynamic_cast<MsSuperGrid*>(&list)) {
    return grid->userSelectCell(row, grid->Col() >= 1 ? grid->Col() : 1);
  }
  if (auto* vouch = dynamic_cast<MarlinVouchList*>(&list)) return vouch->userSelectRow(row);
  if (auto* view = dynamic_cast<ListView*>(&list)) return view->userSelectItem(row);
  return false;
}

}  // namespace quillon::forms
