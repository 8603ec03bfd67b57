// Host lines under `quillon run`: references as values, set on
// properties and row fields, comparisons, and sql as another workstation, including a write that
// the production-order dialog's re-read on OK must see.
#include <gtest/gtest.h>

#include <string>

#include "automation/class_registry.h"
#include "classes/public_classes.h"
#include "run_fixture.h"
#include "support/class_registration.h"
#include "support/text_checks.h"

namespace quillon::cli::run::testing {
namespace {

void registerLibrary(automation::ClassRegistry& registry) {
  classes::registerLibraryClasses(registry);
}

class RunMoreWords : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    test_support::registerClassesOnce(test_support::registerSuiteClasses);
    test_support::registerClassesOnce(registerLibrary);
  }
};

// The seven demo warehouses through the login's own connection, and an empty collection.
constexpr const char* kSetUp =
    "login user=demo date=2026-12-05\n"
    "$cs = call $login.ConnectionString\n"
    "new $cn ADODB.Connection\n"
    "call $cn.Open $cs \"\" \"\" -1\n"
    "$rs = call $cn.Execute \"select cWhCode, cWhName from Warehouse order by cWhCode\"\n"
    "new $coll Collection\n";

using test_support::has;

TEST_F(RunMoreWords, ReferencesAreValuesAndSetWritesPropertiesAndFields) {
  const Outcome o = runScript(std::string(kSetUp) +
                              "call $coll.Add $rs[2].cWhName $rs[2].cWhCode\n"
                              "expect $coll[\"02\"] = $rs[2].cWhName\n"
                              // A reference given to a by-reference parameter is a copy.
                              "call $context.GetPermissionList \"department\" \"\" \"W\" "
                              "$rs[1].cWhCode\n"
                              "expect $rs[1].cWhCode = \"01\"\n"
                              "set $name = $rs[3].cWhName\n"
                              "expect $name = $rs[3].cWhName\n"
                              "$copy = call $rs.Clone\n"
                              "set $rs[2].cWhName = \"新标准件仓\"\n"
                              "set $rs[3][\"cWhCode\"] = \"33\"\n"
                              "expect $copy[2].cWhName = \"新标准件仓\"\n"
                              "expect $rs[3].cWhCode = \"33\"\n"
                              "new $po Quillon.ProduceOrder\n"
                              "set $po.sErrMsg = \"已关闭\"\n"
                              "expect $po.sErrMsg = \"已关闭\"\n"
                              "set $po.oCollection = $coll\n"
                              "expect $po.oCollection = $coll\n"
                              "expect $po.oCollection.count = 1\n"
                              "set $po.oCollection = nothing\n"
                              "expect $po.oCollection = nothing\n"
                              "set $po.bIsSTQc = true\n"
                              "expect $error.number = 438\n"
                              "set $rs[1].nope = 1\n"
                              "expect $error.number = 3265\n"
                              "call $coll.Add $po.Nope\n"
                              "expect $error = 438\n"
                              "expect $coll.count = 1\n");
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;
  EXPECT_TRUE(has(o.transcript,
                  "line 26: set $po.bIsSTQc = true\n"
                  "  error 438: Object doesn't support this property or method\n"))
      << o.transcript;

  // Without an expect $error after it, the object's error stops the script; a reference that
  // leads nowhere stops it whatever follows.
  const Outcome stopped = runScript(std::string(kSetUp) + "set $x = $rs.Nope\nset $y = 1\n");
  EXPECT_EQ(stopped.result.message,
            "line 7, column 10: $rs.Nope raised error 438: Object doesn't support this property "
            "or method");
  const Outcome nowhere =
      runScript(std::string(kSetUp) + "set $x = $rs[9].cWhCode\nexpect $error.number = 9\n");
  EXPECT_EQ(nowhere.result.message, "line 7, column 10: $rs has 7 rows; there is no row 9");
  const Outcome unset = runScript(std::string(kSetUp) + "call $coll.Add $nobody.cWhCode\n");
  EXPECT_EQ(unset.result.message, "line 7, column 16: $nobody was never set");
}

TEST_F(RunMoreWords, ComparisonsHoldAndFailNamingBothSides) {
  const Outcome o = runScript(std::string(kSetUp) +
                              "expect $rs.count > 6\n"
                              "expect $rs.count <= 7\n"
                              "expect $rs.count <> 8\n"
                              "expect $rs[1].cWhCode < $rs[2].cWhCode\n"
                              "expect $rs[2].cWhName like \"标准*\"\n"
                              "expect $rs[2].cWhName like \"?准件[仓库]\"\n"
                              "expect $login.LoginDate >= \"2026-12-05\"\n"
                              "expect $login.LoginDate < \"2026-12-06\"\n"
                              "expect $rs.count like \"#\"\n"
                              "set $a = 3\nset $b = 5.5\n"
                              "expect $a < $b\n"
                              "expect $b >= 5.5\n");
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;

  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"expect $a > $b", "expected $a > $b, found 3, and $b is 5.5"},
      {"expect $rs.count <> 7", "expected $rs.count <> 7, found 7"},
      {"expect $rs[2].cWhName like \"原料*\"",
       "expected $rs[2].cWhName like \"原料*\", found \"标准件仓\""},
      {"expect $rs[2].cWhName > 5",
       "expect $rs[2].cWhName > 5: \"标准件仓\" cannot be ordered against 5"},
      {"expect $rs < 5", "expect $rs < 5: <Recordset> cannot be ordered against 5"},
      {"expect $coll like \"*\"",
       "expect $coll like \"*\": <Collection> has no text to match "
       "against a pattern"},
  };
  for (const Case& c : cases) {
    const Outcome failed =
        runScript(std::string(kSetUp) + "set $a = 3\nset $b = 5.5\n" + c.line + "\n");
    EXPECT_EQ(failed.result.message, std::string("line 9, column 1: ") + c.message) << c.line;
  }
}

TEST_F(RunMoreWords, SqlRunsOnAConnectionOfItsOwnAndPrintsItsResults) {
  const std::string db = test_support::demoCopy("sql-lines");
  const Outcome o = runScript(std::string(kSetUp) +
                                  "sql \"UPDATE Warehouse SET cWhName = '七号仓' WHERE cWhCode "
                                  "= '07'\"\n"
                                  "$v = call $cn.Execute \"select cWhName from Warehouse where "
                                  "cWhCode = '07'\"\n"
                                  "expect $v[1].cWhName = \"七号仓\"\n"
                                  "sql \"CREATE TABLE #mine (a int); INSERT INTO #mine VALUES "
                                  "(4)\"\n"
                                  "sql \"SELECT a, a * 2 AS b FROM #mine\"\n"
                                  "$w = call $cn.Execute \"select a from #mine\"\n"
                                  "expect $error like \"*[#]mine*\"\n"  // "#" alone is any digit
                                  "sql \"SELECT 1 AS one; SELECT nope FROM Warehouse\"\n"
                                  "expect $error.number = -2147217900\n"
                                  "expect $error like \"*nope*\"\n",
                              db);
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;
  const std::string& t = o.transcript;
  EXPECT_TRUE(has(t,
                  "line 7: sql \"UPDATE Warehouse SET cWhName = '七号仓' WHERE cWhCode = "
                  "'07'\"\n  (1 row affected)\n"))
      << t;
  EXPECT_TRUE(has(t, "  a | b\n  --+--\n  4 | 8\n  (1 row)\n")) << t;
  // What came before the failing statement is printed, then the error.
  EXPECT_TRUE(has(t, "  one\n  ---\n    1\n  (1 row)\n  error -2147217900: ")) << t;

  const Outcome stopped = runScript("sql \"DELETE FROM NoSuchTable\"\nsql \"SELECT 1\"\n", db);
  EXPECT_FALSE(stopped.result.ok);
  EXPECT_TRUE(has(stopped.result.message, "line 1, column 1: sql raised error -2147217900: "))
      << stopped.result.message;
  EXPECT_FALSE(has(stopped.transcript, "line 2:"));
}

// The clerk's production-order dialog is open when another workstation closes the chosen line:
// the re-read on OK must see it and refuse, and a failing batch in the block is taken over by the
// expect $error after it.
TEST_F(RunMoreWords, TheOtherWorkstationsWriteIsSeenByTheDialogsReRead) {
  const std::string db = test_support::demoCopy("closed-elsewhere");
  const Outcome o = runScript(
      "login user=demo date=2026-12-05\n"
      "new $po Quillon.ProduceOrder\n"
      "set $shown = true\n"
      "on frmProduceOrder\n"
      "  expect cmdOk.Caption <> $po.sErrMsg\n"
      "  click cmdFilter\n"
      "  mark lstParent 1\n"
      "  mark lstSub 1\n"
      "  expect no message\n"
      "  sql \"UPDATE pp_POLine SET cClose = 'clerk2' WHERE MainID = 1\"\n"
      "  sql \"UPDATE NoSuchTable SET a = 1\"\n"
      "  expect $error like \"*NoSuchTable*\"\n"
      "  click cmdOk\n"
      "  expect message \"当前单据可能已经被他人修改请重新过滤后再进行生单！\" title \"系统提示\"\n"
      "  expect frmProduceOrder.Visible = $shown\n"
      "  click cmdExit\n"
      "end\n"
      "$ok = call $po.load \"\" $login $coll $err - 11\n"
      "expect $coll = nothing\n",
      db);
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;
  EXPECT_TRUE(has(o.transcript,
                  "  line 10: sql \"UPDATE pp_POLine SET cClose = 'clerk2' WHERE MainID = 1\"\n"
                  "    (1 row affected)\n"
                  "  line 11: sql \"UPDATE NoSuchTable SET a = 1\"\n"
                  "  error -2147217900: "))
      << o.transcript;

  // Without the expect $error, the failing batch fails the block and the dialog closes.
  const Outcome failed = runScript(
      "login user=demo date=2026-12-05\n"
      "new $po Quillon.ProduceOrder\n"
      "on frmProduceOrder\n"
      "  sql \"UPDATE NoSuchTable SET a = 1\"\n"
      "  click cmdOk\n"
      "end\n"
      "$ok = call $po.load \"\" $login $coll $err - 11\n",
      db);
  EXPECT_FALSE(failed.result.ok);
  EXPECT_TRUE(has(failed.result.message, "line 4, column 3: sql raised error -2147217900: "))
      << failed.result.message;
  EXPECT_TRUE(has(failed.transcript, "form frmProduceOrder unloaded")) << failed.transcript;

  const Outcome unset = runScript(
      "login user=demo date=2026-12-05\n"
      "new $po Quillon.ProduceOrder\n"
      "on frmProduceOrder\n"
      "  expect cmdOk.Enabled = $nobody\n"
      "end\n"
      "$ok = call $po.load \"\" $login $coll $err - 11\n",
      db);
  EXPECT_EQ(unset.result.message, "line 4, column 26: $nobody was never set");
}

// Another workstation drops a table the delivery-note heads are read from while the dialog is
// open: the filter's error ends the dialog without a box, and loadConsignment returns False with
// its label and the engine's text in ErrMsg, which the script can check.
TEST_F(RunMoreWords, ADeliveryQueryErrorReachesLoadConsignmentsTrap) {
  const std::string db = test_support::demoCopy("cons-dropped");
  const Outcome o = runScript(
      "login user=demo date=2026-12-05\n"
      "new $po Quillon.ProduceOrder\n"
      "on frmCons\n"
      "  sql \"DROP TABLE SaleType\"\n"
      "  click cmdFilter\n"
      "end\n"
      "$ok = call $po.loadConsignment \"\" $login $coll $err\n"
      "expect $ok = false\n"
      "expect $err like \"loadStockOrder:load*SaleType*\"\n"
      "expect $po.oCollection = nothing\n",
      db);
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;
  EXPECT_TRUE(has(o.transcript, "form frmCons unloaded")) << o.transcript;
  EXPECT_FALSE(has(o.transcript, "message ")) << o.transcript;

  // The dialog is gone: a line after the failing one has no form to work.
  const Outcome after = runScript(
      "login user=demo date=2026-12-05\n"
      "new $po Quillon.ProduceOrder\n"
      "on frmCons\n"
      "  click cmdFilter\n"
      "  click cmdExit\n"
      "end\n"
      "$ok = call $po.loadConsignment \"\" $login $coll $err\n",
      db);
  EXPECT_FALSE(after.result.ok);
  EXPECT_TRUE(
      has(after.result.message, "line 5, column 3: click: form frmCons is not shown any more"))
      << after.result.message;
}

// The return-inventory picker's OK reads the chosen inventories; with a table it needs dropped by
// another workstation, the error ends the dialog and frmShow raises it, where the script can
// expect it, rather than failing the dialog line.
TEST_F(RunMoreWords, AReturnInventoryErrorIsTheCallsError) {
  const std::string db = test_support::demoCopy("returninvdropped");
  const Outcome o = runScript(
      "login user=demo date=2026-12-05\n"
      "new $ris Quillon.ReturnInvSet\n"
      "on frmReturnInvSet\n"
      "  node treeMenu c0102\n"
      "  select ListView1 1\n"
      "  sql \"DROP TABLE InventoryClass\"\n"
      "  toolbar Ok\n"
      "end\n"
      "call $ris.frmShow $login 1\n"
      "expect $error like \"*[Ii]nventory[Cc]lass*\"\n",
      db);
  ASSERT_TRUE(o.result.ok) << o.result.message << "\n" << o.transcript;
  EXPECT_TRUE(has(o.transcript, "form frmReturnInvSet unloaded")) << o.transcript;
}

// The batch-position filter's fields filled by a script: the WHERE text is made of them, the
// transcript shows what was typed, and a field the filter does not have fails the script.
TEST_F(RunMoreWords, FilterFieldsFillTheNamedFiltersDialog) {
  constexpr const char* kCall =
      "on frmBatchPosition\n"
      "  close\n"
      "end\n"
      "call $ps.BatchInvPos $login \"批次货位\" $where\n";
  const Outcome o = runScript(
      std::string("login user=demo date=2026-12-05\n"
                  "new $ps Quillon.PositionSet\n"
                  "set $where = \"kept\"\n"
                  "filter field \"仓库\" \"01\"\n"
                  "filter field \"存货编码\" \"0101\" \"0199\"\n"
                  "filter ok\n") +
      kCall +
      "expect $where = \"cWhCode = N'01' and cInvCode >= N'0101' and cInvCode <= N'0199'\"\n"
      "filter field \"货位\" \"01A\"\n"
      "filter \"iQuantity > 0\"\n" +
      kCall + "expect $where = \"cPosCode like N'%01A%' and (iQuantity > 0)\"\n");
  ASSERT_TRUE(o.result.ok) << o.result.message << o.transcript;
  EXPECT_TRUE(has(o.transcript,
                  "filter \"批次货位\" -> field \"仓库\" \"01\" field \"存货编码\" "
                  "\"0101\" \"0199\" ok"))
      << o.transcript;

  const struct {
    const char* lines;
    const char* message;
  } cases[] = {
      {"filter field \"单价\" \"1\"\nfilter ok\n", "filter \"批次货位\" has no field \"单价\""},
      {"filter field \"仓库\" \"01\" \"09\"\nfilter ok\n", "filter field \"仓库\" is not a range"},
      {"filter field \"仓库\" \"01\"\n",
       "filter field without a filter ok, text or cancel after it"},
  };
  for (const auto& c : cases) {
    const Outcome bad = runScript(std::string("login user=demo date=2026-12-05\n"
                                              "new $ps Quillon.PositionSet\n"
                                              "set $where = \"kept\"\n") +
                                  c.lines + kCall);
    EXPECT_FALSE(bad.result.ok) << c.lines;
    EXPECT_NE(bad.result.message.find(c.message), std::string::npos) << bad.result.message;
  }
}

}  // namespace
}  // namespace quillon::cli::run::testing
