// `quillon sql` over a large result against the engines' own command-line shells: the sorted
// select of the current stock (999 097 rows, csv) on the scale-1000 account file against the
// sqlite3 shell, and on the same account on the server against psql, each program run as a user
// runs it, its output to /dev/null. Measured side by side in every iteration (the two taking turns
// at going first): the wall time and the peak resident memory of each process (its maximum
// resident set size, as /usr/bin/time reports it), at 100 000 rows and at all of them, so that
// memory that grows with the rows shows. Targets: no slower than the shell, memory independent of
// the rows. The programs it runs: the built quillon, sqlite3 (Debian package sqlite3), psql and
// /usr/bin/time (package time).
//
// The file is the scale-1000 account the other large benchmarks use (bench_large_account.h),
// read as it is; the server's account is built on the server QUILLON_BENCH_SERVER names (as
// scripts/run-benchmarks.sh starts one) for the run and dropped after it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_large_account.h"
#include "bench/bench_runner.h"
#include "db/demo_data.h"
#include "sql/locations.h"

extern char** environ;

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;

constexpr const char* kColumns = "cInvCode, cWhCode, iQuantity";
constexpr const char* kOrder = " from CurrentStock order by cInvCode, cWhCode";

// One run of a program: its wall time, its peak resident memory and how it ended.
struct Run {
  double seconds = 0;
  double peakMiB = 0;
  int status = -1;  // the exit status; -1 when it did not start or was killed
};

// Where /usr/bin/time writes the peak memory of a run.
std::string peakFile() {
  return (std::filesystem::temp_directory_path() /
          ("quillon-bench-peak-" + std::to_string(::getpid())))
      .string();
}

// Runs argv[0] (looked up on PATH) with its standard output going to `output`, under
// /usr/bin/time for the peak memory: a process started from this one would count this one's
// memory too (the kernel keeps the largest of the process before and after it starts a program),
// /usr/bin/time's is a few hundred KiB.
Run run(const std::vector<std::string>& argv, const char* output = "/dev/null") {
  const std::string peak = peakFile();
  std::vector<char*> args;
  for (const char* a : {"/usr/bin/time", "-f", "%M", "-o"}) args.push_back(const_cast<char*>(a));
  args.push_back(const_cast<char*>(peak.c_str()));
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output, O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  Run r;
  const auto start = Clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return r;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return r;
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  // Its last line is the peak in KiB (before it, a note when the program failed).
  std::ifstream in(peak);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) r.peakMiB = std::atof(line.c_str()) / 1024.0;
  }
  std::filesystem::remove(peak);
  return r;
}

std::int64_t linesOf(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::int64_t lines = 0;
  std::string line;
  while (std::getline(in, line)) ++lines;
  return lines;
}

// The accounts: the cached scale-1000 file, and the same account built on the server.
struct Accounts {
  bench::BenchDir dir{"quillon-bench-sql-stream"};
  std::string file = bench::cachedAccount();
  std::string server;
  std::string serverError;
  double serverBuildSeconds = 0;

  Accounts() {
    const char* s = std::getenv("QUILLON_BENCH_SERVER");
    if (s == nullptr || *s == 0) return;
    try {
      const std::string location =
          sql::Location(s).withDatabaseName("quillon_stream_" + std::to_string(::getpid())).text();
      server = location;
      serverBuildSeconds = db::createDemoDatabase(location, bench::kLargeScale, true).seconds;
      // The planner's statistics of the new tables, as the server's autovacuum gathers them
      // soon after a load: without them the first plans depend on when it came round.
      run({"psql", "-X", "-q", "-c", "ANALYZE", location});
    } catch (const std::exception& e) {
      serverError = std::string("the server's scale-1000 account was not built: ") + e.what();
    }
  }
  ~Accounts() {
    try {
      if (!server.empty()) sql::Location(server).drop();
    } catch (const std::exception&) {
      // the benchmark server goes with its folder
    }
  }
};

Accounts& accounts() {
  static Accounts a;
  return a;
}

// The command lines of one case: `quillon sql` and the engine's shell, both printing csv with a
// header line, `rows` of them (0: all).
struct Commands {
  std::vector<std::string> quillon;
  std::vector<std::string> shell;
};

Commands commands(int engine, const std::string& format, std::int64_t rows,
                  benchmark::State& state) {
  Accounts& a = accounts();
  const std::string top = rows > 0 ? "top " + std::to_string(rows) + " " : "";
  const std::string limit = rows > 0 ? " limit " + std::to_string(rows) : "";
  const std::string tsql = "select " + top + kColumns + kOrder;
  const std::string plain = std::string("select ") + kColumns + kOrder + limit;
  Commands c;
  if (engine == 0) {
    c.quillon = {QUILLON_BINARY, "sql", "--db", a.file, "--format", format, tsql};
    c.shell = {"sqlite3", "-csv", "-header", a.file, plain};
    state.SetLabel("file against sqlite3");
  } else {
    if (!a.serverError.empty()) {
      state.SkipWithError(a.serverError.c_str());
      return {};
    }
    if (a.server.empty()) {
      state.SkipWithError("no server: set QUILLON_BENCH_SERVER (make bench starts one)");
      return {};
    }
    c.quillon = {QUILLON_BINARY, "sql", "--db", a.server, "--format", format, tsql};
    c.shell = {"psql", "-X", "-q", "--csv", "-c", plain, a.server};
    state.SetLabel("server against psql");
    state.counters["server_build_s"] = a.serverBuildSeconds;
  }
  return c;
}

// Both programs print the same number of lines (the rows and the header).
bool samePrinted(const Commands& c, const bench::BenchDir& dir, benchmark::State& state) {
  const std::string mine = (dir / "quillon.out").string();
  const std::string theirs = (dir / "shell.out").string();
  const Run q = run(c.quillon, mine.c_str());
  const Run s = run(c.shell, theirs.c_str());
  if (q.status == -1 || s.status == -1) {
    state.SkipWithError("/usr/bin/time did not run: it is in the Debian package time");
    return false;
  }
  if (s.status == 127) {
    state.SkipWithError(("the shell did not run: " + c.shell[0] + " is not installed").c_str());
    return false;
  }
  if (q.status != 0 || s.status != 0) {
    state.SkipWithError("a program failed: its message is above");
    return false;
  }
  const std::int64_t lines = linesOf(mine);
  if (lines != linesOf(theirs)) {
    state.SkipWithError("the two programs printed a different number of lines");
    return false;
  }
  state.counters["rows"] = static_cast<double>(lines - 1);
  return true;
}

void BM_SqlCsvAgainstShell(benchmark::State& state) {
  const int engine = static_cast<int>(state.range(0));
  const Commands c = commands(engine, "csv", state.range(1), state);
  if (c.quillon.empty() || !samePrinted(c, accounts().dir, state)) return;
  Run mine;
  Run theirs;
  double peakMine = 0;
  double peakTheirs = 0;
  bool shellFirst = false;
  for (auto _ : state) {
    const Run first = run(shellFirst ? c.shell : c.quillon);
    const Run second = run(shellFirst ? c.quillon : c.shell);
    const Run& q = shellFirst ? second : first;
    const Run& s = shellFirst ? first : second;
    shellFirst = !shellFirst;
    if (q.status != 0 || s.status != 0) {
      state.SkipWithError("a program failed: its message is above");
      return;
    }
    mine.seconds += q.seconds;
    theirs.seconds += s.seconds;
    mine.peakMiB += q.peakMiB;
    theirs.peakMiB += s.peakMiB;
    peakMine = std::max(peakMine, q.peakMiB);
    peakTheirs = std::max(peakTheirs, s.peakMiB);
    state.SetIterationTime(q.seconds);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["shell_ms"] = 1000 * theirs.seconds / n;
  state.counters["time_ratio"] = mine.seconds / theirs.seconds;
  state.counters["rss_mib"] = peakMine;
  state.counters["shell_rss_mib"] = peakTheirs;
  state.counters["rss_ratio"] = mine.peakMiB / theirs.peakMiB;
}
QUILLON_BENCHMARK(BM_SqlCsvAgainstShell)
    ->ArgNames({"engine", "rows"})
    ->Args({0, 100000})
    ->Args({0, 0})
    ->Args({1, 100000})
    ->Args({1, 0})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The other formats of `quillon sql` over every row: json streams like csv; a table needs every
// row's width first and keeps its rows in a temporary file meanwhile.
void BM_SqlFormat(benchmark::State& state) {
  const int engine = static_cast<int>(state.range(0));
  const std::string format = state.range(1) == 0 ? "json" : "table";
  const Commands c = commands(engine, format, 0, state);
  if (c.quillon.empty()) return;
  double peak = 0;
  for (auto _ : state) {
    const Run q = run(c.quillon);
    if (q.status != 0) {
      state.SkipWithError("quillon sql failed: its message is above");
      return;
    }
    peak = std::max(peak, q.peakMiB);
    state.SetIterationTime(q.seconds);
  }
  state.counters["rss_mib"] = peak;
  state.SetLabel(format + (engine == 0 ? ", file" : ", server"));
}
QUILLON_BENCHMARK(BM_SqlFormat)
    ->ArgNames({"engine", "format"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

QUILLON_BENCHMARK_MAIN()
