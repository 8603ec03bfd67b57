#include <gtest/gtest.h>

#include <cstdint>

#include "automation/variant.h"
#include "test_support.h"

namespace quillon::automation {
namespace {

TEST(Variant, KindsAndRawAccess) {
  EXPECT_TRUE(Variant().isEmpty());
  EXPECT_TRUE(Variant::null().isNull());
  EXPECT_TRUE(Variant::missing().isMissing());
  EXPECT_TRUE(Variant::nothing().isNothing());
  EXPECT_EQ(Variant(std::int16_t{3}).type(), VarType::Integer);
  EXPECT_EQ(Variant(3).type(), VarType::Long);
  EXPECT_EQ(Variant("x").type(), VarType::String);
  EXPECT_EQ(Variant(true).type(), VarType::Boolean);
  EXPECT_COM_ERROR(Variant("1").asLong(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant(1).asString(), err::kTypeMismatch);
  Variant arr = Variant::array({1, "a"}, 1);
  EXPECT_EQ(arr.asArray()->lowerBound, 1);
  EXPECT_EQ(arr.asArray()->items.size(), 2u);
}

TEST(Variant, ToStringFollowsCStr) {
  EXPECT_EQ(Variant().toString(), "");
  EXPECT_EQ(Variant(true).toString(), "True");
  EXPECT_EQ(Variant(false).toString(), "False");
  EXPECT_EQ(Variant(-42).toString(), "-42");
  EXPECT_EQ(Variant(2.5).toString(), "2.5");
  EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0.3");  // 15 significant digits
  EXPECT_EQ(Variant(1e20).toString(), "1E+20");
  EXPECT_EQ(Variant(0.00001).toString(), "1E-05");
  EXPECT_EQ(Variant(-0.0).toString(), "0");
  EXPECT_EQ(Variant(DateValue{46361.0}).toString(), "2026-12-05");
  EXPECT_EQ(Variant(DateValue{46361.5}).toString(), "2026-12-05 12:00:00");
  EXPECT_COM_ERROR(Variant::null().toString(), err::kInvalidUseOfNull);
  EXPECT_COM_ERROR(Variant::array({}).toString(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant::nothing().toString(), err::kObjectVariableNotSet);
}

TEST(Variant, NumericConversions) {
  EXPECT_EQ(Variant().toDouble(), 0.0);
  EXPECT_EQ(Variant(true).toDouble(), -1.0);
  EXPECT_EQ(Variant(true).toLong(), -1);
  EXPECT_EQ(Variant(" 1,234.5 ").toDouble(), 1234.5);
  EXPECT_EQ(Variant("-2e3").toDouble(), -2000.0);
  EXPECT_EQ(Variant("&H1F").toLong(), 31);
  EXPECT_COM_ERROR(Variant("12abc").toDouble(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant("").toDouble(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant::null().toDouble(), err::kInvalidUseOfNull);
  EXPECT_COM_ERROR(Variant::null().toLong(), err::kInvalidUseOfNull);
}

TEST(Variant, LongRoundsHalfToEvenAndChecksRange) {
  EXPECT_EQ(Variant(0.5).toLong(), 0);
  EXPECT_EQ(Variant(1.5).toLong(), 2);
  EXPECT_EQ(Variant(2.5).toLong(), 2);
  EXPECT_EQ(Variant(-2.5).toLong(), -2);
  EXPECT_EQ(Variant(2.51).toLong(), 3);
  EXPECT_EQ(Variant("3.5").toLong(), 4);
  EXPECT_EQ(Variant(2147483647.0).toLong(), 2147483647);
  EXPECT_EQ(Variant(-2147483648.0).toLong(), INT32_MIN);
  EXPECT_COM_ERROR(Variant(2147483648.0).toLong(), err::kOverflow);
  EXPECT_COM_ERROR(Variant(1e300).toLong(), err::kOverflow);
  EXPECT_EQ(Variant(32767).toInteger(), 32767);
  EXPECT_COM_ERROR(Variant(32768).toInteger(), err::kOverflow);
  EXPECT_COM_ERROR(Variant(-32768.6).toInteger(), err::kOverflow);
}

TEST(Variant, BooleanConversions) {
  EXPECT_TRUE(Variant(-1).toBool());
  EXPECT_TRUE(Variant(0.1).toBool());
  EXPECT_FALSE(Variant(0).toBool());
  EXPECT_FALSE(Variant().toBool());
  EXPECT_TRUE(Variant("True").toBool());
  EXPECT_TRUE(Variant(" true ").toBool());
  EXPECT_FALSE(Variant("FALSE").toBool());
  EXPECT_TRUE(Variant("2").toBool());
  EXPECT_COM_ERROR(Variant("yes").toBool(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant::null().toBool(), err::kInvalidUseOfNull);
}

TEST(Variant, DateConversions) {
  EXPECT_EQ(Variant("2026-12-05").toDate().serial, 46361.0);
  EXPECT_EQ(Variant("2026-12-05 06:00:00").toDate().serial, 46361.25);
  EXPECT_EQ(Variant(46361).toDate().serial, 46361.0);
  EXPECT_COM_ERROR(Variant("2026-02-30").toDate(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant("tomorrow").toDate(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant(true).toDate(), err::kTypeMismatch);
  EXPECT_COM_ERROR(Variant(1e9).toDate(), err::kOverflow);
}

TEST(Variant, DisplayTextNeverFailsOnShowableValues) {
  EXPECT_EQ(Variant::null().displayText(), "");
  EXPECT_EQ(Variant().displayText(), "");
  EXPECT_EQ(Variant(true).displayText(), "True");
  EXPECT_EQ(Variant(DateValue{46361.0}).displayText(), "2026-12-05");
  EXPECT_EQ(Variant("领料单").displayText(), "领料单");
  EXPECT_EQ(Variant::nothing().displayText(), "Nothing");
  EXPECT_EQ(Variant::array({1, "b"}).displayText(), "(1, b)");
}

TEST(Variant, EqualityNeedsSameKindAndValue) {
  EXPECT_EQ(Variant(1), Variant(1));
  EXPECT_NE(Variant(1), Variant(std::int16_t{1}));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant(""), Variant());
  EXPECT_EQ(Variant::null(), Variant::null());
  EXPECT_NE(Variant::null(), Variant());
  EXPECT_EQ(Variant::array({1, "a"}), Variant::array({1, "a"}));
  EXPECT_NE(Variant::array({1, "a"}), Variant::array({1, "a"}, 1));
  EXPECT_EQ(Variant::nothing(), Variant::nothing());
}

}  // namespace
}  // namespace quillon::automation
