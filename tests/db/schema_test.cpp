// The schema applies on an empty database, holds every table the library and the suite's
// services work on, and applies atomically.
#include <gtest/gtest.h>

#include "automation/com_error.h"
#include "db/schema.h"
#include "demo_fixture.h"
#include "sql/database.h"

namespace quillon::db {
namespace {

using testing::numberOf;

TEST(Schema, CreatesEveryTableAndViewTheStatementsUse) {
  auto db = sql::Database::open(":memory:");
  applySchema(*db);
  for (const char* name : {"accinformation",
                           "GradeDef",
                           "DefineItem",
                           "InvFreeValue",
                           "VouchType",
                           "UA_User",
                           "UA_DataRight",
                           "UA_FuncRight",
                           "ColumnSet",
                           "FilterDef",
                           "FilterItem",
                           "ComputationGroup",
                           "ComputationUnit",
                           "InventoryClass",
                           "Inventory",
                           "Warehouse",
                           "WhAndInv",
                           "Department",
                           "Person",
                           "Customer",
                           "Vendor",
                           "venandinv",
                           "fitem",
                           "fitemss",
                           "fitemss99",
                           "productstructure",
                           "SaleType",
                           "PurchaseType",
                           "Position",
                           "pp_POHead",
                           "pp_POLine",
                           "pp_POMaterial",
                           "pp_poheader",
                           "pp_pomain",
                           "pp_podetail",
                           "OM_ProductPO",
                           "OM_POMain",
                           "OM_PODetails",
                           "OM_ProductPO_V",
                           "qm_ncheckvoucher",
                           "qm_ncheckvouchers",
                           "qm_ncvreject",
                           "PO_Pomain",
                           "PO_Podetails",
                           "PU_ArrivalVouch",
                           "PU_ArrivalVouchs",
                           "zpurpoheader",
                           "pu_ArrHead",
                           "DispatchList",
                           "DispatchLists",
                           "CurrentStock",
                           "rdrecord",
                           "rdrecords",
                           "mainbatch",
                           "InvPosition",
                           "InvPositionSum",
                           "zpurpodetail",
                           "pu_ArrBody",
                           "DispatchBody"}) {
    EXPECT_EQ(numberOf(*db, std::string("select count(*) from ") + name), 0) << name;
  }
  // Names are matched without regard to case, as the statements spell them freely.
  EXPECT_EQ(numberOf(*db, "select count(*) from om_pomain m inner join DEPARTMENT d on 1 = 0"), 0);
}

TEST(Schema, CountersStartAtZeroSoThatWriteBackCanAddToThem) {
  auto db = sql::Database::open(":memory:");
  applySchema(*db);
  db->execute(
      "insert into rdrecords (ID, cInvCode, iQuantity) values (1, 'A', 10) "
      "insert into CurrentStock (cWhCode, cInvCode) values ('01', 'A')");
  db->execute(
      "UPDATE RdRecords SET cVouchCode ='1', iSOutQuantity = iSOutQuantity + 4, iSOutNum =  "
      "iSOutNum+1 where AutoID = 1");
  db->execute(
      "UPDATE CurrentStock SET iQuantity = iQuantity - 2, iNum = iNum - 1 where cWhCode = '01'");
  EXPECT_EQ(numberOf(*db, "select iSOutQuantity from rdrecords"), 4);
  EXPECT_EQ(numberOf(*db, "select iQuantity from CurrentStock"), -2);
  // Free items and batch of a stock row default to '' so that equality finds the row.
  EXPECT_EQ(numberOf(*db, "select count(*) from CurrentStock where cBatch = '' and cFree10 = ''"),
            1);
}

TEST(Schema, AppliesAllOrNothing) {
  auto db = sql::Database::open(":memory:");
  db->execute("create table OM_POMain (x int)");
  try {
    applySchema(*db);
    FAIL() << "a clashing table must stop the schema";
  } catch (const automation::ComError& e) {
    EXPECT_NE(e.description().find("04_outsourcing.sql"), std::string::npos) << e.description();
  }
  EXPECT_FALSE(db->inTransaction());
  EXPECT_THROW(db->query("select count(*) from accinformation"), automation::ComError);
  EXPECT_EQ(numberOf(*db, "select count(*) from OM_POMain"), 0);
}

}  // namespace
}  // namespace quillon::db
