// Shared holds under load: 2, 8 and 32 desk processes on one account with shared holds on, each
// taking holds of one unit on the same few stock rows (scarce: half the asks are refused) through
// RefSelect.UpdateTmpCurrentStock. Reports, per engine and desk count, the holds granted per
// second over the whole run and the p50 / p95 time a desk waited for one ask (granted or refused).
// The file account is built in a scratch folder; the server's in a database of its own on the
// server QUILLON_BENCH_SERVER names (left out when it is not set).
//
//   bench_shared_holds [asks per desk, default 40]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/session_pool.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "bench/bench_scratch.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "components/suite/account_database.h"
#include "components/suite/login.h"
#include "db/demo_data.h"
#include "module/shared_holds.h"
#include "sql/locations.h"

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 4;

std::vector<std::int32_t> prepare(const std::string& location, double each) {
  db::createDemoDatabase(location, 1, true);
  auto conn = std::make_shared<ado::Connection>();
  conn->open(components::suite::accountConnectionString(location));
  conn->execute(
      "update accinformation set cValue = 'true' where cSysID = 'st' and cName = 'bSharedHolds'");
  module::InstallSharedHolds(*conn);
  std::vector<std::int32_t> rows;
  auto rs = conn->execute("select top " + std::to_string(kRows) +
                          " AutoID from CurrentStock order by AutoID");
  for (; !rs->eof(); rs->moveNext()) rows.push_back(rs->value("AutoID").toLong());
  for (const auto row : rows) {
    conn->execute("update CurrentStock set iQuantity = " + std::to_string(each) +
                  " where AutoID = " + std::to_string(row));
  }
  return rows;
}

// One desk: `asks` asks of one unit, round the rows; writes each ask's microseconds and whether
// it was granted, one line each.
void desk(const std::string& location, const std::vector<std::int32_t>& rows, int d, int asks,
          const std::string& out) {
  ::setenv("QUILLON_TERMINAL_SESSION", ("bench-" + std::to_string(d)).c_str(), 1);
  auto login = components::suite::Login::open(location, "demo", automation::DateValue{46361.0});
  classes::RefSelect refSelect;
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  std::ofstream file(out);
  for (int i = 0; i < asks; ++i) {
    const auto row = rows[static_cast<std::size_t>(i + d) % rows.size()];
    const auto start = Clock::now();
    bool granted = true;
    try {
      refSelect.UpdateTmpCurrentStock(login, 1, 0, row);
    } catch (const automation::ComError& e) {
      if (e.number() != module::kHoldRefusedNumber) {
        file << "error " << e.description() << "\n";
        return;
      }
      granted = false;
    }
    file << std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count()
         << ' ' << granted << "\n";
  }
}

void run(const char* engine, const std::string& location, int desks, int asks,
         const bench::BenchDir& dir) {
  // Half of all asks can be granted.
  const double each = static_cast<double>(desks * asks) / 2 / kRows;
  const auto rows = prepare(location, each);
  ado::session_pool::clear();
  const auto start = Clock::now();
  std::vector<pid_t> children;
  for (int d = 0; d < desks; ++d) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      desk(location, rows, d, asks, (dir / ("desk-" + std::to_string(d))).string());
      ::_exit(0);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) ::waitpid(pid, nullptr, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::vector<long> waits;
  long granted = 0;
  int errors = 0;
  for (int d = 0; d < desks; ++d) {
    std::ifstream in(dir / ("desk-" + std::to_string(d)));
    std::string first;
    while (in >> first) {
      if (first == "error") {
        ++errors;
        std::getline(in, first);
        continue;
      }
      int ok = 0;
      in >> ok;
      waits.push_back(std::stol(first));
      granted += ok;
    }
  }
  std::sort(waits.begin(), waits.end());
  const auto at = [&](double q) {
    return waits.empty()
               ? 0.0
               : static_cast<double>(
                     waits[static_cast<std::size_t>(q * static_cast<double>(waits.size() - 1))]) /
                     1000.0;
  };
  std::printf(
      "%-6s desks %2d  asks %5zu  granted %5ld  holds/s %7.1f  wait p50 %7.2f ms  p95 %7.2f ms  "
      "errors %d\n",
      engine, desks, waits.size(), granted, static_cast<double>(granted) / seconds, at(0.5),
      at(0.95), errors);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  // The number of asks per desk, given bare or as --asks=N; the benchmark runner's own flags are
  // not for this program.
  int asks = 40;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.rfind("--asks=", 0) == 0) {
      asks = std::atoi(argv[i] + 7);
    } else if (!arg.empty() && arg[0] != '-') {
      asks = std::atoi(argv[i]);
    }
  }
  if (asks <= 0) asks = 40;
  classes::registerAllClasses(automation::classRegistry());
  bench::BenchDir dir{"quillon_bench_shared_holds"};
  for (const int desks : {2, 8, 32}) {
    run("file", (dir / ("holds-" + std::to_string(desks) + ".db")).string(), desks, asks, dir);
  }
  if (const char* s = std::getenv("QUILLON_BENCH_SERVER"); s != nullptr && *s != 0) {
    for (const int desks : {2, 8, 32}) {
      const std::string location =
          sql::Location(s)
              .withDatabaseName("quillon_bench_holds_" + std::to_string(::getpid()))
              .text();
      run("server", location, desks, asks, dir);
      module::ForgetSharedHolds();
      ado::session_pool::clear();
      try {
        sql::Location(location).drop();
      } catch (const std::exception&) {
        // the server's databases go with its folder
      }
    }
  }
  return 0;
}
