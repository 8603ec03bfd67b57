// Another desk holding the file: connections wait for its lock as their busy timeout says, from
// the moment they open, and a lock that outlasts the wait is reported as the account in use.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "automation/com_error.h"
#include "sql/database.h"
#include "support/lock_holder.h"
#include "support/scratch_dir.h"

namespace quillon::sql {
namespace {

using std::chrono::milliseconds;
using test_support::LockHolder;

constexpr int kLongWaitMs = 20000;

class DatabaseLocks : public ::testing::Test {
 protected:
  void SetUp() override {
    auto db = Database::open(path);
    db->execute("create table t (id int, q decimal(20,6))");
    db->execute("insert into t values (1, 0)");
  }
  double total(Database& db) {
    return db.query("select sum(q) from t").at(0).rows.at(0).at(0).real;
  }

  // The error a call raises, which must be the account-in-use one.
  template <class F>
  void expectBusy(F&& call) {
    try {
      call();
      ADD_FAILURE() << "no error while the file is locked";
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), kDatabaseBusyNumber) << e.description();
      EXPECT_EQ(e.description().rfind(kDatabaseBusyText, 0), 0u) << e.description();
    }
  }

  test_support::ScratchDir dir;
  std::string path = (dir / "account.db").string();
};

TEST_F(DatabaseLocks, OpeningWaitsForAnExclusiveLockBeforeReadingAnything) {
  {
    LockHolder other(path, LockHolder::Kind::Exclusive);
    other.releaseAfter(milliseconds(300));
    auto db = Database::open(path, OpenMode::OpenExisting, kLongWaitMs);
    EXPECT_EQ(total(*db), 0);
  }
  LockHolder other(path, LockHolder::Kind::Exclusive);
  expectBusy([&] { Database::open(path, OpenMode::OpenExisting, 200)->query("select * from t"); });
}

// A transaction that read before it writes: it must wait for the other desk's write at its begin,
// not fail at its first write (where the engine would refuse to wait).
TEST_F(DatabaseLocks, TransactionsThatReadFirstWaitForTheWriteLock) {
  auto db = Database::open(path, OpenMode::OpenExisting, kLongWaitMs);
  for (const bool batch : {false, true}) {
    LockHolder other(path, LockHolder::Kind::Write);
    other.releaseAfter(milliseconds(300));
    if (batch) {
      db->execute("begin tran");
    } else {
      db->begin();
    }
    const double before = total(*db);
    db->execute("update t set q = q + 1 where id = 1");
    db->commit();
    EXPECT_EQ(total(*db), before + 1);
  }

  LockHolder other(path, LockHolder::Kind::Write);
  db->setBusyTimeout(200);
  expectBusy([&] { db->begin(); });
  EXPECT_FALSE(db->inTransaction());
  expectBusy([&] { db->execute("update t set q = 5"); });
  // Reading is still possible while the other desk only writes.
  EXPECT_EQ(total(*db), 2);
}

TEST_F(DatabaseLocks, AReadOnlyConnectionBeginsWithoutTheWriteLock) {
  LockHolder other(path, LockHolder::Kind::Write);
  auto db = Database::open(path, OpenMode::ReadOnly, 200);
  db->begin();
  EXPECT_EQ(total(*db), 0);
  db->commit();
}

}  // namespace
}  // namespace quillon::sql
