// Where the keyboard is, seen on the screen: every control that takes the focus draws it, whether
// the person tabbed to it or the form moved the focus there.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <string>

#include "drawn_sample_form.h"
#include "qt_test_support.h"
#include "ui/qt/control_view.h"

namespace quillon::ui::qt {
namespace {

using VisibleFocusTest = testing::DrawnSampleForm;

TEST_F(VisibleFocusTest, EveryFocusableControlDrawsItsFocus) {
  struct Stop {
    const char* name;
    forms::Control* control;
  };
  const Stop stops[] = {{"check box", &form.chkAll},
                        {"option button", &form.optA},
                        {"command button", &form.cmdOk},
                        {"tab strip", &form.SSTab1}};
  for (const Stop& stop : stops) {
    ControlView* view = window->viewOf(stop.control);
    ASSERT_NE(view, nullptr) << stop.name;
    QWidget* drawn = view->focusTarget();
    ASSERT_NE(drawn, nullptr) << stop.name;
    form.txtCode.SetFocus();
    testing::settle();
    ASSERT_FALSE(drawn->hasFocus()) << stop.name;
    const QImage without = drawn->grab().toImage();
    stop.control->SetFocus();
    testing::settle();
    ASSERT_TRUE(drawn->hasFocus()) << stop.name;
    EXPECT_NE(drawn->grab().toImage(), without) << stop.name << " looks the same with the focus";
  }
}

}  // namespace
}  // namespace quillon::ui::qt
