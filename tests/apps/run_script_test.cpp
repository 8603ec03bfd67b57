// Host lines of `quillon run` in-process on the demo account: what they do, what the transcript
// shows, and how every kind of failure names its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_fixture.h"
#include "support/text_checks.h"

namespace quillon::cli::run::testing {
namespace {

// A connection, a recordset of the seven demo warehouses and a collection holding it.
constexpr const char* kSetUp =
    "login user=demo date=2026-12-05\n"
    "$cs = call $login.ConnectionString\n"
    "new $cn ADODB.Connection\n"
    "call $cn.Open $cs \"\" \"\" -1\n"
    "$rs = call $cn.Execute \"select cWhCode, cWhName from Warehouse order by cWhCode\" $n\n"
    "new $coll Collection\n"
    "call $coll.Add $rs \"Parent\"\n";
constexpr int kSetUpLines = 7;

using test_support::has;

TEST(RunScript, EveryHostLineOnTheDemoAccount) {
  const Outcome o = runScript(std::string(kSetUp) +
                              "expect $login.cUserId = \"demo\"\n"
                              "expect $login.LoginDate = \"2026-12-05\"\n"
                              "expect $n = -1\n"
                              "expect $rs.count = 7\n"
                              "expect $rs[2].cWhCode = \"02\"\n"
                              "expect $rs[2].CWHNAME = \"标准件仓\"\n"
                              "expect $coll.count = 1\n"
                              "expect $coll[\"parent\"].count = 7\n"
                              "expect $coll[1][7].cWhCode = \"07\"\n"
                              "call $context.GetPermissionList \"department\" \"\" \"W\" $list\n"
                              "expect $list = \"\"\n"
                              "set $q = 10.5\n"
                              "expect $q = 10.5\n"
                              "set $copy = $q\n"
                              "expect $copy = $q\n"
                              "$v = call $cn.Execute \"select 2.5 * 4 as x, 1 as one, null as z\"\n"
                              "expect $v[1].x = 10\n"
                              "expect $v[1].one = true\n"
                              "expect $v[1].z = null\n"
                              "print $rs[1]\n"
                              "print $coll\n"
                              "print $q\n");
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;
  const std::string& t = o.transcript;
  EXPECT_TRUE(has(t, "line 1: login user=demo date=2026-12-05\n  $login = user demo on account "))
      << t;
  EXPECT_TRUE(has(t,
                  "line 5: $rs = call $cn.Execute \"select cWhCode, cWhName from Warehouse "
                  "order by cWhCode\" $n\n  $rs = <Recordset> (7 rows)\n  $n = -1\n"))
      << t;
  // By-value arguments and the objects a call leaves as they were are not repeated.
  EXPECT_TRUE(has(t, "line 4: call $cn.Open $cs \"\" \"\" -1\nline 5:")) << t;
  EXPECT_TRUE(has(t, "  result = \"\"\n  $list = \"\"\n")) << t;
  EXPECT_TRUE(has(t, "  $rs[1] = row 1\n    cWhCode = \"01\"\n    cWhName = \"原料仓\"\n")) << t;
  EXPECT_TRUE(has(t,
                  "  $coll = <Collection> (1 item)\n    [1] \"Parent\" = <Recordset>\n"
                  "      cWhCode | cWhName\n      --------+-----------\n"
                  "      01      | 原料仓\n"))
      << t;
  EXPECT_TRUE(has(t, "      (7 rows)\n")) << t;
  EXPECT_TRUE(has(t, "  $q = 10.5\n")) << t;
}

TEST(RunScript, AFailingExpectNamesItsLineAndStopsTheScript) {
  struct Case {
    std::string lines;
    std::string message;
  };
  const Case cases[] = {
      {"set $q = 10.5\nexpect $q = 10.4", "expected $q = 10.4, found 10.5"},
      {"set $s = \"7\"\nexpect $s = 7", "expected $s = 7, found \"7\""},
      {"set $s = 7\nexpect $s = \"07\"", "expected $s = \"07\", found 7"},
      {"set $b = false\nexpect $b = true", "expected $b = true, found False"},
      {"set $e = \"\"\nexpect $e = nothing", "expected $e = nothing, found \"\""},
      {"set $e = null\nexpect $e = \"\"", "expected $e = \"\", found Null"},
      {"set $n = 1\nexpect $rs.count = 6", "expected $rs.count = 6, found 7"},
      {"set $n = 1\nexpect $rs[2].cWhCode = \"01\"",
       "expected $rs[2].cWhCode = \"01\", found \"02\""},
      {"set $n = 1\nexpect $rs[9].cWhCode = \"x\"", "$rs has 7 rows; there is no row 9"},
      {"set $n = 1\nexpect $rs[1].cCode = 1",
       "$rs[1] has no field cCode (its fields: cWhCode, cWhName)"},
      {"set $n = 1\nexpect $rs[1] = 1", "$rs[1] is a row; expect one of its fields"},
      {"set $n = 1\nexpect $coll[\"Sub\"].count = 1",
       "$coll has no item with the key \"Sub\" (its keys: \"Parent\")"},
      {"set $n = 1\nexpect $coll[2].count = 1", "$coll has 1 item; there is no item 2"},
      {"set $n = 1\nexpect $missing = 1", "$missing was never set"},
      {"set $q = 1.5\nexpect $q.count = 1", "$q is 1.5, which has no .count"},
      {"set $n = 1\nexpect $rs.NoSuchMember = 1", "$rs.NoSuchMember raised error 438"},
      {"set $n = 1\nexpect $n = -", "\"-\" stands for an omitted argument"},
  };
  for (const Case& c : cases) {
    const Outcome o = runScript(std::string(kSetUp) + c.lines + "\nprint $rs\n");
    EXPECT_FALSE(o.result.ok) << c.lines;
    EXPECT_EQ(o.result.pos.line, kSetUpLines + 2) << c.lines;
    EXPECT_TRUE(has(o.result.message, "line " + std::to_string(kSetUpLines + 2) + ", column "))
        << o.result.message;
    EXPECT_TRUE(has(o.result.message, c.message)) << o.result.message;
    EXPECT_TRUE(has(o.transcript, "FAILED line " + std::to_string(kSetUpLines + 2)))
        << o.transcript;
    EXPECT_FALSE(has(o.transcript, "print $rs")) << "ran past the failure: " << c.lines;
  }
}

TEST(RunScript, AParseErrorNamesLineAndColumnAndRunsNothing) {
  const Outcome missingValue = runScript("login user=demo\n\n  expect $q =\n");
  EXPECT_FALSE(missingValue.result.ok);
  EXPECT_EQ(missingValue.result.pos.line, 3);
  EXPECT_EQ(missingValue.result.pos.column, 14);
  EXPECT_TRUE(has(missingValue.result.message, "line 3, column 14: expected a value"))
      << missingValue.result.message;
  EXPECT_EQ(missingValue.transcript, "");  // not even the login ran

  const Outcome unknown = runScript("login\n$x = cal $a.b\n");
  EXPECT_FALSE(unknown.result.ok);
  EXPECT_TRUE(has(unknown.result.message, "line 2, column 6: expected call"))
      << unknown.result.message;

  const Outcome open = runScript("on frmX\n  click cmdOk\n");
  EXPECT_FALSE(open.result.ok);
  EXPECT_TRUE(has(open.result.message, "line 1, column 1: the block for frmX is not closed"))
      << open.result.message;
}

TEST(RunScript, AnErrorRaisedByALineStopsTheScriptUnlessTheNextLineExpectsIt) {
  const std::string raise = std::string(kSetUp) + "$x = call $coll.Item \"Nope\"\n";
  const int raiseLine = kSetUpLines + 1;

  const Outcome stopped = runScript(raise + "print $coll\n");
  EXPECT_FALSE(stopped.result.ok);
  EXPECT_EQ(stopped.result.pos.line, raiseLine);
  EXPECT_TRUE(has(stopped.result.message,
                  "call $coll.Item raised error 5: Invalid procedure call or argument"))
      << stopped.result.message;
  EXPECT_FALSE(has(stopped.transcript, "print $coll"));

  const Outcome goesOn =
      runScript(raise +
                "expect $error.number = 5\n"
                "expect $error = 5\n"
                "expect $error.description = \"Invalid procedure call or argument\"\n"
                "$y = call $coll.Item \"Parent\"\n"
                "expect $error = nothing\n"
                "new $bad No.Such.Class\n"
                "expect $error = 429\n"
                "call $rs.NoSuchMember\n"
                "expect $error.number = 438\n"
                "login user=nobody\n"
                "expect $error.number = 0\n");
  EXPECT_FALSE(goesOn.result.ok);  // the last expect: logging in as nobody raised something else
  EXPECT_EQ(goesOn.result.pos.line, raiseLine + 11) << goesOn.result.message << goesOn.transcript;
  EXPECT_TRUE(has(goesOn.transcript, "  error 5: Invalid procedure call or argument\n"))
      << goesOn.transcript;
  EXPECT_TRUE(has(goesOn.transcript, "  $y = <Recordset> (7 rows)\n")) << goesOn.transcript;
  EXPECT_TRUE(has(goesOn.transcript, "nobody")) << goesOn.transcript;

  const Outcome none = runScript(std::string(kSetUp) +
                                 "$y = call $coll.Item \"Parent\"\n"
                                 "expect $error.number = 5\n");
  EXPECT_FALSE(none.result.ok);
  EXPECT_TRUE(has(none.result.message, "but the line before raised no error"))
      << none.result.message;

  const Outcome wrong = runScript(raise + "expect $error.number = 6\n");
  EXPECT_FALSE(wrong.result.ok);
  EXPECT_TRUE(has(wrong.result.message, "expected $error.number = 6, found 5"))
      << wrong.result.message;

  const Outcome stale = runScript("set $a = 1\nexpect $error.number = 5\n");
  EXPECT_TRUE(has(stale.result.message, "$error is set only by a login, new or call line"))
      << stale.result.message;
}

TEST(RunScript, BadInputIsRefusedWithoutHarm) {
  struct Case {
    std::string script;
    std::string message;
  };
  const Case cases[] = {
      {"login user=demo date=2026-13-01", "date=2026-13-01 is not a date of the form YYYY-MM-DD"},
      {"login user=demo colour=red", "unknown login option \"colour\""},
      {"set $x = -", "set needs a value"},
      {"set $x = $y", "$y was never set"},
      {"call $nobody.Go", "$nobody was never set"},
      {"set $o = nothing\ncall $o.Go", "$o is Nothing, not an object"},
      {"set $o = 5\n$r = call $o.Go 1 2", "$o is 5, not an object"},
      {"print $nothing", "$nothing was never set"},
  };
  for (const Case& c : cases) {
    const Outcome o = runScript(c.script);
    EXPECT_FALSE(o.result.ok) << c.script;
    EXPECT_TRUE(has(o.result.message, c.message)) << o.result.message;
  }
  // A login on a file that is no account database is an error of the login line.
  const Outcome noFile = runScript("login user=demo\n", "/nonexistent/account.db");
  EXPECT_FALSE(noFile.result.ok);
  EXPECT_TRUE(has(noFile.result.message, "line 1, column 1: login raised error"))
      << noFile.result.message;

  // A collection that holds itself prints without running away.
  // (It lets go of itself at the end, as a host would, so that nothing outlives the run.)
  const Outcome cycle =
      runScript("new $c Collection\ncall $c.Add $c \"self\"\nprint $c\ncall $c.Remove 1\n");
  EXPECT_TRUE(cycle.result.ok) << cycle.result.message;
  EXPECT_TRUE(has(cycle.transcript, "[1] \"self\" = <Collection> (1 item)")) << cycle.transcript;

  EXPECT_TRUE(runScript("").result.ok);
  EXPECT_TRUE(runScript("# only a comment\n\n").result.ok);
}

// Scripts cut short, with a line lost or doubled, or with one line cut in half: every run ends
// with a result, and a failed one names a line of the script.
TEST(RunScript, DamagedScriptsAlwaysEndWithAResult) {
  const std::string script = std::string(kSetUp) +
                             "expect $rs[2].cWhCode = \"02\"\n"
                             "$x = call $coll.Item \"Nope\"\n"
                             "expect $error.number = 5\n"
                             "print $coll[\"Parent\"][1]\n"
                             "set $q = 10.5\n"
                             "expect $q = 10.5\n";
  std::vector<std::string> lines;
  for (std::size_t from = 0; from < script.size();) {
    const std::size_t nl = script.find('\n', from);
    lines.push_back(script.substr(from, nl - from));
    from = nl + 1;
  }
  auto join = [](const std::vector<std::string>& ls) {
    std::string out;
    for (const auto& l : ls) out += l + "\n";
    return out;
  };
  std::vector<std::string> damaged;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto dropped = lines;
    dropped.erase(dropped.begin() + static_cast<std::ptrdiff_t>(i));
    damaged.push_back(join(dropped));
    auto doubled = lines;
    doubled.insert(doubled.begin() + static_cast<std::ptrdiff_t>(i), lines[i]);
    damaged.push_back(join(doubled));
    auto cut = lines;
    cut[i] = cut[i].substr(0, cut[i].size() / 2);
    damaged.push_back(join(cut));
  }
  for (const std::string& text : damaged) {
    const Outcome o = runScript(text);
    if (o.result.ok) continue;
    EXPECT_GE(o.result.pos.line, 1) << text << o.result.message;
    EXPECT_LE(o.result.pos.line, static_cast<int>(lines.size()) + 1) << text;
    EXPECT_TRUE(has(o.result.message, "line ")) << o.result.message;
  }
}

}  // namespace
}  // namespace quillon::cli::run::testing
