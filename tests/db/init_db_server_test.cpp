// The demo account built into a database that a DBA made on the server for it: owned by the
// application's role, which may not create databases. An empty one is built in where it is, one
// that holds tables is refused, and a build that fails leaves the database as empty as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <string>

#include "automation/com_error.h"
#include "db/demo_data.h"
#include "sql/database.h"
#include "sql/locations.h"
#include "sql/pg/pg_database.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"

namespace quillon::db {
namespace {

// Two databases made by the server's superuser for a role without the right to create databases,
// and the locations by which the role reaches them; everything goes again at the end.
class DbaMadeDatabases : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test_support::onServer()) GTEST_SKIP() << "databases made on a server";
    empty = test_support::accountLocation(dir.path(), "dba_made");
    other = test_support::accountLocation(dir.path(), "dba_made_other");
    admin = sql::PgDatabase::open(sql::Location(empty).withDatabaseName("postgres").text(),
                                  sql::OpenMode::OpenExisting, sql::kDefaultBusyTimeoutMs);
    admin->exec("CREATE ROLE " + role + " LOGIN PASSWORD 'app' NOCREATEDB", "create role");
    for (const std::string& location : {empty, other}) {
      admin->exec("CREATE DATABASE " + sql::Location(location).name() + " OWNER " + role +
                      " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'",
                  "create database");
      admin->exec("REVOKE CONNECT, TEMPORARY ON DATABASE " + sql::Location(location).name() +
                      " FROM PUBLIC",
                  "revoke");
    }
  }

  void TearDown() override {
    if (!admin) return;
    for (const std::string& location : {empty, other}) sql::Location(location).drop();
    admin->exec("DROP ROLE IF EXISTS " + role, "drop role");
  }

  // The location as the application's role logs in to it.
  std::string asRole(const std::string& location) const {
    std::string out = location;
    const auto at = out.find("user=quillon");
    out.replace(at, 12, "user=" + role + "&password=app");
    return out;
  }

  std::int64_t rows(const std::string& location, const std::string& table) {
    auto db = sql::Database::open(asRole(location), sql::OpenMode::OpenExisting);
    return db->query("select count(*) from " + table).at(0).rows.at(0).at(0).integer;
  }

  test_support::ScratchDir dir;
  const std::string role = "t" + std::to_string(::getpid()) + "_app";
  std::string empty;
  std::string other;
  std::unique_ptr<sql::PgDatabase> admin;
};

TEST_F(DbaMadeDatabases, AnEmptyOneIsBuiltInAndThenRefusedAsAnyAccount) {
  EXPECT_EQ(admin->column("SELECT rolcreatedb::text FROM pg_roles WHERE rolname = '" + role + "'"),
            std::vector<std::string>{"false"});
  const DemoSummary summary = createDemoDatabase(asRole(empty), 1, false);
  EXPECT_GT(summary.totalRows(), 1000);
  EXPECT_GT(rows(empty, "Inventory"), 0);
  EXPECT_GT(rows(empty, "CurrentStock"), 0);
  EXPECT_EQ(sql::Location(asRole(empty)).contents(), sql::DatabaseContents::HoldsTables);
  // The planner knows the rows the build wrote (a table never analyzed counts -1).
  auto account =
      sql::PgDatabase::open(empty, sql::OpenMode::OpenExisting, sql::kDefaultBusyTimeoutMs);
  EXPECT_EQ(account->column("SELECT reltuples::bigint::text FROM pg_class WHERE relname = "
                            "'currentstock'"),
            std::vector<std::string>{std::to_string(rows(empty, "CurrentStock"))});

  const std::int64_t stock = rows(empty, "CurrentStock");
  try {
    createDemoDatabase(asRole(empty), 1, false);
    ADD_FAILURE() << "built into a database that holds an account";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.description(), "The database " + sql::Location(empty).name() +
                                   " already exists on the server; use --force to replace it.");
  }
  EXPECT_EQ(rows(empty, "CurrentStock"), stock);
}

TEST_F(DbaMadeDatabases, AFailedBuildLeavesTheDatabaseEmpty) {
  // A type of the name of a table near the end of the schema: the database holds no table, and
  // the build fails once most tables are made.
  auto own =
      sql::PgDatabase::open(asRole(other), sql::OpenMode::OpenExisting, sql::kDefaultBusyTimeoutMs);
  own->exec("CREATE TYPE public.invpositionsum AS (x int)", "create type");
  ASSERT_EQ(sql::Location(asRole(other)).contents(), sql::DatabaseContents::Empty);
  try {
    createDemoDatabase(asRole(other), 1, false);
    ADD_FAILURE() << "built over a type of a table's name";
  } catch (const automation::ComError& e) {
    EXPECT_NE(e.description().find("07_stock.sql"), std::string::npos) << e.description();
  }
  EXPECT_EQ(sql::Location(asRole(other)).contents(), sql::DatabaseContents::Empty);

  own->exec("DROP TYPE public.invpositionsum", "drop type");
  own.reset();
  EXPECT_GT(createDemoDatabase(asRole(other), 1, false).totalRows(), 1000);
  EXPECT_GT(rows(other, "CurrentStock"), 0);
}

TEST_F(DbaMadeDatabases, ADatabaseWithATableOfItsOwnIsRefusedAndKept) {
  auto own =
      sql::PgDatabase::open(asRole(other), sql::OpenMode::OpenExisting, sql::kDefaultBusyTimeoutMs);
  own->exec("CREATE TABLE public.notes (line text); INSERT INTO public.notes VALUES ('kept')",
            "create table");
  own.reset();
  EXPECT_EQ(sql::Location(asRole(other)).contents(), sql::DatabaseContents::HoldsTables);
  try {
    createDemoDatabase(asRole(other), 1, false);
    ADD_FAILURE() << "built beside a table of the database's own";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.description(), "The database " + sql::Location(other).name() +
                                   " already exists on the server; use --force to replace it.");
  }
  EXPECT_EQ(rows(other, "notes"), 1);
  // Nothing of the account was made beside it.
  auto db = sql::Database::open(asRole(other), sql::OpenMode::OpenExisting);
  EXPECT_EQ(
      db->query("select count(*) from INFORMATION_SCHEMA.TABLES").at(0).rows.at(0).at(0).integer,
      1);
}

}  // namespace
}  // namespace quillon::db
