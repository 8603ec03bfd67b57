// Current-stock allocation: RefSelect.AutoRefer over 10 000 to 1 000 000 candidate rows with
// every allocation rule (batch: manual, batch FIFO, nearest expiry; receipt tracing: manual, FIFO,
// LIFO), on blue and red vouchers and for single- and two-unit items, against opening and sorting
// the same query's recordset alone, both measured side by side in every iteration; the allocation
// rules by themselves; loading frmRefSelect headless; GetAllBSQL with the rewritten query run; and
// the per-workstation work table on a scale-100 demo account against the raw INSERT ... SELECT in
// SQLite. Figures are recorded in bench/README.md.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <set>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "components/suite/login.h"
#include "components/suite/stock_queries_object.h"
#include "db/demo_data.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "dialogs/frmRefSelect/ref_select_queries.h"
#include "dialogs/frmRefSelect/ref_select_rules.h"
#include "module/module_state.h"
#include "module/settings.h"
#include "platform/terminal_session.h"

namespace {

using namespace quillon;
using automation::Variant;

using Clock = std::chrono::steady_clock;

void sqliteExec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error != nullptr ? error : "sqlite error";
    sqlite3_free(error);
    throw std::runtime_error(message);
  }
}

// Deterministic, unordered values so that every rule has real sorting to do.
std::uint64_t mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// Candidate rows in the two layouts: batch stock (CandB<n>) and receipt lines (CandT<n>), each row
// holding 1 to 100 in stock and a quarter of that in pieces.
void makeCandidates(sqlite3* db, int n) {
  const std::string b = "CandB" + std::to_string(n);
  const std::string t = "CandT" + std::to_string(n);
  sqliteExec(db, "create table " + b +
                     " (id int, 批号 nvarchar(30), 失效日期 datetime null, 结存数量 decimal(20,6), "
                     "结存件数 decimal(20,6), f1 int, f2 int, f3 int, f4 int, 出库数量 "
                     "decimal(20,6), 出库件数 decimal(20,6), AutoID int, cWhCode nvarchar(10), "
                     "cInvCode nvarchar(20))");
  sqliteExec(db,
             "create table " + t +
                 " (id int, 结存数量 decimal(20,6), 结存件数 decimal(20,6), 入库数量 "
                 "decimal(20,6), 入库件数 decimal(20,6), 入库单号 nvarchar(30), 入库日期 "
                 "datetime, 出库数量 decimal(20,6), 出库件数 decimal(20,6), 入库系统编号 int, g1 "
                 "int, g2 int, g3 int, g4 int, g5 int, g6 int, g7 int, g8 int, g9 int, g10 "
                 "int)");
  sqliteExec(db, "begin");
  sqlite3_stmt* ib = nullptr;
  sqlite3_stmt* it = nullptr;
  sqlite3_prepare_v2(
      db,
      ("insert into " + b + " values (?1, ?2, ?3, ?4, ?5, 0, 0, 0, 0, 0, 0, ?1, 'T1', '0101003')")
          .c_str(),
      -1, &ib, nullptr);
  sqlite3_prepare_v2(
      db,
      ("insert into " + t + " values (?1, ?2, ?5, ?2, ?5, 'RK', ?3, 0, 0, ?4, 0,0,0,0,0,0,0,0,0,0)")
          .c_str(),
      -1, &it, nullptr);
  for (int i = 1; i <= n; ++i) {
    const std::uint64_t r = mix(static_cast<std::uint64_t>(i) * 7919u + static_cast<unsigned>(n));
    char batch[16];
    std::snprintf(batch, sizeof batch, "B%07u", static_cast<unsigned>(r % 10000000u));
    char date[16];
    std::snprintf(date, sizeof date, "20%02u-%02u-%02u", 26 + static_cast<unsigned>(r % 3),
                  1 + static_cast<unsigned>((r >> 8) % 12),
                  1 + static_cast<unsigned>((r >> 16) % 28));
    const double stock = 1 + static_cast<double>((r >> 24) % 100);
    sqlite3_bind_int(ib, 1, i);
    sqlite3_bind_text(ib, 2, batch, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(ib, 3, date, -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(ib, 4, stock);
    sqlite3_bind_double(ib, 5, stock / 4);
    sqlite3_step(ib);
    sqlite3_reset(ib);
    sqlite3_bind_int(it, 1, i);
    sqlite3_bind_double(it, 2, stock);
    sqlite3_bind_text(it, 3, date, -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(it, 4, static_cast<int>(r % 1000000u));
    sqlite3_bind_double(it, 5, stock / 4);
    sqlite3_step(it);
    sqlite3_reset(it);
  }
  sqlite3_finalize(ib);
  sqlite3_finalize(it);
  sqliteExec(db, "commit");
}

struct Environment {
  bench::BenchDir dir{"quillon_bench_refselect"};
  std::string small;  // scale 1 with the candidate tables
  std::string large;  // scale 100
  automation::ObjectPtr login;
  automation::ObjectPtr largeLogin;
  std::set<int> made;

  Environment() {
    auto& registry = automation::classRegistry();
    automation::registerAutomationClasses(registry);
    ado::registerAdoClasses(registry);
    platform::registerPlatformClasses(registry);
    components::registerClasses(registry);
    classes::registerLibraryClasses(registry);
    small = (dir / "small.db").string();
    db::createDemoDatabase(small, 1, true);
    login = components::suite::Login::open(small, "demo", automation::DateValue{46361.0});
  }
  // The candidate tables of n rows, made on first use.
  void candidates(int n) {
    if (!made.insert(n).second) return;
    sqlite3* db = nullptr;
    sqlite3_open(small.c_str(), &db);
    makeCandidates(db, n);
    sqlite3_close(db);
  }
  const std::string& largeDb() {
    if (large.empty()) {
      large = (dir / "large.db").string();
      db::createDemoDatabase(large, 100, true);
      largeLogin = components::suite::Login::open(large, "demo", automation::DateValue{46361.0});
    }
    return large;
  }
};

Environment& env() {
  static Environment e;
  return e;
}

void setOption(const std::string& path, const char* name, const char* value) {
  auto con = std::make_shared<ado::Connection>();
  con->open("Provider=Quillon.SQLite;Data Source=" + path + ";Create=No");
  con->execute(std::string("update accinformation set cValue = '") + value + "' where cName = '" +
               name + "'");
}

struct Rule {
  bool trace;
  const char* text;
};
constexpr Rule kRules[] = {{false, "手工确定"}, {false, "批号先进先出"}, {false, "近效期先出"},
                           {true, "手工确定"},  {true, "先进先出"},      {true, "后进先出"}};

// The voucher and the item: blue or red, one unit or counted in pieces too (0102001, whose
// pieces are allocated beside the quantity in batch allocation and follow the rate in tracing).
struct VoucherCase {
  bool red;
  bool pieces;
  const char* name;
};
constexpr VoucherCase kVariants[] = {{false, false, "blue, one unit"},
                                     {true, false, "red, one unit"},
                                     {false, true, "blue, two units"},
                                     {true, true, "red, two units"}};

double threadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_minflt;
}

// Wall and CPU seconds of one call, and the pages it touched for the first time (minor faults).
struct Took {
  double wall = 0;
  double cpu = 0;
  double faults = 0;
};
template <class F>
Took timed(F&& f) {
  const long faults = minorFaults();
  const auto start = Clock::now();
  const double cpu = threadSeconds();
  f();
  return {std::chrono::duration<double>(Clock::now() - start).count(), threadSeconds() - cpu,
          static_cast<double>(minorFaults() - faults)};
}

// AutoRefer and, side by side in every iteration (in turns first and second), the baseline: the
// same query opened as AutoRefer opens it and sorted by the rule's sort, or not sorted for the
// manual rule. Every row is taken (the request exceeds what the rows hold). The iteration time is
// AutoRefer's; the counters give the baseline and the ratios of the summed times.
void BM_AutoRefer(benchmark::State& state) {
  Environment& e = env();
  const Rule& rule = kRules[state.range(0)];
  const VoucherCase& variant = kVariants[state.range(1)];
  const int n = static_cast<int>(state.range(2));
  e.candidates(n);
  setOption(e.small, rule.trace ? "InOutTrace" : "BatchOut", rule.text);
  classes::RefSelect::Request request;
  request.whCode = "T1";
  request.invCode = variant.pieces ? "0102001" : "0101003";
  request.refType = rule.trace ? dialogs::ref_select::kRefTrace : dialogs::ref_select::kRefBatch;
  request.sql =
      std::string("select * from ") + (rule.trace ? "CandT" : "CandB") + std::to_string(n);
  const double sign = variant.red ? -1.0 : 1.0;
  request.quantity = sign * 101.0 * n;  // more than all rows hold: every row is taken
  request.num = variant.pieces ? sign * 26.0 * n : 0.0;
  request.exchRate = variant.pieces ? 4.0 : 0.0;
  request.isRedVouch = variant.red;
  const std::string sort = dialogs::ref_select::allocationSort(request.refType, rule.text);

  auto context =
      components::createAs<components::SessionContext>(components::kSessionContextProgId);
  context->initialise(std::dynamic_pointer_cast<components::MarlinLogin>(e.login));
  const auto openAndSort = [&] {
    auto rs = std::make_shared<ado::Recordset>();
    rs->setCursorLocation(ado::adUseClient);
    rs->open(Variant(request.sql), Variant(automation::ObjectPtr(context->connection())),
             ado::adOpenDynamic, ado::adLockBatchOptimistic);
    if (!sort.empty()) rs->setSort(sort);
    rs->moveFirst();
    benchmark::DoNotOptimize(rs->value(std::size_t{1}));
  };
  std::int32_t rows = 0;
  const auto allocate = [&] {
    classes::RefSelect refSelect;
    std::string err = "silent";  // a blue request reports what the rows could not give
    refSelect.AutoRefer(e.login, request, err);
    rows = refSelect.ReturnData() ? refSelect.ReturnData()->recordCount() : 0;
  };
  Took base;
  Took refer;
  bool baseFirst = true;
  for (auto _ : state) {
    Took b;
    Took r;
    if (baseFirst) {
      b = timed(openAndSort);
      r = timed(allocate);
    } else {
      r = timed(allocate);
      b = timed(openAndSort);
    }
    baseFirst = !baseFirst;
    base.wall += b.wall;
    base.cpu += b.cpu;
    base.faults += b.faults;
    refer.wall += r.wall;
    refer.cpu += r.cpu;
    refer.faults += r.faults;
    state.SetIterationTime(r.wall);
  }
  if (rows != n) state.SkipWithError(("took " + std::to_string(rows) + " rows").c_str());
  const double iterations = static_cast<double>(state.iterations());
  state.SetLabel(std::string(rule.trace ? "trace " : "batch ") + rule.text + ", " + variant.name);
  state.counters["rows"] = rows;
  state.counters["cpu_ms"] = 1000 * refer.cpu / iterations;
  state.counters["base_ms"] = 1000 * base.wall / iterations;
  state.counters["base_cpu_ms"] = 1000 * base.cpu / iterations;
  state.counters["faults"] = refer.faults / iterations;
  state.counters["base_faults"] = base.faults / iterations;
  state.counters["ratio"] = base.wall > 0 ? refer.wall / base.wall : 0;
  state.counters["cpu_ratio"] = base.cpu > 0 ? refer.cpu / base.cpu : 0;
}

// Every rule at 10 000 to 1 000 000 rows (blue, one unit) for the growth; red vouchers and
// two-unit items at 100 000 and 1 000 000.
void autoReferCases(benchmark::internal::Benchmark* b, bool million) {
  for (int rule = 0; rule < 6; ++rule) {
    for (int n : {10000, 30000, 100000, 300000, 1000000}) {
      if ((n == 1000000) == million) b->Args({rule, 0, n});
    }
    for (int variant = 1; variant < 4; ++variant) {
      b->Args({rule, variant, million ? 1000000 : 100000});
    }
  }
}

// The allocation rules alone, over rows already in memory.
void BM_AllocateRules(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::vector<dialogs::ref_select::CandidateRow> rows(n);
  for (std::size_t i = 0; i < n; ++i) rows[i] = {1.0 + static_cast<double>(mix(i) % 100), 0};
  const dialogs::ref_select::Amounts requested{101.0 * static_cast<double>(n), 0};
  for (auto _ : state) {
    auto allocation = dialogs::ref_select::allocate(rows, requested, true, {});
    benchmark::DoNotOptimize(allocation.left.qty);
  }
}

// Opening the dialog's grid over the rows, as Refer does before showing it.
void BM_LoadForm(benchmark::State& state) {
  Environment& e = env();
  const int n = static_cast<int>(state.range(0));
  e.candidates(n);
  auto context =
      components::createAs<components::SessionContext>(components::kSessionContextProgId);
  context->initialise(std::dynamic_pointer_cast<components::MarlinLogin>(e.login));
  module::gContext = context;
  auto source = std::make_shared<ado::Recordset>();
  source->setCursorLocation(ado::adUseClient);
  source->open(Variant("select * from CandB" + std::to_string(n)),
               Variant(automation::ObjectPtr(context->connection())), ado::adOpenDynamic,
               ado::adLockBatchOptimistic);
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<dialogs::frmRefSelect>();
    form->InvCode = "0101003";
    form->Quantity = 10;
    form->DataFrom = source->clone();
    state.ResumeTiming();
    form->Load();
    benchmark::DoNotOptimize(form->spgList.Rows());
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}

// The list filters over n candidate rows: the stock dialog's show-check-boxes refilling its grid
// (stock > 0 and = 0 shown), and a Filter of two conditions on the candidates' recordset.
void BM_ListFilterShowBoxes(benchmark::State& state) {
  Environment& e = env();
  const int n = static_cast<int>(state.range(0));
  e.candidates(n);
  auto context =
      components::createAs<components::SessionContext>(components::kSessionContextProgId);
  context->initialise(std::dynamic_pointer_cast<components::MarlinLogin>(e.login));
  module::gContext = context;
  auto form = std::make_unique<dialogs::frmRefSelect>();
  form->InvCode = "0101003";
  form->Quantity = 10;
  form->DataFrom = std::make_shared<ado::Recordset>();
  form->DataFrom->setCursorLocation(ado::adUseClient);
  form->DataFrom->open(Variant("select * from CandB" + std::to_string(n)),
                       Variant(automation::ObjectPtr(context->connection())), ado::adOpenDynamic,
                       ado::adLockBatchOptimistic);
  form->Load();
  for (auto _ : state) {
    // Each iteration times the same refill: the box checked from unchecked (each change of the
    // box refills the grid; the unchecking is set-up).
    state.PauseTiming();
    form->chkShowZero.setValue(forms::vbUnchecked);
    state.ResumeTiming();
    form->chkShowZero.setValue(forms::vbChecked);
    benchmark::DoNotOptimize(form->spgList.Rows());
  }
  state.counters["rows"] = n;
  state.counters["listed"] = form->spgList.Rows() - 1;
}

void BM_ListFilterCriteria(benchmark::State& state) {
  Environment& e = env();
  const int n = static_cast<int>(state.range(0));
  e.candidates(n);
  auto con = std::make_shared<ado::Connection>();
  con->open("Provider=Quillon.SQLite;Data Source=" + e.small + ";Create=No");
  auto rs = std::make_shared<ado::Recordset>();
  rs->setCursorLocation(ado::adUseClient);
  rs->open(Variant("select * from CandB" + std::to_string(n)), Variant(automation::ObjectPtr(con)),
           ado::adOpenStatic, ado::adLockBatchOptimistic);
  std::int32_t kept = 0;
  for (auto _ : state) {
    rs->setFilter(Variant("结存数量 > 50 AND 批号 LIKE 'B1%'"));
    kept = rs->recordCount();
    state.PauseTiming();
    rs->setFilter(Variant(""));
    state.ResumeTiming();
  }
  state.counters["rows"] = n;
  state.counters["listed"] = kept;
}

// The rewrite of a host's stock query and the rewritten query run, on a scale-100 account.
void BM_GetAllBSQLRoundTrip(benchmark::State& state) {
  Environment& e = env();
  const std::string& path = e.largeDb();
  classes::RefSelect refSelect;
  refSelect.CreateAndDropTmpCurrentStock(e.largeLogin, true);
  components::suite::StockQueriesObject queries;
  const std::string sql = queries.currentStockSql({"01", "0101002", {}, ""}, false);
  auto con = std::make_shared<ado::Connection>();
  con->open("Provider=Quillon.SQLite;Data Source=" + path + ";Create=No");
  for (auto _ : state) {
    std::string text = sql;
    auto rs = con->execute(refSelect.GetAllBSQL(text));
    benchmark::DoNotOptimize(rs->recordCount());
  }
  refSelect.CreateAndDropTmpCurrentStock(e.largeLogin, false);
}

// Making the work table where there is none, as a voucher does (made over an existing one it is
// dropped first: the drop is set-up here, so that every iteration makes the table the same way).
void BM_CreateTmpCurrentStock(benchmark::State& state) {
  Environment& e = env();
  e.largeDb();
  classes::RefSelect refSelect;
  for (auto _ : state) {
    refSelect.CreateAndDropTmpCurrentStock(e.largeLogin, true);
    state.PauseTiming();
    refSelect.CreateAndDropTmpCurrentStock(e.largeLogin, false);
    state.ResumeTiming();
  }
}

// The same table made raw, with the same index on AutoID the work table gets, where there is
// none (the drop is set-up, as for the work table).
void BM_RawInsertSelect(benchmark::State& state) {
  Environment& e = env();
  sqlite3* db = nullptr;
  sqlite3_open(e.largeDb().c_str(), &db);
  for (auto _ : state) {
    sqliteExec(db,
               "create table Raw_CurrentS ( AutoID int , fSumOutQ decimal(20,6),fSumOutN "
               "decimal(20,6)); insert into Raw_CurrentS select Autoid,0,0 from CurrentStock; "
               "create index IX_Raw_CurrentS on Raw_CurrentS (AutoID)");
    state.PauseTiming();
    sqliteExec(db, "drop table Raw_CurrentS");
    state.ResumeTiming();
  }
  sqlite3_close(db);
}

}  // namespace

QUILLON_BENCHMARK(BM_AutoRefer)
    ->Apply([](benchmark::internal::Benchmark* b) { autoReferCases(b, false); })
    ->ArgNames({"rule", "voucher", "rows"})
    ->UseManualTime()
    ->Apply(bench::keepsItsTime)
    ->MinTime(1.0)
    ->Unit(benchmark::kMillisecond);
// A million rows: four turns, two with each side first (with two, one slow turn of either side
// moved a case's ratio by a tenth).
QUILLON_BENCHMARK(BM_AutoRefer)
    ->Apply([](benchmark::internal::Benchmark* b) { autoReferCases(b, true); })
    ->ArgNames({"rule", "voucher", "rows"})
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_ListFilterShowBoxes)
    ->ArgName("rows")
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_ListFilterCriteria)
    ->ArgName("rows")
    ->Arg(10000)
    ->Arg(30000)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_AllocateRules)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_LoadForm)->Arg(100000)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_GetAllBSQLRoundTrip)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_CreateTmpCurrentStock)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_RawInsertSelect)->Unit(benchmark::kMillisecond);

QUILLON_BENCHMARK_MAIN()
