#include <gtest/gtest.h>

#include "automation/utf8.h"
#include "automation/vb_runtime.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

TEST(Strings, LengthAndCuttingCountCharacters) {
  const std::string s = "材料A出库单";
  EXPECT_EQ(Len(s), 6);
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Left(s, 3), "材料A");
  EXPECT_EQ(Right(s, 3), "出库单");
  EXPECT_EQ(Right(s, 99), s);
  EXPECT_EQ(Left(s, 0), "");
  EXPECT_EQ(Mid(s, 3, 2), "A出");
  EXPECT_EQ(Mid(s, 4), "出库单");
  EXPECT_EQ(Mid(s, 7), "");
  EXPECT_EQ(Mid(s, 5, 99), "库单");
  EXPECT_COM_ERROR(Mid(s, 0), err::kInvalidProcedureCall);
  EXPECT_COM_ERROR(Left(s, -1), err::kInvalidProcedureCall);
  EXPECT_COM_ERROR(Mid(s, 1, -1), err::kInvalidProcedureCall);
}

TEST(Strings, MalformedBytesAreKeptAsCharacters) {
  const std::string bad = std::string("a\xE6\x9D") + "b";  // a cut-off three-byte sequence
  EXPECT_EQ(Len(bad), 4);
  EXPECT_EQ(Mid(bad, 2, 2), "\xE6\x9D");
  EXPECT_EQ(utf8::encode(utf8::decode(bad)), bad);
  EXPECT_EQ(utf8::encode(utf8::decode("领料𠀀")), "领料𠀀");
  // Every malformed byte is a character of its own and comes back as the same byte: a surrogate,
  // an overlong form, a value past U+10FFFF, a stray continuation byte.
  for (const std::string odd : {"\xED\xA0\x80", "\xC0\xAF", "\xF4\x90\x80\x80", "\x80", "\xFF"}) {
    const std::u32string cps = utf8::decode(odd);
    EXPECT_EQ(cps.size(), odd.size());
    for (char32_t c : cps) EXPECT_TRUE(utf8::isRawByte(c));
    EXPECT_EQ(utf8::encode(cps), odd);
  }
}

TEST(Strings, TrimAndCase) {
  EXPECT_EQ(Trim("  仓库 1  "), "仓库 1");
  EXPECT_EQ(LTrim("  x "), "x ");
  EXPECT_EQ(RTrim("  x "), "  x");
  EXPECT_EQ(Trim("\tx\t"), "\tx\t");  // only blanks are trimmed
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(UCase("cInvCode 存货"), "CINVCODE 存货");
  EXPECT_EQ(LCase("iQuantity 数量"), "iquantity 数量");
}

TEST(Strings, InStr) {
  EXPECT_EQ(InStr("材料出库单", "出库"), 3);
  EXPECT_EQ(InStr("abcabc", "c"), 3);
  EXPECT_EQ(InStr(4, "abcabc", "c"), 6);
  EXPECT_EQ(InStr(7, "abcabc", "c"), 0);
  EXPECT_EQ(InStr("abc", "C"), 0);
  EXPECT_EQ(InStr("abc", "C", CompareMethod::Text), 3);
  EXPECT_EQ(InStr("abc", ""), 1);
  EXPECT_EQ(InStr(2, "abc", ""), 2);
  EXPECT_EQ(InStr("", "a"), 0);
  EXPECT_EQ(InStr("单据单据", "据", CompareMethod::Binary), 2);
  EXPECT_EQ(InStr(3, "单据单据", "据"), 4);
  EXPECT_COM_ERROR(InStr(0, "abc", "a"), err::kInvalidProcedureCall);
}

TEST(Strings, Replace) {
  EXPECT_EQ(Replace("a Where b Where c", "Where", "W"), "a W b W c");
  EXPECT_EQ(Replace("a where b Where", "Where", "W"), "a where b W");
  EXPECT_EQ(Replace("a where b Where", "WHERE", "W", 1, -1, CompareMethod::Text), "a W b W");
  EXPECT_EQ(Replace("aaa", "a", "aa"), "aaaaaa");  // no re-scan of replaced text
  EXPECT_EQ(Replace("a-b-c", "-", "_", 1, 1), "a_b-c");
  EXPECT_EQ(Replace("PC-01-X", "-", "_"), "PC_01_X");
  EXPECT_EQ(Replace("材料-出库", "-", "，"), "材料，出库");
  EXPECT_EQ(Replace("abcabc", "b", "", 3), "cac");  // the result starts at `start`
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
}

TEST(Strings, SplitAndJoin) {
  Variant parts = Split("甲,乙,,丙", ",");
  ASSERT_TRUE(parts.isArray());
  EXPECT_EQ(LBound(parts), 0);
  EXPECT_EQ(UBound(parts), 3);
  EXPECT_EQ(parts.asArray()->items[1], Variant("乙"));
  EXPECT_EQ(parts.asArray()->items[2], Variant(""));
  EXPECT_EQ(Join(parts, "|"), "甲|乙||丙");
  EXPECT_EQ(UBound(Split("")), -1);
  EXPECT_EQ(Join(Split("")), "");
  EXPECT_EQ(splitText("a b c", " ", 2), (std::vector<std::string>{"a", "b c"}));
  EXPECT_EQ(splitText("aXbxc", "x", -1, CompareMethod::Text),
            (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(splitText("abc", ""), (std::vector<std::string>{"abc"}));
  EXPECT_COM_ERROR(Join(Variant("x")), err::kTypeMismatch);
}

}  // namespace
}  // namespace quillon::automation
