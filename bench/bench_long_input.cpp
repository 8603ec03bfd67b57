// Long input through the dialect layer and the host-script parser: a WITH of many common table
// expressions, a batch of many short statements, a reference of many steps. Each should take time
// in proportion to its length (Google Benchmark's fitted complexity: O(N)).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "script/script_parser.h"
#include "sql/translator.h"

namespace {

std::string withList(int expressions) {
  std::string text = "with c0 as (select 1 as n)";
  for (int i = 1; i < expressions; ++i) {
    text += ", c" + std::to_string(i) + " as (select " + std::to_string(i + 1) + " as n)";
  }
  return text + " select n from c" + std::to_string(expressions - 1);
}

void BM_TranslateWithOfManyExpressions(benchmark::State& state) {
  const std::string batch = withList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(quillon::sql::Translator::translateUncached(batch));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TranslateWithOfManyExpressions)
    ->RangeMultiplier(2)
    ->Range(2500, 40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_TranslateBatchOfShortStatements(benchmark::State& state) {
  std::string batch = "create table #t (n int)\n";
  for (int i = 0; i < state.range(0); ++i) {
    batch += "insert into #t values (" + std::to_string(i) + ")\n";
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(quillon::sql::Translator::translateUncached(batch));
  }
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * batch.size()));
}
BENCHMARK(BM_TranslateBatchOfShortStatements)
    ->RangeMultiplier(4)
    ->Range(4096, 262144)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_ParseReferenceOfManySteps(benchmark::State& state) {
  std::string script = "print $v";
  for (int i = 0; i < state.range(0); ++i) script += i % 2 == 0 ? ".Value" : "[\"键\"]";
  for (auto _ : state) {
    benchmark::DoNotOptimize(quillon::script::parseScript(script));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseReferenceOfManySteps)
    ->RangeMultiplier(2)
    ->Range(12500, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
