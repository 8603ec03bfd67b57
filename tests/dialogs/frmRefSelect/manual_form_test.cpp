// The dialog shown by RefSelect.Refer, driven as a person would: marking rows, editing this-time
// cells, changing the header amounts, the show-check-boxes and the toolbar.
#include <gtest/gtest.h>

#include <algorithm>

#include "ado/recordset.h"
#include "classes/ref_select.h"
#include "dialogs/frmRefSelect/frm_ref_select.h"
#include "dialogs/frmRefSelect/ref_select_messages.h"
#include "dialogs/frmRefSelect/ref_select_queries.h"
#include "dialogs/frmRefSelect/ref_select_rules.h"
#include "ref_fixture.h"

namespace quillon::dialogs {
namespace {

using classes::RefSelect;
using namespace testing;

class ManualSelection : public RefSelectCase {
 protected:
  void SetUp() override {
    RefSelectCase::SetUp();
    makeBatchCandidates(path, {{"B1", "", 4, 0}, {"B2", "", 4, 0}, {"B3", "", 4, 0}});
  }

  // Runs Refer with `act` playing the person in the dialog.
  void refer(const RefSelect::Request& r, std::function<void(frmRefSelect&)> act) {
    host->onModal = [act](forms::Form& form) { act(dynamic_cast<frmRefSelect&>(form)); };
    rs.Refer(login, r);
    EXPECT_EQ(host->modalRuns, 1);
    host->modalRuns = 0;
  }

  static void mark(frmRefSelect& f, int row) { f.spgList.userClickCell(row, 0); }
  static std::string cell(frmRefSelect& f, int col, int row) {
    return f.spgList.TextMatrix(col, row);
  }

  RefSelect rs;
};

TEST_F(ManualSelection, MarkingRowsTakesWhatIsStillWanted) {
  refer(request(10), [](frmRefSelect& f) {
    const int q = f.thisQuantityColumn();
    ASSERT_EQ(f.spgList.TextMatrix(q, 0), "出库数量");
    EXPECT_EQ(f.spgList.TextMatrix(f.stockColumn(), 1), "4.00");
    mark(f, 3);
    mark(f, 1);
    mark(f, 2);
    EXPECT_EQ(cell(f, q, 3), "4.00");
    EXPECT_EQ(cell(f, q, 1), "4.00");
    EXPECT_EQ(cell(f, q, 2), "2.00");
    EXPECT_EQ(f.remainingQuantity(), 0);
    // Giving a row back makes its quantity wanted again; taking it again takes it.
    mark(f, 1);
    EXPECT_EQ(cell(f, 0, 1), "");
    EXPECT_EQ(cell(f, q, 1), "0");
    EXPECT_EQ(f.remainingQuantity(), 4);
    mark(f, 1);
    EXPECT_EQ(cell(f, q, 1), "4.00");
    EXPECT_TRUE(f.CTBCtrl1.Visible());
    EXPECT_FALSE(f.tbrTool.Visible());
    EXPECT_TRUE(f.CTBCtrl1.userPress("ok"));
  });
  ASSERT_NE(rs.ReturnData(), nullptr);
  auto data = rs.ReturnData();
  EXPECT_EQ(data->recordCount(), 3);
  double sum = 0;
  for (data->moveFirst(); !data->eof(); data->moveNext()) sum += data->value("出库数量").toDouble();
  EXPECT_EQ(sum, 10);
}

TEST_F(ManualSelection, FreeItemsTheInventoryDoesNotUseTakeNoRoom) {
  // The ingot uses its second free item only; the candidates carry the first two.
  execute(path, "update Inventory set bFree1 = 0, bFree2 = 1 where cInvCode = '0101003'");
  auto r = request(10);
  r.sql = "select '' as 自由项1, 'L' as 自由项2, * from Cand order by id";
  refer(r, [](frmRefSelect& f) {
    ASSERT_EQ(f.spgList.TextMatrix(1, 0), "自由项1");
    EXPECT_EQ(f.spgList.ColWidth(1), 0);
    EXPECT_FALSE(f.spgList.ColWidthSet(2));
    EXPECT_EQ(f.spgList.TextMatrix(2, 1), "L");
    // The amounts read with the account's decimals.
    EXPECT_EQ(f.spgList.ColFormat(f.stockColumn()), "##0.00");
    EXPECT_EQ(f.spgList.ColFormat(f.thisQuantityColumn()), "##0.00");
    // The header item that shows takes the first place, and the rows the room of the others.
    EXPECT_FALSE(f.hdiFree[1]->Visible());
    EXPECT_TRUE(f.hdiFree[2]->Visible());
    EXPECT_EQ(f.hdiFree[2]->Left(), f.hdiFree[1]->Left());
    EXPECT_EQ(f.chkShowMax.Top(), f.hdiFree[2]->Top() + 300);
    EXPECT_EQ(f.spgList.Top() - f.chkShowMax.Top(), 2580 - 2220);
    EXPECT_GT(f.spgList.Height(), 3900);  // the rows have the room the free items left
    EXPECT_EQ(ref_select::freeItemOf("自由项10"), 10);
    EXPECT_EQ(ref_select::freeItemOf("自由项11"), 0);
    EXPECT_EQ(ref_select::freeItemOf("自由项"), 0);
    EXPECT_EQ(ref_select::freeItemOf("批号"), 0);
    f.TaskRun("cancel");
  });
}

TEST_F(ManualSelection, SingleSelectionGivesBackTheOtherRow) {
  auto r = request(10);
  r.mutiSel = false;
  refer(r, [](frmRefSelect& f) {
    mark(f, 1);
    mark(f, 2);
    EXPECT_EQ(cell(f, 0, 1), "");
    EXPECT_EQ(cell(f, 0, 2), "Y");
    EXPECT_EQ(cell(f, f.thisQuantityColumn(), 2), "4.00");
    f.TaskRun("OK");
  });
  ASSERT_NE(rs.ReturnData(), nullptr);
  EXPECT_EQ(rs.ReturnData()->recordCount(), 1);
  EXPECT_EQ(rs.ReturnData()->value("批号").toString(), "B2");
}

TEST_F(ManualSelection, CancelCloseAndEmptyOkGiveNothing) {
  refer(request(5), [](frmRefSelect& f) {
    mark(f, 1);
    f.TaskRun("cancel");
  });
  EXPECT_EQ(rs.ReturnData(), nullptr);
  refer(request(5), [](frmRefSelect& f) { mark(f, 1); });  // the host closes the window
  EXPECT_EQ(rs.ReturnData(), nullptr);
  EXPECT_EQ(rs.dialog()->DataFrom, nullptr);
  refer(request(5), [](frmRefSelect& f) { f.TaskRun("ok"); });
  EXPECT_EQ(rs.ReturnData(), nullptr);
  refer(request(5), [](frmRefSelect& f) {
    f.TaskRun("all");
    f.TaskRun("none");
    EXPECT_TRUE(f.Loaded());
    f.TaskRun("ok");
  });
  EXPECT_EQ(rs.ReturnData(), nullptr);
}

TEST_F(ManualSelection, EditedCellsRefuseTheWrongSign) {
  refer(request(10), [this](frmRefSelect& f) {
    const int q = f.thisQuantityColumn();
    mark(f, 1);
    EXPECT_FALSE(f.spgList.ColLock(q));
    EXPECT_TRUE(f.spgList.ColLock(f.stockColumn()));
    f.spgList.userEditCell(1, q, "-1");
    EXPECT_EQ(host->lastMessage(), "篮字单据不能输入负数");
    EXPECT_EQ(cell(f, q, 1), "4.00");
    f.spgList.userEditCell(1, q, "abc");
    EXPECT_EQ(host->lastMessage(), "请输入数字");
    f.spgList.userEditCell(1, q, "1,5");  // "," is ignored: 15
    EXPECT_EQ(cell(f, q, 1), "1,5");
    EXPECT_EQ(f.remainingQuantity(), 6);  // recomputed at the next toggle
    mark(f, 2);
    EXPECT_EQ(f.remainingQuantity(), 0);
    EXPECT_EQ(cell(f, q, 2), "0");  // nothing was wanted any more
    f.spgList.userEditCell(1, q, "3");
    f.TaskRun("ok");
  });
  auto data = rs.ReturnData();
  ASSERT_NE(data, nullptr);
  data->moveFirst();
  EXPECT_EQ(data->value("出库数量").toDouble(), 3);

  auto red = request(-5);
  red.isRedVouch = true;
  refer(red, [this](frmRefSelect& f) {
    mark(f, 1);
    EXPECT_EQ(cell(f, f.thisQuantityColumn(), 1), "-4.00");
    f.spgList.userEditCell(1, f.thisQuantityColumn(), "2");
    EXPECT_EQ(host->lastMessage(), "红字单据不能输入正数");
    EXPECT_EQ(cell(f, f.thisQuantityColumn(), 1), "-4.00");
    f.TaskRun("cancel");
  });
}

TEST_F(ManualSelection, ShowBoxesFilterTheRows) {
  setOption(path, "OverDispOut", "true");
  execute(path,
          "insert into Cand values (4, 'Z0', null, 0, 0, 0,0,0,0, 0, 0, 200, 'T1', "
          "'0101003')\ninsert into Cand values (5, 'N1', null, -2, 0, 0,0,0,0, 0, 0, 201, "
          "'T1', '0101003')");
  refer(request(10), [this](frmRefSelect& f) {
    EXPECT_TRUE(f.chkShowMax.Enabled());
    EXPECT_EQ(f.spgList.Rows() - 1, 3);
    f.chkShowZero.userClick();
    EXPECT_EQ(f.spgList.Rows() - 1, 4);
    f.chkShowMin.userClick();
    EXPECT_EQ(f.spgList.Rows() - 1, 5);
    f.chkShowMax.userClick();
    f.chkShowZero.userClick();
    f.chkShowMin.userClick();
    EXPECT_EQ(f.spgList.Rows() - 1, 0);
    // Nothing shown: automatic allocation takes nothing and reports the whole request, not the
    // missing-stock message, since the query itself has rows.
    f.CTBCtrl1.userPress("auto");
    EXPECT_EQ(host->lastMessage(), "没有完全分配，还有10没有分配");
    f.TaskRun("ok");
  });
  EXPECT_EQ(rs.ReturnData(), nullptr);

  // Without the option the boxes are off and positive stock is shown.
  setOption(path, "OverDispOut", "false");
  refer(request(10), [](frmRefSelect& f) {
    EXPECT_FALSE(f.chkShowMax.Enabled());
    EXPECT_EQ(f.spgList.Rows() - 1, 3);
  });
}

TEST_F(ManualSelection, StocktakingTakesTheWholeBookQuantity) {
  execute(path,
          "create table Book (批号 nvarchar(30), 账面数量 decimal(20,6), 账面件数 "
          "decimal(20,6), 盘点数量 decimal(20,6), 盘点件数 decimal(20,6), a int, b int, c "
          "int)\ninsert into Book values ('B1', 7.5, 0, 0, 0, 0, 0, 0)\ninsert into Book "
          "values ('B2', 3, 0, 0, 0, 0, 0, 0)");
  auto r = request(1);
  r.refFrom = "18";
  r.sql = "select * from Book";
  refer(r, [](frmRefSelect& f) {
    EXPECT_FALSE(f.tbrTool.button("auto").enabled);
    EXPECT_FALSE(f.hdiQuantity.Active());
    EXPECT_EQ(f.spgList.TextMatrix(f.thisQuantityColumn(), 0), "盘点数量");
    mark(f, 1);
    mark(f, 2);
    EXPECT_EQ(f.spgList.TextMatrix(f.thisQuantityColumn(), 1), "7.50");
    EXPECT_EQ(f.spgList.TextMatrix(f.thisQuantityColumn(), 2), "3.00");
    f.TaskRun("ok");
  });
  auto data = rs.ReturnData();
  ASSERT_NE(data, nullptr);
  data->moveFirst();
  EXPECT_EQ(data->value("盘点数量").toDouble(), 7.5);
}

TEST_F(ManualSelection, HeaderQuantityChanges) {
  refer(request(10), [this](frmRefSelect& f) {
    auto typeQuantity = [&f](const std::string& text) {
      bool cancel = false;
      const std::string before = f.hdiQuantity.Text();
      f.hdiQuantity.setText(text);
      f.hdiQuantity.Change(cancel);
      if (cancel) f.hdiQuantity.setText(before);
      return !cancel;
    };
    EXPECT_FALSE(typeQuantity("-3"));
    EXPECT_EQ(host->lastMessage(), "不能改变数据的正负");
    EXPECT_TRUE(typeQuantity("8"));  // nothing allocated yet
    EXPECT_EQ(f.Quantity, 8);
    EXPECT_EQ(f.remainingQuantity(), 8);
    mark(f, 1);
    mark(f, 2);  // 8 allocated
    EXPECT_TRUE(typeQuantity("12"));
    EXPECT_EQ(f.Quantity, 12);
    EXPECT_EQ(f.remainingQuantity(), 4);
    // Less than allocated: the question; No keeps everything.
    host->answers.push_back(forms::vbNo);
    EXPECT_FALSE(typeQuantity("5"));
    EXPECT_EQ(host->lastMessage(), "修改的数量小于已分配的数量8，是否重新分配？");
    EXPECT_EQ(f.Quantity, 12);
    // Yes allocates again over the rows.
    host->answers.push_back(forms::vbYes);
    EXPECT_TRUE(typeQuantity("5"));
    EXPECT_EQ(f.Quantity, 5);
    EXPECT_EQ(f.spgList.TextMatrix(f.thisQuantityColumn(), 2), "1.00");
    EXPECT_EQ(f.remainingQuantity(), 0);
    f.TaskRun("ok");
  });
  auto data = rs.ReturnData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->recordCount(), 2);
}

TEST_F(ManualSelection, PiecesAndRate) {
  execute(path, "update Cand set cInvCode = '0102001', 结存件数 = 结存数量 / 2");
  auto r = request(6);
  r.invCode = "0102001";
  r.exchRate = 2;
  refer(r, [this](frmRefSelect& f) {
    ASSERT_TRUE(f.hdiNum.Active());
    ASSERT_TRUE(f.hdiExchRate.Active());
    ASSERT_GT(f.thisPiecesColumn(), 0);
    // Editing the pieces of a row derives its quantity from the row's rate (4 / 2).
    f.spgList.userEditCell(1, f.thisPiecesColumn(), "1.5");
    EXPECT_EQ(f.spgList.TextMatrix(f.thisQuantityColumn(), 1), "3.00");
    // A negative rate is refused; a valid one recomputes the pieces of the request.
    bool cancel = false;
    f.hdiExchRate.setText("-1");
    f.hdiExchRate.Change(cancel);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(host->lastMessage(), "换算率不能输入负数");
    cancel = false;
    f.hdiExchRate.setText("3");
    f.hdiExchRate.Change(cancel);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(f.hdiNum.Text(), "2.00");
    EXPECT_EQ(f.Num, 2);
    f.TaskRun("cancel");
  });
}

TEST_F(ManualSelection, AutoButtonWritesPiecesByTheRowRate) {
  // The pieces cell of a row taken by the auto button shows its quantity over the row's rate; a
  // row without stock pieces has no rate and keeps the pieces the take gave it.
  execute(path, "update Cand set cInvCode = '0102001', 结存件数 = 2, 出库件数 = 9");
  execute(path, "update Cand set 结存件数 = 0 where 批号 = 'B2'");
  auto r = request(10);
  r.invCode = "0102001";
  r.num = 3;
  refer(r, [](frmRefSelect& f) {
    ASSERT_GT(f.thisPiecesColumn(), 0);
    f.TaskRun("auto");
    const int q = f.thisQuantityColumn();
    const int n = f.thisPiecesColumn();
    EXPECT_EQ(cell(f, q, 1) + " " + cell(f, n, 1), "4.00 2.00");
    EXPECT_EQ(cell(f, q, 2) + " " + cell(f, n, 2), "4.00 0.00");
    EXPECT_EQ(cell(f, q, 3) + " " + cell(f, n, 3), "2.00 1.00");
    f.TaskRun("ok");
  });
  ASSERT_NE(rs.ReturnData(), nullptr);
  EXPECT_EQ(rs.ReturnData()->recordCount(), 3);
}

// What a pass over the rows left: every row's mark and amount cells, the prompts, the remainders
// and the fields OK hands back.
struct Outcome {
  std::vector<std::string> cells;
  std::vector<std::string> prompts;
  double remaining = 0;
  double remainingNum = 0;
  std::vector<std::string> fields;
  // Of the auto button's passes: every cell of the grid (and whether it still shows its record),
  // the status line, the cursor and each record's this-time fields with their original values and
  // status — after the allocation and again after a row given back.
  std::vector<std::string> state;
};

void recordState(frmRefSelect& f, std::vector<std::string>& state) {
  for (int row = 0; row < f.spgList.Rows(); ++row) {
    for (int col = 0; col < f.spgList.Cols(); ++col) {
      state.push_back(f.spgList.TextMatrix(col, row) +
                      (row > 0 && f.spgList.cellFromSource(col, row) ? "" : "*"));
    }
  }
  state.push_back(f.spgList.statusText().value_or(""));
  state.push_back(std::to_string(f.DataFrom->absolutePosition()));
  auto records = f.DataFrom->clone();
  for (records->moveFirst(); !records->eof(); records->moveNext()) {
    std::string line = std::to_string(records->status());
    for (const char* name : {"出库数量", "出库件数"}) {
      const auto& field = records->fields()->item(automation::Variant(name));
      line += " " + field->value().toString() + "/" + field->originalValue().toString();
    }
    state.push_back(line);
  }
}

TEST_F(ManualSelection, AutoButtonTakesAsClicksOnTheSameRowsDo) {
  // The auto button takes the rows in query order by the steps a click takes them by: rows with
  // and without stock pieces, a rate with no short decimal, a stock that falls below zero (a take
  // the voucher refuses) and a row left over when the request is met.
  execute(path, "drop table Cand");
  makeBatchCandidates(path, {{"B1", "", 10, 3},
                             {"B2", "", 7, 0},
                             {"B3", "", -2, -1},
                             {"B4", "", 5.5, 2},
                             {"B5", "", 1, 0.3},
                             {"B6", "", 4, 1}});
  execute(path, "update Cand set cInvCode = '0102001', 出库数量 = 1");
  setOption(path, "OverDispOut", "true");
  struct Case {
    double quantity;
    double num;
    double rate;
    bool red;
    const char* item;  // 0101003 has one unit: its pieces follow the line's rate alone
    std::int32_t refType = ref_select::kRefBatch;
  };
  // Last, receipt lines: the pieces of a two-unit item follow the line's rate there.
  for (const Case c : {Case{20, 4, 0, false, "0102001"}, Case{20, 0, 2.5, false, "0102001"},
                       Case{20, 0, 2.5, false, "0101003"}, Case{-30, -5, 0, true, "0102001"},
                       Case{100, 0, 0, false, "0102001"},
                       Case{12, 0, 2.5, false, "0102001", ref_select::kRefTrace}}) {
    SCOPED_TRACE(std::to_string(c.quantity) + " " + c.item);
    if (c.refType == ref_select::kRefTrace) {
      execute(path, "drop table Cand");
      makeTraceCandidates(path,
                          {{"2026-11-01", 1, 10}, {"2026-11-02", 2, -2}, {"2026-11-03", 3, 5.5}});
    } else {
      execute(path, std::string("update Cand set cInvCode = '") + c.item + "'");
    }
    auto r = request(c.quantity, c.refType);
    r.invCode = c.item;
    r.num = c.num;
    r.exchRate = c.rate;
    r.isRedVouch = c.red;
    // The auto button takes rows a column at a time; the third pass takes them row by row.
    const auto pass = [&](bool automatic, bool byColumns = true) {
      Outcome out;
      host->messages.clear();
      refer(r, [&](frmRefSelect& f) {
        f.chkShowMin.userClick();  // the row below zero listed too
        if (automatic) {
          f.TakeByColumns = byColumns;
          f.TaskRun("auto");
          recordState(f, out.state);
        } else {
          // Clicks on the rows the auto button would reach, in order, until nothing is wanted.
          for (int row = 1; row < f.spgList.Rows(); ++row) {
            mark(f, row);
            if (f.remainingQuantity() == 0 && (c.num == 0 || f.remainingPieces() == 0)) break;
          }
        }
        for (int row = 1; row < f.spgList.Rows(); ++row) {
          for (int col : {0, f.thisQuantityColumn(), f.thisPiecesColumn()}) {
            out.cells.push_back(cell(f, col, row));
          }
        }
        out.remaining = f.remainingQuantity();
        out.remainingNum = f.remainingPieces();
        if (automatic) {
          mark(f, 1);
          recordState(f, out.state);
          mark(f, 1);
          recordState(f, out.state);
        }
        f.TaskRun("ok");
      });
      for (const auto& m : host->messages) out.prompts.push_back(m.prompt);
      if (auto data = rs.ReturnData()) {
        for (data->moveFirst(); !data->eof(); data->moveNext()) {
          out.fields.push_back(data->value("id").toString() + " " +
                               data->value("出库数量").toString() + " " +
                               data->value("出库件数").toString());
        }
      }
      return out;
    };
    Outcome automatic = pass(true);
    const Outcome clicked = pass(false);
    const Outcome rowByRow = pass(true, false);
    EXPECT_EQ(automatic.state, rowByRow.state);
    EXPECT_EQ(automatic.cells, rowByRow.cells);
    EXPECT_EQ(automatic.prompts, rowByRow.prompts);
    EXPECT_EQ(automatic.fields, rowByRow.fields);
    EXPECT_EQ(automatic.remaining, rowByRow.remaining);
    EXPECT_EQ(automatic.remainingNum, rowByRow.remainingNum);
    // Only the auto button reports what the rows could not give.
    if (c.quantity == 100) {
      ASSERT_FALSE(automatic.prompts.empty());
      EXPECT_TRUE(automatic.prompts.back().starts_with(ref_select::kShortfallHead));
      automatic.prompts.pop_back();
    }
    // The take of the row below zero has the sign the voucher refuses (receipt lines below zero
    // are not listed).
    const std::string refusal(c.red ? ref_select::kRedNoPositive : ref_select::kBlueNoNegative);
    if (c.refType == ref_select::kRefBatch) {
      EXPECT_EQ(std::count(clicked.prompts.begin(), clicked.prompts.end(), refusal), 1);
    }
    EXPECT_EQ(automatic.cells, clicked.cells);
    EXPECT_EQ(automatic.prompts, clicked.prompts);
    EXPECT_EQ(automatic.remaining, clicked.remaining);
    EXPECT_EQ(automatic.remainingNum, clicked.remainingNum);
    EXPECT_EQ(automatic.fields, clicked.fields);
    EXPECT_FALSE(automatic.fields.empty());
  }
}

// On an account that allows no negative stock a typed amount stops at what the row holds; a
// figure typed before the row is marked is what the row takes; the status line keeps count.
TEST_F(ManualSelection, WithoutNegativeStockATypedAmountStopsAtTheRowsStock) {
  execute(path, "update accinformation set cValue = 'false' where cName = 'bStockNegative'");
  refer(request(10), [this](frmRefSelect& f) {
    const int q = f.thisQuantityColumn();
    EXPECT_EQ(f.spgList.statusText(), "共 3 行，已选 0 行；需求 10.00，已分配 0.00，尚需 10.00");
    const std::string before = cell(f, q, 2);
    f.spgList.userEditCell(2, q, "4.5");
    EXPECT_EQ(host->lastMessage(), "第2行（批号B2）的出库数量不能大于结存数量 4.00");
    EXPECT_EQ(cell(f, q, 2), before);
    ASSERT_TRUE(f.spgList.userEditCell(2, q, "4"));  // all it holds is taken
    ASSERT_TRUE(f.spgList.userEditCell(2, q, "3"));
    mark(f, 2);
    EXPECT_EQ(cell(f, q, 2), "3") << "the typed figure is kept";
    mark(f, 1);
    EXPECT_EQ(cell(f, q, 1), "4.00");
    EXPECT_EQ(f.spgList.statusText(), "共 3 行，已选 2 行；需求 10.00，已分配 7.00，尚需 3.00");
    // Given back and taken again, the row takes its share.
    mark(f, 2);
    EXPECT_EQ(f.spgList.statusText(), "共 3 行，已选 1 行；需求 10.00，已分配 4.00，尚需 6.00");
    mark(f, 2);
    EXPECT_EQ(cell(f, q, 2), "4.00");
    EXPECT_TRUE(f.CTBCtrl1.userPress("ok"));
  });
  auto data = rs.ReturnData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->recordCount(), 2);
  double sum = 0;
  for (data->moveFirst(); !data->eof(); data->moveNext()) sum += data->value("出库数量").toDouble();
  EXPECT_EQ(sum, 8);
}

TEST_F(ManualSelection, WithNegativeStockTheStatusLineSaysSoAndTakesMore) {
  execute(path, "update accinformation set cValue = 'true' where cName = 'bStockNegative'");
  refer(request(10), [this](frmRefSelect& f) {
    const int q = f.thisQuantityColumn();
    ASSERT_TRUE(f.spgList.userEditCell(1, q, "6"));
    EXPECT_TRUE(host->messages.empty());
    mark(f, 1);
    EXPECT_EQ(
        f.spgList.statusText(),
        "共 3 行，已选 1 行；需求 10.00，已分配 6.00，尚需 4.00；账套允许负库存，出库可大于结存");
    EXPECT_TRUE(f.CTBCtrl1.userPress("ok"));
  });
  auto data = rs.ReturnData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->value("出库数量").toDouble(), 6);
}

}  // namespace
}  // namespace quillon::dialogs
