#include "qt_test_support.h"

#include <gtest/gtest.h>

#include <memory>

#include "forms/menu.h"
#include "ui/qt/grid_models.h"

namespace quillon::ui::qt::testing {

namespace {

// One QApplication for the whole run, made before the first test and removed after the last.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app_.reset();
  }

 private:
  int argc_ = 1;
  char program_[16] = "quillon_ui_test";
  char* argv_[2] = {program_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

int AnsweringQtHost::messageBox(const forms::MessageBoxRequest& request) {
  messages.push_back(request.prompt);
  if (answers.empty()) return request.defaultAnswer();
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> AnsweringQtHost::inputBox(const forms::InputBoxRequest&) {
  if (inputs.empty()) return std::nullopt;
  std::string text = inputs.front();
  inputs.pop_front();
  return text;
}

forms::Menu* AnsweringQtHost::popupMenu(forms::Form& form, forms::Menu&) {
  if (menuChoices.empty()) return nullptr;
  const std::string name = menuChoices.front();
  menuChoices.pop_front();
  return form.find<forms::Menu>(name);
}

void settle() {
  for (int pass = 0; pass < 3; ++pass) {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  for (QWidget* top : QApplication::topLevelWidgets()) {
    for (QAbstractItemModel* model : top->findChildren<QAbstractItemModel*>()) {
      if (auto* table = dynamic_cast<ControlTableModel*>(model)) table->refreshNow();
    }
  }
}

}  // namespace quillon::ui::qt::testing
