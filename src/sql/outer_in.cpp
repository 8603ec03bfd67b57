#include "sql/outer_in.h"

#include <cstddef>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sql/sql_error.h"

namespace quillon::sql {

namespace {

bool isName(const Token& t) {
  return t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !t.keyword);
}

// Names compare as the server's do: without regard to case, quoted or not.
bool sameName(const Token& a, const Token& b) {
  return isName(a) && isName(b) && a.temp == b.temp && asciiLower(a.text) == asciiLower(b.text);
}

// Whether tokens [at, at + 3) are `q . c`, the same column as `path` (three tokens).
bool samePath(const Tokens& t, std::size_t at, std::size_t path) {
  return sameName(t[at], t[path]) && t[at + 1].isOp(".") && sameName(t[at + 2], t[path + 2]);
}

bool isAnyWord(const Token& t, std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) {
    if (t.isWord(w)) return true;
  }
  return false;
}

// One IN to rewrite: the operand's first token, the "(" of the sub-select, its FROM and its ")".
struct Match {
  std::size_t operand;
  std::size_t open;
  std::size_t from;
  std::size_t close;
};

class Rewriter {
 public:
  explicit Rewriter(const Tokens& t) : t_(t), match_(t.size(), 0), opening_(t.size(), 0) {}

  // Pairs the parentheses; false when they do not balance or nest so deep that one level more
  // would pass the translation's limit (the translation refuses or accepts such a batch as is).
  bool pair() {
    std::vector<std::size_t> opens;
    for (std::size_t i = 0; i < t_.size(); ++i) {
      if (t_[i].isOp("(")) {
        opens.push_back(i);
        if (opens.size() + 2 > static_cast<std::size_t>(kMaxNesting)) return false;
      } else if (t_[i].isOp(")")) {
        if (opens.empty()) return false;
        match_[opens.back()] = i;
        opening_[i] = opens.back();
        opens.pop_back();
      }
    }
    return opens.empty();
  }

  // The IN whose "IN" is token i, if it is one to rewrite.
  std::optional<Match> at(std::size_t i) const {
    if (!t_[i].isWord("in") || i < 3 || i + 2 >= t_.size() || !t_[i + 1].isOp("(") ||
        !t_[i + 2].isWord("select"))
      return std::nullopt;
    const std::size_t operand = i - 3;
    if (!isName(t_[operand]) || !t_[operand + 1].isOp(".") || !isName(t_[operand + 2]))
      return std::nullopt;
    if (operand > 0 && !standsAlone(operand)) return std::nullopt;
    const std::size_t open = i + 1;
    const std::size_t close = match_[open];
    // SELECT [DISTINCT | ALL] q.c FROM
    std::size_t p = open + 2;
    if (t_[p].isWord("distinct") || t_[p].isWord("all")) ++p;
    if (p + 3 >= close || !samePath(t_, p, operand) || !t_[p + 3].isWord("from"))
      return std::nullopt;
    const std::size_t from = p + 3;
    bool inFrom = true;
    for (std::size_t k = from + 1; k < close; ++k) {
      const Token& x = t_[k];
      if (inFrom && sameName(x, t_[operand])) return std::nullopt;
      if (x.isOp("(")) {
        // A nested select's own clauses are its own; its names count in the FROM clause.
        if (inFrom) {
          for (std::size_t n = k + 1; n < match_[k]; ++n) {
            if (sameName(t_[n], t_[operand])) return std::nullopt;
          }
        }
        k = match_[k];
        continue;
      }
      if (x.isWord("where")) inFrom = false;
      if (x.isOp(";") || isAnyWord(x, {"top", "group", "having", "order", "union", "except",
                                       "intersect", "into", "for", "option", "compute"}))
        return std::nullopt;
    }
    return Match{operand, open, from, close};
  }

  // The rewritten tokens; `tokens` are the ones the Rewriter was made with, moved from.
  Tokens write(Tokens& tokens, const std::map<std::size_t, Match>& matches) const {
    Tokens out;
    out.reserve(tokens.size() + 8 * matches.size());
    copy(tokens, 0, tokens.size(), matches, out);
    return out;
  }

 private:
  // Whether the token before the operand at `operand` leaves it a whole operand of the IN.
  bool standsAlone(std::size_t operand) const {
    const Token& before = t_[operand - 1];
    if (before.isOp("(")) return true;
    if (isAnyWord(before, {"or", "not", "where", "on", "having", "when", "if", "while"}))
      return true;
    if (!before.isWord("and")) return false;
    // The AND of a BETWEEN binds its bound, not a condition.
    for (std::size_t q = operand - 1; q > 0; --q) {
      const Token& w = t_[q - 1];
      if (w.isOp(")")) {
        q = opening_[q - 1] + 1;  // a group is one operand
        continue;
      }
      if (w.isOp("(") || w.isOp(",")) return true;
      if (w.kind != TokenKind::Word || !w.keyword || w.isWord("null")) continue;
      return !w.isWord("between");
    }
    return true;
  }

  static Token made(TokenKind kind, const char* text, std::size_t offset) {
    Token x;
    x.kind = kind;
    x.text = text;
    x.offset = offset;
    x.end = offset;
    x.keyword = kind == TokenKind::Word;
    return x;
  }

  void copy(Tokens& tokens, std::size_t begin, std::size_t end,
            const std::map<std::size_t, Match>& matches, Tokens& out) const {
    for (std::size_t i = begin; i < end; ++i) {
      const auto m = matches.find(i);
      if (m == matches.end()) {
        out.push_back(std::move(tokens[i]));
        continue;
      }
      const Match& x = m->second;
      const std::size_t in = x.open - 1;
      const std::size_t at = tokens[in].offset;
      const std::size_t closeAt = tokens[x.close].offset;
      const Tokens path(tokens.begin() + static_cast<std::ptrdiff_t>(x.operand),
                        tokens.begin() + static_cast<std::ptrdiff_t>(x.operand + 3));
      out.push_back(made(TokenKind::Operator, "(", tokens[x.operand].offset));
      out.push_back(made(TokenKind::Word, "EXISTS", at));
      out.push_back(made(TokenKind::Operator, "(", at));
      out.push_back(made(TokenKind::Word, "SELECT", at));
      out.push_back(made(TokenKind::Number, "1", at));
      out.back().keyword = false;
      // FROM … ")", with the INs inside rewritten too.
      copy(tokens, x.from, x.close + 1, matches, out);
      out.push_back(made(TokenKind::Word, "AND", at));
      out.insert(out.end(), path.begin(), path.end());
      out.push_back(made(TokenKind::Operator, "=", at));
      out.insert(out.end(), path.begin(), path.end());
      // Where the IN's ")" was: the statement's source text ends where it ended.
      out.push_back(made(TokenKind::Operator, ")", closeAt));
      i = x.close;
    }
  }

  const Tokens& t_;
  std::vector<std::size_t> match_;    // for "(": its ")"
  std::vector<std::size_t> opening_;  // for ")": its "("
};

}  // namespace

Tokens existsForOuterIn(Tokens tokens) {
  bool any = false;
  for (const Token& x : tokens) any = any || x.isWord("in");
  if (!any) return tokens;
  Rewriter r(tokens);
  if (!r.pair()) return tokens;
  std::map<std::size_t, Match> matches;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (auto m = r.at(i)) matches.emplace(m->operand, *m);
  }
  if (matches.empty()) return tokens;
  return r.write(tokens, matches);
}

}  // namespace quillon::sql
