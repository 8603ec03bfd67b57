// The sample form drawn by the Qt host for a test: shown in SetUp, unloaded in TearDown, with a
// host whose own dialogs answer from the test's queue.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "qt_test_support.h"
#include "sample_form.h"

namespace quillon::ui::qt::testing {

class DrawnSampleForm : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Show();
    window = host->windows().find(form);
    ASSERT_NE(window, nullptr);
    settle();
  }
  void TearDown() override {
    form.Unload();
    settle();
  }

  std::shared_ptr<AnsweringQtHost> host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  forms::testing::frmSample form;
  FormWindow* window = nullptr;
};

}  // namespace quillon::ui::qt::testing
