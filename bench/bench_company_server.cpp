// A company on one server: 50 desk processes (each its own terminal session and, where the
// machine lets a process rename itself, its own computer name) on one demo account with shared
// holds on, on a private PostgreSQL server of its own, each looping a clerk's material issue for a
// bounded time through the scripted host, as `quillon run` runs it:
//
//   dialog     frmProduceOrder: only lines with materials left, filter, mark an order and its
//              first product line, OK (the host's ProduceOrder.load)
//   allocate   the desk's work table made, the first material's current stock rewritten by
//              GetAllBSQL (net of every desk's holds), AutoRefer of one unit
//   hold       UpdateTmpCurrentStock of what AutoRefer chose (refused when other desks hold it)
//   write back WritefQuantity of 0.01 on the material line, the work table dropped
//
// It runs once straight against the server and once through pgbouncer in session mode (left out,
// with a line saying so, where pgbouncer is not installed). Reports per run the clerk's steps per
// second, the p50 / p95 time of a step and of each part, the holds granted and refused (a refusal
// with the documented text is the clerk losing a race, not an error), steps where nothing was
// free, and errors: anything else a step met, which must be 0.
//
//   bench_company_server [--seconds=60] [--desks=50] [--scale=10] [--direct-only]
//                        [--pooler-only]
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/session_pool.h"
#include "automation/class_registry.h"
#include "bench/bench_scratch.h"
#include "classes/public_classes.h"
#include "components/suite/account_database.h"
#include "db/demo_data.h"
#include "module/shared_holds.h"
#include "run/host_script_runner.h"
#include "sql/sql_error.h"

namespace {

using namespace quillon;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  int seconds = 60;
  int desks = 50;
  int scale = 10;
  bool direct = true;
  bool pooler = true;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto number = [&](const std::string& key, int& into) {
      if (a.rfind(key, 0) != 0) return false;
      into = std::max(1, std::atoi(a.c_str() + key.size()));
      return true;
    };
    if (number("--seconds=", o.seconds) || number("--desks=", o.desks) ||
        number("--scale=", o.scale)) {
      continue;
    }
    if (a == "--direct-only") o.pooler = false;
    if (a == "--pooler-only") o.direct = false;
    // Anything else (run-benchmarks.sh passes Google Benchmark's flags to every program) is not
    // this program's.
  }
  return o;
}

int shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string testServer(const std::string& args) {
  return std::string("bash '") + QUILLON_SOURCE_DIR + "/scripts/test-server.sh' " + args;
}

// The private server, stopped and removed with its folder when the program ends.
class PrivateServer {
 public:
  explicit PrivateServer(fs::path dir) : dir_(std::move(dir)) {
    started_ = shell(testServer("bare '" + dir_.string() + "'")) == 0;
  }
  ~PrivateServer() {
    if (started_) (void)shell(testServer("stop '" + dir_.string() + "'"));
  }
  PrivateServer(const PrivateServer&) = delete;
  PrivateServer& operator=(const PrivateServer&) = delete;

  bool started() const { return started_; }
  // 0 started; 3 pgbouncer not installed; anything else failed.
  int startPooler() const { return shell(testServer("pooler '" + dir_.string() + "'")); }
  // ALTER DATABASE … SET for each of `settings`, through the server's own client as its
  // superuser (the statement is the server's, not the library's dialect).
  template <typename Settings>
  void setDefaults(const std::string& db, const Settings& settings) const {
    std::string command = "\"$(" + testServer("bindir") + ")/psql\" -X -q -v ON_ERROR_STOP=1 -h '" +
                          dir_.string() + "' -U quillon -d postgres";
    for (const std::string setting : settings) {
      command += " -c \"ALTER DATABASE " + db + " SET " + setting + "\"";
    }
    if (shell(command) != 0) throw std::runtime_error("setting the database's defaults failed");
  }
  // The server sessions open on database `db` now (-1 when the server's client fails).
  int sessions(const std::string& db) const {
    const std::string command = "\"$(" + testServer("bindir") + ")/psql\" -X -At -h '" +
                                dir_.string() +
                                "' -U quillon -d postgres -c \"select count(*) from "
                                "pg_stat_activity where datname = '" +
                                db + "'\" 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    int n = -1;
    if (std::fscanf(pipe, "%d", &n) != 1) n = -1;
    ::pclose(pipe);
    return n;
  }
  std::string direct(const std::string& db) const {
    return "postgresql:///" + db + "?host=" + dir_.string() + "&user=quillon";
  }
  std::string pooled(const std::string& db) const {
    return "postgresql:///" + db + "?host=" + (dir_ / "pooler").string() +
           "&port=6432&user=quillon";
  }

 private:
  fs::path dir_;
  bool started_ = false;
};

// The clerk's voucher, in four parts run one after the other by the same runner (its variables
// carry over). `{ROW}` is the order the clerk marks.
constexpr const char* kSetUp = R"(login user=demo date=2026-12-05
new $po Quillon.ProduceOrder
new $q Quillon.Suite.StockQueries
new $r Quillon.RefSelect
)";

constexpr const char* kDialog = R"(on frmProduceOrder
  click chkAll
  click cmdFilter
  mark lstParent {ROW}
  mark lstSub 1
  click cmdOk
end
$ok = call $po.load "" $login $coll $err - 11
expect $ok = true
expect $coll["Child"].count > 0
)";

constexpr const char* kAllocate = R"($made = call $r.CreateAndDropTmpCurrentStock $login true
$sql = call $q.CurrentStockSql $coll["Child"][1].cwhcode $coll["Child"][1].cinvcode
$net = call $r.GetAllBSQL $sql
set $short = "silent"
$ok = call $r.AutoRefer $login $coll["Child"][1].cwhcode $coll["Child"][1].cinvcode - 1.0 0.0 0.0 0 $net false true "" $short
$data = call $r.ReturnData
)";

constexpr const char* kHold = R"($id = call $data.Collect "AutoID"
$taken = call $data.Collect "出库数量"
$pieces = call $data.Collect "出库件数"
$held = call $r.UpdateTmpCurrentStock $login $taken $pieces $id
)";

constexpr const char* kWriteBack = R"($w = call $po.WritefQuantity $coll["Child"][1].subid 0.01 $err
expect $w = true
expect $err = ""
$dropped = call $r.CreateAndDropTmpCurrentStock $login false
)";

// Orders the desks mark, in turn; the account lists more than this many at scale 1 and above.
constexpr int kOrders = 40;

std::string replaced(std::string text, const std::string& what, const std::string& with) {
  const auto at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), with);
  return text;
}

// Gives the desk process a computer name of its own when the machine allows it (a namespace of
// its own); otherwise the terminal session alone tells the desks apart.
void becomeDesk(int desk, const fs::path& dir) {
  ::setenv("QUILLON_TERMINAL_SESSION", ("clerk-" + std::to_string(desk)).c_str(), 1);
  ::setenv("QUILLON_REGISTRY", (dir / ("registry-" + std::to_string(desk))).c_str(), 1);
  if (::unshare(CLONE_NEWUTS) == 0) {
    const std::string name = "DESK-" + std::to_string(desk);
    (void)::sethostname(name.c_str(), name.size());
  }
}

int64_t micros(Clock::time_point from) {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - from).count();
}

// The number of rows of the recordset in a runner's variable; -1 when it holds none.
int rowsOf(const cli::run::HostScriptRunner& runner, const std::string& name) {
  const auto it = runner.variables().find(name);
  if (it == runner.variables().end() || !it->second.isObject() || it->second.isNothing()) return -1;
  auto* rs = dynamic_cast<ado::Recordset*>(it->second.asObject().get());
  return rs != nullptr && rs->isOpen() ? rs->recordCount() : -1;
}

// One desk: sets up, says it is ready, waits for "go", then loops the clerk's voucher until its
// time is up. One line per step in `out`: the four parts' microseconds, the step's and its
// outcome (held, refused, none); a desk that meets an error writes "error <what>" and ends.
void desk(const std::string& location, int d, int seconds, const fs::path& dir) {
  becomeDesk(d, dir);
  std::ofstream out(dir / ("desk-" + std::to_string(d)));
  std::ostringstream transcript;
  cli::run::HostScriptRunner runner(location, transcript);
  std::optional<cli::run::RaisedError> holdError;
  runner.setCallObserver([&](const cli::run::CallReport& report) {
    if (report.member == "UpdateTmpCurrentStock") holdError = report.error;
  });
  const auto failed = [&](const script::RunResult& r) {
    std::string text = transcript.str();
    if (text.size() > 600) text = text.substr(text.size() - 600);
    for (char& c : text) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    out << "error " << r.message << " | " << text << "\n";
  };
  if (const auto r = runner.runSource(kSetUp); !r.ok) {
    failed(r);
    std::ofstream(dir / ("ready-" + std::to_string(d))) << "";
    return;
  }
  std::ofstream(dir / ("ready-" + std::to_string(d))) << "";
  // Bounded: the parent writes "go" once every desk is ready, or gives up after two minutes.
  for (int i = 0; i < 6000 && !fs::exists(dir / "go"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  for (int step = 0; Clock::now() < end; ++step) {
    const std::string row = std::to_string((d * 7 + step) % kOrders + 1);
    const auto start = Clock::now();
    transcript.str({});
    auto t = Clock::now();
    if (const auto r = runner.runSource(replaced(kDialog, "{ROW}", row)); !r.ok) {
      failed(r);
      return;
    }
    const auto dialog = micros(t);
    t = Clock::now();
    if (const auto r = runner.runSource(kAllocate); !r.ok) {
      failed(r);
      return;
    }
    const auto allocate = micros(t);
    t = Clock::now();
    std::string outcome = "none";
    if (rowsOf(runner, "data") > 0) {
      holdError.reset();
      const auto r = runner.runSource(kHold);
      if (r.ok) {
        outcome = "held";
      } else if (holdError && holdError->number == module::kHoldRefusedNumber &&
                 holdError->description.find("已被占用，尚可分配") != std::string::npos) {
        outcome = "refused";
      } else {
        failed(r);
        return;
      }
    }
    const auto hold = micros(t);
    t = Clock::now();
    if (const auto r = runner.runSource(kWriteBack); !r.ok) {
      failed(r);
      return;
    }
    const auto writeBack = micros(t);
    out << dialog << ' ' << allocate << ' ' << hold << ' ' << writeBack << ' ' << micros(start)
        << ' ' << outcome << "\n";
  }
}

double percentile(std::vector<int64_t>& v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return static_cast<double>(v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))]) /
         1000.0;
}

// One run of every desk on `location`; prints its line. False when any desk met an error.
bool run(const char* how, const std::string& location, const Options& o, const fs::path& dir,
         const std::function<int()>& sessions) {
  fs::remove_all(dir);
  fs::create_directories(dir);
  ado::session_pool::clear();
  std::vector<pid_t> children;
  for (int d = 1; d <= o.desks; ++d) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      try {
        desk(location, d, o.seconds, dir);
      } catch (const std::exception& e) {
        std::ofstream(dir / ("desk-" + std::to_string(d)), std::ios::app)
            << "error " << e.what() << "\n";
      }
      ::_exit(0);
    }
    children.push_back(pid);
  }
  const auto allReady = [&] {
    for (int d = 1; d <= o.desks; ++d) {
      if (!fs::exists(dir / ("ready-" + std::to_string(d)))) return false;
    }
    return true;
  };
  for (int i = 0; i < 6000 && !allReady(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  const auto go = Clock::now();
  std::ofstream(dir / "go") << "";
  // The account's server sessions, counted every second while the desks work.
  std::atomic<bool> done{false};
  int peak = 0;
  std::thread counter([&] {
    while (!done) {
      peak = std::max(peak, sessions());
      for (int i = 0; i < 10 && !done; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  for (const pid_t pid : children) ::waitpid(pid, nullptr, 0);
  const double elapsed = std::chrono::duration<double>(Clock::now() - go).count();
  done = true;
  counter.join();

  std::vector<int64_t> parts[5];
  std::map<std::string, int> outcomes;
  std::vector<std::string> errors;
  for (int d = 1; d <= o.desks; ++d) {
    std::ifstream in(dir / ("desk-" + std::to_string(d)));
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("error ", 0) == 0) {
        errors.push_back("desk " + std::to_string(d) + ": " + line.substr(6));
        continue;
      }
      std::istringstream fields(line);
      int64_t us[5] = {};
      std::string outcome;
      fields >> us[0] >> us[1] >> us[2] >> us[3] >> us[4] >> outcome;
      for (int p = 0; p < 5; ++p) parts[p].push_back(us[p]);
      ++outcomes[outcome];
    }
  }
  const std::size_t steps = parts[4].size();
  std::printf(
      "%-8s desks %d  %.0f s  steps %zu  steps/s %.2f  step p50 %.0f ms p95 %.0f ms  |  p95 dialog "
      "%.0f ms, allocate %.0f ms, hold %.0f ms, write back %.0f ms  |  held %d refused %d none %d  "
      "|  server sessions at most %d  |  errors %zu\n",
      how, o.desks, elapsed, steps, static_cast<double>(steps) / elapsed, percentile(parts[4], 0.5),
      percentile(parts[4], 0.95), percentile(parts[0], 0.95), percentile(parts[1], 0.95),
      percentile(parts[2], 0.95), percentile(parts[3], 0.95), outcomes["held"], outcomes["refused"],
      outcomes["none"], peak, errors.size());
  for (std::size_t i = 0; i < errors.size() && i < 5; ++i) {
    std::printf("  ERROR %s\n", errors[i].c_str());
  }
  std::fflush(stdout);
  return errors.empty();
}

// What the library sets for each of its server sessions in the startup packet's options, as the
// database's defaults: pgbouncer 1.18 cannot pass those options on (docs/deployment.md).
constexpr const char* kPoolerDefaults[] = {"search_path = public, tsql",
                                           "DateStyle = 'ISO, YMD'",
                                           "IntervalStyle = postgres",
                                           "client_min_messages = warning",
                                           "extra_float_digits = 1",
                                           "random_page_cost = 1.1",
                                           "jit = off",
                                           "lock_timeout = 30000",
                                           "statement_timeout = 60000"};

// A scale-`scale` demo account with shared holds on, in database `db` of the server.
void makeAccount(const std::string& location, int scale) {
  db::createDemoDatabase(location, scale, true);
  auto conn = std::make_shared<ado::Connection>();
  conn->open(components::suite::accountConnectionString(location));
  conn->execute(
      "update accinformation set cValue = 'true' where cSysID = 'st' and cName = 'bSharedHolds'");
  module::InstallSharedHolds(*conn);
  conn->close();
  // The desks read the parameter afresh.
  module::ForgetSharedHolds();
  ado::session_pool::clear();
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = parse(argc, argv);
  classes::registerAllClasses(automation::classRegistry());
  bench::BenchDir dir{"quillon_bench_company"};
  if (std::system(testServer("bindir | grep -q .").c_str()) != 0) {
    std::printf("bench_company_server: no PostgreSQL server installed, skipped\n");
    return 0;
  }
  // A desk works through its login's one connection, and with shared holds keeps the session that
  // shows it alive; a third now and then (a connection asked for while the shared one is inside a
  // transaction, an idle one kept for reuse). The server is sized for 3 a desk and the program's
  // own.
  const int connections = std::max(100, o.desks * 3 + 40);
  ::setenv("QUILLON_TEST_SERVER_MAX_CONNECTIONS", std::to_string(connections).c_str(), 1);
  std::printf("bench_company_server: %d desks, %d s each run, scale %d, max_connections %d\n",
              o.desks, o.seconds, o.scale, connections);
  const PrivateServer server(dir / "server");
  if (!server.started()) {
    std::printf("bench_company_server: ERROR OCCURRED: the private server did not start\n");
    return 1;
  }
  bool ok = true;
  try {
    if (o.direct) {
      makeAccount(server.direct("company_direct"), o.scale);
      ok = run("direct", server.direct("company_direct"), o, dir / "desks",
               [&] { return server.sessions("company_direct"); }) &&
           ok;
    }
    if (o.pooler) {
      const int pooler = server.startPooler();
      if (pooler == 3) {
        std::printf("pooled   skipped: pgbouncer is not installed (apt-get install pgbouncer)\n");
      } else if (pooler != 0) {
        std::printf("pooled   ERROR OCCURRED: pgbouncer did not start\n");
        ok = false;
      } else {
        makeAccount(server.direct("company_pooled"), o.scale);
        server.setDefaults("company_pooled", kPoolerDefaults);
        ok = run("pooled", server.pooled("company_pooled"), o, dir / "desks",
                 [&] { return server.sessions("company_pooled"); }) &&
             ok;
      }
    }
  } catch (const std::exception& e) {
    std::printf("bench_company_server: ERROR OCCURRED: %s\n", e.what());
    ok = false;
  }
  return ok ? 0 : 1;
}
