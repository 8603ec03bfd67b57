// Runs the built `quillon call` on a demo account and checks what it prints and returns.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "demo_sessions.h"

namespace quillon::components {
namespace {

struct CallRun {
  int status = -1;
  std::string out;  // standard output and error together
};

CallRun call(const std::string& arguments) {
  const std::string command = std::string(QUILLON_BINARY) + " call --db '" + testing::demoPath() +
                              "' " + arguments + " 2>&1";
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

}  // namespace
}  // namespace quillon::components
