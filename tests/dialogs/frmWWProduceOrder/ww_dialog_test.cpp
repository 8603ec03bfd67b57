// frmWWProduceOrder driven through WWProduceOrder.load on the demo account, with the recording UI
// host playing the outsourcing clerk: every mode on one order, the vendor rule, kit quantities,
// the bOriginal narrowing, the in-place product filter, OK's refusals and what changes behind an
// open dialog, and the restricted user.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "classes/public_classes.h"
#include "classes/ww_produce_order.h"
#include "components/marlin_col_set.h"
#include "components/suite/login.h"
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"
#include "forms/ui_host.h"
#include "module/module_state.h"
#include "module/vouch_lists.h"
#include "support/demo_account.h"
#include "support/recording_ui_host.h"
#include "support/recordset_checks.h"

namespace quillon::dialogs {
namespace {

using automation::Variant;
using module::VouchCell;
using test_support::RecordingUiHost;

struct LoadResult {
  bool ok = false;
  std::string err;
  std::shared_ptr<automation::Collection> coll;
};

// The texts of a column (by field key) over a list's data rows.
std::set<std::string> column(const forms::MarlinVouchList& list, std::string_view key) {
  std::set<std::string> out;
  for (int r = 1; r < list.Rows(); ++r) out.insert(VouchCell(list, r, key));
  return out;
}

int rowOf(const forms::MarlinVouchList& list, std::string_view key, std::string_view text) {
  for (int r = 1; r < list.Rows(); ++r) {
    if (VouchCell(list, r, key) == text) return r;
  }
  return 0;
}

// Toggles the mark of the row whose `key` column shows `text`, as a person's click does.
void mark(forms::MarlinVouchList& list, std::string_view key, std::string_view text) {
  const int row = rowOf(list, key, text);
  ASSERT_GT(row, 0) << key << " " << text;
  ASSERT_TRUE(list.userMark(row));
}

bool edit(forms::MarlinVouchList& list, int row, std::string_view key, std::string text) {
  return list.userEditCell(row, list.colIndex(key), std::move(text));
}

std::shared_ptr<ado::Recordset> member(const LoadResult& r, const char* key) {
  return automation::toObjectAs<ado::Recordset>(r.coll->item(key));
}

class WWDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::demoAccount(classes::registerAllClasses);
    path_ = test_support::demoPath();
    host_ = std::make_shared<RecordingUiHost>();
    scoped_ = std::make_unique<forms::ScopedUiHost>(host_);
    ww_ = std::make_shared<classes::WWProduceOrder>();
  }
  void TearDown() override {
    scoped_.reset();
    module::gIsSTQc = false;
  }

  LoadResult run(const std::function<void(frmWWProduceOrder&)>& drive, bool bOI, int type,
                 const std::string& user = "demo", const std::string& order = "") {
    host_->onModal = [drive](forms::Form& form) {
      auto& dialog = dynamic_cast<frmWWProduceOrder&>(form);
      drive(dialog);
    };
    LoadResult r;
    Variant coll = Variant::nothing();
    auto login = test_support::loginAs(user, path_);
    r.ok = ww_->load(order, Variant(std::static_pointer_cast<automation::Object>(login)), coll,
                     r.err, bOI, type);
    if (!coll.isNothing()) r.coll = automation::toObjectAs<automation::Collection>(coll);
    return r;
  }

  // Another workstation's statement on the account.
  void elsewhere(const std::string& sql) { test_support::connect(path_)->execute(sql); }

  const forms::MessageBoxRequest& lastMessage() const { return host_->messages.back(); }

  std::string path_;
  std::shared_ptr<RecordingUiHost> host_;
  std::unique_ptr<forms::ScopedUiHost> scoped_;
  std::shared_ptr<classes::WWProduceOrder> ww_;
};

TEST_F(WWDialog, EachModeListsAndReturnsOneOrder) {
  // Receipt: the uninspected line and the inspected one with its verified inspection row.
  LoadResult r = run(
      [&](frmWWProduceOrder& f) {
        EXPECT_EQ(f.Caption(), "选择委外订单和委外生产的存货");
        EXPECT_FALSE(f.chkYbjs.Visible());
        EXPECT_FALSE(f.Command3.Visible());
        EXPECT_EQ(f.columnSet('B')->tableName(), "qm_ncheckvoucher");
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        EXPECT_EQ(column(f.VouchListB, "MainID"), (std::set<std::string>{"1", "2"}));
        EXPECT_GT(f.VouchListB.colIndex("cCode"), 0);
        EXPECT_EQ(f.VouchListB.rowLabelCaption(), "")
            << "receipt lines show their order's number in a column of their own, not twice";
        EXPECT_EQ(VouchCell(f.VouchListB, rowOf(f.VouchListB, "MainID", "2"), "fQuantity"), "55.00")
            << "an inspected line offers what its inspection found good";
        mark(f.VouchListB, "MainID", "1");
        // An inspected line whose inspection row names a rejection: an ordinary receipt takes
        // its good quantity, whatever the rejection record holds.
        mark(f.VouchListB, "MainID", "2");
        f.cmdOk.userClick();
      },
      true, 0);
  ASSERT_TRUE(r.ok) << r.err;
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(r.coll->count(), 2);
  EXPECT_EQ(test_support::keys(*member(r, "Parent"), "ID"), (std::set<int>{1}));
  const auto received = member(r, "Sub");
  EXPECT_EQ(test_support::keys(*received, "MainID"), (std::set<int>{1, 2}));
  received->moveFirst();
  EXPECT_EQ(received->value("iarrptrintype").toLong(), 0);

  // Concession receipt (voucher type 72): only the accepted, not yet received goods.
  r = run(
      [&](frmWWProduceOrder& f) {
        EXPECT_TRUE(f.chkYbjs.Visible());
        EXPECT_FALSE(f.edtInvQuantity.Visible());
        f.cmdFilter.userClick();
        ASSERT_TRUE(f.chkYbjs.userClick());
        EXPECT_EQ(f.VouchListH.Rows(), 1) << "the lists of the other receipt mode are emptied";
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        EXPECT_EQ(column(f.VouchListB, "MainID"), (std::set<std::string>{"2"}));
        mark(f.VouchListB, "MainID", "2");
        f.cmdOk.userClick();
      },
      true, 72);
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(member(r, "Sub")->value("iarrptrintype").toLong(), 1);
  EXPECT_EQ(member(r, "Sub")->value("irejid").toLong(), 1);

  // Issue: materials of the marked product line, confirmed on the materials tab.
  r = run(
      [&](frmWWProduceOrder& f) {
        EXPECT_TRUE(f.Command3.Visible());
        EXPECT_EQ(f.columnSet('B')->tableName(), "OM_POMain");
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        mark(f.VouchListB, "MainID", "1");
        EXPECT_EQ(column(f.VouchListS, "SubID"), (std::set<std::string>{"1"}));
        EXPECT_EQ(VouchCell(f.VouchListS, 1, "iCurOutQuantity"), "660.00");
        ASSERT_TRUE(f.SSTab1.userSelectTab(1));
        EXPECT_EQ(f.Caption(), "选择委外计划和投产的存货");
        ASSERT_TRUE(f.VouchListS.userMark(1));
        f.cmdOk.userClick();
      },
      false, 0);
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(r.coll->count(), 3);
  const auto child = member(r, "Child");
  EXPECT_EQ(test_support::keys(*child, "SubID"), (std::set<int>{1}));
  child->moveFirst();
  EXPECT_DOUBLE_EQ(child->value("iCurOutQuantity").toDouble(), 660);
  EXPECT_EQ(child->value("cinvcode1").toString(), "0201001");

  // Type 39: the X statements list the lines no material of which has gone out.
  r = run(
      [&](frmWWProduceOrder& f) {
        EXPECT_FALSE(f.chkAll.Enabled());
        f.cmdFilter.userClick();
        EXPECT_EQ(rowOf(f.VouchListH, "cCode", "WW26110001"), 0);
        mark(f.VouchListH, "cCode", "WW26110003");
        EXPECT_EQ(column(f.VouchListB, "MainID"), (std::set<std::string>{"5"}));
        mark(f.VouchListB, "MainID", "5");
        f.cmdOk.userClick();
      },
      false, 39);
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(test_support::keys(*member(r, "Sub"), "mainid"), (std::set<int>{5}));
}

TEST_F(WWDialog, OrdersOfOneVendorTogetherAndOneAtATimeForOtherTypes) {
  run(
      [&](frmWWProduceOrder& f) {
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        mark(f.VouchListH, "cCode", "WW26110003");
        EXPECT_EQ(lastMessage().prompt, "请选择相同供应商的委外订单");
        EXPECT_EQ(lastMessage().title, "错误");
        EXPECT_EQ(lastMessage().buttons, forms::vbOKOnly);
        EXPECT_FALSE(f.VouchListH.Marked(rowOf(f.VouchListH, "cCode", "WW26110003")));
        mark(f.VouchListH, "cCode", "WW26120006");  // V001 as well
        EXPECT_EQ(module::MarkedRows(f.VouchListH).size(), 2u);
        // Order 1's second product has no materials to issue.
        EXPECT_EQ(column(f.VouchListB, "MainID"), (std::set<std::string>{"1", "10"}));
        f.cmdExit.userClick();
      },
      false, 0);
  const std::size_t shown = host_->messages.size();
  run(
      [&](frmWWProduceOrder& f) {
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110003");
        mark(f.VouchListH, "cCode", "WW26120006");
        EXPECT_FALSE(f.VouchListH.Marked(rowOf(f.VouchListH, "cCode", "WW26110003")));
        EXPECT_EQ(column(f.VouchListB, "MainID"), (std::set<std::string>{"10"}));
        // Select-all marks one order too.
        ASSERT_TRUE(f.chkSelectAllHead.userClick());
        EXPECT_EQ(module::MarkedRows(f.VouchListH).size(), 1u);
        f.cmdExit.userClick();
      },
      false, 39);
  EXPECT_EQ(host_->messages.size(), shown) << "single selection refuses nothing";
}

TEST_F(WWDialog, KitQuantitiesTakeTheProductsShareOfEveryMaterial) {
  run(
      [&](frmWWProduceOrder& f) {
        EXPECT_TRUE(f.edtInvQuantity.Visible());
        EXPECT_EQ(f.edtInvQuantity.DecimalPlaces(), 2);
        f.cmdFilter.userClick();
        // A kit quantity with nothing marked changes nothing.
        ASSERT_TRUE(f.moveFocus(f.edtInvQuantity));
        f.edtInvQuantity.setText("40");
        f.userKey(forms::vbKeyReturn, 0, 0);
        EXPECT_TRUE(f.Loaded()) << "Enter in the kit box never confirms";

        mark(f.VouchListH, "cCode", "WW26110001");
        mark(f.VouchListB, "MainID", "1");
        EXPECT_EQ(f.txtInvCode.Text(), "0201001");
        ASSERT_TRUE(f.moveFocus(f.edtInvQuantity));
        f.edtInvQuantity.setText("40");
        f.userKey(forms::vbKeyReturn, 0, 0);
        EXPECT_TRUE(f.Loaded());
        EXPECT_EQ(VouchCell(f.VouchListB, 1, "iCurQuantity"), "40.00");
        // 40 of 200 products: 40/200 of the 1100 ordered, in pieces at the open rate 660/8.8.
        EXPECT_EQ(VouchCell(f.VouchListS, 1, "iCurOutQuantity"), "220.00");
        EXPECT_EQ(VouchCell(f.VouchListS, 1, "iCurOutNum"), "2.93");

        // A this-time quantity that is no number stays out of its cell.
        EXPECT_TRUE(edit(f.VouchListB, 1, "iCurQuantity", "abc"));
        EXPECT_EQ(lastMessage().prompt, "本次数量[abc]不是数字");
        EXPECT_EQ(VouchCell(f.VouchListB, 1, "iCurQuantity"), "40.00");

        // Order 7's line of 12: 3 taken; pieces only where the rate is a number other than 0.
        mark(f.VouchListH, "cCode", "WW26110001");
        mark(f.VouchListH, "cCode", "WW26120007");
        const int line = rowOf(f.VouchListB, "MainID", "13");
        ASSERT_GT(line, 0);
        EXPECT_TRUE(edit(f.VouchListB, line, "iCurQuantity", "3"));
        ASSERT_TRUE(f.VouchListB.userMark(line));
        const auto material = [&](const char* code, const char* key) {
          return VouchCell(f.VouchListS, rowOf(f.VouchListS, "cInvCode", code), key);
        };
        EXPECT_EQ(material("0202002", "iCurOutQuantity"), "3.00");
        EXPECT_EQ(material("0202002", "iCurOutNum"), "0.00") << "no second unit";
        EXPECT_EQ(material("0103003", "iCurOutQuantity"), "45.00");
        EXPECT_EQ(material("0103003", "iCurOutNum"), "0.45");
        f.cmdExit.userClick();
      },
      false, 71);
}

TEST_F(WWDialog, ConcessionTypesWithSTQcAskForOriginalOrdersOnly) {
  const auto shownOrders = [&](int type) {
    std::set<std::string> codes;
    run(
        [&](frmWWProduceOrder& f) {
          f.cmdFilter.userClick();
          codes = column(f.VouchListH, "cCode");
          EXPECT_EQ(f.headerStatement().find("bOriginal='1'") != std::string::npos,
                    type == 77 && ww_->bIsSTQc());
          f.cmdExit.userClick();
        },
        true, type);
    return codes;
  };
  const auto all = shownOrders(77);
  EXPECT_TRUE(all.count("WW26110009")) << "an order that is not the original";
  ww_->setbIsSTQc(true);
  EXPECT_TRUE(module::gIsSTQc);
  const auto originals = shownOrders(77);
  EXPECT_FALSE(originals.empty());
  EXPECT_FALSE(originals.count("WW26110009"));
  EXPECT_TRUE(originals.count("WW26110001"));
  EXPECT_EQ(shownOrders(0), all) << "other voucher types ignore the flag";
}

TEST_F(WWDialog, AProductAloneFiltersTheLoadedLinesWithoutAQuery) {
  run(
      [&](frmWWProduceOrder& f) {
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        const auto lines = f.lineRecordset();
        const std::string headers = f.headerStatement();
        const std::string lastSql = module::gSQL;
        f.cmbPOID.setText("WW26110003");  // ignored beside a product
        f.cmbInv.setText("0201002");
        f.cmdFilter.userClick();
        EXPECT_EQ(module::gSQL, lastSql);
        EXPECT_EQ(f.lineRecordset(), lines);
        EXPECT_EQ(f.headerStatement(), headers);
        EXPECT_EQ(column(f.VouchListB, "cInvCode"), (std::set<std::string>{"0201002"}));
        EXPECT_GT(rowOf(f.VouchListH, "cCode", "WW26110001"), 0);
        f.cmdExit.userClick();
      },
      true, 0);
}

TEST_F(WWDialog, OkRefusesNothingMarkedAndIssueWithoutMaterialsHasNoChild) {
  const LoadResult r = run(
      [&](frmWWProduceOrder& f) {
        f.cmdOk.userClick();
        EXPECT_EQ(lastMessage().prompt, "请选择委外订单！");
        EXPECT_EQ(lastMessage().title, "系统提示");
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        ASSERT_TRUE(f.SSTab1.userSelectTab(1));
        f.cmdOk.userClick();
        EXPECT_EQ(lastMessage().prompt, "请选择委外材料！");
        ASSERT_TRUE(f.Loaded());
        ASSERT_TRUE(f.SSTab1.userSelectTab(0));
        mark(f.VouchListB, "MainID", "1");
        EXPECT_FALSE(f.materialRecordset() == nullptr);
        f.cmdOk.userClick();
      },
      false, 0);
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(r.coll->count(), 2);
  EXPECT_THROW(r.coll->item("Child"), automation::ComError);
}

TEST_F(WWDialog, WhatAnotherWorkstationChangesBehindTheOpenDialog) {
  path_ = test_support::demoCopy("ww_elsewhere.db");
  const LoadResult r = run(
      [&](frmWWProduceOrder& f) {
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        elsewhere("UPDATE OM_ProductPO SET iState = 3 WHERE ID = 1");
        mark(f.VouchListB, "MainID", "1");
        EXPECT_EQ(lastMessage().prompt, "该委外订单已经被关闭!");
        EXPECT_EQ(lastMessage().title, "系统提示");
        EXPECT_EQ(f.VouchListS.Rows(), 1);
        mark(f.VouchListB, "MainID", "1");
        elsewhere("UPDATE OM_ProductPO SET iState = 2 WHERE ID = 1");
        elsewhere("UPDATE OM_POMain SET bUsed = 1 WHERE MainID = 1");
        mark(f.VouchListB, "MainID", "1");
        EXPECT_EQ(lastMessage().prompt, "该委外订单记录已经被限额领料!");
        EXPECT_EQ(f.VouchListS.Rows(), 1);
        mark(f.VouchListB, "MainID", "1");
        elsewhere("UPDATE OM_POMain SET bUsed = 0 WHERE MainID = 1");

        mark(f.VouchListB, "MainID", "1");
        ASSERT_EQ(f.VouchListS.Rows(), 2);
        elsewhere("UPDATE OM_POMain SET cClose = N'杨帆' WHERE MainID = 1");
        f.cmdOk.userClick();
        EXPECT_EQ(lastMessage().prompt, "当前单据可能已经被他人修改请重新过滤后再进行生单！");
        EXPECT_TRUE(f.Loaded());
        f.cmdExit.userClick();
      },
      false, 0);
  EXPECT_TRUE(r.ok);
  EXPECT_FALSE(r.coll);
}

TEST_F(WWDialog, TheLimitCheckIsSkippedForVoucherType12) {
  path_ = test_support::demoCopy("ww_type12.db");
  run(
      [&](frmWWProduceOrder& f) {
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        elsewhere("UPDATE OM_POMain SET bUsed = 1 WHERE MainID = 1");
        const auto before = host_->messages.size();
        mark(f.VouchListB, "MainID", "1");
        EXPECT_EQ(host_->messages.size(), before);
        EXPECT_GT(f.VouchListS.Rows(), 1);
        f.cmdExit.userClick();
      },
      false, 12);
}

TEST_F(WWDialog, TheRestrictedClerkSeesHisProductsAndTwoOfTheirMaterials) {
  run(
      [&](frmWWProduceOrder& f) {
        EXPECT_FALSE(f.inventoryFilter().empty());
        f.cmdFilter.userClick();
        mark(f.VouchListH, "cCode", "WW26110001");
        EXPECT_EQ(f.VouchListB.Rows(), 1) << "none of order 1's products is his";
        mark(f.VouchListH, "cCode", "WW26110001");
        mark(f.VouchListH, "cCode", "WW26120007");
        // Line 11's materials are all out.
        EXPECT_EQ(column(f.VouchListB, "MainID"), (std::set<std::string>{"12", "13"}));
        mark(f.VouchListB, "MainID", "12");
        EXPECT_EQ(column(f.VouchListS, "cInvCode"), (std::set<std::string>{"0103002", "0103003"}));
        // His own material columns: his captions, in his order.
        EXPECT_EQ(f.VouchListS.TextMatrix(0, f.VouchListS.colIndex("iCurOutQuantity")),
                  "本次领料数量");
        EXPECT_LT(f.VouchListS.colIndex("iCurOutQuantity"), f.VouchListS.colIndex("fQuantity"));
        f.cmdExit.userClick();
      },
      false, 0, "omclerk");
}

TEST_F(WWDialog, EmptyBoxesListWhatTheDepartmentsAndTheModeAllow) {
  // The clerk's departments 0201, 0202 and 0401, and orders without one; none of his inventories
  // is an outsourced product, so no line of them is his.
  run(
      [&](frmWWProduceOrder& f) {
        EXPECT_NE(f.filterText().find("P.cDepCode IN("), std::string::npos) << f.filterText();
        f.cmdFilter.userClick();
        const std::set<std::string> departments = column(f.VouchListH, "cDepCode");
        ASSERT_FALSE(departments.empty());
        for (const std::string& d : departments) {
          EXPECT_TRUE(d.empty() || d == "0201" || d == "0202" || d == "0401") << d;
        }
        EXPECT_TRUE(departments.count("")) << "order 6 has no department";
        mark(f.VouchListH, "cCode", "WW26110001");
        EXPECT_EQ(f.VouchListB.Rows(), 1);
        f.cmdExit.userClick();
      },
      true, 0, "clerk");
}

TEST_F(WWDialog, LookupsMenusAndColumnSettings) {
  path_ = test_support::demoCopy("ww_columns.db");
  const LoadResult r = run(
      [&](frmWWProduceOrder& f) {
        // F2 in the vendor box opens its lookup; the chosen code filters, the name shows.
        ASSERT_TRUE(f.moveFocus(f.cmbVen));
        EXPECT_TRUE(f.cmdRefers.Visible());
        host_->picks.push_back({1});
        f.userKey(forms::vbKeyF2, 0, 0);
        ASSERT_FALSE(host_->lookups.empty());
        EXPECT_EQ(f.cmbVen.LinkItem(), "V001");
        EXPECT_NE(f.cmbVen.Text(), "V001");
        // A quote never gets into a box.
        ASSERT_TRUE(f.moveFocus(f.cmbPOID));
        f.userKeyPress('W');
        f.userKeyPress('\'');
        EXPECT_EQ(f.cmbPOID.Text(), "W");
        f.cmbPOID.setText("");
        f.cmdFilter.userClick();
        EXPECT_EQ(column(f.VouchListH, "cVenCode"), (std::set<std::string>{"V001"}));

        mark(f.VouchListH, "cCode", "WW26110001");
        mark(f.VouchListB, "MainID", "1");
        // The parent list's menu clears the product lines' marks, and with them the materials.
        host_->popupChoice = "MnuClearFAll";
        f.VouchListB.userMouseUp(forms::vbRightButton);
        EXPECT_EQ(host_->popups.back(), "MnuFYJCD");
        EXPECT_TRUE(module::MarkedRows(f.VouchListB).empty());
        EXPECT_EQ(f.VouchListS.Rows(), 1);

        // The body columns rearranged by the user: the lines are laid out again and OK still
        // reads them with the statement's own field list.
        host_->columnEdits.push_back("cInvCode,产品,1200;fQuantity,数量,900;MainID,行ID,0");
        f.Command2.userClick();
        ASSERT_EQ(host_->columnRequests.size(), 1u);
        EXPECT_EQ(f.VouchListB.TextMatrix(0, 1), "产品");
        EXPECT_EQ(f.VouchListB.colIndex("cInvName"), 4) << "left out, hidden after the others";
        EXPECT_GT(f.VouchListB.Rows(), 1);
        mark(f.VouchListB, "MainID", "1");
        f.cmdOk.userClick();
      },
      false, 0);
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(test_support::keys(*member(r, "Sub"), "mainid"), (std::set<int>{1}));
  // The user's own set is kept for the next dialog.
  run(
      [&](frmWWProduceOrder& f) {
        EXPECT_EQ(f.VouchListB.TextMatrix(0, 1), "产品");
        f.cmdExit.userClick();
      },
      false, 0);
}

// The order number of every row of a list, in the order the list shows them.
std::vector<std::string> orderNumbers(const forms::MarlinVouchList& list) {
  std::vector<std::string> out;
  for (int r = 1; r < list.Rows(); ++r) out.push_back(list.rowLabel(r));
  return out;
}

// Product lines and materials of two orders each show their own order's number, a column of the
// view alone: OK hands back the same rows with it shown or hidden, and the menus hide it.
TEST_F(WWDialog, LinesAndMaterialsOfTwoOrdersShowTheirOrdersNumber) {
  const auto take = [&](bool hide) {
    return run(
        [&](frmWWProduceOrder& f) {
          f.cmdFilter.userClick();
          const int numberCol = f.VouchListH.colIndex("cCode");
          ASSERT_GT(numberCol, 0);
          const std::string caption = f.VouchListH.TextMatrix(0, numberCol);
          EXPECT_FALSE(caption.empty());
          EXPECT_EQ(f.VouchListB.rowLabelCaption(), caption);
          EXPECT_EQ(f.VouchListS.rowLabelCaption(), caption);
          const int cols = f.VouchListB.Cols();
          mark(f.VouchListH, "cCode", "WW26110001");
          mark(f.VouchListH, "cCode", "WW26120006");
          EXPECT_EQ(f.VouchListB.Cols(), cols) << "no column of the list";
          for (int r = 1; r < f.VouchListB.Rows(); ++r) {
            const std::string line = VouchCell(f.VouchListB, r, "MainID");
            EXPECT_EQ(f.VouchListB.rowLabel(r), line == "10" ? "WW26120006" : "WW26110001")
                << "line " << line;
          }
          mark(f.VouchListB, "MainID", "1");
          mark(f.VouchListB, "MainID", "10");
          ASSERT_GT(f.VouchListS.Rows(), 2);
          std::set<std::string> materialOrders;
          for (int r = 1; r < f.VouchListS.Rows(); ++r) {
            const std::string line = VouchCell(f.VouchListS, r, "mainid");
            EXPECT_EQ(f.VouchListS.rowLabel(r), line == "10" ? "WW26120006" : "WW26110001")
                << "material of line " << line;
            materialOrders.insert(f.VouchListS.rowLabel(r));
          }
          EXPECT_EQ(materialOrders, (std::set<std::string>{"WW26110001", "WW26120006"}));
          // Unmarking an order lists the other's lines, labelled with its number alone.
          mark(f.VouchListH, "cCode", "WW26110001");
          EXPECT_EQ(orderNumbers(f.VouchListB),
                    (std::vector<std::string>(f.VouchListB.Rows() - 1, "WW26120006")));
          mark(f.VouchListH, "cCode", "WW26110001");
          mark(f.VouchListB, "MainID", "1");
          mark(f.VouchListB, "MainID", "10");

          // Either list's menu hides the column in both, and shows it again.
          host_->popupChoice = "MnuFYJCDHeadNumber";
          f.VouchListB.userMouseUp(forms::vbRightButton);
          EXPECT_FALSE(f.VouchListB.rowLabelsShown());
          EXPECT_FALSE(f.VouchListS.rowLabelsShown());
          if (!hide) {
            host_->popupChoice = "MnuZYJCDHeadNumber";
            f.VouchListS.userMouseUp(forms::vbRightButton);
            EXPECT_EQ(host_->popups.back(), "MnuZYJCD");
            EXPECT_TRUE(f.VouchListB.rowLabelsShown());
            EXPECT_TRUE(f.VouchListS.rowLabelsShown());
          }
          host_->popupChoice.clear();
          ASSERT_TRUE(f.SSTab1.userSelectTab(1));
          for (int r = 1; r < f.VouchListS.Rows(); ++r) ASSERT_TRUE(f.VouchListS.userMark(r));
          f.cmdOk.userClick();
        },
        false, 0);
  };
  const LoadResult shown = take(false);
  ASSERT_TRUE(shown.ok) << shown.err;
  const LoadResult hidden = take(true);
  ASSERT_TRUE(hidden.ok) << hidden.err;
  ASSERT_TRUE(shown.coll && hidden.coll);
  ASSERT_EQ(shown.coll->count(), 3);
  EXPECT_EQ(test_support::keys(*member(shown, "Parent"), "ID").size(), 2u);
  EXPECT_EQ(test_support::keys(*member(shown, "Sub"), "mainid"), (std::set<int>{1, 10}));
  for (const char* level : {"Parent", "Sub", "Child"}) {
    EXPECT_EQ(test_support::allValues(*member(shown, level)),
              test_support::allValues(*member(hidden, level)))
        << level;
  }
}

}  // namespace
}  // namespace quillon::dialogs
