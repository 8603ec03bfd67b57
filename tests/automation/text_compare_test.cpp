#include "automation/text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillon::automation {
namespace {

TEST(TextCompare, OnlyAsciiLettersFold) {
  // The neighbours of the letter ranges stay, and so does every byte from 0x80: a Latin-1 capital
  // (0xC0-0xDE) is a lead byte of UTF-8, and folding it would break the character.
  EXPECT_EQ(asciiLower("@AZ[`az{"), "@az[`az{");
  EXPECT_EQ(asciiUpper("@AZ[`az{"), "@AZ[`AZ{");
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(asciiLower(byte), byte) << b;
    EXPECT_EQ(asciiUpper(byte), byte) << b;
  }
  EXPECT_EQ(asciiLower("cInvCode É 结存数量"), "cinvcode É 结存数量");
  EXPECT_EQ(foldAscii(U'Q'), U'q');
  EXPECT_EQ(upperAscii(U'é'), U'é');
  EXPECT_EQ(upperAscii(U'ｑ'), U'ｑ');  // a full-width letter is no ASCII letter
}

TEST(TextCompare, ComparisonsIgnoreAsciiCaseAndOrderByCodePoint) {
  EXPECT_TRUE(equalsNoCase("cInvCode", "CINVCODE"));
  EXPECT_FALSE(equalsNoCase("É", "é"));
  EXPECT_FALSE(equalsNoCase("ab", "abc"));
  EXPECT_EQ(compareNoCase("abc", "ABD"), -1);
  EXPECT_EQ(compareNoCase("ABC", "ab"), 1);  // a longer text after its prefix
  EXPECT_EQ(compareNoCase("_", "a"), -1);    // '_' sorts before letters of either case
  EXPECT_TRUE(startsWithNoCase("ORDER BY x", "order"));
  EXPECT_TRUE(endsWithNoCase("x.XLS", ".xls"));
  EXPECT_TRUE(containsNoCase("select * FROM t", "from"));
  EXPECT_FALSE(containsNoCase("fro", "from"));

  // Sorting by the prefix key and then by the whole text gives the order of compareNoCase.
  std::vector<std::string> texts = {"b",         "B1",        "a",         "Ab", "abcdefghZ",
                                    "ABCDEFGHa", "结存",      "库存",      "",   "abcdefgh",
                                    "\x80",      "zzzzzzzzz", "ZZZZZZZZZZ"};
  std::vector<std::string> byKey = texts;
  std::sort(byKey.begin(), byKey.end(), [](const std::string& x, const std::string& y) {
    const auto kx = foldedPrefixKey(x);
    const auto ky = foldedPrefixKey(y);
    return kx != ky ? kx < ky : compareNoCase(x, y) < 0;
  });
  std::sort(texts.begin(), texts.end(),
            [](const std::string& x, const std::string& y) { return compareNoCase(x, y) < 0; });
  EXPECT_EQ(byKey, texts);
}

}  // namespace
}  // namespace quillon::automation
