// Both engines side by side on the scale-100 demo account: building the account (prepared inserts
// into the file, COPY to the server), opening and reading a 99 000-row recordset against each
// engine's own loop over the same rows (sqlite3_step, and PQexec with every value read through
// PQgetvalue), a dialog's filter query (the delivery-note heads) and RefSelect.AutoRefer with its
// per-workstation work table, and that work table made alone. The server is the one
// QUILLON_BENCH_SERVER names (a location of any database on it, as scripts/run-benchmarks.sh starts
// one); without it only the file runs.
// --scale=N builds the accounts at another scale (the tests run the benchmarks briefly at scale 1).
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "bench/bench_runner.h"
#include "bench/bench_scratch.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "components/suite/purchase_ref_queries.h"
#include "components/suite/stock_queries_object.h"
#include "db/demo_data.h"
#include "script/scripted_ui_host.h"
#include "sql/locations.h"
#include "sql/sqlite/sqlite_database.h"

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;

constexpr const char* kQuery = "select * from CurrentStock";

int gScale = 100;

struct Account {
  std::string location;
  double buildSeconds = 0;
  std::shared_ptr<ado::Connection> conn;
  automation::ObjectPtr login;
};

struct Accounts {
  bench::BenchDir dir{"quillon_bench_engines"};
  Account file;
  Account server;
  std::string serverError;  // why the server's account could not be built

  Accounts() {
    classes::registerAllClasses(automation::classRegistry());
    build(file, (dir / ("demo" + std::to_string(gScale) + ".db")).string());
    if (const char* s = std::getenv("QUILLON_BENCH_SERVER"); s != nullptr && *s != 0) {
      // A server that fails leaves the file's benchmarks to run; the server's say why.
      try {
        build(server, sql::Location(s)
                          .withDatabaseName("quillon_bench_" + std::to_string(::getpid()))
                          .text());
      } catch (const std::exception& e) {
        serverError = std::string("the server's account was not built: ") + e.what();
      }
    }
  }
  ~Accounts() {
    server.conn.reset();
    server.login.reset();
    try {
      if (!server.location.empty()) sql::Location(server.location).drop();
    } catch (const std::exception&) {
      // the benchmark server goes with its folder
    }
  }

  static void build(Account& a, const std::string& location) {
    a.location = location;
    const auto start = Clock::now();
    db::createDemoDatabase(location, gScale, true);
    a.buildSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    a.conn = std::make_shared<ado::Connection>();
    a.conn->open(components::suite::accountConnectionString(location));
    a.login = components::suite::Login::open(location, "demo", automation::DateValue{46361.0});
  }
};

Accounts& accounts() {
  static Accounts a;
  return a;
}

Account* account(int engine, benchmark::State& state) {
  Accounts& all = accounts();
  Account& a = engine == 0 ? all.file : all.server;
  if (engine != 0 && !all.serverError.empty()) {
    state.SkipWithError(all.serverError.c_str());
    return nullptr;
  }
  if (a.conn == nullptr) {
    state.SkipWithError("no server: set QUILLON_BENCH_SERVER (make bench starts one)");
    return nullptr;
  }
  state.SetLabel(engine == 0 ? "file" : "server");
  return &a;
}

// Every field of every row as a Variant, the way a host reads a recordset.
std::int64_t openAndRead(ado::Connection& conn, const std::string& sql) {
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(sql, std::static_pointer_cast<ado::Connection>(conn.self()));
  std::int64_t checksum = 0;
  const auto& fields = *rs->fields();
  const auto n = static_cast<std::size_t>(fields.count());
  while (!rs->eof()) {
    for (std::size_t i = 0; i < n; ++i)
      checksum += static_cast<int>(fields.item(i)->value().type());
    rs->moveNext();
  }
  return checksum;
}

// The engine's own loop over the same rows: each value taken as its engine hands it out.
std::int64_t rawRead(Account& a) {
  std::int64_t checksum = 0;
  if (sqlite3* db = sql::sqliteHandle(a.conn->database())) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "select * from \"CurrentStock\"", -1, &st, nullptr);
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
      for (int i = 0; i < n; ++i) {
        switch (sqlite3_column_type(st, i)) {
          case SQLITE_INTEGER:
            checksum += sqlite3_column_int64(st, i);
            break;
          case SQLITE_FLOAT:
            checksum += static_cast<std::int64_t>(sqlite3_column_double(st, i));
            break;
          case SQLITE_TEXT:
            checksum += sqlite3_column_bytes(st, i);
            break;
          default:
            break;
        }
      }
    }
    sqlite3_finalize(st);
    return checksum;
  }
  static PGconn* pg = nullptr;
  if (pg == nullptr) {
    const std::string uri = a.location;
    pg = PQconnectdb(uri.c_str());
  }
  PGresult* r = PQexec(pg, "select * from currentstock");
  const int rows = PQntuples(r);
  const int n = PQnfields(r);
  for (int row = 0; row < rows; ++row) {
    for (int i = 0; i < n; ++i) {
      if (PQgetisnull(r, row, i)) continue;
      const char* v = PQgetvalue(r, row, i);
      const Oid type = PQftype(r, i);
      if (type == 20 || type == 21 || type == 23) {
        checksum += std::strtoll(v, nullptr, 10);
      } else if (type == 700 || type == 701) {
        checksum += static_cast<std::int64_t>(std::strtod(v, nullptr));
      } else {
        checksum += PQgetlength(r, row, i);
      }
    }
  }
  PQclear(r);
  return checksum;
}

void BM_BuildScale100(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  for (auto _ : state) benchmark::DoNotOptimize(a->buildSeconds);
  state.counters["seconds"] = a->buildSeconds;
}
QUILLON_BENCHMARK(BM_BuildScale100)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_RecordsetOpenRead(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  for (auto _ : state) benchmark::DoNotOptimize(openAndRead(*a->conn, kQuery));
}
QUILLON_BENCHMARK(BM_RecordsetOpenRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RawEngineRead(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  for (auto _ : state) benchmark::DoNotOptimize(rawRead(*a));
}
QUILLON_BENCHMARK(BM_RawEngineRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Recordset open+read over the engine's own loop, measured in one run so the two see the same
// machine.
void BM_OpenReadOverRaw(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  double raw = 0;
  double wrapped = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    benchmark::DoNotOptimize(rawRead(*a));
    raw += std::chrono::duration<double>(Clock::now() - start).count();
    start = Clock::now();
    benchmark::DoNotOptimize(openAndRead(*a->conn, kQuery));
    wrapped += std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.counters["ratio"] = wrapped / raw;
}
QUILLON_BENCHMARK(BM_OpenReadOverRaw)->Arg(0)->Arg(1)->Iterations(5)->Unit(benchmark::kMillisecond);

// The delivery-note dialog's filter: every open head of the account.
void BM_DialogFilter(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  const std::string sql = components::suite::deliveryHeadQuery("", false);
  for (auto _ : state) benchmark::DoNotOptimize(openAndRead(*a->conn, sql));
}
QUILLON_BENCHMARK(BM_DialogFilter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// RefSelect.AutoRefer of one line over the current stock of an inventory, with the desk's work
// table made and dropped around it, as a voucher's automatic allocation runs.
void BM_AutoRefer(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  forms::ScopedUiHost host{std::make_shared<script::ScriptedUiHost>()};
  components::suite::StockQueriesObject queries;
  const std::string stock = queries.currentStockSql({"01", "0101003", {}, ""}, false);
  for (auto _ : state) {
    // GetAllBSQL writes the netted query back into the text it is given, as a host's variable
    // gets it: each iteration nets a fresh copy of the stock query, not the last one's netting.
    state.PauseTiming();
    std::string sql = stock;
    state.ResumeTiming();
    classes::RefSelect refSelect;
    refSelect.CreateAndDropTmpCurrentStock(a->login, true);
    classes::RefSelect::Request request;
    request.whCode = "01";
    request.invCode = "0101003";
    request.quantity = 1;
    request.sql = refSelect.GetAllBSQL(sql);
    std::string shortfall = "silent";
    refSelect.AutoRefer(a->login, request, shortfall);
    benchmark::DoNotOptimize(refSelect.ReturnData());
    refSelect.CreateAndDropTmpCurrentStock(a->login, false);
  }
}
QUILLON_BENCHMARK(BM_AutoRefer)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The desk's current-stock work table made, as a voucher's entry begins (its drop is set-up).
void BM_CreateWorkTable(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  classes::RefSelect refSelect;
  for (auto _ : state) {
    refSelect.CreateAndDropTmpCurrentStock(a->login, true);
    state.PauseTiming();
    refSelect.CreateAndDropTmpCurrentStock(a->login, false);
    state.ResumeTiming();
  }
}
QUILLON_BENCHMARK(BM_CreateWorkTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same table as it was made before it became a view: a copy of every stock row with zero sums
// and an index on AutoID, for the figures side by side (its drop is set-up).
void BM_CopiedWorkTable(benchmark::State& state) {
  Account* a = account(static_cast<int>(state.range(0)), state);
  if (a == nullptr) return;
  for (auto _ : state) {
    a->conn->execute(
        "create table Bench_CurrentS ( AutoID int , fSumOutQ decimal(20,6),fSumOutN "
        "decimal(20,6)) insert into Bench_CurrentS select Autoid,0,0 from CurrentStock "
        "CREATE INDEX IXBench_CurrentS ON Bench_CurrentS (AutoID)");
    state.PauseTiming();
    a->conn->execute("drop table Bench_CurrentS");
    state.ResumeTiming();
  }
}
QUILLON_BENCHMARK(BM_CopiedWorkTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) {
      const auto scale = bench::takeScaleArg(argv[0], argv[i], db::kMaxDemoScale, gScale);
      if (scale == bench::ScaleArg::Refused) return 1;
      if (scale == bench::ScaleArg::Taken) continue;
    }
    argv[kept++] = argv[i];
  }
  argv[kept] = nullptr;
  return bench::runAll(kept, argv);
}
