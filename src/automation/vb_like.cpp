#include "automation/vb_like.h"

#include <vector>

#include "automation/com_error.h"
#include "automation/text_compare.h"
#include "automation/utf8.h"

namespace quillon::automation {
namespace {

constexpr std::int32_t kInvalidPattern = 93;

[[noreturn]] void invalidPattern() {
  throw ComError(kInvalidPattern, "Invalid pattern string");
}

struct Range {
  char32_t lo;
  char32_t hi;
};

struct Token {
  enum Kind { Star, Any, Digit, Char, Class };
  explicit Token(Kind k, char32_t c = 0) : kind(k), ch(c) {}
  Kind kind;
  char32_t ch;
  bool negate = false;
  std::vector<Range> ranges;
};

std::vector<Token> compile(const std::u32string& p) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < p.size(); ++i) {
    char32_t c = p[i];
    if (c == U'*') {
      // Consecutive stars mean the same as one.
      if (tokens.empty() || tokens.back().kind != Token::Star) tokens.emplace_back(Token::Star);
    } else if (c == U'?') {
      tokens.emplace_back(Token::Any);
    } else if (c == U'#') {
      tokens.emplace_back(Token::Digit);
    } else if (c == U'[') {
      std::size_t close = p.find(U']', i + 1);
      if (close == std::u32string::npos) invalidPattern();
      Token t(Token::Class);
      std::size_t j = i + 1;
      if (j < close && p[j] == U'!') {
        t.negate = true;
        ++j;
      }
      for (; j < close; ++j) {
        char32_t lo = p[j];
        if (j + 2 < close && p[j + 1] == U'-') {
          char32_t hi = p[j + 2];
          if (hi < lo) invalidPattern();
          t.ranges.push_back({lo, hi});
          j += 2;
        } else {
          t.ranges.push_back({lo, lo});
        }
      }
      i = close;
      // "[]" matches the empty string: it contributes nothing.
      if (t.ranges.empty() && !t.negate) continue;
      tokens.push_back(std::move(t));
    } else {
      tokens.emplace_back(Token::Char, c);
    }
  }
  return tokens;
}

bool inRanges(const Token& t, char32_t c, bool text) {
  for (const Range& r : t.ranges) {
    if (c >= r.lo && c <= r.hi) return true;
    if (text) {
      char32_t l = foldAscii(c);
      char32_t u = upperAscii(c);
      if ((l >= r.lo && l <= r.hi) || (u >= r.lo && u <= r.hi)) return true;
    }
  }
  return false;
}

bool matchesOne(const Token& t, char32_t c, bool text) {
  switch (t.kind) {
    case Token::Any:
      return true;
    case Token::Digit:
      return c >= U'0' && c <= U'9';
    case Token::Char:
      return text ? foldAscii(c) == foldAscii(t.ch) : c == t.ch;
    case Token::Class:
      return inRanges(t, c, text) != t.negate;
    case Token::Star:
      break;
  }
  return false;
}

}  // namespace

bool Like(std::string_view text, std::string_view pattern, CompareMethod compare) {
  const std::vector<Token> tokens = compile(utf8::decode(pattern));
  const std::u32string s = utf8::decode(text);
  const bool fold = compare == CompareMethod::Text;

  // Every token but "*" consumes exactly one character, so remembering only the last star and
  // letting it absorb one more character on a mismatch finds a match whenever one exists.
  std::size_t si = 0;
  std::size_t ti = 0;
  std::size_t starToken = std::string::npos;
  std::size_t starText = 0;
  while (si < s.size()) {
    if (ti < tokens.size() && tokens[ti].kind == Token::Star) {
      starToken = ti++;
      starText = si;
    } else if (ti < tokens.size() && matchesOne(tokens[ti], s[si], fold)) {
      ++ti;
      ++si;
    } else if (starToken != std::string::npos) {
      ti = starToken + 1;
      si = ++starText;
    } else {
      return false;
    }
  }
  while (ti < tokens.size() && tokens[ti].kind == Token::Star) ++ti;
  return ti == tokens.size();
}

}  // namespace quillon::automation
