#include <gtest/gtest.h>

#include <string>

#include "forms/constants.h"
#include "script/script_parser.h"

namespace quillon::script {

using namespace forms;
namespace {

// Parses a text that must fail and returns "line:column message".
std::string errorOf(std::string_view text) {
  try {
    parseScript(text);
  } catch (const ScriptError& e) {
    return std::to_string(e.pos().line) + ":" + std::to_string(e.pos().column) + " " + e.message();
  }
  return "parsed";
}

TEST(ScriptParserTest, HostLines) {
  const Script s = parseScript(
      "# a comment\n"
      "login user=demo date=2026-12-05\n"
      "new $po Quillon.ProduceOrder   # trailing comment\n"
      "$ok = call $po.load \"a \\\"b\\\"\\n\" $login $coll $err - 12 1.5 true null nothing\n"
      "print $coll\n"
      "expect $rs[2].cInvCode = \"A001\"\n"
      "expect $coll[\"Parent\"].count = 1\n"
      "set $q = 10.5\n");
  ASSERT_EQ(s.statements.size(), 7u);
  const auto& login = std::get<LoginLine>(s.statements[0].body);
  EXPECT_EQ(login.options[1], (std::pair<std::string, std::string>{"date", "2026-12-05"}));
  EXPECT_EQ(std::get<NewLine>(s.statements[1].body).progId, "Quillon.ProduceOrder");
  const auto& call = std::get<CallLine>(s.statements[2].body);
  EXPECT_EQ(call.resultVariable, "ok");
  EXPECT_EQ(call.object, "po");
  EXPECT_EQ(call.member, "load");
  ASSERT_EQ(call.args.size(), 10u);
  EXPECT_EQ(call.args[0].text, "a \"b\"\n");
  EXPECT_EQ(call.args[1].kind, ScriptValue::Kind::Variable);
  EXPECT_EQ(call.args[4].kind, ScriptValue::Kind::Omitted);
  EXPECT_EQ(call.args[5].kind, ScriptValue::Kind::Long);
  EXPECT_EQ(call.args[6].kind, ScriptValue::Kind::Double);
  EXPECT_TRUE(call.args[7].boolean);
  EXPECT_EQ(call.args[8].kind, ScriptValue::Kind::Null);
  EXPECT_EQ(call.args[9].kind, ScriptValue::Kind::Nothing);
  EXPECT_EQ(s.statements[2].pos.line, 4);
  const auto& e1 = std::get<ExpectLine>(s.statements[4].body);
  ASSERT_EQ(e1.ref.path.size(), 2u);
  EXPECT_EQ(e1.ref.path[0].index, 2);
  EXPECT_EQ(e1.ref.path[1].name, "cInvCode");
  const auto& e2 = std::get<ExpectLine>(s.statements[5].body);
  EXPECT_EQ(e2.ref.path[0].kind, ScriptRef::Step::Kind::Key);
  EXPECT_EQ(e2.ref.path[0].name, "Parent");
  EXPECT_EQ(e2.expected.number, 1);
  EXPECT_DOUBLE_EQ(std::get<SetLine>(s.statements[6].body).value.number, 10.5);
}

TEST(ScriptParserTest, DialogLinesInsideABlock) {
  const Script s = parseScript(
      "answer yes\n"
      "on frmStockOrder\n"
      "  type txtLDate \"2026-11-01\"\n"
      "  key Ctrl+B\n"
      "  check chkAll off\n"
      "  mark lstDdHead 2\n"
      "  cell lstDdBody 1 \"批号\" \"B01\"\n"
      "  cell lstDdBody 1 7 \"3\"\n"
      "  tab SSTab1 1\n"
      "  node treeMenu K01 check on\n"
      "  pick 1,3\n"
      "  date cancel\n"
      "  input \"5\"\n"
      "  expect lstDdBody[1,\"批号\"] \"B01\"\n"
      "  expect lstDdHead.rows = 3\n"
      "  expect hdiFree(2) \"红\"\n"
      "  expect message \"请选择订单！\"\n"
      "  close\n"
      "end\n");
  ASSERT_EQ(s.statements.size(), 2u);
  EXPECT_EQ(std::get<DialogAction>(s.statements[0].body).number, vbYes);
  const auto& block = std::get<OnBlock>(s.statements[1].body);
  EXPECT_EQ(block.form, "frmStockOrder");
  ASSERT_EQ(block.actions.size(), 16u);
  const auto& key = block.actions[1];
  EXPECT_EQ(key.keyCode, 66);
  EXPECT_EQ(key.shift, vbCtrlMask);
  EXPECT_FALSE(*block.actions[2].on);
  EXPECT_EQ(block.actions[4].columnCaption, "批号");
  EXPECT_EQ(block.actions[5].columnNumber, 7);
  EXPECT_EQ(block.actions[7].text, "K01");
  EXPECT_TRUE(*block.actions[7].on);
  EXPECT_EQ(block.actions[8].picks, (std::vector<int>{1, 3}));
  EXPECT_TRUE(block.actions[9].cancel);
  EXPECT_EQ(block.actions[11].kind, ActionKind::ExpectCell);
  EXPECT_EQ(block.actions[11].columnCaption, "批号");
  EXPECT_EQ(block.actions[12].kind, ActionKind::ExpectRows);
  EXPECT_EQ(block.actions[12].number, 3);
  EXPECT_EQ(block.actions[13].target, "hdiFree(2)");
  EXPECT_EQ(block.actions[14].kind, ActionKind::ExpectMessage);
  EXPECT_EQ(block.actions[6].pos.line, 9);
  EXPECT_EQ(block.actions[6].pos.column, 3);
}

TEST(ScriptParserTest, ErrorsNameLineAndColumn) {
  EXPECT_EQ(errorOf("login user=demo\nfrobnicate x\n"), "2:1 unknown statement \"frobnicate\"");
  EXPECT_EQ(errorOf("on frmA\n  type txtA \"abc\n"), "2:13 text not closed with a double quote");
  EXPECT_EQ(errorOf("on frmA\n  mark lst 0\nend"), "2:12 rows are numbered from 1");
  EXPECT_EQ(errorOf("on frmA\n  check chkA maybe\nend"),
            "2:14 expected on or off, found \"maybe\"");
  EXPECT_EQ(errorOf("on frmA\n  key Hyper+Q\nend"), "2:7 unknown key \"Hyper+Q\"");
  EXPECT_EQ(errorOf("on frmA\n  click cmdOk now\nend"), "2:15 unexpected text \"now\"");
  EXPECT_EQ(errorOf("on frmA\n  date 2026-02-30\nend"),
            "2:8 expected a date YYYY-MM-DD or cancel, found \"2026-02-30\"");
  EXPECT_EQ(errorOf("on frmA\n  pick 1,,3\nend"),
            "2:8 expected row numbers from 1 separated by \",\" (like 1,3) or cancel");
  EXPECT_EQ(errorOf("click cmdOk\n"), "1:1 \"click\" needs an on-block naming its form");
  EXPECT_EQ(errorOf("on frmA\n  new $x Quillon.TrackSet\nend"),
            "2:3 host lines cannot stand inside an on-block (missing end?)");
  EXPECT_EQ(errorOf("on frmA\non frmB\n"),
            "2:1 on inside the block opened at line 1 (missing end?)");
  EXPECT_EQ(errorOf("end\n"), "1:1 end without on");
  EXPECT_EQ(errorOf("\n\non frmA\n  close\n"), "3:1 the block for frmA is not closed with end");
  EXPECT_EQ(errorOf("$x = call $po\n"), "1:11 expected $object.member after call");
  // Columns count characters, not bytes.
  EXPECT_EQ(errorOf("on frmA\n  type 中文 \"x\"\nend"), "2:8 expected a control name");
  EXPECT_EQ(errorOf("on frmA\n  expect lst.cols = 3\nend"),
            "2:14 expected rows, status, Enabled, Visible, Value, Caption, Text, ListIndex, Tag or "
            "Column[\"CAPTION\"] after \".\"");
}

// A reference of many steps is read whole, each step knowing its column; an error at its end or
// back at its start names the right one.
TEST(ScriptParserTest, LongReferencesKeepEveryStepsColumn) {
  const int steps = 50000;
  std::string line = "print $v";
  for (int i = 0; i < steps; ++i) line += i % 2 == 0 ? ".Value" : "[\"键\"]";
  const Script s = parseScript(line + "\n");
  const auto& ref = std::get<PrintLine>(s.statements.at(0).body).ref;
  ASSERT_EQ(ref.path.size(), static_cast<std::size_t>(steps));
  EXPECT_EQ(ref.path[1].pos.column, 15);  // print $v.Value then the "["
  // Six characters a member step, five a key step ("键" is one character of three bytes).
  EXPECT_EQ(ref.path.back().pos.column, 9 + (steps / 2) * 6 + (steps / 2 - 1) * 5);
  EXPECT_EQ(errorOf(line + ".-"),
            "1:" + std::to_string(10 + (steps / 2) * 11) + " expected a member name after \".\"");
  // Back at the reference's start after its steps were read.
  EXPECT_EQ(errorOf("on frmA\n  expect $x[\"键\"].a[\"键\"] = 1\nend"),
            "2:10 inside an on-block, expect $… may only follow a sql action, for its $error");
  EXPECT_EQ(errorOf("on frmA\n  expect lst.Column[\"数量\"].Widht = 1\nend"),
            "2:27 expected Visible or Width after the column, found \"Widht\"");
}

// The longest script is parsed; one byte more fails where it passes the limit, before any line
// is read.
TEST(ScriptParserTest, AScriptPastTheLimitFailsAtTheLineWhereItPassesIt) {
  std::string text;
  while (text.size() + 11 <= kMaxScriptBytes) text += "set $a = 1\n";
  const std::size_t lines = text.size() / 11;
  text += std::string(kMaxScriptBytes - text.size(), '#');
  EXPECT_EQ(parseScript(text).statements.size(), lines);
  // The first byte past the limit is on the line after the last whole one.
  const std::string past = std::to_string(lines + 1) + ":" +
                           std::to_string(kMaxScriptBytes - lines * 11 + 1) + " " +
                           kScriptTooLongText;
  EXPECT_EQ(errorOf(text + "\n"), past);
  // Refused before a line is parsed: the first line is no statement at all.
  EXPECT_EQ(errorOf("frobnicate\n" + text), past);
}

TEST(ScriptParserTest, ReferencesComparisonsAndPropertySets) {
  const Script s = parseScript(
      "call $r.Refer $login $coll[\"Body\"][1].autoid $n\n"
      "set $x = $rs[2][\"批号\"]\n"
      "set $obj.bIsSTQc = true\n"
      "set $rs[2].iQuantity = $q.count\n"
      "expect $a <> $b.Text\n"
      "expect $n <= 3\n"
      "expect $err like \"load*\"\n"
      "sql \"UPDATE t SET a = 1\"\n");
  ASSERT_EQ(s.statements.size(), 8u);
  const auto& call = std::get<CallLine>(s.statements[0].body);
  EXPECT_EQ(call.args[0].kind, ScriptValue::Kind::Variable);
  ASSERT_EQ(call.args[1].kind, ScriptValue::Kind::Reference);
  EXPECT_EQ(call.args[1].ref.variable, "coll");
  ASSERT_EQ(call.args[1].ref.path.size(), 3u);
  EXPECT_EQ(call.args[1].ref.path[2].name, "autoid");
  EXPECT_EQ(call.args[2].kind, ScriptValue::Kind::Variable);  // a plain name stays by reference
  EXPECT_EQ(std::get<SetLine>(s.statements[1].body).value.ref.path[1].name, "批号");
  const auto& property = std::get<SetLine>(s.statements[2].body);
  EXPECT_EQ(property.target.variable, "obj");
  EXPECT_EQ(property.target.path.at(0).name, "bIsSTQc");
  EXPECT_EQ(std::get<SetLine>(s.statements[3].body).value.kind, ScriptValue::Kind::Reference);
  const auto& ne = std::get<ExpectLine>(s.statements[4].body);
  EXPECT_EQ(ne.op, CompareOp::NotEqual);
  EXPECT_EQ(ne.expected.ref.path.at(0).name, "Text");
  EXPECT_EQ(std::get<ExpectLine>(s.statements[5].body).op, CompareOp::LessEqual);
  EXPECT_EQ(std::get<ExpectLine>(s.statements[6].body).op, CompareOp::Like);
  EXPECT_EQ(std::get<SqlLine>(s.statements[7].body).batch, "UPDATE t SET a = 1");
}

TEST(ScriptParserTest, DialogWordsForControlStatesAnswersAndSql) {
  const Script s = parseScript(
      "filter \"cInvCode = 'A'\"\n"
      "expect no message\n"
      "expect lookup.rows >= 2\n"
      "expect registry \"SOFTWARE\\\\K\" \"Width\" = \"10\"\n"
      "on frmA\n"
      "  expect cmdOk.Enabled = false\n"
      "  expect treeInv[\"K01\"].Checked = true\n"
      "  expect grd.Column[\"数量\"].Width > 900\n"
      "  expect lst[2].cInvCode \"A1\"\n"
      "  expect lst[2][\"数量\"] >= 5\n"
      "  expect message like \"*已关闭*\" title \"提示\"\n"
      "  button grdBody 1 \"仓库\"\n"
      "  filter cancel\n"
      "  sql \"DELETE FROM t\"\n"
      "  expect $error.number = 5\n"
      "end\n");
  ASSERT_EQ(s.statements.size(), 5u);
  EXPECT_EQ(std::get<DialogAction>(s.statements[0].body).kind, ActionKind::Filter);
  EXPECT_EQ(std::get<DialogAction>(s.statements[0].body).text, "cInvCode = 'A'");
  EXPECT_EQ(std::get<DialogAction>(s.statements[1].body).kind, ActionKind::ExpectNoMessage);
  const auto& lookup = std::get<DialogAction>(s.statements[2].body);
  EXPECT_EQ(lookup.kind, ActionKind::ExpectLookupRows);
  EXPECT_EQ(lookup.op, CompareOp::GreaterEqual);
  EXPECT_EQ(lookup.number, 2);
  const auto& registry = std::get<DialogAction>(s.statements[3].body);
  EXPECT_EQ(registry.target, "SOFTWARE\\K");
  EXPECT_EQ(registry.key, "Width");
  const auto& a = std::get<OnBlock>(s.statements[4].body).actions;
  ASSERT_EQ(a.size(), 10u);
  EXPECT_EQ(a[0].property, "Enabled");
  EXPECT_FALSE(a[0].expected.boolean);
  EXPECT_EQ(a[1].property, "Checked");
  EXPECT_EQ(a[1].key, "K01");
  EXPECT_EQ(a[2].property, "ColumnWidth");
  EXPECT_EQ(a[2].key, "数量");
  EXPECT_EQ(a[2].op, CompareOp::Greater);
  EXPECT_EQ(a[3].kind, ActionKind::ExpectCell);
  EXPECT_EQ(a[3].columnCaption, "cInvCode");
  EXPECT_EQ(a[3].expected.text, "A1");
  EXPECT_EQ(a[4].columnCaption, "数量");
  EXPECT_EQ(a[4].op, CompareOp::GreaterEqual);
  EXPECT_EQ(a[5].op, CompareOp::Like);
  EXPECT_EQ(a[5].title, "提示");
  EXPECT_EQ(a[6].kind, ActionKind::Button);
  EXPECT_EQ(a[6].columnCaption, "仓库");
  EXPECT_TRUE(a[7].cancel);
  EXPECT_EQ(a[8].kind, ActionKind::Sql);
  ASSERT_EQ(a[9].kind, ActionKind::ExpectValue);
  EXPECT_EQ(a[9].hostExpect->ref.path.at(0).name, "number");
}

TEST(ScriptParserTest, ReferencesComparisonsAndDialogWordsWrittenWrongly) {
  // References and set.
  EXPECT_EQ(errorOf("set $coll[1] = 2\n"),
            "1:10 set assigns a variable, a property ($obj.Member) or a row's field "
            "($rs[2].Field), not an item by number");
  EXPECT_EQ(errorOf("set $a. = 1\n"), "1:8 expected a member name after \".\"");
  EXPECT_EQ(errorOf("call $r.Refer $coll[\"Body\"\n"), "1:27 expected \"]\"");
  // Comparisons.
  EXPECT_EQ(errorOf("expect $a == 1\n"),
            "1:12 expected a value (text, number, true, false, null, nothing, - or $name), found "
            "\"=\"");
  EXPECT_EQ(errorOf("expect $a ~ 1\n"), "1:11 expected a comparison (=, <>, <, <=, >, >= or like)");
  EXPECT_EQ(errorOf("expect $a like 3\n"), "1:16 like takes a pattern in double quotes");
  EXPECT_EQ(errorOf("expect $a like \"[a\"\n"),
            "1:16 invalid like pattern \"[a\" (an unclosed \"[\" or a descending range)");
  // Control expectations.
  EXPECT_EQ(errorOf("on frmA\n  expect cmdOk.Enabled true\nend"),
            "2:24 expected a comparison (=, <>, <, <=, >, >= or like)");
  EXPECT_EQ(errorOf("on frmA\n  expect grd.Column[\"A\"].Height = 3\nend"),
            "2:26 expected Visible or Width after the column, found \"Height\"");
  EXPECT_EQ(errorOf("on frmA\n  expect grd.Column[2].Width = 3\nend"),
            "2:21 expected the column's caption in double quotes");
  EXPECT_EQ(errorOf("on frmA\n  expect tree[\"K\"].Text = \"a\"\nend"),
            "2:20 expected Checked after the node key");
  EXPECT_EQ(errorOf("on frmA\n  expect lst[2]. \"a\"\nend"),
            "2:17 expected a column name after \".\"");
  EXPECT_EQ(errorOf("on frmA\n  expect cmdOk.Enabled = true\n"),
            "1:1 the block for frmA is not closed with end");
  EXPECT_EQ(errorOf("expect cmdOk.Enabled = true\n"),
            "1:1 a control expectation needs an on-block");
  // Messages, the lookup list, the registry.
  EXPECT_EQ(errorOf("expect no messages\n"), "1:11 expected message after \"expect no\"");
  EXPECT_EQ(errorOf("expect message \"a\" titel \"b\"\n"), "1:20 unexpected text \"titel \"b\"\"");
  EXPECT_EQ(errorOf("expect message like \"[\"\n"),
            "1:21 invalid like pattern \"[\" (an unclosed \"[\" or a descending range)");
  EXPECT_EQ(errorOf("expect lookup.count = 1\n"), "1:15 expected rows after \"lookup.\"");
  EXPECT_EQ(errorOf("expect lookup.rows = many\n"), "1:22 expected a row count");
  EXPECT_EQ(errorOf("expect registry \"K\" = \"x\"\n"),
            "1:21 expected the value's name in double quotes");
  // sql, button, filter.
  EXPECT_EQ(errorOf("sql UPDATE t\n"), "1:5 expected the T-SQL batch in double quotes");
  EXPECT_EQ(errorOf("on frmA\n  sql \"a\" \"b\"\nend"), "2:11 unexpected text \"\"b\"\"");
  EXPECT_EQ(errorOf("on frmA\n  button grd 0 1\nend"), "2:14 rows are numbered from 1");
  EXPECT_EQ(errorOf("on frmA\n  button grd 1\nend"), "2:15 expected a column number or caption");
  EXPECT_EQ(errorOf("button grd 1 1\n"), "1:1 \"button\" needs an on-block naming its form");
  EXPECT_EQ(errorOf("filter maybe\n"), "1:8 expected a text in double quotes, field, ok or cancel");
  // expect $error in a block only after its sql.
  EXPECT_EQ(errorOf("on frmA\n  click cmdOk\n  expect $error = 5\nend"),
            "3:10 inside an on-block, expect $… may only follow a sql action, for its $error");
  EXPECT_EQ(errorOf("on frmA\n  sql \"x\"\n  expect $ok = 5\nend"),
            "3:10 inside an on-block, expect $… may only follow a sql action, for its $error");
}

TEST(ScriptParserTest, KeysMapToCodesShiftsAndCharacters) {
  const SourcePos pos{1, 1};
  EXPECT_EQ(parseKey("F2", pos).keyCode, vbKeyF2);
  EXPECT_EQ(parseKey("F2", pos).keyAscii, 0);
  EXPECT_EQ(parseKey("Enter", pos).keyAscii, 13);
  EXPECT_EQ(parseKey("Esc", pos).keyCode, vbKeyEscape);
  const auto ctrlQ = parseKey("Ctrl+Q", pos);
  EXPECT_EQ(ctrlQ.keyCode, 81);
  EXPECT_EQ(ctrlQ.shift, vbCtrlMask);
  EXPECT_EQ(ctrlQ.keyAscii, 17);
  const auto upper = parseKey("A", pos);
  EXPECT_EQ(upper.shift, vbShiftMask);
  EXPECT_EQ(upper.keyAscii, 'A');
  EXPECT_EQ(parseKey("a", pos).keyAscii, 'a');
  EXPECT_EQ(parseKey("'", pos).keyCode, 0);
  EXPECT_EQ(parseKey("'", pos).keyAscii, '\'');
  EXPECT_EQ(parseKey("Shift+Tab", pos).shift, vbShiftMask);
  EXPECT_THROW(parseKey("F13", pos), ScriptError);
  EXPECT_THROW(parseKey("ab", pos), ScriptError);
}

}  // namespace
}  // namespace quillon::script
