// `quillon sql` prints rows as it reads them, on an account file and, in the server half of the
// suite, on the server: a large result prints byte for byte as the printers printed it when they
// read the whole result first.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "quillon_process.h"
#include "sql/locations.h"
#include "support/demo_account.h"

namespace quillon::cli {
namespace {

// Digits 0-9, and 100 000 rows of every kind of value the printers write: integers, decimals,
// reals, texts with commas, quotes, a line break, a tab, a backslash, Chinese, empty texts,
// nulls, dates, bits, blobs and expressions without a declared type.
std::string bigSetUp() {
  std::string sql = "create table D (d int not null);";
  for (int d = 0; d < 10; ++d) sql += "insert into D (d) values (" + std::to_string(d) + ");";
  const std::string n = "(a.d * 10000 + b.d * 1000 + c.d * 100 + e.d * 10 + f.d)";
  sql +=
      "create table Big (id int not null primary key, code nvarchar(20), name nvarchar(60), "
      "qty decimal(20,6), rate float, made datetime, flag bit);"
      "insert into Big (id, code, name, qty, rate, made, flag) select " +
      n + ", case when f.d = 3 then null when f.d = 4 then '' else 'C' + cast(" + n +
      " as varchar(10)) end, case e.d when 0 then '原料库 ' + cast(c.d as varchar(2)) "
      "when 1 then 'Finished, \"boxed\"' when 2 then 'two\nlines' when 3 then 'tab\tbed' "
      "when 4 then null when 5 then '' when 6 then 'back\\slash' when 7 then '混合 text, 中文' "
      "else 'plain' end, case when b.d = 9 then null else " +
      n + " / 7.0 end, case when c.d = 5 then null else " + n +
      " * 0.1 end, dateadd(day, a.d * 100 + e.d, '2026-01-01'), f.d % 2 "
      "from D a cross join D b cross join D c cross join D e cross join D f";
  return sql;
}

constexpr const char* kBigQuery =
    "select id, code, name, qty, rate, made, flag, qty * 2 as q2, rate + 1 as r1, -id as neg, "
    "cast(code as varbinary(20)) as bin from Big order by id; "
    "update Big set flag = flag where id < 0; "
    "select count(*) as n, sum(id) as total, max(qty) as most from Big where flag = 1";

std::uint64_t fnv1a(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

struct Printed {
  const char* format;
  std::size_t bytes;
  std::uint64_t hash;
};

// What the printers wrote for kBigQuery when they read each result whole before printing it (the
// command of commit 93bc155). On the server reals are exact decimals and a date without a time
// of day shows as the date alone, so its output differs from the file's.
constexpr Printed kOnFile[] = {{"table", 16732698, 0x624052417fed7a80ull},
                               {"csv", 10955685, 0xe6d03a75450ca6fcull},
                               {"json", 21405671, 0xc25be1697179fee3ull}};
constexpr Printed kOnServer[] = {{"table", 13432632, 0xd94df2503aa7e955ull},
                                 {"csv", 9363458, 0x1f9eddc5ae9ace8cull},
                                 {"json", 19813444, 0xce942a9227ed0bf7ull}};

// A database of the test's own: a file in its scratch folder, or one on the test server, which
// `quillon sql` creates and the test drops.
class SqlStream : public ::testing::Test {
 protected:
  void TearDown() override {
    if (!test_support::onServer()) return;
    try {
      sql::dropDatabase(location_);
    } catch (const std::exception&) {
      // the test server goes at the end of the run in any case
    }
  }

  Outcome sql(const std::string& format, const std::string& batch) {
    return quillon(dir_, {"sql", "--db", location_, "--format", format, "-"}, batch);
  }

  ScratchDir dir_;
  std::string location_ = test_support::accountLocation(dir_.path(), "stream");
};

TEST_F(SqlStream, LargeResultPrintsAsBeforeInEveryFormat) {
  const Outcome setUp = sql("csv", bigSetUp());
  ASSERT_EQ(setUp.status, 0) << setUp.err;
  for (const Printed& expected : test_support::onServer() ? kOnServer : kOnFile) {
    const Outcome printed = sql(expected.format, kBigQuery);
    EXPECT_EQ(printed.status, 0) << expected.format << ": " << printed.err;
    EXPECT_EQ(printed.err, "") << expected.format;
    EXPECT_EQ(printed.out.size(), expected.bytes) << expected.format;
    EXPECT_EQ(fnv1a(printed.out), expected.hash) << expected.format << ", printed:\n"
                                                 << printed.out.substr(0, 2000);
  }
}

}  // namespace
}  // namespace quillon::cli
