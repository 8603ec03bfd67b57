#include "dialogs/kit/stock_picker.h"

#include <array>
#include <memory>
#include <vector>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
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
#include "module/settings.h"

namespace quillon::dialogs::kit {

namespace {

using automation::Variant;

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

// The columns headed by the first of `captions` that heads one (the delivery grid captions both
// its receipt-voucher fields "入库单号"); a field name that SetListColumns left uncaptioned
// ("icorid") is matched without regard to case.
std::vector<int> columnsByCaption(const forms::MsSuperGrid& grid,
                                  const std::vector<std::string>& captions) {
  for (const auto& caption : captions) {
    std::vector<int> columns;
    for (int c = 1; c < grid.Cols(); ++c) {
      if (automation::equalsNoCase(grid.TextMatrix(c, 0), caption)) columns.push_back(c);
    }
    if (!columns.empty()) return columns;
  }
  return {};
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
    const std::vector<int> columns = columnsByCaption(grid, m.columns);
    for (const auto& f : m.fields) {
      if (const auto index = chosen.fieldIndex(f)) {
        for (const int column : columns) out.push_back({column, *index});
        break;
      }
    }
  }
  return out;
}

void writeRow(forms::MsSuperGrid& grid, module::LineGrid kind, int row,
              const ado::RecordsetView& chosen, int at, const std::vector<Target>& targets,
              const module::GridNumberFormats& formats) {
  for (const Target& t : targets) {
    grid.setTextMatrix(t.column, row, chosen.value(at, t.field).displayText());
  }
  if (kind == module::LineGrid::None || grid.Cols() < 3) return;
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

namespace {

// How one line is picked: by the dialog or automatically, with message boxes or silently into a
// message, over the plain query or the one the work table nets.
struct PickMode {
  bool automatic = false;
  std::string* silentMessage = nullptr;
  bool workTable = false;
};

// What a line took goes into the work table, so the next line is offered the rest.
void recordTaken(StockReference& reference, StockPick pick, const ado::RecordsetView& chosen,
                 const ado::RecordsetView& line) {
  const auto quantity = chosen.fieldIndex("出库数量");
  const auto pieces = chosen.fieldIndex("出库件数");
  auto number = [&](std::optional<int> f, int at) {
    if (!f) return 0.0;
    const Variant v = chosen.value(at, *f);
    return v.isNull() || v.isEmpty() ? 0.0 : v.toDouble();
  };
  auto text = [&](std::string_view name, int at) {
    const auto f = chosen.fieldIndex(name);
    return f ? chosen.value(at, *f).displayText() : std::string();
  };
  for (int at = 0; at < chosen.rowCount(); ++at) {
    std::int32_t id = 0;
    if (pick == StockPick::Batch) {
      std::array<std::string, 10> free;
      for (std::size_t k = 0; k < free.size(); ++k)
        free[k] = text("自由项" + std::to_string(k + 1), at);
      id = reference.stockRowId(lineText(line, "cWhCode"), lineText(line, "cInvCode"), free,
                                text("批号", at));
    } else if (const auto receiptLine = chosen.fieldIndex("入库系统编号")) {
      id = chosen.value(at, *receiptLine).toLong();
    }
    reference.recordTaken(pick, id, number(quantity, at), number(pieces, at));
  }
}

PickResult pickWith(StockReference& reference, forms::MsSuperGrid& grid, module::LineGrid kind,
                    int row, const ado::Recordset& lineRecord, StockPick pick, const PickMode& mode,
                    const std::vector<PickedValue>& mapping) {
  const ado::RecordsetView line(lineRecord);
  if (line.rowCount() == 0) return {};
  const std::string whCode = lineText(line, "cWhCode");
  if (automation::Trim(whCode).empty()) {
    if (mode.silentMessage != nullptr) {
      *mode.silentMessage = std::string(kLineWarehouseEmpty);
    } else {
      forms::MsgBox(std::string(kLineWarehouseEmpty), forms::vbCritical,
                    std::string(forms::kPromptTitle));
    }
    return {};
  }
  if (!module::gContext) throw automation::ComError::objectNotSet();

  StockReference::Line asked;
  asked.whCode = whCode;
  asked.invCode = lineText(line, "cInvCode");
  for (std::size_t k = 0; k < asked.free.size(); ++k) {
    asked.free[k] = lineText(line, "cfree" + std::to_string(k + 1));
  }
  asked.quantity = lineNumber(line, "iQuantity");
  asked.pieces = lineNumber(line, "iNum");
  asked.exchRate = lineNumber(line, "iInvExchRate");
  // A receipt line tracks what a receipt voucher returns (red) on the order and arrival-note
  // grids, and what an issue takes from it on the delivery grid, where only a red line is red.
  const bool issue = kind == module::LineGrid::Delivery;
  const bool red = (pick == StockPick::ReceiptVoucher && !issue) || asked.quantity < 0;
  std::string query = candidateQuery(pick, line);
  if (mode.workTable) query = reference.netOfWorkTable(pick, query);
  auto rs = reference.choose(pick, asked, query, red, mode.automatic, mode.silentMessage);
  if (!rs) return {};
  const ado::RecordsetView chosen(*rs);
  if (chosen.rowCount() == 0) return {};
  if (mode.workTable) recordTaken(reference, pick, chosen, line);

  const module::GridNumberFormats formats = module::CurrentGridFormats();
  const auto targets = resolve(grid, chosen, mapping);
  PickResult result;
  result.rows = chosen.rowCount();
  const int pickedColumn = grid.colByCaption(pick == StockPick::Batch ? "批号" : "入库单号");
  if (result.rows == 1) {
    writeRow(grid, kind, row, chosen, 0, targets, formats);
    if (pickedColumn > 0) result.text = grid.TextMatrix(pickedColumn, row);
  } else {
    // The line splits: it stays (hidden, not returned) and each chosen row gets a copy of it,
    // unmarked as every appended line starts; the person marks the rows to take.
    const auto redraw = forms::redrawPaused(grid);
    grid.setRowHeight(row, 0);
    for (int at = 0; at < chosen.rowCount(); ++at) {
      const int added = grid.Rows();
      grid.setRows(added + 1);
      for (int c = 1; c < grid.Cols(); ++c) grid.setTextMatrix(c, added, grid.TextMatrix(c, row));
      grid.setRowLabel(added, grid.rowLabel(row));
      grid.setMarked(added, false);
      writeRow(grid, kind, added, chosen, at, targets, formats);
    }
  }
  if (grid.pendingEdit()) grid.userCancelEdit();
  return result;
}

}  // namespace

PickResult PickStockForLine(StockReference& reference, forms::MsSuperGrid& grid,
                            module::LineGrid kind, int row, const ado::Recordset& lineRecord,
                            StockPick pick, bool automatic,
                            const std::vector<PickedValue>& mapping) {
  PickMode mode;
  mode.automatic = automatic;
  return pickWith(reference, grid, kind, row, lineRecord, pick, mode, mapping);
}

BulkStockRun::BulkStockRun(StockReference& reference, StockPick pick)
    : reference_(reference), pick_(pick) {
  if (!module::gContext) throw automation::ComError::objectNotSet();
  reference_.workTable(pick_, true);
  open_ = true;
}

BulkStockRun::~BulkStockRun() {
  if (!open_) return;
  try {
    reference_.workTable(pick_, false);
  } catch (...) {
    // The run is being left by an error already; that error is the one the caller sees.
  }
}

PickResult BulkStockRun::assign(forms::MsSuperGrid& grid, module::LineGrid kind, int row,
                                const ado::Recordset& line, const std::vector<PickedValue>& mapping,
                                std::string& message) {
  PickMode mode;
  mode.automatic = true;
  mode.silentMessage = &message;
  mode.workTable = true;
  return pickWith(reference_, grid, kind, row, line, pick_, mode, mapping);
}

void BulkStockRun::finish() {
  if (!open_) return;
  open_ = false;
  reference_.workTable(pick_, false);
}

}  // namespace quillon::dialogs::kit
