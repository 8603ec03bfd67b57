// What the scale-1 demo account promises: an example of every case the reference dialogs tell
// apart, two users with different rights, and the account settings the library reads.
#include <gtest/gtest.h>

#include "demo_fixture.h"

namespace quillon::db {
namespace {

using testing::demoDb;
using testing::idsOf;
using testing::numberOf;
using testing::textOf;
using testing::textsOf;

double count(std::string_view sql) {
  return numberOf(demoDb(), std::string("select count(*) ") + std::string(sql));
}

TEST(DemoCoverage, OrdersAndLinesInEveryState) {
  EXPECT_EQ(idsOf(demoDb(), "select distinct iState from OM_ProductPO"),
            (std::set<std::int64_t>{1, 2, 3}));
  EXPECT_EQ(idsOf(demoDb(), "select distinct iState from pp_POHead"),
            (std::set<std::int64_t>{1, 2, 3}));
  EXPECT_GT(count("from OM_POMain where bCheck = 0 and fQuantity > isnull(fInQuantity, 0)"), 0);
  EXPECT_GT(count("from OM_POMain where bUsed = 1"), 0);
  EXPECT_GT(count("from OM_POMain where isnull(cClose, '') <> ''"), 0);
  EXPECT_GT(count("from pp_POLine where isnull(cClose, '') <> ''"), 0);
  EXPECT_GT(count("from pp_POMaterial where bUsed = 1"), 0);
  // Fully received but not closed, for the "also show executed" switch.
  EXPECT_GT(count("from OM_POMain m inner join OM_ProductPO p on p.ID = m.ID where p.iState = 2 "
                  "and m.fInQuantity = m.fQuantity and isnull(m.cClose, '') = ''"),
            0);
}

TEST(DemoCoverage, InspectionAndConcession) {
  const char* inspected =
      "from OM_POMain m inner join qm_ncheckvouchers s on s.iSourceAutoID = m.MainID "
      "inner join qm_ncheckvoucher h on h.ID = s.ID where m.bCheck = 1 and h.cVouchType = 'QM16' "
      "and h.cSourceCardNumber = 'OM02' ";
  EXPECT_GT(count(std::string(inspected) +
                  "and isnull(h.cVerifier, '') <> '' and s.fHGQuantity > s.fHGInQuantity"),
            0);
  EXPECT_GT(count(std::string(inspected) +
                  "and isnull(h.cVerifier, '') <> '' and s.fHGQuantity = s.fHGInQuantity"),
            0);
  EXPECT_GT(count(std::string(inspected) + "and h.cVerifier is null"), 0);
  // Concession-accepted goods both still open and already received.
  EXPECT_GT(count("from qm_ncvreject where fYBJSQuantity > fYBJSInQuantity"), 0);
  EXPECT_GT(count("from qm_ncvreject where fYBJSQuantity > 0 and fYBJSQuantity = fYBJSInQuantity"),
            0);
  EXPECT_GT(count("from qm_ncheckvouchers s inner join qm_ncvreject r on r.ID = s.iRejID"), 0);
}

TEST(DemoCoverage, UnitsBatchesAndStockBalances) {
  EXPECT_EQ(idsOf(demoDb(),
                  "select distinct i.iGroupType from OM_PODetails d inner join Inventory i on "
                  "i.cInvCode = d.cInvCode"),
            (std::set<std::int64_t>{0, 1, 2}));
  EXPECT_EQ(count("from Inventory i inner join ComputationGroup g on g.cGroupCode = i.cGroupCode "
                  "where g.iGroupType <> i.iGroupType"),
            0);
  EXPECT_GT(count("from ComputationUnit where iChangRate > 1"), 0);
  EXPECT_GT(
      count("from CurrentStock where cBatch <> '' and dMdate is not null and dVDate is not null"),
      0);
  EXPECT_GT(count("from CurrentStock where iQuantity > 0"), 0);
  EXPECT_GT(count("from CurrentStock where iQuantity = 0"), 0);
  EXPECT_GT(count("from CurrentStock where iQuantity < 0"), 0);
  EXPECT_GE(count("from (select distinct cWhCode from CurrentStock) w"), 5);
  EXPECT_GT(count("from CurrentStock where cFree1 <> ''"), 0);
  // Every batch record belongs to a receipt line of the same inventory.
  EXPECT_EQ(
      count("from mainbatch b left join rdrecords r on r.AutoID = b.RdID where r.cInvCode is null "
            "or r.cInvCode <> b.cInvCode"),
      0);
}

TEST(DemoCoverage, RedLinesConsignmentAndDepartments) {
  EXPECT_GT(count("from PU_ArrivalVouchs s inner join PU_ArrivalVouch h on h.ID = s.ID where "
                  "h.iBillType = 1 and s.iQuantity < 0"),
            0);
  EXPECT_GT(count("from DispatchLists s inner join DispatchList h on h.DLID = s.DLID where "
                  "h.bReturnFlag = 1 and s.iQuantity < 0"),
            0);
  EXPECT_GT(
      count("from PO_Podetails s inner join PO_Pomain h on h.POID = s.POID inner join Inventory "
            "i on i.cInvCode = s.cInvCode where h.cBusType = '受托代销' and i.bInvEntrust = 1"),
      0);
  EXPECT_GT(count("from DispatchList where cVouchType = '06' and cBusType = '委托代销'"), 0);
  // An order line that is over-arrived shows a negative raw open quantity.
  EXPECT_GT(count("from PO_Podetails where iQuantity - iArrQTY - iReceivedQTY < 0"), 0);
  EXPECT_GT(count("from Department where bDepEnd = 1"), 0);
  EXPECT_GT(count("from Department where bDepEnd = 0"), 0);
  EXPECT_GT(count("from OM_ProductPO where cDepCode is null"), 0);
  // Lines of documents only use end-level departments.
  EXPECT_EQ(count("from OM_ProductPO p inner join Department d on d.cDepCode = p.cDepCode where "
                  "d.bDepEnd = 0"),
            0);
}

TEST(DemoCoverage, UserDefinedFieldsAndFreeItems) {
  EXPECT_EQ(textOf(demoDb(), "select cName from DefineItem where cKey = '01'"), "合同号");
  EXPECT_EQ(textOf(demoDb(), "select cName from DefineItem where cKey = '20'"), "颜色");
  EXPECT_EQ(textOf(demoDb(), "select cName from DefineItem where cKey = '22'"), "包装要求");
  EXPECT_GT(count("from OM_ProductPO where cDefine1 is not null"), 0);
  EXPECT_GT(count("from OM_POMain where cFree1 <> ''"), 0);
  EXPECT_GT(count("from InvFreeValue where iFreeNo = 1"), 0);
}

TEST(DemoCoverage, ClerkIsRestrictedForEveryKindAndDemoForNone) {
  for (const char* kind :
       {"department", "inventory", "warehouse", "customer", "person", "vendor"}) {
    EXPECT_GT(
        count(std::string("from UA_DataRight where cUser_Id = 'clerk' and cRightCode = 'W' and "
                          "cObjectKind = '") +
              kind + "'"),
        0)
        << kind;
  }
  EXPECT_EQ(count("from UA_DataRight where cUser_Id = 'demo'"), 0);
  // The clerk's rights name real objects, and some of each kind stay outside them.
  EXPECT_EQ(count("from UA_DataRight r left join Department d on d.cDepCode = r.cObjectId where "
                  "r.cObjectKind = 'department' and d.cDepCode is null"),
            0);
  EXPECT_EQ(count("from UA_DataRight r left join Inventory i on i.iId = r.cObjectId where "
                  "r.cObjectKind = 'inventory' and i.iId is null"),
            0);
  EXPECT_GT(count("from Warehouse where cWhCode not in (select cObjectId from UA_DataRight where "
                  "cUser_Id = 'clerk' and cObjectKind = 'warehouse')"),
            0);
  EXPECT_GT(count("from Vendor where cVenCode not in (select cObjectId from UA_DataRight where "
                  "cUser_Id = 'clerk' and cObjectKind = 'vendor')"),
            0);
  // Some of the clerk's outsourced orders are his, some are not.
  EXPECT_GT(count("from OM_ProductPO where cVenCode in (select cObjectId from UA_DataRight where "
                  "cUser_Id = 'clerk' and cObjectKind = 'vendor' and cRightCode = 'W')"),
            0);
  EXPECT_EQ(textsOf(demoDb(), "select cUser_Id from UA_FuncRight where cFuncCode = 'ST0118'"),
            std::vector<std::string>{"demo"});
}

TEST(DemoCoverage, OutsourcingClerkSecondUnitAndOwnColumnSet) {
  // The clerk may use no product of an outsourced order; the outsourcing clerk may use
  // the products of order 7 and only some of their materials.
  const char* rightsOf =
      "select cObjectId from UA_DataRight where cObjectKind = 'inventory' and cRightCode = 'W' "
      "and cUser_Id = ";
  EXPECT_EQ(count(std::string("from OM_POMain m inner join Inventory i on i.cInvCode = m.cInvCode "
                              "where cast(i.iId as nvarchar(10)) in (") +
                  rightsOf + "'clerk')"),
            0);
  EXPECT_GT(count(std::string("from OM_POMain m inner join Inventory i on i.cInvCode = m.cInvCode "
                              "where cast(i.iId as nvarchar(10)) in (") +
                  rightsOf + "'omclerk')"),
            0);
  const std::string materialsOf13 =
      "from OM_PODetails d inner join Inventory i on i.cInvCode = d.cInvCode where d.MainID = 13";
  EXPECT_GT(
      count(materialsOf13 + " and cast(i.iId as nvarchar(10)) in (" + rightsOf + "'omclerk')"), 0);
  EXPECT_GT(
      count(materialsOf13 + " and cast(i.iId as nvarchar(10)) not in (" + rightsOf + "'omclerk')"),
      0);
  EXPECT_EQ(count("from UA_DataRight where cUser_Id = 'omclerk' and cObjectKind <> 'inventory'"),
            0);

  // A product line in pieces and boxes: fixed rate 100, 20 boxes ordered, 5 received.
  EXPECT_EQ(textOf(demoDb(), "select cCode from OM_ProductPO where ID = 9"), "WW26110009");
  EXPECT_EQ(numberOf(demoDb(), "select fNum from OM_POMain where MainID = 15"), 20);
  EXPECT_EQ(numberOf(demoDb(), "select fInNum from OM_POMain where MainID = 15"), 5);
  EXPECT_EQ(count("from OM_POMain where fNum is not null"), 1);

  // His material list is his own: every field of the default, in his order, some hidden.
  EXPECT_EQ(count("from ColumnSet where cUser_Id = 'omclerk' and cTableName = 'OM_PODetails'"),
            count("from ColumnSet where cUser_Id = '' and cTableName = 'OM_PODetails'"));
  EXPECT_EQ(textOf(demoDb(),
                   "select cFieldName from ColumnSet where cUser_Id = 'omclerk' and "
                   "cTableName = 'OM_PODetails' and iOrder = 5"),
            "iCurOutQuantity");
  EXPECT_GT(count("from ColumnSet where cUser_Id = 'omclerk' and bVisible = 0"), 0);
}

TEST(DemoCoverage, AccountSettingsTheLibraryReads) {
  for (const char* name :
       {"QuanDecDgt", "NumDecDgt", "ExchRateDecDgt", "FormatQuanDecString", "FormatNumDecString",
        "FormatExchDecString", "SysVersion", "BatchOut", "InOutTrace", "OverDispOut", "OverOrder",
        "CheckWareInv", "bBOMSpreadNotByFree", "bOMInNeedOut", "bOMZGInstal"}) {
    EXPECT_FALSE(textOf(demoDb(), std::string("select isnull(cValue, isnull(cDefault, '')) from "
                                              "accinformation where cName = '") +
                                      name + "'")
                     .empty())
        << name;
  }
  EXPECT_EQ(textOf(demoDb(), "select cValue from accinformation where cName = 'BatchOut'"),
            "批号先进先出");
}

}  // namespace
}  // namespace quillon::db
