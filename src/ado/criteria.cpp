#include "ado/criteria.h"

#include <cctype>
#include <cstdio>

#include "ado/ado_errors.h"
#include "ado/ole_date.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"

namespace quillon::ado {

namespace {

// ---------------------------------------------------------------------------------------------
// Tokens

struct Token {
  enum class Kind : std::uint8_t { End, LParen, RParen, Op, Text, Date, Word, Name };
  Kind kind = Kind::End;
  CompareOp op = CompareOp::Eq;
  std::string text;
};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isWordChar(char c) {
  return !isBlank(c) && c != '(' && c != ')' && c != '\'' && c != '#' && c != '[' && c != ']' &&
         c != '=' && c != '<' && c != '>';
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s_(text) {}

  Token next() {
    while (pos_ < s_.size() && isBlank(s_[pos_])) ++pos_;
    Token t;
    if (pos_ >= s_.size()) return t;
    const char c = s_[pos_];
    if (c == '(' || c == ')') {
      ++pos_;
      t.kind = c == '(' ? Token::Kind::LParen : Token::Kind::RParen;
      return t;
    }
    if (c == '=' || c == '<' || c == '>') return op();
    if (c == '\'') return quoted();
    if (c == '#') return delimited('#', Token::Kind::Date, "unterminated #date#");
    if (c == '[') return delimited(']', Token::Kind::Name, "unterminated [name]");
    if (c == ']') throwArguments("unexpected ] in filter");
    t.kind = Token::Kind::Word;
    while (pos_ < s_.size() && isWordChar(s_[pos_])) t.text += s_[pos_++];
    return t;
  }

 private:
  Token op() {
    Token t;
    t.kind = Token::Kind::Op;
    const char c = s_[pos_++];
    const char d = pos_ < s_.size() ? s_[pos_] : '\0';
    if (c == '=') {
      t.op = CompareOp::Eq;
    } else if (c == '<' && d == '>') {
      t.op = CompareOp::Ne, ++pos_;
    } else if (c == '<' && d == '=') {
      t.op = CompareOp::Le, ++pos_;
    } else if (c == '>' && d == '=') {
      t.op = CompareOp::Ge, ++pos_;
    } else {
      t.op = c == '<' ? CompareOp::Lt : CompareOp::Gt;
    }
    return t;
  }

  Token quoted() {
    Token t;
    t.kind = Token::Kind::Text;
    ++pos_;
    while (true) {
      if (pos_ >= s_.size()) throwArguments("unterminated text in filter");
      const char c = s_[pos_++];
      if (c == '\'') {
        if (pos_ < s_.size() && s_[pos_] == '\'') {
          t.text += '\'';
          ++pos_;
          continue;
        }
        return t;
      }
      t.text += c;
    }
  }

  Token delimited(char close, Token::Kind kind, const char* error) {
    Token t;
    t.kind = kind;
    const std::size_t end = s_.find(close, pos_ + 1);
    if (end == std::string_view::npos) throwArguments(error);
    t.text = std::string(s_.substr(pos_ + 1, end - pos_ - 1));
    pos_ = end + 1;
    return t;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

bool isKeyword(const Token& t, std::string_view word) {
  return t.kind == Token::Kind::Word && automation::equalsNoCase(t.text, word);
}

// #12/31/2026# is the platform's own date literal form; #2026-12-31# the one this library writes.
bool parseDateLiteral(std::string_view text, double& serial) {
  if (parseDateText(text, serial)) return true;
  int m = 0, d = 0, y = 0;
  char tail = 0;
  const std::string s(text);
  if (std::sscanf(s.c_str(), "%d/%d/%d%c", &m, &d, &y, &tail) != 3) return false;
  char iso[16];
  std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", y, m, d);
  return y >= 100 && y <= 9999 && parseDateText(iso, serial);
}

// ---------------------------------------------------------------------------------------------
// Parser

class Parser {
 public:
  explicit Parser(std::string_view text) : lexer_(text) { advance(); }

  CriteriaNode parse() {
    CriteriaNode node = parseOr();
    if (cur_.kind != Token::Kind::End) throwArguments("unexpected text after filter clause");
    return node;
  }

 private:
  void advance() { cur_ = lexer_.next(); }

  CriteriaNode parseOr() {
    CriteriaNode first = parseAnd();
    if (!isKeyword(cur_, "or")) return first;
    CriteriaNode node;
    node.kind = CriteriaNode::Kind::Or;
    node.children.push_back(std::move(first));
    while (isKeyword(cur_, "or")) {
      advance();
      node.children.push_back(parseAnd());
    }
    return node;
  }

  CriteriaNode parseAnd() {
    CriteriaNode first = parseFactor();
    if (!isKeyword(cur_, "and")) return first;
    CriteriaNode node;
    node.kind = CriteriaNode::Kind::And;
    node.children.push_back(std::move(first));
    while (isKeyword(cur_, "and")) {
      advance();
      node.children.push_back(parseFactor());
    }
    return node;
  }

  CriteriaNode parseFactor() {
    if (cur_.kind == Token::Kind::LParen) {
      // Each level costs the parser, the compiled predicate and its tests a few stack frames: the
      // limit keeps any text from exhausting the stack.
      if (++depth_ > kMaxCriteriaNesting) {
        throwArguments("filter nests parentheses deeper than " +
                       std::to_string(kMaxCriteriaNesting) + " levels");
      }
      advance();
      CriteriaNode inner = parseOr();
      if (cur_.kind != Token::Kind::RParen) throwArguments("missing ) in filter");
      advance();
      --depth_;
      return inner;
    }
    return parseClause();
  }

  CriteriaNode parseClause() {
    CriteriaNode node;
    if (cur_.kind == Token::Kind::Name) {
      node.field = cur_.text;
    } else if (cur_.kind == Token::Kind::Word && !isKeyword(cur_, "and") &&
               !isKeyword(cur_, "or") && !isKeyword(cur_, "like") && !cur_.text.empty()) {
      node.field = cur_.text;
    } else {
      throwArguments("field name expected in filter");
    }
    advance();
    if (cur_.kind == Token::Kind::Op) {
      node.op = cur_.op;
    } else if (isKeyword(cur_, "like")) {
      node.op = CompareOp::Like;
    } else {
      throwArguments("comparison operator expected in filter");
    }
    advance();
    node.value = parseValue();
    if (node.value.kind == CriteriaLiteral::Kind::Null && node.op != CompareOp::Eq &&
        node.op != CompareOp::Ne)
      throwArguments("Null can only be compared with = or <>");
    if (node.op == CompareOp::Like && node.value.kind != CriteriaLiteral::Kind::Text)
      throwArguments("LIKE needs a quoted text");
    return node;
  }

  CriteriaLiteral parseValue() {
    CriteriaLiteral v;
    switch (cur_.kind) {
      case Token::Kind::Text:
        v.kind = CriteriaLiteral::Kind::Text;
        v.text = cur_.text;
        break;
      case Token::Kind::Date:
        v.kind = CriteriaLiteral::Kind::Date;
        v.text = cur_.text;
        if (!parseDateLiteral(cur_.text, v.number)) throwArguments("invalid #date# in filter");
        break;
      case Token::Kind::Word:
        if (automation::equalsNoCase(cur_.text, "null")) {
          v.kind = CriteriaLiteral::Kind::Null;
        } else if (const auto n = automation::parseNumericText(cur_.text)) {
          v.kind = CriteriaLiteral::Kind::Number;
          v.number = *n;
          v.text = cur_.text;
        } else {
          throwArguments("value expected in filter");
        }
        break;
      default:
        throwArguments("value expected in filter");
    }
    advance();
    return v;
  }

  Lexer lexer_;
  Token cur_;
  int depth_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Compiled predicates

template <class T>
bool compare(CompareOp op, const T& a, const T& b) {
  switch (op) {
    case CompareOp::Eq:
      return a == b;
    case CompareOp::Ne:
      return a != b;
    case CompareOp::Lt:
      return a < b;
    case CompareOp::Gt:
      return a > b;
    case CompareOp::Le:
      return a <= b;
    case CompareOp::Ge:
      return a >= b;
    case CompareOp::Like:
      return false;
  }
  return false;
}

class NullTest final : public RowPredicate {
 public:
  NullTest(const Column& c, bool wantNull) : c_(c), wantNull_(wantNull) {}
  bool test(std::size_t row) const override { return c_.isNull(row) == wantNull_; }

 private:
  const Column& c_;
  bool wantNull_;
};

template <StorageKind K>
class NumberTest final : public RowPredicate {
 public:
  NumberTest(const Column& c, CompareOp op, double v) : c_(c), op_(op), v_(v) {}
  bool test(std::size_t row) const override {
    if (c_.isNull(row)) return false;
    double x;
    if constexpr (K == StorageKind::Int32 || K == StorageKind::Bool)
      x = c_.int32At(row);
    else if constexpr (K == StorageKind::Int64)
      x = static_cast<double>(c_.int64At(row));
    else
      x = c_.doubleAt(row);
    return compare(op_, x, v_);
  }

 private:
  const Column& c_;
  CompareOp op_;
  double v_;
};

class TextTest final : public RowPredicate {
 public:
  TextTest(const Column& c, CompareOp op, std::string v) : c_(c), op_(op), v_(std::move(v)) {}
  bool test(std::size_t row) const override {
    if (c_.isNull(row)) return false;
    const std::string_view x = c_.textAt(row);
    if (op_ == CompareOp::Eq) return automation::equalsNoCase(x, v_);
    if (op_ == CompareOp::Ne) return !automation::equalsNoCase(x, v_);
    return compare(op_, automation::compareNoCase(x, v_), 0);
  }

 private:
  const Column& c_;
  CompareOp op_;
  std::string v_;
};

class LikeTest final : public RowPredicate {
 public:
  enum class Mode : std::uint8_t { Exact, Prefix, Suffix, Contains };
  LikeTest(const Column& c, Mode mode, std::string part)
      : c_(c), mode_(mode), part_(std::move(part)) {}
  bool test(std::size_t row) const override {
    if (c_.isNull(row)) return false;
    const std::string_view x = c_.textAt(row);
    switch (mode_) {
      case Mode::Exact:
        return automation::equalsNoCase(x, part_);
      case Mode::Prefix:
        return automation::startsWithNoCase(x, part_);
      case Mode::Suffix:
        return automation::endsWithNoCase(x, part_);
      case Mode::Contains:
        return automation::containsNoCase(x, part_);
    }
    return false;
  }

 private:
  const Column& c_;
  Mode mode_;
  std::string part_;
};

class Junction final : public RowPredicate {
 public:
  Junction(bool isAnd, std::vector<std::unique_ptr<RowPredicate>> parts)
      : isAnd_(isAnd), parts_(std::move(parts)) {}
  bool test(std::size_t row) const override {
    for (const auto& p : parts_)
      if (p->test(row) != isAnd_) return !isAnd_;
    return isAnd_;
  }

 private:
  bool isAnd_;
  std::vector<std::unique_ptr<RowPredicate>> parts_;
};

bool isWildcard(char c) {
  return c == '%' || c == '*';
}

std::unique_ptr<RowPredicate> compileLike(const Column& c, const std::string& pattern) {
  std::string_view p = pattern;
  const bool lead = !p.empty() && isWildcard(p.front());
  if (lead) p.remove_prefix(1);
  const bool trail = !p.empty() && isWildcard(p.back());
  if (trail) p.remove_suffix(1);
  for (const char ch : p)
    if (isWildcard(ch)) throwArguments("LIKE wildcards may only stand at the start or the end");
  using Mode = LikeTest::Mode;
  const Mode mode = lead && trail ? Mode::Contains
                    : lead        ? Mode::Suffix
                    : trail       ? Mode::Prefix
                                  : Mode::Exact;
  return std::make_unique<LikeTest>(c, mode, std::string(p));
}

template <StorageKind K>
std::unique_ptr<RowPredicate> numberTest(const Column& c, CompareOp op, double v) {
  return std::make_unique<NumberTest<K>>(c, op, v);
}

double numericValue(const CriteriaLiteral& v, StorageKind kind) {
  using LK = CriteriaLiteral::Kind;
  if (kind == StorageKind::Date) {
    double serial = 0.0;
    if (v.kind == LK::Date || v.kind == LK::Number) return v.number;
    if (parseDateText(v.text, serial) || parseDateLiteral(v.text, serial)) return serial;
    throwArguments("value is not a date: " + v.text);
  }
  if (kind == StorageKind::Bool) {
    if (v.kind == LK::Number) return v.number != 0.0 ? 1.0 : 0.0;
    if (v.kind == LK::Text) {
      if (automation::equalsNoCase(v.text, "true")) return 1.0;
      if (automation::equalsNoCase(v.text, "false")) return 0.0;
      if (const auto n = automation::parseNumericText(v.text)) return *n != 0.0 ? 1.0 : 0.0;
    }
    throwArguments("value is not a Boolean: " + v.text);
  }
  if (v.kind == LK::Number) return v.number;
  if (v.kind == LK::Text) {
    if (const auto n = automation::parseNumericText(v.text)) return *n;
  }
  throwArguments("value is not a number: " + v.text);
}

std::string textValue(const CriteriaLiteral& v) {
  switch (v.kind) {
    case CriteriaLiteral::Kind::Number:
      return automation::formatGeneralNumber(v.number);
    case CriteriaLiteral::Kind::Date:
      return formatDateSerial(v.number);
    default:
      return v.text;
  }
}

std::unique_ptr<RowPredicate> compileNode(const CriteriaNode& node, const RecordData& data) {
  if (node.kind != CriteriaNode::Kind::Clause) {
    std::vector<std::unique_ptr<RowPredicate>> parts;
    parts.reserve(node.children.size());
    for (const CriteriaNode& child : node.children) parts.push_back(compileNode(child, data));
    return std::make_unique<Junction>(node.kind == CriteriaNode::Kind::And, std::move(parts));
  }
  const int index = data.fieldIndex(node.field);
  if (index < 0) throwArguments("no field named " + node.field);
  const Column& c = data.column(static_cast<std::size_t>(index));
  if (node.value.kind == CriteriaLiteral::Kind::Null)
    return std::make_unique<NullTest>(c, node.op == CompareOp::Eq);
  if (node.op == CompareOp::Like) {
    if (c.kind() != StorageKind::Text) throwArguments("LIKE needs a text field: " + node.field);
    return compileLike(c, node.value.text);
  }
  switch (c.kind()) {
    case StorageKind::Text:
      return std::make_unique<TextTest>(c, node.op, textValue(node.value));
    case StorageKind::Int32:
      return numberTest<StorageKind::Int32>(c, node.op, numericValue(node.value, c.kind()));
    case StorageKind::Bool:
      return numberTest<StorageKind::Bool>(c, node.op, numericValue(node.value, c.kind()));
    case StorageKind::Int64:
      return numberTest<StorageKind::Int64>(c, node.op, numericValue(node.value, c.kind()));
    case StorageKind::Double:
      return numberTest<StorageKind::Double>(c, node.op, numericValue(node.value, c.kind()));
    case StorageKind::Date:
      return numberTest<StorageKind::Date>(c, node.op, numericValue(node.value, c.kind()));
  }
  throwArguments();
}

}  // namespace

std::string criteriaLiteral(std::string_view text) {
  std::string out = "'";
  for (const char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

CriteriaNode parseCriteria(std::string_view text) {
  return Parser(text).parse();
}

std::unique_ptr<RowPredicate> compileCriteria(const CriteriaNode& criteria,
                                              const RecordData& data) {
  return compileNode(criteria, data);
}

}  // namespace quillon::ado
