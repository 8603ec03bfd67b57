#include <gtest/gtest.h>

#include "automation/vb_like.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

TEST(Like, WildcardsAndClasses) {
  EXPECT_TRUE(Like("ABC", "A*"));
  EXPECT_TRUE(Like("ABC", "*"));
  EXPECT_TRUE(Like("", "*"));
  EXPECT_FALSE(Like("", "?"));
  EXPECT_TRUE(Like("ABC", "A?C"));
  EXPECT_FALSE(Like("ABBC", "A?C"));
  EXPECT_TRUE(Like("A1C", "A#C"));
  EXPECT_FALSE(Like("AxC", "A#C"));
  EXPECT_TRUE(Like("b", "[a-c]"));
  EXPECT_FALSE(Like("d", "[a-c]"));
  EXPECT_TRUE(Like("d", "[!a-c]"));
  EXPECT_FALSE(Like("b", "[!a-c]"));
  EXPECT_TRUE(Like("-", "[a-]"));
  EXPECT_TRUE(Like("a*b", "a[*]b"));
  EXPECT_FALSE(Like("axb", "a[*]b"));
  EXPECT_TRUE(Like("[x", "[[]x"));
  EXPECT_TRUE(Like("aXbXc", "a*b*c"));
  EXPECT_TRUE(Like("abcbc", "*bc"));
  EXPECT_FALSE(Like("abcbd", "*bc"));
  EXPECT_TRUE(Like("mississippi", "m*iss*pi"));
  EXPECT_TRUE(Like("a!b", "a!b"));
}

TEST(Like, CaseAndText) {
  EXPECT_FALSE(Like("abc", "ABC"));
  EXPECT_TRUE(Like("abc", "ABC", CompareMethod::Text));
  EXPECT_TRUE(Like("q", "[P-R]", CompareMethod::Text));
  EXPECT_FALSE(Like("q", "[P-R]"));
}

TEST(Like, CountsCharactersNotBytes) {
  EXPECT_TRUE(Like("材料", "??"));
  EXPECT_FALSE(Like("材料", "???"));
  EXPECT_TRUE(Like("材料出库单", "材料*"));
  EXPECT_TRUE(Like("甲", "[一-龥]"));
  EXPECT_FALSE(Like("A", "[一-龥]"));
  EXPECT_TRUE(Like("成品01", "成品##"));
}

TEST(Like, MalformedPatternsRaise93) {
  EXPECT_COM_ERROR(Like("a", "[a-"), 93);
  EXPECT_COM_ERROR(Like("a", "[z-a]"), 93);
}

}  // namespace
}  // namespace quillon::automation
