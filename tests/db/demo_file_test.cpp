// Building the demo account: the same scale gives the same rows, an existing file is refused
// without force and left intact when building fails.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "automation/com_error.h"
#include "db/demo_data.h"
#include "db/schema.h"
#include "demo_fixture.h"
#include "sql/sqlite/sqlite_database.h"

namespace quillon::db {
namespace {

namespace fs = std::filesystem;

// FNV-1a over every table's name, column names and values in row order.
std::uint64_t digest(sql::Database& db) {
  std::uint64_t h = 1469598103934665603ULL;
  auto mix = [&h](const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ULL;
  };
  std::vector<std::string> tables;
  for (const auto& row : testing::rowsOf(db,
                                         "select name from sqlite_master where type = 'table' and "
                                         "name not like 'sqlite%' order by name")) {
    tables.push_back(row[0].text);
  }
  for (const std::string& table : tables) {
    mix(table.data(), table.size());
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "select * from \"" + table + "\" order by rowid";
    if (sqlite3_prepare_v2(sql::sqliteHandle(db), sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(sql::sqliteHandle(db));
      return 0;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        const int type = sqlite3_column_type(stmt, c);
        mix(&type, sizeof type);
        const auto* bytes = sqlite3_column_blob(stmt, c);
        mix(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)));
      }
    }
    sqlite3_finalize(stmt);
  }
  return h;
}

std::unique_ptr<sql::Database> build(int scale) {
  auto db = sql::Database::open(":memory:");
  applySchema(*db);
  generateDemoData(*db, scale);
  return db;
}

TEST(DemoData, SameScaleGivesSameRows) {
  auto first = build(1);
  auto second = build(1);
  EXPECT_EQ(digest(*first), digest(*second));
  auto larger = build(2);
  EXPECT_NE(digest(*first), digest(*larger));
  // A larger scale adds bulk documents and stock on top of the scale-1 cases.
  EXPECT_GT(testing::numberOf(*larger, "select count(*) from CurrentStock"),
            testing::numberOf(*first, "select count(*) from CurrentStock") + 900);
  EXPECT_EQ(testing::textOf(*larger, "select cCode from OM_ProductPO where ID = 1"),
            testing::textOf(*first, "select cCode from OM_ProductPO where ID = 1"));
}

TEST(DemoData, SummaryCountsWhatWasWritten) {
  auto db = sql::Database::open(":memory:");
  applySchema(*db);
  const DemoSummary summary = generateDemoData(*db, 1);
  ASSERT_FALSE(summary.rows.empty());
  for (const auto& [table, n] : summary.rows) {
    EXPECT_EQ(testing::numberOf(*db, "select count(*) from " + table), n) << table;
  }
  const std::string text = formatSummary(summary, "x.db");
  EXPECT_NE(text.find("CurrentStock"), std::string::npos);
  EXPECT_NE(text.find(std::to_string(summary.totalRows())), std::string::npos);
}

TEST(DemoData, RejectsBadScaleAndWritesNothing) {
  auto db = sql::Database::open(":memory:");
  applySchema(*db);
  for (int scale : {0, -3, kMaxDemoScale + 1}) {
    EXPECT_THROW(generateDemoData(*db, scale), automation::ComError) << scale;
  }
  EXPECT_EQ(testing::numberOf(*db, "select count(*) from Inventory"), 0);
  // Data on top of data clashes on the keys and rolls back completely.
  generateDemoData(*db, 1);
  const double items = testing::numberOf(*db, "select count(*) from Inventory");
  EXPECT_THROW(generateDemoData(*db, 1), automation::ComError);
  EXPECT_FALSE(db->inTransaction());
  EXPECT_EQ(testing::numberOf(*db, "select count(*) from Inventory"), items);
}

class DemoFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quillon_db_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(DemoFile, RefusesToOverwriteWithoutForce) {
  const fs::path file = dir_ / "account.db";
  { std::ofstream(file) << "precious"; }
  try {
    createDemoDatabase(file.string(), 1, false);
    FAIL() << "an existing file must be refused";
  } catch (const automation::ComError& e) {
    EXPECT_NE(e.description().find("already exists"), std::string::npos) << e.description();
    EXPECT_NE(e.description().find("--force"), std::string::npos) << e.description();
  }
  std::string content;
  std::getline(std::ifstream(file), content);
  EXPECT_EQ(content, "precious");

  const DemoSummary summary = createDemoDatabase(file.string(), 1, true);
  EXPECT_GT(summary.totalRows(), 0);
  auto db = sql::Database::open(file.string(), sql::OpenMode::OpenExisting);
  EXPECT_EQ(testing::numberOf(*db, "select count(*) from UA_User"), 3);
  EXPECT_FALSE(fs::exists(file.string() + ".building"));
}

TEST_F(DemoFile, FailureLeavesNoFileBehind) {
  const fs::path file = dir_ / "missing" / "account.db";
  EXPECT_THROW(createDemoDatabase(file.string(), 1, false), automation::ComError);
  EXPECT_FALSE(fs::exists(file));
  EXPECT_THROW(createDemoDatabase(dir_.string(), 1, true), automation::ComError);
  EXPECT_TRUE(fs::is_directory(dir_));
  EXPECT_THROW(createDemoDatabase((dir_ / "a.db").string(), 0, false), automation::ComError);
  EXPECT_FALSE(fs::exists(dir_ / "a.db"));
}

}  // namespace
}  // namespace quillon::db
