// The production-order dialog on a scale-100 demo account whose orders are copied five times
// over (about 12 000 heads): cmdFilter listing every open head, the head list filled from an
// opened recordset, and cmdOk re-reading 1 000 checked product lines of one outsourced order.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "bench/bench_ui_host.h"
#include "classes/produce_order.h"
#include "classes/public_classes.h"
#include "components/registration.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "forms/ui_host.h"
#include "module/module_ctl.h"
#include "platform/terminal_session.h"

namespace {

using namespace quillon;
using automation::Variant;

constexpr int kCopies = 5;
constexpr int kBigOrderLines = 1000;

struct Account {
  bench::BenchDir dir{"quillon-bench-produce"};
  std::string path;

  Account() {
    path = (dir / "demo100.db").string();
    db::createDemoDatabase(path, 100, true);
    auto cn = std::make_shared<ado::Connection>();
    cn->open(components::suite::accountConnectionString(path));
    cn->beginTrans();
    for (int k = 1; k <= kCopies; ++k) {
      const std::string h = std::to_string(k * 100000);
      const std::string l = std::to_string(k * 1000000);
      const std::string m = std::to_string(k * 10000000);
      cn->execute(
          "INSERT INTO pp_POHead (ID, cCode, dDate, iProperty, iState, cDepCode, cPersonCode, "
          "cVenCode, cMaker, cVerifier, dCheckDate, cMemo) SELECT ID + " +
          h + ", cCode + '-" + std::to_string(k) +
          "', dDate, iProperty, iState, cDepCode, cPersonCode, cVenCode, cMaker, cVerifier, "
          "dCheckDate, cMemo FROM pp_POHead WHERE ID < 100000");
      cn->execute(
          "INSERT INTO pp_POLine (MainID, ID, iRowNo, cInvCode, fQuantity, fInQuantity, cWhCode, "
          "cClose) SELECT MainID + " +
          l + ", ID + " + h +
          ", iRowNo, cInvCode, fQuantity, fInQuantity, cWhCode, cClose FROM pp_POLine WHERE ID "
          "< 100000");
      cn->execute(
          "INSERT INTO pp_POMaterial (SubID, MainID, cInvCode, fQuantity, fOutQuantity, "
          "iWIPType, cWhCode, bUsed) SELECT SubID + " +
          m + ", MainID + " + l +
          ", cInvCode, fQuantity, fOutQuantity, iWIPType, cWhCode, bUsed FROM pp_POMaterial "
          "WHERE MainID < 1000000");
    }
    // One outsourced order with a thousand product lines.
    cn->execute(
        "INSERT INTO pp_POHead (ID, cCode, dDate, iProperty, iState, cMaker, cVerifier) VALUES "
        "(900000, 'MOBIG', '2026-11-30', 2, 2, 'bench', 'bench')");
    cn->execute(
        "INSERT INTO pp_POLine (MainID, ID, iRowNo, cInvCode, fQuantity, fInQuantity, "
        "cWhCode) SELECT MainID + 9000000, 900000, MainID, cInvCode, fQuantity, 0, "
        "cWhCode FROM pp_POLine WHERE MainID <= " +
        std::to_string(kBigOrderLines));
    cn->commitTrans();

    auto& registry = automation::classRegistry();
    automation::registerAutomationClasses(registry);
    platform::registerPlatformClasses(registry);
    ado::registerAdoClasses(registry);
    components::registerClasses(registry);
    classes::registerLibraryClasses(registry);
  }
};

Account& account() {
  static Account a;
  return a;
}

using BenchHost = bench::DrivingHost<dialogs::frmProduceOrder>;

// Shows the dialog under the UI host the caller has installed, which drives it.
void showDialog(bool bOI, const std::string& code = "") {
  auto po = std::make_shared<classes::ProduceOrder>();
  auto login =
      components::suite::Login::open(account().path, "demo", automation::DateValue{46361.0});
  Variant coll;
  std::string err;
  if (!po->load(code, Variant(std::static_pointer_cast<automation::Object>(login)), coll, err, bOI,
                0)) {
    throw std::runtime_error(err);
  }
}

void BM_FilterListsEveryOpenHead(benchmark::State& state) {
  auto host = std::make_shared<BenchHost>();
  forms::ScopedUiHost scoped(host);
  int heads = 0;
  host->drive = [&](dialogs::frmProduceOrder& f) {
    // The first filter fills an empty list, every later one replaces a full one: filtered once
    // beforehand, each timed filter replaces the same list.
    f.cmdFilter.userClick();
    for (auto _ : state) f.cmdFilter.userClick();
    heads = f.lstParent.itemCount();
  };
  showDialog(false);
  state.counters["heads"] = heads;
}
QUILLON_BENCHMARK(BM_FilterListsEveryOpenHead)->Unit(benchmark::kMillisecond);

void BM_FillHeadList(benchmark::State& state) {
  auto host = std::make_shared<BenchHost>();
  forms::ScopedUiHost scoped(host);
  host->drive = [&](dialogs::frmProduceOrder& f) {
    f.cmdFilter.userClick();
    for (auto _ : state) {
      module::FillList(f.lstParent, f.headRecordset().get(), false);
      module::SetListColumns(f.lstParent, module::ListKind::Parent);
    }
    state.counters["heads"] = f.lstParent.itemCount();
  };
  showDialog(false);
}
QUILLON_BENCHMARK(BM_FillHeadList)->Unit(benchmark::kMillisecond);

void BM_OkReReadsThousandLines(benchmark::State& state) {
  auto host = std::make_shared<BenchHost>();
  forms::ScopedUiHost scoped(host);
  int lines = 0;
  for (auto _ : state) {
    host->drive = [&](dialogs::frmProduceOrder& f) {
      f.cmdFilter.userClick();
      f.lstParent.userCheck(1);
      lines = f.lstSub.itemCount();
      const auto start = std::chrono::steady_clock::now();
      f.cmdOk.userClick();
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
      state.SetIterationTime(took.count());
    };
    showDialog(true, "MOBIG");
  }
  state.counters["lines"] = lines;
  state.counters["refusals"] = host->messages;
}
QUILLON_BENCHMARK(BM_OkReReadsThousandLines)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

QUILLON_BENCHMARK_MAIN()
