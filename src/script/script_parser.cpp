#include "script/script_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

#include "automation/names.h"
#include "automation/text_compare.h"
#include "automation/text_escape.h"
#include "automation/utf8.h"
#include "forms/constants.h"
#include "script/script_line_parser.h"

namespace quillon::script {

ScriptError::ScriptError(SourcePos pos, std::string message)
    : std::runtime_error("line " + std::to_string(pos.line) + ", column " +
                         std::to_string(pos.column) + ": " + message),
      pos_(pos),
      message_(std::move(message)) {}

namespace {

CallLine parseCall(LineParser& p) {
  CallLine call;
  const std::size_t start = p.offset();
  call.object = p.variable();
  if (!p.accept('.')) p.failAt(start, "expected $object.member after call");
  call.member = p.name("a member name");
  while (!p.atEnd()) call.args.push_back(p.value());
  return call;
}

// ---- one parser for each host line

Statement::Body parseLogin(LineParser& p) {
  LoginLine login;
  while (!p.atEnd()) {
    const std::size_t optAt = p.offset();
    const std::string key = p.word("=");
    if (key.empty() || !p.accept('=')) p.failAt(optAt, "expected name=value");
    std::string val = p.atString() ? p.string("a value") : p.bare("a value");
    login.options.emplace_back(key, std::move(val));
  }
  return login;
}

Statement::Body parseNew(LineParser& p) {
  NewLine n;
  n.variable = p.variable();
  n.progId = p.bare("a ProgID");
  p.expectEnd();
  return n;
}

Statement::Body parseCallLine(LineParser& p) {
  return parseCall(p);
}

Statement::Body parsePrint(LineParser& p) {
  PrintLine print{p.reference()};
  p.expectEnd();
  return print;
}

Statement::Body parseSet(LineParser& p) {
  SetLine set;
  set.target = p.reference();
  if (!set.target.path.empty() && set.target.path.back().kind == ScriptRef::Step::Kind::Index) {
    throw ScriptError(set.target.path.back().pos,
                      "set assigns a variable, a property ($obj.Member) or a row's field "
                      "($rs[2].Field), not an item by number");
  }
  p.expect('=', "\"=\"");
  set.value = p.value();
  p.expectEnd();
  return set;
}

Statement::Body parseSqlLine(LineParser& p) {
  SqlLine sql{p.string("the T-SQL batch"), false};
  p.expectEnd();
  return sql;
}

struct HostWord {
  const char* word;
  Statement::Body (*parse)(LineParser&);
};
constexpr HostWord kHostLines[] = {
    {"login", parseLogin}, {"new", parseNew}, {"call", parseCallLine},
    {"print", parsePrint}, {"set", parseSet}, {"sql", parseSqlLine},
};

ExpectLine parseExpectLine(LineParser& p) {
  ExpectLine e;
  e.ref = p.reference();
  p.comparisonAndValue(e.op, e.expected);
  p.expectEnd();
  return e;
}

// Words that make sense outside an on-block: queued answers and the expectations about what the
// dialogs showed or left behind.
bool allowedOutsideBlock(ActionKind kind) {
  switch (kind) {
    case ActionKind::Answer:
    case ActionKind::Input:
    case ActionKind::Pick:
    case ActionKind::Date:
    case ActionKind::Filter:
    case ActionKind::Save:
    case ActionKind::ExpectMessage:
    case ActionKind::ExpectNoMessage:
    case ActionKind::ExpectLookupRows:
    case ActionKind::ExpectRegistry:
    case ActionKind::ExpectClipboard:
      return true;
    default:
      return false;
  }
}

// Builds the script line by line; an open on-block collects the actions until its end.
class ScriptBuilder {
 public:
  void line(std::string_view text, int lineNo);
  Script finish();

 private:
  void openBlock(LineParser& p, SourcePos pos, std::size_t wordStart);
  void closeBlock(LineParser& p, std::size_t wordStart);
  void resultCall(LineParser& p, SourcePos pos);
  void expectLine(LineParser& p, SourcePos pos, std::size_t wordStart);
  void hostLine(LineParser& p, SourcePos pos, std::size_t wordStart,
                Statement::Body (*parse)(LineParser&));
  void action(LineParser& p, DialogAction a, std::size_t wordStart, const std::string& word);
  void noBlock(LineParser& p, std::size_t offset) const;
  std::vector<DialogAction>& actions() { return std::get<OnBlock>(block_->body).actions; }

  Script script_;
  std::optional<Statement> block_;  // the open on-block
};

void ScriptBuilder::noBlock(LineParser& p, std::size_t offset) const {
  if (block_) p.failAt(offset, "host lines cannot stand inside an on-block (missing end?)");
}

void ScriptBuilder::openBlock(LineParser& p, SourcePos pos, std::size_t wordStart) {
  if (block_) {
    p.failAt(wordStart, "on inside the block opened at line " + std::to_string(block_->pos.line) +
                            " (missing end?)");
  }
  OnBlock b;
  b.pos = pos;
  b.form = p.name("a form name");
  p.expectEnd();
  block_ = Statement{pos, std::move(b)};
}

void ScriptBuilder::closeBlock(LineParser& p, std::size_t wordStart) {
  if (!block_) p.failAt(wordStart, "end without on");
  p.expectEnd();
  script_.statements.push_back(std::move(*block_));
  block_.reset();
}

void ScriptBuilder::resultCall(LineParser& p, SourcePos pos) {
  noBlock(p, p.offset());
  const std::string var = p.variable();
  p.expect('=', "\"=\" after the variable");
  const std::size_t callAt = p.offset();
  if (!automation::sameName(p.word(""), "call")) p.failAt(callAt, "expected call after \"=\"");
  CallLine call = parseCall(p);
  call.resultVariable = var;
  script_.statements.push_back({pos, std::move(call)});
}

void ScriptBuilder::expectLine(LineParser& p, SourcePos pos, std::size_t wordStart) {
  if (p.peek() != '$') {
    action(p, parseDialogExpect(p, pos), wordStart, "expect");
    return;
  }
  if (!block_) {
    script_.statements.push_back({pos, parseExpectLine(p)});
    return;
  }
  // In a block only the error of the block's own sql may be expected, right after it.
  const std::size_t refAt = p.offset();
  auto e = std::make_shared<ExpectLine>(parseExpectLine(p));
  const bool afterSql = !actions().empty() && (actions().back().kind == ActionKind::Sql ||
                                               actions().back().kind == ActionKind::ExpectValue);
  if (e->ref.variable != "error" || !afterSql) {
    p.failAt(refAt, "inside an on-block, expect $… may only follow a sql action, for its $error");
  }
  DialogAction a;
  a.kind = ActionKind::ExpectValue;
  a.pos = pos;
  a.hostExpect = std::move(e);
  actions().push_back(std::move(a));
}

void ScriptBuilder::hostLine(LineParser& p, SourcePos pos, std::size_t wordStart,
                             Statement::Body (*parse)(LineParser&)) {
  noBlock(p, wordStart);
  script_.statements.push_back({pos, parse(p)});
}

void ScriptBuilder::action(LineParser& p, DialogAction a, std::size_t wordStart,
                           const std::string& word) {
  if (block_) {
    actions().push_back(std::move(a));
  } else if (allowedOutsideBlock(a.kind)) {
    script_.statements.push_back({a.pos, std::move(a)});
  } else if (word == "expect") {
    p.failAt(wordStart, "a control expectation needs an on-block");
  } else {
    p.failAt(wordStart, "\"" + word + "\" needs an on-block naming its form");
  }
}

void ScriptBuilder::line(std::string_view text, int lineNo) {
  LineParser p(text, lineNo);
  if (p.atEnd()) return;
  const SourcePos pos = p.here();
  const std::size_t wordStart = p.offset();
  if (p.peek() == '$') return resultCall(p, pos);  // $var = call ...

  const std::string word = p.word("");
  if (automation::sameName(word, "on")) return openBlock(p, pos, wordStart);
  if (automation::sameName(word, "end")) return closeBlock(p, wordStart);
  if (automation::sameName(word, "expect")) return expectLine(p, pos, wordStart);
  // sql is a host line outside a block and a dialog action inside one.
  if (!block_ || !automation::sameName(word, "sql")) {
    for (const auto& hw : kHostLines) {
      if (automation::sameName(word, hw.word)) return hostLine(p, pos, wordStart, hw.parse);
    }
  }
  std::optional<DialogAction> a = parseAction(word, p, pos);
  if (!a) p.failAt(wordStart, "unknown statement \"" + word + "\"");
  action(p, std::move(*a), wordStart, word);
}

Script ScriptBuilder::finish() {
  if (block_) {
    throw ScriptError(block_->pos, "the block for " + std::get<OnBlock>(block_->body).form +
                                       " is not closed with end");
  }
  return std::move(script_);
}

}  // namespace

KeyStroke parseKey(std::string_view spec, SourcePos pos) {
  KeyStroke k;
  std::string_view rest = spec;
  // Modifiers: Ctrl+, Shift+, Alt+ in any order.
  for (;;) {
    const auto plus = rest.find('+');
    if (plus == std::string_view::npos || plus + 1 >= rest.size()) break;
    const auto mod = rest.substr(0, plus);
    if (automation::sameName(mod, "ctrl")) {
      k.shift |= forms::vbCtrlMask;
    } else if (automation::sameName(mod, "shift")) {
      k.shift |= forms::vbShiftMask;
    } else if (automation::sameName(mod, "alt")) {
      k.shift |= forms::vbAltMask;
    } else {
      break;
    }
    rest = rest.substr(plus + 1);
  }
  struct Named {
    const char* name;
    int code;
    int ascii;
  };
  static constexpr Named kNamed[] = {
      {"Enter", forms::vbKeyReturn, 13},  {"Esc", forms::vbKeyEscape, 27},
      {"Escape", forms::vbKeyEscape, 27}, {"Tab", forms::vbKeyTab, 0},
      {"Space", forms::vbKeySpace, 32},   {"Backspace", forms::vbKeyBack, 8},
      {"Delete", forms::vbKeyDelete, 0},  {"Home", forms::vbKeyHome, 0},
      {"End", forms::vbKeyEnd, 0},        {"Left", forms::vbKeyLeft, 0},
      {"Right", forms::vbKeyRight, 0},    {"Up", forms::vbKeyUp, 0},
      {"Down", forms::vbKeyDown, 0},
  };
  for (const auto& n : kNamed) {
    if (automation::sameName(rest, n.name)) {
      k.keyCode = n.code;
      k.keyAscii = k.shift & (forms::vbCtrlMask | forms::vbAltMask) ? 0 : n.ascii;
      return k;
    }
  }
  if (rest.size() >= 2 && (rest[0] == 'F' || rest[0] == 'f')) {
    int n = 0;
    const auto [end, ec] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), n);
    if (ec == std::errc() && end == rest.data() + rest.size() && n >= 1 && n <= 12) {
      k.keyCode = forms::vbKeyF1 + n - 1;
      return k;
    }
  }
  const auto chars = automation::utf8::decode(rest);
  if (chars.size() != 1) throw ScriptError(pos, "unknown key \"" + std::string(spec) + "\"");
  const char32_t c = chars.front();
  const bool upper = c >= 'A' && c <= 'Z';
  if (upper || (c >= 'a' && c <= 'z')) {
    // A letter key's code is its capital.
    k.keyCode = static_cast<int>(automation::upperAscii(c));
    if (upper && (k.shift & forms::vbCtrlMask) == 0) k.shift |= forms::vbShiftMask;
    if ((k.shift & forms::vbCtrlMask) != 0) {
      k.keyAscii = k.keyCode - 'A' + 1;  // Ctrl+B types character 2, as on the platform
    } else if ((k.shift & forms::vbAltMask) == 0) {
      k.keyAscii = static_cast<int>(c);
    }
  } else if (c < 128 && std::isdigit(static_cast<int>(c)) != 0) {
    k.keyCode = static_cast<int>(c);
    k.keyAscii = (k.shift & (forms::vbCtrlMask | forms::vbAltMask)) != 0 ? 0 : static_cast<int>(c);
  } else {
    if (k.shift != 0) throw ScriptError(pos, "unknown key \"" + std::string(spec) + "\"");
    k.keyAscii = static_cast<int>(c);  // a character without a key of its own: KeyPress only
  }
  return k;
}

Script parseScript(std::string_view text) {
  if (text.size() > kMaxScriptBytes) {
    // The line and column of the first byte past the limit.
    const std::string_view kept = text.substr(0, kMaxScriptBytes);
    const std::size_t lastNewline = kept.rfind('\n');
    const std::size_t lineStart = lastNewline == std::string_view::npos ? 0 : lastNewline + 1;
    const auto line = static_cast<int>(std::count(kept.begin(), kept.end(), '\n')) + 1;
    const auto column = static_cast<int>(automation::utf8::charCount(kept.substr(lineStart))) + 1;
    throw ScriptError({line, column}, kScriptTooLongText);
  }
  ScriptBuilder builder;
  int lineNo = 0;
  for (std::size_t from = 0; from <= text.size();) {
    const std::size_t nl = std::min(text.find('\n', from), text.size());
    builder.line(text.substr(from, nl - from), ++lineNo);
    from = nl + 1;
  }
  return builder.finish();
}

std::string quoteText(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (!automation::appendBackslashEscape(out, c, true)) out += c;
  }
  return out + "\"";
}

}  // namespace quillon::script
