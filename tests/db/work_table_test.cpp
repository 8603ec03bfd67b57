// The per-workstation work tables and the write-back statements on the demo account's stock and
// receipt lines, with the statement texts the library builds.
#include <gtest/gtest.h>

#include "automation/com_error.h"
#include "demo_fixture.h"

namespace quillon::db {
namespace {

using testing::freshDemoDb;
using testing::numberOf;
using testing::rowsOf;

const std::string kPrefix = "PC_01_3";

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string createCurrentS() {
  return " if  exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[" + kPrefix +
         "_CurrentS]') and OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table " + kPrefix +
         "_CurrentS create table " + kPrefix +
         "_CurrentS ( AutoID int , fSumOutQ decimal(20,6),fSumOutN decimal(20,6)) insert into " +
         kPrefix + "_CurrentS select Autoid,0,0 from CurrentStock ";
}

TEST(WorkTables, CurrentStockNetOfWhatTheVoucherTook) {
  auto db = freshDemoDb();
  db->execute(createCurrentS());
  db->execute(createCurrentS());  // a second create starts afresh
  EXPECT_EQ(numberOf(*db, "select count(*) from " + kPrefix + "_CurrentS"),
            numberOf(*db, "select count(*) from CurrentStock"));

  const std::string host =
      "select currentstock.AutoID, cBatch as 批号, iQuantity as 结存数量, iNum as 结存件数 from "
      "currentstock Where cWhCode='01' and cInvCode='0101001' order by cBatch";
  const auto before = rowsOf(*db, host);
  ASSERT_EQ(before.size(), 3u);
  const auto autoId = static_cast<std::int64_t>(testing::asNumber(before[0][0]));
  for (const char* q : {"5", "3"}) {
    db->execute(" update " + kPrefix + "_CurrentS set  fSumOutQ = fSumOutQ + " + q +
                ",fSumOutN = fSumOutN + 0.1 where AutoID= " + std::to_string(autoId));
  }

  // GetAllBSQL's rewrite of the host query.
  std::string rewritten = replaceAll(host, "Where",
                                     "  left join  " + kPrefix + "_CurrentS  on  " + kPrefix +
                                         "_CurrentS.autoid=currentstock.autoid where");
  rewritten = replaceAll(rewritten, "iQuantity", "(iQuantity - IsNull(fSumOutQ, 0))");
  rewritten = replaceAll(rewritten, "iNum", "(iNum-IsNull(fSumOutN,0))");
  const auto after = rowsOf(*db, rewritten);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_DOUBLE_EQ(testing::asNumber(after[0][2]), testing::asNumber(before[0][2]) - 8);
  EXPECT_NEAR(testing::asNumber(after[0][3]), testing::asNumber(before[0][3]) - 0.2, 1e-9);
  EXPECT_DOUBLE_EQ(testing::asNumber(after[1][2]), testing::asNumber(before[1][2]));

  db->execute(" drop table " + kPrefix + "_CurrentS ");
  EXPECT_THROW(db->execute(" drop table " + kPrefix + "_CurrentS "), automation::ComError);
}

TEST(WorkTables, ReceiptLinesNetOfWhatTheVoucherTook) {
  auto db = freshDemoDb();
  db->execute(
      " if  exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[" + kPrefix +
      "_TmpRdRecords]') and OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table " + kPrefix +
      "_TmpRdRecords create table " + kPrefix +
      "_TmpRdRecords ( AutoID int , fSumOutQ decimal(20,6),fSumOutN decimal(20,6)) insert into " +
      kPrefix + "_TmpRdRecords select Autoid,0,0 from rdrecords ");
  const std::string host =
      "select RdRecords.AutoID as 入库系统编号, rdrecord.dDate as 入库日期, mainbatch.cBatch as "
      "批号, "
      "abs(RdRecords.iQuantity) as 入库数量, abs(RdRecords.inum) as 入库件数 from rdrecords inner "
      "join "
      "rdrecord on rdrecord.ID = rdrecords.ID inner join mainbatch on mainbatch.RdID = "
      "rdrecords.AutoID "
      "Where mainbatch.cWhCode = '01' and mainbatch.cInvCode = '0101002' order by mainbatch.cBatch";
  const auto before = rowsOf(*db, host);
  ASSERT_EQ(before.size(), 3u);
  db->execute(" update " + kPrefix +
              "_TmpRdRecords set  fSumOutQ =fSumOutQ + 7,fSumOutN =fSumOutN + 0 "
              "where AutoID= " +
              testing::asText(before[2][0]));

  std::string rewritten = replaceAll(host, "Where",
                                     "  left join   " + kPrefix + "_TmpRdRecords  on " + kPrefix +
                                         "_TmpRdRecords.autoid=mainbatch.rdid where");
  rewritten = replaceAll(rewritten, "abs(RdRecords.iQuantity)",
                         "abs(RdRecords.iQuantity) - IsNull(fSumOutQ, 0)");
  rewritten =
      replaceAll(rewritten, " abs(RdRecords.inum)", " abs(RdRecords.inum)-IsNull(fSumOutN,0)");
  const auto after = rowsOf(*db, rewritten);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_DOUBLE_EQ(testing::asNumber(after[2][3]), testing::asNumber(before[2][3]) - 7);
  EXPECT_DOUBLE_EQ(testing::asNumber(after[0][3]), testing::asNumber(before[0][3]));
}

TEST(WorkTables, FindStockRowByEveryIdentifyingColumn) {
  auto& db = testing::demoDb();
  const std::string batch = testing::textOf(
      db, "select min(cBatch) from CurrentStock where cWhCode='01' and cInvCode='0101003'");
  std::string sql =
      " Select AutoID from CurrentStock where cWhCode='01' and  cInvCode='0101003' and  cBatch='" +
      batch;
  for (int k = 1; k <= 10; ++k) sql += "' and  cFree" + std::to_string(k) + "='";
  sql += "'";
  EXPECT_EQ(rowsOf(db, sql).size(), 1u);
  // A free-item inventory's rows differ only in their free items.
  EXPECT_EQ(numberOf(db,
                     "select count(*) from CurrentStock where cWhCode='01' and cInvCode='0104001' "
                     "and cBatch='" +
                         testing::textOf(
                             db, "select min(cBatch) from CurrentStock where cInvCode='0104001'") +
                         "'"),
            3);
}

TEST(WorkTables, TrackedOutCountsWriteBack) {
  auto db = freshDemoDb();
  const std::string line =
      testing::textOf(*db,
                      "select min(AutoID) from rdrecords r inner join rdrecord h on h.ID = r.ID "
                      "where h.bRdFlag = 1 and r.cBatch is not null");
  const double before = numberOf(*db, "SELECT iSOutQuantity  FROM RdRecords where AutoID =" + line);
  db->execute(
      "UPDATE RdRecords SET cVouchCode ='" + line +
      "', iSOutQuantity = iSOutQuantity + 2.5, iSOutNum =  iSOutNum+0 where AutoID = " + line);
  db->execute(
      "UPDATE RdRecords SET cVouchCode ='" + line +
      "', iSOutQuantity = iSOutQuantity - 1, iSOutNum =  iSOutNum-0 where AutoID = " + line);
  EXPECT_DOUBLE_EQ(numberOf(*db, "SELECT iSOutQuantity  FROM RdRecords where AutoID =" + line),
                   before + 1.5);

  // A stock write with only warehouse and inventory touches every batch of the inventory there.
  const double total = numberOf(*db,
                                "select sum(iQuantity) from CurrentStock where cWhCode = '02' and "
                                "cInvCode = '0102004'");
  db->execute(
      "UPDATE CurrentStock SET iQuantity = iQuantity - 1, iNum = iNum - 0 where cWhCode = '02' "
      "and cInvCode = '0102004'");
  EXPECT_DOUBLE_EQ(numberOf(*db,
                            "select sum(iQuantity) from CurrentStock where cWhCode = '02' and "
                            "cInvCode = '0102004'"),
                   total - 3);
}

}  // namespace
}  // namespace quillon::db
