// Connections: connection strings, batches with and without rows, transactions, and the
// separation of two connections to one database file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "ado/ado_errors.h"
#include "ado/connection_string.h"
#include "ado/session_pool.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "error_number.h"
#include "support/lock_holder.h"
#include "test_data.h"

namespace quillon::ado {
namespace {

using testing::autoIds;
using testing::errorOf;
using testing::openStock;
using testing::openStockDb;

// A database file of its own per test, removed afterwards.
class TempFile {
 public:
  TempFile()
      : path_(std::filesystem::temp_directory_path() /
              ("quillon_ado_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++) +
               ".db")) {}
  ~TempFile() { std::filesystem::remove(path_); }
  std::string path() const { return path_.string(); }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

TEST(AdoConnection, ConnectionStrings) {
  const auto cs = ConnectionString::parse(
      " provider = quillon.sqlite ; DATA SOURCE=\"/tmp/a;b.db\";Persist Security Info=False;");
  EXPECT_EQ(cs.get("Provider"), "quillon.sqlite");
  EXPECT_EQ(cs.get("data source"), "/tmp/a;b.db");
  EXPECT_EQ(resolveConnectionTarget(cs).path, "/tmp/a;b.db");
  EXPECT_FALSE(cs.get("User ID"));
  EXPECT_EQ(ConnectionString::parse("Data Source='it''s.db'").get("Data Source"), "it's.db");
  EXPECT_EQ(resolveConnectionTarget(ConnectionString::parse("Data Source=x;Mode=Read")).mode,
            sql::OpenMode::ReadOnly);
  EXPECT_EQ(resolveConnectionTarget(ConnectionString::parse("Data Source=x;Create=No")).mode,
            sql::OpenMode::OpenExisting);

  // A value written for a connection string reads back exactly, whatever file name it is.
  EXPECT_EQ(connectionStringValue("/srv/a.db"), "/srv/a.db");
  for (const char* path :
       {"/srv/a.db", "a;b.db", "'single", "\"double\"", " lead", "trail\t", "it's", "", "x=y"}) {
    const auto parsed = ConnectionString::parse(
        "Provider=Quillon.SQLite;Data Source=" + connectionStringValue(path) + ";Create=No");
    EXPECT_EQ(parsed.get("Data Source"), path) << path;
    EXPECT_EQ(parsed.get("Create"), "No") << path;
  }

  Connection cn;
  EXPECT_EQ(errorOf([&] { cn.open("Provider=SQLOLEDB;Data Source=server"); }),
            kErrProviderNotFound);
  EXPECT_EQ(errorOf([&] { cn.open("Provider=Quillon.SQLite"); }), kErrProvider);
  EXPECT_EQ(errorOf([&] { cn.open("Data Source=x;Mode=Sometimes"); }), kErrProvider);
  EXPECT_EQ(errorOf([&] { cn.open("Data Source"); }), kErrArguments);
  EXPECT_EQ(errorOf([&] { cn.open("Data Source='open"); }), kErrArguments);
  EXPECT_EQ(errorOf([&] { cn.open("Data Source=/nonexistent/dir/x.db;Create=No"); }),
            sql::kSqlErrorNumber);
  EXPECT_EQ(cn.state(), adStateClosed);

  cn.setConnectionString("Data Source=:memory:");
  cn.open();
  EXPECT_EQ(cn.state(), adStateOpen);
  EXPECT_EQ(errorOf([&] { cn.open("Data Source=:memory:"); }), kErrObjectOpen);
  EXPECT_EQ(errorOf([&] { cn.setConnectionString("x"); }), kErrObjectOpen);
  cn.close();
  EXPECT_EQ(errorOf([&] { cn.close(); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { cn.execute("select 1"); }), kErrObjectClosed);
  EXPECT_EQ(errorOf([&] { cn.beginTrans(); }), kErrObjectClosed);
}

TEST(AdoConnection, ExecuteBatchesWithAndWithoutRows) {
  auto cn = openStockDb();
  std::int32_t affected = 0;
  auto none = cn->execute(
      "update stock set fPrice = 1 where AutoID < 3\n"
      "delete from stock where AutoID = 5",
      &affected);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->state(), adStateClosed);
  EXPECT_EQ(affected, 3);

  auto rows = cn->execute(
      "update stock set fPrice = 2 where AutoID = 1\n"
      "select AutoID, fPrice from stock order by AutoID\n"
      "select 'second' as ignored\n"
      "update stock set fPrice = 3 where AutoID = 2",
      &affected);
  ASSERT_EQ(rows->state(), adStateOpen);
  EXPECT_EQ(rows->fields()->count(), 2);
  EXPECT_EQ(autoIds(*rows), "1,2,3,4");
  rows->moveFirst();
  EXPECT_DOUBLE_EQ(rows->value("fPrice").asDouble(), 2.0);
  EXPECT_EQ(affected, 2);
  auto check = cn->execute("select fPrice from stock where AutoID = 2");
  EXPECT_DOUBLE_EQ(check->value("fPrice").asDouble(), 3.0);  // statements after the rows ran

  EXPECT_EQ(cn->execute("delete from stock where 1 = 0", nullptr, adExecuteNoRecords), nullptr);
  EXPECT_EQ(errorOf([&] { cn->execute("select * from missing_table"); }), sql::kSqlErrorNumber);

  // Late-bound, with the by-reference count.
  std::vector<Variant> args{Variant("update stock set fPrice = 0"), Variant(), Variant(-1)};
  const Variant rs = cn->invoke("Execute", automation::InvokeKind::Method, args);
  EXPECT_EQ(args[1], Variant(4));
  EXPECT_EQ(rs.asObject()->get("State"), Variant(adStateClosed));
}

TEST(AdoConnection, RollbackLeavesNothingAndTransactionsDoNotNest) {
  auto cn = openStockDb();
  EXPECT_EQ(cn->beginTrans(), 1);
  EXPECT_TRUE(cn->inTransaction());
  EXPECT_NE(errorOf([&] { cn->beginTrans(); }), 0);
  cn->execute("insert into stock (AutoID) values (10)");
  cn->execute("delete from stock where AutoID = 1");
  cn->rollbackTrans();
  EXPECT_FALSE(cn->inTransaction());
  EXPECT_EQ(autoIds(*openStock(cn)), "1,2,3,4,5");

  cn->beginTrans();
  cn->execute("insert into stock (AutoID) values (10)");
  cn->commitTrans();
  EXPECT_EQ(autoIds(*openStock(cn)), "1,2,3,4,5,10");

  EXPECT_EQ(errorOf([&] { cn->commitTrans(); }), kErrNoTransaction);
  EXPECT_EQ(errorOf([&] { cn->rollbackTrans(); }), kErrNoTransaction);

  // A failing statement inside a transaction leaves it to the caller to undo.
  cn->beginTrans();
  cn->execute("delete from stock where AutoID = 10");
  EXPECT_NE(errorOf([&] { cn->execute("insert into nowhere values (1)"); }), 0);
  EXPECT_TRUE(cn->inTransaction());
  cn->rollbackTrans();
  EXPECT_EQ(autoIds(*openStock(cn)), "1,2,3,4,5,10");
}

// A connection open on `cs`.
std::shared_ptr<Connection> connectedTo(const std::string& cs) {
  auto cn = std::make_shared<Connection>();
  cn->open(cs);
  return cn;
}

TEST(AdoConnection, ConnectionsShareNothing) {
  TempFile file;
  const std::string cs = "Provider=Quillon.SQLite;Data Source=" + file.path();
  auto a = connectedTo(cs);
  auto b = connectedTo(cs);
  a->execute("create table shared_t (n int)\ninsert into shared_t values (1)");
  a->execute("create table #work (n int)\ninsert into #work values (7)");
  EXPECT_EQ(a->execute("select n from #work")->value("n"), Variant(7));
  EXPECT_EQ(b->execute("select count(*) as c from shared_t")->value("c"), Variant(1));
  EXPECT_NE(errorOf([&] { b->execute("select n from #work"); }), 0);
  b->execute("create table #work (n int)");  // the same name, its own table
  EXPECT_EQ(b->execute("select count(*) as c from #work")->value("c"), Variant(0));

  // A recordset opened with a connection string gets a private connection.
  auto rs = std::make_shared<Recordset>();
  rs->open(Variant("select n from shared_t"), Variant(cs));
  EXPECT_EQ(rs->value("n"), Variant(1));
  EXPECT_NE(rs->activeConnection(), a);
}

// CommandTimeout is the wait for another desk's lock on every path: from Open on, and for a
// transaction, which takes the write lock when it begins.
TEST(AdoConnection, CommandTimeoutWaitsOutLocksFromOpenOn) {
  TempFile file;
  const std::string cs = "Provider=Quillon.SQLite;Data Source=" + file.path();
  auto setUp = std::make_shared<Connection>();
  setUp->open(cs);
  setUp->execute("create table t (n int) insert into t values (1)");
  setUp->close();
  {
    test_support::LockHolder other(file.path(), test_support::LockHolder::Kind::Exclusive);
    other.releaseAfter(std::chrono::milliseconds(300));
    auto cn = std::make_shared<Connection>();
    cn->setCommandTimeout(20);
    cn->open(cs);
    EXPECT_EQ(cn->execute("select n from t")->value("n"), Variant(1));
  }
  auto cn = std::make_shared<Connection>();
  cn->setCommandTimeout(1);
  cn->open(cs);
  {
    test_support::LockHolder other(file.path(), test_support::LockHolder::Kind::Write);
    other.releaseAfter(std::chrono::milliseconds(300));
    cn->setCommandTimeout(20);
    cn->beginTrans();
    EXPECT_EQ(cn->execute("select n from t")->value("n"), Variant(1));
    cn->execute("update t set n = 2");
    cn->commitTrans();
  }
  test_support::LockHolder other(file.path(), test_support::LockHolder::Kind::Write);
  cn->setCommandTimeout(1);
  EXPECT_EQ(errorOf([&] { cn->beginTrans(); }), sql::kDatabaseBusyNumber);
  EXPECT_FALSE(cn->inTransaction());
  EXPECT_EQ(cn->execute("select n from t")->value("n"), Variant(2));
}

// A closed connection's session is kept for the next Open of the same file: it starts as a fresh
// one (no transaction, no temporary table) and reads tables other connections changed meanwhile.
TEST(AdoConnection, AClosedSessionIsKeptForTheNextOpenOfItsFile) {
  session_pool::clear();
  TempFile file;
  const std::string cs = "Provider=Quillon.SQLite;Data Source=" + file.path();
  auto other = connectedTo(cs + ";OLE DB Services=-2");
  other->execute("create table t (a int)\ninsert into t values (1)");

  auto first = connectedTo(cs);
  EXPECT_EQ(first->execute("select * from t")->fields()->count(), 1);
  first->execute("create table #work (n int)");
  first->beginTrans();
  first->execute("insert into t values (2)");
  first->close();
  EXPECT_EQ(session_pool::kept(), 1u);

  // While it waits, another connection gives the table another column.
  other->execute(
      "drop table t\ncreate table t (a int, b nvarchar(10))\ninsert into t values (3, 'x')");
  other->close();
  EXPECT_EQ(session_pool::kept(), 1u);  // that connection keeps out of the pool

  auto second = connectedTo(cs);
  EXPECT_EQ(session_pool::kept(), 0u);
  auto rs = second->execute("select * from t");
  EXPECT_EQ(rs->fields()->count(), 2);
  EXPECT_EQ(rs->value("b"), Variant("x"));
  EXPECT_FALSE(second->inTransaction());
  EXPECT_NE(errorOf([&] { second->execute("select n from #work"); }), 0);
  rs.reset();
  second.reset();  // its end gives the session back too
  EXPECT_EQ(session_pool::kept(), 1u);

  // A file put in the place of the one a kept session has open is opened afresh.
  std::filesystem::remove(file.path());
  auto fresh = connectedTo(cs);
  fresh->execute("create table u (c int)");
  EXPECT_NE(errorOf([&] { fresh->execute("select * from t"); }), 0);
  fresh->close();
  session_pool::clear();
}

// A connection kept open reads a table with the columns it has now, whoever changed it.
TEST(AdoConnection, AnOpenConnectionSeesAnotherConnectionsNewColumns) {
  TempFile file;
  const std::string cs = "Provider=Quillon.SQLite;Data Source=" + file.path();
  auto a = connectedTo(cs);
  auto b = connectedTo(cs);
  a->execute("create table t (a int)\ninsert into t values (1)");
  EXPECT_EQ(b->execute("select * from t")->fields()->count(), 1);
  a->execute("drop table t\ncreate table t (x int, y int, z int)\ninsert into t values (1, 2, 3)");
  auto rs = b->execute("select * from t");
  ASSERT_EQ(rs->fields()->count(), 3);
  EXPECT_EQ(rs->value("z"), Variant(3));
  a->execute("drop table t\ncreate table t (p int)\ninsert into t values (5)");
  b->execute("select * into t2 from t");
  EXPECT_EQ(b->execute("select * from t2")->fields()->count(), 1);
}

TEST(AdoConnection, CreatableByProgId) {
  automation::ClassRegistry registry;
  registerAdoClasses(registry);
  const auto cn = registry.create("adodb.connection");
  cn->call("Open", {Variant("Data Source=:memory:")});
  EXPECT_EQ(cn->get("State"), Variant(adStateOpen));
  cn->let("CommandTimeout", Variant(5));
  EXPECT_EQ(cn->get("CommandTimeout"), Variant(5));
  cn->let("CursorLocation", Variant(adUseClient));
  EXPECT_EQ(cn->get("CursorLocation"), Variant(adUseClient));
  EXPECT_THROW(cn->let("CursorLocation", Variant(9)), automation::ComError);
  const auto rs = registry.create("ADODB.Recordset");
  rs->call("Open", {Variant("select 1 as one"), Variant(cn)});
  EXPECT_EQ(rs->get("RecordCount"), Variant(1));
}

}  // namespace
}  // namespace quillon::ado
