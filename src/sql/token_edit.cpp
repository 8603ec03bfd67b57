#include "sql/token_edit.h"

#include "sql/sql_error.h"

namespace quillon::sql {

bool isPlainName(const Token& t) {
  return t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !t.keyword);
}

bool isAnyWord(const Token& t, std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) {
    if (t.isWord(w)) return true;
  }
  return false;
}

Token addedToken(TokenKind kind, const char* text, std::size_t offset) {
  Token x;
  x.kind = kind;
  x.text = text;
  x.offset = offset;
  x.end = offset;
  x.keyword = kind == TokenKind::Word;
  return x;
}

ParenPairs::ParenPairs(const Tokens& t)
    : t_(t), match_(t.size(), 0), opening_(t.size(), 0), enclosing_(t.size(), kNone) {}

bool ParenPairs::pair() {
  std::vector<std::size_t> opens;
  for (std::size_t i = 0; i < t_.size(); ++i) {
    if (!opens.empty()) enclosing_[i] = opens.back();
    if (t_[i].isOp("(")) {
      opens.push_back(i);
      if (opens.size() + 2 > static_cast<std::size_t>(kMaxNesting)) return false;
    } else if (t_[i].isOp(")")) {
      if (opens.empty()) return false;
      match_[opens.back()] = i;
      opening_[i] = opens.back();
      opens.pop_back();
      enclosing_[i] = opens.empty() ? kNone : opens.back();
    }
  }
  return opens.empty();
}

}  // namespace quillon::sql
