// Item keys and index numbers of the list view stay right as items are inserted, removed and
// cleared: a key is found as long as its item is in the list, and free again once it is gone.
#include <gtest/gtest.h>

#include "automation/com_error.h"
#include "forms/list_view.h"

namespace quillon::forms {
namespace {

TEST(ListViewKeysTest, KeysAndIndexesFollowInsertsRemovalsAndClearing) {
  ListView list("lst");
  for (int i = 1; i <= 4; ++i) list.addItem("item" + std::to_string(i), "k" + std::to_string(i));
  ListItem& inserted = list.addItem("new", "kNew", 2);
  EXPECT_EQ(inserted.Index(), 2);
  EXPECT_EQ(list.itemByKey("k1")->Index(), 1);
  EXPECT_EQ(list.itemByKey("k2")->Index(), 3);
  EXPECT_EQ(list.itemByKey("k4")->Index(), 5);
  EXPECT_EQ(list.itemByKey("K4"), nullptr);  // keys compare exactly
  EXPECT_EQ(list.itemByKey(""), nullptr);
  list.addItem("no key 1");
  list.addItem("no key 2");  // an empty key is no key, so it never clashes

  list.removeItem(1);
  EXPECT_EQ(list.itemByKey("k1"), nullptr);
  EXPECT_EQ(list.itemByKey("kNew")->Index(), 1);
  EXPECT_EQ(list.itemByKey("k4")->Index(), 4);
  EXPECT_EQ(list.addItem("again", "k1").Index(), 7);
  EXPECT_THROW(list.addItem("twice", "k2"), automation::ComError);
  EXPECT_EQ(list.itemCount(), 7);

  list.clearItems();
  EXPECT_EQ(list.itemByKey("k2"), nullptr);
  EXPECT_EQ(list.addItem("fresh", "k2").Index(), 1);
}

}  // namespace
}  // namespace quillon::forms
