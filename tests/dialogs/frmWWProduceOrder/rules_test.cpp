#include <gtest/gtest.h>

#include "dialogs/frmWWProduceOrder/ww_produce_order_messages.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_rules.h"

namespace quillon::dialogs::ww_produce_order {
namespace {

TEST(WWRules, TheModeAndTheVoucherTypeChooseTheStatements) {
  EXPECT_EQ(modeOf(true, false), Mode::Receipt);
  EXPECT_EQ(modeOf(true, true), Mode::Concession);
  EXPECT_EQ(modeOf(false, true), Mode::Issue);  // the concession box means nothing in issue mode
  EXPECT_EQ(headerStatementOf(Mode::Receipt, 39), HeaderStatement::Product1);
  EXPECT_EQ(headerStatementOf(Mode::Concession, 39), HeaderStatement::YbjsProduct);
  EXPECT_EQ(headerStatementOf(Mode::Issue, 39), HeaderStatement::ProductX);
  EXPECT_EQ(headerStatementOf(Mode::Issue, 12), HeaderStatement::ProductZ);
  EXPECT_EQ(lineStatementOf(Mode::Receipt, 39), LineStatement::PoMain);
  EXPECT_EQ(lineStatementOf(Mode::Concession, 0), LineStatement::YbjsPoMain);
  EXPECT_EQ(lineStatementOf(Mode::Issue, 39), LineStatement::PoMainX);
  EXPECT_EQ(lineStatementOf(Mode::Issue, 71), LineStatement::PoMainZ);
  EXPECT_EQ(lineTable(true), "qm_ncheckvoucher");
  EXPECT_EQ(lineTable(false), "OM_POMain");

  for (int type : {0, 71, 72, 77}) EXPECT_TRUE(severalOrders(type)) << type;
  for (int type : {12, 39, 11, 1}) EXPECT_FALSE(severalOrders(type)) << type;
  EXPECT_TRUE(originalOnly(72, true));
  EXPECT_TRUE(originalOnly(77, true));
  EXPECT_FALSE(originalOnly(77, false));
  EXPECT_FALSE(originalOnly(71, true));
  EXPECT_FALSE(allSwitchEnabled(39));
  EXPECT_TRUE(allSwitchEnabled(12));
  EXPECT_TRUE(concessionBoxVisible(72));
  EXPECT_FALSE(concessionBoxVisible(71));
  EXPECT_TRUE(kitBoxVisible(71));
  EXPECT_FALSE(kitBoxVisible(72));
  EXPECT_FALSE(checksLimitRequisition(12));
  EXPECT_TRUE(checksLimitRequisition(11));

  EXPECT_EQ(kitDecimals("##0.00"), 2);
  EXPECT_EQ(kitDecimals("#,##0.0000"), 4);
  EXPECT_EQ(kitDecimals("##0"), 0);
  EXPECT_EQ(kitDecimals("##0."), 0);
  for (const char* on : {"true", " TRUE ", "1"}) EXPECT_TRUE(optionSet(on)) << on;
  for (const char* off : {"", "false", "0", "-1", "yes"}) EXPECT_FALSE(optionSet(off)) << off;
  EXPECT_EQ(captionForTab(0), "选择委外订单和委外的存货");
  EXPECT_EQ(captionForTab(1), "选择委外计划和投产的存货");
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
