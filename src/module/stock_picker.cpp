#include "module/stock_picker.h"

#include <array>
#include <memory>
#include <vector>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/class_registry.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "automation/vb_strings.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/stock_queries.h"
#include "forms/constants.h"
#include "forms/dialog_shell.h"
#include "forms/scope_guard.h"
#include "forms/super_grid.h"
#include "forms/ui_host.h"
#include "module/fill_grid.h"
#include "module/module_state.h"

namespace quillon::module {

namespace {

using automation::Variant;

constexpr std::string_view kRefSelectProgId = "Quillon.RefSelect";
constexpr std::int32_t kBatchReference = 0;
constexpr std::int32_t kReceiptReference = 1;

// A field of the line's one record as text ("" when it has no such field or it is Null).
std::string lineText(const ado::RecordsetView& line, std::string_view name) {
  const auto index = line.fieldIndex(name);
  return index ? line.value(0, *index).displayText() : std::string();
}

double lineNumber(const ado::RecordsetView& line, std::string_view name) {
  const auto index = line.fieldIndex(name);
  if (!index) return 0;
  const Variant v = line.value(0, *index);
  if (v.isNull() || v.isEmpty()) return 0;
  return v.toDouble();
}

// The first of `captions` that heads a column of the grid; a field name that SetListColumns left
// uncaptioned ("icorid") is matched without regard to case.
int columnByCaption(const forms::MsSuperGrid& grid, const std::vector<std::string>& captions) {
  for (const auto& caption : captions) {
    for (int c = 1; c < grid.Cols(); ++c) {
      if (automation::equalsNoCase(grid.TextMatrix(c, 0), caption)) return c;
    }
  }
  return -1;
}

// What the chosen rows give the line, resolved once against the grid and the rows' fields.
struct Target {
  int column;
  int field;
};

std::vector<Target> resolve(const forms::MsSuperGrid& grid, const ado::RecordsetView& chosen,
                            const std::vector<PickedValue>& mapping) {
  std::vector<Target> out;
  for (const PickedValue& m : mapping) {
    const int column = columnByCaption(grid, m.columns);
    if (column < 0) continue;
    for (const auto& f : m.fields) {
      if (const auto index = chosen.fieldIndex(f)) {
        out.push_back({column, *index});
        break;
      }
    }
  }
  return out;
}

void writeRow(forms::MsSuperGrid& grid, int row, const ado::RecordsetView& chosen, int at,
              const std::vector<Target>& targets, const GridNumberFormats& formats) {
  for (const Target& t : targets) {
    grid.setTextMatrix(t.column, row, chosen.value(at, t.field).displayText());
  }
  if (lineGridOf(grid.Name()) == LineGrid::None || grid.Cols() < 3) return;
  const auto quantity = chosen.fieldIndex("出库数量");
  const auto pieces = chosen.fieldIndex("出库件数");
  auto number = [&](int f) {
    const Variant v = chosen.value(at, f);
    return v.isNull() || v.isEmpty() ? 0.0 : v.toDouble();
  };
  if (quantity) {
    grid.setTextMatrix(grid.Cols() - 2, row,
                       automation::formatNumber(number(*quantity), formats.quantityPattern()));
  }
  if (pieces) {
    grid.setTextMatrix(grid.Cols() - 1, row,
                       automation::formatNumber(number(*pieces), formats.piecesPattern()));
  }
}

std::string candidateQuery(StockPick pick, const ado::RecordsetView& line) {
  components::StockLine stock;
  stock.whCode = lineText(line, "cWhCode");
  stock.invCode = lineText(line, "cInvCode");
  for (std::size_t k = 0; k < stock.free.size(); ++k) {
    stock.free[k] = lineText(line, "cfree" + std::to_string(k + 1));
  }
  stock.batch = lineText(line, "cBatch");
  auto queries = components::createAs<components::StockQueries>(components::kStockQueriesProgId);
  return pick == StockPick::Batch ? queries->currentStockSql(stock, false)
                                  : queries->receiptLineSql(stock, false);
}

}  // namespace

std::vector<PickedValue> receiptLineMapping(StockPick pick) {
  std::vector<PickedValue> mapping{
      {{"批号"}, {"批号", "cBatch"}},
      {{"失效日期"}, {"失效日期", "dVdate"}},
      {{"保质期"}, {"保质期", "imassdate"}},
      {{"生产日期"}, {"生产日期", "dmadedate"}},
  };
  if (pick == StockPick::ReceiptVoucher) {
    mapping.push_back({{"入库单号"}, {"入库单号", "cInVouchCode"}});
    mapping.push_back({{"入库系统编号", "iCorId"}, {"入库系统编号", "iCorId"}});
  }
  return mapping;
}

PickResult PickStockForLine(forms::MsSuperGrid& grid, int row, const ado::Recordset& lineRecord,
                            StockPick pick, bool automatic,
                            const std::vector<PickedValue>& mapping) {
  const ado::RecordsetView line(lineRecord);
  if (line.rowCount() == 0) return {};
  const std::string whCode = lineText(line, "cWhCode");
  if (automation::Trim(whCode).empty()) {
    forms::MsgBox(std::string(kLineWarehouseEmpty), forms::vbCritical,
                  std::string(forms::kPromptTitle));
    return {};
  }
  if (!gContext) throw automation::ComError::objectNotSet();

  auto free = std::make_shared<automation::Collection>();
  for (int k = 1; k <= 10; ++k) free->add(Variant(lineText(line, "cfree" + std::to_string(k))));
  const double quantity = lineNumber(line, "iQuantity");
  const bool red = pick == StockPick::ReceiptVoucher || quantity < 0;
  std::vector<Variant> args{
      Variant(std::static_pointer_cast<automation::Object>(gContext->login())),
      Variant(whCode),
      Variant(lineText(line, "cInvCode")),
      Variant(std::static_pointer_cast<automation::Object>(free)),
      Variant(quantity),
      Variant(lineNumber(line, "iNum")),
      Variant(lineNumber(line, "iInvExchRate")),
      Variant(pick == StockPick::Batch ? kBatchReference : kReceiptReference),
      Variant(candidateQuery(pick, line)),
      Variant(red),
      Variant(true),
      Variant(""),
  };
  if (automatic) args.emplace_back("");  // messages as message boxes, not silent
  auto refSelect = automation::classRegistry().create(kRefSelectProgId);
  refSelect->invoke(automatic ? "AutoRefer" : "Refer", automation::InvokeKind::Method, args);
  std::vector<Variant> none;
  const Variant returned =
      refSelect->invoke("ReturnData", automation::InvokeKind::PropertyGet, none);
  auto rs = returned.isObject() ? automation::toObjectAs<ado::Recordset>(returned) : nullptr;
  if (!rs) return {};
  const ado::RecordsetView chosen(*rs);
  if (chosen.rowCount() == 0) return {};

  const GridNumberFormats formats = CurrentGridFormats();
  const auto targets = resolve(grid, chosen, mapping);
  PickResult result;
  result.rows = chosen.rowCount();
  const int pickedColumn = grid.colByCaption(pick == StockPick::Batch ? "批号" : "入库单号");
  if (result.rows == 1) {
    writeRow(grid, row, chosen, 0, targets, formats);
    if (pickedColumn > 0) result.text = grid.TextMatrix(pickedColumn, row);
  } else {
    // The line splits: it stays (hidden, not returned) and each chosen row gets a copy of it.
    const auto redraw = forms::redrawPaused(grid);
    grid.setRowHeight(row, 0);
    for (int at = 0; at < chosen.rowCount(); ++at) {
      const int added = grid.Rows();
      grid.setRows(added + 1);
      for (int c = 0; c < grid.Cols(); ++c) grid.setTextMatrix(c, added, grid.TextMatrix(c, row));
      writeRow(grid, added, chosen, at, targets, formats);
    }
  }
  if (grid.pendingEdit()) grid.userCancelEdit();
  return result;
}

}  // namespace quillon::module
