#include "qt_test_support.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "forms/menu.h"
#include "forms/row_growth.h"
#include "ui/qt/grid_models.h"

namespace quillon::ui::qt::testing {

namespace {

// One QApplication for the whole run, made before the first test and removed after the last, on
// the offscreen platform — with a screen of QUILLON_TEST_SCREEN ("1366x768") where the binary
// names one. The machine registry is a file of the run's own, so what a developer's windows keep
// never reaches a test, and nothing a test arranges stays behind.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("quillon-ui-" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(dir_);
    qputenv("QUILLON_REGISTRY", QByteArray::fromStdString((dir_ / "registry").string()));
    QByteArray platform("offscreen");
#ifdef QUILLON_TEST_SCREEN
    const QStringList size = QStringLiteral(QUILLON_TEST_SCREEN).split(u'x');
    const std::filesystem::path config = dir_ / "screen.json";
    std::ofstream(config) << "{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, "
                          << "\"width\": " << size.value(0).toInt()
                          << ", \"height\": " << size.value(1).toInt()
                          << ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}";
    platform += ":configfile=" + QByteArray::fromStdString(config.string());
#endif
    qputenv("QT_QPA_PLATFORM", platform);
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

 private:
  std::filesystem::path dir_;
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

bool growToTheEnd(const QAbstractItemView& view) {
  int lastCount = view.model()->rowCount();
  for (int slice = 0; forms::anyGrowing() && slice < 100000; ++slice) {
    QApplication::processEvents();
    const int count = view.model()->rowCount();
    if (count < lastCount) return false;
    lastCount = count;
  }
  return true;
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
