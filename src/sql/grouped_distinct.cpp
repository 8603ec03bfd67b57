#include "sql/grouped_distinct.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "sql/token_edit.h"

namespace quillon::sql {

namespace {

// Whether a token can end an expression, so that a name after it is the column's alias.
bool endsValue(const Token& t) {
  return isPlainName(t) || t.kind == TokenKind::Number || t.kind == TokenKind::String ||
         t.kind == TokenKind::Variable || t.isOp(")") || t.isWord("end") || t.isWord("null");
}

bool isAggregate(const Token& t) {
  for (std::string_view name : kAggregates) {
    if (t.isWord(name)) return true;
  }
  return false;
}

using Range = std::pair<std::size_t, std::size_t>;

class Grouping : public ParenPairs {
 public:
  explicit Grouping(const Tokens& t) : ParenPairs(t) {}

  // The keys and where GROUP BY goes; false when the statement is not one to rewrite.
  bool find(std::vector<Range>& keys, std::size_t& at) const {
    if (t_.size() < 4 || !t_[0].isWord("select") || !t_[1].isWord("distinct")) return false;
    std::size_t k = 2;
    if (t_[k].isWord("top")) {
      k += 2;
      if (k > t_.size()) return false;
      if (k < t_.size() && t_[k - 1].isOp("(")) k = match_[k - 1] + 1;
      if (k < t_.size() && t_[k].isWord("percent")) ++k;
      if (k < t_.size() && t_[k].isWord("with")) return false;
    }
    const std::size_t listBegin = k;
    std::size_t listEnd = 0;
    at = t_.size();
    bool from = false;
    for (; k < t_.size(); ++k) {
      const Token& x = t_[k];
      if (x.isOp("(")) {
        k = match_[k];
        continue;
      }
      if (listEnd == 0 && (x.isWord("from") || x.isWord("into"))) listEnd = k;
      if (x.isWord("from")) from = true;
      if (isAnyWord(x, {"group", "having", "union", "except", "intersect", "compute"}))
        return false;
      if (isAnyWord(x, {"order", "for", "option"}) || x.isOp(";")) {
        at = k;
        break;
      }
    }
    if (!from || listEnd <= listBegin) return false;
    std::size_t b = listBegin;
    for (std::size_t e = listBegin; e <= listEnd; ++e) {
      if (e < listEnd && t_[e].isOp("(")) {
        e = match_[e];
        continue;
      }
      if (e < listEnd && !t_[e].isOp(",")) continue;
      if (e == b) return false;
      Range key{b, e};
      if (!expression(key)) return false;
      if (!constant(key)) keys.push_back(key);
      b = e + 1;
    }
    return !keys.empty();
  }

 private:
  // The item [b, e) without its alias; false for an item that cannot be a key.
  bool expression(Range& r) const {
    auto& [b, e] = r;
    if (t_[b].kind == TokenKind::Variable) return false;  // @v = …: assigns, lists nothing
    if (e - b >= 3 && isPlainName(t_[b]) && t_[b + 1].isOp("=")) {
      b += 2;
    } else if (e - b >= 3 && t_[e - 2].isWord("as")) {
      e -= 2;
    } else if (e - b >= 2 && (isPlainName(t_[e - 1]) || t_[e - 1].kind == TokenKind::String) &&
               endsValue(t_[e - 2]) && !t_[e - 2].isOp(".")) {
      e -= 1;
    }
    for (std::size_t k = b; k < e; ++k) {
      const Token& x = t_[k];
      if (x.isOp("(") && k + 1 < e && t_[k + 1].isWord("select")) {
        k = match_[k];  // a sub-select's own aggregates are its own
        continue;
      }
      if (x.isOp("*") || x.isWord("over")) return false;
      if (isAggregate(x) && k + 1 < e && t_[k + 1].isOp("(")) return false;
    }
    return e > b;
  }

  // A literal, signed or in parentheses or both: it groups nothing, and the server would take a
  // number there for a column's place and refuse a text.
  bool constant(const Range& r) const {
    const Token* literal = nullptr;
    for (std::size_t k = r.first; k < r.second; ++k) {
      const Token& x = t_[k];
      if (x.isOp("(") || x.isOp(")") || x.isOp("-") || x.isOp("+")) continue;
      if (literal != nullptr) return false;
      literal = &x;
    }
    return literal != nullptr && (literal->kind == TokenKind::Number ||
                                  literal->kind == TokenKind::String || literal->isWord("null"));
  }
};

}  // namespace

Tokens distinctAsGrouping(Tokens statement) {
  if (statement.size() < 4 || !statement[1].isWord("distinct")) return statement;
  Grouping g(statement);
  std::vector<Range> keys;
  std::size_t at = 0;
  if (!g.pair() || !g.find(keys, at)) return statement;
  const std::size_t offset = statement[at - 1].offset;
  Tokens added{addedToken(TokenKind::Word, "GROUP", offset),
               addedToken(TokenKind::Word, "BY", offset)};
  for (const Range& key : keys) {
    if (added.size() > 2) added.push_back(addedToken(TokenKind::Operator, ",", offset));
    for (std::size_t k = key.first; k < key.second; ++k) {
      Token x = statement[k];
      x.offset = x.end = offset;
      added.push_back(std::move(x));
    }
  }
  Tokens out;
  out.reserve(statement.size() + added.size());
  for (std::size_t k = 0; k < at; ++k) {
    if (k != 1) out.push_back(std::move(statement[k]));
  }
  for (Token& x : added) out.push_back(std::move(x));
  for (std::size_t k = at; k < statement.size(); ++k) out.push_back(std::move(statement[k]));
  return out;
}

}  // namespace quillon::sql
