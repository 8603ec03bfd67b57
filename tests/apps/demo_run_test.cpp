// The demo window's data, without a window: the users it offers, and what it makes of a call's
// report — where each recordset sits, copied as it was when the call returned.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ado/recordset.h"
#include "automation/collection.h"
#include "demo/account_users.h"
#include "demo/demo_run.h"
#include "demo/example_scripts.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"

namespace quillon::cli::demo {
namespace {

using automation::ObjectPtr;
using automation::Variant;

std::string failureOf(const std::string& path) {
  try {
    accountUsers(path);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no failure";
}

TEST(DemoAccountUsers, ListsTheEnabledUsersAndSaysWhyAFileIsRefused) {
  const auto users = accountUsers(test_support::demoPath());
  ASSERT_EQ(users.size(), 3u);
  EXPECT_EQ(users[0].id, "clerk");
  EXPECT_EQ(users[0].name, "仓库文员");
  EXPECT_EQ(users[1].id, "demo");
  EXPECT_EQ(users[2].id, "omclerk");

  test_support::ScratchDir dir;
  const std::string missing = (dir.path() / "none.db").string();
  EXPECT_EQ(failureOf(missing), "账套数据库文件[" + missing + "]不存在");
  const std::string text = (dir.path() / "notes.db").string();
  std::ofstream(text) << "not a database\n";
  EXPECT_EQ(failureOf(text), "文件[" + text + "]不是账套数据库");
}

TEST(DemoHostLines, LeaveTheDialogWorkToThePersonAndKeepTheHostsErrorHandling) {
  const std::string script =
      "login user=demo\n"
      "on frmProduceOrder\n"
      "  click cmdFilter\n"
      "  expect lstParent.rows = 2\n"
      "end\n"
      "answer yes\n"
      "filter \"cWhCode = '01'\"\n"
      "sql \"UPDATE pp_POLine SET cClose = 'x' WHERE MainID = 1\"\n"
      "$ok = call $po.load \"\" $login $coll $err\n"
      "expect $ok = true\n"
      "$x = call $coll.Item \"Nope\"\n"
      "  expect $error.number = 5\n"
      "expect $errors = 1\n"
      "expect no message\n";
  // The other workstation's sql is the host's; the filter answer is the person's.
  EXPECT_EQ(hostLinesOnly(script),
            "login user=demo\n\n\n\n\n\n\n"
            "sql \"UPDATE pp_POLine SET cClose = 'x' WHERE MainID = 1\"\n"
            "$ok = call $po.load \"\" $login $coll $err\n"
            "\n"
            "$x = call $coll.Item \"Nope\"\n"
            "  expect $error.number = 5\n"
            "\n\n");
}

TEST(DemoScriptTitle, AScriptIsNamedByItsFirstCommentLine) {
  const std::string script =
      "# A red sales issue: goods come back.\r\n"
      "#The returned fans keep their sign.\n"
      "   # indented, still the comment\n"
      "login user=demo\n"
      "# a later comment is not the script's\n";
  EXPECT_EQ(scriptTitle(script), "A red sales issue: goods come back.");
  EXPECT_EQ(scriptComment(script),
            "A red sales issue: goods come back.\nThe returned fans keep their sign.\n"
            "indented, still the comment");
  EXPECT_EQ(scriptTitle("login user=demo\n# late\n"), "");
  EXPECT_EQ(scriptComment(""), "");
}

std::shared_ptr<ado::Recordset> codes(std::initializer_list<const char*> values) {
  auto rs = ado::Recordset::fabricate({ado::FieldDef{"cCode"}});
  for (const char* v : values) {
    rs->addNew();
    rs->setValue(Variant(std::string("cCode")), Variant(std::string(v)));
    rs->update();
  }
  return rs;
}

TEST(DemoReceivedCall, FindsEveryRecordsetByWhereTheHostReadsItAndKeepsItsRowsAsReturned) {
  auto parent = codes({"A", "B", "C"});
  auto inner = codes({"X"});
  auto nested = std::make_shared<automation::Collection>();
  nested->add(Variant(ObjectPtr(inner)));
  auto coll = std::make_shared<automation::Collection>();
  coll->add(Variant(ObjectPtr(parent)), "Parent");
  coll->add(Variant(ObjectPtr(nested)));
  coll->add(Variant(ObjectPtr(coll)), "Self");  // holds itself: must not be walked forever

  run::CallReport report;
  report.line = 3;
  report.text = "$rs = call $x.Load $coll $err";
  report.resultVariable = "rs";
  report.result = Variant(ObjectPtr(parent));  // also inside the collection: one table
  report.byRef = {{"coll", "oColl", Variant(ObjectPtr(coll))},
                  {"err", "ErrMsg", Variant(std::string("line\r\nbreak"))}};
  const ReceivedCall call = receivedCall(report);
  coll->remove(Variant(std::string("Self")));

  ASSERT_EQ(call.values.size(), 3u);
  EXPECT_TRUE(call.values[0].isResult);
  EXPECT_EQ(call.values[0].text, "<Recordset> (3 rows)");
  EXPECT_EQ(call.values[2].parameter, "ErrMsg");
  EXPECT_EQ(call.values[2].text, "\"line\\r\\nbreak\"");
  ASSERT_EQ(call.tables.size(), 2u);
  EXPECT_EQ(call.tables[0].label, "$rs");
  EXPECT_EQ(call.tables[1].label, "$coll[2][1]");
  EXPECT_FALSE(call.error);

  // What a later line does to the recordset is not what this call handed back.
  parent->moveFirst();
  parent->deleteRecord();
  ASSERT_NE(call.tables[0].rows, nullptr);
  EXPECT_EQ(call.tables[0].rows->recordCount(), 3);
  call.tables[0].rows->moveFirst();
  EXPECT_EQ(call.tables[0].rows->value("cCode"), Variant(std::string("A")));
}

TEST(DemoReceivedCall, ARaisedCallShowsItsErrorAndNoResult) {
  run::CallReport report;
  report.resultVariable = "x";
  report.error = run::RaisedError{5, "Invalid procedure call or argument"};
  const ReceivedCall call = receivedCall(report);
  EXPECT_TRUE(call.values.empty());
  EXPECT_EQ(call.error, "error 5: Invalid procedure call or argument");
}

}  // namespace
}  // namespace quillon::cli::demo
