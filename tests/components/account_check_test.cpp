// The integrity check on copies of the demo account: sound as built, and each kind of damage
// named with the rows it concerns.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "components/suite/account_check.h"
#include "components/suite/account_database.h"
#include "demo_sessions.h"
#include "sql/database.h"

namespace quillon::components {
namespace {

using suite::AccountCheckReport;
using suite::checkAccountDatabase;

const suite::AccountCheckFinding* finding(const AccountCheckReport& report,
                                          const std::string& check) {
  for (const auto& f : report.findings) {
    if (f.check == check) return &f;
  }
  return nullptr;
}

TEST(AccountCheck, TheDemoAccountIsSound) {
  auto db = suite::openAccountDatabase(testing::demoPath());
  const AccountCheckReport report = checkAccountDatabase(*db);
  EXPECT_TRUE(report.clean()) << report.text();
  EXPECT_GT(report.checks, 10u);
  EXPECT_NE(report.text().find("account checks passed"), std::string::npos);
}

TEST(AccountCheck, SumsThatDisagreeAndOrphanedLinesAreNamed) {
  auto db = suite::openAccountDatabase(testing::demoCopy("damaged-account"));
  db->execute(
      "UPDATE InvPositionSum SET iQuantity = iQuantity + 1 WHERE AutoID = "
      "(SELECT min(AutoID) FROM InvPositionSum)");
  db->execute("UPDATE mainbatch SET fInQuantity = fInQuantity * 2 WHERE AutoID = 1");
  db->execute("DELETE FROM rdrecord WHERE ID = (SELECT min(ID) FROM rdrecord WHERE bRdFlag = 0)");
  const auto materials =
      static_cast<std::size_t>(db->query("SELECT count(*) FROM pp_POMaterial WHERE MainID = 4")
                                   .at(0)
                                   .rows.at(0)
                                   .at(0)
                                   .integer);
  db->execute("DELETE FROM pp_POLine WHERE MainID = 4");
  const AccountCheckReport report = checkAccountDatabase(*db);
  EXPECT_FALSE(report.clean());
  EXPECT_TRUE(report.engine.empty());

  const std::pair<const char*, std::size_t> expected[] = {
      {"bin-position balances against their records", 1},
      {"batch records against their receipt lines", 1},
      {"stock voucher lines without a voucher", 1},
      {"production order materials without a line", materials}};
  for (const auto& [check, count] : expected) {
    const auto* found = finding(report, check);
    ASSERT_NE(found, nullptr) << check << "\n" << report.text();
    EXPECT_EQ(found->count, count) << check;
  }
  const auto* batches = finding(report, "batch records against their receipt lines");
  ASSERT_NE(batches, nullptr);
  ASSERT_FALSE(batches->examples.empty());
  EXPECT_NE(batches->examples.front().find("AutoID=1"), std::string::npos);
  EXPECT_EQ(report.findings.size(), 4u) << report.text();
  EXPECT_NE(report.text().find("4 of "), std::string::npos) << report.text();
}

TEST(AccountCheck, DamageToTheFileIsTheEnginesFindingAndStopsTheAccountChecks) {
  if (test_support::onServer()) GTEST_SKIP() << "the server keeps its own files";
  const std::string path = testing::demoCopy("damaged-file");
  {
    auto db = sql::Database::open(path, sql::OpenMode::OpenExisting);
    db->execute("CREATE INDEX ix_check_damage ON rdrecords (cInvCode, iQuantity)");
  }
  // Scribble over the last page, the new index's: the tables still read, the index disagrees.
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(0, std::ios::end);
    const auto size = static_cast<long long>(file.tellg());
    file.seekp(size - 4096 + 200);
    const std::string junk(2000, '\x5a');
    file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
  }
  auto db = sql::Database::open(path, sql::OpenMode::OpenExisting);
  const AccountCheckReport report = checkAccountDatabase(*db);
  EXPECT_FALSE(report.engine.empty()) << report.text();
  EXPECT_EQ(report.checks, 0u);
  EXPECT_NE(report.text().find("integrity check found"), std::string::npos);
}

}  // namespace
}  // namespace quillon::components
