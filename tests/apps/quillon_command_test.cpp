// Runs the built `quillon` binary the way a user or a script does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillon_process.h"
#include "support/scratch_dir.h"

namespace quillon::cli {
namespace {

constexpr const char* kSetUp =
    "create table Warehouse (cWhCode nvarchar(10) not null primary key, cWhName nvarchar(60));"
    "insert into Warehouse (cWhCode, cWhName) values ('01', '原料库');"
    "insert into Warehouse (cWhCode, cWhName) values ('02', 'Spare parts');"
    "insert into Warehouse (cWhCode, cWhName) values ('10', null)";
constexpr const char* kSelect = "select cWhCode, cWhName from Warehouse order by cWhCode";

TEST(QuillonSql, CreatesTheDatabaseAndPrintsEachFormat) {
  ScratchDir dir;
  const std::string db = (dir / "account.db").string();
  Outcome setUp = quillon(dir, {"sql", "--db", db, kSetUp});
  ASSERT_EQ(setUp.status, 0) << setUp.err;
  EXPECT_TRUE(std::filesystem::exists(db));
  EXPECT_NE(setUp.out.find("(1 row affected)"), std::string::npos) << setUp.out;

  Outcome table = quillon(dir, {"sql", "--db", db, kSelect});
  EXPECT_EQ(table.status, 0) << table.err;
  EXPECT_EQ(table.out,
            "cWhCode | cWhName\n"
            "--------+------------\n"
            "01      | 原料库\n"
            "02      | Spare parts\n"
            "10      | NULL\n"
            "(3 rows)\n");
  EXPECT_EQ(table.err, "");

  Outcome csv = quillon(dir, {"sql", "--db", db, "--format", "csv", kSelect});
  EXPECT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out, "cWhCode,cWhName\r\n01,原料库\r\n02,Spare parts\r\n10,\r\n");

  Outcome json = quillon(dir, {"sql", "--format=json", "--db", db, kSelect});
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out,
            "[\n  [\n"
            "    {\"cWhCode\": \"01\", \"cWhName\": \"原料库\"},\n"
            "    {\"cWhCode\": \"02\", \"cWhName\": \"Spare parts\"},\n"
            "    {\"cWhCode\": \"10\", \"cWhName\": null}\n"
            "  ]\n]\n");

  // "-" reads the batch from standard input.
  Outcome piped = quillon(dir, {"sql", "--db", db, "--format", "csv", "-"},
                          "select count(*) as n from Warehouse");
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, "n\r\n3\r\n");
}

TEST(QuillonSql, FailingStatementExitsOneWithTheEnginesText) {
  ScratchDir dir;
  const std::string db = (dir / "account.db").string();
  ASSERT_EQ(quillon(dir, {"sql", "--db", db, kSetUp}).status, 0);

  Outcome missing = quillon(dir, {"sql", "--db", db, "select 1 as one; select * from NoSuchTable"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.out.find("one\n---\n  1\n(1 row)\n"), std::string::npos) << missing.out;
  EXPECT_EQ(missing.err.rfind("error -2147217900: ", 0), 0u) << missing.err;
  EXPECT_NE(missing.err.find("NoSuchTable"), std::string::npos) << missing.err;

  // The key is violated: the engine's text reaches the user, the earlier rows stay.
  Outcome duplicate = quillon(
      dir, {"sql", "--db", db, "insert into Warehouse (cWhCode, cWhName) values ('01', 'again')"});
  EXPECT_EQ(duplicate.status, 1);
  EXPECT_EQ(duplicate.err.rfind("error -2147217900: ", 0), 0u) << duplicate.err;
  Outcome count =
      quillon(dir, {"sql", "--db", db, "--format", "csv", "select count(*) as n from Warehouse"});
  EXPECT_EQ(count.out, "n\r\n3\r\n");

  // Input that is not SQL at all, or not text at all, is an error too, never a crash.
  for (const std::string& batch : {std::string("selec from ((("), std::string("\xFF\xFE\x01'"),
                                   std::string("'unterminated")}) {
    Outcome bad = quillon(dir, {"sql", "--db", db, batch});
    EXPECT_EQ(bad.status, 1) << batch;
    EXPECT_EQ(bad.err.rfind("error ", 0), 0u) << bad.err;
  }

  // A database that cannot be opened: a folder in place of the file.
  Outcome folder = quillon(dir, {"sql", "--db", dir.path().string(), "select 1"});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err.rfind("error ", 0), 0u) << folder.err;
}

// A batch on standard input longer than the library translates is refused without running any
// of it.
TEST(QuillonSql, ABatchPastTheLimitIsRefused) {
  ScratchDir dir;
  const std::string db = (dir / "account.db").string();
  ASSERT_EQ(quillon(dir, {"sql", "--db", db, kSetUp}).status, 0);
  std::string batch = "delete from Warehouse\n";
  batch.append((std::size_t{16} << 20) - batch.size() + 1, '\n');
  const Outcome refused = quillon(dir, {"sql", "--db", db, "-"}, batch);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "error -2147217900: The batch is too long to translate: it holds more than 16 MiB "
            "(16777216 bytes); break it up into smaller batches.\n");
  Outcome count =
      quillon(dir, {"sql", "--db", db, "--format", "csv", "select count(*) as n from Warehouse"});
  EXPECT_EQ(count.out, "n\r\n3\r\n");
}

// The commands that never draw load neither Qt nor the server's client library (nor the TLS and
// directory libraries it brings): the dynamic loader's own account of every library it loads
// (LD_DEBUG=files, dlopen included) says so.
TEST(QuillonCommand, CommandsThatDoNotDrawLoadNeitherQtNorLibpq) {
  ScratchDir dir;
  const std::string db = (dir / "a.db").string();
  const test_support::EnvGuard loads("LD_DEBUG", "files");
  const std::vector<std::vector<std::string>> commands = {
      {"--version"},
      {"sql", "--db", db, "--format", "csv", "select 1 as one"},
  };
  for (const auto& args : commands) {
    Outcome o = quillon(dir, args);
    EXPECT_EQ(o.status, 0) << args.front() << o.err;
    ASSERT_NE(o.err.find("file=libsqlite3"), std::string::npos) << "no account of loads: " << o.err;
    EXPECT_EQ(o.err.find("libQt6"), std::string::npos) << args.front();
    EXPECT_EQ(o.err.find("libpq"), std::string::npos) << args.front();
    EXPECT_EQ(o.err.find("libgnutls"), std::string::npos) << args.front();
  }
}

#ifdef QUILLON_TEST_SERVER_ENGINE
// libpq is loaded when a server location is opened; when it cannot be, the error names it.
TEST(QuillonSql, AServerLocationWithoutItsClientLibraryNamesTheLibrary) {
  ScratchDir dir;
  const test_support::EnvGuard absent("QUILLON_LIBPQ", "libquillon-absent-pq.so.5");
  Outcome o = quillon(dir, {"sql", "--db", "postgresql://localhost/quillon_absent", "select 1"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("PostgreSQL client library libquillon-absent-pq.so.5, which cannot be "
                       "loaded: "),
            std::string::npos)
      << o.err;
  EXPECT_EQ(o.out, "");
}
#endif

TEST(QuillonCommand, UsageErrorsExitTwoAndHelpListsCommands) {
  ScratchDir dir;
  const std::string db = (dir / "a.db").string();
  Outcome help = quillon(dir, {"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("quillon sql --db FILE"), std::string::npos) << help.out;

  Outcome sqlHelp = quillon(dir, {"sql", "--help"});
  EXPECT_EQ(sqlHelp.status, 0);
  EXPECT_EQ(sqlHelp.out.rfind("usage: quillon sql --db FILE", 0), 0u) << sqlHelp.out;

  const std::vector<std::vector<std::string>> misuse = {
      {},
      {"nosuchcommand"},
      {"sql"},
      {"sql", "select 1"},                          // no --db
      {"sql", "--db", db},                          // no batch
      {"sql", "--db", db, "select 1", "select 2"},  // two batches
      {"sql", "--db", db, "--format", "xml", "select 1"},
      {"sql", "--db", db, "--verbose", "select 1"},
      {"sql", "--db"},
  };
  for (const auto& args : misuse) {
    Outcome o = quillon(dir, args);
    EXPECT_EQ(o.status, 2) << (args.empty() ? "" : args.back());
    EXPECT_NE(o.err.find("usage: quillon"), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(db));  // a usage error touches nothing
}

}  // namespace
}  // namespace quillon::cli
