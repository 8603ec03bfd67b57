// frmCons driven through ProduceOrder.loadConsignment on the demo account, with the recording UI
// host playing the sales clerk.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/text_compare.h"
#include "classes/produce_order.h"
#include "classes/public_classes.h"
#include "components/purchase_ref_service.h"
#include "components/session_context.h"
#include "components/suite/login.h"
#include "dialogs/frmCons/frm_cons.h"
#include "forms/ui_host.h"
#include "module/module_state.h"
#include "module/settings.h"
#include "platform/registry.h"
#include "support/demo_account.h"
#include "support/grid_checks.h"
#include "support/memory_view_settings.h"
#include "support/recording_ui_host.h"
#include "support/recordset_checks.h"

namespace quillon::dialogs {
namespace {

using automation::Variant;
using test_support::RecordingUiHost;

struct LoadResult {
  bool ok = false;
  std::string err;
  std::shared_ptr<automation::Collection> coll;
};

class ConsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::demoAccount(classes::registerAllClasses);
    host_ = std::make_shared<RecordingUiHost>();
    scoped_ = std::make_unique<forms::ScopedUiHost>(host_);
    po_ = std::make_shared<classes::ProduceOrder>();
  }
  void TearDown() override {
    scoped_.reset();
    components::purchaseRefService()->setShowClosed(false);
  }

  // Drives the delivery dialog as `user`; any other dialog it shows is noted and closed.
  LoadResult run(const std::function<void(frmCons&)>& drive, const std::string& user = "demo",
                 const std::string& account = test_support::demoPath()) {
    auto login = test_support::loginAs(user, account);
    host_->onModal = [this, drive](forms::Form& form) {
      if (auto* dialog = dynamic_cast<frmCons*>(&form)) {
        drive(*dialog);
      } else {
        otherDialogs_.push_back(form.Name());
      }
    };
    LoadResult r;
    Variant coll = Variant::nothing();
    r.ok = po_->loadConsignment("", Variant(std::static_pointer_cast<automation::Object>(login)),
                                coll, r.err);
    if (!coll.isNothing()) r.coll = automation::toObjectAs<automation::Collection>(coll);
    return r;
  }

  void answer(std::initializer_list<int> answers) {
    for (const int a : answers) host_->answers.push_back(a);
  }

  // Lists the one note `code`, marked, its lines shown.
  void listNote(frmCons& f, const std::string& code) {
    f.cmbDLID.setText(code);
    f.cmdFilter.userClick();
    ASSERT_EQ(f.lstFhdHead.Rows(), 2) << code;
    ASSERT_TRUE(f.lstFhdHead.userClickCell(1, 0));
  }

  std::shared_ptr<RecordingUiHost> host_;
  std::unique_ptr<forms::ScopedUiHost> scoped_;
  std::shared_ptr<classes::ProduceOrder> po_;
  std::vector<std::string> otherDialogs_;
};

using test_support::cellOf;
using test_support::column;
using test_support::rowOf;

int thisQuantity(const forms::MsSuperGrid& grid) {
  return grid.Cols() - 2;
}

std::shared_ptr<ado::Recordset> member(const LoadResult& r, const char* key) {
  return automation::toObjectAs<ado::Recordset>(r.coll->item(key));
}

int workTables() {
  auto rs = module::gContext->connection()->execute(
      "SELECT count(*) FROM sysobjects WHERE name LIKE '%_CurrentS' OR name LIKE "
      "'%_TmpRdRecords'");
  return rs->value(std::size_t{0}).toLong();
}

TEST_F(ConsDialog, TheClerkSeesHerDepartmentsInEveryFilterAndHerWarehousesLines) {
  const LoadResult r = run(
      [&](frmCons& f) {
        EXPECT_EQ(f.Caption(), "选择发货单");
        EXPECT_EQ(f.txtOutDate.Text(), "2026-12-05");
        EXPECT_FALSE(f.Check2.Enabled()) << "no ST0118";
        EXPECT_EQ(f.lstFhdBody.BackColor(), 0xC0C0C0u);
        const std::string rights =
            "(DispatchList.cDepCode IN(N'0201',N'0202',N'0401') OR "
            "ISNULL(DispatchList.cDepCode,'') = '')";
        EXPECT_EQ(f.filterText(), rights);

        f.cmdFilter.userClick();
        EXPECT_EQ(f.filterText(), rights);
        // 0401's and the note without department; 0402's, the executed 12, the unverified 14 not.
        EXPECT_EQ(column(f.lstFhdHead, "发货单号"),
                  (std::set<std::string>{"FH26110001", "FH26110002", "FH26110004", "FH26120006",
                                         "FH26120007", "FH26120009", "FH26120010"}));
        // A note of another department stays out however it is asked for.
        f.cmbDLID.setText("FH26120011");
        f.cmdFilter.userClick();
        EXPECT_EQ(f.lstFhdHead.Rows(), 1);
        EXPECT_EQ(f.filterText(), " DispatchList.cDLCode = N'FH26120011' AND " + rights);

        // Note 9: the line in 06 is hers, the one in 04 she may only read.
        listNote(f, "FH26120009");
        EXPECT_EQ(f.lstFhdBody.visibleDataRows(), 1);
        EXPECT_EQ(column(f.lstFhdBody, "仓库"), (std::set<std::string>{"代销商品仓"}));
        EXPECT_EQ(cellOf(f.lstFhdBody, 1, "本次出库数量"), "20.00");
        f.cmdExit.userClick();
      },
      "clerk");
  EXPECT_TRUE(r.ok) << r.err;
  EXPECT_FALSE(r.coll) << "cancel hands back Nothing";
  EXPECT_FALSE(po_->oCollection);
}

TEST_F(ConsDialog, FilterBoxesKeepTheNamesTheyCompareAndNoValueChangesAStatement) {
  run([&](frmCons& f) {
    EXPECT_TRUE(f.Check2.Enabled()) << "demo holds ST0118";
    // Typed codes become what the conditions compare: names, the customer's abbreviation, and
    // the warehouse's name with its code kept aside.
    ASSERT_TRUE(f.moveFocus(f.cmbDept));
    f.cmbDept.setText("0401");
    ASSERT_TRUE(f.moveFocus(f.cmbPerson));
    EXPECT_EQ(f.cmbDept.Text(), "销售一部");
    f.cmbPerson.setText("007");
    ASSERT_TRUE(f.moveFocus(f.cmbCustom));
    EXPECT_EQ(f.cmbPerson.Text(), "赵磊");
    f.cmbCustom.setText("C001");
    ASSERT_TRUE(f.moveFocus(f.cmbWhName));
    EXPECT_EQ(f.cmbCustom.Text(), "宏达钢材01");
    f.cmbWhName.setText("06");
    f.cmdFilter.userClick();
    EXPECT_EQ(f.cmbWhName.Text(), "代销商品仓");
    EXPECT_EQ(f.cmbWhName.LinkItem(), "06");
    EXPECT_EQ(f.filterText(),
              " DispatchLists.cwhcode = N'06' and Department.cDepName = N'销售一部' and "
              "Person.cPersonName = N'赵磊' and Customer.cCusAbbName = N'宏达钢材01'");
    EXPECT_EQ(column(f.lstFhdHead, "发货单号"), (std::set<std::string>{"FH26120009"}));
    // The warehouse box narrows the lines too.
    ASSERT_TRUE(f.lstFhdHead.userClickCell(1, 0));
    EXPECT_EQ(f.lstFhdBody.visibleDataRows(), 1);

    // A quote typed never gets in; one that got in anyway is a value that matches nothing.
    ASSERT_TRUE(f.moveFocus(f.cmbDLID));
    f.userKeyPress('F');
    f.userKeyPress('\'');
    EXPECT_EQ(f.cmbDLID.Text(), "F");
    EXPECT_GT(host_->beeps, 0);
    f.cmbWhName.setText("");
    f.cmbWhName.setLinkItem("");
    for (forms::TextBox* box : {&f.cmbDept, &f.cmbPerson, &f.cmbCustom}) box->setText("");
    f.cmbDLID.setText("x' OR 1=1 --");
    f.cmdFilter.userClick();
    EXPECT_EQ(f.lstFhdHead.Rows(), 1);
    f.cmbDLID.setText("");
    f.cmbInvoiceCode.setText("'); DROP TABLE DispatchList; --");
    f.cmdFilter.userClick();
    EXPECT_EQ(f.lstFhdHead.Rows(), 1);
    f.cmbInvoiceCode.setText("");
    f.cmdFilter.userClick();
    EXPECT_EQ(f.lstFhdHead.Rows(), 12) << "the notes are all still there";

    // The drop-downs fill once, the empty item first.
    for (int k = 0; k < 2; ++k) f.cmbVouchType.userDropDown();
    EXPECT_EQ(f.cmbVouchType.ListCount(), 7);
    EXPECT_EQ(f.cmbVouchType.List(0), "");
    EXPECT_EQ(f.cmbVouchType.List(2), "委托代销发货单");
    f.cmbBusType.userDropDown();
    f.cmbBusType.userDropDown();
    EXPECT_EQ(f.cmbBusType.ListCount(), 4);
    f.cmdExit.userClick();
  });
}

// The delivery notes remember the filter a person ran (through the line dialogs' one filter), but
// the issue date is the voucher's: never remembered, never cleared.
TEST_F(ConsDialog, ARememberedFilterLeavesTheIssueDateAlone) {
  const auto settings = std::make_shared<test_support::MemoryViewSettings>();
  const test_support::ScopedViewSettings installed(settings);
  scoped_.reset();
  host_ = std::make_shared<test_support::PersonUiHost>();
  scoped_ = std::make_unique<forms::ScopedUiHost>(host_);
  std::string issueDate;
  run([&](frmCons& f) {
    issueDate = f.txtOutDate.Text();
    f.cmbDLID.setText("FH26120009");
    f.txtOutDate.setText("2026-12-31");
    f.cmdFilter.userClick();
    f.cmdExit.userClick();
  });
  EXPECT_FALSE(settings->items.contains("frmCons/Filter.txtOutDate"));
  run([&](frmCons& f) {
    EXPECT_EQ(f.cmbDLID.Text(), "FH26120009");
    EXPECT_EQ(f.txtOutDate.Text(), issueDate);
    f.cmdClearFilter.userClick();
    EXPECT_EQ(f.cmbDLID.Text(), "");
    EXPECT_EQ(f.txtOutDate.Text(), issueDate);
    f.cmdExit.userClick();
  });
  run([&](frmCons& f) {
    EXPECT_EQ(f.cmbDLID.Text(), "");
    f.cmdExit.userClick();
  });
}

TEST_F(ConsDialog, OkRefusesInOrderThenReturnsHeadBodyDateAndFlag) {
  const LoadResult r = run([&](frmCons& f) {
    // No: nothing happens. Yes without heads: the empty head list.
    answer({forms::vbNo});
    f.cmdOk.userClick();
    EXPECT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(host_->messages[0].title, "系统提示");
    answer({forms::vbYes});
    f.cmdOk.userClick();
    EXPECT_EQ(host_->lastMessage(), "发货单表头为空！请重新生单");

    // Without Check1 a mark lists nothing; OK checks it, lists the lines, and wants one marked.
    ASSERT_TRUE(f.Check1.userClick());
    listNote(f, "FH26110001");
    EXPECT_EQ(f.lstFhdBody.Rows(), 1);
    answer({forms::vbYes});
    f.cmdOk.userClick();
    EXPECT_EQ(f.Check1.Value(), forms::vbChecked);
    EXPECT_EQ(host_->lastMessage(), "请选择记录！");
    ASSERT_EQ(f.lstFhdBody.visibleDataRows(), 2);
    // Line 2 is issued in full: it shows with nothing open.
    EXPECT_EQ(cellOf(f.lstFhdBody, 2, "未出库数量"), "0");

    ASSERT_TRUE(f.lstFhdBody.userEditCell(1, thisQuantity(f.lstFhdBody), "2.5"));
    ASSERT_TRUE(f.lstFhdBody.userClickCell(1, 0));
    f.txtOutDate.setText("2026-12-06");
    ASSERT_TRUE(f.Check2.userClick());
    ASSERT_TRUE(f.chkEdit.userClick());
    answer({forms::vbYes});
    f.cmdOk.userClick();
    EXPECT_FALSE(f.Visible()) << "OK hides the dialog";
  });
  ASSERT_TRUE(r.ok) << r.err;
  ASSERT_TRUE(r.coll);
  ASSERT_EQ(r.coll->count(), 4);
  auto head = member(r, "Head");
  ASSERT_EQ(head->recordCount(), 1);
  head->moveFirst();
  EXPECT_EQ(head->value("cdlcode").toString(), "FH26110001");
  auto body = member(r, "Body");
  ASSERT_EQ(body->recordCount(), 1);
  body->moveFirst();
  EXPECT_DOUBLE_EQ(body->value("iQuantity").toDouble(), 2.5);
  EXPECT_EQ(body->value("autoid").toLong(), 1);
  EXPECT_TRUE(body->value("bQuanSign").toBool());
  EXPECT_EQ(r.coll->item("Date").toString(), "2026-12-06");
  EXPECT_EQ(r.coll->item("Flag"), Variant(std::int32_t{1}));
  std::string text;
  platform::RegistryKey key;
  ASSERT_EQ(
      platform::Registry::machine().openKey(module::kChoicesKey, platform::RegAccess::Read, key),
      platform::RegStatus::Success);
  key.queryString("invoice", text);
  EXPECT_EQ(text, "1");

  // The dialog is kept: ShowForm(False) shows it again as it was, UnLoadForm(False) unloads it.
  host_->onModal = [](forms::Form& form) {
    auto& f = dynamic_cast<frmCons&>(form);
    EXPECT_EQ(f.lstFhdBody.visibleDataRows(), 2);
    EXPECT_EQ(f.Check2.Value(), forms::vbChecked);
    form.Hide();
  };
  po_->ShowForm(false);
  EXPECT_EQ(host_->modalRuns, 2);
  EXPECT_TRUE(po_->oCollection);
  po_->UnLoadForm(false);
  EXPECT_FALSE(po_->oCollection);
  EXPECT_FALSE(po_->consignmentDialog()->Loaded());
}

TEST_F(ConsDialog, ThisTimeCellsFollowTheRulesAndRefusedCellsComeBack) {
  run([&](frmCons& f) {
    listNote(f, "FH26120009");
    forms::MsSuperGrid& g = f.lstFhdBody;
    const int q = thisQuantity(g);
    // Not a number, the wrong sign, more than is open: each refused, the cell as it was.
    for (const char* bad : {"abc", "-1", "21"}) {
      g.userEditCell(1, q, bad);
      EXPECT_EQ(g.TextMatrix(q, 1), "20.00") << bad;
    }
    ASSERT_EQ(host_->messages.size(), 3u);
    EXPECT_EQ(host_->messages[0].prompt, "请输入数字");
    EXPECT_EQ(host_->messages[1].prompt, "本次出库数量不能为负数");
    EXPECT_EQ(host_->messages[1].title, "系统提示");
    EXPECT_EQ(host_->messages[2].prompt, "本次出库数量不能大于未出库数量");

    // A copied line shares the open quantity with its original.
    g.setRow(1);
    f.mnuCopyLine.userChoose();
    ASSERT_EQ(g.visibleDataRows(), 3);
    const int copy = g.Rows() - 1;
    g.userEditCell(1, q, "15");
    EXPECT_EQ(host_->lastMessage(), "本次出库数量不能大于未出库数量") << "15 and the copy's 20";
    const auto shown = host_->messages.size();
    g.userEditCell(copy, q, "0");
    g.userEditCell(1, q, "15");
    g.userEditCell(copy, q, "5");
    EXPECT_EQ(host_->messages.size(), shown);
    EXPECT_EQ(g.TextMatrix(q, 1), "15");
    g.userEditCell(copy, q, "5.01");
    EXPECT_EQ(host_->messages.size(), shown + 1);
    EXPECT_EQ(g.TextMatrix(q, copy), "5");

    // Dates are dates.
    const int expiry = g.colByCaption("失效日期");
    g.userEditCell(1, expiry, "2026-02-30");
    EXPECT_EQ(host_->messages.back().prompt, "日期格式不正确，必须按格式YYYY-MM-DD输入");
    EXPECT_EQ(host_->messages.back().title, "提示");
    EXPECT_EQ(g.TextMatrix(expiry, 1), "");

    // Delete hides the copy; clear takes every mark.
    g.setRow(copy);
    f.mnuDeleteLine.userChoose();
    EXPECT_EQ(g.visibleDataRows(), 2);
    g.userClickCell(1, 0);
    f.mnuClearAll.userChoose();
    EXPECT_FALSE(g.isMarked(1));

    // Pieces follow the rate of a line kept in boxes, and the quantity the pieces.
    listNote(f, "FH26120011");
    const int row = g.Rows() - 1;
    EXPECT_EQ(cellOf(g, row, "本次出库件数"), "2.00");
    g.userEditCell(row, g.Cols() - 1, "1");
    EXPECT_EQ(g.TextMatrix(q, row), "10.00");
    g.userEditCell(row, q, "15");
    EXPECT_EQ(cellOf(g, row, "本次出库件数"), "1.50");
    f.cmdExit.userClick();
  });
}

TEST_F(ConsDialog, OverIssueFollowsTheAccountOptionAndTheItemsShare) {
  auto conn = [] { return module::gContext->connection(); };
  run([&](frmCons& f) {
    conn()->execute("UPDATE Inventory SET fOutExcess = 0.5 WHERE cInvCode = '0301001'");
    listNote(f, "FH26110001");
    forms::MsSuperGrid& g = f.lstFhdBody;
    const int q = thisQuantity(g);
    // 10 ordered, 4 issued: 6 open.
    g.userEditCell(1, q, "7");
    EXPECT_EQ(host_->lastMessage(), "本次出库数量不能大于未出库数量");
    conn()->execute(
        "UPDATE accinformation SET cValue = 'true' WHERE cSysID = 'st' AND cName = "
        "'OverDispOut'");
    const auto shown = host_->messages.size();
    g.userEditCell(1, q, "11");  // (4 + 11 - 10) / 10 = 0.5
    EXPECT_EQ(host_->messages.size(), shown);
    g.userEditCell(1, q, "11.5");
    EXPECT_EQ(host_->lastMessage(), "本次出库数量不能大于出库上限范围！");
    EXPECT_EQ(g.TextMatrix(q, 1), "11");
    conn()->execute(
        "UPDATE accinformation SET cValue = 'false' WHERE cSysID = 'st' AND cName = "
        "'OverDispOut'");
    conn()->execute("UPDATE Inventory SET fOutExcess = NULL WHERE cInvCode = '0301001'");
    f.cmdExit.userClick();
  });
}

TEST_F(ConsDialog, BulkBatchesOverOneWorkTableAndSplitLinesStayBehind) {
  const LoadResult r = run([&](frmCons& f) {
    listNote(f, "FH26120010");
    forms::MsSuperGrid& g = f.lstFhdBody;
    ASSERT_EQ(g.visibleDataRows(), 2);
    g.userClickCell(2, 0);
    f.userKey('E', forms::vbCtrlMask, 0);
    EXPECT_TRUE(host_->messages.empty()) << "both lines allocated in full: no box";
    EXPECT_EQ(workTables(), 0) << "the run's work table is gone";
    // 33 of the first batch's 34; the second line gets the 1 left, then 4 of the next batch.
    EXPECT_EQ(cellOf(g, 1, "批号"), "SN2610-01");
    EXPECT_EQ(g.TextMatrix(thisQuantity(g), 1), "33.00");
    EXPECT_EQ(g.RowHeight(2), 0) << "the split line is hidden";
    ASSERT_EQ(g.Rows(), 5);
    EXPECT_EQ(cellOf(g, 3, "批号"), "SN2610-01");
    EXPECT_EQ(g.TextMatrix(thisQuantity(g), 3), "1.00");
    EXPECT_EQ(cellOf(g, 4, "批号"), "SN2611-02");
    EXPECT_EQ(g.TextMatrix(thisQuantity(g), 4), "4.00");
    EXPECT_EQ(g.rowLabel(3), "FH26120010") << "a split line's rows keep their note's number";
    EXPECT_EQ(g.rowLabel(4), "FH26120010");
    EXPECT_TRUE(g.isMarked(2)) << "marked, yet hidden";
    EXPECT_FALSE(g.isMarked(3) || g.isMarked(4)) << "appended lines start unmarked";
    // The hidden line's mark takes nothing: with no split row marked there is nothing to return.
    answer({forms::vbYes});
    f.cmdOk.userClick();
    EXPECT_EQ(host_->lastMessage(), "请选择记录！");
    ASSERT_TRUE(f.Visible());
    g.userClickCell(4, 0);
    answer({forms::vbYes});
    f.cmdOk.userClick();
  });
  ASSERT_TRUE(r.coll);
  auto body = member(r, "Body");
  ASSERT_EQ(body->recordCount(), 1) << "the hidden line is not returned";
  body->moveFirst();
  EXPECT_EQ(body->value("cbatch").toString(), "SN2611-02");
  EXPECT_DOUBLE_EQ(body->value("iQuantity").toDouble(), 4);
}

// The note numbers of the lines, in the order the grid shows them.
std::vector<std::string> lineNotes(const forms::MsSuperGrid& g) {
  std::vector<std::string> notes;
  for (int row = 1; row < g.Rows(); ++row) notes.push_back(g.rowLabel(row));
  return notes;
}

// Lines of several notes each show the number of their note, beside the mark; the column is the
// view's alone, so the grid's columns and what OK hands back are the same shown or hidden.
TEST_F(ConsDialog, EveryLineShowsItsNotesNumberAndOkHandsOnTheSameRowsShownOrHidden) {
  const auto take = [&](bool hide) {
    return run([&](frmCons& f) {
      f.cmdFilter.userClick();
      forms::MsSuperGrid& heads = f.lstFhdHead;
      forms::MsSuperGrid& g = f.lstFhdBody;
      const int first = rowOf(heads, "发货单号", "FH26110001");
      const int second = rowOf(heads, "发货单号", "FH26110002");
      ASSERT_TRUE(first != 0 && second != 0);
      ASSERT_TRUE(heads.userClickCell(first, 0));
      const int cols = g.Cols();
      EXPECT_EQ(g.rowLabelCaption(), "发货单号") << "the head list's caption for the number";
      EXPECT_EQ(g.colByCaption("发货单号"), -1) << "no column of the grid";
      EXPECT_EQ(lineNotes(g), (std::vector<std::string>{"FH26110001", "FH26110001"}));
      ASSERT_TRUE(heads.userClickCell(second, 0));
      EXPECT_EQ(g.Cols(), cols);
      EXPECT_EQ(lineNotes(g),
                (std::vector<std::string>{"FH26110001", "FH26110001", "FH26110002", "FH26110002"}));
      EXPECT_EQ(cellOf(g, 3, "存货编码"), "0302002");
      // Unmarking the first note lists the second's lines again; marking it adds its own after.
      ASSERT_TRUE(heads.userClickCell(first, 0));
      EXPECT_EQ(lineNotes(g), (std::vector<std::string>{"FH26110002", "FH26110002"}));
      ASSERT_TRUE(heads.userClickCell(first, 0));
      EXPECT_EQ(lineNotes(g),
                (std::vector<std::string>{"FH26110002", "FH26110002", "FH26110001", "FH26110001"}));
      EXPECT_EQ(cellOf(g, 3, "存货编码"), "0301001");

      // The line menu hides the column (and shows it again).
      host_->popupChoice = "mnuYJCDHeadNumber";
      g.userMouseUp(forms::vbRightButton);
      EXPECT_EQ(host_->popups.back(), "mnuYJCD");
      EXPECT_FALSE(g.rowLabelsShown());
      EXPECT_FALSE(f.mnuYJCD.items().empty());
      if (!hide) {
        g.userMouseUp(forms::vbRightButton);
        EXPECT_TRUE(g.rowLabelsShown());
      }
      host_->popupChoice.clear();
      ASSERT_TRUE(g.userClickCell(1, 0));
      ASSERT_TRUE(g.userClickCell(3, 0));
      answer({forms::vbYes});
      f.cmdOk.userClick();
      EXPECT_FALSE(f.Visible());
    });
  };
  const LoadResult shown = take(false);
  ASSERT_TRUE(shown.ok) << shown.err;
  po_->UnLoadForm(false);
  const LoadResult hidden = take(true);
  ASSERT_TRUE(hidden.ok) << hidden.err;
  ASSERT_TRUE(shown.coll && hidden.coll);
  EXPECT_EQ(member(shown, "Body")->recordCount(), 2);
  EXPECT_EQ(member(shown, "Head")->recordCount(), 2);
  EXPECT_EQ(test_support::allValues(*member(shown, "Body")),
            test_support::allValues(*member(hidden, "Body")));
  EXPECT_EQ(test_support::allValues(*member(shown, "Head")),
            test_support::allValues(*member(hidden, "Head")));
}

// A person finds the column as he left it, per dialog; a scripted run always starts with it shown.
TEST_F(ConsDialog, AHiddenNoteNumberStaysHiddenForThePersonOnly) {
  const auto settings = std::make_shared<test_support::MemoryViewSettings>();
  const test_support::ScopedViewSettings installed(settings);
  const auto hideAndLeave = [&](frmCons& f) {
    EXPECT_TRUE(f.lstFhdBody.rowLabelsShown());
    host_->popupChoice = "mnuYJCDHeadNumber";
    f.lstFhdBody.userMouseUp(forms::vbRightButton);
    f.cmdExit.userClick();
  };
  run(hideAndLeave);
  EXPECT_FALSE(settings->items.contains("frmCons/Lines.HeadNumber")) << "a scripted run keeps none";
  settings->items["frmCons/Lines.HeadNumber"] = "0";
  run([&](frmCons& f) {
    EXPECT_TRUE(f.lstFhdBody.rowLabelsShown()) << "nor reads one";
    f.cmdExit.userClick();
  });

  scoped_.reset();
  host_ = std::make_shared<test_support::PersonUiHost>();
  scoped_ = std::make_unique<forms::ScopedUiHost>(host_);
  settings->items.clear();
  run(hideAndLeave);
  EXPECT_EQ(settings->items["frmCons/Lines.HeadNumber"], "0");
  run([&](frmCons& f) {
    EXPECT_FALSE(f.lstFhdBody.rowLabelsShown());
    host_->popupChoice = "mnuYJCDHeadNumber";
    f.lstFhdBody.userMouseUp(forms::vbRightButton);
    EXPECT_TRUE(f.lstFhdBody.rowLabelsShown());
    f.cmdExit.userClick();
  });
  EXPECT_EQ(settings->items["frmCons/Lines.HeadNumber"], "1");
}

// Another workstation drops what the delivery queries read while the dialog is open: the error
// is not the dialog's to show; it ends the dialog and loadConsignment reports it under its label.
TEST_F(ConsDialog, AQueryErrorEndsTheDialogAndReachesTheOwnersTrap) {
  const std::string account = test_support::demoCopy("cons_dropped_heads");
  const LoadResult heads = run(
      [&](frmCons& f) {
        test_support::connect(account)->execute("DROP TABLE SaleType");
        f.cmdFilter.userClick();
        EXPECT_FALSE(f.Loaded());
      },
      "demo", account);
  EXPECT_FALSE(heads.ok);
  EXPECT_TRUE(heads.err.starts_with("loadStockOrder:load")) << heads.err;
  EXPECT_NE(heads.err.find("\r\n"), std::string::npos) << heads.err;
  EXPECT_NE(automation::asciiLower(heads.err).find("saletype"), std::string::npos) << heads.err;
  EXPECT_FALSE(heads.coll);
  EXPECT_FALSE(po_->oCollection);
  EXPECT_TRUE(host_->messages.empty()) << host_->lastMessage();

  // OK lists the lines of the marked notes when Check1 is off: that query's error ends it alike.
  const std::string other = test_support::demoCopy("cons_dropped_lines");
  const LoadResult lines = run(
      [&](frmCons& f) {
        listNote(f, "FH26120010");
        ASSERT_TRUE(f.Check1.userClick());
        ASSERT_EQ(f.lstFhdBody.Rows(), 1);
        test_support::connect(other)->execute("DROP VIEW DispatchBody");
        answer({forms::vbYes});
        f.cmdOk.userClick();
        EXPECT_FALSE(f.Loaded());
      },
      "demo", other);
  EXPECT_FALSE(lines.ok);
  EXPECT_TRUE(lines.err.starts_with("loadStockOrder:load")) << lines.err;
  EXPECT_NE(automation::asciiLower(lines.err).find("dispatchbody"), std::string::npos) << lines.err;
  EXPECT_FALSE(lines.coll);
  ASSERT_EQ(host_->messages.size(), 1u) << host_->lastMessage();
  EXPECT_EQ(host_->messages[0].prompt, "确认要生单吗？");
}

TEST_F(ConsDialog, BulkRunsSayWhatTheyCouldNotDoInOneBox) {
  run([&](frmCons& f) {
    // More than the warehouse holds: one box with the shortfall.
    listNote(f, "FH26120013");
    f.userKey('E', forms::vbCtrlMask, 0);
    ASSERT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(host_->messages[0].title, "批量批次指定");
    EXPECT_TRUE(host_->messages[0].prompt.ends_with("\r\n")) << host_->messages[0].prompt;
    EXPECT_EQ(workTables(), 0);

    // A red line is assigned by hand only.
    f.cmbDLID.setText("FH26110005");
    f.cmdFilter.userClick();
    ASSERT_TRUE(f.lstFhdHead.userClickCell(1, 0));
    f.userKey('O', forms::vbCtrlMask, 0);
    ASSERT_EQ(host_->messages.size(), 2u);
    EXPECT_EQ(host_->messages[1].title, "批量入库单据号指定");
    EXPECT_EQ(host_->messages[1].prompt, "红字发货单不支持自动指定功能，请手工指定。\r\n");
    EXPECT_EQ(workTables(), 0);

    // A blue line is tracked to the receipt it issues from: its number in both receipt columns,
    // the receipt line in icorid; what that receipt cannot give is said once.
    f.cmbDLID.setText("FH26110003");
    f.cmdFilter.userClick();
    ASSERT_TRUE(f.lstFhdHead.userClickCell(1, 0));
    forms::MsSuperGrid& g = f.lstFhdBody;
    g.userEditCell(1, thisQuantity(g), "0");
    g.userEditCell(2, thisQuantity(g), "40");
    f.userKey('O', forms::vbCtrlMask, 0);
    ASSERT_EQ(host_->messages.size(), 3u);
    EXPECT_EQ(host_->messages[2].prompt, "没有完全分配，还有8没有分配\r\n");
    EXPECT_EQ(g.visibleDataRows(), 2);
    EXPECT_EQ(cellOf(g, 2, "批号"), "LB2610-01");
    std::vector<std::string> receipts;  // ccode and cinvouchcode, both captioned 入库单号
    for (int c = 1; c < g.Cols(); ++c) {
      if (g.TextMatrix(c, 0) == "入库单号") receipts.push_back(g.TextMatrix(c, 2));
    }
    ASSERT_EQ(receipts.size(), 2u);
    EXPECT_TRUE(receipts[0].starts_with("RK")) << receipts[0];
    EXPECT_EQ(receipts[1], receipts[0]);
    EXPECT_FALSE(g.TextMatrix(g.colByCaption("icorid"), 2).empty());
    EXPECT_EQ(g.TextMatrix(thisQuantity(g), 2), "32.00");
    EXPECT_EQ(workTables(), 0);

    // Without lines the keys only beep.
    const int beeps = host_->beeps;
    ASSERT_TRUE(f.lstFhdHead.userClickCell(1, 0));
    f.userKey('E', forms::vbCtrlMask, 0);
    f.userKey('B', forms::vbCtrlMask, 0);
    EXPECT_EQ(host_->beeps, beeps + 2);
    f.cmdExit.userClick();
  });
  EXPECT_TRUE(otherDialogs_.empty()) << "bulk runs show no selection dialog";
}

}  // namespace
}  // namespace quillon::dialogs
