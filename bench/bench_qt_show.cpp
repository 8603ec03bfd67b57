// Show to first paint of drawn forms on Qt's offscreen platform: a form whose spread grid holds
// 100 000 rows (the current-stock list at its largest), and one whose list view holds 10 000
// heads (a wide production-order filter). Target: 300 ms or less each.
#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QTableView>
#include <memory>
#include <string>

#include "bench/bench_runner.h"
#include "bench/qt_bench_support.h"
#include "forms/controls.h"
#include "ui/qt/application.h"
#include "ui/qt/qt_ui_host.h"

namespace {

using namespace quillon;

class frmStockBench : public forms::Form {
 public:
  frmStockBench() : Form("frmStockBench", "现存量", 15000, 9000) {}
  forms::MsSuperGrid& grdStock = add<forms::MsSuperGrid>("grdStock", {60, 600, 14800, 7800});
  forms::CommandButton& cmdOk =
      add<forms::CommandButton>("cmdOk", {12400, 8500, 1100, 350}, "确定(&O)");
};

class frmHeadsBench : public forms::Form {
 public:
  frmHeadsBench() : Form("frmHeadsBench", "生产订单", 15000, 9000) {}
  forms::ListView& lstParent = add<forms::ListView>("lstParent", {60, 600, 14800, 7800});
};

template <class F>
void showUntilPainted(benchmark::State& state, F& form, const char* listName, int rows) {
  auto host = std::make_shared<ui::qt::QtUiHost>();
  forms::ScopedUiHost installed(host);
  for (auto _ : state) {
    form.Show();
    ui::qt::FormWindow* window = host->windows().find(form);
    auto* view = window->findChild<QTableView*>(QString::fromUtf8(listName));
    bench::PaintWatch watch(*view->model(), rows);
    view->viewport()->installEventFilter(&watch);
    for (int pass = 0; pass < 50 && !watch.painted; ++pass) QApplication::processEvents();
    if (!watch.painted) window->grab();  // a platform that paints only on request
    if (!watch.painted) state.SkipWithError("the list was never painted with all its rows");
    state.PauseTiming();
    view->viewport()->removeEventFilter(&watch);
    form.Hide();
    form.Unload();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state.ResumeTiming();
  }
}

void BM_ShowGridOf100000Rows(benchmark::State& state) {
  frmStockBench form;
  auto& grid = form.grdStock;
  grid.setCols(8);
  grid.setRows(100001);
  const char* captions[] = {"",     "仓库编码", "存货编码", "存货名称",
                            "批号", "现存数量", "本次数量", "货位"};
  for (int c = 0; c < 8; ++c) grid.setTextMatrix(c, 0, captions[c]);
  for (int r = 1; r <= 100000; ++r) {
    grid.setTextMatrix(1, r, "0" + std::to_string(r % 9 + 1));
    grid.setTextMatrix(2, r, "INV" + std::to_string(r));
    grid.setTextMatrix(3, r, "钢板" + std::to_string(r % 50));
    grid.setTextMatrix(5, r, std::to_string(r % 997) + ".00");
  }
  showUntilPainted(state, form, "grdStock", 100000);
}
QUILLON_BENCHMARK(BM_ShowGridOf100000Rows)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ShowListOf10000Heads(benchmark::State& state) {
  frmHeadsBench form;
  auto& list = form.lstParent;
  list.setCheckboxes(true);
  for (const char* caption : {"生产订单号", "行号", "部门", "产品编码", "产品名称", "数量"}) {
    list.addColumn(caption, 1200);
  }
  for (int i = 1; i <= 10000; ++i) {
    auto& item = list.addItem("MO" + std::to_string(i), "k" + std::to_string(i));
    item.setSubItem(1, std::to_string(i % 7 + 1));
    item.setSubItem(2, "生产部");
    item.setSubItem(3, "P" + std::to_string(i % 300));
    item.setSubItem(5, std::to_string(i % 40 * 10));
  }
  showUntilPainted(state, form, "lstParent", 10000);
}
QUILLON_BENCHMARK(BM_ShowListOf10000Heads)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  return quillon::bench::runQtBenchmarks(argc, argv);
}
