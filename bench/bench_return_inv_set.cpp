// The return-inventory picker at scale 100: choosing every inventory through the root and
// confirming (frmShow to RecordsetValue: the tree and the first list at load, the root's list with
// every row marked, the temporary-table batch of every code and the read back), against the
// picker's load and quit alone and against reading every inventory through the inventory list
// once. Figures are recorded in bench/README.md.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "bench/bench_ui_host.h"
#include "classes/public_classes.h"
#include "classes/return_inv_set.h"
#include "components/inventory_query_service.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "dialogs/frmReturnInvSet/frm_return_inv_set.h"
#include "forms/ui_host.h"
#include "module/module_state.h"
#include "module/session.h"
#include "platform/terminal_session.h"

namespace {

using namespace quillon;

struct Account {
  bench::BenchDir dir{"quillon_bench_returninv"};
  std::string path;
  automation::ObjectPtr login;
  Account() {
    classes::registerAllClasses(automation::classRegistry());
    path = (dir / "scale100.db").string();
    db::createDemoDatabase(path, 100, true);
    login = components::suite::Login::open(path, "demo", automation::DateValue{46361.0});
  }
};

Account& account() {
  static Account a;
  return a;
}

// Plays the user and answers every question with OK.
using BenchHost = bench::DrivingHost<dialogs::frmReturnInvSet>;

void runPicker(benchmark::State& state, std::function<void(dialogs::frmReturnInvSet&)> drive) {
  auto host = std::make_shared<BenchHost>();
  host->drive = std::move(drive);
  host->answer = forms::vbOK;
  forms::ScopedUiHost scoped(host);
  const auto login = account().login;
  std::int64_t rows = 0;
  for (auto _ : state) {
    classes::ReturnInvSet picker;
    picker.frmShow(login, forms::vbModal, "");
    const auto chosen = classes::ReturnInvSet::RecordsetValue();
    rows = chosen ? chosen->recordCount() : 0;
    benchmark::DoNotOptimize(rows);
  }
  state.counters["chosen"] = static_cast<double>(rows);
}

void BM_ChooseAllThroughRootAndConfirm(benchmark::State& state) {
  runPicker(state, [](dialogs::frmReturnInvSet& f) {
    f.treeMenu.userCheckNode("mRoot", true);
    f.TaskRun("Ok");
  });
}

void BM_LoadAndQuit(benchmark::State& state) {
  runPicker(state, [](dialogs::frmReturnInvSet& f) { f.TaskRun("Quit"); });
}

void BM_ReadEveryInventory(benchmark::State& state) {
  auto context = module::OpenContext(
      std::dynamic_pointer_cast<components::MarlinLogin>(account().login), false);
  auto service = components::createAs<components::InventoryQueryService>(
      components::kInventoryQueryServiceProgId);
  service->init(context);
  std::int64_t rows = 0;
  for (auto _ : state) {
    auto rs = service->inventories("");
    rows = rs->recordCount();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = static_cast<double>(rows);
}

}  // namespace

QUILLON_BENCHMARK(BM_ChooseAllThroughRootAndConfirm)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_LoadAndQuit)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_ReadEveryInventory)->Unit(benchmark::kMillisecond);

QUILLON_BENCHMARK_MAIN()
