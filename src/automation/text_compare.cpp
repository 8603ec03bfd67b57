#include "automation/text_compare.h"

#include <algorithm>

namespace quillon::automation {

std::string asciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = foldAscii(c);
  return out;
}

std::string asciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = upperAscii(c);
  return out;
}

int compareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(foldAscii(a[i]));
    const auto cb = static_cast<unsigned char>(foldAscii(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool containsNoCase(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  if (text.size() < part.size()) return false;
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
    if (equalsNoCase(text.substr(i, part.size()), part)) return true;
  return false;
}

std::uint64_t foldedPrefixKey(std::string_view s) {
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    key <<= 8;
    if (i < s.size()) key |= static_cast<unsigned char>(foldAscii(s[i]));
  }
  return key;
}

}  // namespace quillon::automation
