#include "automation/utf8.h"

namespace quillon::automation::utf8 {
namespace {

bool isContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

}  // namespace

std::size_t charLength(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return 0;
  const auto b0 = static_cast<unsigned char>(s[pos]);
  if (b0 < 0x80) return 1;
  std::size_t len = 0;
  unsigned char lo = 0x80;
  unsigned char hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    if (b0 == 0xE0) lo = 0xA0;  // overlong
    if (b0 == 0xED) hi = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 1;
  }
  if (pos + len > s.size()) return 1;
  const auto b1 = static_cast<unsigned char>(s[pos + 1]);
  if (b1 < lo || b1 > hi) return 1;
  for (std::size_t i = 2; i < len; ++i) {
    if (!isContinuation(static_cast<unsigned char>(s[pos + i]))) return 1;
  }
  return len;
}

std::size_t charCount(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t pos = 0; pos < s.size(); pos += charLength(s, pos)) ++n;
  return n;
}

std::size_t byteOffset(std::string_view s, std::size_t n) {
  std::size_t pos = 0;
  while (n > 0 && pos < s.size()) {
    pos += charLength(s, pos);
    --n;
  }
  return pos;
}

std::size_t charIndex(std::string_view s, std::size_t pos) {
  std::size_t n = 0;
  for (std::size_t p = 0; p < pos && p < s.size(); p += charLength(s, p)) ++n;
  return n;
}

bool isBoundary(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return pos == s.size();
  if (!isContinuation(static_cast<unsigned char>(s[pos]))) return true;
  // A byte that is no continuation byte always starts a character, so the character holding pos
  // starts at the nearest such byte before it, if one lies within a sequence's length.
  for (std::size_t back = 1; back <= 3 && back <= pos; ++back) {
    if (!isContinuation(static_cast<unsigned char>(s[pos - back]))) {
      return charLength(s, pos - back) <= back;
    }
  }
  return true;  // a stray continuation byte
}

bool isWellFormed(std::string_view s) {
  for (std::size_t pos = 0; pos < s.size();) {
    if (isRawByte(decodeAt(s, pos))) return false;
  }
  return true;
}

std::size_t utf16Length(std::string_view s) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < s.size();) {
    const std::size_t length = charLength(s, pos);
    units += length == 4 ? 2 : 1;  // four bytes hold a character beyond U+FFFF: a surrogate pair
    pos += length;
  }
  return units;
}

char32_t decodeAt(std::string_view s, std::size_t& pos) {
  const std::size_t len = charLength(s, pos);
  const auto b0 = static_cast<unsigned char>(s[pos]);
  char32_t cp = 0;
  if (len == 1) {
    cp = b0 < 0x80 ? b0 : kRawByteBase + b0;
  } else {
    cp = b0 & (0x7F >> len);
    for (std::size_t i = 1; i < len; ++i) {
      cp = (cp << 6) | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
    }
  }
  pos += len;
  return cp;
}

std::u32string decode(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  for (std::size_t pos = 0; pos < s.size();) out.push_back(decodeAt(s, pos));
  return out;
}

void append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (isRawByte(c)) {
    out.push_back(static_cast<char>(c - kRawByteBase));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string encode(std::u32string_view cps) {
  std::string out;
  out.reserve(cps.size());
  for (char32_t c : cps) append(out, c);
  return out;
}

std::string encode(char32_t c) {
  std::string out;
  append(out, c);
  return out;
}

}  // namespace quillon::automation::utf8
