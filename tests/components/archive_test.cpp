#include <gtest/gtest.h>

#include "ado/connection.h"
#include "automation/com_error.h"
#include "components/inv_position.h"
#include "components/registration.h"
#include "components/suite/archive_items.h"
#include "components/suite/archives.h"
#include "components/suite/define_items.h"
#include "components/suite_utility.h"
#include "demo_sessions.h"

namespace quillon::components {
namespace {

using automation::ComError;
using automation::Variant;

std::shared_ptr<Archive> archiveFor(ArchiveKind kind, const std::string& user) {
  auto archive = suite::newArchive(kind);
  archive->setLogin(testing::sessionFor(user));
  return archive;
}

std::string lookupMessage() {
  return suiteUtility()->lastLookupError();
}

TEST(Archives, FindByCodeThenByName) {
  auto wh = archiveFor(ArchiveKind::Warehouse, "demo");
  auto item = wh->newItem();
  EXPECT_TRUE(wh->load("01", *item, true, true));
  EXPECT_EQ(item->id(), "01");
  EXPECT_EQ(item->name(), "原料仓");
  EXPECT_TRUE(wh->load(" 成品仓 ", *item, true, true));
  EXPECT_EQ(item->id(), "04");
  EXPECT_EQ(item->get("bWhPos"), Variant(true));  // any column, late-bound

  // Without the name flag a name is not found, and the item keeps what it had.
  EXPECT_FALSE(wh->load("原料仓", *item, true, false));
  EXPECT_EQ(item->id(), "04");
  EXPECT_EQ(lookupMessage(), "仓库[原料仓]不存在！");

  EXPECT_FALSE(wh->load("99", *item, true, true));
  EXPECT_EQ(lookupMessage(), "仓库[99]不存在！");
  EXPECT_FALSE(wh->load("01' OR '1'='1", *item, true, true));
  EXPECT_EQ(lookupMessage(), "仓库[01' OR '1'='1]不存在！");
  EXPECT_FALSE(wh->load("", *item, true, true));
  EXPECT_EQ(lookupMessage(), "请输入仓库编码或名称");

  // Late-bound, as the lookups call it.
  auto vendor = archiveFor(ArchiveKind::Vendor, "demo");
  auto vItem = vendor->newItem();
  EXPECT_EQ(vendor->call("load", {Variant("V001"), Variant(automation::ObjectPtr(vItem)),
                                  Variant(true), Variant(true)}),
            Variant(true));
  EXPECT_EQ(vItem->get("id").toString(), "V001");
  // An item of another kind is refused.
  EXPECT_THROW(wh->load("01", *vItem, true, true), ComError);
}

TEST(Archives, DepartmentsAtEndLevelAndPermissionsOfTheUser) {
  auto dep = archiveFor(ArchiveKind::Department, "demo");
  auto item = dep->newItem();
  EXPECT_TRUE(dep->load("生产部", *item, true, true));  // without the end-level flag
  EXPECT_FALSE(dep->load("生产部", *item, true, true, true));
  EXPECT_EQ(lookupMessage(), "部门[生产部]不是末级部门！");
  EXPECT_TRUE(dep->load("0201", *item, true, true, true));

  auto clerkWh = archiveFor(ArchiveKind::Warehouse, "clerk");
  auto wItem = clerkWh->newItem();
  EXPECT_TRUE(clerkWh->load("04", *wItem, true, true));  // an "R" right is enough for lookups
  EXPECT_FALSE(clerkWh->load("03", *wItem, true, true));
  EXPECT_EQ(lookupMessage(), "没有仓库[03]的使用权限！");

  auto clerkInv = archiveFor(ArchiveKind::Inventory, "clerk");
  auto iItem = clerkInv->newItem();
  EXPECT_TRUE(clerkInv->load("0101001", *iItem, true, true));
  EXPECT_FALSE(clerkInv->load("泵轴", *iItem, true, true));
  EXPECT_EQ(lookupMessage(), "没有存货[泵轴]的使用权限！");
}

TEST(Archives, InventoryItemsCarryUnitsAndFlags) {
  auto inv = archiveFor(ArchiveKind::Inventory, "demo");
  auto item = std::dynamic_pointer_cast<InventoryItem>(inv->newItem());
  ASSERT_TRUE(item);

  ASSERT_TRUE(inv->load("0101004", *item, true, true));  // 紫铜管: fixed group, 卷 of 100 米
  EXPECT_EQ(item->groupType(), UnitGroupType::Fixed);
  EXPECT_EQ(item->mainUnitName(), "米");
  EXPECT_EQ(item->stockUnitCode(), "0402");
  EXPECT_EQ(item->fixedRate(), 100.0);
  EXPECT_TRUE(item->usesPieces());
  EXPECT_FALSE(item->notCheckNum());

  ASSERT_TRUE(inv->load("冷轧钢板", *item, true, true));  // floating group, marked bNotCheckNum
  EXPECT_EQ(item->groupType(), UnitGroupType::Floating);
  EXPECT_EQ(item->fixedRate(), 0.0);
  EXPECT_TRUE(item->notCheckNum());
  EXPECT_TRUE(item->batchManaged());
  EXPECT_EQ(item->inventoryId(), 1);

  ASSERT_TRUE(inv->load("0103001", *item, true, true));  // single unit
  EXPECT_EQ(item->groupType(), UnitGroupType::None);
  EXPECT_FALSE(item->usesPieces());
  EXPECT_TRUE(item->notCheckNum());
  EXPECT_TRUE(item->usesFreeItem(2));
  EXPECT_FALSE(item->usesFreeItem(1));
  EXPECT_EQ(item->get("bNotCheckNum"), Variant(true));
}

TEST(Archives, WarehouseInventoryTable) {
  auto wh = std::dynamic_pointer_cast<WarehouseArchive>(archiveFor(ArchiveKind::Warehouse, "demo"));
  ASSERT_TRUE(wh);
  auto& db = wh->loginContext()->connection()->database();
  auto rows = db.query("SELECT cWhCode, cInvCode FROM WhAndInv ORDER BY cWhCode, cInvCode");
  ASSERT_FALSE(rows.front().rows.empty());
  const std::string whCode = rows.front().rows[0][0].text;
  const std::string invCode = rows.front().rows[0][1].text;
  EXPECT_TRUE(wh->checkWareInv(whCode, invCode));
  EXPECT_FALSE(wh->checkWareInv(whCode, "no-such-item"));
  EXPECT_FALSE(wh->checkWareInv(whCode + "' OR '1'='1", invCode));
  EXPECT_EQ(wh->call("CheckWareInv", {Variant(whCode), Variant(invCode)}), Variant(true));
}

TEST(DefineItems, KeysOfFieldsAndDefinitionsByKey) {
  EXPECT_EQ(defineKeyOfField("cDefine3"), "03");
  EXPECT_EQ(defineKeyOfField("cdefine10"), "10");
  EXPECT_EQ(defineKeyOfField("cdefine22"), "22");
  EXPECT_EQ(defineKeyOfField("cfree1"), "20");
  EXPECT_EQ(defineKeyOfField("CFREE2"), "21");
  EXPECT_EQ(defineKeyOfField("cfree3"), "28");
  EXPECT_EQ(defineKeyOfField("cfree10"), "35");
  EXPECT_EQ(defineKeyOfField("cdefine"), std::nullopt);
  EXPECT_EQ(defineKeyOfField("cfreex"), std::nullopt);
  EXPECT_EQ(defineKeyOfField("cinvcode"), std::nullopt);

  suite::DefineItemServiceObject service;
  suite::DefineItemServiceObject target;
  service.setContext(testing::sessionFor("demo"));
  auto context = testing::sessionFor("demo");
  auto& db = context->connection()->database();
  auto names = db.query("SELECT cName FROM DefineItem WHERE cKey = '20' AND bInUse = 1");
  ASSERT_FALSE(names.front().rows.empty());
  EXPECT_TRUE(service.getDefine("20", target));
  EXPECT_EQ(target.get("Name").toString(), names.front().rows[0][0].text);
  EXPECT_EQ(target.get("Defined"), Variant(true));

  EXPECT_FALSE(service.getDefine("99", target));
  EXPECT_EQ(target.get("Name").toString(), "");
  EXPECT_EQ(target.get("Defined"), Variant(false));
  EXPECT_FALSE(service.getDefine("20' OR '1'='1", target));
}

TEST(Registration, EveryClassIsCreatableByProgId) {
  automation::ClassRegistry registry;
  registerClasses(registry);
  for (auto kind : {ArchiveKind::Warehouse, ArchiveKind::Customer, ArchiveKind::Department,
                    ArchiveKind::Person, ArchiveKind::Vendor, ArchiveKind::Inventory}) {
    auto archive = createAs<Archive>(archiveProgId(kind), registry);
    EXPECT_EQ(archive->kind(), kind);
    EXPECT_EQ(createAs<ArchiveItem>(archiveItemProgId(kind), registry)->kind(), kind);
  }
  EXPECT_TRUE(createAs<MarlinLogin>(kLoginProgId, registry));
  EXPECT_TRUE(createAs<SessionContext>(kSessionContextProgId, registry));
  EXPECT_EQ(createAs<SuiteUtility>(kSuiteUtilityProgId, registry), suiteUtility());
  EXPECT_TRUE(createAs<InvPositionService>(kInvPositionServiceProgId, registry));
  auto style = registry.create("XPStyle.clsXPStyleProxy");
  EXPECT_EQ(style->call("setfrmform", {Variant::nothing()}), Variant(""));
  EXPECT_THROW(createAs<Archive>(kLoginProgId, registry), ComError);
  EXPECT_THROW(registry.create("Quillon.Suite.NoSuchThing"), ComError);
}

}  // namespace
}  // namespace quillon::components
