// The outsourced-order dialog's list queries on a scale-100 demo account: for each mode the header
// query (every header the empty filter allows), the product-line query of all those headers and,
// issuing, the material query of all their product lines, each through the dialog's own routine
// (probes, translation, recordset) against the same statement, translated once beforehand, stepped
// directly through SQLite with every column read (measured side by side in each iteration; target:
// the routine at most 1.5 times the direct run).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "classes/public_classes.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_rules.h"
#include "module/module_ctl.h"
#include "sql/database.h"
#include "sql/sqlite/sqlite_database.h"
#include "sql/translator.h"

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;
using dialogs::frmWWProduceOrder;

struct Account {
  bench::BenchDir dir{"quillon-bench-ww-order"};
  std::string path;
  std::shared_ptr<ado::Connection> conn;
  std::shared_ptr<sql::Database> direct;

  Account() {
    path = (dir / "demo100.db").string();
    db::createDemoDatabase(path, 100, true);
    classes::registerAllClasses(automation::classRegistry());
    conn = module::OpenSession(components::suite::Login::open(path, "demo"));
    direct = sql::Database::open(path);
  }
};

Account& account() {
  static Account a;
  return a;
}

// The statement's rows stepped on the engine, every column read as the recordset reads it.
double runDirect(const std::string& engineSql, std::int64_t& rows) {
  sqlite3* db = sql::sqliteHandle(*account().direct);
  const auto start = Clock::now();
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, engineSql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
  rows = 0;
  const int columns = sqlite3_column_count(st);
  while (sqlite3_step(st) == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) {
      switch (sqlite3_column_type(st, c)) {
        case SQLITE_INTEGER:
          benchmark::DoNotOptimize(sqlite3_column_int64(st, c));
          break;
        case SQLITE_FLOAT:
          benchmark::DoNotOptimize(sqlite3_column_double(st, c));
          break;
        case SQLITE_TEXT:
          benchmark::DoNotOptimize(sqlite3_column_text(st, c));
          break;
        default:
          break;
      }
    }
    ++rows;
  }
  sqlite3_finalize(st);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string engineText(const std::string& tsql) {
  const sql::Program program = sql::Translator::translateUncached(tsql);
  if (program.size() != 1) throw std::runtime_error("one statement expected");
  return program.front().sql;
}

std::string keyList(const std::shared_ptr<ado::Recordset>& rs, const char* field) {
  std::vector<std::string> keys;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) keys.push_back(rs->value(field).toString());
  return dialogs::ww_produce_order::idList(keys);
}

enum class Level { Headers, Lines, Materials };

// The dialog of a mode, loaded as its owner would show it, with the id lists of its levels.
struct Dialog {
  frmWWProduceOrder form;
  std::string headerIds;
  std::string mainIds;

  Dialog(bool bOI, bool concession, int voucherType) {
    module::gVouchType = voucherType;
    form.bOI = bOI;
    form.setConnection(account().conn);
    form.Load();
    if (concession) form.chkYbjs.setValue(forms::vbChecked);
    std::string err;
    headerIds = keyList(form.loadHeaders("", err), "ID");
    if (!bOI) mainIds = keyList(form.loadLines(headerIds, err), "MainID");
  }
  ~Dialog() { form.Unload(); }

  // Runs the level's routine; its statement and row count.
  double run(Level level, std::string& statement, std::int64_t& rows) {
    std::string err;
    const auto start = Clock::now();
    std::shared_ptr<ado::Recordset> rs;
    switch (level) {
      case Level::Headers:
        rs = form.loadHeaders("", err);
        statement = form.headerStatement();
        break;
      case Level::Lines:
        rs = form.loadLines(headerIds, err);
        statement = form.lineStatement();
        break;
      case Level::Materials:
        rs = form.loadMaterials(mainIds, err);
        statement = form.materialStatement();
        break;
    }
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    if (!rs) throw std::runtime_error(err);
    rows = rs->recordCount();
    return took;
  }
};

void measure(benchmark::State& state, bool bOI, bool concession, int voucherType, Level level) {
  Dialog dialog(bOI, concession, voucherType);
  std::string statement;
  std::int64_t rows = 0;
  dialog.run(level, statement, rows);  // warms the translation cache, as a second filter finds it
  const std::string engineSql = engineText(statement);
  double routine = 0;
  double direct = 0;
  std::int64_t directRows = 0;
  for (auto _ : state) {
    direct += runDirect(engineSql, directRows);
    const double took = dialog.run(level, statement, rows);
    routine += took;
    state.SetIterationTime(took);
  }
  if (directRows != rows) state.SkipWithError("the routine and the direct run disagree");
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["direct_ms"] = 1000 * direct / static_cast<double>(state.iterations());
  state.counters["ratio"] = direct > 0 ? routine / direct : 0;
}

void BM_ReceiptHeaders(benchmark::State& s) {
  measure(s, true, false, 0, Level::Headers);
}
void BM_ReceiptLines(benchmark::State& s) {
  measure(s, true, false, 0, Level::Lines);
}
void BM_ConcessionHeaders(benchmark::State& s) {
  measure(s, true, true, 72, Level::Headers);
}
void BM_ConcessionLines(benchmark::State& s) {
  measure(s, true, true, 72, Level::Lines);
}
void BM_IssueHeaders(benchmark::State& s) {
  measure(s, false, false, 0, Level::Headers);
}
void BM_IssueLines(benchmark::State& s) {
  measure(s, false, false, 0, Level::Lines);
}
void BM_IssueMaterials(benchmark::State& s) {
  measure(s, false, false, 0, Level::Materials);
}
void BM_Type39Headers(benchmark::State& s) {
  measure(s, false, false, 39, Level::Headers);
}
void BM_Type39Lines(benchmark::State& s) {
  measure(s, false, false, 39, Level::Lines);
}

#define QUILLON_WW_BENCH(name) \
  QUILLON_BENCHMARK(name)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5)
QUILLON_WW_BENCH(BM_ReceiptHeaders);
QUILLON_WW_BENCH(BM_ReceiptLines);
QUILLON_WW_BENCH(BM_ConcessionHeaders);
QUILLON_WW_BENCH(BM_ConcessionLines);
QUILLON_WW_BENCH(BM_IssueHeaders);
QUILLON_WW_BENCH(BM_IssueLines);
QUILLON_WW_BENCH(BM_IssueMaterials);
QUILLON_WW_BENCH(BM_Type39Headers);
QUILLON_WW_BENCH(BM_Type39Lines);

}  // namespace

QUILLON_BENCHMARK_MAIN()
