#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/public_classes.h"
#include "classes/ww_produce_order.h"
#include "components/suite/login.h"
#include "dialogs/frmStockOrder/frm_stock_order.h"
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"
#include "forms/form.h"
#include "module/module_state.h"
#include "module/vouch_lists.h"
#include "support/demo_account.h"
#include "support/recording_ui_host.h"

namespace quillon::classes {
namespace {

using automation::InvokeKind;
using automation::Variant;

const test_support::DemoAccount& env() {
  return test_support::demoAccount(registerAllClasses);
}

Variant loginOn(const std::string& path) {
  return Variant(std::static_pointer_cast<automation::Object>(test_support::loginAs("demo", path)));
}

double number(const std::shared_ptr<ado::Connection>& conn, const std::string& sql) {
  return conn->execute(sql)->value(std::size_t{0}).toDouble();
}

TEST(WWProduceOrder, RegisteredWithItsTwelveMembersInSlotOrder) {
  env();
  auto object = automation::CreateObject("Quillon.WWProduceOrder");
  ASSERT_TRUE(std::dynamic_pointer_cast<WWProduceOrder>(object));
  EXPECT_TRUE(std::dynamic_pointer_cast<WWProduceOrder>(
      automation::CreateObject("{3D544A0A-3258-45AD-B026-879CAAF86D34}")));
  const char* names[] = {
      "oCollection",    "eVouchType",         "sErrMsg",        "load",
      "WritefQuantity", "WritebThrow",        "loadStockOrder", "loadConsignment",
      "ShowForm",       "WritefDispQuantity", "UnLoadForm",     "bIsSTQc"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(object->idOfName(names[i]), i + 1) << names[i];
}

TEST(WWProduceOrder, TheOrderFilterStaysAndCancelReturnsNothingAfterAnOk) {
  auto host = std::make_shared<test_support::RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  env();
  auto ww = automation::CreateObject("Quillon.WWProduceOrder");
  auto& typed = dynamic_cast<WWProduceOrder&>(*ww);
  std::set<std::string> shown;
  bool confirm = true;
  host->onModal = [&](forms::Form& form) {
    auto& f = dynamic_cast<dialogs::frmWWProduceOrder&>(form);
    f.cmdFilter.userClick();
    shown.clear();
    for (int r = 1; r < f.VouchListH.Rows(); ++r)
      shown.insert(module::VouchCell(f.VouchListH, r, "cCode"));
    if (!confirm || f.VouchListH.Rows() < 2) {
      f.cmdExit.userClick();
      return;
    }
    ASSERT_TRUE(f.VouchListH.userMark(1));
    ASSERT_TRUE(f.VouchListB.userMark(1));
    f.cmdOk.userClick();
  };

  std::vector<Variant> args{Variant("WW26110001"), loginOn(env().path()), Variant(),
                            Variant("old"),        Variant(true),         Variant(0)};
  EXPECT_EQ(ww->invoke("load", InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(shown, (std::set<std::string>{"WW26110001"}));
  ASSERT_FALSE(args[2].isNothing());
  EXPECT_EQ(args[3], Variant("old")) << "success leaves ErrMsg alone";
  EXPECT_EQ(typed.filterText(), "cCode = N'WW26110001'");

  // No number: the last one still holds. Cancel now returns Nothing although OK came before.
  confirm = false;
  args = {Variant(""), loginOn(env().path()), Variant(),
          Variant(""), Variant::missing(),    Variant(77)};
  EXPECT_EQ(ww->invoke("load", InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(shown, (std::set<std::string>{"WW26110001"}));
  EXPECT_TRUE(args[2].isNothing());
  EXPECT_EQ(ww->get("eVouchType"), Variant(77));
  EXPECT_EQ(module::gVouchType, 77);
  EXPECT_FALSE(typed.orderDialog()->bOI) << "bOI defaults to False";

  // A quote in the host's number stays inside its literal.
  args[0] = Variant("WW'1 OR 1=1 --");
  EXPECT_EQ(ww->invoke("load", InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(typed.filterText(), "cCode = N'WW''1 OR 1=1 --'");
  EXPECT_TRUE(shown.empty());

  // Without a login nothing is shown and the trapped label comes back.
  args = {Variant(""), Variant::nothing(), Variant(), Variant(""), Variant(false), Variant(0)};
  const int runs = host->modalRuns;
  EXPECT_EQ(ww->invoke("load", InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[3].toString().rfind("WWProduceOrder:load91\r\n", 0), 0u) << args[3].toString();
  EXPECT_TRUE(args[2].isNothing());
  EXPECT_EQ(host->modalRuns, runs);
}

TEST(WWProduceOrder, STQcPerInstanceAndForTheLibrary) {
  env();
  auto a = automation::CreateObject("Quillon.WWProduceOrder");
  auto b = automation::CreateObject("Quillon.WWProduceOrder");
  EXPECT_EQ(a->get("bIsSTQc"), Variant(false));
  a->let("bIsSTQc", Variant(true));
  EXPECT_TRUE(module::gIsSTQc);
  EXPECT_EQ(a->get("bIsSTQc"), Variant(true));
  EXPECT_EQ(b->get("bIsSTQc"), Variant(false));
  b->let("bIsSTQc", Variant(false));
  EXPECT_FALSE(module::gIsSTQc) << "the last assignment of any instance";
  EXPECT_EQ(a->get("bIsSTQc"), Variant(true));
}

TEST(WWProduceOrder, WriteBacksChangeTheAccountOrNothingWithTheServiceText) {
  const std::string path = env().copy("ww_writes");
  auto host = std::make_shared<test_support::RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  auto ww = automation::CreateObject("Quillon.WWProduceOrder");
  auto& typed = dynamic_cast<WWProduceOrder&>(*ww);

  std::string err = "x";
  EXPECT_FALSE(typed.WritebThrow(1, true, err));
  EXPECT_EQ(err, "WWProduceOrder:WritebThrow91\r\nObject variable or With block variable not set");

  Variant coll;
  ASSERT_TRUE(typed.load("", loginOn(path), coll, err, false, 0));
  const auto conn = typed.connection();
  const std::string issued = "SELECT fOutQuantity FROM OM_PODetails WHERE SubID = 1";
  const std::string received = "SELECT fInQuantity FROM OM_POMain WHERE MainID = 1";

  // Issue: 10 more of material line 1; beyond the order it is refused and nothing changes.
  std::vector<Variant> args{Variant(1), Variant(10.0), Variant(), Variant(), Variant("old")};
  EXPECT_EQ(ww->invoke("WritefQuantity", InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(args[4], Variant(""));
  EXPECT_TRUE(args[2].isEmpty() && args[3].isEmpty()) << "an issue leaves the counters alone";
  EXPECT_DOUBLE_EQ(number(conn, issued), 450);
  args = {Variant(1), Variant(1e6), Variant(), Variant(), Variant("")};
  EXPECT_EQ(ww->invoke("WritefQuantity", InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[4].toString().rfind("委外订单材料行[1]的累计出库数量[", 0), 0u);
  EXPECT_DOUBLE_EQ(number(conn, issued), 450);

  // Receipt: the took and invalid counters come back through the host's variables.
  args = {Variant(1), Variant(5.0), Variant(-1.0), Variant(0.0), Variant(""), Variant(true)};
  EXPECT_EQ(ww->invoke("WritefQuantity", InvokeKind::Method, args), Variant(true));
  EXPECT_DOUBLE_EQ(args[2].toDouble(), 5);
  EXPECT_DOUBLE_EQ(args[3].toDouble(), 0);
  EXPECT_DOUBLE_EQ(number(conn, received), 85);
  args = {Variant(1),  Variant(5.0),  Variant(-1.0),     Variant(0.0),
          Variant(""), Variant(true), Variant("0201002")};
  EXPECT_EQ(ww->invoke("WritefQuantity", InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[4], Variant("存货[0201002]不是委外订单行[1]的存货[0201001]"));
  EXPECT_DOUBLE_EQ(args[2].toDouble(), -1) << "a refusal leaves the host's variables alone";
  EXPECT_DOUBLE_EQ(number(conn, received), 85);
  // A quantity that is no number is trapped with the member's label.
  args = {Variant(1), Variant("five"), Variant(), Variant(), Variant("")};
  EXPECT_EQ(ww->invoke("WritefQuantity", InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[4].toString().rfind("WWProduceOrder:WritefQuantity13\r\n", 0), 0u);

  // Closing through the service the last WritefQuantity created.
  EXPECT_TRUE(typed.WritebThrow(1, true, err));
  EXPECT_EQ(err, "");
  EXPECT_FALSE(typed.WritebThrow(1, true, err));
  EXPECT_EQ(err, "委外订单行[1]已关闭");
  EXPECT_TRUE(typed.WritebThrow(1, false, err));

  EXPECT_FALSE(typed.WritefDispQuantity(-1, 1, err, 0));
  EXPECT_EQ(err, "发货单行[-1]不存在");
}

TEST(WWProduceOrder, TheOrderAndDeliveryDialogsAreKeptForShowFormAndUnLoadForm) {
  auto host = std::make_shared<test_support::RecordingUiHost>();
  forms::ScopedUiHost scoped(host);
  env();
  std::string shownForm;
  host->onModal = [&](forms::Form& form) { shownForm = form.Name(); };
  auto ww = automation::CreateObject("Quillon.WWProduceOrder");
  auto& typed = dynamic_cast<WWProduceOrder&>(*ww);

  std::vector<Variant> none;
  std::vector<Variant> delivery{Variant(false)};
  EXPECT_THROW(ww->invoke("ShowForm", InvokeKind::Method, none), automation::ComError);
  EXPECT_THROW(ww->invoke("ShowForm", InvokeKind::Method, delivery), automation::ComError);

  std::vector<Variant> args{Variant("PO1"), loginOn(env().path()), Variant(), Variant(""),
                            Variant(false)};
  EXPECT_EQ(ww->invoke("loadStockOrder", InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(shownForm, "frmStockOrder");
  EXPECT_TRUE(args[2].isNothing());
  EXPECT_EQ(args[4], Variant(true)) << "the flag the order dialog left";
  EXPECT_EQ(typed.filterText(), "cCode = N'PO1'");
  shownForm.clear();
  ww->invoke("ShowForm", InvokeKind::Method, none);
  EXPECT_EQ(shownForm, "frmStockOrder");
  ww->invoke("UnLoadForm", InvokeKind::Method, none);
  EXPECT_THROW(ww->invoke("ShowForm", InvokeKind::Method, delivery), automation::ComError)
      << "no delivery-note dialog before loadConsignment";

  args = {Variant("DL'1"), loginOn(env().path()), Variant(7), Variant("old")};
  EXPECT_EQ(ww->invoke("loadConsignment", InvokeKind::Method, args), Variant(true));
  EXPECT_EQ(shownForm, "frmCons");
  EXPECT_TRUE(args[2].isNothing()) << "closed without OK";
  EXPECT_EQ(args[3], Variant(""));
  EXPECT_EQ(typed.filterText(), "cCode = N'DL''1'");
  shownForm.clear();
  ww->invoke("ShowForm", InvokeKind::Method, delivery);
  EXPECT_EQ(shownForm, "frmCons");
  ww->invoke("UnLoadForm", InvokeKind::Method, delivery);

  args = {Variant(""), Variant::nothing(), Variant(), Variant("")};
  EXPECT_EQ(ww->invoke("loadConsignment", InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[3].toString().rfind("loadStockOrder:load", 0), 0u) << args[3].toString();
  EXPECT_TRUE(args[2].isNothing());
}

}  // namespace
}  // namespace quillon::classes
