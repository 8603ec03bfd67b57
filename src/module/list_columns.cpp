#include "module/list_columns.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "automation/vb_strings.h"
#include "components/define_item_service.h"
#include "components/registration.h"
#include "forms/list_view.h"
#include "forms/super_grid.h"
#include "module/fill_grid.h"
#include "module/module_state.h"

namespace quillon::module {

namespace {

// How the layout loop reaches one kind of list.
struct ColumnAccess {
  std::function<int()> count;
  std::function<std::string(int)> heading;
  std::function<void(int, const std::string&)> setCaption;
  std::function<void(int, int)> setWidth;
};

// The account caption of a user-defined field or free item; nullopt for other fields.
std::optional<std::string> defineCaption(const std::string& field, bool freeItems,
                                         components::DefineItemService& first,
                                         components::DefineItemService& second) {
  const std::string lower = automation::LCase(field);
  const bool isDefine = lower.starts_with("cdefine");
  const bool isFree = freeItems && lower.starts_with("cfree");
  if (!isDefine && !isFree) return std::nullopt;
  const auto key = components::defineKeyOfField(lower);
  if (!key) return std::nullopt;
  first.getDefine(*key, second);
  return second.definition() ? second.definition()->name : std::string();
}

void layOut(ListKind kind, const ColumnAccess& access, bool recordKeys) {
  auto first =
      components::createAs<components::DefineItemService>(components::kDefineItemServiceProgId);
  auto second =
      components::createAs<components::DefineItemService>(components::kDefineItemServiceProgId);
  first->setContext(gContext);

  if (recordKeys) {
    gWhNameColumn = 0;
    gWhCodeColumn = 0;
    gRowKeyColumn = 0;
  }
  const int columns = access.count();
  for (gColumnIndex = 1; gColumnIndex <= columns; ++gColumnIndex) {
    const int column = gColumnIndex;
    const std::string field = access.heading(column);
    const std::string lower = automation::LCase(field);
    if (recordKeys) {
      if (lower == "cwhname") gWhNameColumn = column;
      if (lower == "cwhcode") gWhCodeColumn = column;
      if (lower == "id" || lower == "autoid") gRowKeyColumn = column;
    }
    if (auto caption = defineCaption(field, captionsFreeItems(kind), *first, *second)) {
      access.setCaption(column, *caption);
      // A user-defined field the account does not use has nothing to show under no caption.
      if (caption->empty()) access.setWidth(column, 0);
    } else if (auto known = captionOf(kind, field, gVouchType)) {
      access.setCaption(column, *known);
      if (kind == ListKind::OrderBody && lower == "darrivedate") {
        access.setWidth(column, kPlannedArrivalWidth);
      }
    } else {
      access.setWidth(column, 0);
    }
  }
}

}  // namespace

void SetListColumns(forms::ListView& list, ListKind kind) {
  const ColumnAccess access{
      [&] { return list.columnCount(); },
      [&](int c) { return list.column(c).text; },
      [&](int c, const std::string& text) { list.setColumnText(c, text); },
      [&](int c, int width) { list.setColumnWidth(c, width); },
  };
  const bool report = isReportList(kind);
  if (report) {
    list.setVisible(false);
    list.setEnabled(false);
  }
  // Whatever happens while laying out, the list must not stay hidden and disabled.
  struct Restore {
    forms::ListView& list;
    bool active;
    ~Restore() {
      if (!active) return;
      list.setVisible(true);
      list.setEnabled(true);
    }
  } restore{list, report};
  layOut(kind, access, kind == ListKind::DeliveryBody || kind == ListKind::OrderBody);
}

namespace {

// The quantity columns FillGridFromRecordset appends to the body grids of a kind: receipt
// quantities on order and arrival-note lines, issue quantities on delivery-note lines.
const LineColumnCaptions* computedColumns(ListKind kind) {
  switch (kind) {
    case ListKind::OrderBody:
      return lineColumnCaptions(LineGrid::Order);
    case ListKind::DeliveryBody:
      return lineColumnCaptions(LineGrid::Delivery);
    default:
      return nullptr;
  }
}

// The field columns of a grid: 1 .. Cols - 1, less the four quantity columns that
// FillGridFromRecordset appends to a line grid, which keep their captions and stay visible.
int fieldColumnsOf(const forms::MsSuperGrid& grid, ListKind kind) {
  const int last = grid.Cols() - 1;
  const LineColumnCaptions* computed = computedColumns(kind);
  if (computed == nullptr || last < kLineColumnCount) return last;
  const std::string_view captions[] = {computed->openQuantity, computed->openPieces,
                                       computed->thisQuantity, computed->thisPieces};
  for (int k = 0; k < kLineColumnCount; ++k) {
    if (grid.TextMatrix(last - kLineColumnCount + 1 + k, 0) != captions[k]) return last;
  }
  return last - kLineColumnCount;
}

}  // namespace

void SetListColumns(forms::MsSuperGrid& grid, ListKind kind) {
  bool& done = isHeadList(kind) ? gHeadLayoutDone : gBodyLayoutDone;
  if (done) return;
  const ColumnAccess access{
      // Column 0 holds the marks.
      [&] { return fieldColumnsOf(grid, kind); },
      [&](int c) { return grid.TextMatrix(c, 0); },
      [&](int c, const std::string& text) { grid.setTextMatrix(c, 0, text); },
      [&](int c, int width) { grid.setColWidth(c, width); },
  };
  layOut(kind, access, kind == ListKind::DeliveryBody || kind == ListKind::OrderBody);
  done = true;
}

}  // namespace quillon::module
