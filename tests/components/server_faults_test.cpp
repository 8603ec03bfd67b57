// An account on a database server that fails: down, a wrong password, a database that is not
// there, a connection lost in the middle of a write-back. Each says which server and why; what
// the lost transaction wrote is undone, and the next call connects again.
#include <gtest/gtest.h>

#include <string>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "components/suite/account_database.h"
#include "components/suite/component_errors.h"
#include "demo_sessions.h"
#include "sql/database.h"
#include "sql/locations.h"

namespace quillon::components {
namespace {

// The location with another value of a query item ("user", "host").
std::string withItem(std::string location, const std::string& key, const std::string& value) {
  const auto at = location.find(key + "=");
  const auto end = location.find('&', at);
  location.replace(at + key.size() + 1,
                   (end == std::string::npos ? location.size() : end) - at - key.size() - 1, value);
  return location;
}

// The error of opening a connection to `location`.
automation::ComError openError(const std::string& location) {
  ado::Connection conn;
  try {
    conn.open(suite::accountConnectionString(location));
  } catch (const automation::ComError& e) {
    return e;
  }
  ADD_FAILURE() << "opened " << location;
  return automation::ComError(0, "");
}

TEST(ServerFaults, DownWrongPasswordAndMissingDatabaseNameTheServerAndTheCause) {
  if (!test_support::onServer()) GTEST_SKIP() << "faults of a database server";
  const std::string account = testing::demoPath();

  const auto down = openError(withItem(account, "host", "/nonexistent"));
  EXPECT_EQ(down.number(), sql::kConnectionFailedNumber);
  EXPECT_EQ(down.description().rfind("[Quillon.PostgreSQL] Cannot connect to /nonexistent/", 0), 0u)
      << down.description();
  EXPECT_NE(down.description().find("No such file or directory"), std::string::npos)
      << down.description();

  const auto refused = openError(withItem(account, "user", "desk") + "&password=not-the-password");
  EXPECT_EQ(refused.number(), sql::kConnectionFailedNumber);
  EXPECT_NE(refused.description().find("password authentication failed"), std::string::npos)
      << refused.description();
  EXPECT_EQ(refused.description().find("not-the-password"), std::string::npos);

  const std::string missing = sql::withDatabaseName(account, "no_such_account");
  const auto absent = openError(missing);
  EXPECT_EQ(absent.number(), sql::kConnectionFailedNumber);
  EXPECT_NE(absent.description().find("/no_such_account: database \"no_such_account\" does not "
                                      "exist"),
            std::string::npos)
      << absent.description();
  EXPECT_FALSE(sql::databaseExists(missing)) << "Create=No made it";
  try {
    suite::openAccountDatabase(missing);
    ADD_FAILURE() << "opened a missing account";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), suite::kErrDatabaseMissing) << e.description();
  }
}

TEST(ServerFaults, AConnectionLostInAWriteBackUndoesItAndTheNextCallConnectsAgain) {
  if (!test_support::onServer()) GTEST_SKIP() << "faults of a database server";
  const std::string account = testing::demoCopy("lost-connection");
  auto desk = test_support::connect(account);
  auto admin = test_support::connect(account);
  const auto quantity = [&](ado::Connection& c) {
    return c.execute("select iQuantity from CurrentStock where AutoID = 1")
        ->value(std::size_t{0})
        .toDouble();
  };
  const double before = quantity(*admin);
  const auto backend = desk->execute("select pg_backend_pid()")->value(std::size_t{0}).toLong();

  desk->beginTrans();
  desk->execute("update CurrentStock set iQuantity = iQuantity + 5 where AutoID = 1");
  admin->execute("select pg_terminate_backend(" + std::to_string(backend) + ")");
  try {
    desk->execute("update rdrecords set iSOutQuantity = iSOutQuantity + 5 where AutoID = 1");
    ADD_FAILURE() << "wrote on a lost connection";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), sql::kConnectionFailedNumber);
    EXPECT_NE(e.description().find("The connection to /"), std::string::npos) << e.description();
  }
  // The transaction is gone with the connection: ending it is no error, committing it is.
  EXPECT_TRUE(desk->inTransaction());
  desk->rollbackTrans();
  EXPECT_FALSE(desk->inTransaction());
  EXPECT_DOUBLE_EQ(quantity(*admin), before);

  // The next call has a connection of its own again.
  EXPECT_DOUBLE_EQ(quantity(*desk), before);
  EXPECT_NE(desk->execute("select pg_backend_pid()")->value(std::size_t{0}).toLong(), backend);
}

}  // namespace
}  // namespace quillon::components
