// Costs of the runtime pieces every list fill and every late-bound call goes through.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "automation/vb_format.h"
#include "automation/vb_like.h"
#include "automation/vb_strings.h"
#include "bench/bench_runner.h"

namespace {

using namespace quillon::automation;

void BM_FormatQuantity(benchmark::State& state) {
  double v = 1234.5678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v);  // the same number each time, read as if it could change
    benchmark::DoNotOptimize(Format(Variant(v), "#,##0.00"));
  }
}
QUILLON_BENCHMARK(BM_FormatQuantity);

void BM_FormatDate(benchmark::State& state) {
  const Variant d(DateValue{46361.25});
  for (auto _ : state) benchmark::DoNotOptimize(Format(d, "YYYY-MM-DD"));
}
QUILLON_BENCHMARK(BM_FormatDate);

void BM_TextToDouble(benchmark::State& state) {
  const Variant t("1,234,567.125");
  for (auto _ : state) benchmark::DoNotOptimize(t.toDouble());
}
QUILLON_BENCHMARK(BM_TextToDouble);

void BM_LikeChinese(benchmark::State& state) {
  const std::string text = "材料出库单-2026-12-05-000123";
  for (auto _ : state) benchmark::DoNotOptimize(Like(text, "材料*-####-##-##-*3"));
}
QUILLON_BENCHMARK(BM_LikeChinese);

void BM_ReplaceWhere(benchmark::State& state) {
  std::string sql = "select * from currentstock Where cWhCode='01'";
  for (int i = 0; i < 20; ++i) sql += " and iQuantity > 0 and exists (select 1 from t Where x=1)";
  for (auto _ : state) {
    benchmark::DoNotOptimize(Replace(sql, "Where", " left join PC_01__CurrentS on x where"));
  }
}
QUILLON_BENCHMARK(BM_ReplaceWhere);

void BM_CollectionKeyLookup(benchmark::State& state) {
  Collection c;
  const auto n = static_cast<int>(state.range(0));
  for (int i = 0; i < n; ++i) c.add(i, "Key" + std::to_string(i));
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.item("KEY" + std::to_string(i)));
    i = (i + 1) % n;
  }
}
QUILLON_BENCHMARK(BM_CollectionKeyLookup)->Arg(4)->Arg(1000);

void BM_LateBoundCallByName(benchmark::State& state) {
  auto c = std::make_shared<Collection>();
  c->add("heads", "Parent");
  std::vector<Variant> args{"parent"};
  for (auto _ : state) {
    benchmark::DoNotOptimize(c->invoke("Item", InvokeKind::Method, args));
  }
}
QUILLON_BENCHMARK(BM_LateBoundCallByName);

}  // namespace

QUILLON_BENCHMARK_MAIN()
