// A host script drives the current-stock dialog through the renderer: the same transcript as the
// headless run, and pictures of the drawn dialog along the way.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "classes/registration.h"
#include "components/registration.h"
#include "db/demo_data.h"
#include "platform/terminal_session.h"
#include "qt_test_support.h"
#include "run/host_script_runner.h"
#include "ui/qt/gui_script.h"

namespace quillon::ui::qt {
namespace {

namespace fs = std::filesystem;

class ScratchDir {
 public:
  ScratchDir()
      : path_(fs::temp_directory_path() / ("quillon-ui-ref-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void registerEverything() {
  automation::ClassRegistry& registry = automation::classRegistry();
  if (registry.find("Quillon.RefSelect") != nullptr) return;
  automation::registerAutomationClasses(registry);
  platform::registerPlatformClasses(registry);
  ado::registerAdoClasses(registry);
  components::registerClasses(registry);
  classes::registerLibraryClasses(registry);
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(RefSelectDrawnTest, AScriptWorksTheStockDialogDrawnToTheHeadlessResult) {
  registerEverything();
  ScratchDir dir;
  const std::string script = readFile(fs::path(QUILLON_EXAMPLES) / "ref_select_batch_by_hand.qhs");
  ASSERT_FALSE(script.empty());
  // Each run on its own copy of the demo account, so neither sees the other's work tables.
  // The same file name in both: the login names the account after it.
  fs::create_directories(dir.path() / "plain");
  fs::create_directories(dir.path() / "drawn");
  const std::string plainDb = (dir.path() / "plain" / "demo.db").string();
  const std::string drawnDb = (dir.path() / "drawn" / "demo.db").string();
  db::createDemoDatabase(plainDb, 1, true);
  db::createDemoDatabase(drawnDb, 1, true);

  std::ostringstream plainOut;
  cli::run::HostScriptRunner plain(plainDb, plainOut);
  const auto plainResult = plain.runSource(script);
  ASSERT_TRUE(plainResult.ok) << plainResult.message;

  auto host = std::make_shared<DrawingScriptHost>(GuiScriptOptions{dir.path() / "shots"});
  std::ostringstream drawnOut;
  cli::run::HostScriptRunner drawn(drawnDb, drawnOut, host);
  const auto drawnResult = drawn.runSource(script);
  ASSERT_TRUE(drawnResult.ok) << drawnResult.message;
  EXPECT_EQ(drawnOut.str(), plainOut.str());

  ASSERT_GE(host->pictures().size(), 2u);
  EXPECT_EQ(host->pictures().front().filename(), "001-frmRefSelect.png");
  const QImage first(toQString(host->pictures().front().string()));
  ASSERT_FALSE(first.isNull());
  EXPECT_GT(first.width(), 300);
  EXPECT_NE(first, QImage(toQString(host->pictures().back().string())));
  testing::settle();
}

}  // namespace
}  // namespace quillon::ui::qt
