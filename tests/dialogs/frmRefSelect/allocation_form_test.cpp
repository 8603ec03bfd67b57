// Automatic allocation through RefSelect.AutoRefer and the "auto" button: the rows each rule
// takes, the stop rules and the outcome messages, on candidate rows in a copy of the demo account.
#include <gtest/gtest.h>

#include "ado/recordset.h"
#include "automation/com_error.h"
#include "classes/ref_select.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "ref_fixture.h"

namespace quillon::dialogs {
namespace {

using classes::RefSelect;
using namespace testing;

class AutoAllocation : public RefSelectCase {
 protected:
  // The chosen rows' this-time quantities, in the order ReturnData gives them.
  static std::vector<double> taken(const std::shared_ptr<ado::Recordset>& rs,
                                   const char* field = "出库数量") {
    std::vector<double> out;
    if (!rs) return out;
    rs->moveFirst();
    while (!rs->eof()) {
      out.push_back(rs->value(field).toDouble());
      rs->moveNext();
    }
    return out;
  }
  static std::vector<std::string> batches(const std::shared_ptr<ado::Recordset>& rs) {
    std::vector<std::string> out;
    rs->moveFirst();
    while (!rs->eof()) {
      out.push_back(rs->value("批号").toString());
      rs->moveNext();
    }
    return out;
  }
};

TEST_F(AutoAllocation, TenOverThreeRowsOfFour) {
  makeBatchCandidates(path, {{"B1", "", 4, 0}, {"B2", "", 4, 0}, {"B3", "", 4, 0}});
  RefSelect rs;
  std::string err = "silent";
  rs.AutoRefer(login, request(10), err);
  EXPECT_EQ(taken(rs.ReturnData()), (std::vector<double>{4, 4, 2}));
  EXPECT_EQ(err, "");
  EXPECT_TRUE(host->messages.empty());
  EXPECT_EQ(rs.dialog()->remainingQuantity(), 0);

  // Only one row without multiple selection: 4 taken, 6 reported in the message text.
  auto single = request(10);
  single.mutiSel = false;
  err = "silent";
  rs.AutoRefer(login, single, err);
  EXPECT_EQ(taken(rs.ReturnData()), (std::vector<double>{4}));
  EXPECT_EQ(err, "没有完全分配，还有6没有分配");
  EXPECT_TRUE(host->messages.empty());

  // Interactive: the same shortfall as a message box titled by the reference type.
  err.clear();
  rs.AutoRefer(login, single, err);
  EXPECT_EQ(err, "");
  ASSERT_EQ(host->messages.size(), 1u);
  EXPECT_EQ(host->messages[0].prompt, "没有完全分配，还有6没有分配");
  EXPECT_EQ(host->messages[0].title, "批次分配");
}

TEST_F(AutoAllocation, RedVoucherNeverReportsANegativeRemainder) {
  makeBatchCandidates(path, {{"B1", "", 3, 0}, {"B2", "", 3, 0}, {"B3", "", 3, 0}});
  RefSelect rs;
  auto red = request(-5);
  red.isRedVouch = true;
  std::string err = "silent";
  rs.AutoRefer(login, red, err);
  EXPECT_EQ(taken(rs.ReturnData()), (std::vector<double>{-3, -2}));
  EXPECT_EQ(err, "");

  // Asking for more than there is leaves a negative remainder, which is not reported.
  red.quantity = -20;
  err = "silent";
  rs.AutoRefer(login, red, err);
  EXPECT_EQ(taken(rs.ReturnData()), (std::vector<double>{-3, -3, -3}));
  EXPECT_EQ(err, "");
  EXPECT_EQ(rs.dialog()->remainingQuantity(), -11);
}

TEST_F(AutoAllocation, BatchRulesSortAndUnknownTextsKeepQueryOrder) {
  makeBatchCandidates(
      path, {{"B3", "2027-01-10", 4, 0}, {"B1", "2027-03-01", 4, 0}, {"B2", "2026-12-20", 4, 0}});
  RefSelect rs;
  std::string err = "silent";
  setOption(path, "BatchOut", "批号先进先出");
  rs.AutoRefer(login, request(6), err);
  EXPECT_EQ(batches(rs.ReturnData()), (std::vector<std::string>{"B1", "B2"}));
  EXPECT_EQ(taken(rs.ReturnData()), (std::vector<double>{4, 2}));

  setOption(path, "BatchOut", "近效期先出");
  rs.AutoRefer(login, request(6), err);
  EXPECT_EQ(batches(rs.ReturnData()), (std::vector<std::string>{"B2", "B3"}));

  for (const char* rule : {"手工确定", "先进先出", "某个新规则"}) {
    setOption(path, "BatchOut", rule);
    rs.AutoRefer(login, request(6), err);
    EXPECT_EQ(batches(rs.ReturnData()), (std::vector<std::string>{"B3", "B1"})) << rule;
  }
}

TEST_F(AutoAllocation, LastInFirstOutWithEqualDates) {
  makeTraceCandidates(
      path,
      {{"2026-11-01", 11, 4}, {"2026-11-20", 12, 4}, {"2026-11-20", 15, 4}, {"2026-10-05", 9, 4}});
  RefSelect rs;
  std::string err = "silent";
  setOption(path, "InOutTrace", "后进先出");
  rs.AutoRefer(login, request(10, 1), err);
  std::vector<double> receipts;
  auto data = rs.ReturnData();
  for (data->moveFirst(); !data->eof(); data->moveNext())
    receipts.push_back(data->value("入库系统编号").toDouble());
  EXPECT_EQ(receipts, (std::vector<double>{15, 12, 11}));
  EXPECT_EQ(taken(data), (std::vector<double>{4, 4, 2}));

  setOption(path, "InOutTrace", "先进先出");
  rs.AutoRefer(login, request(5, 1), err);
  receipts.clear();
  data = rs.ReturnData();
  for (data->moveFirst(); !data->eof(); data->moveNext())
    receipts.push_back(data->value("入库系统编号").toDouble());
  EXPECT_EQ(receipts, (std::vector<double>{9, 11}));

  // Shortfall of a tracking allocation, titled as such.
  err.clear();
  rs.AutoRefer(login, request(30, 1), err);
  ASSERT_FALSE(host->messages.empty());
  EXPECT_EQ(host->lastMessage(), "没有完全分配，还有14没有分配");
  EXPECT_EQ(host->messages.back().title, "追踪分配");
}

TEST_F(AutoAllocation, EmptyCandidatesAndOtherReferenceTypes) {
  makeBatchCandidates(path, {});
  setOption(path, "InOutTrace", "手工确定");
  RefSelect rs;
  std::string err = "silent";
  rs.AutoRefer(login, request(5), err);
  EXPECT_EQ(err, "没有找到对应的批次结存信息，不能自动分配");
  EXPECT_EQ(rs.ReturnData(), nullptr);

  err = "silent";
  rs.AutoRefer(login, request(5, 1), err);
  EXPECT_EQ(err, "没有找到对应的入库信息，不能自动分配");

  // Reference types other than 0 and 1 allocate but report nothing.
  err = "silent";
  rs.AutoRefer(login, request(5, 5), err);
  EXPECT_EQ(err, "");
}

TEST_F(AutoAllocation, QueryWithoutTheLayoutRaisesNamingTheField) {
  RefSelect rs;
  std::string err;
  auto bad = request(5);
  bad.sql = "select cInvCode, iQuantity as 数量 from CurrentStock where cWhCode = '01'";
  try {
    rs.AutoRefer(login, bad, err);
    FAIL() << "no error";
  } catch (const automation::ComError& e) {
    EXPECT_NE(e.description().find("结存数量"), std::string::npos) << e.description();
  }
  // A rule whose sort field the query lacks names that field.
  makeBatchCandidates(path, {{"B1", "", 4, 0}});
  execute(path,
          "create table NoBatch (结存数量 decimal(20,6), 结存件数 decimal(20,6), a int, b int, c "
          "int, d int, 出库数量 decimal(20,6), 出库件数 decimal(20,6), f int, g int, h "
          "int)\ninsert into NoBatch values (4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)");
  setOption(path, "BatchOut", "批号先进先出");
  bad.sql = "select * from NoBatch";
  try {
    rs.AutoRefer(login, bad, err);
    FAIL() << "no error";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.description(), "查询结果缺少字段[批号]");
  }
  // A statement that fails reaches the host as the call's error.
  bad.sql = "select * from NoSuchTable";
  EXPECT_THROW(rs.AutoRefer(login, bad, err), automation::ComError);
}

TEST_F(AutoAllocation, PiecesFollowTheRowRate) {
  // 0102001 is counted in pieces too: the pieces of each row follow its stock rate.
  makeBatchCandidates(path, {{"B1", "", 12, 3}, {"B2", "", 12, 3}});
  execute(path, "update Cand set cInvCode = '0102001'");
  RefSelect rs;
  auto r = request(18);
  r.invCode = "0102001";
  r.num = 0;
  std::string err = "silent";
  rs.AutoRefer(login, r, err);
  EXPECT_EQ(taken(rs.ReturnData()), (std::vector<double>{12, 6}));
  EXPECT_EQ(taken(rs.ReturnData(), "出库件数"), (std::vector<double>{3, 1.5}));
}

}  // namespace
}  // namespace quillon::dialogs
