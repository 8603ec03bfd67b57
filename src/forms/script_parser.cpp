#include "forms/script_parser.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "automation/names.h"
#include "forms/constants.h"
#include "forms/ui_host.h"
#include "forms/utf8.h"

namespace quillon::forms::script {

ScriptError::ScriptError(SourcePos pos, std::string message)
    : std::runtime_error("line " + std::to_string(pos.line) + ", column " +
                         std::to_string(pos.column) + ": " + message),
      pos_(pos),
      message_(std::move(message)) {}

std::string_view actionName(ActionKind kind) {
  switch (kind) {
    case ActionKind::Type:
      return "type";
    case ActionKind::Focus:
      return "focus";
    case ActionKind::Key:
      return "key";
    case ActionKind::Click:
      return "click";
    case ActionKind::Check:
      return "check";
    case ActionKind::Mark:
      return "mark";
    case ActionKind::Select:
      return "select";
    case ActionKind::Cell:
      return "cell";
    case ActionKind::RClick:
      return "rclick";
    case ActionKind::Tab:
      return "tab";
    case ActionKind::Choose:
      return "choose";
    case ActionKind::Menu:
      return "menu";
    case ActionKind::Toolbar:
      return "toolbar";
    case ActionKind::Node:
      return "node";
    case ActionKind::Answer:
      return "answer";
    case ActionKind::Input:
      return "input";
    case ActionKind::Pick:
      return "pick";
    case ActionKind::Date:
      return "date";
    case ActionKind::ExpectMessage:
    case ActionKind::ExpectText:
    case ActionKind::ExpectCell:
    case ActionKind::ExpectRows:
      return "expect";
    case ActionKind::Close:
      return "close";
  }
  return "action";
}

namespace {

bool isNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool isNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Reads one line with a cursor; every error names the cursor's column.
class LineParser {
 public:
  LineParser(std::string_view line, int lineNo) : line_(line), lineNo_(lineNo) {}

  SourcePos here() const { return {lineNo_, column(pos_)}; }
  SourcePos at(std::size_t offset) const { return {lineNo_, column(offset)}; }
  // The start of the next item (blanks skipped), for errors that point back at it.
  std::size_t offset() {
    skipSpaces();
    return pos_;
  }

  [[noreturn]] void fail(const std::string& message) const { throw ScriptError(here(), message); }
  [[noreturn]] void failAt(std::size_t offset, const std::string& message) const {
    throw ScriptError(at(offset), message);
  }

  void skipSpaces() {
    while (pos_ < line_.size() &&
           (line_[pos_] == ' ' || line_[pos_] == '\t' || line_[pos_] == '\r')) {
      ++pos_;
    }
  }

  // The end of the line, or a comment (a "#" at the start or after blanks).
  bool atEnd() {
    skipSpaces();
    if (pos_ >= line_.size()) return true;
    return line_[pos_] == '#' && (pos_ == 0 || line_[pos_ - 1] == ' ' || line_[pos_ - 1] == '\t');
  }

  char peek() {
    skipSpaces();
    return pos_ < line_.size() ? line_[pos_] : '\0';
  }

  bool accept(char c) {
    if (peek() != c) return false;
    ++pos_;
    return true;
  }

  void expect(char c, const char* what) {
    if (!accept(c)) fail(std::string("expected ") + what);
  }

  void expectEnd() {
    if (!atEnd()) fail("unexpected text \"" + std::string(rest()) + "\"");
  }

  std::string_view rest() const { return line_.substr(pos_); }

  // A run of characters up to a blank or the end.
  std::string bare(const char* what) {
    if (atEnd()) fail(std::string("expected ") + what);
    const std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t' &&
           line_[pos_] != '\r') {
      ++pos_;
    }
    return std::string(line_.substr(start, pos_ - start));
  }

  // A bare word that may stop early at one of `stops` (for NAME[...] and NAME.rows).
  std::string word(std::string_view stops) {
    skipSpaces();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t' &&
           line_[pos_] != '\r' && stops.find(line_[pos_]) == std::string_view::npos) {
      ++pos_;
    }
    return std::string(line_.substr(start, pos_ - start));
  }

  bool atString() { return peek() == '"'; }

  std::string string(const char* what) {
    if (!atString()) fail(std::string("expected ") + what + " in double quotes");
    const std::size_t start = pos_;
    ++pos_;
    std::string out;
    while (pos_ < line_.size()) {
      const char c = line_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= line_.size()) break;
      const char e = line_[pos_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        default:
          failAt(pos_ - 2, std::string("unknown escape \\") + e);
      }
    }
    failAt(start, "text not closed with a double quote");
  }

  // A control name, with an optional control-array index: hdiFree(3).
  std::string name(const char* what) {
    skipSpaces();
    const std::size_t start = pos_;
    if (pos_ >= line_.size() || !isNameStart(line_[pos_])) fail(std::string("expected ") + what);
    while (pos_ < line_.size() && isNameChar(line_[pos_])) ++pos_;
    if (pos_ < line_.size() && line_[pos_] == '(') {
      ++pos_;
      const std::size_t digits = pos_;
      while (pos_ < line_.size() && std::isdigit(static_cast<unsigned char>(line_[pos_])) != 0)
        ++pos_;
      if (pos_ == digits || pos_ >= line_.size() || line_[pos_] != ')') {
        failAt(digits, "expected a control-array index and \")\"");
      }
      ++pos_;
    }
    return std::string(line_.substr(start, pos_ - start));
  }

  int integer(const char* what) {
    skipSpaces();
    const std::size_t start = pos_;
    if (pos_ < line_.size() && line_[pos_] == '-') ++pos_;
    while (pos_ < line_.size() && std::isdigit(static_cast<unsigned char>(line_[pos_])) != 0)
      ++pos_;
    int value = 0;
    const auto [end, ec] = std::from_chars(line_.data() + start, line_.data() + pos_, value);
    if (start == pos_ || ec != std::errc() || end != line_.data() + pos_) {
      pos_ = start;
      fail(std::string("expected ") + what);
    }
    return value;
  }

  std::string variable() {
    skipSpaces();
    if (pos_ >= line_.size() || line_[pos_] != '$') fail("expected a variable ($name)");
    ++pos_;
    const std::size_t start = pos_;
    if (pos_ >= line_.size() || !isNameStart(line_[pos_]))
      fail("expected a variable name after \"$\"");
    while (pos_ < line_.size() && isNameChar(line_[pos_])) ++pos_;
    return std::string(line_.substr(start, pos_ - start));
  }

  ScriptRef reference() {
    ScriptRef ref;
    ref.pos = here();
    ref.variable = variable();
    while (pos_ < line_.size()) {
      const char c = line_[pos_];
      if (c == '.') {
        ++pos_;
        const std::size_t start = pos_;
        while (pos_ < line_.size() && isNameChar(line_[pos_])) ++pos_;
        if (start == pos_) fail("expected a member name after \".\"");
        ref.path.push_back(
            {ScriptRef::Step::Kind::Member, std::string(line_.substr(start, pos_ - start)), 0});
      } else if (c == '[') {
        ++pos_;
        ScriptRef::Step step;
        if (atString()) {
          step.kind = ScriptRef::Step::Kind::Key;
          step.name = string("a key");
        } else {
          step.kind = ScriptRef::Step::Kind::Index;
          step.index = integer("a row number or a key");
        }
        expect(']', "\"]\"");
        ref.path.push_back(std::move(step));
      } else {
        break;
      }
    }
    return ref;
  }

  ScriptValue value() {
    ScriptValue v;
    v.pos = here();
    const char c = peek();
    if (c == '"') {
      v.kind = ScriptValue::Kind::String;
      v.text = string("a text");
      return v;
    }
    if (c == '$') {
      v.kind = ScriptValue::Kind::Variable;
      v.text = variable();
      return v;
    }
    const std::size_t start = pos_;
    const std::string token = bare("a value");
    if (token == "-") {
      v.kind = ScriptValue::Kind::Omitted;
    } else if (automation::sameName(token, "true") || automation::sameName(token, "false")) {
      v.kind = ScriptValue::Kind::Boolean;
      v.boolean = automation::sameName(token, "true");
    } else if (automation::sameName(token, "null")) {
      v.kind = ScriptValue::Kind::Null;
    } else if (automation::sameName(token, "nothing")) {
      v.kind = ScriptValue::Kind::Nothing;
    } else {
      double number = 0;
      const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), number);
      if (ec != std::errc() || end != token.data() + token.size() || !std::isfinite(number)) {
        failAt(start,
               "expected a value (text, number, true, false, null, nothing, - or $name), found \"" +
                   token + "\"");
      }
      v.number = number;
      const bool whole = token.find_first_of(".eE") == std::string::npos;
      v.kind = whole && number >= -2147483648.0 && number <= 2147483647.0
                   ? ScriptValue::Kind::Long
                   : ScriptValue::Kind::Double;
    }
    return v;
  }

 private:
  int column(std::size_t offset) const {
    return static_cast<int>(utf8::length(line_.substr(0, std::min(offset, line_.size())))) + 1;
  }
  std::string_view line_;
  int lineNo_;
  std::size_t pos_ = 0;
};

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

DialogAction parseDialogExpect(LineParser& p, SourcePos pos) {
  DialogAction a;
  a.pos = pos;
  const std::size_t start = p.offset();
  const std::string target = p.name("a control name or message");
  if (automation::sameName(target, "message") && p.atString()) {
    a.kind = ActionKind::ExpectMessage;
    a.text = p.string("the message text");
    return a;
  }
  a.target = target;
  if (p.accept('[')) {
    a.kind = ActionKind::ExpectCell;
    a.row = p.integer("a row number");
    if (a.row < 0) p.failAt(start, "rows are numbered from 0");
    p.expect(',', "\",\" between row and column");
    parseColumn(p, a, "]");
    p.expect(']', "\"]\"");
    a.text = p.string("the expected text");
    return a;
  }
  if (p.accept('.')) {
    const std::size_t member = p.offset();
    const std::string w = p.word("=");
    if (!automation::sameName(w, "rows")) p.failAt(member, "expected rows after \".\"");
    p.expect('=', "\"=\"");
    a.kind = ActionKind::ExpectRows;
    a.number = p.integer("a row count");
    return a;
  }
  a.kind = ActionKind::ExpectText;
  a.text = p.string("the expected text");
  return a;
}

DialogAction parseAction(LineParser& p, ActionKind kind, SourcePos pos) {
  DialogAction a;
  a.kind = kind;
  a.pos = pos;
  switch (kind) {
    case ActionKind::Type:
      a.target = p.name("a control name");
      a.text = p.string("the text to type");
      break;
    case ActionKind::Focus:
    case ActionKind::Click:
    case ActionKind::RClick:
    case ActionKind::Menu:
      a.target = p.name(kind == ActionKind::Menu ? "a menu item name" : "a control name");
      break;
    case ActionKind::Key: {
      p.skipSpaces();
      const SourcePos keyPos = p.here();
      a.text = p.atString() ? p.string("a key") : p.bare("a key");
      const KeyStroke k = parseKey(a.text, keyPos);
      a.keyCode = k.keyCode;
      a.shift = k.shift;
      a.keyAscii = k.keyAscii;
      break;
    }
    case ActionKind::Check:
      a.target = p.name("a check box name");
      a.on = onOff(p);
      break;
    case ActionKind::Mark:
    case ActionKind::Select:
      a.target = p.name("a list name");
      a.row = parseRow(p);
      break;
    case ActionKind::Cell:
      a.target = p.name("a grid name");
      a.row = parseRow(p);
      parseColumn(p, a, "");
      a.text = p.string("the cell text");
      break;
    case ActionKind::Tab: {
      a.target = p.name("a tab control name");
      const std::size_t start = p.offset();
      a.number = p.integer("a tab index");
      if (a.number < 0) p.failAt(start, "tabs are numbered from 0");
      break;
    }
    case ActionKind::Choose:
      a.target = p.name("a combo box name");
      a.text = p.string("the item");
      break;
    case ActionKind::Toolbar:
      a.text = p.atString() ? p.string("a button key") : p.bare("a button key");
      break;
    case ActionKind::Node:
      a.target = p.name("a tree name");
      a.text = p.atString() ? p.string("a node key") : p.bare("a node key");
      if (!p.atEnd()) {
        const std::size_t start = p.offset();
        const std::string w = p.bare("check");
        if (!automation::sameName(w, "check"))
          p.failAt(start, "expected check on|off after the node key");
        a.on = onOff(p);
      }
      break;
    case ActionKind::Answer: {
      const std::size_t start = p.offset();
      const std::string w = p.bare("ok, yes, no or cancel");
      static constexpr std::pair<const char*, int> kAnswers[] = {
          {"ok", vbOK},       {"cancel", vbCancel}, {"yes", vbYes},      {"no", vbNo},
          {"abort", vbAbort}, {"retry", vbRetry},   {"ignore", vbIgnore}};
      for (const auto& [word, answer] : kAnswers) {
        if (automation::sameName(w, word)) a.number = answer;
      }
      if (a.number == 0) p.failAt(start, "expected ok, yes, no or cancel, found \"" + w + "\"");
      break;
    }
    case ActionKind::Input:
      if (p.atString()) {
        a.text = p.string("the input text");
      } else {
        const std::size_t start = p.offset();
        if (!automation::sameName(p.bare("a text or cancel"), "cancel"))
          p.failAt(start, "expected a text in double quotes or cancel");
        a.cancel = true;
      }
      break;
    case ActionKind::Pick: {
      const std::size_t start = p.offset();
      const std::string w = p.bare("row numbers or cancel");
      if (automation::sameName(w, "cancel")) {
        a.cancel = true;
        break;
      }
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
      break;
    }
    case ActionKind::Date: {
      const std::size_t start = p.offset();
      const std::string w = p.bare("a date or cancel");
      if (automation::sameName(w, "cancel")) {
        a.cancel = true;
        break;
      }
      const auto date = parseIsoDate(w);
      if (!date) p.failAt(start, "expected a date YYYY-MM-DD or cancel, found \"" + w + "\"");
      a.date = *date;
      a.text = w;
      break;
    }
    case ActionKind::Close:
      break;
    default:
      break;
  }
  p.expectEnd();
  return a;
}

struct ActionWord {
  const char* word;
  ActionKind kind;
};
constexpr ActionWord kActions[] = {
    {"type", ActionKind::Type},       {"focus", ActionKind::Focus},
    {"key", ActionKind::Key},         {"click", ActionKind::Click},
    {"check", ActionKind::Check},     {"mark", ActionKind::Mark},
    {"select", ActionKind::Select},   {"cell", ActionKind::Cell},
    {"rclick", ActionKind::RClick},   {"tab", ActionKind::Tab},
    {"choose", ActionKind::Choose},   {"menu", ActionKind::Menu},
    {"toolbar", ActionKind::Toolbar}, {"node", ActionKind::Node},
    {"answer", ActionKind::Answer},   {"input", ActionKind::Input},
    {"pick", ActionKind::Pick},       {"date", ActionKind::Date},
    {"close", ActionKind::Close},
};

// Actions that make sense outside an on-block: queued answers and the message expectation.
bool allowedOutsideBlock(ActionKind kind) {
  return kind == ActionKind::Answer || kind == ActionKind::Input || kind == ActionKind::Pick ||
         kind == ActionKind::Date || kind == ActionKind::ExpectMessage;
}

CallLine parseCall(LineParser& p) {
  CallLine call;
  const std::size_t start = p.offset();
  call.object = p.variable();
  if (!p.accept('.')) p.failAt(start, "expected $object.member after call");
  call.member = p.name("a member name");
  while (!p.atEnd()) call.args.push_back(p.value());
  return call;
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
      k.shift |= vbCtrlMask;
    } else if (automation::sameName(mod, "shift")) {
      k.shift |= vbShiftMask;
    } else if (automation::sameName(mod, "alt")) {
      k.shift |= vbAltMask;
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
      {"Enter", vbKeyReturn, 13}, {"Esc", vbKeyEscape, 27},  {"Escape", vbKeyEscape, 27},
      {"Tab", vbKeyTab, 0},       {"Space", vbKeySpace, 32}, {"Backspace", vbKeyBack, 8},
      {"Delete", vbKeyDelete, 0}, {"Home", vbKeyHome, 0},    {"End", vbKeyEnd, 0},
      {"Left", vbKeyLeft, 0},     {"Right", vbKeyRight, 0},  {"Up", vbKeyUp, 0},
      {"Down", vbKeyDown, 0},
  };
  for (const auto& n : kNamed) {
    if (automation::sameName(rest, n.name)) {
      k.keyCode = n.code;
      k.keyAscii = k.shift & (vbCtrlMask | vbAltMask) ? 0 : n.ascii;
      return k;
    }
  }
  if (rest.size() >= 2 && (rest[0] == 'F' || rest[0] == 'f')) {
    int n = 0;
    const auto [end, ec] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), n);
    if (ec == std::errc() && end == rest.data() + rest.size() && n >= 1 && n <= 12) {
      k.keyCode = vbKeyF1 + n - 1;
      return k;
    }
  }
  const auto chars = utf8::decode(rest);
  if (chars.size() != 1) throw ScriptError(pos, "unknown key \"" + std::string(spec) + "\"");
  const char32_t c = chars.front();
  if (c < 128 && std::isalpha(static_cast<int>(c)) != 0) {
    k.keyCode = std::toupper(static_cast<int>(c));
    if (std::isupper(static_cast<int>(c)) != 0 && (k.shift & vbCtrlMask) == 0)
      k.shift |= vbShiftMask;
    if ((k.shift & vbCtrlMask) != 0) {
      k.keyAscii = k.keyCode - 'A' + 1;  // Ctrl+B types character 2, as on the platform
    } else if ((k.shift & vbAltMask) == 0) {
      k.keyAscii = static_cast<int>(c);
    }
  } else if (c < 128 && std::isdigit(static_cast<int>(c)) != 0) {
    k.keyCode = static_cast<int>(c);
    k.keyAscii = (k.shift & (vbCtrlMask | vbAltMask)) != 0 ? 0 : static_cast<int>(c);
  } else {
    if (k.shift != 0) throw ScriptError(pos, "unknown key \"" + std::string(spec) + "\"");
    k.keyAscii = static_cast<int>(c);  // a character without a key of its own: KeyPress only
  }
  return k;
}

Script parseScript(std::string_view text) {
  Script script;
  std::optional<Statement> block;  // the open on-block
  int lineNo = 0;
  std::size_t from = 0;
  while (from <= text.size()) {
    const std::size_t nl = std::min(text.find('\n', from), text.size());
    const std::string_view line = text.substr(from, nl - from);
    from = nl + 1;
    ++lineNo;
    LineParser p(line, lineNo);
    if (p.atEnd()) continue;
    const SourcePos pos = p.here();
    const std::size_t wordStart = p.offset();

    if (p.peek() == '$') {  // $var = call ...
      if (block) p.fail("host lines cannot stand inside an on-block (missing end?)");
      const std::string var = p.variable();
      p.expect('=', "\"=\" after the variable");
      const std::size_t callAt = p.offset();
      if (!automation::sameName(p.word(""), "call")) p.failAt(callAt, "expected call after \"=\"");
      CallLine call = parseCall(p);
      call.resultVariable = var;
      script.statements.push_back({pos, std::move(call)});
      continue;
    }

    const std::string word = p.word("");
    auto hostLine = [&]() {
      if (block) p.failAt(wordStart, "host lines cannot stand inside an on-block (missing end?)");
    };

    if (automation::sameName(word, "on")) {
      if (block)
        p.failAt(wordStart, "on inside the block opened at line " +
                                std::to_string(block->pos.line) + " (missing end?)");
      OnBlock b;
      b.pos = pos;
      b.form = p.name("a form name");
      p.expectEnd();
      block = Statement{pos, std::move(b)};
    } else if (automation::sameName(word, "end")) {
      if (!block) p.failAt(wordStart, "end without on");
      p.expectEnd();
      script.statements.push_back(std::move(*block));
      block.reset();
    } else if (automation::sameName(word, "login")) {
      hostLine();
      LoginLine login;
      while (!p.atEnd()) {
        const std::size_t optAt = p.offset();
        const std::string key = p.word("=");
        if (key.empty() || !p.accept('=')) p.failAt(optAt, "expected name=value");
        std::string val = p.atString() ? p.string("a value") : p.bare("a value");
        login.options.emplace_back(key, std::move(val));
      }
      script.statements.push_back({pos, std::move(login)});
    } else if (automation::sameName(word, "new")) {
      hostLine();
      NewLine n;
      n.variable = p.variable();
      n.progId = p.bare("a ProgID");
      p.expectEnd();
      script.statements.push_back({pos, std::move(n)});
    } else if (automation::sameName(word, "call")) {
      hostLine();
      script.statements.push_back({pos, parseCall(p)});
    } else if (automation::sameName(word, "print")) {
      hostLine();
      PrintLine print{p.reference()};
      p.expectEnd();
      script.statements.push_back({pos, std::move(print)});
    } else if (automation::sameName(word, "set")) {
      hostLine();
      SetLine set;
      set.variable = p.variable();
      p.expect('=', "\"=\"");
      set.value = p.value();
      p.expectEnd();
      script.statements.push_back({pos, std::move(set)});
    } else if (automation::sameName(word, "expect")) {
      if (p.peek() == '$') {
        hostLine();
        ExpectLine e;
        e.ref = p.reference();
        p.expect('=', "\"=\"");
        e.expected = p.value();
        p.expectEnd();
        script.statements.push_back({pos, std::move(e)});
        continue;
      }
      DialogAction a = parseDialogExpect(p, pos);
      p.expectEnd();
      if (block) {
        std::get<OnBlock>(block->body).actions.push_back(std::move(a));
      } else if (allowedOutsideBlock(a.kind)) {
        script.statements.push_back({pos, std::move(a)});
      } else {
        p.failAt(wordStart, "a control expectation needs an on-block");
      }
    } else {
      const ActionWord* found = nullptr;
      for (const auto& aw : kActions) {
        if (automation::sameName(word, aw.word)) found = &aw;
      }
      if (found == nullptr) p.failAt(wordStart, "unknown statement \"" + word + "\"");
      DialogAction a = parseAction(p, found->kind, pos);
      if (block) {
        std::get<OnBlock>(block->body).actions.push_back(std::move(a));
      } else if (allowedOutsideBlock(a.kind)) {
        script.statements.push_back({pos, std::move(a)});
      } else {
        p.failAt(wordStart, "\"" + word + "\" needs an on-block naming its form");
      }
    }
  }
  if (block) {
    throw ScriptError(block->pos, "the block for " + std::get<OnBlock>(block->body).form +
                                      " is not closed with end");
  }
  return script;
}

std::string quoteText(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

}  // namespace quillon::forms::script
