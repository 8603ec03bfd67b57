#include <gtest/gtest.h>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/produce_order.h"
#include "classes/public_classes.h"
#include "components/suite/login.h"
#include "dialogs/frmCons/frm_cons.h"
#include "forms/form.h"
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

// Closes every dialog at once, as a user pressing the close box would.
using ClosingHost = test_support::RecordingUiHost;

TEST(ProduceOrder, RegisteredWithItsMembersInOrder) {
  env();
  auto object = automation::CreateObject("Quillon.ProduceOrder");
  ASSERT_TRUE(std::dynamic_pointer_cast<ProduceOrder>(object));
  EXPECT_TRUE(std::dynamic_pointer_cast<ProduceOrder>(
      automation::CreateObject("{44D5F505-DDB2-476F-95C5-AD368DD8711D}")));
  const char* names[] = {
      "load",     "WritefQuantity",     "WritebThrow", "loadStockOrder", "loadConsignment",
      "ShowForm", "WritefDispQuantity", "UnLoadForm"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(object->idOfName(names[i]), i + 1) << names[i];
  EXPECT_GT(object->idOfName("oCollection"), 8);
  EXPECT_GT(object->idOfName("eVouchType"), 8);
  EXPECT_GT(object->idOfName("sErrMsg"), 8);
}

TEST(ProduceOrder, LoadLateBoundOpensTheSessionAndReturnsNothingOnCancel) {
  auto host = std::make_shared<ClosingHost>();
  forms::ScopedUiHost scoped(host);
  env();
  auto po = automation::CreateObject("Quillon.ProduceOrder");
  auto& typed = dynamic_cast<ProduceOrder&>(*po);

  std::vector<Variant> args{Variant(""),    loginOn(env().path()), Variant(7),
                            Variant("old"), Variant::missing(),    Variant(12)};
  EXPECT_EQ(po->invoke("load", InvokeKind::Method, args), Variant(true));
  EXPECT_TRUE(args[2].isNothing());
  EXPECT_EQ(args[3], Variant("old"));
  EXPECT_EQ(host->modalRuns, 1);
  EXPECT_EQ(typed.filterText(), "");
  EXPECT_EQ(po->get("eVouchType"), Variant(12));
  ASSERT_TRUE(typed.connection());
  EXPECT_TRUE(typed.connection()->isOpen());

  // A code builds the filter; a later call without one keeps it.
  args = {Variant("MO26110002"), loginOn(env().path()), Variant(), Variant("")};
  po->invoke("load", InvokeKind::Method, args);
  EXPECT_EQ(typed.filterText(), "cCode = N'MO26110002'");
  args = {Variant(""), loginOn(env().path()), Variant(), Variant("")};
  po->invoke("load", InvokeKind::Method, args);
  EXPECT_EQ(typed.filterText(), "cCode = N'MO26110002'");
  EXPECT_EQ(host->modalRuns, 3);

  // An order number is a value: whatever it holds, the filter stays one comparison.
  args = {Variant("x') delete from pp_POHead --"), loginOn(env().path()), Variant(), Variant("")};
  EXPECT_EQ(po->invoke("load", InvokeKind::Method, args), Variant(true)) << args[3].toString();
  EXPECT_EQ(typed.filterText(), "cCode = N'x'') delete from pp_POHead --'");
  EXPECT_EQ(host->modalRuns, 4);

  // A dialog's filter is one expression or nothing: what else an owner sets is refused and the
  // filter stays.
  dialogs::frmCons cons;
  cons.setFilterText("cCode = N'FH1'");
  for (const char* filter : {"1=1) delete from DispatchList --", "1=1; drop table x", "a = 1 --"})
    EXPECT_THROW(cons.setFilterText(filter), automation::ComError) << filter;
  EXPECT_EQ(cons.filterText(), "cCode = N'FH1'");
}

TEST(ProduceOrder, WriteBacksPassTheServiceTextThrough) {
  const std::string path = env().copy("writes");
  auto host = std::make_shared<ClosingHost>();
  forms::ScopedUiHost scoped(host);
  auto po = std::make_shared<ProduceOrder>();

  // Before any WritefQuantity there is no service to close a line with.
  std::string err = "x";
  EXPECT_FALSE(po->WritebThrow(4, true, err));
  EXPECT_EQ(err, "ProduceOrder:WritebThrow91\r\nObject variable or With block variable not set");

  Variant coll;
  ASSERT_TRUE(po->load("", loginOn(path), coll, err, false, 11));
  auto conn = po->connection();
  const int sub = conn->execute("SELECT min(SubID) FROM pp_POMaterial WHERE MainID = 4")
                      ->value(std::size_t{0})
                      .toLong();

  err = "stale text";
  EXPECT_TRUE(po->WritefQuantity(sub, 2, err, false, ""));
  EXPECT_EQ(err, "");
  // The service's refusal arrives unchanged.
  EXPECT_FALSE(po->WritefQuantity(sub, 1e6, err, false, ""));
  EXPECT_EQ(err.rfind("生产订单材料行[" + std::to_string(sub) + "]的累计出库数量[", 0), 0u) << err;
  EXPECT_FALSE(po->WritefQuantity(99999, 1, err, true, ""));
  EXPECT_EQ(err, "生产订单行[99999]不存在");

  std::vector<Variant> args{Variant(sub), Variant(1.0), Variant(""), Variant(false),
                            Variant("0000")};
  EXPECT_EQ(po->invoke("WritefQuantity", InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[2].toString().rfind("存货[0000]不是", 0), 0u);

  EXPECT_TRUE(po->WritebThrow(4, true, err));
  EXPECT_EQ(err, "");
  EXPECT_FALSE(po->WritebThrow(4, true, err));
  EXPECT_EQ(err, "生产订单行[4]已关闭");

  // Delivery-note lines through the same connection.
  const int line =
      conn->execute("SELECT min(AutoID) FROM DispatchLists")->value(std::size_t{0}).toLong();
  EXPECT_FALSE(po->WritefDispQuantity(line, 1e9, err, 0));
  EXPECT_NE(err.find("发货单"), std::string::npos) << err;
  EXPECT_FALSE(po->WritefDispQuantity(-1, 1, err, 0));
  EXPECT_EQ(err, "发货单行[-1]不存在");
}

// loadConsignment late-bound: the delivery dialog shown with the login and the code's filter, True
// with Nothing when it is closed, ErrMsg the text the dialog left; a login that is none trapped
// under the order dialog's label.
TEST(ProduceOrder, LoadConsignmentShowsTheDeliveryDialogAndTrapsUnderItsLabel) {
  auto host = std::make_shared<ClosingHost>();
  forms::ScopedUiHost scoped(host);
  env();
  auto po = automation::CreateObject("Quillon.ProduceOrder");
  auto& typed = dynamic_cast<ProduceOrder&>(*po);
  typed.sErrMsg = "left from before";
  std::vector<Variant> args{Variant("FH26110001"), loginOn(env().path()), Variant(7),
                            Variant("old")};
  EXPECT_EQ(po->invoke("loadConsignment", InvokeKind::Method, args), Variant(true));
  EXPECT_TRUE(args[2].isNothing());
  EXPECT_EQ(args[3], Variant(""));
  EXPECT_EQ(host->modalRuns, 1);
  ASSERT_TRUE(typed.consignmentDialog());
  EXPECT_EQ(typed.consignmentDialog()->filterText(), "cCode = N'FH26110001'");
  EXPECT_EQ(typed.consignmentDialog()->oLogin, args[1].asObject());

  args = {Variant(""), Variant::nothing(), Variant(), Variant("")};
  EXPECT_EQ(po->invoke("loadConsignment", InvokeKind::Method, args), Variant(false));
  EXPECT_EQ(args[3].toString().rfind("loadStockOrder:load", 0), 0u) << args[3].toString();
  EXPECT_NE(args[3].toString().find("\r\n"), std::string::npos);
}

// ShowForm and UnLoadForm before the load that keeps their dialog: the missing object, for either
// dialog.
TEST(ProduceOrder, DialogsNotLoadedFailClearly) {
  env();
  auto po = automation::CreateObject("Quillon.ProduceOrder");
  for (const bool order : {true, false}) {
    for (const char* member : {"ShowForm", "UnLoadForm"}) {
      std::vector<Variant> which{Variant(order)};
      try {
        po->invoke(member, InvokeKind::Method, which);
        FAIL() << member << " without a loaded dialog";
      } catch (const automation::ComError& e) {
        EXPECT_EQ(e.number(), 91) << member;
      }
    }
  }
}

}  // namespace
}  // namespace quillon::classes
