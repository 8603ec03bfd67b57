// The order dialog's lines display on a scale-100 demo account: frmStockOrder with every order
// head filtered and marked lists their lines in lstDdBody (read from PurchaseRefService, appended
// with their quantity columns and layout) when Check1 is checked, against reading the same line
// recordsets alone (measured side by side in each iteration; target: display at most 1.5 times
// the reading).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "classes/public_classes.h"
#include "components/purchase_ref_service.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "forms/super_grid.h"
#include "module/module_ctl.h"

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;

struct Account {
  bench::BenchDir dir{"quillon-bench-stock-order"};
  std::string path;
  std::vector<std::int32_t> heads;

  Account() {
    path = (dir / "demo100.db").string();
    db::createDemoDatabase(path, 100, true);
    classes::registerAllClasses(automation::classRegistry());
    module::OpenSession(components::suite::Login::open(path, "demo"));
    std::shared_ptr<ado::Recordset> rs;
    components::purchaseRefService()->getOrderHeads(*module::gContext, "", rs);
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) heads.push_back(rs->value("poid").toLong());
  }
};

Account& account() {
  static Account a;
  return a;
}

double readLinesAlone(const std::vector<std::int32_t>& heads, std::int64_t& lines) {
  const auto start = Clock::now();
  auto& service = *components::purchaseRefService();
  lines = 0;
  for (const std::int32_t head : heads) {
    std::shared_ptr<ado::Recordset> rs;
    service.getOrderLines(*module::gContext, head, "", rs);
    lines += rs->recordCount();
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The dialog as a person leaves it before the lines show: every head filtered and marked, Check1
// off. Checking Check1 runs the lines display.
struct Dialog {
  dialogs::frmStockOrder form;
  Dialog() {
    form.Load();
    form.Check1.setValue(forms::vbUnchecked);
    form.cmdFilter.Click();
    for (int row = 1; row < form.lstDdHead.Rows(); ++row) form.lstDdHead.setMarked(row, true);
  }
  ~Dialog() { form.Unload(); }
};

double displayLines(Dialog& dialog) {
  dialog.form.Check1.setValue(forms::vbUnchecked);
  const auto start = Clock::now();
  dialog.form.Check1.setValue(forms::vbChecked);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_LinesDisplayOfEveryHead(benchmark::State& state) {
  const auto& heads = account().heads;
  Dialog dialog;
  const forms::MsSuperGrid& grid = dialog.form.lstDdBody;
  double read = 0;
  double shown = 0;
  std::int64_t lines = 0;
  for (auto _ : state) {
    read += readLinesAlone(heads, lines);
    const double took = displayLines(dialog);
    shown += took;
    state.SetIterationTime(took);
  }
  state.counters["heads"] = static_cast<double>(dialog.form.lstDdHead.Rows() - 1);
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["grid_rows"] = grid.Rows() - 1;
  state.counters["read_ms"] = 1000 * read / static_cast<double>(state.iterations());
  state.counters["ratio"] = read > 0 ? shown / read : 0;
}
QUILLON_BENCHMARK(BM_LinesDisplayOfEveryHead)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The grid's share alone: the same recordsets, read before, appended and laid out.
void BM_FillOnlyOfEveryHead(benchmark::State& state) {
  const auto& heads = account().heads;
  std::vector<std::shared_ptr<ado::Recordset>> lines;
  for (const std::int32_t head : heads) {
    std::shared_ptr<ado::Recordset> rs;
    components::purchaseRefService()->getOrderLines(*module::gContext, head, "", rs);
    lines.push_back(rs);
  }
  forms::MsSuperGrid grid("lstDdBody");
  const module::GridNumberFormats formats = module::CurrentGridFormats();
  for (auto _ : state) {
    grid.Clear();
    grid.setRows(0);
    module::gBodyLayoutDone = false;
    for (const auto& rs : lines) {
      bool filled = false;
      module::FillGridFromRecordset(grid, module::LineGrid::Order, *rs, filled, nullptr, true,
                                    formats);
      module::SetListColumns(grid, module::ListKind::OrderBody);
    }
  }
  state.counters["grid_rows"] = grid.Rows() - 1;
}
QUILLON_BENCHMARK(BM_FillOnlyOfEveryHead)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

QUILLON_BENCHMARK_MAIN()
