#include <gtest/gtest.h>

#include "ado/connection.h"
#include "automation/com_error.h"
#include "components/suite/account_settings_object.h"
#include "components/suite/component_errors.h"
#include "components/suite/permissions.h"
#include "components/suite/session_objects.h"
#include "demo_sessions.h"

namespace quillon::components {
namespace {

using automation::ComError;
using automation::Variant;
using testing::loginAs;
using testing::sessionFor;

TEST(Session, PermissionListsOfARestrictedUserQuoteCodesAndLeaveIdsBare) {
  auto clerk = sessionFor("clerk");
  EXPECT_EQ(clerk->permissionList("department", "", "W"), "N'0201',N'0202',N'0401'");
  EXPECT_EQ(clerk->permissionList("department", "", ""), "N'0201',N'0202',N'0203',N'0401'");
  EXPECT_EQ(clerk->permissionList("warehouse", "", "W"), "N'01',N'02',N'06'");
  EXPECT_EQ(clerk->permissionList("warehouse", "", ""), "N'01',N'02',N'04',N'06'");
  EXPECT_EQ(clerk->permissionList("vendor", "", "W"), "N'V001',N'V002',N'V003'");
  EXPECT_EQ(clerk->permissionList("vendor", "", ""), "N'V001',N'V002',N'V003',N'V004'");
  EXPECT_EQ(clerk->permissionList("customer", "", "W"), "N'C001',N'C002',N'C003'");
  EXPECT_EQ(clerk->permissionList("person", "", ""), "N'002',N'003',N'007',N'010'");
  // Inventory ids come in numeric order, not text order (10 after 9).
  EXPECT_EQ(clerk->permissionList("INVENTORY", "", "W"), "1,2,3,4,5,6,7,8,9,10,32,33,34");
  EXPECT_EQ(clerk->permissionList("inventory", "", ""), "1,2,3,4,5,6,7,8,9,10,23,24,32,33,34");
  // A right code the clerk holds nothing under: restricted, and nothing matches.
  EXPECT_EQ(clerk->permissionList("customer", "", "R"), "NULL");

  // Late-bound: returned and written to the by-reference text.
  std::vector<Variant> args{Variant("warehouse"), Variant(""), Variant("W"), Variant()};
  Variant result = clerk->invoke("GetPermissionList", automation::InvokeKind::Method, args);
  EXPECT_EQ(result.toString(), "N'01',N'02',N'06'");
  EXPECT_EQ(args[3].toString(), "N'01',N'02',N'06'");
}

// The one-id question answers as the whole list would, including a right written with blanks
// or leading zeros, which only the list's reading of whole numbers recognises.
TEST(Session, OneInventoryIdIsPermittedExactlyWhenTheListHoldsIt) {
  const std::string path = testing::demoCopy("one-inventory-id");
  auto clerk = sessionFor("clerk", path);
  clerk->connection()->execute(
      "INSERT INTO UA_DataRight (cUser_Id, cObjectKind, cObjectId, cRightCode) "
      "VALUES ('clerk', 'inventory', ' 0042', 'W')");
  for (const char* right : {"W", ""}) {
    const std::string list = clerk->permissionList("inventory", "", right);
    for (long long id : {1LL, 4LL, 10LL, 11LL, 23LL, 34LL, 42LL, 420LL, 0LL, -1LL}) {
      EXPECT_EQ(clerk->permitsInventory(id, right), suite::idListHolds(list, id))
          << "id " << id << " right '" << right << "' list " << list;
    }
  }
  EXPECT_TRUE(clerk->permitsInventory(42, "W"));
  EXPECT_FALSE(clerk->permitsInventory(23, "W"));
  EXPECT_TRUE(clerk->permitsInventory(23, ""));
  EXPECT_FALSE(clerk->permitsInventory(4, "R"));  // restricted, and no "R" right at all
  EXPECT_TRUE(sessionFor("demo", path)->permitsInventory(987654, "W"));
}

TEST(Session, AnUnrestrictedUserHasEmptyListsAndUnknownKindsAreRefused) {
  auto demo = sessionFor("demo");
  for (const char* kind :
       {"department", "inventory", "warehouse", "customer", "person", "vendor"}) {
    EXPECT_EQ(demo->permissionList(kind, "", "W"), "") << kind;
    EXPECT_EQ(demo->permissionList(kind, "", ""), "") << kind;
  }
  try {
    demo->permissionList("warehouse' OR '1'='1", "", "W");
    ADD_FAILURE() << "an unknown kind was accepted";
  } catch (const ComError& e) {
    EXPECT_EQ(e.number(), suite::kErrUnknownObjectKind);
  }
  // A quote inside the right code is part of the code, never of the statement.
  auto clerk = sessionFor("clerk");
  EXPECT_EQ(clerk->permissionList("warehouse", "", "W' OR '1'='1"), "NULL");
}

TEST(Session, SettingsComeFromTheAccountWithTypesAndDefaults) {
  auto settings = sessionFor("demo")->accountSettings();
  EXPECT_EQ(settings->get("QuanDecDgt"), Variant(std::int32_t{2}));
  EXPECT_EQ(settings->get("ExchRateDecDgt"), Variant(std::int32_t{4}));
  EXPECT_EQ(settings->get("FormatQuanDecString").toString(), "##0.00");
  EXPECT_EQ(settings->get("FormatExchDecString").toString(), "##0.0000");
  EXPECT_EQ(settings->get("SysVersion").toString(), "商业");
  EXPECT_EQ(settings->get("BatchOut").toString(), "批号先进先出");
  EXPECT_EQ(settings->get("InOutTrace").toString(), "先进先出");
  EXPECT_EQ(settings->get("OverDispOut"), Variant(false));
  EXPECT_EQ(settings->get("OverOrder"), Variant(true));
  EXPECT_EQ(settings->get("CheckWareInv"), Variant(true));
  EXPECT_EQ(settings->get("bOMZGInstal"), Variant(true));  // kept under another subsystem
  // A parameter whose value is null falls back on its default.
  EXPECT_EQ(settings->get("bShowStockFilter").toString(), "1");
  EXPECT_THROW(settings->value(), ComError);  // the default member needs a name
  EXPECT_THROW(settings->get("NoSuchSetting"), ComError);
}

TEST(Session, SettingsReadEachTimeAndFallBackWhenRowsAreMissing) {
  const std::string path = testing::demoCopy("settings");
  auto context = sessionFor("demo", path);
  auto settings = context->accountSettings();
  auto& db = context->connection()->database();
  db.execute("UPDATE accinformation SET cValue = '3' WHERE cName = 'QuanDecDgt'");
  EXPECT_EQ(settings->digits("QuanDecDgt"), 3);
  db.execute(
      "DELETE FROM accinformation WHERE cName IN ('QuanDecDgt', 'FormatQuanDecString', "
      "'OverOrder')");
  EXPECT_EQ(settings->digits("QuanDecDgt"), 2);
  EXPECT_EQ(settings->text("FormatQuanDecString"), "##0.00");
  EXPECT_FALSE(settings->option("OverOrder"));
}

TEST(Session, BuilderFillsTheProfileOnlyFromTheLoginsOwnTexts) {
  auto login = loginAs("clerk");
  auto context = std::make_shared<suite::SuiteSessionContext>();
  EXPECT_FALSE(context->initialise(nullptr));
  ASSERT_TRUE(context->initialise(login));
  EXPECT_EQ(context->login(), login);
  EXPECT_EQ(context->connection()->state(), ado::adStateOpen);

  suite::SuiteSessionContextBuilder builder;
  suite::SuiteSessionProfile profile;
  EXPECT_THROW(builder.fillProfile("clerk", login->secondIdentity(), profile), ComError);
  builder.setContext(context);
  EXPECT_FALSE(builder.fillProfile("demo", login->secondIdentity(), profile));
  EXPECT_FALSE(profile.filled());
  EXPECT_TRUE(builder.fillProfile("clerk", login->secondIdentity(), profile));
  EXPECT_EQ(profile.userId(), "clerk");
}

}  // namespace
}  // namespace quillon::components
