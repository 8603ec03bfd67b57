// `quillon check-db` as a user runs it: what it found on standard output, exit status 0 for a
// sound account, 1 for a damaged one or a file it cannot check.
#include <gtest/gtest.h>

#include <string>

#include "quillon_process.h"
#include "sql/database.h"
#include "support/demo_account.h"

namespace quillon::cli {
namespace {

TEST(QuillonCheckDb, SaysWhatItFoundAndExitsByIt) {
  ScratchDir dir;
  const std::string path = test_support::demoCopy("check-db");
  const Outcome sound = quillon(dir, {"check-db", "--db", path});
  EXPECT_EQ(sound.status, 0) << sound.err;
  EXPECT_NE(sound.out.find("found the file sound"), std::string::npos) << sound.out;
  EXPECT_NE(sound.out.find("account checks passed"), std::string::npos) << sound.out;

  sql::Database::open(path, sql::OpenMode::OpenExisting)
      ->execute("DELETE FROM pp_POHead WHERE ID = 1");
  const Outcome damaged = quillon(dir, {"check-db", "--db", path});
  EXPECT_EQ(damaged.status, 1);
  EXPECT_NE(damaged.out.find("production order lines without an order: "), std::string::npos)
      << damaged.out;

  const Outcome missing = quillon(dir, {"check-db", "--db", (dir / "none.db").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("不存在"), std::string::npos) << missing.err;
  EXPECT_EQ(quillon(dir, {"check-db"}).status, 2);
}

}  // namespace
}  // namespace quillon::cli
