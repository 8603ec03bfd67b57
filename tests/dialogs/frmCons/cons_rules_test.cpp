#include <gtest/gtest.h>

#include <string>

#include "dialogs/frmCons/cons_rules.h"

namespace quillon::dialogs::cons {
namespace {

TEST(ConsRules, SignsNameTheEnteredValue) {
  EXPECT_EQ(signRefusal(false, -1, 20), "本次出库数量不能为负数");
  EXPECT_EQ(signRefusal(true, -0.5, 2), "本次出库件数不能为负数");
  EXPECT_EQ(signRefusal(false, 1, -2), "本次出库数量不能为正数");
  EXPECT_FALSE(signRefusal(false, 0, 20));
  EXPECT_FALSE(signRefusal(false, -1, -2));
  EXPECT_FALSE(signRefusal(true, 3, 0)) << "a line without quantity takes either sign";

  EXPECT_EQ(lineSignRefusal(-1, 20), "本次出库数量/件数不能为负数");
  EXPECT_EQ(lineSignRefusal(2, -2), "本次出库数量/件数不能为正数");
  EXPECT_FALSE(lineSignRefusal(0, -2));
  EXPECT_FALSE(lineSignRefusal(-1, -2));
}

TEST(ConsRules, IssueLimitOverTheWholeDeliveryLine) {
  // Without over-issue: the sum of every row of the line against what is open, by magnitude.
  DeliveryLineFigures line{10, 4, 0.1, 6};
  EXPECT_FALSE(issueLimitRefusal(6, line, false, "##0.00"));
  EXPECT_EQ(issueLimitRefusal(6.01, line, false, "##0.00"), "本次出库数量不能大于未出库数量");
  EXPECT_FALSE(issueLimitRefusal(6.001, line, false, "##0.00")) << "rounded before comparing";
  DeliveryLineFigures red{-2, 0, 0, -2};
  EXPECT_FALSE(issueLimitRefusal(-2, red, false, "##0.00"));
  EXPECT_EQ(issueLimitRefusal(-3, red, false, "##0.00"), "本次出库数量不能大于未出库数量");

  // With it: issued + T may pass Q by the item's share, no further.
  EXPECT_FALSE(issueLimitRefusal(7, line, true, "##0.00"));
  EXPECT_EQ(issueLimitRefusal(7.5, line, true, "##0.00"), "本次出库数量不能大于出库上限范围！");
  DeliveryLineFigures hundred{100, 0, 0.1, 100};
  EXPECT_FALSE(issueLimitRefusal(110, hundred, true, "##0.00"));
  EXPECT_EQ(issueLimitRefusal(111, hundred, true, "##0.00"), "本次出库数量不能大于出库上限范围！");
  // A line without quantity falls back on the open quantity.
  DeliveryLineFigures none{0, 0, 0.5, 0};
  EXPECT_EQ(issueLimitRefusal(1, none, true, "##0.00"), "本次出库数量不能大于未出库数量");
}

TEST(ConsRules, BulkMessagesCollectWhatDiffersFromTheCaption) {
  std::string collected;
  collectBulkMessage(collected, "批量指定批次", "批量指定批次");
  collectBulkMessage(collected, "", "批量指定批次");
  EXPECT_EQ(collected, "");
  collectBulkMessage(collected, "短缺", "批量指定批次");
  collectBulkMessage(collected, "又短缺", "批量指定批次");
  EXPECT_EQ(collected, "短缺\r\n又短缺\r\n");
}

}  // namespace
}  // namespace quillon::dialogs::cons
