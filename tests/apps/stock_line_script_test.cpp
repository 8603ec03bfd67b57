// The host script the demo window writes for a current-stock line: the text itself, and values
// that would break a naive literal.
#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "demo/stock_line_script.h"
#include "script/script_parser.h"

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
}

TEST(StockLineScript, QuotesValuesSoTheScriptReadsBackExactlyThem) {
  EXPECT_EQ(scriptText("01"), "\"01\"");
  EXPECT_EQ(scriptText("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(scriptText("x\ny\tz\r"), "\"x\\ny\\tz\\r\"");

  const std::string warehouse = "仓\"1\" # not a comment";
  const std::string item = "C:\\inv\nline2";
  const std::string user = "li \"lei\"";
  const auto parsed = script::parseScript(
      stockLineScript({warehouse, item, 3, false}, StockReferCall::AutoRefer, user));
  ASSERT_EQ(parsed.statements.size(), 7u);
  const auto& login = std::get<script::LoginLine>(parsed.statements[0].body);
  ASSERT_EQ(login.options.size(), 1u);
  EXPECT_EQ(login.options[0].second, user);
  const auto& query = std::get<script::CallLine>(parsed.statements[3].body);
  ASSERT_EQ(query.args.size(), 2u);
  EXPECT_EQ(query.args[0].text, warehouse);
  EXPECT_EQ(query.args[1].text, item);
  const auto& refer = std::get<script::CallLine>(parsed.statements[5].body);
  EXPECT_EQ(refer.member, "AutoRefer");
  ASSERT_EQ(refer.args.size(), 13u);
  EXPECT_EQ(refer.args[1].text, warehouse);
  EXPECT_EQ(refer.args[2].text, item);
  EXPECT_EQ(refer.args[4].kind, script::ScriptValue::Kind::Double);
  EXPECT_EQ(refer.args[4].number, 3.0);
}

}  // namespace
}  // namespace quillon::cli::demo
