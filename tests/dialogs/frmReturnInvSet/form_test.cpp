// The return-inventory picker driven as a person would, through ReturnInvSet.frmShow on the demo
// account: the three-grade tree, class lists and checks under the host condition, the root's
// question, locating rows, the order switch, OK and Quit, and the clerk's rights.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "automation/com_error.h"
#include "classes/public_classes.h"
#include "classes/return_inv_set.h"
#include "components/session_context.h"
#include "components/suite/login.h"
#include "dialogs/frmReturnInvSet/frm_return_inv_set.h"
#include "dialogs/frmReturnInvSet/return_inv_set_queries.h"
#include "forms/constants.h"
#include "forms/row_growth.h"
#include "module/module_state.h"
#include "module/vouch_lists.h"
#include "sql/condition.h"
#include "sql/locations.h"
#include "sql/sql_text.h"
#include "support/demo_account.h"
#include "support/recording_ui_host.h"

namespace quillon::dialogs {
namespace {

using automation::ComError;
using automation::ObjectPtr;
using classes::ReturnInvSet;
using Rs = std::shared_ptr<ado::Recordset>;

constexpr const char* kBadRowMessage = "不正确的行数值 \r\n请重新输入";

std::vector<std::string> listed(const frmReturnInvSet& form) {
  std::vector<std::string> codes;
  for (int i = 1; i <= form.ListView1.itemCount(); ++i) {
    codes.push_back(form.ListView1.item(i).SubItems(1));
  }
  return codes;
}

std::vector<std::string> codesOf(const Rs& rs) {
  std::vector<std::string> codes;
  if (!rs || (rs->bof() && rs->eof())) return codes;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext())
    codes.push_back(rs->value("cInvCode").toString());
  return codes;
}

// A toolbar button as a person presses it: on whichever of the two toolbars shows.
bool press(frmReturnInvSet& f, const char* key) {
  return f.CTBCtrl1.Visible() ? f.CTBCtrl1.userPress(key) : f.tlbInvClass.userPress(key);
}

bool startsWithAny(const std::string& code, std::initializer_list<const char*> prefixes) {
  return std::any_of(prefixes.begin(), prefixes.end(),
                     [&](const char* p) { return code.rfind(p, 0) == 0; });
}

class ReturnInvPicker : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::demoAccount(classes::registerAllClasses);
    host = std::make_shared<test_support::RecordingUiHost>();
    scoped = std::make_unique<forms::ScopedUiHost>(host);
    ReturnInvSet::setRecordsetValue(nullptr);
  }

  // Shows the picker modally for `user` with the host condition; `work` plays the person.
  std::unique_ptr<ReturnInvSet> show(const std::string& user, const std::string& where,
                                     std::function<void(frmReturnInvSet&)> work) {
    host->onModal = [work](forms::Form& form) { work(dynamic_cast<frmReturnInvSet&>(form)); };
    auto picker = std::make_unique<ReturnInvSet>();
    picker->frmShow(ObjectPtr(test_support::loginAs(user)), forms::vbModal, where);
    return picker;
  }

  std::shared_ptr<test_support::RecordingUiHost> host;
  std::unique_ptr<forms::ScopedUiHost> scoped;
};

TEST_F(ReturnInvPicker, ThreeGradeTreeClassListsAndChecksUnderTheHostCondition) {
  // An "or" in the host condition must narrow each class as a whole.
  const std::string where = "cInvCode like '0101%' or cInvCode like '060101%'";
  show("demo", where, [&](frmReturnInvSet& f) {
    auto& root = f.treeMenu.node("mRoot");
    EXPECT_EQ(root.Text(), "存货");
    EXPECT_EQ(root.Image(), "folder");
    EXPECT_TRUE(root.Expanded());
    EXPECT_TRUE(f.treeMenu.Checkboxes());
    // 06 → 0601 → 060101 and 060102: the third grade hangs below a class that is not an end one.
    auto& grade3 = f.treeMenu.node("c060101");
    EXPECT_EQ(grade3.level(), 3);
    EXPECT_EQ(grade3.Parent()->Key(), "c0601");
    EXPECT_EQ(grade3.Parent()->Parent()->Key(), "c06");
    EXPECT_EQ(f.treeMenu.node("c060102").Children(), 0);
    EXPECT_EQ(grade3.Text().substr(0, 2), "01");

    // At load the list shows what the host condition allows, in code order.
    auto all = listed(f);
    ASSERT_FALSE(all.empty());
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    for (const auto& code : all) EXPECT_TRUE(startsWithAny(code, {"0101", "060101"})) << code;
    EXPECT_EQ(f.StatusBar1.displayText(), "共" + std::to_string(all.size()) + "条");

    // A click lists the class, within the host condition; nothing is marked.
    f.treeMenu.userClickNode("c01");
    for (const auto& code : listed(f)) EXPECT_EQ(code.substr(0, 4), "0101");
    EXPECT_TRUE(f.ChosenCodes().empty());
    f.treeMenu.userClickNode("c03");
    EXPECT_EQ(f.ListView1.itemCount(), 0);

    // Checking a class marks all of its inventories and its subtree; the parent follows only
    // when all its children are checked.
    f.treeMenu.userCheckNode("c060101", true);
    EXPECT_EQ(f.ChosenCodes(), (std::vector<std::string>{"060101001", "060101002"}));
    EXPECT_EQ(f.StatusBar1.displayText(), "共2条");
    EXPECT_FALSE(f.treeMenu.node("c0601").Checked());
    f.treeMenu.userCheckNode("c060102", true);
    EXPECT_EQ(f.ListView1.itemCount(), 0);
    EXPECT_EQ(f.StatusBar1.displayText(), "共0条");
    EXPECT_TRUE(f.treeMenu.node("c0601").Checked());
    EXPECT_TRUE(f.treeMenu.node("c06").Checked());
    f.treeMenu.userCheckNode("c06", false);
    EXPECT_FALSE(f.treeMenu.node("c060101").Checked());

    // The root asks first: Cancel unchecks it and leaves the list; OK marks all that is allowed.
    f.treeMenu.userClickNode("c0101");
    const auto before = listed(f);
    host->answers = {forms::vbCancel};
    f.treeMenu.userCheckNode("mRoot", true);
    ASSERT_FALSE(host->messages.empty());
    EXPECT_EQ(host->messages.back().prompt, "确认要选择全部存货吗?");
    EXPECT_EQ(host->messages.back().title, "系统提示");
    EXPECT_EQ(host->messages.back().buttons, forms::vbOKCancel);
    EXPECT_FALSE(root.Checked());
    EXPECT_EQ(listed(f), before);
    host->answers = {forms::vbOK};
    f.treeMenu.userCheckNode("mRoot", true);
    EXPECT_TRUE(root.Checked());
    EXPECT_EQ(f.ChosenCodes(), all);
    EXPECT_EQ(f.StatusBar1.displayText(), "共" + std::to_string(all.size()) + "条");
    f.TaskRun("Ok");
  });
  EXPECT_EQ(codesOf(ReturnInvSet::RecordsetValue()),
            (std::vector<std::string>{"0101001", "0101002", "0101003", "0101004", "0101005",
                                      "060101001", "060101002"}));
}

TEST_F(ReturnInvPicker, RowsToggleLocateAndOrder) {
  show("demo", "cInvCCode like '0101%'", [&](frmReturnInvSet& f) {
    const auto ascending = listed(f);
    ASSERT_EQ(ascending.size(), 5u);
    f.ListView1.userClickItem(2);
    f.ListView1.userClickItem(4);
    f.ListView1.userClickItem(2);
    EXPECT_EQ(f.ChosenCodes(), std::vector<std::string>{ascending[3]});
    EXPECT_EQ(f.StatusBar1.displayText(), "第2条");
    f.ListView1.userClickItem(5);
    f.ListView1.userClickItem(2);

    // Every text that is no row gives the message and leaves list and selection as they were.
    f.ListView1.setSelectedItem(&f.ListView1.item(3));
    for (const char* typed : {"0", "6", "abc", "-1"}) {
      host->inputs = {std::string(typed)};
      const auto shown = host->messages.size();
      f.TaskRun("Local");
      ASSERT_EQ(host->messages.size(), shown + 1) << typed;
      EXPECT_EQ(host->messages.back().prompt, kBadRowMessage);
      EXPECT_EQ(host->messages.back().title, "系统提示");
      EXPECT_EQ(f.ListView1.SelectedItem()->Index(), 3) << typed;
      EXPECT_EQ(listed(f), ascending);
    }
    EXPECT_EQ(host->inputRequests.back().prompt, "行数：");
    EXPECT_EQ(host->inputRequests.back().title, "定位行数");
    host->inputs = {std::string("5")};
    f.mnuLocal.userChoose();
    EXPECT_EQ(f.ListView1.SelectedItem()->Index(), 5);
    EXPECT_EQ(f.StatusBar1.displayText(), "第5条");
    host->inputs = {std::nullopt};
    const auto shown = host->messages.size();
    f.TaskRun("Local");
    EXPECT_EQ(host->messages.size(), shown) << "a cancelled prompt locates nothing";

    // An item code (whole, without regard to case) or a text its code or name holds locates its
    // row as well; a text no row holds still gives the message.
    host->inputs = {ascending[3]};
    f.TaskRun("Local");
    EXPECT_EQ(f.ListView1.SelectedItem()->Index(), 4);
    EXPECT_EQ(f.StatusBar1.displayText(), "第4条");
    EXPECT_EQ(host->messages.size(), shown);
    const std::string name = f.ListView1.item(2).SubItems(2);
    ASSERT_FALSE(name.empty());
    host->inputs = {name};
    f.TaskRun("Local");
    EXPECT_NE(f.ListView1.SelectedItem()->SubItems(2).find(name), std::string::npos);
    EXPECT_EQ(host->messages.size(), shown);
    host->inputs = {std::string("没有这个存货")};
    f.TaskRun("Local");
    ASSERT_EQ(host->messages.size(), shown + 1);
    EXPECT_EQ(host->messages.back().prompt, kBadRowMessage);

    // Order: the caption offers the other order; twice gives the list back as it was, marks kept.
    EXPECT_NE(f.mnuOrder.Caption().find("降"), std::string::npos);
    f.mnuOrder.userChoose();
    EXPECT_NE(f.mnuOrder.Caption().find("升"), std::string::npos);
    EXPECT_EQ(listed(f), std::vector<std::string>(ascending.rbegin(), ascending.rend()));
    EXPECT_EQ(f.ChosenCodes(),
              (std::vector<std::string>{ascending[4], ascending[3], ascending[1]}));
    f.TaskRun("Order");
    EXPECT_EQ(listed(f), ascending);
    f.TaskRun("Order");
    // A class listed now comes in the order shown.
    f.treeMenu.userClickNode("c0101");
    EXPECT_EQ(listed(f), std::vector<std::string>(ascending.rbegin(), ascending.rend()));
    for (int row : {1, 3}) f.ListView1.userClickItem(row);

    // Select-all down marks every row, up clears them.
    ASSERT_TRUE(press(f, "tlbSelAll"));
    EXPECT_EQ(f.ChosenCodes().size(), 5u);
    press(f, "tlbSelAll");
    EXPECT_TRUE(f.ChosenCodes().empty());
    for (int row : {1, 3}) f.ListView1.userClickItem(row);

    // A resize lays out tree, list and status bar; dragging Frame1 moves the border between tree
    // and list, never so far that either goes.
    f.resize(12000, 8000);
    EXPECT_EQ(f.ListView1.Left() + f.ListView1.Width(), 12000);
    EXPECT_EQ(f.StatusBar1.Top() + f.StatusBar1.Height(), 8000);
    EXPECT_EQ(f.treeMenu.Height(), f.ListView1.Height());
    const int border = f.border();
    f.Frame1.userMouseMove(forms::vbLeftButton, 0, 630, 10);  // taken by its middle, 30 in
    EXPECT_EQ(f.border(), border + 600);
    EXPECT_EQ(f.treeMenu.Width(), f.border());
    EXPECT_EQ(f.ListView1.Left(), f.border() + f.Frame1.Width());
    f.Frame1.userMouseMove(0, 0, 630, 10);
    EXPECT_EQ(f.border(), border + 600) << "moving without the button is no drag";
    f.Frame1.userMouseMove(forms::vbLeftButton, 0, 50000, 10);
    EXPECT_GE(f.ListView1.Width(), 1000);
    press(f, "Ok");
  });
  // OK returns the rows in the order the list showed (descending here).
  EXPECT_EQ(codesOf(ReturnInvSet::RecordsetValue()),
            (std::vector<std::string>{"0101005", "0101003"}));
}

TEST_F(ReturnInvPicker, OkWithNothingQuitCloseAndASecondOk) {
  // A first OK leaves its rows; a second one replaces them.
  show("demo", "", [](frmReturnInvSet& f) {
    f.treeMenu.userCheckNode("c060101", true);
    f.TaskRun("Ok");
  });
  EXPECT_EQ(codesOf(ReturnInvSet::RecordsetValue()).size(), 2u);
  // The chosen codes went into the temporary table on the session's own connection.
  auto tmp = module::gContext->connection()->execute(
      "select count(*) from " +
      return_inv_set::tempTableName(module::gContext->login()->secondIdentity()));
  EXPECT_EQ(tmp->value(std::size_t{0}).toLong(), 2);
  show("demo", "", [](frmReturnInvSet& f) {
    f.treeMenu.userClickNode("c0102");
    f.ListView1.userClickItem(1);
    f.TaskRun("Ok");
  });
  EXPECT_EQ(codesOf(ReturnInvSet::RecordsetValue()), std::vector<std::string>{"0102001"});

  // OK without a mark, Quit and the close box all leave Nothing.
  for (const char* how : {"Ok", "Quit", "close"}) {
    ReturnInvSet::setRecordsetValue(std::make_shared<ado::Recordset>());
    show("demo", "", [how](frmReturnInvSet& f) {
      if (std::string(how) != "close") f.TaskRun(how);
    });
    EXPECT_EQ(ReturnInvSet::RecordsetValue(), nullptr) << how;
  }
}

TEST_F(ReturnInvPicker, TheClerkNeverSeesInventoriesHeMayNotUse) {
  show("clerk", "", [&](frmReturnInvSet& f) {
    for (const auto& code : listed(f)) EXPECT_TRUE(startsWithAny(code, {"0101", "0102", "05"}));
    f.treeMenu.userClickNode("c06");
    EXPECT_EQ(f.ListView1.itemCount(), 0);
    f.treeMenu.userCheckNode("c03", true);
    EXPECT_EQ(f.ListView1.itemCount(), 0);
    host->answers = {forms::vbOK};
    f.treeMenu.userCheckNode("mRoot", true);
    EXPECT_FALSE(f.ChosenCodes().empty());
    f.TaskRun("Ok");
  });
  const auto chosen = codesOf(ReturnInvSet::RecordsetValue());
  ASSERT_FALSE(chosen.empty());
  for (const auto& code : chosen) EXPECT_TRUE(startsWithAny(code, {"0101", "0102", "05"})) << code;
}

TEST_F(ReturnInvPicker, LibraryWideValueHostConditionModelessAndRefusedConditions) {
  // Every instance reads the same recordset, and a late-bound set replaces it.
  auto a = automation::CreateObject("Quillon.ReturnInvSet");
  auto b = automation::CreateObject("Quillon.ReturnInvSet");
  auto rs = std::make_shared<ado::Recordset>();
  a->set("RecordsetValue", rs);
  EXPECT_EQ(automation::toObject(b->get("RecordsetValue")), rs);
  a->set("RecordsetValue", nullptr);
  EXPECT_EQ(automation::toObject(b->get("RecordsetValue")), nullptr);
  EXPECT_EQ(automation::classRegistry().find(classes::kReturnInvSetClsid)->progId,
            classes::kReturnInvSetProgId);

  // Modeless: frmShow returns with the picker open; the host condition lives with the instance.
  {
    ReturnInvSet picker;
    picker.frmShow(ObjectPtr(test_support::loginAs("demo")), forms::vbModeless,
                   "cInvCCode like '0102%'");
    ASSERT_NE(picker.form(), nullptr);
    EXPECT_TRUE(picker.form()->Visible());
    EXPECT_EQ(host->modalRuns, 0);
    EXPECT_EQ(module::gReturnInvWhere, "cInvCCode like '0102%'");
    picker.form()->ListView1.userClickItem(1);
    picker.form()->TaskRun("Ok");
    EXPECT_FALSE(picker.form()->Loaded());
    EXPECT_EQ(codesOf(ReturnInvSet::RecordsetValue()), std::vector<std::string>{"0102001"});
  }
  EXPECT_EQ(module::gReturnInvWhere, "") << "released with its instance";

  // A host condition the database refuses is the call's error; a Nothing login too.
  EXPECT_THROW(show("demo", "cNoSuchColumn = 1", [](frmReturnInvSet&) {}), ComError);
  std::vector<automation::Variant> args = {automation::Variant(ObjectPtr()),
                                           automation::Variant(std::int16_t{1})};
  try {
    a->invoke("frmShow", automation::InvokeKind::Method, args);
    ADD_FAILURE() << "Nothing login";
  } catch (const ComError& e) {
    EXPECT_EQ(e.number(), 91);
  }
}

// A server database of this process for the account `name`: any text, encoded into the location.
std::string serverCopy(const std::string& name) {
  // The name goes into the location percent-encoded.
  const sql::Location server(std::getenv("QUILLON_TEST_SERVER"));
  const sql::Location location = server.withDatabaseName(name);
  server.copyTo(location);
  return location.text();
}

std::int64_t stockRows(const std::string& account) {
  return test_support::connect(account)
      ->execute("select count(*) from CurrentStock")
      ->value(std::size_t{0})
      .toLong();
}

TEST_F(ReturnInvPicker, AnAccountOfAnyNameConfirmsItsChoiceAndDeletesNothing) {
  // The account's identity (cAccId, else the file's or the server database's name) names the
  // temporary table of the chosen inventories.
  const std::string attack = "x')) or 1=1 delete from CurrentStock --";
  struct Account {
    std::string location;
    std::string dropWhenDone;
  };
  std::vector<Account> accounts;
  const std::string pid = std::to_string(::getpid());
  for (const std::string& name : {attack, std::string("acct-01"), std::string("my acct")}) {
    if (test_support::onServer()) {
      const std::string location = serverCopy(name + "_" + pid);
      accounts.push_back({location, location});
    } else {
      accounts.push_back({test_support::demoAccount().copy(name), ""});
    }
  }
  // The same text in the account parameter cAccId.
  const std::string byParameter = test_support::demoAccount().copy("by-parameter");
  test_support::connect(byParameter)
      ->execute("insert into accinformation (cSysID, cName, cValue) values (N'sa', N'cAccId', " +
                sql::literal(attack) + ")");
  accounts.push_back({byParameter, ""});

  for (const auto& account : accounts) {
    const std::int64_t before = stockRows(account.location);
    ASSERT_GT(before, 0);
    auto login = test_support::loginAs("demo", account.location);
    host->onModal = [](forms::Form& form) {
      auto& f = dynamic_cast<frmReturnInvSet&>(form);
      f.treeMenu.userCheckNode("c060101", true);
      f.TaskRun("Ok");
    };
    ReturnInvSet picker;
    ReturnInvSet::setRecordsetValue(nullptr);
    try {
      picker.frmShow(ObjectPtr(login), forms::vbModal, "");
    } catch (const ComError& e) {
      ADD_FAILURE() << account.location << ": " << e.description();
    }
    EXPECT_EQ(codesOf(ReturnInvSet::RecordsetValue()),
              (std::vector<std::string>{"060101001", "060101002"}))
        << account.location;
    EXPECT_EQ(stockRows(account.location), before) << account.location;
    login.reset();
    module::gContext.reset();
    if (!account.dropWhenDone.empty()) sql::Location(account.dropWhenDone).drop();
  }
}

// A host that draws its lists: a list of more rows than its first screen shows those while the
// rest are read and added (on the renderer's idle slices, or when anything reads the list).
class DrawingHost : public test_support::RecordingUiHost {
 public:
  bool listsGrowWhileShown() const override { return true; }
};

TEST_F(ReturnInvPicker, ADrawnListOfManyRowsCountsThemAllAndOkHandsOnEveryOne) {
  // Far more inventories than a first screen: the demo's again, once under each of theirs.
  const std::string account = test_support::demoAccount().copy("many-inventories");
  auto cn = test_support::connect(account);
  cn->execute(
      "insert into Inventory (cInvCode, iId, cInvName, cInvCCode, cComUnitCode) select 'Z' + "
      "I.cInvCode + J.cInvCode, 100000 + I.iId * 1000 + J.iId, I.cInvName, I.cInvCCode, "
      "I.cComUnitCode from Inventory I, Inventory J");
  const std::vector<std::string> all =
      codesOf(cn->execute("select cInvCode from Inventory order by cInvCode"));
  ASSERT_GT(all.size(), 4 * std::size_t{module::kShownListFirstRows});

  auto drawing = std::make_shared<DrawingHost>();
  forms::ScopedUiHost drawn(drawing);
  drawing->onModal = [&](forms::Form& form) {
    auto& f = dynamic_cast<frmReturnInvSet&>(form);
    f.treeMenu.userClickNode("mRoot");
    ASSERT_TRUE(f.ListView1.filling());
    const int shown = f.ListView1.shownItemCount();
    EXPECT_LT(shown, static_cast<int>(all.size()));
    // The status counts the rows read so far, then every row once they are all read.
    EXPECT_EQ(f.StatusBar1.displayText(), "共" + std::to_string(shown) + "条");
    forms::finishGrowing();  // as the renderer does before a person's next action
    EXPECT_FALSE(f.ListView1.filling());
    EXPECT_EQ(f.StatusBar1.displayText(), "共" + std::to_string(all.size()) + "条");
    EXPECT_EQ(listed(f), all);

    // Every row chosen, and OK before they are all read: OK hands on every one.
    drawing->answers = {forms::vbOK};
    f.treeMenu.userCheckNode("mRoot", true);
    ASSERT_TRUE(f.ListView1.filling());
    f.TaskRun("Ok");
  };
  ReturnInvSet picker;
  picker.frmShow(ObjectPtr(test_support::loginAs("demo", account)), forms::vbModal, "");
  EXPECT_EQ(codesOf(ReturnInvSet::RecordsetValue()), all);
  module::gContext.reset();
}

TEST_F(ReturnInvPicker, AHostConditionThatIsNotOneExpressionIsRefusedBeforeAnythingRuns) {
  const std::string account = test_support::demoAccount().copy("host-condition");
  const std::int64_t before = stockRows(account);
  for (const char* where : {"1=0) delete from CurrentStock --", "1=0 delete from CurrentStock",
                            "1=1; delete from CurrentStock", "1=1 --"}) {
    host->modalRuns = 0;
    try {
      ReturnInvSet picker;
      picker.frmShow(ObjectPtr(test_support::loginAs("demo", account)), forms::vbModal, where);
      ADD_FAILURE() << "accepted: " << where;
    } catch (const ComError& e) {
      EXPECT_EQ(e.description().rfind(std::string(sql::kConditionRefusedText), 0), 0u)
          << e.description();
    }
    EXPECT_EQ(host->modalRuns, 0) << "no picker for " << where;
    EXPECT_EQ(module::gReturnInvWhere, "");
    EXPECT_EQ(stockRows(account), before) << where;
  }
  // A subquery, a quote, a semicolon and dashes inside literals are one expression.
  show("demo",
       "cInvCode in (select cInvCode from Inventory where cInvName <> N'a;b''--c') and "
       "cInvCCode like '0101%'",
       [](frmReturnInvSet& f) {
         EXPECT_EQ(f.ListView1.itemCount(), 5);
         f.TaskRun("Quit");
       });
}

}  // namespace
}  // namespace quillon::dialogs
