// ROUND on reals in the file's engine: the call alone (the integer arithmetic against printf and
// strtod, per value), and the outsourced issue heads' open-material condition over 200 000
// material lines, as their list statement tests it before its first row.
#include <sqlite3.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_runner.h"
#include "sql/sqlite/decimal_digits.h"
#include "sql/sqlite/functions.h"

namespace {

constexpr int kLines = 200000;

// Quantities of up to six places and what is left of them: the values the lists round.
std::vector<double> quantities() {
  std::mt19937_64 random(38);
  std::uniform_int_distribution<std::int64_t> millis(0, 10000000);
  std::vector<double> v;
  v.reserve(4096);
  for (int i = 0; i < 4096; ++i) {
    v.push_back(static_cast<double>(millis(random)) / 1000.0 -
                static_cast<double>(millis(random)) / 1000000.0);
  }
  return v;
}

template <double (*Round)(double, std::int64_t)>
void roundEach(benchmark::State& state) {
  const std::vector<double> values = quantities();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Round(values[i], 2));
    i = (i + 1) % values.size();
  }
}

void BM_RoundReal(benchmark::State& state) {
  roundEach<quillon::sql::roundFifteenDigits>(state);
}
void BM_RoundRealByText(benchmark::State& state) {
  roundEach<quillon::sql::roundFifteenDigitsByText>(state);
}

// tsql_round on reals through printf and strtod, as the file rounded before (byText:1).
void roundByText(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
  sqlite3_result_double(ctx, quillon::sql::roundFifteenDigitsByText(sqlite3_value_double(argv[0]),
                                                                    sqlite3_value_int64(argv[1])));
}

// The condition as the file's translation writes it, over an in-memory table of material lines
// with a covering index on the head, as the account has.
void BM_OpenMaterialCondition(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  quillon::sql::registerServerFunctions(db);
  if (state.range(0) != 0) {
    sqlite3_create_function_v2(db, "tsql_round", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               roundByText, nullptr, nullptr, nullptr);
  }
  sqlite3_exec(db,
               "CREATE TABLE d (SubID INTEGER PRIMARY KEY, MainID INTEGER NOT NULL, fQuantity "
               "REAL, fOutQuantity REAL, fNum REAL, fOutNum REAL);"
               "CREATE INDEX d_main ON d (MainID, fQuantity, fOutQuantity, fNum, fOutNum);"
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
               // Quantities of three places, partly issued: few differences are zero.
               "INSERT INTO d SELECT i, i / 4, q, round(q * (i % 5) / 4.0, 3), "
               "CASE WHEN i % 3 = 0 THEN NULL ELSE round(q / 2.5, 3) END, round(q * 0.61, 3) "
               "FROM (SELECT i, (i * 7919 % 100003) / 1000.0 AS q FROM n);",
               nullptr, nullptr, nullptr);
  const std::string sql =
      "SELECT count(*) FROM (SELECT DISTINCT MainID FROM d WHERE "
      "tsql_round(tsql_minus(tsql_real(ifnull(fQuantity, 0)), tsql_real(ifnull(fOutQuantity, "
      "0))), 2) > 0 OR tsql_round(tsql_minus(tsql_real(ifnull(fNum, 0)), "
      "tsql_real(ifnull(fOutNum, 0))), 2) > 0)";
  std::int64_t heads = 0;
  for (auto _ : state) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    if (sqlite3_step(st) != SQLITE_ROW) {
      sqlite3_finalize(st);
      state.SkipWithError(sqlite3_errmsg(db));
      break;
    }
    heads = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
  }
  state.counters["heads"] = static_cast<double>(heads);
  state.counters["lines"] =
      benchmark::Counter(kLines, benchmark::Counter::kIsIterationInvariantRate);
  sqlite3_close(db);
}

}  // namespace

QUILLON_BENCHMARK(BM_RoundReal);
QUILLON_BENCHMARK(BM_RoundRealByText);
QUILLON_BENCHMARK(BM_OpenMaterialCondition)
    ->ArgName("byText")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

QUILLON_BENCHMARK_MAIN();
