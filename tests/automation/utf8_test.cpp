#include "automation/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon::automation::utf8 {
namespace {

// Texts where a byte's place decides what it is: well-formed characters of every length, cut and
// overlong sequences, surrogates, values past U+10FFFF, stray and surplus continuation bytes.
const std::string kTexts[] = {"",
                              "a",
                              "结存数量",
                              "𠀀x𠀀",
                              "a\xE6\x9D",
                              std::string("\xE6\x9D") + "b",
                              "\x80\x80\x80\x80\x80",
                              "\xC0\xAF",
                              "\xED\xA0\x80",
                              "\xF4\x90\x80\x80",
                              "\xF0\x9F\x98\x80\x80\x80",
                              "中\x80文\xFF",
                              "\xE6\xE6\x9D\xA1",
                              "é\xC3"};

TEST(Utf8, BoundariesAreWhereDecodingStops) {
  for (const std::string& s : kTexts) {
    std::vector<bool> starts(s.size() + 1, false);
    std::size_t chars = 0;
    for (std::size_t pos = 0; pos < s.size(); ++chars) {
      starts[pos] = true;
      decodeAt(s, pos);
    }
    starts[s.size()] = true;
    for (std::size_t pos = 0; pos <= s.size(); ++pos) {
      EXPECT_EQ(isBoundary(s, pos), starts[pos]) << "byte " << pos << " of a text of " << s.size();
    }
    EXPECT_FALSE(isBoundary(s, s.size() + 1));
    EXPECT_EQ(charCount(s), chars);
    EXPECT_EQ(byteOffset(s, chars), s.size());
  }
}

TEST(Utf8, MalformedBytesCountAsCharactersEverywhere) {
  EXPECT_TRUE(isWellFormed("结存 𠀀 é"));
  for (const char* bad :
       {"a\xE6\x9D", "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "é\xC3"}) {
    EXPECT_FALSE(isWellFormed(bad)) << bad;
  }
  // UTF-16 units: two for a character beyond U+FFFF, one for any other, a malformed byte included.
  EXPECT_EQ(utf16Length("a结𠀀"), 4u);
  EXPECT_EQ(utf16Length("\xF0\x9F\x98"), 3u);  // a cut four-byte sequence: three stray bytes
  EXPECT_EQ(utf16Length("\x80\x80"), 2u);
  EXPECT_EQ(byteOffset(std::string("\xE6\x9D") + "b", 1), 1u);
  EXPECT_EQ(charIndex("中\x80文", 4), 2u);
}

}  // namespace
}  // namespace quillon::automation::utf8
