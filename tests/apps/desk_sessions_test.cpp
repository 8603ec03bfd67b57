// How many server sessions a desk keeps open: a clerk's material issue through `quillon run` on
// an account with shared holds (the order dialog's list filtered, marked and confirmed, the work
// table made, the stock rewritten and allocated, a hold taken, the quantity written back, the
// work table dropped), with the desk's sessions counted in the server's list of sessions after
// every step. The desk's connection strings carry an application name of their own; the count
// leaves out the session that asks (the script's `sql` lines run as another workstation).
// Server only: an account file has no sessions to count.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "classes/public_classes.h"
#include "module/shared_holds.h"
#include "quillon_process.h"
#include "support/demo_account.h"

namespace quillon::cli {
namespace {

// The clerk's work with a count after each step; STEP is replaced by the step's name.
constexpr const char* kCount =
    "sql \"select count(*) as sessions_STEP from pg_stat_activity where application_name = "
    "'APP' and pid <> pg_backend_pid()\"\n";

std::string clerk(const std::string& app) {
  const auto count = [&](const std::string& step) {
    std::string line = kCount;
    line.replace(line.find("STEP"), 4, step);
    line.replace(line.find("APP"), 3, app);
    return line;
  };
  return "login user=demo date=2026-12-05\n" + count("login") +
         R"qhs(new $po Quillon.ProduceOrder
new $q Quillon.Suite.StockQueries
new $r Quillon.RefSelect
on frmProduceOrder
  click chkAll
  click cmdFilter
  mark lstParent 1
  mark lstSub 1
  click cmdOk
end
$ok = call $po.load "" $login $coll $err - 11
expect $ok = true
)qhs" + count("load") +
         R"qhs($made = call $r.CreateAndDropTmpCurrentStock $login true
)qhs" + count("worktable") +
         R"qhs($sql = call $q.CurrentStockSql "01" "0101003"
$net = call $r.GetAllBSQL $sql
set $short = "silent"
$ok = call $r.AutoRefer $login "01" "0101003" - 1000.0 0.0 0.0 0 $net false true "" $short
$data = call $r.ReturnData
expect $data.count = 1
$id = call $data.Collect "AutoID"
$taken = call $data.Collect "出库数量"
$pieces = call $data.Collect "出库件数"
$held = call $r.UpdateTmpCurrentStock $login $taken $pieces $id
sql "select sum(fSumOutQ) as held_by_all from ST_StockHolds"
)qhs" + count("hold") +
         R"qhs($w = call $po.WritefQuantity 1 2.5 $err
expect $w = true
expect $err = ""
)qhs" + count("writeback") +
         R"qhs($dropped = call $r.CreateAndDropTmpCurrentStock $login false
sql "select count(*) as holds_left from ST_StockHolds"
)qhs" + count("dropped");
}

// The counts the script printed, in order: each "sessions_<step>" header, its rule, its number.
std::vector<int> counts(const std::string& out) {
  static const std::regex shown(R"(sessions_[a-z]+\n\s*-+\n\s*(\d+)\n)");
  std::vector<int> all;
  for (auto it = std::sregex_iterator(out.begin(), out.end(), shown); it != std::sregex_iterator();
       ++it) {
    all.push_back(std::stoi((*it)[1].str()));
  }
  return all;
}

TEST(DeskSessions, AClerksMaterialIssueKeepsAtMostTwoServerSessions) {
  if (!test_support::onServer()) GTEST_SKIP() << "sessions are the server's";
  ScratchDir dir;
  const std::string account =
      test_support::demoAccount(classes::registerAllClasses).copy("desk_sessions");
  {
    auto conn = test_support::connect(account);
    conn->execute(
        "update accinformation set cValue = 'true' where cSysID = 'st' and cName = "
        "'bSharedHolds'");
    module::InstallSharedHolds(*conn);
    conn->close();
  }
  const std::string app = "desk_sessions_" + std::to_string(::getpid());
  const std::string desk = account + "&application_name=" + app;
  const std::string script = (dir / "clerk.qhs").string();
  std::ofstream(script, std::ios::binary) << clerk(app);

  const Outcome run = quillon(dir, {"run", "--db", desk, script});
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("held_by_all\n  -----------\n         1000\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("holds_left\n  ----------\n           0\n"), std::string::npos) << run.out;
  const std::vector<int> seen = counts(run.out);
  ASSERT_EQ(seen.size(), 6U) << run.out;
  // The desk's one connection, which its login, its contexts and its dialogs share, and from the
  // first hold on the session that shows the other desks it is alive (it lives as long as the
  // desk, apart from the connection that comes and goes with the objects that hold it).
  EXPECT_EQ(seen.front(), 1) << run.out;
  EXPECT_LE(*std::max_element(seen.begin(), seen.end()), 2) << run.out;
}

}  // namespace
}  // namespace quillon::cli
