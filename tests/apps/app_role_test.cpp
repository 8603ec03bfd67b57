// The application role of db/app_role.sql on the test server: a desk logged in as that role does
// a clerk's whole material issue through `quillon run` (the order dialog's list filtered, marked
// and confirmed, the work table made, a shared hold taken, the quantity written back, the work
// table dropped), and is refused what only the account's owner may do (dropping, altering or
// indexing an account table), which leaves the account as it was. Without the script's grants the
// same role gets nowhere. Server only: an account file has no roles.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "classes/public_classes.h"
#include "quillon_process.h"
#include "sql/locations.h"
#include "support/clerk_voucher.h"
#include "support/demo_account.h"

namespace quillon::cli {
namespace {

// The value of `key` in the query of a server URI ("host" of "postgresql:///db?host=/x&user=y").
std::string uriParameter(const std::string& uri, const std::string& key) {
  const auto query = uri.find('?');
  if (query == std::string::npos) return {};
  for (std::size_t at = query + 1; at < uri.size();) {
    const auto end = std::min(uri.find('&', at), uri.size());
    const std::string pair = uri.substr(at, end - at);
    if (pair.rfind(key + "=", 0) == 0) return pair.substr(key.size() + 1);
    at = end + 1;
  }
  return {};
}

// What the clerk does beyond the voucher: a table of its own, then what the role must not do.
constexpr const char* kBeyondTheVoucher =
    R"qhs(sql "create table #picked (cNote nvarchar(37), iQuantity decimal(21,7)) insert into #picked values (N'a', 1.5) select cNote, iQuantity from #picked drop table #picked"
sql "drop table Inventory"
expect $error.Description like "*must be owner of table inventory*"
sql "alter table CurrentStock add cNote varchar(10)"
expect $error.Description like "*must be owner of table currentstock*"
sql "create index ix_clerk on rdrecords (cInvCode)"
expect $error.Description like "*must be owner of table rdrecords*"
sql "select count(*) as items from Inventory"
)qhs";

class AppRole : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::onServer()) GTEST_SKIP() << "roles are the server's";
    owner_ = test_support::demoAccount(classes::registerAllClasses).copy("app_role");
    // Shared holds on, their tables made by the owner as `init-db --shared-holds` makes them.
    test_support::turnOnSharedHolds(owner_);
    // A login role of this process, with no rights yet: roles are the whole server's.
    role_ = "clerk_" + std::to_string(::getpid());
    const Outcome made = psql("postgres", {"-c", "DROP ROLE IF EXISTS " + role_, "-c",
                                           "CREATE ROLE " + role_ + " LOGIN PASSWORD 'clerk'"});
    ASSERT_EQ(made.status, 0) << made.err;
    desk_ = sql::Location(owner_).withLogin(role_, "clerk", 0).text();
    script_ = (dir_ / "clerk.qhs").string();
    std::ofstream(script_, std::ios::binary) << test_support::clerkVoucher() + kBeyondTheVoucher;
  }

  void TearDown() override {
    if (role_.empty()) return;
    (void)psql(sql::Location(owner_).name(), {"-c", "DROP OWNED BY " + role_});
    (void)psql("postgres", {"-c", "DROP ROLE IF EXISTS " + role_});
  }

  // The server's own client as the superuser that made the account, on database `db`.
  Outcome psql(const std::string& db, std::vector<std::string> args) {
    const std::string bin =
        test_support::runCommand(
            "/bin/bash", {QUILLON_SOURCE_DIR "/scripts/test-server.sh", "bindir"}, dir_.path())
            .out;
    std::vector<std::string> all = {
        "-X",      "-q", "-v", "ON_ERROR_STOP=1", "-h", uriParameter(owner_, "host"), "-U",
        "quillon", "-d", db};
    all.insert(all.end(), args.begin(), args.end());
    return test_support::runCommand(bin.substr(0, bin.find('\n')) + "/psql", all, dir_.path());
  }

  // db/app_role.sql for the role, on the account's database.
  Outcome grant() {
    return psql(sql::Location(owner_).name(),
                {"-v", "role=" + role_, "-f", QUILLON_SOURCE_DIR "/db/app_role.sql"});
  }

  double number(const std::string& sql) {
    auto conn = test_support::connect(owner_);
    return conn->execute(sql)->value(std::size_t{0}).toDouble();
  }

  ScratchDir dir_;
  std::string owner_;
  std::string role_;
  std::string desk_;
  std::string script_;
};

TEST_F(AppRole, AClerksWorkRunsAsTheRoleAndTheOwnersStatementsAreRefused) {
  // Without the grants the role may not even read the account.
  const Outcome before = quillon(dir_, {"run", "--db", desk_, script_});
  EXPECT_NE(before.status, 0) << before.out;
  EXPECT_NE(before.out.find("permission denied"), std::string::npos) << before.out << before.err;

  const double issued = number("select foutquantity from pp_podetail where subid = 1");
  const Outcome granted = grant();
  ASSERT_EQ(granted.status, 0) << granted.err;
  const Outcome clerk = quillon(dir_, {"run", "--db", desk_, script_});
  ASSERT_EQ(clerk.status, 0) << clerk.out << clerk.err;
  // The hold was seen by all desks while it lasted, and went with the work table; the role's own
  // # table held its row.
  EXPECT_NE(clerk.out.find("held_by_all\n  -----------\n         1000\n"), std::string::npos)
      << clerk.out;
  EXPECT_NE(clerk.out.find("holds_left\n  ----------\n           0\n"), std::string::npos)
      << clerk.out;
  EXPECT_NE(clerk.out.find("a     | 1.5000000"), std::string::npos) << clerk.out;

  // The write-back reached the account; the work table is gone; the owner's tables are as they
  // were.
  EXPECT_DOUBLE_EQ(number("select foutquantity from pp_podetail where subid = 1"), issued + 2.5);
  EXPECT_EQ(number("select count(*) from sysobjects where name like '%_CurrentS'"), 0);
  EXPECT_GT(number("select count(*) from Inventory"), 0);
  EXPECT_EQ(number("select count(*) from pg_indexes where indexname = 'ix_clerk'"), 0);
  EXPECT_EQ(number("select count(*) from information_schema.columns where lower(table_name) = "
                   "'currentstock' and lower(column_name) = 'cnote'"),
            0);
}

}  // namespace
}  // namespace quillon::cli
