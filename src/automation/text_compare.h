// The library's one text comparison without regard to case, for names of members, controls,
// fields and options as for filters, sorts and keys, as the platform and the account database's
// collation compare them. Only ASCII letters fold (never through the locale-sensitive standard
// tolower); every other character, Chinese ones included, compares by code point, which UTF-8
// byte order preserves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::automation {

inline char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

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
