// An account on a database server that fails: down, a wrong password, a database that is not
// there, a connection lost in the middle of a write-back. Each says which server and why; what
// the lost transaction wrote is undone, and the next call connects again.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/session_pool.h"
#include "automation/com_error.h"
#include "components/suite/account_database.h"
#include "components/suite/component_errors.h"
#include "components/suite/login.h"
#include "components/suite/write_back.h"
#include "demo_sessions.h"
#include "sql/database.h"
#include "sql/locations.h"
#include "support/command_run.h"
#include "support/scratch_dir.h"

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

  const std::string missing = sql::Location(account).withDatabaseName("no_such_account").text();
  const auto absent = openError(missing);
  EXPECT_EQ(absent.number(), sql::kConnectionFailedNumber);
  EXPECT_NE(absent.description().find("/no_such_account: database \"no_such_account\" does not "
                                      "exist"),
            std::string::npos)
      << absent.description();
  EXPECT_FALSE(sql::Location(missing).exists()) << "Create=No made it";
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

// A closed connection's server session is kept for the next connection to the account and comes
// back as a new session starts: its transaction undone, its temporary table gone, a table another
// desk changed meanwhile read with its new columns. A kept session whose server process ended is
// replaced by a new one.
TEST(ServerFaults, AClosedSessionIsKeptAndComesBackAsANewOne) {
  if (!test_support::onServer()) GTEST_SKIP() << "sessions of a database server";
  ado::session_pool::clear();
  const std::string account = testing::demoCopy("kept-session");
  auto other = test_support::connect(account);
  const auto pid = [](ado::Connection& c) {
    return c.execute("select pg_backend_pid()")->value(std::size_t{0}).toLong();
  };
  other->execute("create table t (a int)\ninsert into t values (1)");

  auto first = test_support::connect(account);
  const auto backend = pid(*first);
  EXPECT_EQ(first->execute("select * from t")->fields()->count(), 1);
  first->execute("create table #work (n int)");
  first->beginTrans();
  first->execute("insert into t values (2)");
  first->close();
  EXPECT_EQ(ado::session_pool::kept(), 1u);
  other->execute("alter table t add b nvarchar(10)\nupdate t set b = 'x'");

  auto second = test_support::connect(account);
  EXPECT_EQ(ado::session_pool::kept(), 0u);
  EXPECT_EQ(pid(*second), backend);
  EXPECT_FALSE(second->inTransaction());
  auto rs = second->execute("select * from t");
  ASSERT_EQ(rs->fields()->count(), 2);
  EXPECT_EQ(rs->value("b").toString(), "x");
  EXPECT_EQ(second->execute("select count(*) from t")->value(std::size_t{0}).toLong(), 1);
  EXPECT_THROW(second->execute("select n from #work"), automation::ComError);
  rs.reset();
  second->close();
  ASSERT_EQ(ado::session_pool::kept(), 1u);

  other->execute("select pg_terminate_backend(" + std::to_string(backend) + ")");
  for (int i = 0; i < 100 && other->execute("select count(*) from pg_stat_activity where pid = " +
                                            std::to_string(backend))
                                     ->value(std::size_t{0})
                                     .toLong() > 0;
       ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  auto third = test_support::connect(account);
  EXPECT_NE(pid(*third), backend);
  EXPECT_EQ(third->execute("select count(*) from t")->value(std::size_t{0}).toLong(), 1);
  third->close();
  ado::session_pool::clear();
}

// A desk process forked from one that kept a session opens its own: the kept one is the parent's
// (on the server the same connection to the same server process), which both processes would
// otherwise use at once, mixing their statements and answers. The child neither uses nor ends
// it: the parent takes it back afterwards, the same session, still working. On both engines.
TEST(KeptSessions, AForkedDeskOpensItsOwnAndLeavesItsParentsKeptSessionAlone) {
  ado::session_pool::clear();
  const std::string account = testing::demoCopy("forked-desk");
  const std::string backendSql =
      test_support::onServer() ? "select pg_backend_pid()" : "select count(*) from Inventory";
  auto first = test_support::connect(account);
  const sql::Database* kept = &first->database();
  const long backend = first->execute(backendSql)->value(std::size_t{0}).toLong();
  first->close();
  ASSERT_EQ(ado::session_pool::kept(), 1u);

  const pid_t child = ::fork();
  if (child == 0) {
    int code = 0;
    try {
      auto own = test_support::connect(account);
      if (&own->database() == kept) {
        code = 2;
      } else {
        own->execute("update Inventory set cInvName = cInvName where 1 = 0");
        own->close();
        ado::session_pool::clear();
      }
    } catch (...) {
      code = 3;
    }
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the child took the parent's session; 3: it failed";

  auto again = test_support::connect(account);
  EXPECT_EQ(&again->database(), kept);
  EXPECT_EQ(again->execute(backendSql)->value(std::size_t{0}).toLong(), backend);
  again->close();
  ado::session_pool::clear();
}

TEST(ServerFaults, ARefusedLoginNeverShowsThePassword) {
  if (!test_support::onServer()) GTEST_SKIP() << "logins of a database server";
  const std::string account = testing::demoPath();
  // The password as a query item and in the URI's authority (the socket folder in the query).
  const std::string inQuery = withItem(account, "user", "desk") + "&password=not-the-password";
  std::string inAuthority = inQuery;
  inAuthority.replace(0, std::string("postgresql://").size(),
                      "postgresql://desk:not-the-password@");
  inAuthority.erase(inAuthority.find("&password="));
  for (const std::string& location : {inQuery, inAuthority}) {
    try {
      suite::Login::open(location, "demo");
      ADD_FAILURE() << "logged in with a wrong password";
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), sql::kConnectionFailedNumber);
      EXPECT_EQ(e.description().rfind("账套数据库[postgresql://", 0), 0u) << e.description();
      EXPECT_NE(e.description().find("]无法打开：[Quillon.PostgreSQL] Cannot connect to "),
                std::string::npos)
          << e.description();
      EXPECT_NE(e.description().find("***"), std::string::npos) << e.description();
      EXPECT_EQ(e.description().find("not-the-password"), std::string::npos) << e.description();
    }
  }
  // A location libpq cannot read, which it quotes in its complaint.
  std::string unreadable = inAuthority;
  unreadable.replace(unreadable.find("not-the-password"), 16, "not-%zzpassword");
  try {
    suite::Login::open(unreadable, "demo");
    ADD_FAILURE() << "read " << unreadable;
  } catch (const automation::ComError& e) {
    EXPECT_NE(e.description().find("The server location is not valid"), std::string::npos)
        << e.description();
    EXPECT_EQ(e.description().find("%zzpassword"), std::string::npos) << e.description();
  }
  // An unknown user on the account (the superuser's login needs no password here).
  const std::string withPassword = account + "&password=s3cret";
  try {
    suite::Login::open(withPassword, "nobody");
    ADD_FAILURE() << "an unknown user";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), suite::kErrUnknownUser);
    EXPECT_EQ(e.description().find("s3cret"), std::string::npos) << e.description();
  }
  // The login's texts show the location as the messages do; the connection text keeps it.
  auto login = suite::Login::open(withPassword, "demo");
  EXPECT_EQ(login->databaseName().find("s3cret"), std::string::npos);
  EXPECT_NE(login->connectionText().find("s3cret"), std::string::npos);
}

// A server of the test's own, which it may stop: a fresh cluster reached through the socket in a
// folder of its own (scripts/test-server.sh bare / stop).
class PrivateServer {
 public:
  PrivateServer() : dir_("/tmp/quillon-faults-" + std::to_string(::getpid())) {
    const auto started = run("bare");
    EXPECT_EQ(started.status, 0) << started.err;
  }
  ~PrivateServer() { stop(); }
  std::string location(const std::string& database) const {
    return "postgresql:///" + database + "?host=" + dir_ + "&user=quillon";
  }
  // pg_ctl -m immediate: every backend ends at once, no checkpoint.
  void stop() {
    if (stopped_) return;
    stopped_ = true;
    const auto outcome = run("stop");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
  }

 private:
  test_support::CommandOutcome run(const std::string& command) const {
    return test_support::runCommand(
        "/bin/bash", {QUILLON_SOURCE_DIR "/scripts/test-server.sh", command, dir_}, files_.path());
  }
  test_support::ScratchDir files_;
  std::string dir_;
  bool stopped_ = false;
};

// What the process writes to its standard error while the guard lives.
class StandardErrorCapture {
 public:
  StandardErrorCapture() : file_(dir_ / "stderr") {
    std::fflush(stderr);
    saved_ = ::dup(2);
    std::FILE* f = std::fopen(file_.c_str(), "w");
    ::dup2(::fileno(f), 2);
    std::fclose(f);
  }
  ~StandardErrorCapture() { restore(); }
  std::string text() {
    restore();
    return test_support::fileText(file_);
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
    saved_ = -1;
  }
  test_support::ScratchDir dir_;
  std::filesystem::path file_;
  int saved_ = -1;
};

std::int64_t scalar(ado::Connection& c, const std::string& sql) {
  return c.execute(sql)->value(std::size_t{0}).toLong();
}

TEST(ServerFaults,
     AServerStoppedMidCallIsALostConnectionWhateverTheStatementAndSaysNothingOnStderr) {
  if (!test_support::onServer()) GTEST_SKIP() << "faults of a database server";
  PrivateServer server;
  const std::string account = server.location("faults");
  const std::string text = "Provider=Quillon.PostgreSQL;Data Source=" + account;
  auto open = [&] {
    auto c = std::make_shared<ado::Connection>();
    c->open(text);
    return c;
  };
  auto admin = open();
  admin->execute("create table CurrentStock (AutoID int, iQuantity decimal(20,6))");
  admin->execute("insert into CurrentStock values (1, 10)");

  // A desk inside a transaction that has written (it holds the account's write lock), a
  // write-back waiting in BEGIN TRANSACTION for that lock, a desk between calls.
  auto holder = open();
  auto waiting = open();
  auto idle = open();
  holder->beginTrans();
  holder->execute("update CurrentStock set iQuantity = 0 where AutoID = 1");
  StandardErrorCapture standardError;
  std::string writeBackError = "not run";
  std::thread writeBack([&] {
    writeBackError = suite::runWriteBack(waiting, [](sql::Database& db) {
      db.execute("update CurrentStock set iQuantity = iQuantity - 1 where AutoID = 1");
    });
  });
  const auto waits = [&] {
    return scalar(*admin,
                  "select count(*) from pg_locks where locktype = 'advisory' and not granted") > 0;
  };
  for (int i = 0; i < 600 && !waits(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(waits()) << "the write-back does not wait in BEGIN TRANSACTION";
  server.stop();
  writeBack.join();

  const auto isLost = [](const std::string& message) {
    return message.rfind("[Quillon.PostgreSQL] The connection to ", 0) == 0 &&
           message.find(" was lost") != std::string::npos;
  };
  EXPECT_TRUE(isLost(writeBackError)) << writeBackError;
  const auto lostIn = [&](const char* what, const std::function<void()>& call) {
    try {
      call();
      ADD_FAILURE() << what << " went through on a stopped server";
    } catch (const automation::ComError& e) {
      EXPECT_EQ(e.number(), sql::kConnectionFailedNumber) << what << ": " << e.description();
      EXPECT_TRUE(isLost(e.description())) << what << ": " << e.description();
    }
  };
  lostIn("COMMIT", [&] { holder->commitTrans(); });
  lostIn("a statement between calls", [&] { idle->execute("select count(*) from CurrentStock"); });
  EXPECT_EQ(standardError.text(), "") << "libpq's notices went to standard error";
}

}  // namespace
}  // namespace quillon::components
