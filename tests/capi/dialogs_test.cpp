// Dialogs of a C host's calls: answered by dialog lines (headless, or drawn on Qt's offscreen
// platform), refused when the lines are no dialog lines, reported when they failed or were never
// used, and a person's dialogs only where there is a display.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "capi/capi_fixture.h"
#include "quillon.h"

namespace quillon::capi_test {
namespace {

// ProduceOrder.load on the demo account; the collection and message come back by reference.
bool loadOrders(Value& coll, std::string& err) {
  Value login = demoLogin();
  Value order = created("Quillon.ProduceOrder");
  Value id = text(""), message = text(""), oi = missing(), type = number(11), ok;
  EXPECT_EQ(quillon_empty(coll.out()), QUILLON_OK);
  const quillon_value args[] = {id.get(),      login.get(), coll.get(),
                                message.get(), oi.get(),    type.get()};
  const int byRef[] = {0, 0, 1, 1, 0, 0};
  EXPECT_EQ(quillon_call(order.get(), "load", 6, args, byRef, ok.out()), QUILLON_OK)
      << quillon_error_text();
  err = textOf(message);
  int flag = 0;
  EXPECT_EQ(quillon_get_bool(ok.get(), &flag), QUILLON_OK);
  return flag != 0;
}

std::string transcript() {
  const char* text = nullptr;
  EXPECT_EQ(quillon_dialogs_transcript(&text), QUILLON_OK);
  return text ? text : "";
}

constexpr const char* kChooseFirstOrder = R"(on frmProduceOrder
  click chkAll
  click cmdFilter
  expect lstParent.rows = 4
  mark lstParent 1
  mark lstSub 1
  click cmdOk
end
)";

TEST(Dialogs, LinesThatAreNoDialogLinesChangeNothing) {
  EXPECT_TRUE(failedWith(quillon_dialogs_script("on frmProduceOrder\n  click\nend\n", 0),
                         QUILLON_SCRIPT_FAILED, "line 2, column"));
  EXPECT_TRUE(failedWith(quillon_dialogs_script("login user=demo\n", 0), QUILLON_SCRIPT_FAILED,
                         "line 1, column 1: a host line"));
  EXPECT_TRUE(failedWith(quillon_dialogs_script("answer yes\nclick cmdOk\n", 0),
                         QUILLON_SCRIPT_FAILED, "line 2, column 1: \"click\" needs an on-block"));
  // None of them was installed: the form closes at once, and nothing is chosen.
  Value coll;
  std::string err;
  EXPECT_TRUE(loadOrders(coll, err)) << err;
  EXPECT_EQ(kindOf(coll), QUILLON_NOTHING);
  EXPECT_EQ(transcript(), "");
  EXPECT_EQ(quillon_dialogs_finish(), QUILLON_OK);
}

TEST(Dialogs, DialogLinesWorkTheFormsOfTheCallsThatFollow) {
  ASSERT_EQ(quillon_dialogs_script(kChooseFirstOrder, 0), QUILLON_OK) << quillon_error_text();
  Value coll;
  std::string err;
  EXPECT_TRUE(loadOrders(coll, err)) << err;
  const std::string said = transcript();
  EXPECT_NE(said.find("frmProduceOrder"), std::string::npos) << said;
  EXPECT_EQ(quillon_dialogs_finish(), QUILLON_OK) << quillon_error_text();
  // Finished: the transcript is gone with the lines.
  EXPECT_EQ(transcript(), "");
  int32_t count = 0;
  ASSERT_EQ(quillon_collection_count(coll.get(), &count), QUILLON_OK);
  EXPECT_EQ(count, 3);
}

TEST(Dialogs, AFailedOrUnusedBlockIsReportedWhenTheLinesFinish) {
  ASSERT_EQ(quillon_dialogs_script("on frmProduceOrder\n  click cmdNoSuchButton\nend\n", 0),
            QUILLON_OK);
  Value coll;
  std::string err;
  loadOrders(coll, err);
  EXPECT_EQ(kindOf(coll), QUILLON_NOTHING);
  const std::string said = transcript();
  EXPECT_NE(said.find("frmProduceOrder"), std::string::npos) << said;
  EXPECT_TRUE(failedWith(quillon_dialogs_finish(), QUILLON_SCRIPT_FAILED, "line 2"));
  EXPECT_NE(std::string(quillon_error_text()).find("cmdNoSuchButton"), std::string::npos)
      << quillon_error_text();

  ASSERT_EQ(quillon_dialogs_script("on frmRefSelect\n  toolbar ok\nend\n", 0), QUILLON_OK);
  EXPECT_TRUE(failedWith(quillon_dialogs_finish(), QUILLON_SCRIPT_FAILED, "line 1"));
  // Finishing twice is no error: nothing is installed any more.
  EXPECT_EQ(quillon_dialogs_finish(), QUILLON_OK);
}

TEST(Dialogs, DrawnDialogLinesHoldAsHeadlessOnes) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const quillon_status status = quillon_dialogs_script(kChooseFirstOrder, QUILLON_DIALOGS_DRAWN);
  if (status == QUILLON_UNAVAILABLE) GTEST_SKIP() << "a build without the desktop dialogs";
  ASSERT_EQ(status, QUILLON_OK) << quillon_error_text();
  Value coll;
  std::string err;
  EXPECT_TRUE(loadOrders(coll, err)) << err;
  EXPECT_EQ(quillon_dialogs_finish(), QUILLON_OK) << quillon_error_text();
}

TEST(Dialogs, APersonNeedsADisplay) {
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("QT_QPA_PLATFORM");
  EXPECT_TRUE(
      failedWith(quillon_dialogs_person(), QUILLON_UNAVAILABLE, "quillon_dialogs_person: no"));
  EXPECT_EQ(quillon_dialogs_finish(), QUILLON_OK);
}

}  // namespace
}  // namespace quillon::capi_test
