// The current-stock lines the demo window offers and the host script it writes for one: the text
// itself, values that would break a naive literal, and the script run on the demo account.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <variant>

#include "ado/recordset.h"
#include "classes/registration.h"
#include "demo/account_stock.h"
#include "demo/demo_run.h"
#include "demo/stock_line_script.h"
#include "forms/script_parser.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"

namespace quillon::cli::demo {
namespace {

TEST(StockLineScript, WritesTheReferenceCallsInTheExamplesArgumentOrder) {
  EXPECT_EQ(stockLineScript({"01", "0101003", 2000, false}, StockReferCall::AutoRefer, "demo"),
            "login user=demo\n"
            "new $q Quillon.Suite.StockQueries\n"
            "new $r Quillon.RefSelect\n"
            "$sql = call $q.CurrentStockSql \"01\" \"0101003\"\n"
            "set $err = \"silent\"\n"
            "$ok = call $r.AutoRefer $login \"01\" \"0101003\" - 2000.0 0.0 0.0 0 $sql false true "
            "\"\" $err\n"
            "$data = call $r.ReturnData\n");
  // A red line takes the quantity negated and says it is red; a fraction keeps its digits.
  EXPECT_EQ(stockLineScript({"02", "0102001", 12.5, true}, StockReferCall::Refer, "clerk"),
            "login user=clerk\n"
            "new $q Quillon.Suite.StockQueries\n"
            "new $r Quillon.RefSelect\n"
            "$sql = call $q.CurrentStockSql \"02\" \"0102001\"\n"
            "$ok = call $r.Refer $login \"02\" \"0102001\" - -12.5 0.0 0.0 0 $sql true true \"\"\n"
            "$data = call $r.ReturnData\n");
  // No "-0.0" for an empty red line.
  EXPECT_NE(stockLineScript({"01", "x", 0, true}, StockReferCall::Refer, "demo").find(" - 0.0 "),
            std::string::npos);
}

TEST(StockLineScript, QuotesValuesSoTheScriptReadsBackExactlyThem) {
  EXPECT_EQ(scriptText("01"), "\"01\"");
  EXPECT_EQ(scriptText("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(scriptText("x\ny\tz\r"), "\"x\\ny\\tz\\r\"");

  const std::string warehouse = "仓\"1\" # not a comment";
  const std::string item = "C:\\inv\nline2";
  const std::string user = "li \"lei\"";
  const auto parsed = forms::script::parseScript(
      stockLineScript({warehouse, item, 3, false}, StockReferCall::AutoRefer, user));
  ASSERT_EQ(parsed.statements.size(), 7u);
  const auto& login = std::get<forms::script::LoginLine>(parsed.statements[0].body);
  ASSERT_EQ(login.options.size(), 1u);
  EXPECT_EQ(login.options[0].second, user);
  const auto& query = std::get<forms::script::CallLine>(parsed.statements[3].body);
  ASSERT_EQ(query.args.size(), 2u);
  EXPECT_EQ(query.args[0].text, warehouse);
  EXPECT_EQ(query.args[1].text, item);
  const auto& refer = std::get<forms::script::CallLine>(parsed.statements[5].body);
  EXPECT_EQ(refer.member, "AutoRefer");
  ASSERT_EQ(refer.args.size(), 13u);
  EXPECT_EQ(refer.args[1].text, warehouse);
  EXPECT_EQ(refer.args[2].text, item);
  EXPECT_EQ(refer.args[4].kind, forms::script::ScriptValue::Kind::Double);
  EXPECT_EQ(refer.args[4].number, 3.0);
}

TEST(AccountStock, OffersTheLinesWithStockToTakeAndRefusesAFileThatIsNoAccount) {
  const auto lines = stockedLines(test_support::demoPath());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().warehouse, "01");
  EXPECT_EQ(lines.front().warehouseName, "原料仓");
  EXPECT_EQ(lines.front().item, "0101001");
  EXPECT_EQ(lines.front().itemName, "冷轧钢板");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const auto& a = lines[i - 1];
    const auto& b = lines[i];
    EXPECT_TRUE(a.warehouse < b.warehouse || (a.warehouse == b.warehouse && a.item < b.item))
        << "line " << i << " out of order or repeated";
  }
  // Lines whose rows are all at zero or below have nothing to take.
  for (const auto& line : lines) {
    EXPECT_FALSE(line.warehouse == "02" && line.item == "0102003");
    EXPECT_FALSE(line.warehouse == "02" && line.item == "0103002");
  }

  test_support::ScratchDir dir;
  const std::string notes = (dir.path() / "notes.db").string();
  std::ofstream(notes) << "not a database\n";
  try {
    stockedLines(notes);
    ADD_FAILURE() << "a text file was read as an account";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "文件[" + notes + "]不是账套数据库");
  }
}

double cellOf(ado::Recordset& rs, const char* field) {
  return rs.field(field)->value().toDouble();
}

TEST(StockLineScript, AllocatesTheLineOnTheDemoAccountBlueAndRed) {
  test_support::demoAccount(classes::registerAllClasses);
  const auto run = [](bool red) {
    return runDemoScript(
        {test_support::demoPath(), "demo",
         stockLineScript({"01", "0101003", 2000, red}, StockReferCall::AutoRefer, "demo"), false},
        std::make_shared<forms::ScriptedUiHost>());
  };
  for (const bool red : {false, true}) {
    SCOPED_TRACE(red ? "red" : "blue");
    const DemoRunResult result = run(red);
    ASSERT_TRUE(result.ok) << result.transcript;
    ASSERT_EQ(result.calls.size(), 3u);
    const ReceivedCall& allocated = result.calls[1];
    EXPECT_FALSE(allocated.error.has_value());
    ASSERT_EQ(allocated.values.size(), 3u);  // $ok, the query and $err
    EXPECT_EQ(allocated.values[2].variable, "$err");
    EXPECT_EQ(allocated.values[2].parameter, "sReturnErr");
    EXPECT_EQ(allocated.values[2].text, "\"\"");
    const ReceivedCall& data = result.calls[2];
    ASSERT_EQ(data.tables.size(), 1u);
    ASSERT_NE(data.tables[0].rows, nullptr);
    ado::Recordset& rows = *data.tables[0].rows;
    ASSERT_EQ(rows.recordCount(), 2);
    rows.moveFirst();
    EXPECT_DOUBLE_EQ(cellOf(rows, "出库数量"), red ? -1851.0 : 1851.0);
    rows.moveNext();
    EXPECT_DOUBLE_EQ(cellOf(rows, "出库数量"), red ? -149.0 : 149.0);
  }
}

}  // namespace
}  // namespace quillon::cli::demo
