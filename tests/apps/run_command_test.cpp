// `quillon run` as a user runs it: exit status, transcript on standard output, the failing line
// on standard error.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "quillon_process.h"
#include "support/scratch_dir.h"

namespace quillon::cli {
namespace {

constexpr std::size_t kScriptLimit = std::size_t{1} << 20;  // the most a script may hold

class RunCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new ScratchDir;
    db_ = new std::string((*dir_ / "demo.db").string());
    const Outcome built = quillon(*dir_, {"init-db", "--db", *db_, "--scale", "1"});
    ASSERT_EQ(built.status, 0) << built.err;
  }
  static void TearDownTestSuite() {
    delete db_;
    delete dir_;
  }
  std::string script(const std::string& name, const std::string& text) {
    const std::string path = (*dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static ScratchDir* dir_;
  static std::string* db_;
};

ScratchDir* RunCommand::dir_ = nullptr;
std::string* RunCommand::db_ = nullptr;

TEST_F(RunCommand, ExitStatusAndWhereEachPartIsWritten) {
  const std::string good = script("good.qhs",
                                  "login user=demo date=2026-12-05\n"
                                  "$cn = call $context.Connection\n"
                                  "$rs = call $cn.Execute \"select 1 as one\"\n"
                                  "set $n = 3\n"
                                  "expect $n = 3\n");
  const Outcome ok = quillon(*dir_, {"run", "--db", *db_, good});
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_EQ(ok.err, "");
  EXPECT_NE(ok.out.find("line 5: expect $n = 3\nok: "), std::string::npos) << ok.out;

  const std::string bad = script("bad.qhs", "set $n = 3\n\nexpect $n = 4\nset $m = 1\n");
  const Outcome failed = quillon(*dir_, {"run", "--db", *db_, bad});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err, bad + ": line 3, column 1: expected $n = 4, found 3\n");
  EXPECT_NE(failed.out.find("FAILED line 3, column 1: expected $n = 4, found 3\n"),
            std::string::npos)
      << failed.out;
  EXPECT_EQ(failed.out.find("line 4:"), std::string::npos) << failed.out;

  const std::string broken = script("broken.qhs", "set $n = 3\nnew $x\n");
  const Outcome unparsed = quillon(*dir_, {"run", "--db", *db_, broken});
  EXPECT_EQ(unparsed.status, 1);
  EXPECT_NE(unparsed.err.find(broken + ": line 2, column 7: "), std::string::npos) << unparsed.err;
  EXPECT_EQ(unparsed.out, "");

  const Outcome fromStdin =
      quillon(*dir_, {"run", "--db", *db_, "-"}, "set $a = \"x\"\nprint $a\n");
  EXPECT_EQ(fromStdin.status, 0) << fromStdin.err;
  EXPECT_NE(fromStdin.out.find("  $a = \"x\"\n"), std::string::npos) << fromStdin.out;

  const Outcome stdinFails = quillon(*dir_, {"run", "--db", *db_, "-"}, "expect $a = 1\n");
  EXPECT_EQ(stdinFails.status, 1);
  EXPECT_EQ(stdinFails.err, "<stdin>: line 1, column 8: $a was never set\n");

  const Outcome noScript = quillon(*dir_, {"run", "--db", *db_, (*dir_ / "none.qhs").string()});
  EXPECT_EQ(noScript.status, 2);
  EXPECT_NE(noScript.err.find("cannot read the script"), std::string::npos) << noScript.err;

  EXPECT_EQ(quillon(*dir_, {"run", good}).status, 2);  // --db is required
  EXPECT_EQ(quillon(*dir_, {"run", "--db", *db_}).status, 2);
  EXPECT_EQ(quillon(*dir_, {"run", "--db", *db_, good, good}).status, 2);
}

// A script longer than a script may hold is refused before it is read, from a file or piped; one
// just within the limit runs.
TEST_F(RunCommand, AScriptPastTheLimitIsRefusedUnread) {
  std::string text = "set $n = 3\nexpect $n = 3\n";
  text.append(kScriptLimit - text.size() - 1, '#');
  text += '\n';
  const Outcome within = quillon(*dir_, {"run", "--db", *db_, script("within.qhs", text)});
  EXPECT_EQ(within.status, 0) << within.err;

  const std::string longer = script("longer.qhs", text + "print $n\n");
  for (const auto& [path, input] : {std::pair<std::string, std::string>{longer, ""},
                                    std::pair<std::string, std::string>{"-", text + "x"}}) {
    const Outcome refused = quillon(*dir_, {"run", "--db", *db_, path}, input);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "quillon run: the script \"" + path +
                               "\" is longer than 1 MiB (1048576 bytes), the most a host script "
                               "may hold\n");
    EXPECT_EQ(refused.out, "");
  }
}

TEST_F(RunCommand, ACallErrorIsPrintedWithNumberAndText) {
  const std::string path = script("error.qhs",
                                  "new $c Collection\n"
                                  "$x = call $c.Item 3\n"
                                  "print $c\n");
  const Outcome o = quillon(*dir_, {"run", "--db", *db_, path});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, path +
                       ": line 2, column 1: call $c.Item raised error 5: Invalid procedure call "
                       "or argument\n");
}

// `quillon run` draws nothing itself: a run without --gui loads no Qt, and --gui hands the whole
// command line, standard input included, over to quillon-desktop, or says plainly that it cannot.
TEST_F(RunCommand, OnlyADrawnRunLoadsQtInTheDesktopCommand) {
  const std::string text = "login user=demo date=2026-12-05\n";
  const test_support::EnvGuard loads("LD_DEBUG", "files");
  const test_support::EnvGuard offscreen("QT_QPA_PLATFORM", "offscreen");
  const Outcome headless = quillon(*dir_, {"run", "--db", *db_, "-"}, text);
  EXPECT_EQ(headless.status, 0) << headless.err;
  ASSERT_NE(headless.err.find("file=libsqlite3"), std::string::npos) << headless.err;
  EXPECT_EQ(headless.err.find("libQt6"), std::string::npos);
#ifdef QUILLON_TEST_HAS_UI
  const Outcome drawn = quillon(*dir_, {"run", "--gui", "--db", *db_, "-"}, text);
  EXPECT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_NE(drawn.out.find("ok: the script ran to its end"), std::string::npos) << drawn.out;
  EXPECT_NE(drawn.err.find("file=libQt6Widgets"), std::string::npos);

  const std::string missing = (*dir_ / "no-such-desktop").string();
  const test_support::EnvGuard elsewhere("QUILLON_DESKTOP", missing.c_str());
  const Outcome refused = quillon(*dir_, {"run", "--gui", "--db", *db_, "-"}, text);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("quillon run: drawing the dialogs needs quillon-desktop, which "
                             "cannot be run (" +
                             missing + "): "),
            std::string::npos)
      << refused.err;
#else
  const Outcome refused = quillon(*dir_, {"run", "--gui", "--db", *db_, "-"}, text);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("this build has no desktop dialogs"), std::string::npos);
#endif
}

// `quillon demo` without a display runs the example scripts headless, each on a copy of the
// account: one script's writes are not what the next finds, and the account stays as it was.
TEST_F(RunCommand, DemoRunsEachExampleOnACopyOfTheAccount) {
  const ScratchDir examples;
  const auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(examples / name, std::ios::binary) << text;
  };
  const std::string connect =
      "login user=demo date=2026-12-05\n"
      "new $cn ADODB.Connection\n"
      "call $cn.Open $login.ConnectionString \"\" \"\" -1\n";
  write("a_writes.qhs", connect + "call $cn.Execute \"delete from Inventory\" $n\n");
  write("b_reads.qhs", connect +
                           "$rs = call $cn.Execute \"select count(*) as n from Inventory\" $n\n"
                           "expect $rs[1].n > 0\n");
  const auto bytes = [](const std::string& path) { return test_support::fileText(path); };
  const std::string before = bytes(*db_);
  // The headless way is the one a machine without a display takes.
  const test_support::EnvGuard noX11("DISPLAY", nullptr);
  const test_support::EnvGuard noWayland("WAYLAND_DISPLAY", nullptr);
  const Outcome out =
      quillon(*dir_, {"demo", "--db", *db_, "--examples", examples.path().string()});
  EXPECT_EQ(out.status, 0) << out.out << out.err;
  EXPECT_NE(out.out.find("=== b_reads.qhs"), std::string::npos) << out.out;
  EXPECT_EQ(bytes(*db_), before);
}

}  // namespace
}  // namespace quillon::cli
