// The delivery-note dialog on a scale-100 demo account:
//  - the head query of an empty filter through PurchaseRefService (statement, translation, a
//    client-side recordset with every field read) against the same statement, translated once,
//    stepped raw in SQLite with every column read (side by side in each iteration; target: at
//    most 1.5 times the raw run);
//  - Ctrl+E, the bulk batch assignment over every line of a note of 10 and of 100 lines, each
//    line allocated over the run's work table (target: linear growth, so 100 lines take about ten
//    times what 10 take; 100 lines within 5 s on the server), on the account file and on the
//    server that QUILLON_BENCH_SERVER names (a location of any database on it, as
//    scripts/run-benchmarks.sh starts one); without it the server's runs say so and skip.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "classes/public_classes.h"
#include "classes/ref_select_stock.h"
#include "components/purchase_ref_service.h"
#include "components/session_context.h"
#include "components/suite/login.h"
#include "components/suite/purchase_ref_queries.h"
#include "db/demo_data.h"
#include "dialogs/frmCons/frm_cons.h"
#include "forms/constants.h"
#include "module/module_ctl.h"
#include "sql/locations.h"
#include "sql/program.h"
#include "sql/sqlite/functions.h"
#include "sql/translator.h"

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;

// A verified note of `lines` open lines, each of a different item and warehouse that has stock,
// every line asking for a little more than the item's first stock row holds, so that each one
// takes that row and part of the next.
std::string addNote(ado::Connection& conn, int lines) {
  const std::string code = "BENCH" + std::to_string(lines);
  conn.execute(
      "INSERT INTO DispatchList (cDLCode, cVouchType, dDate, cBusType, cCusCode, cDepCode, "
      "iState) VALUES ('" +
      code + "', '05', '2026-12-05', '普通销售', 'C001', '0401', 2)");
  const int dlid = conn.execute("SELECT DLID FROM DispatchList WHERE cDLCode = '" + code + "'")
                       ->value(std::size_t{0})
                       .toLong();
  auto stock = conn.execute(
      "SELECT cWhCode, cInvCode, min(iQuantity) AS q FROM CurrentStock WHERE iQuantity > 1 AND "
      "cFree1 = '' GROUP BY cWhCode, cInvCode HAVING count(*) >= 2 ORDER BY cInvCode, cWhCode");
  int row = 0;
  for (stock->moveFirst(); !stock->eof() && row < lines; stock->moveNext()) {
    ++row;
    conn.execute(
        "INSERT INTO DispatchLists (DLID, iRowNo, cWhCode, cInvCode, iQuantity, "
        "fOutQuantity) VALUES (" +
        std::to_string(dlid) + ", " + std::to_string(row) + ", '" +
        stock->value("cWhCode").toString() + "', '" + stock->value("cInvCode").toString() + "', " +
        std::to_string(stock->value("q").toDouble() + 1) + ", 0)");
  }
  if (row < lines) throw std::runtime_error("not enough stock for the benchmark's note");
  return code;
}

// One demo account at scale 100 with its two notes, logged in as the administrator.
struct Account {
  std::string location;
  std::shared_ptr<components::suite::Login> login;
  std::string note10;
  std::string note100;

  void build(const std::string& where) {
    location = where;
    db::createDemoDatabase(location, 100, true);
    login = components::suite::Login::open(location, "demo");
    use();
    auto& conn = *module::gContext->connection();
    note10 = addNote(conn, 10);
    note100 = addNote(conn, 100);
  }
  // Makes this account's session the one the dialogs work in.
  void use() const { module::OpenSession(login); }
};

struct Accounts {
  bench::BenchDir dir{"quillon-bench-cons"};
  Account file;
  Account server;
  std::string serverError;  // why there is no server account

  Accounts() {
    classes::registerAllClasses(automation::classRegistry());
    file.build((dir / "demo100.db").string());
    const char* s = std::getenv("QUILLON_BENCH_SERVER");
    if (s == nullptr || *s == 0) {
      serverError = "no server: set QUILLON_BENCH_SERVER (make bench starts one)";
      return;
    }
    // A server that fails leaves the file's benchmarks to run; the server's say why.
    try {
      server.build(sql::Location(s)
                       .withDatabaseName("quillon_bench_cons_" + std::to_string(::getpid()))
                       .text());
    } catch (const std::exception& e) {
      serverError = std::string("the server's account was not built: ") + e.what();
    }
  }
  ~Accounts() {
    module::gContext.reset();
    server.login.reset();
    file.login.reset();
    try {
      if (!server.location.empty()) sql::Location(server.location).drop();
    } catch (const std::exception&) {
      // the benchmark server goes with its folder
    }
  }
};

Accounts& accounts() {
  static Accounts a;
  return a;
}

// The account of `engine` (0 the file, 1 the server) made current, or nullptr with the reason
// the benchmark skips.
const Account* account(int engine, benchmark::State& state) {
  const Accounts& all = accounts();
  if (engine != 0 && !all.serverError.empty()) {
    state.SkipWithError(all.serverError.c_str());
    return nullptr;
  }
  const Account& a = engine == 0 ? all.file : all.server;
  a.use();
  state.SetLabel(engine == 0 ? "file" : "server");
  return &a;
}

// The statement stepped raw, every column of every row read, as the recordset reads them.
double rawRun(const std::string& path, const std::string& engineSql, std::int64_t& rows) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  // The server's functions and collations that the translated text names.
  sql::registerServerFunctions(db);
  const auto start = Clock::now();
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, engineSql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    const std::string error = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw std::runtime_error("raw statement refused: " + error);
  }
  rows = 0;
  double sink = 0;
  const int cols = sqlite3_column_count(stmt);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < cols; ++c) {
      if (sqlite3_column_type(stmt, c) == SQLITE_TEXT) {
        sink += sqlite3_column_bytes(stmt, c);
      } else {
        sink += sqlite3_column_double(stmt, c);
      }
    }
  }
  sqlite3_finalize(stmt);
  const double took = std::chrono::duration<double>(Clock::now() - start).count();
  sqlite3_close(db);
  benchmark::DoNotOptimize(sink);
  return took;
}

double serviceRun(std::int64_t& rows) {
  const auto start = Clock::now();
  std::shared_ptr<ado::Recordset> rs;
  components::purchaseRefService()->getDeliveryHeads(*module::gContext, "", rs);
  const ado::RecordsetView view(*rs);
  double sink = 0;
  for (int r = 0; r < view.rowCount(); ++r) {
    for (int f = 0; f < view.fieldCount(); ++f) sink += view.value(r, f).isNull() ? 0 : 1;
  }
  rows = view.rowCount();
  benchmark::DoNotOptimize(sink);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_DeliveryHeadsEmptyFilter(benchmark::State& state) {
  const Account* a = account(0, state);
  components::purchaseRefService()->setShowClosed(false);
  const sql::Program program =
      sql::Translator::translateUncached(components::suite::deliveryHeadQuery("", false));
  const std::string engineSql = program.front().sql;
  double raw = 0;
  double service = 0;
  std::int64_t rows = 0;
  std::int64_t rawRows = 0;
  for (auto _ : state) {
    raw += rawRun(a->location, engineSql, rawRows);
    const double took = serviceRun(rows);
    service += took;
    state.SetIterationTime(took);
  }
  if (rows != rawRows) state.SkipWithError("the two runs listed different heads");
  state.counters["heads"] = static_cast<double>(rows);
  state.counters["raw_ms"] = 1000 * raw / static_cast<double>(state.iterations());
  state.counters["ratio"] = raw > 0 ? service / raw : 0;
}
QUILLON_BENCHMARK(BM_DeliveryHeadsEmptyFilter)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The dialog with one note listed and marked, its lines shown as loaded.
struct Dialog {
  dialogs::frmCons form;
  explicit Dialog(const std::string& note) {
    form.setStockReference(classes::NewStockReference());
    form.Load();
    form.cmbDLID.setText(note);
    form.cmdFilter.Click();
    form.lstFhdHead.setRow(1);
    form.lstFhdHead.setMarked(1, true);
  }
  ~Dialog() { form.Unload(); }
  void reloadLines() {
    form.Check1.setValue(forms::vbUnchecked);
    form.Check1.setValue(forms::vbChecked);
  }
};

void BM_BulkBatchAssignment(benchmark::State& state) {
  const Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  const int lines = static_cast<int>(state.range(1));
  Dialog dialog(lines == 10 ? a->note10 : a->note100);
  int rowsAfter = 0;
  for (auto _ : state) {
    state.PauseTiming();
    dialog.reloadLines();
    if (dialog.form.lstFhdBody.visibleDataRows() != lines) {
      state.SkipWithError("the note's lines are not all listed");
      break;
    }
    state.ResumeTiming();
    dialog.form.userKey('E', forms::vbCtrlMask, 0);
    state.PauseTiming();
    rowsAfter = dialog.form.lstFhdBody.visibleDataRows();
    state.ResumeTiming();
  }
  state.counters["lines"] = lines;
  state.counters["rows_after"] = rowsAfter;
  state.counters["ms_per_line"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
QUILLON_BENCHMARK(BM_BulkBatchAssignment)
    ->ArgNames({"engine", "lines"})
    ->Args({0, 10})
    ->Args({0, 100})
    ->Args({1, 10})
    ->Args({1, 100})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

QUILLON_BENCHMARK_MAIN()
