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
#include "quillon_process.h"
#include "support/clerk_voucher.h"
#include "support/demo_account.h"

namespace quillon::cli {
namespace {

// The clerk's work with a count after each step; STEP is replaced by the step's name.
constexpr const char* kCount =
    "sql \"select count(*) as sessions_STEP from pg_stat_activity where application_name = "
    "'APP' and pid <> pg_backend_pid()\"\n";

std::string clerk(const std::string& app) {
  return test_support::clerkVoucher([&](std::string_view step) {
    std::string line = kCount;
    line.replace(line.find("STEP"), 4, step);
    line.replace(line.find("APP"), 3, app);
    return line;
  });
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
  test_support::turnOnSharedHolds(account);
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
