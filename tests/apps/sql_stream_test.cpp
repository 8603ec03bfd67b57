// `quillon sql` prints rows as it reads them, on an account file and, in the server half of the
// suite, on the server: a large result prints byte for byte as the printers printed it when they
// read the whole result first, and a statement that fails part-way through its rows leaves the
// rows before the failure printed, complete, with the error after them. Underneath, a query read
// as it comes leaves the connection and its transaction as they were, however the reading ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "automation/com_error.h"
#include "quillon_process.h"
#include "sql/database.h"
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
    "select count(*) as n, sum(convert(bigint, id)) as total, max(qty) as most from Big where flag "
    "= 1";

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
      sql::Location(location_).drop();
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

// The lines of `text` split at `end`; false when the text does not end with it (a row cut short).
bool splitLines(std::string_view text, std::string_view end, std::vector<std::string>& lines) {
  lines.clear();
  while (!text.empty()) {
    const std::size_t at = text.find(end);
    if (at == std::string_view::npos) return false;
    lines.emplace_back(text.substr(0, at));
    text.remove_prefix(at + end.size());
  }
  return true;
}

TEST_F(SqlStream, StatementFailingPartWayLeavesTheRowsBeforeItPrinted) {
  // Ten thousand rows with a date, then one whose text is none: converting it fails once the
  // rows before it have been read (more than a batch of them on the server).
  std::string setUp = "create table D (d int not null);";
  for (int d = 0; d < 10; ++d) setUp += "insert into D (d) values (" + std::to_string(d) + ");";
  setUp +=
      "create table E (id int not null, v nvarchar(20));"
      "insert into E (id, v) select a.d * 1000 + b.d * 100 + c.d * 10 + e.d + 1, '2026-01-01' "
      "from D a cross join D b cross join D c cross join D e;"
      "insert into E (id, v) values (10001, 'x')";
  ASSERT_EQ(sql("csv", setUp).status, 0);
  const std::string query = "select id, cast(v as datetime) as made from E";

  const Outcome csv = sql("csv", query);
  EXPECT_EQ(csv.status, 1);
  EXPECT_EQ(csv.err.rfind("error -2147217900: ", 0), 0u) << csv.err;
  EXPECT_NE(csv.err.find("in: " + query), std::string::npos) << csv.err;
  std::vector<std::string> lines;
  ASSERT_TRUE(splitLines(csv.out, "\r\n", lines)) << "a row cut short:\n" << csv.out;
  ASSERT_GE(lines.size(), 2u) << "no row printed before the error";
  EXPECT_EQ(lines.front(), "id,made");
  EXPECT_LE(lines.size(), 10001u);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_NE(lines[i].find(",2026-01-01"), std::string::npos) << lines[i];
  }

  // A JSON document stays whole: the set is closed after the last row printed.
  const Outcome json = sql("json", query);
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.err.rfind("error -2147217900: ", 0), 0u) << json.err;
  ASSERT_TRUE(splitLines(json.out, "\n", lines)) << json.out;
  ASSERT_GE(lines.size(), 5u) << "no row printed before the error:\n" << json.out;
  EXPECT_EQ(lines[0], "[");
  EXPECT_EQ(lines[1], "  [");
  EXPECT_EQ(lines[lines.size() - 2], "  ]");
  EXPECT_EQ(lines.back(), "]");
  for (std::size_t i = 2; i + 2 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].rfind("    {\"id\": ", 0), 0u) << lines[i];
    EXPECT_NE(lines[i].find("\"made\": \"2026-01-01"), std::string::npos) << lines[i];
  }

  // A table needs every row's width before its first line: a failing result prints none.
  const Outcome table = sql("table", query);
  EXPECT_EQ(table.status, 1);
  EXPECT_EQ(table.out, "");
  EXPECT_EQ(table.err.rfind("error -2147217900: ", 0), 0u) << table.err;
}

// Reads the rows of each result as they come, up to `limit` of them, and keeps none.
struct Streaming : sql::ResultHandler {
  explicit Streaming(int most = 1 << 30) : limit(most) {}
  void onResultSet(sql::Cursor& cursor) override {
    while (rows < limit && cursor.next()) ++rows;
  }
  bool streamsRows() const override { return true; }
  int limit;
  int rows = 0;
};

std::int64_t countOf(sql::Database& db, const std::string& table) {
  return db.query("select count(*) as n from " + table).front().rows.front().front().integer;
}

// The engine's side of it: a query read as it comes, in the caller's transaction or not, that
// fails part-way or is left unread, undoes nothing but itself and leaves the connection as it was.
TEST_F(SqlStream, QueryReadAsItComesLeavesTheConnectionAsItWas) {
  auto db = sql::Database::open(location_);
  db->execute("create table D (d int not null)");
  for (int d = 0; d < 10; ++d) db->execute("insert into D (d) values (" + std::to_string(d) + ")");
  db->execute(
      "create table E (id int not null, v nvarchar(20));"
      "insert into E (id, v) select a.d * 1000 + b.d * 100 + c.d * 10 + e.d + 1, '2026-01-01' "
      "from D a cross join D b cross join D c cross join D e;"
      "insert into E (id, v) values (10001, 'x')");
  const std::string failing = "select id, cast(v as datetime) as made from E";
  const std::string all = "select id, v from E";

  // In a transaction: the failing query undoes only itself, one left unread closes, and the
  // transaction goes on with its own writes.
  db->begin();
  db->execute("insert into D (d) values (10)");
  Streaming reader;
  EXPECT_THROW(db->execute(failing, reader), automation::ComError);
  EXPECT_GE(reader.rows, 1) << "no row came before the failure";
  EXPECT_TRUE(db->inTransaction());
  Streaming firstOnly(1);
  db->execute(all, firstOnly);
  EXPECT_EQ(firstOnly.rows, 1);
  db->execute("insert into D (d) values (11)");
  EXPECT_EQ(countOf(*db, "D"), 12);
  db->rollback();
  EXPECT_EQ(countOf(*db, "D"), 10);

  // Outside one: whatever the query did is over, so a write after it is another connection's to
  // see at once.
  EXPECT_THROW(db->execute(failing, reader), automation::ComError);
  db->execute(all, firstOnly);
  db->execute("insert into D (d) values (12)");
  EXPECT_FALSE(db->inTransaction());
  auto other = sql::Database::open(location_, sql::OpenMode::OpenExisting);
  EXPECT_EQ(countOf(*other, "D"), 11);
  Streaming everything;
  other->execute(all, everything);
  EXPECT_EQ(everything.rows, 10001);
}

}  // namespace
}  // namespace quillon::cli
