// Client-side recordsets over a 100 000-row, 20-column result: reading every field against a bare
// sqlite3_step loop, a two-condition Filter, a two-key Sort, and the memory the rows take against
// the bytes of the values the engine hands out (8 per integer or real, the length of each text).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "bench/bench_runner.h"
#include "sql/sqlite/sqlite_database.h"

namespace {

using quillon::ado::Connection;
using quillon::ado::Recordset;
using quillon::automation::Variant;

constexpr int kRows = 100000;
constexpr const char* kQuery = "select * from big";

// 20 columns: 5 integers, 4 decimals, 1 float, 6 texts, 2 dates, 1 bit, 1 smallint.
std::shared_ptr<Connection> makeDatabase() {
  auto cn = std::make_shared<Connection>();
  cn->open("Provider=Quillon.SQLite;Data Source=:memory:");
  cn->execute(
      "create table big (AutoID int, iA int, iB int, iC int, iD int, "
      "fQty decimal(20,6), fNum decimal(20,6), fPrice decimal(20,6), fSum decimal(20,6), "
      "fRate float, cInvCode varchar(20), cInvName nvarchar(60), cBatch varchar(30), "
      "cWhCode varchar(10), cMemo nvarchar(100), cFree1 varchar(20), dDate datetime, "
      "dVDate datetime, bFlag bit, iGrade smallint)");
  sqlite3* db = quillon::sql::sqliteHandle(cn->database());
  sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "insert into big values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1,
                     &st, nullptr);
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  const char* names[] = {"螺栓", "Washer", "垫圈 M8", "Nut", "轴承-6204", "Bolt M10x40"};
  for (int r = 0; r < kRows; ++r) {
    int c = 1;
    sqlite3_bind_int(st, c++, r + 1);
    for (int i = 0; i < 4; ++i) sqlite3_bind_int(st, c++, static_cast<int>(next() % 100000));
    for (int i = 0; i < 4; ++i) sqlite3_bind_double(st, c++, (next() % 1000000) / 100.0);
    sqlite3_bind_double(st, c++, (next() % 1000) / 7.0);
    const std::string code = "A" + std::to_string(next() % 5000);
    sqlite3_bind_text(st, c++, code.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, c++, names[next() % 6], -1, SQLITE_STATIC);
    const std::string batch = "B2026" + std::to_string(next() % 900);
    sqlite3_bind_text(st, c++, batch.c_str(), -1, SQLITE_TRANSIENT);
    const std::string wh = "0" + std::to_string(next() % 9);
    sqlite3_bind_text(st, c++, wh.c_str(), -1, SQLITE_TRANSIENT);
    if (next() % 4 == 0)
      sqlite3_bind_null(st, c++);
    else
      sqlite3_bind_text(st, c++, "memo text", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, c++, r % 3 == 0 ? "红色" : "", -1, SQLITE_STATIC);
    char date[32];
    std::snprintf(date, sizeof date, "2026-%02u-%02u 00:00:00", next() % 12 + 1, next() % 28 + 1);
    sqlite3_bind_text(st, c++, date, -1, SQLITE_TRANSIENT);
    std::snprintf(date, sizeof date, "2027-%02u-%02u", next() % 12 + 1, next() % 28 + 1);
    sqlite3_bind_text(st, c++, date, -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(st, c++, static_cast<int>(next() % 2));
    sqlite3_bind_int(st, c++, static_cast<int>(next() % 5));
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
  return cn;
}

Connection& database() {
  static const std::shared_ptr<Connection> cn = makeDatabase();
  return *cn;
}

std::shared_ptr<Connection> sharedDatabase() {
  return std::static_pointer_cast<Connection>(database().self());
}

// Every value of the result through the engine's own calls; returns the value bytes it saw.
std::int64_t rawStepLoop(std::int64_t& checksum) {
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(quillon::sql::sqliteHandle(database().database()), kQuery, -1, &st, nullptr);
  const int n = sqlite3_column_count(st);
  std::int64_t bytes = 0;
  while (sqlite3_step(st) == SQLITE_ROW) {
    for (int i = 0; i < n; ++i) {
      switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
          checksum += sqlite3_column_int64(st, i);
          bytes += 8;
          break;
        case SQLITE_FLOAT:
          checksum += static_cast<std::int64_t>(sqlite3_column_double(st, i));
          bytes += 8;
          break;
        case SQLITE_TEXT: {
          const unsigned char* t = sqlite3_column_text(st, i);
          const int len = sqlite3_column_bytes(st, i);
          checksum += len + (len > 0 ? t[0] : 0);
          bytes += len;
          break;
        }
        default:
          break;
      }
    }
  }
  sqlite3_finalize(st);
  return bytes;
}

// Opens the recordset and reads every field of every row as a Variant.
std::shared_ptr<Recordset> openAndReadAll(std::int64_t& checksum) {
  auto rs = std::make_shared<Recordset>();
  rs->open(kQuery, sharedDatabase());
  const auto& fields = *rs->fields();
  const auto n = static_cast<std::size_t>(fields.count());
  while (!rs->eof()) {
    for (std::size_t i = 0; i < n; ++i) {
      const Variant v = fields.item(i)->value();
      checksum += static_cast<std::int64_t>(v.type());
    }
    rs->moveNext();
  }
  return rs;
}

double millisSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

void BM_RawStepReadAll(benchmark::State& state) {
  database();
  for (auto _ : state) {
    std::int64_t checksum = 0;
    rawStepLoop(checksum);
    benchmark::DoNotOptimize(checksum);
  }
}
QUILLON_BENCHMARK(BM_RawStepReadAll)->Unit(benchmark::kMillisecond);

void BM_RecordsetOpenReadAll(benchmark::State& state) {
  database();
  for (auto _ : state) {
    std::int64_t checksum = 0;
    benchmark::DoNotOptimize(openAndReadAll(checksum));
    benchmark::DoNotOptimize(checksum);
  }
}
QUILLON_BENCHMARK(BM_RecordsetOpenReadAll)->Unit(benchmark::kMillisecond);

// Both loops timed side by side in each iteration, so the ratio is not skewed by load changes
// between two separate benchmarks on a shared machine.
void BM_OpenReadRatio(benchmark::State& state) {
  database();
  double raw = 0, ado = 0;
  for (auto _ : state) {
    std::int64_t checksum = 0;
    auto t0 = std::chrono::steady_clock::now();
    rawStepLoop(checksum);
    raw += millisSince(t0);
    t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(openAndReadAll(checksum));
    ado += millisSince(t0);
    benchmark::DoNotOptimize(checksum);
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["raw_ms"] = raw / iterations;
  state.counters["recordset_ms"] = ado / iterations;
  state.counters["ratio"] = ado / raw;
}
QUILLON_BENCHMARK(BM_OpenReadRatio)->Unit(benchmark::kMillisecond)->Iterations(5);

// The two halves of the open-and-read figure: loading the rows, and reading them back as Variants.
void BM_RecordsetOpenOnly(benchmark::State& state) {
  database();
  for (auto _ : state) {
    auto rs = std::make_shared<Recordset>();
    rs->open(kQuery, sharedDatabase());
    benchmark::DoNotOptimize(rs);
  }
}
QUILLON_BENCHMARK(BM_RecordsetOpenOnly)->Unit(benchmark::kMillisecond);

std::shared_ptr<Recordset> openedBig();

void BM_RecordsetReadOnly(benchmark::State& state) {
  auto rs = openedBig();
  const auto& fields = *rs->fields();
  const auto n = static_cast<std::size_t>(fields.count());
  for (auto _ : state) {
    std::int64_t checksum = 0;
    rs->moveFirst();
    while (!rs->eof()) {
      for (std::size_t i = 0; i < n; ++i) {
        const Variant v = fields.item(i)->value();
        checksum += static_cast<std::int64_t>(v.type());
      }
      rs->moveNext();
    }
    benchmark::DoNotOptimize(checksum);
  }
}
QUILLON_BENCHMARK(BM_RecordsetReadOnly)->Unit(benchmark::kMillisecond);

std::shared_ptr<Recordset> openedBig() {
  static const std::shared_ptr<Recordset> rs = [] {
    auto r = std::make_shared<Recordset>();
    r->open(kQuery, sharedDatabase());
    return r;
  }();
  return rs;
}

void BM_FilterTwoConditions(benchmark::State& state) {
  auto rs = openedBig();
  std::int32_t count = 0;
  for (auto _ : state) {
    rs->setFilter(Variant("fQty > 5000 AND cInvCode LIKE 'A1%'"));
    count = rs->recordCount();
    state.PauseTiming();
    rs->setFilter(Variant(""));
    state.ResumeTiming();
  }
  state.counters["rows"] = count;
}
QUILLON_BENCHMARK(BM_FilterTwoConditions)->Unit(benchmark::kMillisecond);

// A recordset keeps the order of its last sort and sorts by the same keys again from it: each
// iteration sorts a fresh clone (the same rows, no order kept), or every iteration after the
// first would measure the kept order being reused instead of a sort.
void BM_SortTwoKeys(benchmark::State& state) {
  auto rs = openedBig();
  for (auto _ : state) {
    state.PauseTiming();
    auto fresh = rs->clone();
    state.ResumeTiming();
    fresh->setSort("cInvCode, dDate DESC");
    benchmark::DoNotOptimize(fresh->absolutePosition());
    state.PauseTiming();
    fresh.reset();
    state.ResumeTiming();
  }
}
QUILLON_BENCHMARK(BM_SortTwoKeys)->Unit(benchmark::kMillisecond);

void BM_MemoryHeld(benchmark::State& state) {
  auto rs = openedBig();
  std::int64_t checksum = 0;
  const std::int64_t valueBytes = rawStepLoop(checksum);
  for (auto _ : state) benchmark::DoNotOptimize(rs->memoryBytes());
  const auto held = static_cast<double>(rs->memoryBytes());
  state.counters["value_bytes"] = static_cast<double>(valueBytes);
  state.counters["recordset_bytes"] = held;
  state.counters["ratio"] = held / static_cast<double>(valueBytes);
}
QUILLON_BENCHMARK(BM_MemoryHeld);

}  // namespace

QUILLON_BENCHMARK_MAIN()
