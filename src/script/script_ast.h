// The host-script language as a syntax tree: host lines (login, new, call, print, expect on
// variables, set, sql) and dialog lines (on-blocks of actions, queued answers and dialog expects),
// each with the line and column it came from.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "automation/variant.h"

namespace quillon::script {

struct SourcePos {
  int line = 0;
  int column = 0;
};

// A parse error or a failure while running: names the line and column it belongs to.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(SourcePos pos, std::string message);
  SourcePos pos() const { return pos_; }
  const std::string& message() const { return message_; }

 private:
  SourcePos pos_;
  std::string message_;
};

// $name followed by members, indexes and keys: $rs.count, $rs[2].cInvCode, $coll["Parent"].count.
struct ScriptRef {
  struct Step {
    enum class Kind { Member, Index, Key };
    Kind kind = Kind::Member;
    std::string name;  // member name or key
    int index = 0;
    SourcePos pos;  // of the "." or "["
  };
  std::string variable;
  std::vector<Step> path;
  SourcePos pos;
};

// A value of a host line: a literal, a variable (passed by reference to a call) or a reference
// with steps (its value, passed by value).
struct ScriptValue {
  enum class Kind { String, Long, Double, Boolean, Null, Nothing, Omitted, Variable, Reference };
  Kind kind = Kind::Omitted;
  std::string text;  // the string, or the variable name without "$"
  double number = 0;
  bool boolean = false;
  ScriptRef ref;  // Variable and Reference
  SourcePos pos;
};

// How an expectation compares what it found with what it expects.
enum class CompareOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like };

struct LoginLine {
  std::vector<std::pair<std::string, std::string>> options;  // user=demo date=2026-12-05
};
struct NewLine {
  std::string variable;
  std::string progId;
};
struct CallLine {
  std::optional<std::string> resultVariable;
  std::string object;  // variable name without "$"
  std::string member;
  std::vector<ScriptValue> args;
};
struct PrintLine {
  ScriptRef ref;
};
struct ExpectLine {
  ScriptRef ref;
  CompareOp op = CompareOp::Equal;
  ScriptValue expected;
};
// `set $v = VALUE` (no path), or a property or row field: `set $obj.Member = VALUE`.
struct SetLine {
  ScriptRef target;
  ScriptValue value;
};
// A T-SQL batch run on a connection of its own, as another workstation would.
struct SqlLine {
  std::string batch;
  bool inBlock = false;  // a dialog action rather than a host line
};

enum class ActionKind {
  Type,
  Focus,
  Key,
  Click,
  Check,
  Mark,
  Select,
  Cell,
  RClick,
  Tab,
  Choose,
  Menu,
  Toolbar,
  Node,
  Answer,
  Input,
  Pick,
  Date,
  ExpectMessage,
  ExpectText,
  ExpectCell,
  ExpectRows,
  Close,
  Button,
  Filter,
  Sql,
  ExpectProperty,  // CONTROL.PROPERTY, TREE["KEY"].Checked, GRID.Column["CAPTION"].Width
  ExpectNoMessage,
  ExpectLookupRows,
  ExpectRegistry,
  ExpectValue,  // `expect $error …` after a sql action of the block
  Export,       // export LIST to "FILE"
  ExpectClipboard,
  Sort,  // sort LIST by "CAPTION" [descending]
  Find,  // find LIST "TEXT" [next]
  Save,  // save "FILE" / save cancel: the answer to the next save-file question
  Scan,  // scan LIST "TEXT"
};

std::string_view actionName(ActionKind kind);

struct DialogAction {
  ActionKind kind = ActionKind::Close;
  SourcePos pos;
  std::string target;  // control, menu item, toolbar key
  std::string text;    // typed / expected / chosen text, node key, input text, filter, batch
  int row = 0;
  int number = 0;  // tab index, expected row count, answer (vbOK ...)
  std::optional<int> columnNumber;
  std::string columnCaption;  // when the column is named by its caption; a filter range's upper end
  std::optional<bool> on;     // check on/off, node ... check on/off
  bool cancel = false;        // input/pick/date cancel
  std::vector<int> picks;
  automation::DateValue date;
  int keyCode = 0;
  int shift = 0;
  int keyAscii = 0;
  // Expectations: how to compare, and with what (ExpectText, and ExpectCell written with a bare
  // text, compare `text` for equality).
  CompareOp op = CompareOp::Equal;
  ScriptValue expected;
  std::string property;              // ExpectProperty: Enabled, Visible, ..., Checked, Width
  std::string key;                   // a tree node's key, a column's caption, a registry value
  std::optional<std::string> title;  // expect message … title "TITLE"
  std::shared_ptr<const ExpectLine> hostExpect;  // ExpectValue
};

struct OnBlock {
  std::string form;
  std::vector<DialogAction> actions;
  SourcePos pos;
};

struct Statement {
  SourcePos pos;
  using Body = std::variant<LoginLine, NewLine, CallLine, PrintLine, ExpectLine, SetLine, OnBlock,
                            DialogAction, SqlLine>;
  Body body;
};

struct Script {
  std::vector<Statement> statements;
};

}  // namespace quillon::script
