// Host scripts with the forms drawn: the same actions and transcript as headless, and a picture
// of the form after every action when asked.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <memory>

#include "qt_test_support.h"
#include "sample_form.h"
#include "script/script_runner.h"
#include "ui/qt/gui_script.h"

namespace quillon::ui::qt {
namespace {

namespace fs = std::filesystem;
using forms::testing::frmSample;

// A host-line interpreter just big enough for these tests: `call $x.show` shows the sample form
// modally and keeps what was typed into it.
class SampleRunner : public script::ScriptRunner {
 public:
  explicit SampleRunner(std::shared_ptr<script::ScriptedUiHost> host)
      : ScriptRunner(std::move(host)) {}
  std::string typed;

 protected:
  void onCall(const script::CallLine&, script::SourcePos) override {
    frmSample form;
    form.Show(forms::vbModal);
    typed = form.txtCode.Text() + "|" + form.grdBody.TextMatrix(2, 1);
  }
};

constexpr const char* kScript = R"(on frmSample
  type txtCode "A01"
  tab SSTab1 1
  cell grdBody 1 2 "1"
  expect grdBody[1,2] "1.00"
  answer ok
  click cmdOk
end
call $x.show
)";

class TempDir {
 public:
  TempDir() : path_(fs::temp_directory_path() / ("quillon-ui-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(GuiScriptTest, DrawnRunEndsAsTheHeadlessOneAndPicturesEveryAction) {
  // Headless first, for the transcript to compare with.
  auto headlessHost = std::make_shared<script::ScriptedUiHost>();
  SampleRunner headless(headlessHost);
  const auto plain = headless.runText(kScript);
  ASSERT_TRUE(plain.ok) << plain.message;

  TempDir dir;
  const GuiScriptResult drawn = runScriptWithGui(kScript, {dir.path() / "shots"}, [&](auto host) {
    auto runner = std::make_unique<SampleRunner>(std::move(host));
    return runner;
  });
  ASSERT_TRUE(drawn.run.ok) << drawn.run.message;
  EXPECT_EQ(drawn.transcript, headlessHost->transcript());

  // One picture when the form came up and one after each action that left it showing (the last
  // click unloads it), each the whole window.
  ASSERT_EQ(drawn.pictures.size(), 6u);
  EXPECT_EQ(drawn.pictures.front().filename(), "001-frmSample.png");
  for (const fs::path& picture : drawn.pictures) {
    const QImage image(toQString(picture.string()));
    ASSERT_FALSE(image.isNull()) << picture;
    EXPECT_GE(image.width(), 9000 / 15);
    EXPECT_GE(image.height(), 6000 / 15);
  }
  // The pictures differ as the form changes (the text typed shows after the first action).
  EXPECT_NE(QImage(toQString(drawn.pictures[0].string())),
            QImage(toQString(drawn.pictures[1].string())));
}

TEST(GuiScriptTest, APictureDirectoryThatCannotBeMadeFailsTheRunUpFront) {
  TempDir dir;
  fs::create_directories(dir.path());
  std::ofstream(dir.path() / "file") << "x";
  const GuiScriptResult result = runScriptWithGui(kScript, {dir.path() / "file" / "shots"});
  EXPECT_FALSE(result.run.ok);
  EXPECT_NE(result.run.message.find("cannot make the picture directory"), std::string::npos);
  EXPECT_TRUE(result.pictures.empty());
}

TEST(GuiScriptTest, AFailingScriptStillEndsWithEveryWindowGone) {
  const GuiScriptResult result =
      runScriptWithGui("on frmSample\n  click cmdNope\nend\ncall $x.show\n", {},
                       [](auto host) { return std::make_unique<SampleRunner>(std::move(host)); });
  EXPECT_FALSE(result.run.ok);
  EXPECT_NE(result.run.message.find("cmdNope"), std::string::npos);
  testing::settle();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    EXPECT_EQ(dynamic_cast<FormWindow*>(top), nullptr);
  }
}

}  // namespace
}  // namespace quillon::ui::qt
