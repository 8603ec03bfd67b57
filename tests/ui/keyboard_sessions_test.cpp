// Every drawn dialog worked by the keyboard alone, the way a person without a mouse works it: the
// host opens the dialog, the person filters with the button's accelerator, tabs to the lists,
// marks rows with Space and confirms with Enter (or leaves with Esc); the host finds in what the
// dialog hands back what the person chose.
#include <gtest/gtest.h>

#include <QApplication>
#include <QtTest/QTest>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "drawn_examples.h"
#include "forms/form.h"
#include "qt_test_support.h"
#include "run/host_script_runner.h"
#include "tests/support/scratch_dir.h"
#include "ui/qt/form_windows.h"
#include "ui/qt/gui_script.h"

namespace quillon::ui::qt {
namespace {

// What a person does in a dialog, by keys only.
class Person {
 public:
  Person(FormWindow& window, forms::Form& form) : window_(window), form_(form) {}

  // A key on whatever has the keyboard focus.
  void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &window_, key, mods);
    testing::settle();
  }
  // Characters typed into whatever has the focus.
  void type(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClicks(target != nullptr ? target : &window_, text);
    testing::settle();
  }
  // Tab until the named control has the focus; false when Tab never gets there.
  bool tabTo(const std::string& name) {
    for (int i = 0; i < 60 && form_.Visible(); ++i) {
      const forms::Control* active = form_.ActiveControl();
      if (active != nullptr && active->qualifiedName() == name) return true;
      press(Qt::Key_Tab);
    }
    return false;
  }

 private:
  FormWindow& window_;
  forms::Form& form_;
};

using Walk = std::function<void(Person&)>;

// Draws the forms and, for the forms it has a walk for, lets the person work them by keys.
class KeyboardHost final : public DrawingScriptHost {
 public:
  KeyboardHost() : DrawingScriptHost(GuiScriptOptions{}) {}
  std::map<std::string, Walk> walks;
  std::vector<std::string> walked;

  void runModal(forms::Form& form) override {
    const auto walk = walks.find(form.Name());
    FormWindow* window = windows().find(form);
    if (walk == walks.end() || window == nullptr) {
      DrawingScriptHost::runModal(form);
      return;
    }
    testing::settle();
    Person person(*window, form);
    walk->second(person);
    walked.push_back(form.Name());
    EXPECT_FALSE(form.Visible()) << form.Name() << " is still open after its walk";
    if (form.Visible()) form.userClose();
  }
};

struct Session {
  const char* name;
  const char* script;  // the host's lines
  std::map<std::string, Walk> walks;
};

void run(const Session& session) {
  testing::registerEverything();
  test_support::ScratchDir dir;
  const std::string db = (dir.path() / "demo.db").string();
  testing::makeDemoAccount(db);
  auto host = std::make_shared<KeyboardHost>();
  host->walks = session.walks;
  std::ostringstream out;
  cli::run::HostScriptRunner runner(db, out, host);
  const auto result = runner.runSource(session.script);
  EXPECT_TRUE(result.ok) << result.message << "\n" << out.str();
  for (const auto& [form, walk] : session.walks) {
    EXPECT_NE(std::find(host->walked.begin(), host->walked.end(), form), host->walked.end())
        << form << " never came up\n"
        << out.str();
  }
  testing::settle();
}

// Type a filter, (check a box,) filter by the button's accelerator, mark a head and its first line,
// OK: the line of the marked head comes back.
Walk filterMarkAndConfirm(const char* field, const char* text, const char* heads, const char* lines,
                          const char* box = nullptr) {
  return [=](Person& p) {
    if (box != nullptr) {
      ASSERT_TRUE(p.tabTo(box));
      p.press(Qt::Key_Space);
    }
    if (field != nullptr) {
      ASSERT_TRUE(p.tabTo(field));
      p.type(QString::fromUtf8(text));
    }
    p.press(Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(p.tabTo(heads));
    p.press(Qt::Key_Space);
    ASSERT_TRUE(p.tabTo(lines));
    p.press(Qt::Key_Space);
    p.press(Qt::Key_Return);
  };
}

TEST(KeyboardSessionsTest, OrderAndArrivalNotes) {
  run({"stock order",
       "login user=clerk date=2026-12-05\n"
       "new $po Quillon.ProduceOrder\n"
       "set $flag = false\n"
       "$ok = call $po.loadStockOrder \"\" $login $coll $err $flag\n"
       "expect $ok = true\n"
       "expect $coll[\"Head\"].count = 1\n"
       "expect $coll[\"Body\"].count = 1\n",
       {{"frmStockOrder", filterMarkAndConfirm("cmbVen", "V001", "lstDdHead", "lstDdBody")}}});
}

TEST(KeyboardSessionsTest, DeliveryNotes) {
  run({"delivery",
       "login user=demo date=2026-12-05\n"
       "new $po Quillon.ProduceOrder\n"
       "$ok = call $po.loadConsignment \"\" $login $coll $err\n"
       "expect $ok = true\n"
       "expect $coll[\"Head\"].count = 1\n"
       "expect $coll[\"Body\"].count = 1\n",
       {{"frmCons", filterMarkAndConfirm("cmbDLID", "FH26110001", "lstFhdHead", "lstFhdBody")}}});
}

TEST(KeyboardSessionsTest, ProductionOrders) {
  run({"production order",
       "login user=demo date=2026-12-05\n"
       "new $po Quillon.ProduceOrder\n"
       "$ok = call $po.load \"\" $login $coll $err - 11\n"
       "expect $ok = true\n"
       "expect $coll[\"Parent\"].count = 1\n"
       "expect $coll[\"Sub\"].count = 1\n",
       {{"frmProduceOrder",
         filterMarkAndConfirm(nullptr, nullptr, "lstParent", "lstSub", "chkAll")}}});
}

TEST(KeyboardSessionsTest, OutsourcedOrders) {
  run({"outsourced order",
       "login user=demo date=2026-12-05\n"
       "new $ww Quillon.WWProduceOrder\n"
       "$ok = call $ww.load \"\" $login $coll $err true 0\n"
       "expect $ok = true\n"
       "expect $coll[\"Parent\"].count = 1\n"
       "expect $coll[\"Sub\"].count = 1\n",
       {{"frmWWProduceOrder",
         filterMarkAndConfirm("cmbVen", "V001", "VouchListH", "VouchListB")}}});
}

TEST(KeyboardSessionsTest, CurrentStock) {
  run({"current stock",
       "login user=demo date=2026-12-05\n"
       "new $q Quillon.Suite.StockQueries\n"
       "new $r Quillon.RefSelect\n"
       "$sql = call $q.CurrentStockSql \"01\" \"0101003\"\n"
       "$ok = call $r.Refer $login \"01\" \"0101003\" - 2000.0 0.0 0.0 0 $sql false true \"\"\n"
       "$data = call $r.ReturnData\n"
       "expect $data.count = 2\n"
       // The second session: automatic allocation by its accelerator, then Esc gives nothing.
       "$ok = call $r.Refer $login \"01\" \"0101003\" - 2000.0 0.0 0.0 0 $sql false true \"\"\n"
       "$data = call $r.ReturnData\n"
       "expect $data = nothing\n",
       {{"frmRefSelect", [calls = std::make_shared<int>(0)](Person& p) {
           if ((*calls)++ == 0) {
             ASSERT_TRUE(p.tabTo("spgList"));
             p.press(Qt::Key_Space);
             p.press(Qt::Key_Down);
             p.press(Qt::Key_Space);
             p.press(Qt::Key_Return);
           } else {
             p.press(Qt::Key_A, Qt::AltModifier);
             p.press(Qt::Key_Escape);
           }
         }}}});
}

TEST(KeyboardSessionsTest, ReturnInventories) {
  run({"return inventories",
       "login user=demo date=2026-12-05\n"
       "new $ris Quillon.ReturnInvSet\n"
       "call $ris.frmShow $login 1 \"\"\n"
       "$rs = call $ris.RecordsetValue\n"
       "expect $rs.count = 1\n",
       {{"frmReturnInvSet", [](Person& p) {
           ASSERT_TRUE(p.tabTo("ListView1"));
           p.press(Qt::Key_Down);  // moving marks nothing
           p.press(Qt::Key_Space);
           p.press(Qt::Key_Return);
         }}}});
}

}  // namespace
}  // namespace quillon::ui::qt
