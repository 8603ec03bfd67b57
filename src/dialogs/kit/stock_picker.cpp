#include "dialogs/kit/stock_picker.h"

#include <array>
#include <memory>
#include <vector>

#include "ado/connection.h"
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
#include "module/settings.h"

namespace quillon::dialogs::kit {

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

Variant invokeOn(automation::Object& object, const char* member, std::vector<Variant>& args) {
  return object.invoke(member, automation::InvokeKind::Method, args);
}

Variant loginArg() {
  return Variant(std::static_pointer_cast<automation::Object>(module::gContext->login()));
}

// What a line took goes into the work table, so the next line is offered the rest.
void recordTaken(automation::Object& refSelect, StockPick pick, const ado::RecordsetView& chosen,
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
    Variant id;
    if (pick == StockPick::Batch) {
      std::vector<Variant> args{loginArg(), Variant(lineText(line, "cWhCode")),
                                Variant(lineText(line, "cInvCode"))};
      for (int k = 1; k <= 10; ++k) args.emplace_back(text("自由项" + std::to_string(k), at));
      args.emplace_back(text("批号", at));
      id = invokeOn(refSelect, "GetAutoID", args);
    } else {
      const auto receiptLine = chosen.fieldIndex("入库系统编号");
      id = receiptLine ? chosen.value(at, *receiptLine) : Variant(std::int32_t{0});
    }
    std::vector<Variant> update{loginArg(), Variant(number(quantity, at)),
                                Variant(number(pieces, at)), Variant(id.toLong())};
    invokeOn(refSelect, pick == StockPick::Batch ? "UpdateTmpCurrentStock" : "UpdateTmpRdrecords",
             update);
  }
}

PickResult pickWith(automation::Object& refSelect, forms::MsSuperGrid& grid, module::LineGrid kind,
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

  auto free = std::make_shared<automation::Collection>();
  for (int k = 1; k <= 10; ++k) free->add(Variant(lineText(line, "cfree" + std::to_string(k))));
  const double quantity = lineNumber(line, "iQuantity");
  // A receipt line tracks what a receipt voucher returns (red) on the order and arrival-note
  // grids, and what an issue takes from it on the delivery grid, where only a red line is red.
  const bool issue = kind == module::LineGrid::Delivery;
  const bool red = (pick == StockPick::ReceiptVoucher && !issue) || quantity < 0;
  std::string query = candidateQuery(pick, line);
  if (mode.workTable) {
    std::vector<Variant> rewrite{Variant(query)};
    query = invokeOn(refSelect, pick == StockPick::Batch ? "GetAllBSQL" : "GetAllRDSSQL", rewrite)
                .toString();
  }
  std::vector<Variant> args{
      loginArg(),
      Variant(whCode),
      Variant(lineText(line, "cInvCode")),
      Variant(std::static_pointer_cast<automation::Object>(free)),
      Variant(quantity),
      Variant(lineNumber(line, "iNum")),
      Variant(lineNumber(line, "iInvExchRate")),
      Variant(pick == StockPick::Batch ? kBatchReference : kReceiptReference),
      Variant(query),
      Variant(red),
      Variant(true),
      Variant(""),
  };
  if (mode.automatic) {
    // A message text handed in asks for silence: it comes back as what the allocation said.
    args.emplace_back(mode.silentMessage != nullptr ? *mode.silentMessage : std::string());
  }
  invokeOn(refSelect, mode.automatic ? "AutoRefer" : "Refer", args);
  if (mode.silentMessage != nullptr) *mode.silentMessage = args.back().toString();
  std::vector<Variant> none;
  const Variant returned =
      refSelect.invoke("ReturnData", automation::InvokeKind::PropertyGet, none);
  auto rs = returned.isObject() ? automation::toObjectAs<ado::Recordset>(returned) : nullptr;
  if (!rs) return {};
  const ado::RecordsetView chosen(*rs);
  if (chosen.rowCount() == 0) return {};
  if (mode.workTable) recordTaken(refSelect, pick, chosen, line);

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
      grid.setMarked(added, false);
      writeRow(grid, kind, added, chosen, at, targets, formats);
    }
  }
  if (grid.pendingEdit()) grid.userCancelEdit();
  return result;
}

void createOrDropWorkTable(automation::Object& refSelect, StockPick pick, bool create) {
  std::vector<Variant> args{loginArg(), Variant(create)};
  invokeOn(refSelect,
           pick == StockPick::Batch ? "CreateAndDropTmpCurrentStock" : "CreateAndDropTmpRdrecord",
           args);
}

}  // namespace

PickResult PickStockForLine(forms::MsSuperGrid& grid, module::LineGrid kind, int row,
                            const ado::Recordset& lineRecord, StockPick pick, bool automatic,
                            const std::vector<PickedValue>& mapping) {
  auto refSelect = automation::classRegistry().create(kRefSelectProgId);
  PickMode mode;
  mode.automatic = automatic;
  return pickWith(*refSelect, grid, kind, row, lineRecord, pick, mode, mapping);
}

BulkStockRun::BulkStockRun(StockPick pick) : pick_(pick) {
  if (!module::gContext) throw automation::ComError::objectNotSet();
  refSelect_ = automation::classRegistry().create(kRefSelectProgId);
  createOrDropWorkTable(*refSelect_, pick_, true);
  open_ = true;
}

BulkStockRun::~BulkStockRun() {
  if (!open_) return;
  try {
    createOrDropWorkTable(*refSelect_, pick_, false);
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
  return pickWith(*refSelect_, grid, kind, row, line, pick_, mode, mapping);
}

void BulkStockRun::finish() {
  if (!open_) return;
  open_ = false;
  createOrDropWorkTable(*refSelect_, pick_, false);
}

}  // namespace quillon::dialogs::kit
