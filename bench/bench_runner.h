// What every benchmark program here shares: registration and main.
//
// QUILLON_BENCHMARK(fn) registers fn like Google Benchmark's BENCHMARK(fn) (same name, same
// chained settings), but runs it guarded: an exception its work raises ends that benchmark with
// the error reported (SkipWithError: "ERROR OCCURRED: 'raised …'" in the output) and the program
// goes on with the next benchmark, where an uncaught exception would end the whole run. A body
// that leaves its iteration loop early without reporting why is reported the same way, where
// Google Benchmark would abort the program.
//
// QUILLON_BENCHMARK_MAIN() is the programs' main. Besides Google Benchmark's flags it takes
// --iterations=N: every benchmark runs exactly N iterations, the counts the programs set
// themselves included, so that a test can run a benchmark briefly but with a known number of
// iterations. Benchmarks measured for a minimum time of their own keep it (mark them with
// ->Apply(quillon::bench::keepsItsTime) before ->MinTime).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "automation/com_error.h"

namespace quillon::bench {

using BenchmarkFunction = void (*)(benchmark::State&);

// What a program's "--scale=N" argument did: not one (the argument is someone else's), taken into
// `scale`, or refused with the message printed (a scale outside 1..maxScale).
enum class ScaleArg { Other, Taken, Refused };
inline ScaleArg takeScaleArg(const char* program, const char* arg, int maxScale, int& scale) {
  if (std::strncmp(arg, "--scale=", 8) != 0) return ScaleArg::Other;
  scale = std::atoi(arg + 8);
  if (scale >= 1 && scale <= maxScale) return ScaleArg::Taken;
  std::fprintf(stderr, "%s: --scale needs a whole number from 1 to %d\n", program, maxScale);
  return ScaleArg::Refused;
}

// Runs a benchmark's body and turns what it raises into the benchmark's error.
inline void runGuarded(benchmark::State& state, BenchmarkFunction body) {
  std::string error;
  try {
    body(state);
  } catch (const automation::ComError& e) {
    error = "raised error " + std::to_string(e.number()) + ": " + e.description();
  } catch (const std::exception& e) {
    error = std::string("raised: ") + e.what();
  } catch (...) {
    error = "raised an exception of unknown type";
  }
  if (state.error_occurred()) return;  // the body said what went wrong first
  if (error.empty() && state.iterations() < state.max_iterations) {
    error = "ended after " + std::to_string(state.iterations()) + " of " +
            std::to_string(state.max_iterations) + " iterations without saying why";
  }
  if (!error.empty()) state.SkipWithError(error.c_str());
}

struct Registered {
  benchmark::internal::Benchmark* benchmark;
  bool keepsItsTime;
};

inline std::vector<Registered>& registered() {
  static std::vector<Registered> all;
  return all;
}

inline benchmark::internal::Benchmark* registerGuarded(const char* name, BenchmarkFunction body) {
  benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(
      name, [body](benchmark::State& state) { runGuarded(state, body); });
  registered().push_back({b, false});
  return b;
}

// For ->Apply: the benchmark runs for a minimum time of its own, which --iterations leaves alone
// (Google Benchmark takes either a time or a count, not both).
inline void keepsItsTime(benchmark::internal::Benchmark* b) {
  for (Registered& r : registered()) {
    if (r.benchmark == b) r.keepsItsTime = true;
  }
}

// Takes --iterations=N out of the arguments, then lets Google Benchmark read the rest. False
// (after saying why) when an argument is not understood.
inline bool initialize(int& argc, char** argv) {
  long long iterations = 0;
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strncmp(argv[i], "--iterations=", 13) == 0) {
      char* end = nullptr;
      iterations = std::strtoll(argv[i] + 13, &end, 10);
      if (end == argv[i] + 13 || *end != 0 || iterations < 1) {
        std::fprintf(stderr, "%s: --iterations needs a whole number from 1 up\n", argv[0]);
        return false;
      }
      continue;
    }
    argv[kept++] = argv[i];
  }
  argv[kept] = nullptr;
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
  if (iterations > 0) {
    for (const Registered& r : registered()) {
      if (!r.keepsItsTime)
        r.benchmark->Iterations(static_cast<benchmark::IterationCount>(iterations));
    }
  }
  return true;
}

inline int runAll(int argc, char** argv) {
  if (!initialize(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace quillon::bench

#define QUILLON_BENCH_JOIN2(a, b) a##b
#define QUILLON_BENCH_JOIN(a, b) QUILLON_BENCH_JOIN2(a, b)
#define QUILLON_BENCHMARK(fn)                                                         \
  [[maybe_unused]] static ::benchmark::internal::Benchmark* const QUILLON_BENCH_JOIN( \
      quillonBenchmark, __COUNTER__) = ::quillon::bench::registerGuarded(#fn, fn)
#define QUILLON_BENCHMARK_MAIN()                 \
  int main(int argc, char** argv) {              \
    return ::quillon::bench::runAll(argc, argv); \
  }
