// Several desks on one account at once, each a process of its own with its own terminal session,
// as a shop floor runs them: each allocates stock through its work table, writes issued
// quantities back to a production order and tracked out-counts to a receipt line. All of them
// finish, and the totals are those of the desks run one after another.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "classes/public_classes.h"
#include "classes/ref_select.h"
#include "classes/track_set.h"
#include "components/suite/login.h"
#include "components/suite/production_order_object.h"
#include "components/suite/stock_queries_object.h"
#include "module/settings.h"
#include "script/scripted_ui_host.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"

namespace quillon::classes {
namespace {

using automation::Variant;

constexpr int kRounds = 6;

// What every desk works on, found once before the desks start.
struct Plan {
  std::string path;
  int materialLine = 0;    // pp_POMaterial.SubID
  double issue = 0;        // issued per round
  int receiptLine = 0;     // RdRecords.AutoID
  double outCount = 0.25;  // tracked out-count per round
};

double number(ado::Connection& conn, const std::string& sql) {
  return conn.execute(sql)->value(std::size_t{0}).toDouble();
}

std::shared_ptr<ado::Recordset> trackedBody(double outCount) {
  std::vector<ado::FieldDef> fields = {{"iSOutQuantity", ado::adDouble},
                                       {"iSOutNum", ado::adDouble}};
  auto body = ado::Recordset::fabricate(fields);
  body->addNew();
  body->setValue(Variant("iSOutQuantity"), Variant(outCount));
  body->setValue(Variant("iSOutNum"), Variant(0.0));
  body->update();
  return body;
}

// One desk's session; returns "" when everything it did succeeded, else what failed.
std::string runDesk(const Plan& plan, int desk) {
  ::setenv("QUILLON_TERMINAL_SESSION", ("desk-" + std::to_string(desk)).c_str(), 1);
  forms::ScopedUiHost host{std::make_shared<script::ScriptedUiHost>()};
  const automation::ObjectPtr login = test_support::loginAs("demo", plan.path);
  auto conn = test_support::connect(plan.path);
  RefSelect refSelect;
  refSelect.CreateAndDropTmpCurrentStock(login, true);
  components::suite::ProductionOrderServiceObject production;
  components::suite::StockQueriesObject queries;
  TrackSet track;
  auto body = trackedBody(plan.outCount);
  const std::string table = module::WorkTableSuffix() + "_CurrentS";

  for (int round = 1; round <= kRounds; ++round) {
    const std::string where = "desk " + std::to_string(desk) + " round " + std::to_string(round);
    std::string sql = queries.currentStockSql({"01", "0101003", {}, ""}, false);
    RefSelect::Request request;
    request.whCode = "01";
    request.invCode = "0101003";
    request.quantity = 1;
    request.sql = refSelect.GetAllBSQL(sql);
    std::string shortfall = "silent";
    refSelect.AutoRefer(login, request, shortfall);
    const auto& chosen = refSelect.ReturnData();
    if (!shortfall.empty() || !chosen || chosen->recordCount() != 1) {
      return where + ": allocation failed: " + shortfall;
    }
    refSelect.UpdateTmpCurrentStock(login, chosen->value("出库数量").toDouble(), 0,
                                    chosen->value("AutoID").toLong());

    std::string err;
    production.writeOutQuantity(plan.materialLine, "", plan.issue, conn, err, "");
    if (!err.empty()) return where + ": write-back: " + err;
    if (!track.WritCountofRD_CS(std::to_string(plan.receiptLine), nullptr, body.get(), conn.get(),
                                true, err)) {
      return where + ": tracked out-count: " + err;
    }
  }
  const double allocated = number(*conn, "select sum(fSumOutQ) from " + table);
  refSelect.CreateAndDropTmpCurrentStock(login, false);
  if (allocated != kRounds)
    return "desk " + std::to_string(desk) + " allocated " + std::to_string(allocated);
  return {};
}

// Runs `desks` desks at once; returns each one's failure ("" for none).
std::vector<std::string> runDesksAtOnce(const Plan& plan, int desks,
                                        const test_support::ScratchDir& dir) {
  std::vector<pid_t> children;
  for (int desk = 1; desk <= desks; ++desk) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      std::string failure;
      try {
        failure = runDesk(plan, desk);
      } catch (const automation::ComError& e) {
        failure = "error " + std::to_string(e.number()) + ": " + e.description();
      } catch (const std::exception& e) {
        failure = e.what();
      }
      std::ofstream(dir / ("desk-" + std::to_string(desk))) << failure;
      // Nothing of the test program's own ending (its account folder, its report) runs here.
      ::_exit(failure.empty() ? 0 : 1);
    }
    children.push_back(pid);
  }
  std::vector<std::string> failures;
  for (std::size_t i = 0; i < children.size(); ++i) {
    int status = 0;
    ::waitpid(children[i], &status, 0);
    const std::string text = test_support::fileText(dir / ("desk-" + std::to_string(i + 1)));
    if (!WIFEXITED(status)) {
      failures.push_back("desk " + std::to_string(i + 1) + " ended abnormally");
    } else {
      failures.push_back(text);
    }
  }
  return failures;
}

class ConcurrentDesks : public ::testing::TestWithParam<int> {};

TEST_P(ConcurrentDesks, AllFinishWithTheTotalsOfOneAfterAnother) {
  const int desks = GetParam();
  test_support::ScratchDir dir;
  Plan plan;
  plan.path = test_support::demoAccount(registerAllClasses).copy("desks-" + std::to_string(desks));
  auto conn = test_support::connect(plan.path);
  plan.materialLine =
      static_cast<int>(number(*conn, "SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 4"));
  const std::string issued = "SELECT isnull(fOutQuantity, 0) FROM pp_POMaterial WHERE SubID = " +
                             std::to_string(plan.materialLine);
  const double issuedBefore = number(*conn, issued);
  const double open = number(*conn, "SELECT fQuantity FROM pp_POMaterial WHERE SubID = " +
                                        std::to_string(plan.materialLine)) -
                      issuedBefore;
  plan.issue = std::floor(open / (desks * kRounds) * 1000) / 1000;
  ASSERT_GT(plan.issue, 0);
  plan.receiptLine = static_cast<int>(
      number(*conn,
             "select min(r.AutoID) from rdrecords r inner join rdrecord h on h.ID = r.ID "
             "where h.bRdFlag = 1"));
  const std::string tracked =
      "select iSOutQuantity from rdrecords where AutoID = " + std::to_string(plan.receiptLine);
  const double trackedBefore = number(*conn, tracked);

  // No connection of this process may be open in the desks it forks.
  conn.reset();
  const auto failures = runDesksAtOnce(plan, desks, dir);
  conn = test_support::connect(plan.path);
  for (std::size_t i = 0; i < failures.size(); ++i) {
    EXPECT_EQ(failures[i], "") << "desk " << i + 1;
  }
  EXPECT_NEAR(number(*conn, issued), issuedBefore + desks * kRounds * plan.issue, 1e-6);
  EXPECT_NEAR(number(*conn, tracked), trackedBefore + desks * kRounds * plan.outCount, 1e-6);
  EXPECT_EQ(number(*conn, "select count(*) from sysobjects where name like '%CurrentS'"), 0);
}

INSTANTIATE_TEST_SUITE_P(Desks, ConcurrentDesks, ::testing::Values(2, 4, 8));

}  // namespace
}  // namespace quillon::classes
