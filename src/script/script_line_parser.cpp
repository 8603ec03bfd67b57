#include "script/script_line_parser.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "automation/com_error.h"
#include "automation/names.h"
#include "automation/utf8.h"
#include "automation/vb_like.h"

namespace quillon::script {

bool isNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool isNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

SourcePos LineParser::at(std::size_t offset) const {
  return {lineNo_, column(offset)};
}

std::size_t LineParser::offset() {
  skipSpaces();
  return pos_;
}

void LineParser::fail(const std::string& message) const {
  throw ScriptError(here(), message);
}

void LineParser::failAt(std::size_t offset, const std::string& message) const {
  throw ScriptError(at(offset), message);
}

void LineParser::skipSpaces() {
  while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
}

bool LineParser::atEnd() {
  skipSpaces();
  if (pos_ >= line_.size()) return true;
  return line_[pos_] == '#' && (pos_ == 0 || line_[pos_ - 1] == ' ' || line_[pos_ - 1] == '\t');
}

char LineParser::peek() {
  skipSpaces();
  return pos_ < line_.size() ? line_[pos_] : '\0';
}

bool LineParser::accept(char c) {
  if (peek() != c) return false;
  ++pos_;
  return true;
}

void LineParser::expect(char c, const char* what) {
  if (!accept(c)) fail(std::string("expected ") + what);
}

void LineParser::expectEnd() {
  if (!atEnd()) fail("unexpected text \"" + std::string(rest()) + "\"");
}

std::string LineParser::bare(const char* what) {
  if (atEnd()) fail(std::string("expected ") + what);
  const std::size_t start = pos_;
  while (pos_ < line_.size() && !isBlank(line_[pos_])) ++pos_;
  return std::string(line_.substr(start, pos_ - start));
}

std::string LineParser::word(std::string_view stops) {
  skipSpaces();
  const std::size_t start = pos_;
  while (pos_ < line_.size() && !isBlank(line_[pos_]) &&
         stops.find(line_[pos_]) == std::string_view::npos) {
    ++pos_;
  }
  return std::string(line_.substr(start, pos_ - start));
}

bool LineParser::acceptWord(std::string_view keyword) {
  const std::size_t start = offset();
  std::size_t end = start;
  while (end < line_.size() && isNameChar(line_[end])) ++end;
  if (!automation::sameName(line_.substr(start, end - start), keyword)) return false;
  pos_ = end;
  return true;
}

std::string LineParser::string(const char* what) {
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

std::string LineParser::name(const char* what) {
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

std::string LineParser::identifier(const char* what) {
  const std::size_t start = pos_;
  while (pos_ < line_.size() && isNameChar(line_[pos_])) ++pos_;
  if (start == pos_) fail(std::string("expected ") + what);
  return std::string(line_.substr(start, pos_ - start));
}

int LineParser::integer(const char* what) {
  skipSpaces();
  const std::size_t start = pos_;
  if (pos_ < line_.size() && line_[pos_] == '-') ++pos_;
  while (pos_ < line_.size() && std::isdigit(static_cast<unsigned char>(line_[pos_])) != 0) ++pos_;
  int value = 0;
  const auto [end, ec] = std::from_chars(line_.data() + start, line_.data() + pos_, value);
  if (start == pos_ || ec != std::errc() || end != line_.data() + pos_) {
    pos_ = start;
    fail(std::string("expected ") + what);
  }
  return value;
}

std::string LineParser::variable() {
  skipSpaces();
  if (pos_ >= line_.size() || line_[pos_] != '$') fail("expected a variable ($name)");
  ++pos_;
  const std::size_t start = pos_;
  if (pos_ >= line_.size() || !isNameStart(line_[pos_]))
    fail("expected a variable name after \"$\"");
  while (pos_ < line_.size() && isNameChar(line_[pos_])) ++pos_;
  return std::string(line_.substr(start, pos_ - start));
}

void LineParser::steps(ScriptRef& ref) {
  while (pos_ < line_.size()) {
    const char c = line_[pos_];
    ScriptRef::Step step;
    step.pos = here();
    if (c == '.') {
      ++pos_;
      step.name = identifier("a member name after \".\"");
    } else if (c == '[') {
      ++pos_;
      if (atString()) {
        step.kind = ScriptRef::Step::Kind::Key;
        step.name = string("a key");
      } else {
        step.kind = ScriptRef::Step::Kind::Index;
        step.index = integer("a row number or a key");
      }
      expect(']', "\"]\"");
    } else {
      break;
    }
    ref.path.push_back(std::move(step));
  }
}

ScriptRef LineParser::reference() {
  ScriptRef ref;
  skipSpaces();
  ref.pos = here();
  ref.variable = variable();
  steps(ref);
  return ref;
}

ScriptValue LineParser::value() {
  ScriptValue v;
  v.pos = here();
  const char c = peek();
  if (c == '"') {
    v.kind = ScriptValue::Kind::String;
    v.text = string("a text");
    return v;
  }
  if (c == '$') {
    v.ref = reference();
    v.kind = v.ref.path.empty() ? ScriptValue::Kind::Variable : ScriptValue::Kind::Reference;
    v.text = v.ref.variable;
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
    v.kind = whole && number >= -2147483648.0 && number <= 2147483647.0 ? ScriptValue::Kind::Long
                                                                        : ScriptValue::Kind::Double;
  }
  return v;
}

CompareOp LineParser::comparison() {
  const std::size_t start = offset();
  const std::string_view two = line_.substr(start, 2);
  struct Symbol {
    std::string_view text;
    CompareOp op;
  };
  // Two-character symbols first, so "<=" is not read as "<".
  static constexpr Symbol kSymbols[] = {
      {"<>", CompareOp::NotEqual}, {"<=", CompareOp::LessEqual}, {">=", CompareOp::GreaterEqual},
      {"=", CompareOp::Equal},     {"<", CompareOp::Less},       {">", CompareOp::Greater},
  };
  for (const auto& s : kSymbols) {
    if (two.substr(0, s.text.size()) == s.text) {
      pos_ += s.text.size();
      return s.op;
    }
  }
  if (acceptWord("like")) return CompareOp::Like;
  fail("expected a comparison (=, <>, <, <=, >, >= or like)");
}

void LineParser::comparisonAndValue(CompareOp& op, ScriptValue& value) {
  op = comparison();
  const std::size_t start = offset();
  value = this->value();
  if (op != CompareOp::Like) return;
  if (value.kind != ScriptValue::Kind::String && value.kind != ScriptValue::Kind::Variable &&
      value.kind != ScriptValue::Kind::Reference) {
    failAt(start, "like takes a pattern in double quotes");
  }
  if (value.kind == ScriptValue::Kind::String) checkLikePattern(start, value.text);
}

void LineParser::checkLikePattern(std::size_t start, const std::string& pattern) const {
  try {
    automation::Like("", pattern);
  } catch (const automation::ComError&) {
    failAt(start, "invalid like pattern " + std::string(line_.substr(start, pos_ - start)) +
                      " (an unclosed \"[\" or a descending range)");
  }
}

int LineParser::column(std::size_t offset) const {
  offset = std::min(offset, line_.size());
  if (offset < countedTo_) {
    countedTo_ = 0;
    counted_ = 0;
  }
  while (countedTo_ < offset) {
    countedTo_ += automation::utf8::charLength(line_, countedTo_);
    ++counted_;
  }
  return static_cast<int>(counted_) + 1;
}

bool textOrCancel(LineParser& p, std::string& text, const char* what) {
  if (p.atString()) {
    text = p.string(what);
    return false;
  }
  const std::size_t start = p.offset();
  if (!automation::sameName(p.bare("a text or cancel"), "cancel")) {
    p.failAt(start, "expected a text in double quotes or cancel");
  }
  return true;
}

}  // namespace quillon::script
