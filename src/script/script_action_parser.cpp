// Dialog actions and dialog expectations: one small parser for each action word, found through a
// table from the word, and the forms an `expect` line takes when it is about the dialog.
#include <charconv>
#include <string>

#include "automation/names.h"
#include "forms/constants.h"
#include "forms/ui_host.h"
#include "script/script_line_parser.h"
#include "script/script_parser.h"

namespace quillon::script {

namespace {

bool onOff(LineParser& p) {
  const std::size_t start = p.offset();
  const std::string w = p.bare("on or off");
  if (automation::sameName(w, "on")) return true;
  if (automation::sameName(w, "off")) return false;
  p.failAt(start, "expected on or off, found \"" + w + "\"");
}

void parseColumn(LineParser& p, DialogAction& a, std::string_view stops) {
  if (p.atString()) {
    a.columnCaption = p.string("a column caption");
    return;
  }
  const std::size_t start = p.offset();
  const std::string w = p.word(stops);
  if (w.empty()) p.fail("expected a column number or caption");
  int n = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), n);
  if (ec == std::errc() && end == w.data() + w.size()) {
    if (n < 0) p.failAt(start, "a column number cannot be negative");
    a.columnNumber = n;
  } else {
    a.columnCaption = w;
  }
}

int parseRow(LineParser& p) {
  const std::size_t start = p.offset();
  const int row = p.integer("a row number");
  if (row < 1) p.failAt(start, "rows are numbered from 1");
  return row;
}

std::string textOrBare(LineParser& p, const char* what) {
  return p.atString() ? p.string(what) : p.bare(what);
}

// ---- one parser for each action word

void parseType(LineParser& p, DialogAction& a) {
  a.target = p.name("a control name");
  a.text = p.string("the text to type");
}

void parseControl(LineParser& p, DialogAction& a) {
  a.target = p.name("a control name");
}

void parseMenu(LineParser& p, DialogAction& a) {
  a.target = p.name("a menu item name");
}

void parseKeyAction(LineParser& p, DialogAction& a) {
  p.skipSpaces();
  const SourcePos keyPos = p.here();
  a.text = textOrBare(p, "a key");
  const KeyStroke k = parseKey(a.text, keyPos);
  a.keyCode = k.keyCode;
  a.shift = k.shift;
  a.keyAscii = k.keyAscii;
}

void parseCheck(LineParser& p, DialogAction& a) {
  a.target = p.name("a check box name");
  a.on = onOff(p);
}

void parseListRow(LineParser& p, DialogAction& a) {
  a.target = p.name("a list name");
  a.row = parseRow(p);
}

void parseCell(LineParser& p, DialogAction& a) {
  a.target = p.name("a grid name");
  a.row = parseRow(p);
  parseColumn(p, a, "");
  a.text = p.string("the cell text");
}

void parseButton(LineParser& p, DialogAction& a) {
  a.target = p.name("a grid name");
  a.row = parseRow(p);
  parseColumn(p, a, "");
}

void parseTab(LineParser& p, DialogAction& a) {
  a.target = p.name("a tab control name");
  const std::size_t start = p.offset();
  a.number = p.integer("a tab index");
  if (a.number < 0) p.failAt(start, "tabs are numbered from 0");
}

void parseChoose(LineParser& p, DialogAction& a) {
  a.target = p.name("a combo box name");
  a.text = p.string("the item");
}

void parseToolbar(LineParser& p, DialogAction& a) {
  a.text = textOrBare(p, "a button key");
}

void parseNode(LineParser& p, DialogAction& a) {
  a.target = p.name("a tree name");
  a.text = textOrBare(p, "a node key");
  if (p.atEnd()) return;
  const std::size_t start = p.offset();
  if (!p.acceptWord("check")) p.failAt(start, "expected check on|off after the node key");
  a.on = onOff(p);
}

void parseAnswer(LineParser& p, DialogAction& a) {
  const std::size_t start = p.offset();
  const std::string w = p.bare("ok, yes, no or cancel");
  static constexpr std::pair<const char*, int> kAnswers[] = {
      {"ok", forms::vbOK},        {"cancel", forms::vbCancel}, {"yes", forms::vbYes},
      {"no", forms::vbNo},        {"abort", forms::vbAbort},   {"retry", forms::vbRetry},
      {"ignore", forms::vbIgnore}};
  for (const auto& [word, answer] : kAnswers) {
    if (automation::sameName(w, word)) a.number = answer;
  }
  if (a.number == 0) p.failAt(start, "expected ok, yes, no or cancel, found \"" + w + "\"");
}

void parseInput(LineParser& p, DialogAction& a) {
  a.cancel = textOrCancel(p, a.text, "the input text");
}

// filter "TEXT" | filter cancel | filter ok | filter field "CAPTION" "VALUE" ["TO"]
void parseFilter(LineParser& p, DialogAction& a) {
  if (p.atString()) {
    a.text = p.string("the filter's WHERE text");
    return;
  }
  const std::size_t start = p.offset();
  const std::string w = p.bare("a text, field, ok or cancel");
  if (automation::sameName(w, "cancel")) {
    a.cancel = true;
  } else if (automation::sameName(w, "ok")) {
    a.number = forms::vbOK;
  } else if (automation::sameName(w, "field")) {
    a.target = "field";
    a.key = p.string("the field's caption");
    a.text = p.string("the field's value");
    if (p.atString()) a.columnCaption = p.string("the upper end of the range");
  } else {
    p.failAt(start, "expected a text in double quotes, field, ok or cancel");
  }
}

// A bare word, or cancel (then a.cancel is set and true returned).
bool bareOrCancel(LineParser& p, DialogAction& a, std::string& w, std::size_t& start,
                  const char* what) {
  start = p.offset();
  w = p.bare(what);
  a.cancel = automation::sameName(w, "cancel");
  return a.cancel;
}

void parsePick(LineParser& p, DialogAction& a) {
  std::size_t start = 0;
  std::string w;
  if (bareOrCancel(p, a, w, start, "row numbers or cancel")) return;
  std::size_t from = 0;
  while (from <= w.size()) {
    const std::size_t comma = std::min(w.find(',', from), w.size());
    int n = 0;
    const auto [end, ec] = std::from_chars(w.data() + from, w.data() + comma, n);
    if (ec != std::errc() || end != w.data() + comma || n < 1) {
      p.failAt(start, "expected row numbers from 1 separated by \",\" (like 1,3) or cancel");
    }
    a.picks.push_back(n);
    from = comma + 1;
  }
}

void parseDate(LineParser& p, DialogAction& a) {
  std::size_t start = 0;
  std::string w;
  if (bareOrCancel(p, a, w, start, "a date or cancel")) return;
  const auto date = forms::parseIsoDate(w);
  if (!date) p.failAt(start, "expected a date YYYY-MM-DD or cancel, found \"" + w + "\"");
  a.date = *date;
  a.text = w;
}

void parseSql(LineParser& p, DialogAction& a) {
  a.text = p.string("the T-SQL batch");
}

void parseSave(LineParser& p, DialogAction& a) {
  a.cancel = textOrCancel(p, a.text, "the file name");
}

// scan LIST "TEXT"
void parseScan(LineParser& p, DialogAction& a) {
  a.target = p.name("a list name");
  a.text = p.string("the scanned text");
}

void parseNothing(LineParser&, DialogAction&) {}

// export LIST to "FILE"
void parseExport(LineParser& p, DialogAction& a) {
  a.target = p.name("a list name");
  if (!p.acceptWord("to")) p.fail("expected to \"FILE\" after the list name");
  a.text = p.string("the file name");
}

// sort LIST by "CAPTION" [descending]
void parseSort(LineParser& p, DialogAction& a) {
  a.target = p.name("a list name");
  if (!p.acceptWord("by")) p.fail("expected by \"CAPTION\" after the list name");
  a.columnCaption = p.string("the column's caption");
  a.on = !p.acceptWord("descending");
}

// find LIST "TEXT" [next]
void parseFind(LineParser& p, DialogAction& a) {
  a.target = p.name("a list name");
  a.text = p.string("the text to find");
  a.on = p.acceptWord("next");
}

struct ActionWord {
  const char* word;
  ActionKind kind;
  void (*parse)(LineParser&, DialogAction&);
};
constexpr ActionWord kActions[] = {
    {"type", ActionKind::Type, parseType},          {"focus", ActionKind::Focus, parseControl},
    {"key", ActionKind::Key, parseKeyAction},       {"click", ActionKind::Click, parseControl},
    {"check", ActionKind::Check, parseCheck},       {"mark", ActionKind::Mark, parseListRow},
    {"select", ActionKind::Select, parseListRow},   {"cell", ActionKind::Cell, parseCell},
    {"rclick", ActionKind::RClick, parseControl},   {"tab", ActionKind::Tab, parseTab},
    {"choose", ActionKind::Choose, parseChoose},    {"menu", ActionKind::Menu, parseMenu},
    {"toolbar", ActionKind::Toolbar, parseToolbar}, {"node", ActionKind::Node, parseNode},
    {"answer", ActionKind::Answer, parseAnswer},    {"input", ActionKind::Input, parseInput},
    {"pick", ActionKind::Pick, parsePick},          {"date", ActionKind::Date, parseDate},
    {"close", ActionKind::Close, parseNothing},     {"button", ActionKind::Button, parseButton},
    {"filter", ActionKind::Filter, parseFilter},    {"sql", ActionKind::Sql, parseSql},
    {"export", ActionKind::Export, parseExport},    {"sort", ActionKind::Sort, parseSort},
    {"find", ActionKind::Find, parseFind},          {"save", ActionKind::Save, parseSave},
    {"scan", ActionKind::Scan, parseScan},
};

// ---- expect lines about the dialog

// The control properties `expect CONTROL.PROPERTY` reads, as the documents spell them.
constexpr const char* kProperties[] = {"Enabled", "Visible",   "Value", "Caption",
                                       "Text",    "ListIndex", "Tag"};

// message "text" / message like "PATTERN", then an optional title "TITLE".
void expectMessage(LineParser& p, DialogAction& a, bool like) {
  a.kind = ActionKind::ExpectMessage;
  if (like) a.op = CompareOp::Like;
  const std::size_t start = p.offset();
  a.text = p.string(like ? "the message pattern" : "the message text");
  if (like) p.checkLikePattern(start, a.text);
  if (p.acceptWord("title")) a.title = p.string("the message box's title");
}

void expectRows(LineParser& p, DialogAction& a, ActionKind kind) {
  a.kind = kind;
  a.op = p.comparison();
  a.number = p.integer("a row count");
}

// NAME.Column["CAPTION"].Visible / .Width
void expectColumn(LineParser& p, DialogAction& a) {
  p.expect('[', "[\"CAPTION\"] after Column");
  a.key = p.string("the column's caption");
  p.expect(']', "\"]\"");
  p.expect('.', "\".Visible\" or \".Width\" after the column");
  const std::size_t start = p.offset();
  const std::string member = p.identifier("Visible or Width");
  if (automation::sameName(member, "Visible")) {
    a.property = "ColumnVisible";
  } else if (automation::sameName(member, "Width")) {
    a.property = "ColumnWidth";
  } else {
    p.failAt(start, "expected Visible or Width after the column, found \"" + member + "\"");
  }
  a.kind = ActionKind::ExpectProperty;
  p.comparisonAndValue(a.op, a.expected);
}

void expectMember(LineParser& p, DialogAction& a) {
  const std::size_t start = p.offset();
  const std::string member = p.identifier("rows or a property after \".\"");
  if (automation::sameName(member, "rows")) return expectRows(p, a, ActionKind::ExpectRows);
  if (automation::sameName(member, "Column")) return expectColumn(p, a);
  if (automation::sameName(member, "status")) {
    // The status line under a list: `expect LIST.status "text"`, or a comparison and a value.
    a.kind = ActionKind::ExpectProperty;
    a.property = "Status";
    if (p.atString()) {
      a.expected.kind = ScriptValue::Kind::String;
      a.expected.text = p.string("the expected status text");
      return;
    }
    p.comparisonAndValue(a.op, a.expected);
    return;
  }
  for (const char* property : kProperties) {
    if (!automation::sameName(member, property)) continue;
    a.kind = ActionKind::ExpectProperty;
    a.property = property;
    p.comparisonAndValue(a.op, a.expected);
    return;
  }
  p.failAt(start,
           "expected rows, status, Enabled, Visible, Value, Caption, Text, ListIndex, Tag or "
           "Column[\"CAPTION\"] after \".\"");
}

// The expected text of a cell: "text" as first written, or a comparison and a value.
void expectCellValue(LineParser& p, DialogAction& a) {
  a.kind = ActionKind::ExpectCell;
  if (p.atString()) {
    a.text = p.string("the expected text");
    a.expected.kind = ScriptValue::Kind::String;
    a.expected.text = a.text;
    return;
  }
  p.comparisonAndValue(a.op, a.expected);
}

// NAME[...]: a cell [ROW,COLUMN], a row's column [ROW].COLUMN or [ROW]["CAPTION"], a tree node
// ["KEY"].Checked.
void expectIndexed(LineParser& p, DialogAction& a) {
  if (p.atString()) {
    a.key = p.string("a node key");
    p.expect(']', "\"]\"");
    p.expect('.', "\".Checked\" after the node key");
    const std::size_t start = p.offset();
    if (!automation::sameName(p.identifier("Checked"), "Checked")) {
      p.failAt(start, "expected Checked after the node key");
    }
    a.kind = ActionKind::ExpectProperty;
    a.property = "Checked";
    p.comparisonAndValue(a.op, a.expected);
    return;
  }
  const std::size_t start = p.offset();
  a.row = p.integer("a row number");
  if (a.row < 0) p.failAt(start, "rows are numbered from 0");
  if (p.accept(',')) {
    parseColumn(p, a, "]");
    p.expect(']', "\"]\"");
  } else {
    p.expect(']', "\",\" between row and column, or \"]\"");
    if (p.accept('[')) {
      a.columnCaption = p.string("a column caption");
      p.expect(']', "\"]\"");
    } else {
      p.expect('.', "\".COLUMN\" after the row");
      a.columnCaption = p.identifier("a column name after \".\"");
    }
  }
  expectCellValue(p, a);
}

}  // namespace

std::string_view actionName(ActionKind kind) {
  for (const auto& aw : kActions) {
    if (aw.kind == kind) return aw.word;
  }
  return "expect";
}

std::optional<DialogAction> parseAction(std::string_view word, LineParser& p, SourcePos pos) {
  for (const auto& aw : kActions) {
    if (!automation::sameName(word, aw.word)) continue;
    DialogAction a;
    a.kind = aw.kind;
    a.pos = pos;
    aw.parse(p, a);
    p.expectEnd();
    return a;
  }
  return std::nullopt;
}

DialogAction parseDialogExpect(LineParser& p, SourcePos pos) {
  DialogAction a;
  a.pos = pos;
  if (p.acceptWord("no")) {
    if (!p.acceptWord("message")) p.fail("expected message after \"expect no\"");
    a.kind = ActionKind::ExpectNoMessage;
    p.expectEnd();
    return a;
  }
  const std::string target = p.name("a control name or message");
  if (automation::sameName(target, "message")) {
    const bool like = !p.atString() && p.acceptWord("like");
    if (like || p.atString()) {
      expectMessage(p, a, like);
      p.expectEnd();
      return a;
    }
  }
  if (automation::sameName(target, "clipboard") && p.peek() != '.' && p.peek() != '[') {
    // What the lists copied with Ctrl+C: `expect clipboard "text"` or a comparison and a value.
    a.kind = ActionKind::ExpectClipboard;
    if (p.atString()) {
      a.expected.kind = ScriptValue::Kind::String;
      a.expected.text = p.string("the expected clipboard text");
    } else {
      p.comparisonAndValue(a.op, a.expected);
    }
    p.expectEnd();
    return a;
  }
  if (automation::sameName(target, "registry") && p.atString()) {
    a.kind = ActionKind::ExpectRegistry;
    a.target = p.string("the registry key");
    a.key = p.string("the value's name");
    p.comparisonAndValue(a.op, a.expected);
    p.expectEnd();
    return a;
  }
  a.target = target;
  if (p.accept('[')) {
    expectIndexed(p, a);
  } else if (p.accept('.')) {
    if (automation::sameName(target, "lookup")) {
      const std::size_t member = p.offset();
      if (!automation::sameName(p.identifier("rows"), "rows"))
        p.failAt(member, "expected rows after \"lookup.\"");
      expectRows(p, a, ActionKind::ExpectLookupRows);
    } else {
      expectMember(p, a);
    }
  } else {
    a.kind = ActionKind::ExpectText;
    a.text = p.string("the expected text");
  }
  p.expectEnd();
  return a;
}

}  // namespace quillon::script
