#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/text_compare.h"
#include "classes/produce_order.h"
#include "components/suite/account_database.h"
#include "dialogs/frmProduceOrder/frm_produce_order.h"
#include "module/module_state.h"
#include "module/vouch_lists.h"
#include "produce_order_fixture.h"
#include "support/demo_account.h"
#include "support/memory_view_settings.h"
#include "support/recording_ui_host.h"

namespace quillon::dialogs {
namespace {

using automation::Variant;
using test_support::RecordingUiHost;

struct LoadResult {
  bool ok = false;
  std::string err;
  std::shared_ptr<automation::Collection> coll;
  bool nothing = false;
};

// Shows the dialog through ProduceOrder.load with `drive` playing the user.
LoadResult runLoad(classes::ProduceOrder& po, RecordingUiHost& host,
                   const std::shared_ptr<components::suite::Login>& login,
                   std::function<void(frmProduceOrder&)> drive, const std::string& code = "",
                   bool bOI = false, int voucherType = 0) {
  host.onModal = [drive](forms::Form& form) { drive(dynamic_cast<frmProduceOrder&>(form)); };
  LoadResult r;
  Variant coll = Variant::nothing();
  r.ok = po.load(code, Variant(std::static_pointer_cast<automation::Object>(login)), coll, r.err,
                 bOI, voucherType);
  r.nothing = coll.isNothing();
  if (!r.nothing) r.coll = automation::toObjectAs<automation::Collection>(coll);
  return r;
}

std::shared_ptr<classes::ProduceOrder> newOrder() {
  return std::make_shared<classes::ProduceOrder>();
}

std::set<std::string> texts(const forms::ListView& list) {
  std::set<std::string> out;
  for (int i = 1; i <= list.itemCount(); ++i) out.insert(list.item(i).Text());
  return out;
}

int rowOf(const forms::ListView& list, const std::string& text) {
  for (int i = 1; i <= list.itemCount(); ++i) {
    if (list.item(i).Text() == text) return i;
  }
  return 0;
}

std::shared_ptr<ado::Recordset> member(const LoadResult& r, const char* key) {
  return automation::toObjectAs<ado::Recordset>(r.coll->item(key));
}

TEST(frmProduceOrder, MaterialsOfOneLineReachTheHost) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  int materials = 0;
  LoadResult r = runLoad(*po, *host, testing::loginAs("demo"), [&](frmProduceOrder& f) {
    EXPECT_EQ(f.Caption(), "选择生产计划和投产的存货");
    EXPECT_TRUE(f.chkAll.Enabled());
    EXPECT_EQ(f.chkAll.Value(), forms::vbChecked);
    f.cmdFilter.userClick();
    // Executed lines count while chkAll is checked, so orders 6 and 7 show too.
    EXPECT_EQ(texts(f.lstParent), (std::set<std::string>{"1", "2", "3", "5", "6", "7"}));
    EXPECT_EQ(f.lstParent.column(2).text, "委外订单号");
    f.chkAll.userClick();
    f.cmdFilter.userClick();
    EXPECT_EQ(texts(f.lstParent), (std::set<std::string>{"1", "2", "3", "5"}));

    ASSERT_TRUE(f.lstParent.userCheck(rowOf(f.lstParent, "1")));
    EXPECT_TRUE(f.cmbInv.Enabled());
    EXPECT_EQ(texts(f.lstSub), (std::set<std::string>{"1", "2"}));
    EXPECT_FALSE(f.lstSub.item(1).Checked());  // the materials tab is in use
    EXPECT_EQ(f.lstSub.column(1).text, "选择");
    EXPECT_EQ(f.lstSub.column(f.lstSub.columnByText("投产数量")).width > 0, true);

    // Checking a second head unchecks the first one.
    f.lstParent.userCheck(rowOf(f.lstParent, "2"));
    EXPECT_FALSE(f.lstParent.item(rowOf(f.lstParent, "1")).Checked());
    EXPECT_EQ(texts(f.lstSub), (std::set<std::string>{"4"}));
    f.lstParent.userCheck(rowOf(f.lstParent, "2"));  // unchecked: the lines go
    EXPECT_EQ(f.lstSub.itemCount(), 0);
    EXPECT_FALSE(f.cmbInv.Enabled());
    EXPECT_FALSE(f.lblInv.Enabled());

    f.lstParent.userCheck(rowOf(f.lstParent, "1"));
    f.lstSub.userCheck(1);
    materials = f.lstChild.itemCount();
    EXPECT_GT(materials, 0);
    for (int i = 1; i <= f.lstChild.itemCount(); ++i) EXPECT_TRUE(f.lstChild.item(i).Checked());
    EXPECT_EQ(f.lstChild.column(f.lstChild.columnByText("本次出库数量")).width > 0, true);
    f.lstSub.userCheck(2);  // one product line at a time
    EXPECT_FALSE(f.lstSub.item(1).Checked());
    f.lstSub.userCheck(1);
    // Leave one material out.
    f.lstChild.userCheck(2);
    f.cmdOk.userClick();
    EXPECT_FALSE(f.Loaded());
  });
  ASSERT_TRUE(r.ok) << r.err;
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(r.coll->count(), 3u);
  EXPECT_EQ(member(r, "Parent")->recordCount(), 1);
  EXPECT_EQ(member(r, "Parent")->value("ccode"), Variant("MO26110001"));
  EXPECT_EQ(member(r, "Sub")->recordCount(), 1);
  EXPECT_EQ(member(r, "Sub")->value("mainid").toLong(), 1);
  EXPECT_EQ(member(r, "Child")->recordCount(), materials - 1);
  EXPECT_NE(module::gSQL.find(" AND  id IN ("), std::string::npos);
  EXPECT_TRUE(host->messages.empty()) << host->lastMessage();
}

TEST(frmProduceOrder, UncheckingTheHeadKeepsTheMaterialList) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  const LoadResult r = runLoad(*po, *host, testing::loginAs("demo"), [&](frmProduceOrder& f) {
    f.cmdFilter.userClick();
    ASSERT_TRUE(f.lstParent.userCheck(rowOf(f.lstParent, "1")));
    f.lstSub.userCheck(1);
    const int materials = f.lstChild.itemCount();
    ASSERT_GT(materials, 0);
    f.lstChild.userCheck(1);  // one left out, as the person chose

    f.lstParent.userCheck(rowOf(f.lstParent, "1"));  // unchecked: its lines go, not the materials
    EXPECT_EQ(f.lstSub.itemCount(), 0);
    ASSERT_EQ(f.lstChild.itemCount(), materials);
    EXPECT_FALSE(f.lstChild.item(1).Checked());
    for (int i = 2; i <= materials; ++i) EXPECT_TRUE(f.lstChild.item(i).Checked());

    // Another order's lines come; the materials stay until a line of it is checked.
    f.lstParent.userCheck(rowOf(f.lstParent, "2"));
    EXPECT_GT(f.lstSub.itemCount(), 0);
    EXPECT_EQ(f.lstChild.itemCount(), materials);
    f.cmdOk.userClick();  // materials, but no product line checked
    EXPECT_EQ(host->lastMessage(), "请选择产品！");
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(f.lstChild.itemCount(), materials);
    f.cmdExit.userClick();
  });
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.nothing);
}

// A host that draws its lists: a list of more rows than its first screen shows those while the
// rest are read and added (on the renderer's idle slices, or when anything reads the list).
class DrawingHost : public RecordingUiHost {
 public:
  bool listsGrowWhileShown() const override { return true; }
};

// Each head as listed, in order: its key and order number.
std::vector<std::string> headsOf(const forms::ListView& list) {
  std::vector<std::string> out;
  for (int i = 1; i <= list.itemCount(); ++i)
    out.push_back(list.item(i).Text() + "|" + list.item(i).SubItems(1));
  return out;
}

TEST(frmProduceOrder, ManyHeadsDrawnComeWholeBeforeAnythingReadsThem) {
  // Far more open orders than a first screen, each with one product line.
  const std::string account = testing::demoCopy("produce_order_many");
  auto cn = test_support::connect(account);
  cn->execute(
      "INSERT INTO pp_POHead (ID, cCode, dDate, iProperty, iState, cMaker, cVerifier) SELECT "
      "500000 + I.iId * 1000 + J.iId, 'MOZ' + I.cInvCode + J.cInvCode, '2026-11-30', 1, 2, "
      "'demo', 'demo' FROM Inventory I, Inventory J");
  cn->execute(
      "INSERT INTO pp_POLine (MainID, ID, iRowNo, cInvCode, fQuantity, fInQuantity, cWhCode) "
      "SELECT ID, ID, 1, '0101001', 10, 0, '01' FROM pp_POHead WHERE ID >= 500000");
  const auto login = testing::loginAs("demo", account);
  std::vector<std::string> whole;
  auto host = std::make_shared<RecordingUiHost>();
  {
    forms::ScopedUiHost scoped(host);
    runLoad(*newOrder(), *host, login, [&](frmProduceOrder& f) {
      f.cmdFilter.userClick();
      whole = headsOf(f.lstParent);
      f.cmdExit.userClick();
    });
  }
  ASSERT_GT(whole.size(), 2 * module::kShownListFirstRows);

  auto drawing = std::make_shared<DrawingHost>();
  forms::ScopedUiHost scoped(drawing);
  const LoadResult r = runLoad(*newOrder(), *drawing, login, [&](frmProduceOrder& f) {
    f.cmdFilter.userClick();
    ASSERT_TRUE(f.lstParent.filling());
    EXPECT_EQ(f.lstParent.shownItemCount(), static_cast<int>(module::kShownListFirstRows));
    EXPECT_EQ(headsOf(f.lstParent), whole);  // reading them adds them all
    EXPECT_FALSE(f.lstParent.filling());

    // A head past the first screen, checked while the rest still load, lists its line.
    f.cmdFilter.userClick();
    ASSERT_TRUE(f.lstParent.filling());
    ASSERT_TRUE(f.lstParent.userCheck(static_cast<int>(whole.size())));
    EXPECT_EQ(f.lstSub.itemCount(), 1);
    EXPECT_EQ(f.lstParent.item(static_cast<int>(whole.size())).Text(),
              whole.back().substr(0, whole.back().find('|')));
    f.cmdExit.userClick();
  });
  EXPECT_TRUE(r.ok) << r.err;
  EXPECT_TRUE(drawing->messages.empty()) << drawing->lastMessage();
}

// Another workstation drops what the heads are read from after they were listed: OK's re-read
// fails, and the error is load's, not a box over the open dialog.
TEST(frmProduceOrder, AnErrorOfOksReReadReachesLoadsTrap) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  const std::string account = testing::demoCopy("produce_order_dropped");
  const auto login = testing::loginAs("demo", account);
  const LoadResult r = runLoad(*po, *host, login, [&](frmProduceOrder& f) {
    f.cmdFilter.userClick();
    ASSERT_TRUE(f.lstParent.userCheck(rowOf(f.lstParent, "1")));
    f.lstSub.userCheck(1);
    ASSERT_GT(f.lstChild.itemCount(), 0);
    test_support::connect(account)->execute("DROP VIEW pp_poheader");
    f.cmdOk.userClick();
    EXPECT_FALSE(f.Loaded());
  });
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.err.starts_with("ProduceOrder:load")) << r.err;
  EXPECT_NE(automation::asciiLower(r.err).find("pp_poheader"), std::string::npos) << r.err;
  EXPECT_TRUE(r.nothing);
  EXPECT_TRUE(host->messages.empty()) << host->lastMessage();
}

TEST(frmProduceOrder, CancelAndRefusalsKeepTheDialogAsItWas) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  // Leaving without OK: True and Nothing, on cmdExit and on the close box alike.
  LoadResult r = runLoad(*po, *host, testing::loginAs("demo"),
                         [](frmProduceOrder& f) { f.cmdExit.userClick(); });
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.nothing);
  r = runLoad(*po, *host, testing::loginAs("demo"), [](frmProduceOrder&) {});
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.nothing);

  r = runLoad(*po, *host, testing::loginAs("demo"), [&](frmProduceOrder& f) {
    f.cmdOk.userClick();  // nothing listed yet
    EXPECT_EQ(host->lastMessage(), "请选择材料！");
    EXPECT_EQ(host->messages.back().title, "系统提示");
    EXPECT_EQ(host->messages.back().icon, forms::vbInformation);
    f.cmdFilter.userClick();
    f.lstParent.userCheck(rowOf(f.lstParent, "2"));
    f.cmdOk.userClick();  // a head but no line
    EXPECT_EQ(host->lastMessage(), "请选择材料！");
    EXPECT_EQ(f.SSTab1.Tab(), 1);
    EXPECT_EQ(f.Caption(), "选择生产订单和生产的存货");
    f.lstSub.userCheck(1);
    // Every material unchecked through the pop-up menu.
    host->popupChoice = "MnuClearCAll";
    f.lstChild.userMouseUp(forms::vbRightButton);
    EXPECT_EQ(host->popups.back(), "MnuZYJCD");
    for (int i = 1; i <= f.lstChild.itemCount(); ++i) EXPECT_FALSE(f.lstChild.item(i).Checked());
    f.cmdOk.userClick();
    EXPECT_EQ(host->lastMessage(), "请选择材料！");
    f.lstChild.userCheck(1);
    host->popupChoice = "MnuClearFAll";
    f.lstSub.userMouseUp(forms::vbRightButton);
    EXPECT_EQ(host->popups.back(), "MnuFYJCD");
    EXPECT_FALSE(f.lstSub.item(1).Checked());
    f.cmdOk.userClick();  // materials but no product line
    EXPECT_EQ(host->lastMessage(), "请选择产品！");
    EXPECT_EQ(f.SSTab1.Tab(), 0);
    EXPECT_TRUE(f.Loaded());
    EXPECT_EQ(f.lstChild.itemCount() > 0, true);
  });
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.nothing);
}

// A person finds the dialog with the filter last used (texts and the codes the lookups stored),
// and the clear button empties it for good; a scripted run neither restores nor is restored from.
TEST(frmProduceOrder, APersonsLastFilterIsRememberedUntilCleared) {
  const auto settings = std::make_shared<test_support::MemoryViewSettings>();
  const test_support::ScopedViewSettings installed(settings);
  auto person = std::make_shared<test_support::PersonUiHost>();
  auto script = std::make_shared<RecordingUiHost>();
  const auto login = testing::loginAs("demo");
  auto po = newOrder();
  {
    forms::ScopedUiHost scoped(person);
    runLoad(*po, *person, login, [&](frmProduceOrder& f) {
      f.txtLDate.setText("2026-01-01");
      f.cmbPOID.setText("PO-9");
      f.moveFocus(f.cmbVen);
      f.cmbVen.setText("V001");
      // The item field takes a code only once a head is checked: a disabled field is no part of
      // the filter remembered.
      f.cmbInv.setText("0303001");
      f.cmdFilter.userClick();
      f.cmdExit.userClick();
    });
  }
  EXPECT_EQ(settings->items["frmProduceOrder/Filter"], "1");
  EXPECT_EQ(settings->items["frmProduceOrder/Filter.cmbVen.Codes"], "V001");
  EXPECT_EQ(settings->items["frmProduceOrder/Filter.cmbInv"], "");
  {
    forms::ScopedUiHost scoped(script);
    runLoad(*po, *script, login, [&](frmProduceOrder& f) {
      EXPECT_EQ(f.cmbPOID.Text(), "");
      EXPECT_EQ(f.cmbVen.LinkItem(), "");
      f.cmbPOID.setText("SCRIPTED");
      f.cmdFilter.userClick();
      f.cmdExit.userClick();
    });
  }
  EXPECT_EQ(settings->items["frmProduceOrder/Filter.cmbPOID"], "PO-9");
  {
    forms::ScopedUiHost scoped(person);
    runLoad(*po, *person, login, [&](frmProduceOrder& f) {
      EXPECT_EQ(f.txtLDate.Text(), "2026-01-01");
      EXPECT_EQ(f.cmbPOID.Text(), "PO-9");
      EXPECT_EQ(f.cmbVen.LinkItem(), "V001");
      EXPECT_NE(f.cmbVen.Text(), "");
      EXPECT_EQ(f.cmbInv.Text(), "");
      EXPECT_EQ(f.cmdClearFilter.Caption(), "清除");
      f.cmdClearFilter.userClick();
      for (const forms::TextBox* box :
           {&f.txtLDate, &f.txtUDate, &f.cmbDept, &f.cmbPerson, &f.cmbPOID, &f.cmbVen, &f.cmbInv}) {
        EXPECT_EQ(box->Text(), "") << box->Name();
        EXPECT_EQ(box->LinkItem(), "") << box->Name();
      }
      f.cmdExit.userClick();
    });
    runLoad(*po, *person, login, [&](frmProduceOrder& f) {
      EXPECT_EQ(f.cmbPOID.Text(), "");
      EXPECT_EQ(f.cmbVen.LinkItem(), "");
      f.cmdExit.userClick();
    });
  }
  EXPECT_TRUE(person->messages.empty()) << person->lastMessage();
}

TEST(frmProduceOrder, ItemOnlyFilterNarrowsTheListedLines) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  runLoad(*po, *host, testing::loginAs("demo"), [&](frmProduceOrder& f) {
    f.cmdFilter.userClick();
    const int heads = f.lstParent.itemCount();
    f.lstParent.userCheck(rowOf(f.lstParent, "1"));
    ASSERT_EQ(f.lstSub.itemCount(), 2);
    // A typed code is checked on leaving the field: the name is shown, the code kept.
    ASSERT_TRUE(f.cmbInv.Enabled());
    f.moveFocus(f.cmbInv);
    EXPECT_TRUE(f.cmdRefers.Visible());
    f.cmbInv.setText("0303001");
    f.cmdFilter.userClick();
    EXPECT_EQ(f.cmbInv.LinkItem(), "0303001");
    EXPECT_NE(f.cmbInv.Text(), "0303001");
    EXPECT_EQ(f.lstParent.itemCount(), heads);
    EXPECT_TRUE(f.lstParent.item(rowOf(f.lstParent, "1")).Checked());
    EXPECT_EQ(texts(f.lstSub), (std::set<std::string>{"2"}));
  });
  EXPECT_TRUE(host->messages.empty()) << host->lastMessage();
}

TEST(frmProduceOrder, VoucherTypesAndOutsourcedIssue) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  // Type 71: only outsourced processing, even without any filter field.
  runLoad(
      *po, *host, testing::loginAs("demo"),
      [&](frmProduceOrder& f) {
        f.chkAll.setValue(forms::vbUnchecked);
        f.cmdFilter.userClick();
        EXPECT_EQ(texts(f.lstParent), (std::set<std::string>{"3"}));
        EXPECT_NE(f.headRecordset()->source().find(" iProperty =2 "), std::string::npos);
      },
      "", false, 71);

  // Type 39: chkAll off and disabled, the receipt variant lists lines still to receive.
  runLoad(
      *po, *host, testing::loginAs("demo"),
      [&](frmProduceOrder& f) {
        EXPECT_FALSE(f.chkAll.Enabled());
        EXPECT_EQ(f.chkAll.Value(), forms::vbUnchecked);
        EXPECT_TRUE(f.allLinesFlagValue());
        f.cmdFilter.userClick();
        EXPECT_EQ(texts(f.lstParent), (std::set<std::string>{"1", "2", "3", "5", "6", "7"}));
        f.lstParent.userCheck(rowOf(f.lstParent, "2"));
        EXPECT_EQ(texts(f.lstSub), (std::set<std::string>{"4"}));
      },
      "", false, 39);

  // OI: the tabs are off, the lines arrive checked, and OK returns heads and lines only.
  LoadResult r = runLoad(
      *po, *host, testing::loginAs("demo"),
      [&](frmProduceOrder& f) {
        EXPECT_FALSE(f.SSTab1.TabEnabled(0));
        EXPECT_FALSE(f.SSTab1.TabEnabled(1));
        f.cmdFilter.userClick();
        f.lstParent.userCheck(rowOf(f.lstParent, "3"));
        ASSERT_EQ(f.lstSub.itemCount(), 1);
        EXPECT_TRUE(f.lstSub.item(1).Checked());
        f.cmdOk.userClick();
      },
      "", true, 0);
  ASSERT_TRUE(r.ok) << r.err;
  ASSERT_TRUE(r.coll);
  EXPECT_EQ(r.coll->count(), 2u);
  EXPECT_TRUE(r.coll->contains("Parent"));
  EXPECT_TRUE(r.coll->contains("Sub"));
  EXPECT_FALSE(r.coll->contains("Child"));
  EXPECT_EQ(member(r, "Sub")->value("mainid").toLong(), 5);

  // The order code from the host narrows the heads.
  runLoad(
      *po, *host, testing::loginAs("demo"),
      [&](frmProduceOrder& f) {
        EXPECT_EQ(f.filterText().rfind("cCode = N'MO26110002' AND ", 0), 0u);
        f.cmdFilter.userClick();
        EXPECT_EQ(texts(f.lstParent), (std::set<std::string>{"2"}));
      },
      "MO26110002");
  EXPECT_TRUE(host->messages.empty()) << host->lastMessage();
}

TEST(frmProduceOrder, StaleLinesAreRefusedOnOk) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  const std::string path = testing::demoCopy("stale");
  auto other = std::make_shared<ado::Connection>();
  other->open(components::suite::accountConnectionString(path));
  auto po = newOrder();
  LoadResult r = runLoad(*po, *host, testing::loginAs("demo", path), [&](frmProduceOrder& f) {
    f.cmdFilter.userClick();
    f.lstParent.userCheck(rowOf(f.lstParent, "2"));
    f.lstSub.userCheck(1);
    ASSERT_GT(f.lstChild.itemCount(), 0);
    // Someone closes the chosen line after it was listed.
    other->execute("UPDATE pp_POLine SET cClose = 'x' WHERE MainID = " + f.lstSub.item(1).Text());
    f.cmdOk.userClick();
    ASSERT_EQ(host->lastMessage(), "当前单据可能已经被他人修改请重新过滤后再进行生单！");
    EXPECT_EQ(host->messages.back().icon, forms::vbInformation);
    EXPECT_TRUE(f.Loaded());
    f.cmdExit.userClick();
  });
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.nothing);
}

TEST(frmProduceOrder, RestrictedUserSeesOnlyPermittedDepartmentsAndItems) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  runLoad(*po, *host, testing::loginAs("clerk"), [&](frmProduceOrder& f) {
    EXPECT_NE(f.inventoryConditionText().find("II.iid IN("), std::string::npos);
    f.chkAll.setValue(forms::vbUnchecked);
    f.cmdFilter.userClick();
    // Order 1 belongs to department 0203, which the clerk may only read.
    EXPECT_EQ(texts(f.lstParent), (std::set<std::string>{"2", "3", "5"}));
    f.cmbDept.setLinkItem("0203");
    f.cmbDept.setText("0203");
    f.cmdFilter.userClick();
    EXPECT_EQ(f.lstParent.itemCount(), 0);
  });
}

TEST(frmProduceOrder, KeysAndLookupsOfTheFilterFields) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  runLoad(*po, *host, testing::loginAs("demo"), [&](frmProduceOrder& f) {
    f.moveFocus(f.cmbPOID);
    f.userKeyPress('M');
    f.userKeyPress('\'');
    EXPECT_EQ(f.cmbPOID.Text(), "M");
    EXPECT_EQ(host->beeps, 1);
    EXPECT_FALSE(f.cmdRefers.Visible());  // no lookup for the order code

    f.moveFocus(f.cmbVen);
    EXPECT_TRUE(f.cmdRefers.Visible());
    f.cmbVen.setText("V00");
    host->picks.push_back({1});
    int key = forms::vbKeyF2;
    f.userKey(key, 0, 0);
    ASSERT_EQ(host->lookups.size(), 1u);
    EXPECT_NE(host->lookups.back().query.find("FROM Vendor WHERE (cVencode LIKE N'%V00%'"),
              std::string::npos);
    EXPECT_EQ(f.cmbVen.LinkItem(), "V001");

    f.moveFocus(f.txtLDate);
    f.txtLDate.setText("2026-13-01");
    EXPECT_FALSE(f.moveFocus(f.txtUDate));
    EXPECT_EQ(host->lastMessage(), "日期格式不正确，必须按格式YYYY-MM-DD输入");
    // A reversed range is taken the right way round.
    f.txtLDate.setText("2026-12-01");
    f.txtUDate.setText("2026-11-20");
    f.cmbVen.setText("");
    f.cmbVen.setLinkItem("");
    f.cmbPOID.setText("");
    f.cmdFilter.userClick();
    EXPECT_EQ(texts(f.lstParent), (std::set<std::string>{"5", "6"}));
  });
}

TEST(frmProduceOrder, FailuresReachTheHostAsTrappedErrors) {
  auto host = std::make_shared<RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto po = newOrder();
  Variant coll = Variant::nothing();
  std::string err;
  EXPECT_FALSE(po->load("", Variant::nothing(), coll, err, false, 0));
  EXPECT_EQ(err.rfind("ProduceOrder:load91\r\n", 0), 0u) << err;
  EXPECT_TRUE(coll.isNothing());

  // A code with a quote stays one literal: no order matches, nothing breaks.
  LoadResult r = runLoad(
      *po, *host, testing::loginAs("demo"),
      [&](frmProduceOrder& f) {
        f.cmdFilter.userClick();
        EXPECT_EQ(f.lstParent.itemCount(), 0);
      },
      "x' OR '1'='1");
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(host->messages.empty()) << host->lastMessage();
}

}  // namespace
}  // namespace quillon::dialogs
