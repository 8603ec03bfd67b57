// Runs the built `quillon call` on a demo account and checks what it prints and returns.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "demo_sessions.h"

namespace quillon::components {
namespace {

struct CallRun {
  int status = -1;
  std::string out;  // standard output and error together
};

// Runs `quillon` with the arguments (as a shell gives them) and `input` (a printf format without
// quotes) on its standard input.
CallRun quillon(const std::string& arguments, const std::string& input = "") {
  const std::string command =
      "printf '" + input + "' | " + std::string(QUILLON_BINARY) + " " + arguments + " 2>&1";
  CallRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), n);
  int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

CallRun call(const std::string& arguments) {
  return quillon("call --db '" + testing::demoPath() + "' " + arguments);
}

TEST(CallCommand, PrintsResultsByReferenceValuesAndTables) {
  CallRun r =
      call("--user clerk '$context' GetPermissionList '\"warehouse\"' '\"\"' '\"W\"' '$list'");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("$list = \"N'01',N'02',N'06'\""), std::string::npos) << r.out;

  r = call("Quillon.Suite.WarehouseArchive load '\"成品仓\"' new:Quillon.Suite.Warehouse");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("result = True"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("id = \"04\""), std::string::npos) << r.out;

  r = call(
      "Quillon.Suite.Utility CopyRecordset 'sql:SELECT cWhCode, cWhName FROM Warehouse "
      "WHERE bWhPos = 1'");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("cWhCode | cWhName"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(2 rows)"), std::string::npos) << r.out;
}

TEST(CallCommand, ErrorsGiveTheirNumberAndTextAndFail) {
  CallRun r = call("Quillon.Suite.NoSuchClass Go");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error 429"), std::string::npos) << r.out;

  r = call("Quillon.Suite.Utility NoSuchMember");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error 438"), std::string::npos) << r.out;

  r = call("Quillon.Suite.Utility RoundByFormat");  // a required argument left out
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("error 449"), std::string::npos) << r.out;

  r = call("--user nobody '$login' cUserId");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("nobody"), std::string::npos) << r.out;

  r = call("'$login' CheckFunctionRight '\"ST0118'");  // unterminated text
  EXPECT_EQ(r.status, 2) << r.out;
}

TEST(CallCommand, NoCommandShowsTheServersPassword) {
  if (!test_support::onServer()) GTEST_SKIP() << "logins of a database server";
  // A wrong password is refused; the superuser's is not needed and goes unread.
  std::string refused = testing::demoPath();
  refused.replace(refused.find("user=quillon"), 12, "user=desk");
  refused += "&password=not-the-password";
  const std::string accepted = testing::demoPath() + "&password=s3cret";
  for (const std::string& db : {refused, accepted}) {
    const std::vector<CallRun> runs = {
        quillon("call --db '" + db + "' '$login' cUserId"),
        quillon("run --db '" + db + "' -", "login user=demo\nprint $login.cDataBase\n"),
        quillon("check-db --db '" + db + "'"),
    };
    for (const CallRun& r : runs) {
      EXPECT_EQ(r.out.find("not-the-password"), std::string::npos) << r.out;
      EXPECT_EQ(r.out.find("s3cret"), std::string::npos) << r.out;
    }
    if (db == refused) {
      for (const CallRun& r : runs) {
        EXPECT_NE(r.status, 0) << r.out;
        EXPECT_NE(r.out.find("password=***"), std::string::npos) << r.out;
      }
    } else {
      EXPECT_EQ(runs[1].status, 0) << runs[1].out;
      EXPECT_NE(runs[1].out.find("password=***"), std::string::npos) << runs[1].out;
      EXPECT_EQ(runs[2].status, 0) << runs[2].out;
      EXPECT_NE(runs[2].out.find("Checked postgresql://"), std::string::npos) << runs[2].out;
      EXPECT_NE(runs[2].out.find("password=***"), std::string::npos) << runs[2].out;
    }
  }
}

}  // namespace
}  // namespace quillon::components
