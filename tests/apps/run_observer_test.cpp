// What a program running scripts in-process learns beside the transcript: every call's result,
// by-reference variables and error, and logins made as the user it chose.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ado/recordset.h"
#include "automation/collection.h"
#include "classes/public_classes.h"
#include "run/host_script_runner.h"
#include "support/class_registration.h"
#include "support/demo_account.h"

namespace quillon::cli::run::testing {
namespace {

struct Observed {
  script::RunResult result;
  std::string transcript;
  std::vector<CallReport> calls;
};

Observed observe(const std::string& script, std::optional<std::string> user = std::nullopt,
                 bool withObserver = true) {
  test_support::registerClassesOnce(classes::registerAllClasses);
  std::ostringstream out;
  HostScriptRunner runner(test_support::demoPath(), out);
  Observed seen;
  if (withObserver) {
    runner.setCallObserver([&seen](const CallReport& report) { seen.calls.push_back(report); });
  }
  runner.setLoginUser(std::move(user));
  seen.result = runner.runSource(script);
  seen.transcript = out.str();
  return seen;
}

// The production-order dialog worked headless (outsourced mode): OK hands back two recordsets
// in the by-reference collection; then a lookup that raises and is expected, then one that is not.
constexpr const char* kScript =
    "login user=demo date=2026-12-05\n"
    "$cs = call $login.ConnectionString\n"
    "new $cn ADODB.Connection\n"
    "call $cn.Open $cs \"\" \"\" -1\n"
    "$rs = call $cn.Execute \"select cWhCode from Warehouse order by cWhCode\" $n\n"
    "new $po Quillon.ProduceOrder\n"
    "on frmProduceOrder\n"
    "  click cmdFilter\n"
    "  mark lstParent 1\n"
    "  click cmdOk\n"
    "end\n"
    "$ok = call $po.load \"\" $login $coll $err true\n"
    "$x = call $coll.Item \"Nope\"\n"
    "expect $error.number = 5\n"
    "call $coll.Item \"Missing\"\n";

std::int32_t rows(const automation::Variant& v) {
  auto* rs = dynamic_cast<ado::Recordset*>(v.asObject().get());
  return rs == nullptr ? -1 : rs->recordCount();
}

TEST(RunObserver, EveryCallReportsItsResultByReferenceValuesAndError) {
  const Observed o = observe(kScript);
  ASSERT_FALSE(o.result.ok);  // the last lookup raises with nobody expecting it
  EXPECT_EQ(o.result.pos.line, 15) << o.result.message;
  ASSERT_EQ(o.calls.size(), 6u) << o.transcript;

  const CallReport& open = o.calls[1];
  EXPECT_EQ(open.line, 4);
  EXPECT_TRUE(open.resultVariable.empty());
  EXPECT_TRUE(open.result.isEmpty());
  EXPECT_TRUE(open.byRef.empty());
  EXPECT_FALSE(open.error);

  const CallReport& execute = o.calls[2];
  EXPECT_EQ(execute.text,
            "$rs = call $cn.Execute \"select cWhCode from Warehouse order by cWhCode\" $n");
  EXPECT_EQ(execute.resultVariable, "rs");
  EXPECT_EQ(rows(execute.result), 7);
  ASSERT_EQ(execute.byRef.size(), 1u);
  EXPECT_EQ(execute.byRef[0].variable, "n");
  EXPECT_EQ(execute.byRef[0].parameter, "RecordsAffected");
  EXPECT_EQ(execute.byRef[0].value, automation::Variant(std::int32_t{-1}));

  const CallReport& load = o.calls[3];
  EXPECT_EQ(load.member, "load");
  EXPECT_EQ(load.result, automation::Variant(true));
  // $login is taken by value and is not reported; the collection and ErrMsg are, by their names.
  ASSERT_EQ(load.byRef.size(), 2u);
  EXPECT_EQ(load.byRef[0].parameter, "oCollReurn");
  EXPECT_EQ(load.byRef[1].parameter, "ErrMsg");
  EXPECT_EQ(load.byRef[1].value, automation::Variant(std::string()));
  auto* coll = dynamic_cast<automation::Collection*>(load.byRef[0].value.asObject().get());
  ASSERT_NE(coll, nullptr);
  EXPECT_EQ(rows(coll->item("Parent")), 1);
  EXPECT_EQ(rows(coll->item("Sub")), 1);

  for (const CallReport* raised : {&o.calls[4], &o.calls[5]}) {
    ASSERT_TRUE(raised->error) << raised->text;
    EXPECT_EQ(raised->error->number, 5);
    EXPECT_EQ(raised->error->description, "Invalid procedure call or argument");
    EXPECT_TRUE(raised->result.isEmpty());
  }
  EXPECT_EQ(o.calls[4].resultVariable, "x");

  // Listening changes nothing the script prints.
  EXPECT_EQ(observe(kScript, std::nullopt, false).transcript, o.transcript);
}

TEST(RunObserver, LoginLinesLogInAsTheChosenUser) {
  const std::string script =
      "login user=demo date=2026-12-05\n"
      "expect $login.cUserId = \"clerk\"\n"
      "expect $login.LoginDate = \"2026-12-05\"\n";
  const Observed clerk = observe(script, "clerk");
  EXPECT_TRUE(clerk.result.ok) << clerk.result.message;
  EXPECT_NE(clerk.transcript.find("line 1: login user=demo date=2026-12-05\n"
                                  "  $login = user clerk on account "),
            std::string::npos)
      << clerk.transcript;

  // Without the option the script's own user logs in, so its expectation fails.
  EXPECT_FALSE(observe(script).result.ok);

  const Observed nobody = observe(script, "nobody");
  ASSERT_FALSE(nobody.result.ok);
  EXPECT_EQ(nobody.result.pos.line, 1);
  EXPECT_NE(nobody.result.message.find("用户[nobody]"), std::string::npos) << nobody.result.message;
}

}  // namespace
}  // namespace quillon::cli::run::testing
