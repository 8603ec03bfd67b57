#include <gtest/gtest.h>

#include "dialogs/frmWWProduceOrder/ww_produce_order_messages.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_rules.h"

namespace quillon::dialogs::ww_produce_order {
namespace {

TEST(WWRules, OptionTextsAndFormatDecimals) {
  EXPECT_EQ(kitDecimals("##0.00"), 2);
  EXPECT_EQ(kitDecimals("#,##0.0000"), 4);
  EXPECT_EQ(kitDecimals("##0"), 0);
  EXPECT_EQ(kitDecimals("##0."), 0);
  for (const char* on : {"true", " TRUE ", "1"}) EXPECT_TRUE(optionSet(on)) << on;
  for (const char* off : {"", "false", "0", "-1", "yes"}) EXPECT_FALSE(optionSet(off)) << off;
}

TEST(WWRules, IdListsAndTheVendorOfMarkedOrders) {
  EXPECT_EQ(idList({}), kNoIds);
  EXPECT_EQ(idList({"3"}), "(3)");
  EXPECT_EQ(idList({"3", "12"}), "(3,12)");
  EXPECT_TRUE(sameVendor({}, "V001"));
  EXPECT_TRUE(sameVendor({"V001", "V001 "}, "V001"));
  EXPECT_FALSE(sameVendor({"V001"}, "V004"));
}

TEST(WWRules, KitQuantitiesFollowTheProductsShare) {
  // 40 of 200 products: each material 40/200 of its quantity.
  KitMaterial steel = kitMaterial("40", "200.00", "1,100.00", "75", "##0.00");
  EXPECT_EQ(steel.quantity, "220.00");
  EXPECT_EQ(steel.pieces, "2.93");
  // A fixed rate, and rates that give no pieces: empty, zero, not a number.
  EXPECT_EQ(kitMaterial("40", "200", "600", "100.0000", "##0.00").pieces, "1.20");
  for (const char* rate : {"", "0", "0.0000", "n/a"}) {
    const KitMaterial m = kitMaterial("40", "200", "600", rate, "##0.00");
    EXPECT_EQ(m.quantity, "120.00") << rate;
    EXPECT_FALSE(m.pieces.has_value()) << rate;
  }
  // Nothing to apply: no quantity on the product line, or this time's is not a number.
  EXPECT_FALSE(kitMaterial("40", "0", "600", "1", "##0.00").quantity.has_value());
  EXPECT_FALSE(kitMaterial("forty", "200", "600", "1", "##0.00").quantity.has_value());
  EXPECT_FALSE(kitMaterial("", "200", "600", "1", "##0.00").quantity.has_value());
  EXPECT_EQ(kitMaterial("1", "3", "1", "", "##0.0000").quantity, "0.3333");

  EXPECT_EQ(cellNumber("1,250.50"), 1250.5);
  EXPECT_FALSE(cellNumber(" ").has_value());
  EXPECT_FALSE(cellNumber("12a").has_value());
}

TEST(WWRules, MaterialChecks) {
  EXPECT_EQ(stateRefusal({}), kOrderMissing);
  EXPECT_EQ(stateRefusal({2, 3}), kOrderClosed);
  EXPECT_FALSE(stateRefusal({2, 2}).has_value());
  EXPECT_EQ(usedRefusal({false, true}), kLineTakenByRequisition);
  EXPECT_FALSE(usedRefusal({false}).has_value());
  EXPECT_FALSE(usedRefusal({}).has_value());
}

}  // namespace
}  // namespace quillon::dialogs::ww_produce_order
