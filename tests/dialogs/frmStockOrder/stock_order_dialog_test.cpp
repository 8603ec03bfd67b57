// frmStockOrder driven through ProduceOrder.loadStockOrder on the demo account, with the recording
// UI host playing the purchase clerk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/text_compare.h"
#include "classes/produce_order.h"
#include "classes/public_classes.h"
#include "components/purchase_ref_service.h"
#include "components/suite/login.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "forms/pane_border.h"
#include "forms/static_controls.h"
#include "forms/ui_host.h"
#include "module/module_state.h"
#include "module/settings.h"
#include "platform/registry.h"
#include "support/demo_account.h"
#include "support/grid_checks.h"
#include "support/recording_ui_host.h"
#include "support/scratch_dir.h"

namespace quillon::dialogs {
namespace {

using automation::Variant;
using test_support::RecordingUiHost;

struct LoadResult {
  bool ok = false;
  std::string err;
  bool flag = true;
  std::shared_ptr<automation::Collection> coll;
};

std::shared_ptr<components::suite::Login> login(const std::string& user) {
  test_support::demoAccount(classes::registerAllClasses);
  return test_support::loginAs(user);
}

class StockOrderDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    user_ = login("clerk");
    host_ = std::make_shared<RecordingUiHost>();
    scoped_ = std::make_unique<forms::ScopedUiHost>(host_);
    po_ = std::make_shared<classes::ProduceOrder>();
  }
  void TearDown() override {
    scoped_.reset();
    components::purchaseRefService()->setShowClosed(false);
  }

  // Drives the order dialog; any other dialog it shows (the stock selection) is noted and closed.
  LoadResult run(const std::function<void(frmStockOrder&)>& drive, bool flagIn = true) {
    host_->onModal = [this, drive](forms::Form& form) {
      if (auto* dialog = dynamic_cast<frmStockOrder*>(&form)) {
        drive(*dialog);
      } else {
        otherDialogs_.push_back(form.Name());
      }
    };
    LoadResult r;
    r.flag = flagIn;
    Variant coll = Variant::nothing();
    r.ok = po_->loadStockOrder("", Variant(std::static_pointer_cast<automation::Object>(user_)),
                               coll, r.err, r.flag);
    if (!coll.isNothing()) r.coll = automation::toObjectAs<automation::Collection>(coll);
    return r;
  }

  // Answers the next message boxes, in order.
  void answer(std::initializer_list<int> answers) {
    for (const int a : answers) host_->answers.push_back(a);
  }

  std::shared_ptr<components::suite::Login> user_;
  std::shared_ptr<RecordingUiHost> host_;
  std::unique_ptr<forms::ScopedUiHost> scoped_;
  std::shared_ptr<classes::ProduceOrder> po_;
  std::vector<std::string> otherDialogs_;
};

using test_support::cellOf;
using test_support::column;
using test_support::markRow;
using test_support::rowOf;

std::shared_ptr<ado::Recordset> member(const LoadResult& r, const char* key) {
  return automation::toObjectAs<ado::Recordset>(r.coll->item(key));
}

TEST_F(StockOrderDialog, TheClerkSeesHerHeadsLinesAndWarehouses) {
  const LoadResult r = run([&](frmStockOrder& f) {
    EXPECT_EQ(f.Caption(), "选择采购订单或采购到货单");
    EXPECT_EQ(f.txtOutDate.Text(), "2026-12-05");
    EXPECT_TRUE(f.chkBusType.Enabled()) << "the demo account is the commercial edition";
    EXPECT_FALSE(f.cmdWh.Visible());
    EXPECT_FALSE(f.cmbArrID.Enabled());
    EXPECT_EQ(f.lstDdHead.BackColor(), 0xC0C0C0u);
    EXPECT_EQ(f.filterText(),
              "(cDepCode in (N'0201',N'0202',N'0401') OR ISNULL(cDepCode, '') = '')");
    EXPECT_TRUE(host_->messages.empty()) << "the first display asks nothing";

    f.cmdFilter.userClick();
    // Order 9 of her department and order 7 of none; executed order 10 and unverified 11 not.
    EXPECT_EQ(column(f.lstDdHead, "单据号"), (std::set<std::string>{"PO26110009", "PO26120007"}));
    EXPECT_EQ(f.lstDdBody.Rows(), 1) << "nothing marked, no lines";
    markRow(f.lstDdHead, "单据号", "PO26110009");
    // 0103002 is an inventory she may not use.
    EXPECT_EQ(column(f.lstDdBody, "存货编码"), (std::set<std::string>{"0101002", "0102001"}));
    ASSERT_TRUE(f.chkAll.userClick());
    f.cmdFilter.userClick();
    EXPECT_EQ(column(f.lstDdHead, "单据号"),
              (std::set<std::string>{"PO26110009", "PO26110010", "PO26120007"}));

    answer({forms::vbYes});
    ASSERT_TRUE(f.SSTab1.userSelectTab(1));
    f.Command1.userClick();
    // Arrival note 8 of her department and 7 of none; the unverified 9 not.
    EXPECT_EQ(column(f.lstDhdHead, "单据号"), (std::set<std::string>{"DH26120007", "DH26120008"}));
    markRow(f.lstDhdHead, "单据号", "DH26120008");
    // Warehouse 04 she may only read, 0103001 she may not use; a line without warehouse stays.
    EXPECT_EQ(column(f.lstDhdBody, "存货编码"), (std::set<std::string>{"0101002", "0102001"}));

    // The receiving warehouse's list holds the warehouses she may receive into.
    ASSERT_TRUE(f.moveFocus(f.txtWh));
    EXPECT_TRUE(f.cmdWh.Visible());
    host_->picks.push_back({});
    f.cmdWh.userClick();
    ASSERT_FALSE(host_->lookups.empty());
    EXPECT_EQ(host_->lookups.back().title, "Warehouse");
    EXPECT_EQ(host_->lookups.back().column("cWhCode"),
              (std::vector<std::string>{"01", "02", "06"}));
    f.cmdExit.userClick();
  });
  EXPECT_TRUE(r.ok) << r.err;
  EXPECT_FALSE(r.coll) << "cancel hands back Nothing";
  EXPECT_EQ(host_->modalRuns, 1);
}

TEST_F(StockOrderDialog, FilterBoxesFindBySupplierCodeAndKeepQuotesOut) {
  run([&](frmStockOrder& f) {
    // A supplier typed as its code: the box shows its name, the heads compare its short name.
    ASSERT_TRUE(f.moveFocus(f.cmbVen));
    f.cmbVen.setText("V001");
    f.cmdFilter.userClick();
    EXPECT_EQ(f.cmbVen.Text(), "福建厦门鑫源五金有限公司");
    EXPECT_NE(f.filterText().find("zpurpoheader.cVenAbbName = N'鑫源五金01'"), std::string::npos)
        << f.filterText();
    EXPECT_EQ(column(f.lstDdHead, "单据号"), (std::set<std::string>{"PO26110009"}));

    // The department chosen in its lookup list.
    ASSERT_TRUE(f.moveFocus(f.cmbDept));
    f.cmbVen.setText("");
    f.cmbVen.setLinkItem("");
    host_->picks.push_back({1});
    f.userKey(forms::vbKeyF2, 0, 0);
    EXPECT_EQ(f.cmbDept.Text(), "机加车间");
    f.cmdFilter.userClick();
    EXPECT_EQ(column(f.lstDdHead, "单据号"), (std::set<std::string>{"PO26110009"}));

    // A quote typed into a box never gets there.
    ASSERT_TRUE(f.moveFocus(f.cmbPOID));
    f.userKeyPress('P');
    f.userKeyPress('\'');
    EXPECT_EQ(f.cmbPOID.Text(), "P");
    EXPECT_GT(host_->beeps, 0);
    f.cmdExit.userClick();
  });
}

TEST_F(StockOrderDialog, ADeclinedTabSwitchAsksOnceAndKeepsTheOrders) {
  run([&](frmStockOrder& f) {
    f.cmdFilter.userClick();
    markRow(f.lstDdHead, "单据号", "PO26110009");
    const int lines = f.lstDdBody.Rows();
    answer({forms::vbNo});
    f.SSTab1.userSelectTab(1);
    ASSERT_EQ(host_->messages.size(), 1u);
    EXPECT_EQ(host_->messages[0].prompt, "选择到货单将取消订单的所有选择,是否继续?");
    EXPECT_EQ(host_->messages[0].title, "系统提示");
    EXPECT_EQ(f.SSTab1.Tab(), 0);
    EXPECT_TRUE(f.lstDdHead.isMarked(rowOf(f.lstDdHead, "单据号", "PO26110009")));
    EXPECT_EQ(f.lstDdBody.Rows(), lines);
    EXPECT_TRUE(f.cmbPOID.Enabled());
    EXPECT_TRUE(f.txtLPlanArriveDate.Enabled());

    answer({forms::vbYes});
    f.SSTab1.userSelectTab(1);
    EXPECT_EQ(host_->messages.size(), 2u);
    EXPECT_EQ(f.lstDdHead.Rows(), 1) << "the orders' selection is gone";
    EXPECT_FALSE(f.chkAll.Enabled());
    EXPECT_FALSE(f.cmbPOID.Enabled());
    EXPECT_TRUE(f.cmbArrID.Enabled());
    EXPECT_FALSE(f.txtLPlanArriveDate.Enabled());
    EXPECT_EQ(f.filterText(),
              "(cDepCode in (N'0201',N'0202',N'0401') OR ISNULL(cDepCode, '') = '') AND (cWhCode "
              "in (N'01',N'02',N'06') OR ISNULL(cWhCode,'') = '')");
    f.cmdExit.userClick();
  });
}

TEST_F(StockOrderDialog, PartialReceiptOfAnOrderLineWithinItsLimit) {
  const LoadResult r = run(
      [&](frmStockOrder& f) {
        f.cmdFilter.userClick();
        markRow(f.lstDdHead, "单据号", "PO26110009");
        const int row = rowOf(f.lstDdBody, "存货编码", "0101002");
        ASSERT_GT(row, 0);
        EXPECT_EQ(cellOf(f.lstDdBody, row, "本次入库数量"), "300.00");
        // The account allows 10 % over the order: 330 is the limit.
        EXPECT_TRUE(f.lstDdBody.userEditCell(row, f.lstDdBody.Cols() - 2, "331"));
        EXPECT_EQ(host_->lastMessage(), "本次入库数量不能大于入库上限范围！");
        EXPECT_EQ(cellOf(f.lstDdBody, row, "本次入库数量"), "300.00") << "the old text is back";
        f.lstDdBody.userEditCell(row, f.lstDdBody.Cols() - 2, "150");
        EXPECT_EQ(cellOf(f.lstDdBody, row, "本次入库数量"), "150");
        // A floating unit changes the pieces' sign first; a return stays within what was received.
        f.lstDdBody.userEditCell(row, f.lstDdBody.Cols() - 2, "-1");
        EXPECT_EQ(host_->lastMessage(), "必须先修改[件数]为负数然后修改[数量]!");
        const int boxes = rowOf(f.lstDdBody, "存货编码", "0102001");
        const auto shown = host_->messages.size();
        f.lstDdBody.userEditCell(boxes, f.lstDdBody.Cols() - 2, "-200");
        EXPECT_EQ(host_->messages.size(), shown) << "200 have been received";
        f.lstDdBody.userEditCell(boxes, f.lstDdBody.Cols() - 2, "-201");
        ASSERT_EQ(host_->messages.size(), shown + 1);
        EXPECT_EQ(host_->lastMessage(), "本次退货数量/件数不能大于订单的累计入库数量/件数。");
        EXPECT_EQ(cellOf(f.lstDdBody, boxes, "本次入库数量"), "-200");
        markRow(f.lstDdBody, "存货编码", "0101002");
        // Order 7 has no business type and no line she may receive; its head goes along.
        markRow(f.lstDdHead, "单据号", "PO26120007");
        ASSERT_TRUE(f.chkEdit.userClick());
        answer({forms::vbYes});
        f.cmdOk.userClick();
        EXPECT_FALSE(f.Visible()) << "OK hides the dialog";
      },
      false);
  ASSERT_TRUE(r.ok) << r.err;
  EXPECT_TRUE(r.flag) << "order lines";
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(r.coll->count(), 3);
  auto body = member(r, "Body");
  ASSERT_EQ(body->recordCount(), 1);
  body->moveFirst();
  EXPECT_DOUBLE_EQ(body->value("iQuantity").toDouble(), 150);
  auto head = member(r, "Head");
  ASSERT_EQ(head->recordCount(), 2);
  head->moveFirst();
  EXPECT_EQ(head->value("cpoid").toString(), "PO26110009");
  head->moveNext();
  EXPECT_EQ(head->value("cpoid").toString(), "PO26120007");
  EXPECT_EQ(head->value("cbustype").toString(), "普通采购") << "an empty business type";
  EXPECT_EQ(r.coll->item("Date").toString(), "2026-12-05");

  auto registry = platform::Registry::machine();
  platform::RegistryKey key;
  ASSERT_EQ(registry.openKey(module::kChoicesKey, platform::RegAccess::Read, key),
            platform::RegStatus::Success);
  std::string text;
  key.queryString("orderform", text);
  EXPECT_EQ(text, "1");
  key.queryString("arrivalform", text);
  EXPECT_EQ(text, "0");

  // The dialog is kept: ShowForm shows it again as it was, UnLoadForm empties the collection.
  host_->onModal = [](forms::Form& form) {
    auto& f = dynamic_cast<frmStockOrder&>(form);
    EXPECT_EQ(f.lstDdBody.visibleDataRows(), 2);
    form.Hide();
  };
  po_->ShowForm(true);
  EXPECT_TRUE(po_->oCollection);
  po_->UnLoadForm(true);
  EXPECT_FALSE(po_->oCollection);
}

TEST_F(StockOrderDialog, OkWithoutShownLinesLoadsThemAndReturnsMarkedArrivalLines) {
  const LoadResult r = run([&](frmStockOrder& f) {
    answer({forms::vbYes});
    f.SSTab1.userSelectTab(1);
    ASSERT_TRUE(f.Check1.userClick());
    EXPECT_EQ(f.Check1.Value(), forms::vbUnchecked);
    f.Command1.userClick();
    markRow(f.lstDhdHead, "单据号", "DH26120008");
    EXPECT_EQ(f.lstDhdBody.Rows(), 1) << "without Check1 a mark lists no lines";

    // OK checks Check1, which lists the lines; none is marked yet.
    answer({forms::vbYes});
    f.cmdOk.userClick();
    EXPECT_EQ(f.Check1.Value(), forms::vbChecked);
    EXPECT_EQ(host_->lastMessage(), "请选择记录！");
    EXPECT_TRUE(f.Visible());
    ASSERT_EQ(f.lstDhdBody.visibleDataRows(), 2);

    // The whole of one line, part of the other.
    const int whole = rowOf(f.lstDhdBody, "存货编码", "0101002");
    const int part = rowOf(f.lstDhdBody, "存货编码", "0102001");
    f.lstDhdBody.userEditCell(part, f.lstDhdBody.Cols() - 2, "150");
    // Dates are dates.
    const int expiry = f.lstDhdBody.colByCaption("失效日期");
    f.lstDhdBody.userEditCell(whole, expiry, "2026-13-01");
    EXPECT_EQ(host_->messages.back().prompt, "日期格式不正确，必须按格式YYYY-MM-DD输入");
    EXPECT_EQ(host_->messages.back().title, "提示");
    EXPECT_EQ(f.lstDhdBody.TextMatrix(expiry, whole), "");
    // The arrival line's sign stays.
    f.lstDhdBody.userEditCell(whole, f.lstDhdBody.Cols() - 2, "-1");
    EXPECT_EQ(host_->lastMessage(), "本次入库数量不能为负数");
    ASSERT_TRUE(f.lstDhdBody.userClickCell(whole, 0));
    ASSERT_TRUE(f.lstDhdBody.userClickCell(part, 0));
    // A right click opens the menu and toggles nothing.
    f.lstDhdBody.userMouseUp(forms::vbRightButton);
    EXPECT_EQ(host_->popups.size(), 1u);
    EXPECT_TRUE(f.lstDhdBody.isMarked(whole));
    answer({forms::vbNo});
    f.cmdOk.userClick();
    EXPECT_TRUE(f.Visible()) << "declining the question changes nothing";
    answer({forms::vbYes});
    f.cmdOk.userClick();
  });
  ASSERT_TRUE(r.ok) << r.err;
  EXPECT_FALSE(r.flag) << "arrival-note lines";
  ASSERT_TRUE(r.coll);
  auto body = member(r, "Body");
  ASSERT_EQ(body->recordCount(), 2);
  for (body->moveFirst(); !body->eof(); body->moveNext()) {
    const bool whole = body->value("cinvcode").toString() == "0101002";
    EXPECT_DOUBLE_EQ(body->value("iQuantity").toDouble(), whole ? 120 : 150);
    EXPECT_EQ(body->value("bAll").toLong(), whole ? 1 : 0) << "taken whole or in part";
    EXPECT_NE(body->value("bQuanSign").toLong(), 0);
  }
}

TEST_F(StockOrderDialog, ReceivingWarehouseRefusalsChangeNoLine) {
  run([&](frmStockOrder& f) {
    answer({forms::vbYes});
    f.SSTab1.userSelectTab(1);
    f.Command1.userClick();
    markRow(f.lstDhdHead, "单据号", "DH26120008");
    const int noWarehouse = rowOf(f.lstDhdBody, "存货编码", "0102001");
    ASSERT_GT(noWarehouse, 0);
    const int whCol = f.lstDhdBody.colByCaption("仓库");

    // An unknown warehouse: refused, the box emptied, no line changed.
    ASSERT_TRUE(f.moveFocus(f.txtWh));
    f.txtWh.setText("99");
    f.moveFocus(f.chkEdit1);
    EXPECT_EQ(host_->lastMessage(), "仓库不合法！");
    EXPECT_EQ(f.txtWh.Text(), "");
    EXPECT_EQ(f.ActiveControl(), &f.txtWh) << "the focus goes back to the box";
    EXPECT_TRUE(f.cmdWh.Visible());
    EXPECT_EQ(f.lstDhdBody.TextMatrix(whCol, noWarehouse), "");

    // A picker on a line without warehouse is refused.
    f.lstDhdBody.userSelectCell(noWarehouse, 1);
    const std::string batch = cellOf(f.lstDhdBody, noWarehouse, "批号");
    f.userKey('B', forms::vbCtrlMask, 0);
    EXPECT_EQ(host_->lastMessage(), "仓库不能为空！");
    EXPECT_EQ(cellOf(f.lstDhdBody, noWarehouse, "批号"), batch);

    // The current line's item is not kept in warehouse 06; declining keeps the lines as they are.
    ASSERT_TRUE(f.moveFocus(f.txtWh));
    f.txtWh.setText("06");
    answer({forms::vbNo});
    f.moveFocus(f.chkEdit1);
    EXPECT_EQ(host_->lastMessage(), "[0102001]在仓库存货对照表中不存在！是否继续？");
    EXPECT_EQ(f.lstDhdBody.TextMatrix(whCol, noWarehouse), "");

    // Warehouse 02 keeps it: every line without a receipt voucher receives it.
    ASSERT_TRUE(f.moveFocus(f.txtWh));
    f.txtWh.setText("02");
    ASSERT_TRUE(f.moveFocus(f.chkEdit1));
    EXPECT_EQ(f.txtWh.Text(), "标准件仓");
    EXPECT_EQ(f.receivingWarehouseCode(), "02");
    EXPECT_EQ(column(f.lstDhdBody, "仓库"), (std::set<std::string>{"标准件仓"}));
    f.cmdExit.userClick();
  });
}

TEST_F(StockOrderDialog, ARedLineTrackedToItsReceiptAndASplitLineNotReturned) {
  user_ = login("demo");
  const LoadResult r = run([&](frmStockOrder& f) {
    answer({forms::vbYes});
    f.SSTab1.userSelectTab(1);
    f.cmbArrID.setText("DH26120010");
    f.Command1.userClick();
    markRow(f.lstDhdHead, "单据号", "DH26120010");
    ASSERT_EQ(f.lstDhdBody.visibleDataRows(), 1);
    EXPECT_EQ(cellOf(f.lstDhdBody, 1, "本次入库数量"), "-6.00");
    // The red line takes less than is open, never more, never the other sign.
    f.lstDhdBody.userEditCell(1, f.lstDhdBody.Cols() - 2, "2");
    EXPECT_EQ(host_->lastMessage(), "本次入库数量不能为正数");
    f.lstDhdBody.userEditCell(1, f.lstDhdBody.Cols() - 2, "-7");
    EXPECT_EQ(host_->lastMessage(), "本次入库数量不能大于未入库数量");
    EXPECT_EQ(cellOf(f.lstDhdBody, 1, "本次入库数量"), "-6.00");

    f.lstDhdBody.userSelectCell(1, 1);
    f.userKey('Q', forms::vbCtrlMask, 0);
    EXPECT_EQ(cellOf(f.lstDhdBody, 1, "入库单号"), "RK26110002");
    // With its receipt voucher the line keeps its warehouse.
    f.lstDhdBody.userEditCell(1, f.lstDhdBody.colByCaption("仓库"), "02");
    EXPECT_EQ(host_->lastMessage(), "已经指定了对应入库单号,不能修改仓库！");
    ASSERT_TRUE(f.lstDhdBody.userClickCell(1, 0));

    // A return on order 1 over two batches: the line splits, the hidden one stays behind.
    answer({forms::vbYes});
    f.SSTab1.userSelectTab(0);
    EXPECT_TRUE(f.chkAll.userClick());
    f.cmdFilter.userClick();
    markRow(f.lstDdHead, "单据号", "PO26110001");
    const int row = rowOf(f.lstDdBody, "存货编码", "0101001");
    ASSERT_GT(row, 0);
    f.lstDdBody.userEditCell(row, f.lstDdBody.Cols() - 2, "-1000");
    EXPECT_EQ(cellOf(f.lstDdBody, row, "本次入库数量"), "-1000");
    ASSERT_TRUE(f.lstDdBody.userClickCell(row, 0));
    const int before = f.lstDdBody.Rows();
    f.userKey('B', forms::vbCtrlMask, 0);
    ASSERT_EQ(f.lstDdBody.Rows(), before + 2);
    EXPECT_EQ(f.lstDdBody.RowHeight(row), 0);
    EXPECT_EQ(cellOf(f.lstDdBody, before, "批号"), "B2610-01");
    EXPECT_EQ(cellOf(f.lstDdBody, before + 1, "批号"), "B2611-02");
    // The split rows start unmarked: the hidden line's mark alone returns nothing.
    EXPECT_TRUE(f.lstDdBody.isMarked(row));
    EXPECT_FALSE(f.lstDdBody.isMarked(before) || f.lstDdBody.isMarked(before + 1));
    answer({forms::vbYes});
    f.cmdOk.userClick();
    EXPECT_EQ(host_->lastMessage(), "请选择记录！");
    ASSERT_TRUE(f.Visible());
    ASSERT_TRUE(f.lstDdBody.userClickCell(before, 0));
    ASSERT_TRUE(f.lstDdBody.userClickCell(before + 1, 0));
    answer({forms::vbYes});
    f.cmdOk.userClick();
  });
  ASSERT_TRUE(r.ok) << r.err;
  auto body = member(r, "Body");
  ASSERT_EQ(body->recordCount(), 2) << "the split line is not returned";
  double total = 0;
  for (body->moveFirst(); !body->eof(); body->moveNext()) {
    total += body->value("iQuantity").toDouble();
    EXPECT_EQ(body->value("bQuanSign").toLong(), 0) << "a return";
  }
  EXPECT_DOUBLE_EQ(total, -1000);
}

// A person's click into an editable cell of a line is meant for the figure: it marks the line if
// need be, never unmarks it, and starts the edit. The mark column, Space and the cells she cannot
// edit toggle. The status lines count the rows and sum what is marked.
TEST_F(StockOrderDialog, AClickIntoAQuantityEditsItAndKeepsTheLineMarked) {
  const LoadResult r = run([&](frmStockOrder& f) {
    f.cmdFilter.userClick();
    EXPECT_EQ(f.lstDdHead.statusText(), "共 2 行，已选 0 行");
    markRow(f.lstDdHead, "单据号", "PO26110009");
    EXPECT_EQ(f.lstDdHead.statusText(), "共 2 行，已选 1 行");
    forms::MsSuperGrid& lines = f.lstDdBody;
    const int qty = lines.Cols() - 2;
    ASSERT_EQ(lines.TextMatrix(qty, 0), "本次入库数量");
    const int row = rowOf(lines, "存货编码", "0101002");
    ASSERT_GT(row, 0);
    EXPECT_EQ(lines.statusText().value_or("").rfind("共 2 行，已选 0 行，本次数量合计 0.00", 0), 0u)
        << lines.statusText().value_or("");

    ASSERT_TRUE(lines.userClickCell(row, qty));
    EXPECT_TRUE(lines.isMarked(row)) << "an unmarked line is marked by the click";
    ASSERT_TRUE(lines.pendingEdit().has_value());
    EXPECT_EQ(lines.pendingEdit()->row, row);
    EXPECT_EQ(lines.pendingEdit()->col, qty);
    lines.userEditText("150");
    lines.FinishEdit();
    ASSERT_TRUE(lines.userClickCell(row, qty));
    EXPECT_TRUE(lines.isMarked(row)) << "a marked line keeps its mark";
    EXPECT_TRUE(lines.pendingEdit().has_value());
    lines.userCancelEdit();
    EXPECT_EQ(cellOf(lines, row, "本次入库数量"), "150");
    EXPECT_EQ(lines.statusText().value_or("").rfind("共 2 行，已选 1 行，本次数量合计 150.00", 0),
              0u)
        << lines.statusText().value_or("");

    ASSERT_TRUE(lines.userClickCell(row, lines.colByCaption("存货编码")));
    EXPECT_FALSE(lines.isMarked(row)) << "a cell she cannot edit toggles";
    EXPECT_FALSE(lines.pendingEdit().has_value());
    ASSERT_TRUE(lines.userClickCell(row, 0));
    EXPECT_TRUE(lines.isMarked(row));
    f.userKey(forms::vbKeySpace, 0, 0);
    EXPECT_FALSE(lines.isMarked(row)) << "Space toggles";
    EXPECT_EQ(lines.statusText().value_or("").rfind("共 2 行，已选 0 行，本次数量合计 0.00", 0),
              0u);
    f.cmdExit.userClick();
  });
  EXPECT_FALSE(r.coll);
}

TEST_F(StockOrderDialog, ThePopUpMenuAndTheCellButtonsOfALineGrid) {
  user_ = login("demo");
  run([&](frmStockOrder& f) {
    ASSERT_TRUE(f.chkAll.userClick());
    f.cmdFilter.userClick();
    markRow(f.lstDdHead, "单据号", "PO26110001");
    forms::MsSuperGrid& grid = f.lstDdBody;
    const int lines = grid.visibleDataRows();
    const int row = rowOf(grid, "存货编码", "0101001");
    ASSERT_GT(row, 0);

    // Copy the current line: a new last row with every cell of it, its mark included.
    ASSERT_TRUE(grid.userClickCell(row, 0));
    host_->popupChoice = "mnuCopyLine";
    grid.userMouseUp(forms::vbRightButton);
    ASSERT_EQ(grid.visibleDataRows(), lines + 1);
    const int copy = grid.Rows() - 1;
    for (int c = 0; c < grid.Cols(); ++c)
      EXPECT_EQ(grid.TextMatrix(c, copy), grid.TextMatrix(c, row));
    EXPECT_TRUE(grid.isMarked(copy));
    host_->popupChoice = "mnuClearAll";
    grid.userMouseUp(forms::vbRightButton);
    EXPECT_FALSE(grid.isMarked(row));
    EXPECT_FALSE(grid.isMarked(copy));
    grid.userSelectCell(copy, 1);
    host_->popupChoice = "mnuDeleteLine";
    grid.userMouseUp(forms::vbRightButton);
    EXPECT_EQ(grid.visibleDataRows(), lines) << "the deleted line is hidden";

    // The batch button picks for a return only; then it opens the stock selection.
    const int batch = grid.colByCaption("批号");
    ASSERT_TRUE(grid.ColButton(batch));
    ASSERT_TRUE(grid.userCellButton(row, batch));
    EXPECT_TRUE(otherDialogs_.empty()) << "a receipt takes what arrives";
    grid.userEditCell(row, grid.Cols() - 2, "-1000");
    ASSERT_TRUE(grid.userCellButton(row, batch));
    EXPECT_EQ(otherDialogs_, (std::vector<std::string>{"frmRefSelect"}));
    EXPECT_EQ(grid.visibleDataRows(), lines) << "closed without a choice: nothing changes";

    // The stock unit's button lists the units of the line's item.
    const int unit = grid.colByCaption("库存单位");
    host_->picks.push_back({});
    ASSERT_TRUE(grid.userCellButton(row, unit));
    ASSERT_FALSE(host_->lookups.empty());
    const auto units = host_->lookups.back().column("计量单位名称");
    EXPECT_EQ(std::set<std::string>(units.begin(), units.end()),
              (std::set<std::string>{"千克", "张", "根"}));
    f.cmdExit.userClick();
  });
}

using test_support::fileText;

// The head list (a menu of its own) and the line grid (导出… below the line menu's items) export
// what they show to the file the save-file question names; cancelling or an unwritable place
// writes nothing, and the marks stay as they were.
TEST_F(StockOrderDialog, ThePopUpMenusExportHeadsAndLinesToTheFileAsked) {
  user_ = login("demo");
  test_support::ScratchDir dir;
  run([&](frmStockOrder& f) {
    ASSERT_TRUE(f.chkAll.userClick());
    f.cmdFilter.userClick();
    markRow(f.lstDdHead, "单据号", "PO26110001");
    const int head = rowOf(f.lstDdHead, "单据号", "PO26110001");

    host_->saves.push_back((dir / "heads.csv").string());
    host_->popupChoice = "lstDdHeadMenuExport";
    f.lstDdHead.userMouseUp(forms::vbRightButton);
    EXPECT_EQ(host_->popups.back(), "lstDdHeadMenu");
    ASSERT_FALSE(host_->saveRequests.empty());
    EXPECT_EQ(host_->saveRequests.back().suggestedName, f.Caption() + ".csv");
    EXPECT_TRUE(f.lstDdHead.isMarked(head)) << "a right click toggles no head";
    const std::string heads = fileText(dir / "heads.csv");
    EXPECT_EQ(heads.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(heads.find("单据号"), std::string::npos);
    EXPECT_NE(heads.find("PO26110001"), std::string::npos);
    EXPECT_EQ(static_cast<int>(std::count(heads.begin(), heads.end(), '\n')),
              f.lstDdHead.visibleDataRows() + 1);

    forms::MsSuperGrid& lines = f.lstDdBody;
    host_->saves.push_back((dir / "lines.csv").string());
    host_->popupChoice = "mnuYJCDExport";
    lines.userMouseUp(forms::vbRightButton);
    EXPECT_EQ(host_->popups.back(), "mnuYJCD");
    const std::string body = fileText(dir / "lines.csv");
    EXPECT_NE(body.find("存货编码"), std::string::npos);
    EXPECT_NE(body.find("0101001"), std::string::npos);
    EXPECT_EQ(static_cast<int>(std::count(body.begin(), body.end(), '\n')),
              lines.visibleDataRows() + 1);

    // Cancelled: nothing is written, nothing said.
    const std::size_t said = host_->messages.size();
    host_->saves.push_back(std::nullopt);
    lines.userMouseUp(forms::vbRightButton);
    EXPECT_EQ(host_->messages.size(), said);
    // A place that cannot be written says why and leaves nothing behind.
    host_->saves.push_back((dir / "none" / "x.csv").string());
    lines.userMouseUp(forms::vbRightButton);
    ASSERT_EQ(host_->messages.size(), said + 1);
    EXPECT_NE(host_->lastMessage().find("could not be exported"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "none"));
    f.cmdExit.userClick();
  });
}

// A scan (an item code, a unit barcode, CODE*COUNT) marks the line it names and counts into its
// this-time quantity: the first scan replaces the proposed figure, later ones add; the order's
// limit still refuses; an unknown code beeps and changes nothing. OK hands back what was counted.
TEST_F(StockOrderDialog, AScanMarksTheLineAndCountsIntoItsQuantity) {
  const LoadResult r = run(
      [&](frmStockOrder& f) {
        f.cmdFilter.userClick();
        markRow(f.lstDdHead, "单据号", "PO26110009");
        forms::MsSuperGrid& grid = f.lstDdBody;
        const int row = rowOf(grid, "存货编码", "0101002");
        ASSERT_GT(row, 0);
        ASSERT_FALSE(grid.isMarked(row));
        EXPECT_EQ(cellOf(grid, row, "本次入库数量"), "300.00");

        EXPECT_EQ(grid.userScan("0101002"), row);
        EXPECT_TRUE(grid.isMarked(row));
        EXPECT_EQ(grid.Row(), row) << "the scanned line becomes current";
        EXPECT_EQ(cellOf(grid, row, "本次入库数量"), "1") << "the first scan replaces 300";
        EXPECT_EQ(grid.userScan(" 0101002 * 4 "), row);
        EXPECT_EQ(cellOf(grid, row, "本次入库数量"), "5");

        // Nothing matches: a beep, no change.
        const int beeps = host_->beeps;
        EXPECT_EQ(grid.userScan("NOSUCHCODE"), 0);
        EXPECT_EQ(grid.userScan("0101002*0"), 0);
        EXPECT_EQ(host_->beeps, beeps + 2);
        EXPECT_EQ(cellOf(grid, row, "本次入库数量"), "5");

        // The order's limit (330) refuses a scan as it refuses a typed figure.
        const std::size_t said = host_->messages.size();
        EXPECT_EQ(grid.userScan("0101002*400"), 0);
        ASSERT_EQ(host_->messages.size(), said + 1);
        EXPECT_EQ(host_->lastMessage(), "本次入库数量不能大于入库上限范围！");
        EXPECT_EQ(cellOf(grid, row, "本次入库数量"), "5");
        EXPECT_TRUE(grid.isMarked(row)) << "it was marked before the refused scan";

        // A unit barcode counts in its unit on a line kept in that unit.
        const int boxes = rowOf(grid, "存货编码", "0102001");
        ASSERT_GT(boxes, 0);
        EXPECT_EQ(grid.userScan("U0202*2"), boxes) << "two boxes of ten";
        EXPECT_EQ(cellOf(grid, boxes, "本次入库数量"), "20");
        EXPECT_TRUE(grid.isMarked(boxes));

        answer({forms::vbYes});
        f.cmdOk.userClick();
      },
      false);
  ASSERT_TRUE(r.ok) << r.err;
  ASSERT_TRUE(r.coll);
  auto body = member(r, "Body");
  std::map<std::string, double> counted;
  for (body->moveFirst(); !body->eof(); body->moveNext()) {
    counted[body->value("cInvCode").toString()] += body->value("iQuantity").toDouble();
  }
  EXPECT_EQ(counted, (std::map<std::string, double>{{"0101002", 5}, {"0102001", 20}}));
}

// The border between heads and lines: dragged down, the heads gain what the lines give up; the
// lines keep their bottom, and neither list is squeezed below two rows.
TEST_F(StockOrderDialog, TheBorderBetweenHeadsAndLinesMovesWithTheMouse) {
  run([&](frmStockOrder& f) {
    auto* bar = dynamic_cast<forms::Frame*>(f.findControl("lstDdHeadSplit"));
    ASSERT_NE(bar, nullptr);
    forms::MsSuperGrid& heads = f.lstDdHead;
    forms::MsSuperGrid& lines = f.lstDdBody;
    EXPECT_EQ(bar->container(), heads.container());
    EXPECT_EQ(bar->Top(), heads.Top() + heads.Height());
    EXPECT_EQ(bar->Top() + bar->Height(), lines.Top());
    const int headHeight = heads.Height();
    const int linesBottom = lines.Top() + lines.Height();
    bar->userMouseMove(forms::vbLeftButton, 0, 0, bar->Height() / 2 + 900);
    EXPECT_EQ(heads.Height(), headHeight + 900);
    EXPECT_EQ(lines.Top() + lines.Height(), linesBottom);
    EXPECT_EQ(bar->Top(), heads.Top() + heads.Height());
    bar->userMouseMove(forms::vbLeftButton, 0, 0, 100000);
    EXPECT_EQ(lines.Height(), forms::kLeastPane);
    bar->userMouseMove(forms::vbLeftButton, 0, 0, -100000);
    EXPECT_EQ(heads.Height(), forms::kLeastPane);
    bar->userMouseMove(0, 0, 0, 5000);
    EXPECT_EQ(heads.Height(), forms::kLeastPane) << "only a held button drags";
    EXPECT_EQ(lines.Top() + lines.Height(), linesBottom);
    f.cmdExit.userClick();
  });
}

// A batch or receipt voucher typed into a line is kept as long as the receipt's column holds it
// (30 characters), on order lines as on arrival lines, and goes back to the host as typed.
TEST_F(StockOrderDialog, ATypedBatchOrReceiptVoucherIsKeptAsTheReceiptHoldsIt) {
  const std::string voucher = "RK" + std::string(28, '7');  // 30 characters
  const LoadResult r = run([&](frmStockOrder& f) {
    answer({forms::vbYes});
    f.SSTab1.userSelectTab(1);
    f.Command1.userClick();
    markRow(f.lstDhdHead, "单据号", "DH26120008");
    forms::MsSuperGrid& arrivals = f.lstDhdBody;
    const int receipt = arrivals.colByCaption("入库单号");
    ASSERT_GT(receipt, 0);
    EXPECT_EQ(arrivals.ColMaxLength(receipt), 30);
    arrivals.userEditCell(1, receipt, voucher + "X");
    EXPECT_EQ(arrivals.TextMatrix(receipt, 1), voucher) << "cut where the receipt's column ends";

    answer({forms::vbYes});
    f.SSTab1.userSelectTab(0);
    f.cmdFilter.userClick();
    markRow(f.lstDdHead, "单据号", "PO26110009");
    forms::MsSuperGrid& orders = f.lstDdBody;
    const int row = rowOf(orders, "存货编码", "0101002");
    ASSERT_GT(row, 0);
    const int batch = orders.colByCaption("批号");
    const int orderReceipt = orders.colByCaption("入库单号");
    ASSERT_GT(batch, 0);
    ASSERT_GT(orderReceipt, 0);
    EXPECT_EQ(orders.ColMaxLength(batch), 30);
    EXPECT_EQ(orders.ColMaxLength(orderReceipt), 30);
    orders.userEditCell(row, batch, "B2612-99");
    EXPECT_EQ(orders.TextMatrix(batch, row), "B2612-99");
    orders.userEditCell(row, orderReceipt, voucher);
    EXPECT_EQ(orders.TextMatrix(orderReceipt, row), voucher);
    ASSERT_TRUE(orders.userClickCell(row, 0));
    answer({forms::vbYes});
    f.cmdOk.userClick();
  });
  ASSERT_TRUE(r.ok) << r.err;
  ASSERT_TRUE(r.coll);
  auto body = member(r, "Body");
  ASSERT_EQ(body->recordCount(), 1);
  body->moveFirst();
  EXPECT_EQ(body->value("cbatch").toString(), "B2612-99");
  EXPECT_EQ(body->value("cinvouchcode").toString(), voucher);
}

// Another workstation drops what the heads or lines are read from while the dialog is open: the
// error ends the dialog and loadStockOrder reports it under its label; no box is shown.
TEST_F(StockOrderDialog, AQueryErrorEndsTheDialogAndReachesTheOwnersTrap) {
  const std::string account = test_support::demoCopy("stock_order_dropped");
  user_ = test_support::loginAs("clerk", account);
  LoadResult r = run([&](frmStockOrder& f) {
    test_support::connect(account)->execute("DROP VIEW zpurpoheader");
    f.cmdFilter.userClick();
    EXPECT_FALSE(f.Loaded());
  });
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.err.starts_with("loadStockOrder:load")) << r.err;
  EXPECT_NE(automation::asciiLower(r.err).find("zpurpoheader"), std::string::npos) << r.err;
  EXPECT_FALSE(r.coll);
  EXPECT_TRUE(host_->messages.empty()) << host_->lastMessage();

  r = run([&](frmStockOrder& f) {
    answer({forms::vbYes});
    f.SSTab1.userSelectTab(1);
    f.Command1.userClick();
    test_support::connect(account)->execute("DROP VIEW pu_ArrBody");
    const int row = rowOf(f.lstDhdHead, "单据号", "DH26120008");
    ASSERT_GT(row, 0);
    f.lstDhdHead.userClickCell(row, 0);  // marking lists the note's lines
    EXPECT_FALSE(f.Loaded());
  });
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.err.starts_with("loadStockOrder:load")) << r.err;
  EXPECT_NE(automation::asciiLower(r.err).find("pu_arrbody"), std::string::npos) << r.err;
  ASSERT_EQ(host_->messages.size(), 1u) << host_->lastMessage();  // the tab switch's question
}

TEST_F(StockOrderDialog, ACallWithoutAUsableLoginShowsNoDialog) {
  Variant coll = Variant::nothing();
  std::string err;
  bool flag = true;
  host_->onModal = [](forms::Form&) { ADD_FAILURE() << "a dialog was shown"; };
  EXPECT_FALSE(po_->loadStockOrder("", Variant::nothing(), coll, err, flag));
  EXPECT_EQ(err.rfind("loadStockOrder:load91\r\n", 0), 0u) << err;
  EXPECT_EQ(host_->modalRuns, 0);
}

}  // namespace
}  // namespace quillon::dialogs
