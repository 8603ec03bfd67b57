#include <array>
#include <string>

#include "automation/text_compare.h"
#include "sql/sql_error.h"
#include "sql/token.h"

namespace quillon::sql {

using automation::equalsNoCase;

bool Token::isWord(std::string_view lowerWord) const {
  return kind == TokenKind::Word && equalsNoCase(text, lowerWord);
}

namespace {

constexpr std::string_view kKeywords[] = {
    "select",       "from",       "where",     "and",        "or",       "not",       "in",
    "is",           "null",       "like",      "between",    "exists",   "case",      "when",
    "then",         "else",       "end",       "as",         "on",       "join",      "inner",
    "left",         "right",      "outer",     "cross",      "full",     "group",     "by",
    "order",        "having",     "union",     "all",        "distinct", "top",       "into",
    "values",       "set",        "insert",    "update",     "delete",   "create",    "table",
    "drop",         "alter",      "view",      "index",      "unique",   "primary",   "key",
    "foreign",      "references", "default",   "constraint", "check",    "identity",  "clustered",
    "nonclustered", "asc",        "desc",      "with",       "collate",  "escape",    "percent",
    "ties",         "if",         "begin",     "commit",     "rollback", "tran",      "transaction",
    "exec",         "execute",    "declare",   "print",      "return",   "truncate",  "some",
    "any",          "except",     "intersect", "apply",      "over",     "partition", "while",
    "go",           "use",        "add",       "column",     "grant",    "revoke",    "raiserror",
    "save",         "goto",       "waitfor",   "merge",      "deny",     "break",     "continue",
};

std::size_t wordHash(std::string_view w) {
  std::size_t h = 14695981039346656037ULL;
  for (char c : w) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  return h;
}

bool isKeywordToken(const Token& t) {
  // Lower-case into a small buffer and look the word up in the sorted list: this runs for every
  // word of every statement translated.
  constexpr std::size_t kLongest = 16;
  if (t.text.size() > kLongest) return false;
  char buf[kLongest];
  for (std::size_t i = 0; i < t.text.size(); ++i) buf[i] = automation::foldAscii(t.text[i]);
  const std::string_view word(buf, t.text.size());
  // Open addressing over a table four times the size of the list.
  constexpr std::size_t kSlots = 512;
  static const std::array<std::string_view, kSlots> table = [] {
    std::array<std::string_view, kSlots> slots{};
    for (std::string_view k : kKeywords) {
      std::size_t i = wordHash(k) % kSlots;
      while (!slots[i].empty()) i = (i + 1) % kSlots;
      slots[i] = k;
    }
    return slots;
  }();
  for (std::size_t i = wordHash(word) % kSlots; !table[i].empty(); i = (i + 1) % kSlots) {
    if (table[i] == word) return true;
  }
  return false;
}

bool isWordStart(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isWordChar(unsigned char c) {
  return isWordStart(c) || (c >= '0' && c <= '9') || c == '$' || c == '#' || c == '@';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

[[noreturn]] void unterminated(std::string_view what, std::string_view text, std::size_t at) {
  throw SqlError::syntax("Unterminated " + std::string(what) + " near '" +
                         std::string(text.substr(at, 40)) + "'");
}

class Lexer {
 public:
  explicit Lexer(std::string_view text) : s_(text) {}

  Tokens run() {
    Tokens out;
    out.reserve(s_.size() / 4 + 8);
    while (skipBlanksAndComments()) {
      const std::size_t start = pos_;
      const char c = s_[pos_];
      Token t;
      t.offset = start;
      if ((c == 'N' || c == 'n') && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
        ++pos_;
        t.kind = TokenKind::String;
        t.text = quoted('\'', '\'', "string literal");
      } else if (c == '\'') {
        t.kind = TokenKind::String;
        t.text = quoted('\'', '\'', "string literal");
      } else if (c == '[') {
        t.kind = TokenKind::Name;
        t.text = quoted('[', ']', "bracketed name");
      } else if (c == '"') {
        t.kind = TokenKind::Name;
        t.text = quoted('"', '"', "quoted name");
      } else if (isDigit(c) || (c == '.' && pos_ + 1 < s_.size() && isDigit(s_[pos_ + 1]))) {
        t.kind = TokenKind::Number;
        t.text = number();
      } else if (c == '@') {
        t.kind = TokenKind::Variable;
        ++pos_;
        while (pos_ < s_.size() &&
               (s_[pos_] == '@' || isWordChar(static_cast<unsigned char>(s_[pos_]))))
          ++pos_;
        t.text = std::string(s_.substr(start, pos_ - start));
      } else if (c == '#' || isWordStart(static_cast<unsigned char>(c))) {
        ++pos_;
        while (pos_ < s_.size() && isWordChar(static_cast<unsigned char>(s_[pos_]))) ++pos_;
        t.kind = c == '#' ? TokenKind::Name : TokenKind::Word;
        t.text = std::string(s_.substr(start, pos_ - start));
        if (t.kind == TokenKind::Word) t.keyword = isKeywordToken(t);
        if (t.kind == TokenKind::Word && t.isWord("go") && aloneOnLine(start)) {
          t.kind = TokenKind::Operator;
          t.text = ";";
        }
      } else {
        t.kind = TokenKind::Operator;
        t.text = op();
      }
      if (t.kind == TokenKind::Name && !t.text.empty() && t.text[0] == '#') t.temp = true;
      t.end = pos_;
      out.push_back(std::move(t));
    }
    return fold(std::move(out));
  }

 private:
  // Moves past blanks and comments; false at the end of the text.
  bool skipBlanksAndComments() {
    while (pos_ < s_.size()) {
      const char c = s_[pos_];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
        ++pos_;
      } else if (c == '-' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '-') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '*') {
        const std::size_t start = pos_;
        // Block comments nest in T-SQL.
        int depth = 0;
        while (pos_ < s_.size()) {
          if (s_.compare(pos_, 2, "/*") == 0) {
            ++depth;
            pos_ += 2;
          } else if (s_.compare(pos_, 2, "*/") == 0) {
            pos_ += 2;
            if (--depth == 0) break;
          } else {
            ++pos_;
          }
        }
        if (depth != 0) unterminated("comment", s_, start);
      } else {
        return true;
      }
    }
    return false;
  }

  std::string quoted(char open, char close, std::string_view what) {
    const std::size_t start = pos_;
    ++pos_;  // opening quote
    std::string out;
    while (true) {
      if (pos_ >= s_.size()) unterminated(what, s_, start);
      const char c = s_[pos_++];
      if (c == close) {
        if (pos_ < s_.size() && s_[pos_] == close) {
          out += close;
          ++pos_;
          continue;
        }
        break;
      }
      out += c;
    }
    (void)open;
    return out;
  }

  std::string number() {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && (isDigit(s_[pos_]) || s_[pos_] == '.')) ++pos_;
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      std::size_t p = pos_ + 1;
      if (p < s_.size() && (s_[p] == '+' || s_[p] == '-')) ++p;
      if (p < s_.size() && isDigit(s_[p])) {
        pos_ = p;
        while (pos_ < s_.size() && isDigit(s_[pos_])) ++pos_;
      }
    }
    return std::string(s_.substr(start, pos_ - start));
  }

  std::string op() {
    static constexpr std::string_view kTwo[] = {"<>", "<=", ">=", "!=", "||", "!<", "!>"};
    for (auto two : kTwo) {
      if (s_.compare(pos_, 2, two) == 0) {
        pos_ += 2;
        return std::string(two);
      }
    }
    return std::string(1, s_[pos_++]);
  }

  // GO separates batches only on a line of its own.
  bool aloneOnLine(std::size_t start) const {
    for (std::size_t i = start; i > 0; --i) {
      const char c = s_[i - 1];
      if (c == '\n') break;
      if (c != ' ' && c != '\t' && c != '\r') return false;
    }
    for (std::size_t i = pos_; i < s_.size(); ++i) {
      const char c = s_[i];
      if (c == '\n') break;
      if (c != ' ' && c != '\t' && c != '\r') return false;
    }
    return true;
  }

  // Drops owner prefixes and folds "tempdb..name" into one temporary Name. In place: a token is
  // only ever dropped or merged with the ones after it, so the kept ones move to the front.
  static Tokens fold(Tokens in) {
    std::size_t kept = 0;
    const auto keep = [&](Token&& t) {
      if (&in[kept] != &t) in[kept] = std::move(t);
      ++kept;
    };
    for (std::size_t i = 0; i < in.size(); ++i) {
      Token& t = in[i];
      const bool nameLike = t.kind == TokenKind::Word || t.kind == TokenKind::Name;
      const auto next = [&](std::size_t k) -> const Token* {
        return i + k < in.size() ? &in[i + k] : nullptr;
      };
      if (nameLike && equalsNoCase(t.text, "tempdb") && next(1) != nullptr && next(1)->isOp(".")) {
        std::size_t k = 2;
        if (next(k) != nullptr && next(k)->isOp(".")) {
          ++k;
        } else if (next(k) != nullptr && asciiLower(next(k)->text) == "dbo" &&
                   next(k + 1) != nullptr && next(k + 1)->isOp(".")) {
          k += 2;
        }
        const Token* name = next(k);
        if (name != nullptr && (name->kind == TokenKind::Word || name->kind == TokenKind::Name)) {
          Token folded = *name;
          folded.kind = TokenKind::Name;
          folded.temp = true;
          folded.offset = t.offset;
          keep(std::move(folded));
          i += k;
          continue;
        }
      }
      // INFORMATION_SCHEMA.X is one of the catalogue views each connection carries under that
      // name.
      if (nameLike && equalsNoCase(t.text, "information_schema") && next(1) != nullptr &&
          next(1)->isOp(".") && next(2) != nullptr &&
          (next(2)->kind == TokenKind::Word || next(2)->kind == TokenKind::Name)) {
        Token folded = *next(2);
        folded.kind = TokenKind::Name;
        folded.keyword = false;
        folded.text = "INFORMATION_SCHEMA." + automation::asciiUpper(folded.text);
        folded.offset = t.offset;
        keep(std::move(folded));
        i += 2;
        continue;
      }
      if (nameLike && equalsNoCase(t.text, "dbo") && next(1) != nullptr && next(1)->isOp(".") &&
          next(2) != nullptr &&
          (next(2)->kind == TokenKind::Word || next(2)->kind == TokenKind::Name) &&
          !(kept > 0 && in[kept - 1].isOp("."))) {
        ++i;  // the dot; the name follows in the next round
        continue;
      }
      keep(std::move(t));
    }
    in.resize(kept);
    return in;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

}  // namespace

Tokens tokenize(std::string_view text) {
  return Lexer(text).run();
}

}  // namespace quillon::sql
