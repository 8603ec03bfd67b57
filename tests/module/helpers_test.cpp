#include <gtest/gtest.h>

#include <memory>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "forms/list_view.h"
#include "forms/tree_view.h"
#include "module/class_tree.h"
#include "module/list_helpers.h"
#include "module/module_state.h"
#include "module/reference_lists.h"
#include "module/text_helpers.h"
#include "module_fixture.h"
#include "script/scripted_ui_host.h"

namespace quillon::module {
namespace {

using automation::Variant;

std::shared_ptr<ado::Recordset> query(const std::shared_ptr<ado::Connection>& connection,
                                      const std::string& sql) {
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(Variant(sql), Variant(automation::ObjectPtr(connection)), ado::adOpenStatic,
           ado::adLockReadOnly);
  return rs;
}

TEST(ModuleDateRange, AllSixCases) {
  EXPECT_EQ(DateRangeCondition("d", "", ""), "");
  EXPECT_EQ(DateRangeCondition("d", "", "2026-12-31"), "d <= N'2026-12-31'");
  EXPECT_EQ(DateRangeCondition("d", "2026-01-01", ""), "d >= N'2026-01-01'");
  EXPECT_EQ(DateRangeCondition("d", "2026-05-05", "2026-05-05"), "d = N'2026-05-05'");
  EXPECT_EQ(DateRangeCondition("P.dDate", "2026-01-01", "2026-12-31"),
            "P.dDate >= N'2026-01-01' AND    P.dDate <= N'2026-12-31'");
  EXPECT_EQ(DateRangeCondition("d", "2026-12-31", "2026-01-01"),
            "d >= N'2026-01-01' AND d <= N'2026-12-31'");
  // A typed text that is no date stays one value.
  EXPECT_EQ(DateRangeCondition("d", "x' or 1=1 --", ""), "d >= N'x'' or 1=1 --'");
}

TEST(ModuleReferenceLists, KeyListsAndNarrowedSources) {
  EXPECT_EQ(KeyInList({}), "");
  EXPECT_EQ(KeyInList({"4"}), " IN (4)");
  EXPECT_EQ(KeyInList({"4", "12"}), " IN (4,12)");
  // A cell that is no number stays one text value.
  EXPECT_EQ(KeyInList({"4", "1) or (1=1"}), " IN (4,N'1) or (1=1')");

  EXPECT_EQ(NarrowedSource("SELECT * FROM t WHERE a = 1", "id IN (3)"),
            "SELECT * FROM t WHERE a = 1 AND id IN (3)");
  // "ORDER BY" in capitals is found on the lower-case text; the condition goes before it, after
  // the source up to and including the blank in front of the ORDER BY.
  EXPECT_EQ(NarrowedSource("SELECT * FROM t WHERE a = 1 ORDER BY ccode", "id IN (3)"),
            "SELECT * FROM t WHERE a = 1  AND  id IN (3) ORDER BY ccode");
  EXPECT_EQ(NarrowedSource("select 仓库 from t where a = 1 order by x", "k IN (1)"),
            "select 仓库 from t where a = 1  AND  k IN (1) order by x");
}

TEST(ModuleKeyFilter, SqlBreakingCharactersAreRefusedWithABeep) {
  auto host = std::make_shared<script::ScriptedUiHost>();
  forms::ScopedUiHost scoped(host);
  for (char c : std::string("|~[]'@\"<&")) {
    int key = c;
    FilterKeyAscii(key);
    EXPECT_EQ(key, 0) << c;
  }
  EXPECT_EQ(host->beepCount(), 9);
  for (char c : std::string("aZ9%_-> ")) {
    int key = c;
    FilterKeyAscii(key);
    EXPECT_EQ(key, c);
  }
  EXPECT_EQ(host->beepCount(), 9);
}

TEST(ModuleValueHelpers, NullDefaultNumbersAndPrefixes) {
  EXPECT_EQ(NullDefault(Variant::null(), Variant("x")), Variant("x"));
  EXPECT_EQ(NullDefault(Variant(""), Variant("x")), Variant(""));

  EXPECT_EQ(ToNumber(Variant("")), 0.0);
  EXPECT_EQ(ToNumber(Variant("   ")), 0.0);
  EXPECT_EQ(ToNumber(Variant::null()), 0.0);
  EXPECT_EQ(ToNumber(Variant("1,234,567.5")), 1234567.5);
  EXPECT_THROW(ToNumber(Variant("abc")), automation::ComError);

  EXPECT_TRUE(StartsWithAny("0301001", Variant("03")));
  EXPECT_FALSE(StartsWithAny("0301001", Variant("04")));
  const Variant prefixes = Variant::array({Variant("01"), Variant("0301"), Variant("03")});
  EXPECT_TRUE(StartsWithAny("0301001", prefixes));
  EXPECT_EQ(gStartsIndex, 1) << "stops at the first match";
  EXPECT_FALSE(StartsWithAny("05", prefixes));
  EXPECT_FALSE(StartsWithAny("0", Variant("03")));
}

TEST(ModuleFillList, EmptyAndClosedRecordsetsAndHiddenColumns) {
  auto connection = testing::openSessionAs("demo");
  forms::ListView list("lstParent");
  list.addColumn("stale");
  list.addItem("stale");

  FillList(list, nullptr, false);
  EXPECT_EQ(list.columnCount(), 0);
  EXPECT_EQ(list.itemCount(), 0);

  auto empty = query(connection, "select cWhCode, cWhName from Warehouse where 1 = 0");
  FillList(list, empty.get(), true);
  EXPECT_EQ(list.columnCount(), 2);
  EXPECT_EQ(list.column(2).text, "cWhName");
  EXPECT_EQ(list.itemCount(), 0);
  EXPECT_TRUE(list.Checkboxes());
  EXPECT_EQ(list.View(), forms::ListView::lvwReport);

  auto rows = query(connection,
                    "select cWhCode, '  padded  ' as cText, NULL as cNull, 1 as iProperty, "
                    "2 as iproperty2, 12.5 as fQuantity, NULL as fOutQuantity "
                    "from Warehouse where cWhCode in ('01', '02') order by cWhCode");
  FillList(list, rows.get(), true, Variant::array({Variant(3), Variant("fOutQuantity")}));
  ASSERT_EQ(list.itemCount(), 2);
  const auto& first = list.item(1);
  EXPECT_EQ(first.Key(), "1k");
  EXPECT_EQ(list.item(2).Key(), "2k");
  EXPECT_EQ(first.Text(), "01");
  EXPECT_EQ(first.SubItems(1), "padded");
  EXPECT_EQ(first.SubItems(2), "");
  EXPECT_EQ(first.SubItems(3), "自制");
  EXPECT_EQ(first.SubItems(4), "2") << "only the field named iproperty is translated";
  EXPECT_EQ(first.SubItems(5), "12.50");
  EXPECT_EQ(first.SubItems(6), "0.00");
  EXPECT_TRUE(first.Checked());
  EXPECT_EQ(list.column(3).width, 0);
  EXPECT_EQ(list.column(7).width, 0);
  EXPECT_NE(list.column(2).width, 0);
}

TEST(ModuleColumnIndex, ThisTimeColumnsAndFieldPositions) {
  auto connection = testing::openSessionAs("demo");
  auto rs = query(connection, "select cWhCode, cWhName, 1 as iQuantity from Warehouse");
  EXPECT_EQ(ColumnIndexOf("IQUANTITY", *rs, 12), 10);
  EXPECT_EQ(ColumnIndexOf("inum", *rs, 12), 11);
  EXPECT_EQ(ColumnIndexOf("CWHNAME", *rs, 12), 2);
  EXPECT_EQ(ColumnIndexOf("cNothing", *rs, 12), 0);

  CloseRecordset(rs);
  EXPECT_EQ(rs, nullptr);
  CloseRecordset(rs);  // nothing left to close
}

TEST(ModuleClassTree, BuildCheckAndCollect) {
  auto connection = testing::openSessionAs("demo");
  auto classes = query(connection,
                       "select cInvCCode, cInvCName, iInvCGrade, bInvCEnd, cEcoCode "
                       "from InventoryClass order by cInvCCode");
  ASSERT_GT(classes->recordCount(), 0);
  automation::Collection lengths;
  lengths.add(Variant(2));
  lengths.add(Variant(2));

  forms::TreeView tree("treeMenu");
  auto& root = tree.addNode(nullptr, std::string(kClassRootKey), "存货", "folder");
  BuildClassTree(*classes, tree, root, lengths, true);
  EXPECT_EQ(tree.count(), classes->recordCount() + 1) << "every class once";
  EXPECT_TRUE(root.Expanded());
  for (const auto* top : root.children()) {
    EXPECT_EQ(top->Key().size(), 3u) << top->Key();
    for (const auto* child : top->children()) {
      EXPECT_EQ(child->Key().substr(0, 3), top->Key());
      EXPECT_EQ(child->Text().substr(0, 2), child->Key().substr(3, 2));
    }
  }
  EXPECT_EQ(classes->filter().displayText(), "");

  // Checking a class checks its subtree; a parent follows its children.
  forms::Node* parent = nullptr;
  for (auto* top : root.children()) {
    if (top->Children() >= 2) parent = top;
  }
  ASSERT_NE(parent, nullptr);
  CheckSubtree(*parent, true);
  for (const auto* child : parent->children()) EXPECT_TRUE(child->Checked());
  parent->children()[0]->setChecked(false);
  UpdateParents(*parent->children()[0]);
  EXPECT_FALSE(parent->Checked());
  parent->children()[0]->setChecked(true);
  UpdateParents(*parent->children()[0]);
  EXPECT_TRUE(parent->Checked());

  // Collect: rows whose parent code starts with a checked class.
  auto rows = query(connection, "select cInvCCode as 上级编码 from InventoryClass");
  setLastReferText("");
  parent->setChecked(false);
  CollectCheckedClasses(root, *rows);
  std::string expected;
  for (const auto* child : parent->children()) expected = child->Key() + expected;
  EXPECT_EQ(LastReferText(), expected);
  setLastReferText("");
}

}  // namespace
}  // namespace quillon::module
