#include "sql/outer_in.h"

#include <cstddef>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sql/column_types.h"
#include "sql/sql_error.h"
#include "sql/token_edit.h"

namespace quillon::sql {

namespace {

// Names compare as the server's do: without regard to case, quoted or not.
bool sameName(const Token& a, const Token& b) {
  return isPlainName(a) && isPlainName(b) && a.temp == b.temp &&
         asciiLower(a.text) == asciiLower(b.text);
}

// Whether tokens [at, at + 3) are `q . c`, the same column as `path` (three tokens).
bool samePath(const Tokens& t, std::size_t at, std::size_t path) {
  return sameName(t[at], t[path]) && t[at + 1].isOp(".") && sameName(t[at + 2], t[path + 2]);
}

// One IN to rewrite: the operand's first token, the "(" of the sub-select, its FROM and its ")".
struct Match {
  std::size_t operand;
  std::size_t open;
  std::size_t from;
  std::size_t close;
};

// The parentheses paired, and where an IN's operand stands.
class Parens : public ParenPairs {
 public:
  explicit Parens(const Tokens& t) : ParenPairs(t) {}

 protected:
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
};

class Rewriter : public Parens {
 public:
  explicit Rewriter(const Tokens& t) : Parens(t) {}

  // The IN whose "IN" is token i, if it is one to rewrite.
  std::optional<Match> at(std::size_t i) const {
    if (!t_[i].isWord("in") || i < 3 || i + 2 >= t_.size() || !t_[i + 1].isOp("(") ||
        !t_[i + 2].isWord("select"))
      return std::nullopt;
    const std::size_t operand = i - 3;
    if (!isPlainName(t_[operand]) || !t_[operand + 1].isOp(".") || !isPlainName(t_[operand + 2]))
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
      out.push_back(addedToken(TokenKind::Operator, "(", tokens[x.operand].offset));
      out.push_back(addedToken(TokenKind::Word, "EXISTS", at));
      out.push_back(addedToken(TokenKind::Operator, "(", at));
      out.push_back(addedToken(TokenKind::Word, "SELECT", at));
      out.push_back(addedToken(TokenKind::Number, "1", at));
      // FROM … ")", with the INs inside rewritten too.
      copy(tokens, x.from, x.close + 1, matches, out);
      out.push_back(addedToken(TokenKind::Word, "AND", at));
      out.insert(out.end(), path.begin(), path.end());
      out.push_back(addedToken(TokenKind::Operator, "=", at));
      out.insert(out.end(), path.begin(), path.end());
      // Where the IN's ")" was: the statement's source text ends where it ended.
      out.push_back(addedToken(TokenKind::Operator, ")", closeAt));
      i = x.close;
    }
  }
};

// A table of a FROM clause and the name its columns are qualified with there.
struct FromTable {
  std::size_t table;  // the table's name
  std::size_t name;   // its alias, else the table's name
};

// `x IN (SELECT c FROM … [WHERE w])` where only its truth counts, written as
// `EXISTS (SELECT 1 FROM … WHERE (w) AND c = x)`.
struct Correlation {
  std::size_t operand;  // the operand's first token
  std::size_t operandEnd;
  // For an unqualified operand: the name that qualifies it, copied before the tokens move.
  std::optional<Token> qualifier;
  std::size_t list;  // the sub-select's column
  std::size_t listEnd;
  std::size_t from;
  std::size_t where;  // the sub-select's WHERE, or kNone
  std::size_t close;
};

class Correlator : public Parens {
 public:
  explicit Correlator(const Tokens& t) : Parens(t) {}

  std::optional<Correlation> at(std::size_t i) const {
    if (!t_[i].isWord("in") || i < 2 || i + 2 >= t_.size() || !t_[i + 1].isOp("(") ||
        !t_[i + 2].isWord("select"))
      return std::nullopt;
    Correlation m{};
    m.operandEnd = i;
    if (i >= 4 && isPlainName(t_[i - 3]) && t_[i - 2].isOp(".") && isPlainName(t_[i - 1])) {
      m.operand = i - 3;
    } else if (isPlainName(t_[i - 1]) && !t_[i - 2].isOp(".")) {
      m.operand = i - 1;
    } else {
      return std::nullopt;
    }
    if (t_[m.operand - 1].isWord("not") || !standsAlone(m.operand) || !onlyTruthCounts(m.operand))
      return std::nullopt;
    const std::size_t open = i + 1;
    m.close = match_[open];
    // SELECT [DISTINCT | ALL] [q.]c FROM
    std::size_t p = open + 2;
    if (t_[p].isWord("distinct") || t_[p].isWord("all")) ++p;
    m.list = p;
    if (p + 1 < m.close && isPlainName(t_[p]) && t_[p + 1].isOp(".")) p += 2;
    if (p + 1 >= m.close || !isPlainName(t_[p]) || !t_[p + 1].isWord("from")) return std::nullopt;
    m.listEnd = p + 1;
    m.from = p + 1;
    m.where = kNone;
    for (std::size_t k = m.from + 1; k < m.close; ++k) {
      const Token& x = t_[k];
      if (x.isOp("(")) {
        k = match_[k];
        continue;
      }
      if (x.isWord("where") && m.where == kNone) m.where = k;
      if (x.isOp(";") || isAnyWord(x, {"top", "group", "having", "order", "union", "except",
                                       "intersect", "into", "for", "option", "compute"}))
        return std::nullopt;
    }
    if (m.operand == i - 1) {
      const std::size_t owner = ownerOf(m.operand);
      if (owner == kNone) return std::nullopt;
      m.qualifier = t_[owner];
    }
    // The sub-select must not name the qualifier: there it would be its own row's.
    const Token& q = m.qualifier ? *m.qualifier : t_[m.operand];
    const std::size_t fromEnd = m.where == kNone ? m.close : m.where;
    for (std::size_t k = m.from + 1; k < fromEnd; ++k) {
      if (sameName(t_[k], q)) return std::nullopt;
    }
    return m;
  }

  Tokens write(Tokens& tokens, const std::map<std::size_t, Correlation>& matches) const {
    Tokens out;
    out.reserve(tokens.size() + 12 * matches.size());
    copy(tokens, 0, tokens.size(), matches, out);
    return out;
  }

 private:
  // Whether only the condition's truth counts where the operand stands: no NOT applies to it up
  // to the select whose condition holds it, so an unknown answer and a false one act alike.
  bool onlyTruthCounts(std::size_t operand) const {
    for (std::size_t o = enclosing_[operand]; o != kNone; o = enclosing_[o]) {
      if (o + 1 < t_.size() && t_[o + 1].isWord("select")) return true;
      if (o > 0 && t_[o - 1].isWord("not")) return false;
    }
    return true;
  }

  // For an unqualified operand in a select's WHERE: the name of the one table of that select's
  // FROM that has the column, when the schema tells; else kNone.
  std::size_t ownerOf(std::size_t operand) const {
    std::size_t where = kNone;
    std::size_t from = kNone;
    std::size_t k = operand;
    while (k-- > 0) {
      const Token& x = t_[k];
      if (x.isOp(")")) {
        k = opening_[k];
        continue;
      }
      // Leaving a group: a condition's, up to the WHERE; a sub-select's ends the search.
      if (x.isOp("(")) {
        if (where != kNone || t_[k + 1].isWord("select")) return kNone;
        continue;
      }
      if (x.isOp(";")) return kNone;
      if (x.kind != TokenKind::Word || !x.keyword) continue;
      if (where == kNone) {
        if (x.isWord("where")) {
          where = k;
        } else if (isAnyWord(x, {"select", "from", "on", "join", "having", "group", "order",
                                 "union", "except", "intersect", "set", "values", "update",
                                 "delete", "insert", "if", "while", "when", "case"})) {
          return kNone;
        }
      } else if (from == kNone) {
        if (x.isWord("from")) {
          from = k;
        } else if (!isAnyWord(
                       x, {"join", "inner", "left", "right", "full", "outer", "cross", "on", "as",
                           "and", "or", "not", "is", "null", "like", "between", "in", "exists"})) {
          return kNone;
        }
      } else if (x.isWord("select")) {
        return owner(from, where, t_[operand]);
      } else if (isAnyWord(x, {"from", "where", "update", "delete", "insert", "set", "values"})) {
        return kNone;
      }
    }
    return kNone;
  }

  // A word that starts the next join of a FROM clause.
  bool joinWord(std::size_t k) const {
    return isAnyWord(t_[k], {"inner", "left", "right", "full", "cross", "join"}) &&
           !(k + 1 < t_.size() && t_[k + 1].isOp("("));
  }

  // The qualifying name of the one table among FROM's (tokens (from, where)) that has `column`:
  // tables named plainly, with or without an alias, joined or listed; anything else, kNone.
  std::size_t owner(std::size_t from, std::size_t where, const Token& column) const {
    std::vector<FromTable> tables;
    std::size_t k = from + 1;
    for (;;) {
      if (k >= where || !isPlainName(t_[k]) || t_[k].temp || t_[k + 1].isOp(".")) return kNone;
      FromTable f{k, k};
      ++k;
      if (k < where && t_[k].isWord("as")) ++k;
      if (k < where && isPlainName(t_[k])) f.name = k++;
      tables.push_back(f);
      if (k < where && t_[k].isWord("on")) {
        for (++k; k < where && !t_[k].isOp(",") && !joinWord(k); ++k) {
          if (t_[k].isOp("(")) k = match_[k];
        }
      }
      if (k == where) break;
      if (t_[k].isOp(",")) {
        ++k;
        continue;
      }
      while (k < where && isAnyWord(t_[k], {"inner", "left", "right", "full", "outer", "cross"}))
        ++k;
      if (k >= where || !t_[k].isWord("join")) return kNone;
      ++k;
    }
    SchemaScope* scope = SchemaScope::current();
    if (scope == nullptr) return kNone;
    const std::string name = asciiLower(column.text);
    std::size_t found = kNone;
    for (const FromTable& f : tables) {
      const auto columns = scope->table(asciiLower(t_[f.table].text));
      if (columns == nullptr) return kNone;
      if (columns->count(name) == 0) continue;
      if (found != kNone) return kNone;
      found = f.name;
    }
    return found;
  }

  void copy(Tokens& tokens, std::size_t begin, std::size_t end,
            const std::map<std::size_t, Correlation>& matches, Tokens& out) const {
    for (std::size_t i = begin; i < end; ++i) {
      const auto m = matches.find(i);
      if (m == matches.end()) {
        out.push_back(std::move(tokens[i]));
        continue;
      }
      const Correlation& x = m->second;
      const std::size_t at = tokens[x.operandEnd].offset;
      const std::size_t closeAt = tokens[x.close].offset;
      Tokens operand;
      if (x.qualifier) {
        Token q = *x.qualifier;
        q.offset = q.end = tokens[x.operand].offset;
        operand.push_back(std::move(q));
        operand.push_back(addedToken(TokenKind::Operator, ".", tokens[x.operand].offset));
      }
      operand.insert(operand.end(), tokens.begin() + static_cast<std::ptrdiff_t>(x.operand),
                     tokens.begin() + static_cast<std::ptrdiff_t>(x.operandEnd));
      out.push_back(addedToken(TokenKind::Word, "EXISTS", operand.front().offset));
      out.push_back(addedToken(TokenKind::Operator, "(", at));
      out.push_back(addedToken(TokenKind::Word, "SELECT", at));
      out.push_back(addedToken(TokenKind::Number, "1", at));
      const std::size_t fromEnd = x.where == kNone ? x.close : x.where;
      copy(tokens, x.from, fromEnd, matches, out);
      out.push_back(addedToken(TokenKind::Word, "WHERE", at));
      if (x.where != kNone) {
        out.push_back(addedToken(TokenKind::Operator, "(", at));
        copy(tokens, x.where + 1, x.close, matches, out);
        out.push_back(addedToken(TokenKind::Operator, ")", closeAt));
        out.push_back(addedToken(TokenKind::Word, "AND", closeAt));
      }
      for (std::size_t k = x.list; k < x.listEnd; ++k) {
        Token c = tokens[k];
        c.offset = c.end = closeAt;
        out.push_back(std::move(c));
      }
      out.push_back(addedToken(TokenKind::Operator, "=", closeAt));
      for (Token& o : operand) {
        o.offset = o.end = closeAt;
        out.push_back(std::move(o));
      }
      // Where the IN's ")" was: the statement's source text ends where it ended.
      out.push_back(addedToken(TokenKind::Operator, ")", closeAt));
      i = x.close;
    }
  }
};

}  // namespace

namespace {

// The tokens with every IN the finder takes rewritten by it.
template <typename Finder>
Tokens rewriteIns(Tokens tokens) {
  bool any = false;
  for (const Token& x : tokens) any = any || x.isWord("in");
  if (!any) return tokens;
  Finder r(tokens);
  if (!r.pair()) return tokens;
  std::map<std::size_t, typename decltype(r.at(0))::value_type> matches;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (auto m = r.at(i)) matches.emplace(m->operand, *m);
  }
  if (matches.empty()) return tokens;
  return r.write(tokens, matches);
}

}  // namespace

Tokens existsForOuterIn(Tokens tokens) {
  return rewriteIns<Rewriter>(std::move(tokens));
}

Tokens correlatedIn(Tokens tokens) {
  return rewriteIns<Correlator>(std::move(tokens));
}

}  // namespace quillon::sql
