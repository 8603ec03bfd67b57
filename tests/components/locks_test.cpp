// Another desk holding the account: the login and the production-order write-backs wait for its
// lock, and a lock that outlasts the wait says the account is in use, never that the file is no
// account database, and leaves nothing half-written.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "components/suite/account_database.h"
#include "components/suite/component_errors.h"
#include "components/suite/production_order_object.h"
#include "demo_sessions.h"
#include "sql/database.h"
#include "support/lock_holder.h"

namespace quillon::components {
namespace {

using std::chrono::milliseconds;
using test_support::LockHolder;

double outQuantity(ado::Connection& conn, int subId) {
  return conn
      .execute("SELECT isnull(fOutQuantity, 0) FROM pp_POMaterial WHERE SubID = " +
               std::to_string(subId))
      ->value(std::size_t{0})
      .toDouble();
}

TEST(AccountLocks, LoginWaitsForAnExclusiveLockAndNeverCallsTheFileForeign) {
  if (test_support::onServer()) GTEST_SKIP() << "a server's readers never wait for a writer";
  const std::string path = testing::demoCopy("locked-login");
  {
    LockHolder other(path, LockHolder::Kind::Exclusive);
    other.releaseAfter(milliseconds(300));
    EXPECT_EQ(suite::Login::open(path, "demo")->userId(), "demo");
  }
  LockHolder other(path, LockHolder::Kind::Exclusive);
  try {
    suite::openAccountDatabase(path, 200);
    ADD_FAILURE() << "opened a locked account";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), sql::kDatabaseBusyNumber) << e.description();
    EXPECT_EQ(e.description().rfind(sql::kDatabaseBusyText, 0), 0u) << e.description();
  }
}

TEST(AccountLocks, WriteBacksWaitForAnotherDesksTransaction) {
  const std::string path = testing::demoCopy("locked-write-back");
  auto conn = test_support::connect(path);
  suite::ProductionOrderServiceObject service;
  const int sub =
      static_cast<int>(conn->execute("SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 4")
                           ->value(std::size_t{0})
                           .toDouble());
  const double start = outQuantity(*conn, sub);
  std::string err;
  {
    LockHolder other(path, LockHolder::Kind::Write);
    other.releaseAfter(milliseconds(300));
    service.writeOutQuantity(sub, "", 1, conn, err, "");
    EXPECT_EQ(err, "");
  }
  EXPECT_NEAR(outQuantity(*conn, sub), start + 1, 1e-9);

  // A lock held past CommandTimeout: refused as the account in use, nothing written.
  conn->setCommandTimeout(1);
  LockHolder other(path, LockHolder::Kind::Write);
  service.writeOutQuantity(sub, "", 1, conn, err, "");
  EXPECT_EQ(err.rfind(sql::kDatabaseBusyText, 0), 0u) << err;
  EXPECT_FALSE(conn->inTransaction());
  EXPECT_NEAR(outQuantity(*conn, sub), start + 1, 1e-9);
}

}  // namespace
}  // namespace quillon::components
