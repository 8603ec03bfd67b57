// Shared holds under load: desk processes of their own (each its own terminal session and, where
// the machine lets a process rename itself, its own computer name) on one account with the
// parameter on, all allocating the same scarce stock through AutoRefer over GetAllBSQL and holding
// what they were offered. After each trial no row is held beyond its quantity, the desks together
// hold exactly the stock there was, and every desk that lost a race got the refusal text, never a
// raw engine error. With the parameter off the desks know nothing of each other, as before.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/session_pool.h"
#include "automation/com_error.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "components/suite/login.h"
#include "components/suite/stock_queries_object.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "module/settings.h"
#include "module/shared_holds.h"
#include "script/scripted_ui_host.h"
#include "sql/sql_error.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"

namespace quillon::classes {
namespace {

constexpr const char* kWh = "01";
constexpr const char* kInv = "0101003";

double number(ado::Connection& conn, const std::string& sql) {
  return conn.execute(sql)->value(std::size_t{0}).toDouble();
}

// An account copy whose stock rows of the item are scarce: each holds `each`.
struct Account {
  std::string path;
  std::vector<std::int32_t> rows;
  double total = 0;
};

Account scarceAccount(const std::string& name, double each, bool shared) {
  Account a;
  a.path = test_support::demoAccount(registerAllClasses).copy(name);
  auto conn = test_support::connect(a.path);
  conn->execute("update CurrentStock set iQuantity = " + std::to_string(each) +
                " where cWhCode = '" + kWh + "' and cInvCode = '" + kInv + "'");
  auto rs = conn->execute("select AutoID from CurrentStock where cWhCode = '" + std::string(kWh) +
                          "' and cInvCode = '" + kInv + "' order by AutoID");
  for (; !rs->eof(); rs->moveNext()) a.rows.push_back(rs->value("AutoID").toLong());
  a.total = each * static_cast<double>(a.rows.size());
  if (shared) {
    conn->execute(
        "update accinformation set cValue = 'true' where cSysID = 'st' and cName = 'bSharedHolds'");
    module::InstallSharedHolds(*conn);
  }
  return a;
}

// Gives the desk process a computer name of its own when the machine allows it (a namespace of
// its own); otherwise the terminal session alone tells the desks apart.
void becomeDesk(int desk) {
  ::setenv("QUILLON_TERMINAL_SESSION", ("desk-" + std::to_string(desk)).c_str(), 1);
  if (::unshare(CLONE_NEWUTS) == 0) {
    const std::string name = "PC-" + std::to_string(desk % 3);
    (void)::sethostname(name.c_str(), name.size());
  }
}

bool isRefusal(const automation::ComError& e, std::int32_t autoId) {
  const std::string head = module::HoldRefusedText(module::HoldKind::Stock, autoId, 0);
  const std::string prefix = head.substr(0, head.rfind(' ') + 1);
  return e.number() == module::kHoldRefusedNumber && e.description().rfind(prefix, 0) == 0;
}

// Bounded at ten minutes: 32 desks under the sanitizers on two cores take minutes to all finish.
// Stops early when `orElse` appears (a desk that reported and ended will never write `file`).
bool waitFor(const std::filesystem::path& file, const std::filesystem::path& orElse = {}) {
  const auto there = [&] {
    return std::filesystem::exists(file) || (!orElse.empty() && std::filesystem::exists(orElse));
  };
  for (int i = 0; i < 12000 && !there(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return std::filesystem::exists(file);
}

bool isBusy(const automation::ComError& e) {
  return e.number() == sql::kDatabaseBusyNumber &&
         e.description().rfind(std::string(sql::kDatabaseBusyText), 0) == 0;
}

// One desk: allocates one unit at a time until it is offered nothing. Its report: "held N" and
// "refused N", or what went wrong.
// A desk's holds end when it is gone, so each desk stays until the test has counted them all.
std::string runDesk(const Account& account, int desk, const std::filesystem::path& dir) {
  becomeDesk(desk);
  forms::ScopedUiHost host{std::make_shared<script::ScriptedUiHost>()};
  int busy = 0;
  automation::ObjectPtr login;
  RefSelect refSelect;
  for (int attempt = 1;; ++attempt) {
    try {
      login = test_support::loginAs("demo", account.path);
      refSelect.CreateAndDropTmpCurrentStock(login, true);
      break;
    } catch (const automation::ComError& e) {
      if (!isBusy(e) || attempt == 5) throw;
      ++busy;
    }
  }
  components::suite::StockQueriesObject queries;
  int held = 0;
  int refused = 0;
  const int bound = static_cast<int>(account.total) * 4 + 8;
  for (int attempt = 0;; ++attempt) {
    if (attempt == bound) return "no end after " + std::to_string(bound) + " attempts";
    // A loaded machine may keep a desk waiting past the busy timeout: the documented busy text,
    // after which the clerk tries again.
    try {
      std::string sql = queries.currentStockSql({kWh, kInv, {}, ""}, false);
      RefSelect::Request request;
      request.whCode = kWh;
      request.invCode = kInv;
      request.quantity = 1;
      request.sql = refSelect.GetAllBSQL(sql);
      std::string shortfall = "silent";
      refSelect.AutoRefer(login, request, shortfall);
      const auto& chosen = refSelect.ReturnData();
      if (!chosen || chosen->recordCount() == 0) break;  // sold out, as far as this desk sees
      const std::int32_t autoId = chosen->value("AutoID").toLong();
      try {
        refSelect.UpdateTmpCurrentStock(login, chosen->value("出库数量").toDouble(), 0, autoId);
        ++held;
      } catch (const automation::ComError& e) {
        if (!isRefusal(e, autoId)) throw;
        ++refused;
      }
    } catch (const automation::ComError& e) {
      if (!isBusy(e)) return "error " + std::to_string(e.number()) + ": " + e.description();
      ++busy;
    }
  }
  std::ofstream(dir / ("done-" + std::to_string(desk))) << "";
  if (!waitFor(dir / "end")) return "never told to end";
  return "held " + std::to_string(held) + " refused " + std::to_string(refused) + " busy " +
         std::to_string(busy);
}

// Starts a desk process running `desk`; its report goes to a file of `dir`. No session of this
// process may be open in it.
template <typename Desk>
pid_t spawn(int d, const test_support::ScratchDir& dir, Desk desk) {
  ado::session_pool::clear();
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  std::string report;
  try {
    report = desk(d);
  } catch (const automation::ComError& e) {
    report = "error " + std::to_string(e.number()) + ": " + e.description();
  } catch (const std::exception& e) {
    report = e.what();
  }
  std::ofstream(dir / ("desk-" + std::to_string(d))) << report;
  ::_exit(0);
}

std::string collect(pid_t pid, int d, const test_support::ScratchDir& dir) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? test_support::fileText(dir / ("desk-" + std::to_string(d)))
                           : "ended abnormally";
}

// Runs `desks` desk processes at once; each one's report.
template <typename Desk>
std::vector<std::string> runAtOnce(int desks, const test_support::ScratchDir& dir, Desk desk) {
  std::vector<pid_t> children;
  for (int d = 1; d <= desks; ++d) children.push_back(spawn(d, dir, desk));
  std::vector<std::string> reports;
  for (int d = 1; d <= desks; ++d) reports.push_back(collect(children[d - 1], d, dir));
  return reports;
}

int heldIn(const std::string& report) {
  std::istringstream in(report);
  std::string word;
  int held = -1;
  in >> word >> held;
  return word == "held" ? held : -1;
}

class SharedHoldsUnderLoad : public ::testing::TestWithParam<int> {};

TEST_P(SharedHoldsUnderLoad, NoRowIsHeldBeyondItsStockAndTheStockIsHeldExactlyOnce) {
  const int desks = GetParam();
  const int trials = desks >= 32 ? 2 : 3;
  const Account account = scarceAccount("holds-" + std::to_string(desks), 2, true);
  ASSERT_GE(account.rows.size(), 2u);
  for (int trial = 1; trial <= trials; ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    test_support::ScratchDir dir;
    std::vector<pid_t> children;
    for (int d = 1; d <= desks; ++d) {
      children.push_back(
          spawn(d, dir, [&](int desk) { return runDesk(account, desk, dir.path()); }));
    }
    bool allHolding = true;
    for (int d = 1; d <= desks && allHolding; ++d) {
      const std::string n = std::to_string(d);
      allHolding = waitFor(dir / ("done-" + n), dir / ("desk-" + n));
    }
    if (!allHolding) {
      // A desk gave up before holding: end the others and show every report.
      std::ofstream(dir / "end") << "";
      for (int d = 1; d <= desks; ++d) {
        ADD_FAILURE() << "desk " << d << ": " << collect(children[d - 1], d, dir);
      }
      return;
    }
    {
      // Every desk is live and holding: each row's holds as all desks see them.
      auto conn = test_support::connect(account.path);
      double live = 0;
      for (const std::int32_t row : account.rows) {
        const std::string id = std::to_string(row);
        const double rowHeld = number(
            *conn, "select isnull(sum(fSumOutQ), 0) from ST_StockHolds where AutoID = " + id);
        EXPECT_LE(rowHeld, number(*conn, "select iQuantity from CurrentStock where AutoID = " + id))
            << "row " << row;
        live += rowHeld;
      }
      EXPECT_EQ(live, account.total);
    }
    std::ofstream(dir / "end") << "";
    int held = 0;
    for (int d = 1; d <= desks; ++d) {
      const std::string report = collect(children[d - 1], d, dir);
      EXPECT_GE(heldIn(report), 0) << "desk " << d << ": " << report;
      held += std::max(0, heldIn(report));
    }
    EXPECT_EQ(held, static_cast<int>(account.total));
    auto conn = test_support::connect(account.path);
    // The next trial starts from free stock: the desks of this one are done.
    conn->execute("delete from ST_Holds delete from ST_HoldDesks");
  }
}

INSTANTIATE_TEST_SUITE_P(Desks, SharedHoldsUnderLoad, ::testing::Values(2, 8, 32));

// A desk asking while another connection holds the account's write lock with a hold not yet
// committed that takes the whole row: it waits (or gives up with the busy text) and, once the
// hold is committed, is refused with nothing free; it never passes the check.
TEST(SharedHolds, ADeskAskingWhileAnotherHoldsTheLockWaitsAndIsRefused) {
  const Account account = scarceAccount("holds-lock", 3, true);
  const std::int32_t row = account.rows.front();
  test_support::ScratchDir dir;
  const auto marker = [&](const char* name) { return dir / name; };
  // The blocker: a hold of the whole row, its transaction open until the test lets it go.
  const pid_t blocker = spawn(1, dir, [&](int) -> std::string {
    auto conn = test_support::connect(account.path);
    conn->beginTrans();
    conn->execute(
        "insert into ST_HoldDesks (cDesk, dActive, iBackend) values ('OTHER_1', getdate(), " +
        std::to_string(conn->database().sessionNumber()) +
        ") insert into ST_Holds (cDesk, iKind, AutoID, fSumOutQ, fSumOutN) values ('OTHER_1', "
        "0, " +
        std::to_string(row) + ", 3, 0)");
    std::ofstream(marker("locked")) << "";
    if (!waitFor(marker("release"))) return "never released";
    conn->commitTrans();
    // On the server the hold lives while this session does: stay until the asking desk is done.
    waitFor(marker("asked"));
    return "committed";
  });
  ASSERT_TRUE(waitFor(marker("locked")));
  const pid_t asker = spawn(2, dir, [&](int desk) -> std::string {
    becomeDesk(desk);
    const automation::ObjectPtr login = test_support::loginAs("demo", account.path);
    RefSelect refSelect;
    refSelect.CreateAndDropTmpCurrentStock(login, true);
    std::string outcome = "passed the check";
    try {
      refSelect.UpdateTmpCurrentStock(login, 1, 0, row);
    } catch (const automation::ComError& e) {
      outcome = std::to_string(e.number()) + ": " + e.description();
    }
    std::ofstream(marker("asked")) << "";
    return outcome;
  });
  // Long enough for the desk to reach the lock; the outcome does not depend on it.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  std::ofstream(marker("release")) << "";
  const std::string asked = collect(asker, 2, dir);
  EXPECT_EQ(collect(blocker, 1, dir), "committed");
  EXPECT_TRUE(asked == std::to_string(module::kHoldRefusedNumber) + ": " +
                           module::HoldRefusedText(module::HoldKind::Stock, row, 0) ||
              asked.find("账套正被其他工作站使用") != std::string::npos)
      << asked;
  auto conn = test_support::connect(account.path);
  EXPECT_EQ(
      number(*conn, "select sum(fSumOutQ) from ST_Holds where AutoID = " + std::to_string(row)), 3);
}

// What the current-stock dialog of an AutoRefer over the item shows of other desks' holds.
std::string shownHolds(const automation::ObjectPtr& login, RefSelect& refSelect) {
  components::suite::StockQueriesObject queries;
  std::string sql = queries.currentStockSql({kWh, kInv, {}, ""}, false);
  RefSelect::Request request;
  request.whCode = kWh;
  request.invCode = kInv;
  request.quantity = 1;
  request.sql = refSelect.GetAllBSQL(sql);
  std::string shortfall = "silent";
  refSelect.AutoRefer(login, request, shortfall);
  const auto& label = refSelect.dialog()->lblOtherHolds;
  return label.Visible() ? label.Caption() : "(hidden)";
}

// A desk's holds end with its work table and, on a file, with its lease; the candidate query of
// another desk is offered them again. With the parameter off nothing of this exists.
TEST(SharedHolds, HoldsAreNettedForOtherDesksAndEndWithTheTableOrTheDesk) {
  const Account account = scarceAccount("holds-end", 2, true);
  const std::int32_t row = account.rows.front();
  test_support::ScratchDir dir;
  auto offered = [&](RefSelect& refSelect) {
    components::suite::StockQueriesObject queries;
    std::string sql = queries.currentStockSql({kWh, kInv, {}, ""}, false);
    auto conn = test_support::connect(account.path);
    auto rs = conn->execute(refSelect.GetAllBSQL(sql));
    double total = 0;
    for (; !rs->eof(); rs->moveNext()) total += rs->value("结存数量").toDouble();
    return total;
  };
  const auto reports = runAtOnce(1, dir, [&](int) -> std::string {
    becomeDesk(7);
    forms::ScopedUiHost host{std::make_shared<script::ScriptedUiHost>()};
    const automation::ObjectPtr login = test_support::loginAs("demo", account.path);
    RefSelect a;
    a.CreateAndDropTmpCurrentStock(login, true);
    a.UpdateTmpCurrentStock(login, 2, 0, row);
    std::ostringstream out;
    // A second desk of the same process is told apart by its terminal session.
    ::setenv("QUILLON_TERMINAL_SESSION", "desk-8", 1);
    RefSelect b;
    b.CreateAndDropTmpCurrentStock(login, true);
    out << offered(b) << ' ' << shownHolds(login, b) << ' ';
    try {
      b.UpdateTmpCurrentStock(login, 0.5, 0, row);
      out << "passed ";
    } catch (const automation::ComError& e) {
      out << (e.description() == module::HoldRefusedText(module::HoldKind::Stock, row, 0)
                  ? "refused "
                  : e.description() + " ");
    }
    ::setenv("QUILLON_TERMINAL_SESSION", "desk-7", 1);
    a.CreateAndDropTmpCurrentStock(login, false);
    ::setenv("QUILLON_TERMINAL_SESSION", "desk-8", 1);
    out << offered(b);
    b.UpdateTmpCurrentStock(login, 0.5, 0, row);
    return out.str();
  });
  std::ostringstream expected;
  expected << account.total - 2 << " 其他工作站占用：记录 " << row << " 2 refused "
           << account.total;
  EXPECT_EQ(reports[0], expected.str());

  // The desk process is gone: on the server its session ended with it, so its hold of 0.5 no
  // longer counts; on a file it counts until its lease runs out.
  auto conn = test_support::connect(account.path);
  const std::string live = "select isnull(sum(fSumOutQ), 0) from ST_StockHolds";
  double held = number(*conn, live);
  // The server lists a session for a moment after its client has gone.
  for (int i = 0; i < 100 && test_support::onServer() && held != 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    held = number(*conn, live);
  }
  EXPECT_EQ(held, test_support::onServer() ? 0 : 0.5);
  conn->execute("update ST_HoldDesks set dActive = dateadd(ss, -" +
                std::to_string(module::kLeasePeriodSeconds + 1) + ", getdate())");
  EXPECT_EQ(number(*conn, live), 0);
  conn.reset();

  // The same account with the parameter off: each desk nets only its own work table.
  test_support::connect(account.path)
      ->execute(
          "update accinformation set cValue = 'false' where cSysID = 'st' and cName = "
          "'bSharedHolds'");
  module::ForgetSharedHolds();
  const auto off = runAtOnce(2, dir, [&](int desk) -> std::string {
    becomeDesk(desk);
    forms::ScopedUiHost host{std::make_shared<script::ScriptedUiHost>()};
    const automation::ObjectPtr login = test_support::loginAs("demo", account.path);
    RefSelect r;
    r.CreateAndDropTmpCurrentStock(login, true);
    r.UpdateTmpCurrentStock(login, 2, 0, row);
    std::string sql =
        "select iQuantity from currentstock Where currentstock.AutoID = " + std::to_string(row);
    auto c = test_support::connect(account.path);
    const double left = number(*c, r.GetAllBSQL(sql));
    const std::string shown = shownHolds(login, r);
    r.CreateAndDropTmpCurrentStock(login, false);
    return std::to_string(left) + shown;
  });
  EXPECT_EQ(off[0], std::to_string(0.0) + "(hidden)");
  EXPECT_EQ(off[1], std::to_string(0.0) + "(hidden)");
}

}  // namespace
}  // namespace quillon::classes
