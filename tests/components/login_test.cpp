#include <gtest/gtest.h>

#include <fstream>

#include "ado/connection.h"
#include "automation/com_error.h"
#include "components/suite/component_errors.h"
#include "components/suite/login.h"
#include "demo_sessions.h"
#include "sql/database.h"

namespace quillon::components {
namespace {

using automation::ComError;
using automation::Variant;
using suite::Login;
using testing::demoPath;
using testing::loginAs;
using testing::scratchDir;

// Runs f and returns the ComError it raised; fails the test when it raises nothing.
template <class F>
ComError errorOf(F&& f) {
  try {
    f();
  } catch (const ComError& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return ComError(0, "");
}

TEST(Login, GivesTheTextsOfTheUserAndTheAccount) {
  auto login = loginAs("demo");
  EXPECT_EQ(login->userId(), "demo");
  EXPECT_EQ(login->userName(), "演示用户");
  EXPECT_EQ(login->year(), "2026");
  EXPECT_EQ(login->firstIdentity(), "demo");
  EXPECT_EQ(login->secondIdentity(), login->accountId() + ".2026");
  EXPECT_EQ(login->loginDate().serial, 46361.0);

  // The connection text opens the same account.
  ado::Connection conn;
  conn.open(login->connectionText());
  auto rows = conn.database().query("SELECT cUser_Name FROM UA_User WHERE cUser_Id = 'clerk'");
  ASSERT_EQ(rows.front().rows.size(), 1u);
  EXPECT_EQ(rows.front().rows[0][0].text, "仓库文员");

  // Late-bound, as hosts and the library read it.
  EXPECT_EQ(login->get("cUserId").toString(), "demo");
  EXPECT_EQ(login->get("ConnectionString").toString(), login->connectionText());
  EXPECT_EQ(login->get("LoginDate").asDate().serial, 46361.0);
}

TEST(Login, FunctionRightsFollowTheRightsTable) {
  auto demo = loginAs("demo");
  auto clerk = loginAs("clerk");
  EXPECT_TRUE(demo->checkFunctionRight("ST0118", 1, 0));
  EXPECT_FALSE(clerk->checkFunctionRight("ST0118", 1, 0));
  EXPECT_TRUE(clerk->checkFunctionRight("ST0101", 1, 0));
  EXPECT_FALSE(clerk->checkFunctionRight("", 1, 0));
  EXPECT_FALSE(clerk->checkFunctionRight("ST0101' OR '1'='1", 1, 0));
  EXPECT_EQ(clerk->call("CheckFunctionRight",
                        {Variant("ST0118"), Variant(std::int16_t{1}), Variant(std::int16_t{0})}),
            Variant(false));
}

TEST(Login, RefusesMissingFilesForeignDatabasesAndUnknownUsers) {
  const std::string missing = scratchDir() + "/nothing-here.db";
  ComError e = errorOf([&] { Login::open(missing, "demo"); });
  EXPECT_EQ(e.number(), suite::kErrDatabaseMissing);
  EXPECT_NE(e.description().find(missing), std::string::npos);

  const std::string foreign = scratchDir() + "/foreign.db";
  sql::Database::open(foreign)->execute("CREATE TABLE t (a int)");
  e = errorOf([&] { Login::open(foreign, "demo"); });
  EXPECT_EQ(e.number(), suite::kErrNotAccountDatabase);
  EXPECT_NE(e.description().find(foreign), std::string::npos);

  const std::string text = scratchDir() + "/notes.txt";
  std::ofstream(text) << "not a database at all\n";
  e = errorOf([&] { Login::open(text, "demo"); });
  EXPECT_EQ(e.number(), suite::kErrNotAccountDatabase);

  e = errorOf([&] { Login::open(demoPath(), "nobody"); });
  EXPECT_EQ(e.number(), suite::kErrUnknownUser);
  EXPECT_NE(e.description().find("nobody"), std::string::npos);

  // A quote in the user code stays part of the code.
  e = errorOf([&] { Login::open(demoPath(), "x' OR '1'='1"); });
  EXPECT_EQ(e.number(), suite::kErrUnknownUser);
}

TEST(Login, AnUnopenedLoginRefusesEverythingButOpen) {
  auto login = std::make_shared<Login>();
  EXPECT_EQ(errorOf([&] { login->connectionText(); }).number(), suite::kErrNotLoggedIn);
  // A failed Open keeps the object as it was.
  EXPECT_THROW(login->call("Open", {Variant(demoPath()), Variant("nobody")}), ComError);
  EXPECT_FALSE(login->isLoggedIn());
  EXPECT_EQ(login->call("Open", {Variant(demoPath()), Variant("clerk"), Variant("2026-11-30")}),
            Variant(true));
  EXPECT_EQ(login->userId(), "clerk");
  EXPECT_EQ(login->loginDate().serial, 46356.0);
}

}  // namespace
}  // namespace quillon::components
