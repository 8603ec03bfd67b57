// Building the demo account in memory: schema through the dialect layer, then the bulk load.
// The target is scale 100 (about 100 000 stock rows and as many order lines) in under 60 s.
#include <benchmark/benchmark.h>

#include "bench/bench_runner.h"
#include "db/demo_data.h"
#include "db/schema.h"
#include "sql/database.h"

namespace {

void BM_DemoAccount(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  std::int64_t rows = 0;
  for (auto _ : state) {
    auto db = quillon::sql::Database::open(":memory:");
    quillon::db::applySchema(*db);
    rows = quillon::db::generateDemoData(*db, scale).totalRows();
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["rows/s"] =
      benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}

void BM_Schema(benchmark::State& state) {
  for (auto _ : state) {
    auto db = quillon::sql::Database::open(":memory:");
    quillon::db::applySchema(*db);
  }
}

}  // namespace

QUILLON_BENCHMARK(BM_Schema)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_DemoAccount)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
QUILLON_BENCHMARK(BM_DemoAccount)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);

QUILLON_BENCHMARK_MAIN()
