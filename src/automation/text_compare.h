// The library's one case folding and one text comparison without regard to case, for names of
// members, controls, fields, options, SQL words and registry keys as for filters, sorts and keys,
// as the platform and the account database's collation compare them.
//
// Only ASCII letters fold, never through the standard tolower/toupper, whose answer depends on
// the process's locale (a desktop process takes the user's). Every other character, Chinese ones
// included, compares by code point, which UTF-8 byte order preserves; a byte of a multi-byte
// sequence (0x80 and up) never folds, so folding cannot break a character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::automation {

inline constexpr char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
inline constexpr char upperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
// The same for a code point of decoded text (automation/utf8.h).
inline constexpr char32_t foldAscii(char32_t c) {
  return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}
inline constexpr char32_t upperAscii(char32_t c) {
  return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

std::string asciiLower(std::string_view s);
std::string asciiUpper(std::string_view s);

int compareNoCase(std::string_view a, std::string_view b);

inline bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
bool containsNoCase(std::string_view text, std::string_view part);

// The first eight folded bytes as a big-endian number, so that comparing two keys compares the
// texts' beginnings; equal keys need a full comparison.
std::uint64_t foldedPrefixKey(std::string_view s);

}  // namespace quillon::automation
