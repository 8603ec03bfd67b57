// Toolbar buttons show the icon of their image key — on the toolbar itself and on the suite's
// toolbar control that mirrors it — and follow image changes; unknown keys show the caption only.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QToolBar>
#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "qt_test_support.h"
#include "ui/qt/toolbar_icons.h"

namespace quillon::ui::qt {
namespace {

using testing::AnsweringQtHost;
using testing::settle;
using testing::widgetOf;

class frmTools : public forms::Form {
 public:
  frmTools() : Form("frmTools", "工具", 6000, 3000) {
    tbrTool.addButton("ok", "确定", "tlbok");
    tbrTool.addButton("cancel", "取消", "TLBEXIT");
    tbrTool.addButton("auto", "自动");
    tbrTool.addButton("odd", "其他", "tlbnothing");
    CTBCtrl1.setToolbar(&tbrTool);
    CTBCtrl1.ButtonClick = [this](const std::string& key) { pressed.push_back(key); };
    imlIcons.add("k1", "tlbfilter");
    tbrList.setImageList("imlIcons");
    tbrList.addButton("filter", "过滤", "k1");
  }

  std::vector<std::string> pressed;
  forms::Toolbar& tbrTool = add<forms::Toolbar>("tbrTool", {0, 0, 6000, 450});
  forms::CTBCtrl& CTBCtrl1 = add<forms::CTBCtrl>("CTBCtrl1", {0, 600, 6000, 450});
  forms::ImageList& imlIcons = add<forms::ImageList>("imlIcons", {0, 0, 0, 0});
  forms::Toolbar& tbrList = add<forms::Toolbar>("tbrList", {0, 1200, 6000, 450});
};

QAction* actionOf(QToolBar& bar, const char* key) {
  for (QAction* action : bar.actions()) {
    if (action->objectName() == QLatin1String(key)) return action;
  }
  return nullptr;
}

QImage pictureOf(const QIcon& icon) {
  return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(ToolbarIconsTest, ButtonsShowTheirImagesAndFollowChanges) {
  // Every image key the suite's dialogs use is drawn, each one differently (so none is blank).
  std::vector<QImage> seen = {QImage(16, 16, QImage::Format_ARGB32)};
  seen[0].fill(Qt::transparent);
  for (const char* key : {"tlbok", "tlbexit", "tlbauto", "tlbhelp", "tlbfilter"}) {
    const QIcon icon = toolbarIcon(key);
    ASSERT_FALSE(icon.isNull()) << key;
    for (const QImage& other : seen) EXPECT_NE(pictureOf(icon), other) << key;
    seen.push_back(pictureOf(icon));
  }
  EXPECT_TRUE(toolbarIcon("").isNull());

  auto host = std::make_shared<AnsweringQtHost>();
  forms::ScopedUiHost installed{host};
  frmTools form;
  form.Show();
  FormWindow* window = host->windows().find(form);
  ASSERT_NE(window, nullptr);
  settle();

  for (const char* name : {"tbrTool", "CTBCtrl1"}) {
    auto* bar = widgetOf<QToolBar>(*window, name);
    ASSERT_NE(bar, nullptr) << name;
    ASSERT_EQ(bar->actions().size(), 4) << name;
    EXPECT_EQ(pictureOf(actionOf(*bar, "ok")->icon()), pictureOf(toolbarIcon("tlbok"))) << name;
    EXPECT_EQ(pictureOf(actionOf(*bar, "cancel")->icon()), pictureOf(toolbarIcon("tlbexit")));
    EXPECT_TRUE(actionOf(*bar, "auto")->icon().isNull()) << name;
    EXPECT_TRUE(actionOf(*bar, "odd")->icon().isNull()) << name;
    EXPECT_EQ(actionOf(*bar, "odd")->text(), QStringLiteral("其他"));
  }
  // Through the toolbar's image list: the key names a picture.
  auto* listBar = widgetOf<QToolBar>(*window, "tbrList");
  EXPECT_EQ(pictureOf(actionOf(*listBar, "filter")->icon()), pictureOf(toolbarIcon("tlbfilter")));

  // Images set by code show on both bars; a press on the mirror reaches the form by key.
  form.tbrTool.setButtonImage("auto", "tlbauto");
  form.tbrTool.setButtonImage("ok", "");
  settle();
  for (const char* name : {"tbrTool", "CTBCtrl1"}) {
    auto* bar = widgetOf<QToolBar>(*window, name);
    EXPECT_EQ(pictureOf(actionOf(*bar, "auto")->icon()), pictureOf(toolbarIcon("tlbauto")));
    EXPECT_TRUE(actionOf(*bar, "ok")->icon().isNull()) << name;
  }
  actionOf(*widgetOf<QToolBar>(*window, "CTBCtrl1"), "auto")->trigger();
  EXPECT_EQ(form.pressed, (std::vector<std::string>{"auto"}));

  form.Unload();
  settle();
}

}  // namespace
}  // namespace quillon::ui::qt
