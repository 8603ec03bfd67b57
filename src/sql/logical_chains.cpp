#include "sql/logical_chains.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "sql/sql_error.h"

namespace quillon::sql {

namespace {

// Whether a token can stand inside a term of a chain (between two of its operators).
bool withinTerm(const Tokens& t, std::size_t i) {
  const Token& x = t[i];
  if (x.kind == TokenKind::Operator) return !x.isOp(",") && !x.isOp(";");
  if (x.kind != TokenKind::Word || !x.keyword) return true;
  static constexpr std::string_view kPredicateWords[] = {
      "and",     "or",     "not",    "in",      "is",  "null", "like",
      "between", "exists", "escape", "collate", "all", "any",  "some"};
  for (std::string_view w : kPredicateWords) {
    if (x.isWord(w)) return true;
  }
  // LEFT(…) and RIGHT(…) are functions there.
  return (x.isWord("left") || x.isWord("right")) && i + 1 < t.size() && t[i + 1].isOp("(");
}

struct Insertions {
  std::vector<std::size_t> opens;   // by token: "(" to add before it
  std::vector<std::size_t> closes;  // by token: ")" to add before it
};

// Groups the terms between consecutive operators at `ops` (positions of the same operator at one
// level, nothing between them that breaks a chain) when the chain is long.
void groupRun(const std::vector<std::size_t>& ops, Insertions& out) {
  // The chain has ops.size() + 1 terms; the ones between two of its operators are grouped.
  if (ops.size() + 1 <= kLongestFlatChain) return;
  for (std::size_t j = 0; j + 1 < ops.size(); ++j) {
    if (ops[j + 1] == ops[j] + 1) return;  // an empty term: left for the engine to refuse
  }
  // Each part: [first token, the operator after it).
  std::vector<std::pair<std::size_t, std::size_t>> parts;
  for (std::size_t j = 0; j + 1 < ops.size(); ++j) parts.emplace_back(ops[j] + 1, ops[j + 1]);
  while (parts.size() > kChainGroup) {
    std::vector<std::pair<std::size_t, std::size_t>> groups;
    for (std::size_t j = 0; j < parts.size(); j += kChainGroup) {
      const std::size_t last = std::min(parts.size(), j + kChainGroup) - 1;
      const std::pair<std::size_t, std::size_t> g{parts[j].first, parts[last].second};
      if (last > j) {
        ++out.opens[g.first];
        ++out.closes[g.second];
      }
      groups.push_back(g);
    }
    parts = std::move(groups);
  }
}

}  // namespace

Tokens groupLongChains(Tokens tokens) {
  const Tokens& t = tokens;
  // Each level's chains are found with its nested groups skipped: the ")" of each "(".
  std::vector<std::size_t> match(t.size(), 0);
  std::vector<std::size_t> opens;
  std::vector<std::size_t> levels{0};  // the first token of each level: 0, and each "(" + 1
  bool anyChain = false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i].isOp("(")) {
      opens.push_back(i);
      levels.push_back(i + 1);
      // Past the translation's nesting limit, which refuses the statement anyway.
      if (opens.size() > static_cast<std::size_t>(kMaxNesting)) return tokens;
    } else if (t[i].isOp(")")) {
      if (opens.empty()) return tokens;  // unbalanced: refused by the translation
      match[opens.back()] = i;
      opens.pop_back();
    } else if (t[i].isWord("or") || t[i].isWord("and")) {
      anyChain = true;
    }
  }
  if (!opens.empty() || !anyChain) return tokens;

  Insertions ins{std::vector<std::size_t>(t.size() + 1, 0),
                 std::vector<std::size_t>(t.size() + 1, 0)};
  for (const std::size_t first : levels) {
    std::vector<std::size_t> ors;
    std::vector<std::size_t> ands;
    bool between = false;  // a BETWEEN waits for its AND
    const auto endAnds = [&] {
      groupRun(ands, ins);
      ands.clear();
      between = false;
    };
    const auto endChain = [&] {
      endAnds();
      groupRun(ors, ins);
      ors.clear();
    };
    std::size_t i = first;
    for (; i < t.size() && !t[i].isOp(")"); ++i) {
      if (t[i].isOp("(")) {
        i = match[i];
      } else if (!withinTerm(t, i)) {
        endChain();
      } else if (t[i].isWord("between")) {
        between = true;
      } else if (t[i].isWord("and")) {
        if (between) {
          between = false;
        } else {
          ands.push_back(i);
        }
      } else if (t[i].isWord("or")) {
        endAnds();
        ors.push_back(i);
      }
    }
    endChain();
  }
  std::size_t added = 0;
  for (std::size_t i = 0; i <= t.size(); ++i) added += ins.opens[i] + ins.closes[i];
  if (added == 0) return tokens;

  Tokens out;
  out.reserve(t.size() + added);
  const auto paren = [](const char* text, const Token& before) {
    Token p;
    p.kind = TokenKind::Operator;
    p.text = text;
    p.offset = before.offset;
    p.end = before.offset;
    return p;
  };
  for (std::size_t i = 0; i < t.size(); ++i) {
    for (std::size_t n = 0; n < ins.closes[i]; ++n) out.push_back(paren(")", t[i]));
    for (std::size_t n = 0; n < ins.opens[i]; ++n) out.push_back(paren("(", t[i]));
    out.push_back(std::move(tokens[i]));
  }
  return out;
}

}  // namespace quillon::sql
