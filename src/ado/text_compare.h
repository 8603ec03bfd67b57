// Text comparison for filters, sorts and field names: without regard to case, as the account
// database's collation compares. Letters are folded in the ASCII range; other characters compare
// by code point, which UTF-8 byte order preserves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::ado {

inline char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
bool containsNoCase(std::string_view text, std::string_view part);
std::string foldedCopy(std::string_view s);

// The first eight folded bytes as a big-endian number, so that comparing two keys compares the
// texts' beginnings; equal keys need a full comparison.
std::uint64_t foldedPrefixKey(std::string_view s);

}  // namespace quillon::ado
